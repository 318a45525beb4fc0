#pragma once

#include <optional>
#include <string>
#include <vector>

#include "game/game_state.h"

// The options of "velmora-tool race", which writes a race file without the wizard.
//   --singular TEXT  --plural TEXT  --leader TEXT  --title TEXT   the four names
//   --sex 0..2 (default 0)  --class 0..5 (default 4, Mammalia)
//   --slots N,N,N,N,N,N,N,N  or  --slots N N N N N N N N   the eight design slot totals in
//                    the order Infantry .. Satellites (default: the class's base values)
//   --password TEXT (default: none)   -o FILE (required; written exactly as given)
struct RaceCommandLine {
    RaceRecord Race;
    std::string OutputPath;
};

// Parses the options; std::nullopt with a message in `error` for an unknown option, a
// missing value, a number that is not one, or a missing -o.
std::optional<RaceCommandLine> ParseRaceCommandLine(const std::vector<std::string>& args,
                                                    std::string& error);

// What the race design wizard would refuse in this race, as a message, or an empty text
// when it may be saved: an empty name, a text over 199 characters, a sex or class outside
// its choices, a design slot outside 2..20, negative race points.
std::string RaceRefusal(const RaceRecord& race);
