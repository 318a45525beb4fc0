// The flat world picture read back band by band, for tools and checks that look at it.
#pragma once

#include <cstdint>
#include <functional>

#include "game/world_map.h"
#include "view/main_map.h"

// Receives row y (0..6254) of the flat picture: 12800 pixels, 3 bytes each, red first.
using FlatRowSink = std::function<void(int y, const std::uint8_t* rgb)>;

// Composes the flat picture of the world in the map's strip, band by band, exactly as the
// map textures are made, and hands every row to `sink` in order. The strip exists only
// during the call. False when a step fails (its message has been shown).
bool ComposeFlatPicture(MainMap& map, gfx::DirectDraw& directDraw, const WorldMap& world,
                        gfx::Surface& tileArt, const FlatRowSink& sink);
