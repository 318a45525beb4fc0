// The loaded game's views drawn by the 3D view engine.
#pragma once

#include <memory>

#include "app/game_session.h"

class ViewScreen;

// The views of a game: a view engine on `screen` (which must outlive it), working on the
// world and the main map of `session`.
std::unique_ptr<GameViews> MakeEngineViews(ViewScreen& screen, GameSession& session);
