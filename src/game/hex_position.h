// A tile position of the hexagonal world grid, its six neighbours and the wrap rule.
//
// Tiles have flat tops and stand in columns; odd columns sit half a tile lower, so a tile's
// upper and lower side neighbours depend on the parity of its column. Columns wrap around
// the world (column 255 and column 0 are neighbours); rows do not: above row 0 and below
// row 127 lie the poles, where a neighbour is off the grid.
#pragma once

#include <array>

#include "game/world_map.h"

enum class HexDirection { N, S, NW, SW, NE, SE };

inline constexpr std::array<HexDirection, 6> kHexDirections = {HexDirection::N,  HexDirection::S,
                                                               HexDirection::NW, HexDirection::SW,
                                                               HexDirection::NE, HexDirection::SE};

// The direction that leads back (N <-> S, NW <-> SE, SW <-> NE).
constexpr HexDirection Opposite(HexDirection direction) {
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

// A row and a column. Positions off the grid are allowed: the pictures place tiles beyond
// the grid's edges, and a neighbour of an edge row lies beyond the pole.
struct TilePos {
    int row = 0;
    int column = 0;
    bool operator==(const TilePos&) const = default;

    // Whether the position lies on the grid (rows 0..127, columns 0..255).
    constexpr bool OnGrid() const {
        return row >= 0 && row < kWorldRows && column >= 0 && column < kWorldColumns;
    }
};

// The column brought into 0..255 by going round the world; the row stays as it is.
constexpr TilePos WrapColumn(TilePos tile) {
    const int column = tile.column % kWorldColumns;
    return {tile.row, column < 0 ? column + kWorldColumns : column};
}

// The neighbour's position by the layout alone, before any wrapping: from a tile on the grid
// the column may be -1 or 256 and the row -1 or 128. (The number of columns is even, so a
// column's parity, and with it the layout, is the same after wrapping.)
constexpr TilePos RawNeighbour(TilePos tile, HexDirection direction) {
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

// The neighbour on the world: the column wraps around, the row does not (the neighbours
// beyond rows 0 and 127 are off the grid).
constexpr TilePos Neighbour(TilePos tile, HexDirection direction) {
    return WrapColumn(RawNeighbour(tile, direction));
}
