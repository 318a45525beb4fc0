#include "creation/create_game.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "creation/first_messages.h"
#include "game/host_file.h"
#include "game/player_file.h"
#include "game/world_map.h"

std::optional<CreateGameStatus> CreateGameRefusal(const CreateGameRequest& request) {
    // The sea-level search can only stop for a share it can reach.
    if (request.LandPercent < 0 || request.LandPercent > 100)
        return CreateGameStatus::LandShareOutOfRange;
    // An empty text would write ".hst" and ".p01" files without a name.
    if (request.GameFileText.empty())
        return CreateGameStatus::NoGameFile;
    return std::nullopt;
}

const char* CreateGameRefusalText(CreateGameStatus status) {
    switch (status) {
        case CreateGameStatus::LandShareOutOfRange:
            return kLandShareRefusalText;
        case CreateGameStatus::NoGameFile:
            return kNoGameFileRefusalText;
        case CreateGameStatus::Complete:
        case CreateGameStatus::Aborted:
            break;
    }
    return "";
}

CreateGameResult CreateGame(const CreateGameRequest& request,
                            std::array<PlayerSlot, kPlayerCount>& players,
                            const WorldGenerationHooks& hooks) {
    CreateGameResult result;
    if (std::optional<CreateGameStatus> refusal = CreateGameRefusal(request)) {
        result.Status = *refusal;
        return result;
    }

    // The world lives only for this creation; 393 KiB of tiles do not belong on the stack.
    auto world = std::make_unique<WorldMap>();
    ClearPendingMessages(players);

    result.World = GenerateWorld(*world, request.LandPercent, request.Seed, hooks);
    // Messages are prepared even for an aborted world, as the slots show them afterwards.
    PrepareFirstMessages(players);

    if (result.World.status != WorldGenerationStatus::Complete) {
        result.Status = CreateGameStatus::Aborted;
        return result;
    }

    // The host file and the players' files are one game: they replace an earlier game's
    // files together or not at all.
    FileSetWriter files;
    files.Add(HostFileName(request.GameFileText), EncodeHostFile(request.Title, *world, players));
    std::vector<int> inPlay;
    for (int player = 1; player <= kPlayerCount; ++player) {
        const PlayerSlot& slot = players[static_cast<size_t>(player - 1)];
        if (slot.InPlay == 0)
            continue;
        files.Add(PlayerFileName(request.GameFileText, player),
                  EncodePlayerFile(request.Title, *world, slot.PendingMessages));
        inPlay.push_back(player);
    }
    result.Status = CreateGameStatus::Complete;
    if (std::optional<WriteFailure> failure = files.Commit()) {
        result.Failure = std::move(failure);
        for (int player : inPlay) {
            if (result.Failure->Path == PlayerFileName(request.GameFileText, player))
                result.FailedPlayer = player;
        }
        return result;
    }
    result.FilesWritten.push_back(HostFileName(request.GameFileText));
    for (int player : inPlay)
        result.FilesWritten.push_back(PlayerFileName(request.GameFileText, player));
    result.PlayersWritten = std::move(inPlay);
    return result;
}

std::string CreateGameFailureText(const CreateGameResult& result) {
    if (!result.Failure)
        return {};
    return std::string(result.FailedPlayer == 0 ? kHostFileFailureText : kPlayerFileFailureText) +
           "\n" + DescribeWriteFailure(*result.Failure);
}

std::vector<std::string> FilesToReplace(const CreateGameRequest& request,
                                        const std::array<PlayerSlot, kPlayerCount>& players) {
    std::vector<std::string> names{HostFileName(request.GameFileText)};
    for (int player = 1; player <= kPlayerCount; ++player) {
        if (players[static_cast<size_t>(player - 1)].InPlay != 0)
            names.push_back(PlayerFileName(request.GameFileText, player));
    }
    std::vector<std::string> existing;
    for (std::string& name : names) {
        std::error_code ec;
        // A link counts too, even one whose file is gone: the creation writes through it.
        const std::filesystem::file_status status = std::filesystem::symlink_status(name, ec);
        if (!ec && status.type() != std::filesystem::file_type::not_found)
            existing.push_back(std::move(name));
    }
    return existing;
}

std::string ReplaceGameQuestion(const std::vector<std::string>& files) {
    std::string text = files.size() == 1 ? "This file of an earlier game will be replaced:"
                                         : "These files of an earlier game will be replaced:";
    for (const std::string& file : files)
        text += "\n" + file;
    text += "\n\nCreate the new game and replace ";
    text += files.size() == 1 ? "it?" : "them?";
    return text;
}
