// The loaded game's views drawn by the 3D view engine.
#pragma once

#include <memory>

#include "view/game_session.h"

class ViewScreen;

namespace gfx {
class FaultPlan;
}

// The views of a game: a view engine on `screen` (which must outlive it), working on the
// world and the main map of `session`. A fault plan (tests) makes chosen platform calls fail.
std::unique_ptr<GameViews> MakeEngineViews(ViewScreen& screen, GameSession& session,
                                           std::shared_ptr<gfx::FaultPlan> faults = nullptr);
