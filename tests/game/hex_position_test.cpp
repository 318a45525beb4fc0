#include "game/hex_position.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<TilePos> AllNeighbours(TilePos tile) {
    std::vector<TilePos> out;
    for (HexDirection d : kHexDirections) {
        out.push_back(Neighbour(tile, d));
    }
    return out;
}

bool AreNeighbours(TilePos a, TilePos b) {
    const std::vector<TilePos> around = AllNeighbours(a);
    return std::find(around.begin(), around.end(), b) != around.end();
}

TEST(HexPosition, EveryNeighbourLeadsBackAcrossTheWholeGrid) {
    for (int r = 0; r < kWorldRows; ++r) {
        for (int c = 0; c < kWorldColumns; ++c) {
            const TilePos tile{r, c};
            std::vector<TilePos> around = AllNeighbours(tile);
            for (HexDirection d : kHexDirections) {
                const TilePos n = Neighbour(tile, d);
                ASSERT_EQ(Neighbour(n, Opposite(d)), tile) << r << ", " << c;
                if (n.OnGrid()) {
                    ASSERT_TRUE(AreNeighbours(n, tile)) << r << ", " << c;
                }
            }
            // Six different tiles, none of them the tile itself.
            std::sort(around.begin(), around.end(), [](TilePos a, TilePos b) {
                return a.row != b.row ? a.row < b.row : a.column < b.column;
            });
            ASSERT_EQ(std::adjacent_find(around.begin(), around.end()), around.end());
            ASSERT_EQ(std::find(around.begin(), around.end(), tile), around.end());
        }
    }
}

TEST(HexPosition, ColumnsWrapRoundTheWorld) {
    for (int r = 1; r < kWorldRows - 1; ++r) {
        // Column 0 is even and 255 odd: the layout continues across the seam.
        EXPECT_EQ(Neighbour({r, 0}, HexDirection::NW), (TilePos{r - 1, 255}));
        EXPECT_EQ(Neighbour({r, 0}, HexDirection::SW), (TilePos{r, 255}));
        EXPECT_EQ(Neighbour({r, 255}, HexDirection::NE), (TilePos{r, 0}));
        EXPECT_EQ(Neighbour({r, 255}, HexDirection::SE), (TilePos{r + 1, 0}));
        for (int c = 0; c < kWorldColumns; ++c) {
            for (HexDirection d : kHexDirections) {
                ASSERT_TRUE(Neighbour({r, c}, d).OnGrid()) << r << ", " << c;
            }
        }
    }
    // Before wrapping the neighbours lie just beyond the seam.
    EXPECT_EQ(RawNeighbour({7, 0}, HexDirection::SW), (TilePos{7, -1}));
    EXPECT_EQ(RawNeighbour({7, 255}, HexDirection::NE), (TilePos{7, 256}));
    EXPECT_EQ(WrapColumn({3, -1}), (TilePos{3, 255}));
    EXPECT_EQ(WrapColumn({3, 256}), (TilePos{3, 0}));
    EXPECT_EQ(WrapColumn({3, -257}), (TilePos{3, 255}));
    EXPECT_EQ(WrapColumn({-1, 511}), (TilePos{-1, 255}));
}

TEST(HexPosition, RowsEndAtThePoles) {
    for (int c = 0; c < kWorldColumns; ++c) {
        const bool odd = (c & 1) != 0;
        // Row 0: above is off the grid; so are the upper sides of even columns, which sit
        // half a tile higher than their odd neighbours.
        EXPECT_EQ(Neighbour({0, c}, HexDirection::N), (TilePos{-1, c}));
        EXPECT_EQ(Neighbour({0, c}, HexDirection::NW).OnGrid(), odd) << c;
        EXPECT_EQ(Neighbour({0, c}, HexDirection::NE).OnGrid(), odd) << c;
        EXPECT_TRUE(Neighbour({0, c}, HexDirection::SW).OnGrid());
        // Row 127: below is off the grid, and the lower sides of odd columns.
        EXPECT_EQ(Neighbour({127, c}, HexDirection::S), (TilePos{128, c}));
        EXPECT_EQ(Neighbour({127, c}, HexDirection::SW).OnGrid(), !odd) << c;
        EXPECT_EQ(Neighbour({127, c}, HexDirection::SE).OnGrid(), !odd) << c;
        EXPECT_TRUE(Neighbour({127, c}, HexDirection::NE).OnGrid());
    }
    // The seam and the pole together.
    EXPECT_EQ(Neighbour({0, 0}, HexDirection::NW), (TilePos{-1, 255}));
    EXPECT_EQ(Neighbour({127, 255}, HexDirection::SE), (TilePos{128, 0}));
    EXPECT_FALSE((TilePos{-1, 0}.OnGrid()));
    EXPECT_FALSE((TilePos{0, 256}.OnGrid()));
    EXPECT_TRUE((TilePos{127, 255}.OnGrid()));
}

}  // namespace
