#include "creation/create_game.h"

#include <memory>

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

    // A failed file does not stop the others: its writer has asked the application to end,
    // which takes effect once this operation has returned.
    if (WriteHostFile(request.GameFileText, players, *world, request.Title)) {
        result.FilesWritten.push_back(HostFileName(request.GameFileText));
    } else {
        result.WriteFailed = true;
    }
    for (int player = 1; player <= kPlayerCount; ++player) {
        const PlayerSlot& slot = players[static_cast<size_t>(player - 1)];
        if (slot.InPlay == 0)
            continue;
        if (WritePlayerFile(request.GameFileText, player, slot.PendingMessages, *world,
                            request.Title)) {
            result.FilesWritten.push_back(PlayerFileName(request.GameFileText, player));
            result.PlayersWritten.push_back(player);
        } else {
            result.WriteFailed = true;
        }
    }
    result.Status = CreateGameStatus::Complete;
    return result;
}
