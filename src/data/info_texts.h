// The fixed texts of the information windows: credits, known bugs and version history,
// one string per line, with their indentation and trailing spaces.
#pragma once

#include <string>
#include <vector>

const std::vector<std::string>& CreditsLines();
const std::vector<std::string>& KnownBugsLines();
const std::vector<std::string>& VersionHistoryLines();

// The lines joined with '\n', as a text box shows them (no newline after the last line).
std::string JoinLines(const std::vector<std::string>& lines);
