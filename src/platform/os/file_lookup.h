#pragma once

#include <string>
#include <string_view>

// Turns a path as the game names it (relative to the data folder, '\' or '/' as
// separators) into a path that exists on this system. Where the exact path is absent,
// each component is matched without regard to letter case, so "GameArt\x.bmp" finds
// "GAMEART/x.bmp". Returns the path with '/' separators when nothing matches. A relative
// path is taken from the data folder (see SetDataFolder), or from the working directory
// while no data folder is set; the data folder's own name is used as it is.
std::string ResolvePath(std::string_view gamePath);

// True when ResolvePath(gamePath) names an existing regular file.
bool GameFileExists(std::string_view gamePath);

// The folder that the game's own data (tile art, sphere mesh, help, version information)
// is looked up in. Empty, the default, means the working directory.
void SetDataFolder(std::string folder);
const std::string& DataFolder();

// The data folder of the program at `programPath`: the program's own folder when it holds
// the data (a build's run folder), else the folder `installedRelative` names relative to
// the program's folder (the installed layout, e.g. "../share/games/velmora") when that holds it;
// empty when neither does. A folder holds the data when it has the sphere mesh "sphere3.x".
std::string FindDataFolder(const std::string& programPath, std::string_view installedRelative);

// The path of the running program's file; empty when the system does not tell.
std::string RunningProgramPath();
