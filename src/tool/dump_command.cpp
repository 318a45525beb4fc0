// velmora-tool dump: prints one JSON object describing a game file, its kind taken from the
// file's name.
#include <cstdio>
#include <string>
#include <vector>

#include "game/game_file_dump.h"
#include "race/race_file.h"
#include "tool/commands.h"

namespace {

int RunDump(const std::vector<std::string>& args) {
    std::string path;
    DumpOptions options;
    for (const std::string& arg : args) {
        if (arg == "--tiles") {
            options.Tiles = true;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "velmora-tool dump: unknown option '%s'\n", arg.c_str());
            return 2;
        } else if (path.empty()) {
            path = arg;
        } else {
            std::fprintf(stderr, "velmora-tool dump: only one FILE may be given\n");
            return 2;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "velmora-tool dump: no FILE given (see 'velmora-tool help dump')\n");
        return 2;
    }

    DumpResult result;
    if (GameFileKindOf(path) == GameFileKind::Race) {
        RaceFileReadResult race = ReadRaceFileForDump(path);
        if (race.Race) {
            result.Json = DumpRaceRecord(*race.Race);
        } else {
            result.Error = race.Error.empty() ? path + ": not a readable race file" : race.Error;
        }
    } else {
        result = DumpGameFile(path, options);
    }
    if (!result.Ok()) {
        std::fprintf(stderr, "velmora-tool dump: %s\n", result.Error.c_str());
        return 1;
    }
    std::fwrite(result.Json.data(), 1, result.Json.size(), stdout);
    std::fputc('\n', stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

extern const ToolCommand kDumpCommand = {
    "dump",
    "print a game file as one JSON object",
    "Usage: velmora-tool dump FILE [--tiles]\n"
    "\n"
    "Prints one JSON object describing FILE. Its kind comes from the name: .p01 to .p10\n"
    "player, .hst host, .H01.. history, .S01.. send, .rce race. The keys are the games'\n"
    "field names: kind, VersionStampA, VersionStampB, Width, Messages, AvailableResearchPoints,\n"
    "PointList, Players, Race, Designs and TerrainCounts (tiles per terrain code).\n"
    "  --tiles   add \"Tiles\": 128 rows of 256 [Terrain, Altitude] pairs\n"
    "Texts are Windows-1252; other than printable ASCII they are written as \\uXXXX escapes.\n"
    "A damaged or unreadable file is reported on stderr with exit code 1; bad options give\n"
    "exit code 2.\n",
    RunDump,
};
