// The one command-line argument of the game: a file to open at start, as a desktop's file
// manager passes it when the player opens a game file with the game.
#pragma once

#include <string>
#include <string_view>

// The kinds of file the game opens, told by the extension of the file's name in the exact
// case the game writes it: ".p01" to ".p10" player file, ".hst" host file, ".rce" race file.
enum class CommandLineFileKind { Player, Host, Race, Unknown };
CommandLineFileKind KindOfCommandLineFile(std::string_view path);

// The argument as an absolute path, taken from the working directory at start.
std::string AbsoluteCommandLinePath(const std::string& argument);

// The box for a name that is none of the kinds: what the game opens.
std::string UnknownFileKindText(std::string_view path);
inline constexpr const char* kCommandLineFileCaption = "File Error";

// Opens the file with the title screen up, as the title screen's buttons would: a player
// file loads its game as "Load Game" does, a host file opens the host functions screen, a
// race file opens the race design wizard with that race loaded. A file that cannot be
// opened, or a name of no known kind, is reported in a box and leaves the title screen up;
// nothing ends the program except a failure of the 3D views while loading a game, as with
// "Load Game". Returns true when a screen was opened.
bool OpenCommandLineFile(const std::string& path);
