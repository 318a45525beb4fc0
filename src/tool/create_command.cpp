// velmora-tool create: creates a game as the New Game wizard does and writes its host file
// and player files.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "creation/create_command_line.h"
#include "creation/create_game.h"
#include "creation/world_generation.h"
#include "game/program_version.h"
#include "platform/os/clock.h"
#include "platform/os/windows_1252.h"
#include "race/race_file.h"
#include "tool/commands.h"

namespace {

// The version number the game stamps when its version information cannot be read.
constexpr float kFallbackVersion = 3.634f;

// The stamps the files carry: the program's own version number, read from the tool's
// executable as the game reads its own.
TitleState ToolTitleState() {
    TitleState title;
    const ProgramVersion version = ProbeProgramVersion("/proc/self/exe");
    title.VersionStampA = version.VersionStampA != 0.0f ? version.VersionStampA : kFallbackVersion;
    title.VersionStampB = version.VersionStampB != 0.0f ? version.VersionStampB : kFallbackVersion;
    return title;
}

int RunCreate(const std::vector<std::string>& args) {
    std::string error;
    std::optional<CreateCommandLine> options = ParseCreateCommandLine(args, error);
    if (!options) {
        std::fprintf(stderr, "velmora-tool create: %s\n", error.c_str());
        return 2;
    }

    CreateGameRequest request;
    request.GameFileText = options->GameFileText;
    request.LandPercent = options->LandPercent;
    request.Seed = options->Seed ? *options->Seed : CreationSeed(SystemClock());
    request.Title = ToolTitleState();
    if (std::optional<CreateGameStatus> refusal = CreateGameRefusal(request)) {
        std::fprintf(stderr, "velmora-tool create: %s\n", CreateGameRefusalText(*refusal));
        return 1;
    }

    std::array<PlayerSlot, kPlayerCount> players{};
    for (const CreatePlayerOption& option : options->Players) {
        PlayerSlot& slot = players[static_cast<size_t>(option.Player - 1)];
        slot.InPlay = 1;
        if (option.RaceFile.empty())
            continue;
        RaceFileReadResult race = ReadRaceFileForDump(option.RaceFile);
        if (!race.Race) {
            std::fprintf(stderr, "velmora-tool create: player %d: %s\n", option.Player,
                         race.Error.c_str());
            return 1;
        }
        slot.Race = std::move(*race.Race);
    }

    // An earlier game is replaced only on request.
    const std::vector<std::string> existing = FilesToReplace(request, players);
    if (!existing.empty() && !options->Force) {
        std::string names;
        for (const std::string& name : existing)
            names += (names.empty() ? "" : ", ") + name;
        std::fprintf(stderr,
                     "velmora-tool create: %s already exist%s (an earlier game); give --force to "
                     "replace %s\n",
                     names.c_str(), existing.size() == 1 ? "s" : "",
                     existing.size() == 1 ? "it" : "them");
        return 1;
    }

    const CreateGameResult result = CreateGame(request, players);
    if (result.Failure) {
        std::fprintf(stderr, "velmora-tool create: %s: %s: %s\n", kCreateGameFailureCaption,
                     result.FailedPlayer == 0 ? kHostFileFailureText : kPlayerFileFailureText,
                     DescribeWriteFailure(*result.Failure).c_str());
    }

    int humans = 0;
    int computers = 0;
    std::printf("Game '%s' %s with seed %u\n", request.GameFileText.c_str(),
                result.WriteFailed() ? "generated, but no file was written," : "created",
                request.Seed);
    std::printf("Players:");
    if (options->Players.empty())
        std::printf(" none");
    for (int player = 1; player <= kPlayerCount; ++player) {
        for (const CreatePlayerOption& option : options->Players) {
            if (option.Player != player)
                continue;
            (option.Computer ? computers : humans) += 1;
            // Race names are stored in Windows-1252; the terminal reads UTF-8.
            const std::string plural =
                Windows1252ToUtf8(players[static_cast<size_t>(player - 1)].Race.NamePlural);
            std::printf(" %d %s%s%s%s", player, option.Computer ? "computer" : "human",
                        plural.empty() ? "" : " (", plural.c_str(), plural.empty() ? "" : ")");
        }
    }
    std::printf("\nHuman Players: %d, Computer Players: %d\n", humans, computers);
    std::printf("Sea level: %d\n", static_cast<int>(result.World.seaLevel));
    std::printf("Percent Land: asked %d %%, reached %.2f %%\n", request.LandPercent,
                static_cast<double>(result.World.landShare));
    std::printf("Files:\n");
    for (const std::string& file : result.FilesWritten)
        std::printf("  %s\n", file.c_str());
    return result.WriteFailed() ? 1 : 0;
}

}  // namespace

extern const ToolCommand kCreateCommand = {
    "create",
    "create a game: generate the world and write the host and player files",
    "Usage: velmora-tool create --game PATH --land P [--player N=human|computer[:RACEFILE]]...\n"
    "                           [--seed S] [--force]\n"
    "\n"
    "Creates a game as the New Game wizard does: generates the world, gives every player\n"
    "his first messages and writes PATH.hst and PATH.p01 .. PATH.p10 for the players in play.\n"
    "  --game    the game file text that names the files (a path may be included)\n"
    "  --land    the share of land asked for, 0..100 (\"40\", \"40%\" or \"40 %\")\n"
    "  --player  player N (1..10) in play, human or computer, with his race read from\n"
    "            RACEFILE (a race file; without it the race is empty); once per player\n"
    "  --seed    the generator's seed: the same seed makes the same world (default: the\n"
    "            time in seconds, as the game does)\n"
    "  --force   replace the files of an earlier game: without it, a creation whose host\n"
    "            file or player files already exist is refused\n"
    "Prints the players, the sea level, the share of land reached and the files written.\n"
    "The files are written together: when one cannot be written, none is.\n"
    "Refused, with exit code 1: a land share outside 0..100, an empty PATH, a race file that\n"
    "is missing or damaged, files of an earlier game without --force, a file that cannot be\n"
    "written. Bad options: exit code 2.\n",
    RunCreate,
};
