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
//   --password TEXT (default: none)   -o FILE (required; the name the file is asked for)
struct RaceCommandLine {
    RaceRecord Race;  // its texts as given (UTF-8) until StoreRaceTexts converts them
    std::string OutputPath;
};

// Parses the options; std::nullopt with a message in `error` for an unknown option, a
// missing value, a number that is not one, or a missing -o.
std::optional<RaceCommandLine> ParseRaceCommandLine(const std::vector<std::string>& args,
                                                    std::string& error);

// Converts the four names and the password from the command line's UTF-8 into the
// Windows-1252 bytes that race files hold. Returns an empty text when all of them convert,
// otherwise the refusal, naming the option whose text is not UTF-8 or has a character the
// code page lacks; the race is then left as it was.
std::string StoreRaceTexts(RaceRecord& race);

// What the race design wizard would refuse in this race, as a message, or an empty text
// when it may be saved: an empty name, a text over 199 characters, a sex or class outside
// its choices, a design slot outside 2..20, negative race points.
std::string RaceRefusal(const RaceRecord& race);
