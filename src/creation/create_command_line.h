#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The options of "velmora-tool create", which creates a game without the wizard.
//   --game PATH        the game file text: the files are PATH.hst, PATH.p01 ... (required)
//   --land P           the share of land, a whole percentage, "40", "40%" or "40 %" (required)
//   --player N=KIND[:RACEFILE]   player N (1..10) in play, KIND "human" or "computer", with
//                      the race read from RACEFILE; once per player, any number of times
//   --seed S           the generator's seed (0..4294967295); without it, the time in seconds
//   --force            replace the files of an earlier game of the same name
struct CreatePlayerOption {
    int Player = 0;         // 1..10
    bool Computer = false;  // "computer" rather than "human"; shown only in the summary
    std::string RaceFile;   // empty: the player keeps an empty race
};

struct CreateCommandLine {
    std::string GameFileText;
    int LandPercent = 0;
    std::vector<CreatePlayerOption> Players;  // in the order given
    std::optional<uint32_t> Seed;
    bool Force = false;  // the files of an earlier game may be replaced
};

// Parses the options; std::nullopt with a message in `error` for an unknown option, a
// missing value, a number that is not one, a player outside 1..10 or given twice, an
// unknown kind, or a missing --game or --land. The range of the land share is left to the
// creation, which refuses what it cannot reach.
std::optional<CreateCommandLine> ParseCreateCommandLine(const std::vector<std::string>& args,
                                                        std::string& error);
