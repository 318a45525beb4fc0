#pragma once

#include <optional>
#include <string>
#include <string_view>

// Turns a file version text into the program's version number: the last "." is deleted,
// then the first "." of what remains, and the rest is read as a decimal number
// ("0.3.6.340" -> "03.6340" -> 3.634; "1.2" -> "12" -> 12). std::nullopt when the result
// is not a number.
std::optional<float> VersionTextToNumber(std::string_view versionText);

// The two deletions alone (exposed for the tests and the title screen's label logic).
std::string StripVersionDots(std::string_view versionText);
