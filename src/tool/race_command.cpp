// velmora-tool race: writes a race file from options, refusing what the race design wizard
// refuses.
#include <cstdio>
#include <string>
#include <vector>

#include "game/program_version.h"
#include "race/race_command_line.h"
#include "race/race_file.h"
#include "tool/commands.h"

namespace {

int RunRace(const std::vector<std::string>& args) {
    std::string error;
    std::optional<RaceCommandLine> options = ParseRaceCommandLine(args, error);
    if (!options) {
        std::fprintf(stderr, "velmora-tool race: %s\n", error.c_str());
        return 2;
    }
    if (std::string refusal = StoreRaceTexts(options->Race); !refusal.empty()) {
        std::fprintf(stderr, "velmora-tool race: %s\n", refusal.c_str());
        return 1;
    }
    if (std::string refusal = RaceRefusal(options->Race); !refusal.empty()) {
        std::fprintf(stderr, "velmora-tool race: %s\n", refusal.c_str());
        return 1;
    }
    // The race carries the program's version number, as the wizard stamps it.
    options->Race.Version = ProbeProgramVersion("/proc/self/exe").VersionStampB;
    // The file gets the name the race design wizard would give it, which the game loads.
    const std::string path = RaceFileNameFor(options->OutputPath);
    if (std::optional<WriteFailure> failure = WriteRaceFile(path, options->Race)) {
        std::fprintf(stderr, "velmora-tool race: unable to write '%s': %s\n", path.c_str(),
                     failure->Reason.c_str());
        return 1;
    }
    if (path != options->OutputPath) {
        std::fprintf(stderr,
                     "velmora-tool race: note: written as '%s' (race files end in \".rce\")\n",
                     path.c_str());
    }
    return 0;
}

}  // namespace

extern const ToolCommand kRaceCommand = {
    "race",
    "write a race file from its names, sex, class and design slots",
    "Usage: velmora-tool race --singular TEXT --plural TEXT --leader TEXT --title TEXT\n"
    "                         [--sex 0..2] [--class 0..5] [--slots N,N,N,N,N,N,N,N]\n"
    "                         [--password TEXT] -o FILE\n"
    "\n"
    "Writes one race file. Its extension becomes \".rce\", as the race design wizard names\n"
    "race files (\"-o krell.race\" writes krell.rce, \"-o krell\" too).\n"
    "  --singular, --plural  the race's names          --leader, --title  its leader\n"
    "  --sex       0 Male (default), 1 Female, 2 Other\n"
    "  --class     0 Arachnidia, 1 Amphibia, 2 Aves, 3 Insecta, 4 Mammalia (default),\n"
    "              5 Reptillia\n"
    "  --slots     the eight design slot totals, Infantry, Cavalry, Vehicle, Artillery,\n"
    "              Ships, Aircraft, Mechs, Satellites: one comma-separated argument or\n"
    "              eight arguments; each 2..20 (default: the class's base values)\n"
    "  --password  protects the race (default: none)\n"
    "Texts are read as UTF-8 and stored in the game's code page, Windows-1252 (Western\n"
    "European letters and signs, e.g. \"\u00c9lan\", \"\u20ac\").\n"
    "Refused, with exit code 1: an empty name, a text with a character outside that code\n"
    "page, a text over 199 characters, a slot outside 2..20, slots that cost more race\n"
    "points than the race has. Bad options: exit code 2.\n",
    RunRace,
};
