#pragma once

#include <string>
#include <string_view>

// Turns a path as the game names it (relative to the working directory, '\' or '/' as
// separators) into a path that exists on this system. Where the exact path is absent,
// each component is matched without regard to letter case, so "GameArt\x.bmp" finds
// "GAMEART/x.bmp". Returns the path with '/' separators when nothing matches.
std::string ResolvePath(std::string_view gamePath);

// True when ResolvePath(gamePath) names an existing regular file.
bool GameFileExists(std::string_view gamePath);
