// The "Load Game" sequence: it creates the game objects, fills them from the files and opens
// the main screen.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "view/game_session.h"

// Makes the view engine of a new game. Tests replace it with SetGameViewsFactory.
using GameViewsFactory = std::function<std::unique_ptr<GameViews>()>;
// Installs a factory; an empty one restores the program's own (the view engine drawing onto
// the main screen).
void SetGameViewsFactory(GameViewsFactory factory);
// The views of a new game: the installed factory's, or the view engine drawing onto the main
// screen (which must exist).
std::unique_ptr<GameViews> MakeGameViews();

// Loads the player's game from the player file at `path` and opens the main screen. Returns
// false when the game was not opened (the reason was shown). A player file that cannot be
// read or holds no world is refused with "Couldn't open player file" and the reason; the
// title screen and the values the files fill stay as they were. A damaged file that still
// holds a world is opened after a "File Error" box that says what is wrong with it.
bool LoadPlayerGame(const std::string& path);

// Whether a chosen file is a host file or a player file, by the exact-case texts ".hst"
// and ".p" anywhere in the file's own name (the folders it lies in do not count, so
// "league.hst.d/war.p01" is a player file and "my.plans/war.hst" a host file). A name with
// ".hst" is a host file only: it is never read as a player file.
bool IsHostFilePath(std::string_view path);
bool IsPlayerFilePath(std::string_view path);

// The last component of a path: what follows its last '/'.
std::string_view FileNameOf(std::string_view path);
