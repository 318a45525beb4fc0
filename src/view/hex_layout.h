// How the pictures find a tile's neighbours on the hexagonal grid (game/hex_position.h).
//
// Left and right neighbours wrap within their row: where column c - 1 (c + 1) is outside the
// grid or holds no tile (Terrain -1), the last (first) existing tile of that row stands in.
// Above and below are taken as they are.
#pragma once

#include <cstdint>
#include <optional>

#include "game/hex_position.h"
#include "game/world_map.h"

// True when (row, column) is inside the grid and its tile exists (Terrain not -1).
bool TileExists(const WorldMap& world, int row, int column);

// The first and last columns of a row whose tile exists; std::nullopt when the row is
// outside the grid or holds no tile.
std::optional<int> FirstExistingColumn(const WorldMap& world, int row);
std::optional<int> LastExistingColumn(const WorldMap& world, int row);

// The neighbour the pictures use: N and S as they are (the row may be outside the grid),
// the four side neighbours with the wrap rule. std::nullopt when nothing stands there.
std::optional<TilePos> DrawingNeighbour(const WorldMap& world, TilePos tile,
                                        HexDirection direction);

// The Terrain code of the drawing neighbour; -1 when there is none.
std::int32_t NeighbourTerrain(const WorldMap& world, TilePos tile, HexDirection direction);

// The Terrain code of (row, column), -1 outside the grid.
std::int32_t TerrainAt(const WorldMap& world, int row, int column);
