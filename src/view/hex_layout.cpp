#include "view/hex_layout.h"

std::int32_t TerrainAt(const WorldMap& world, int row, int column) {
    if (!TilePos{row, column}.OnGrid()) {
        return TerrainUnset;
    }
    return world.At(row, column).Terrain;
}

bool TileExists(const WorldMap& world, int row, int column) {
    return TerrainAt(world, row, column) != TerrainUnset;
}

std::optional<int> FirstExistingColumn(const WorldMap& world, int row) {
    for (int c = 0; c < kWorldColumns; ++c) {
        if (TileExists(world, row, c)) {
            return c;
        }
    }
    return std::nullopt;
}

std::optional<int> LastExistingColumn(const WorldMap& world, int row) {
    for (int c = kWorldColumns - 1; c >= 0; --c) {
        if (TileExists(world, row, c)) {
            return c;
        }
    }
    return std::nullopt;
}

std::optional<TilePos> DrawingNeighbour(const WorldMap& world, TilePos tile,
                                        HexDirection direction) {
    if (direction == HexDirection::N || direction == HexDirection::S) {
        return RawNeighbour(tile, direction);
    }
    // Round the world first: column 255's right neighbour is column 0. Where that tile is
    // missing, the end of the row stands in; when column 255 (0) exists it is that end.
    const TilePos side = Neighbour(tile, direction);
    if (TileExists(world, side.row, side.column)) {
        return side;
    }
    const bool left = direction == HexDirection::NW || direction == HexDirection::SW;
    const std::optional<int> column =
        left ? LastExistingColumn(world, side.row) : FirstExistingColumn(world, side.row);
    if (!column) {
        return std::nullopt;
    }
    return TilePos{side.row, *column};
}

std::int32_t NeighbourTerrain(const WorldMap& world, TilePos tile, HexDirection direction) {
    const std::optional<TilePos> at = DrawingNeighbour(world, tile, direction);
    return at ? TerrainAt(world, at->row, at->column) : TerrainUnset;
}
