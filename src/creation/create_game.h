// "Create Game": generates a world, gives every player his first messages and writes the
// host file and the files of the players in play. The New Game wizard and velmora-tool
// share it; the wizard adds its buttons, labels and gauges around it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "creation/world_generation.h"
#include "game/game_state.h"
#include "platform/os/file_write.h"

// Message box caption of a creation that is refused before it starts.
inline constexpr const char* kCreateGameRefusalCaption = "New Game";
inline constexpr const char* kLandShareRefusalText =
    "Percent Land must be between 0 % and 100 %. No game was created.";
inline constexpr const char* kNoGameFileRefusalText =
    "Please enter a Game File name. No game was created.";

// The first line of the message of a creation whose files could not be written; the second
// names the file and the system's reason.
inline constexpr const char* kHostFileFailureText = "Couldn't open host file";
inline constexpr const char* kPlayerFileFailureText = "Couldn't open player file";
inline constexpr const char* kCreateGameFailureCaption = "Fatal Error";

struct CreateGameRequest {
    std::string GameFileText;  // names the files: GameFileText + ".hst", + ".p01" ...
    int LandPercent = 40;      // the share of land asked for, 0..100
    uint32_t Seed = 0;         // the creation's random generator starts from it
    TitleState Title;          // its version stamps go into every file
};

enum class CreateGameStatus {
    Complete,             // the world was finished; the files were written unless Failure
    Aborted,              // the abort flag ended the fault loop; no file was written
    LandShareOutOfRange,  // refused: nothing was generated, changed or written
    NoGameFile,           // refused: the game file text is empty; nothing was done
};

struct CreateGameResult {
    CreateGameStatus Status = CreateGameStatus::Complete;
    WorldGenerationResult World;  // the generator's figures (not filled when refused)
    // The files written, host file first, then the players' files in player order.
    std::vector<std::string> FilesWritten;
    std::vector<int> PlayersWritten;  // the player numbers (1..10) whose file was written
    // A file could not be written: the game's files are written as one set, so then none
    // was written and the files of an earlier game of that name are as they were.
    std::optional<WriteFailure> Failure;
    int FailedPlayer = 0;  // the player whose file failed; 0 for the host file

    bool WriteFailed() const { return Failure.has_value(); }
};

// The refusal a request meets before anything is done, as the status that names it;
// std::nullopt when the creation may start.
std::optional<CreateGameStatus> CreateGameRefusal(const CreateGameRequest& request);

// The message shown for a refusal (empty for the other statuses).
const char* CreateGameRefusalText(CreateGameStatus status);

// The message of a creation whose files could not be written: "Couldn't open host file" or
// "Couldn't open player file", a line break, and "<file>: <reason>". Empty when none failed.
std::string CreateGameFailureText(const CreateGameResult& result);

// The files a creation of the request would write (the host file and the files of the
// players in play) that already exist, in that order: the files of an earlier game that it
// would replace.
std::vector<std::string> FilesToReplace(const CreateGameRequest& request,
                                        const std::array<PlayerSlot, kPlayerCount>& players);

// Asks before a creation replaces the files of an earlier game, naming them.
inline constexpr const char* kReplaceGameCaption = "New Game";
std::string ReplaceGameQuestion(const std::vector<std::string>& files);

// Creates a game in a temporary world that is destroyed before returning:
//   - refuses, with nothing changed, a land share outside 0..100 and an empty game file text;
//   - empties the pending messages of every player slot;
//   - generates the world (the hooks see every fault iteration and may end the loop);
//   - gives each player in play his welcome message (race texts cut to 99 characters) and
//     players 1 to 4 their demonstration messages;
//   - unless the loop was aborted, writes the host file and the file of every player in
//     play as one set: all of them, or (when one fails) none, with the failure returned.
//     Files of the same names are replaced without asking; callers ask first.
CreateGameResult CreateGame(const CreateGameRequest& request,
                            std::array<PlayerSlot, kPlayerCount>& players,
                            const WorldGenerationHooks& hooks = {});
