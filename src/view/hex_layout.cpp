#include "view/hex_layout.h"

HexDirection Opposite(HexDirection direction) {
    switch (direction) {
        case HexDirection::N:
            return HexDirection::S;
        case HexDirection::S:
            return HexDirection::N;
        case HexDirection::NW:
            return HexDirection::SE;
        case HexDirection::SE:
            return HexDirection::NW;
        case HexDirection::SW:
            return HexDirection::NE;
        case HexDirection::NE:
            return HexDirection::SW;
    }
    return HexDirection::N;
}

TilePos RawNeighbour(TilePos tile, HexDirection direction) {
    const bool odd = (tile.column & 1) != 0;
    const int r = tile.row;
    const int c = tile.column;
    switch (direction) {
        case HexDirection::N:
            return {r - 1, c};
        case HexDirection::S:
            return {r + 1, c};
        case HexDirection::NW:
            return odd ? TilePos{r, c - 1} : TilePos{r - 1, c - 1};
        case HexDirection::SW:
            return odd ? TilePos{r + 1, c - 1} : TilePos{r, c - 1};
        case HexDirection::NE:
            return odd ? TilePos{r, c + 1} : TilePos{r - 1, c + 1};
        case HexDirection::SE:
            return odd ? TilePos{r + 1, c + 1} : TilePos{r, c + 1};
    }
    return tile;
}

std::int32_t TerrainAt(const WorldMap& world, int row, int column) {
    if (row < 0 || row >= kWorldRows || column < 0 || column >= kWorldColumns) {
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
    const TilePos raw = RawNeighbour(tile, direction);
    if (direction == HexDirection::N || direction == HexDirection::S) {
        return raw;
    }
    if (TileExists(world, raw.row, raw.column)) {
        return raw;
    }
    const bool left = direction == HexDirection::NW || direction == HexDirection::SW;
    const std::optional<int> column =
        left ? LastExistingColumn(world, raw.row) : FirstExistingColumn(world, raw.row);
    if (!column) {
        return std::nullopt;
    }
    return TilePos{raw.row, *column};
}

std::int32_t NeighbourTerrain(const WorldMap& world, TilePos tile, HexDirection direction) {
    const std::optional<TilePos> at = DrawingNeighbour(world, tile, direction);
    return at ? TerrainAt(world, at->row, at->column) : TerrainUnset;
}
