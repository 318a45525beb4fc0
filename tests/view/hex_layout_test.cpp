#include "view/hex_layout.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<WorldMap> FullWorld() {
    auto world = std::make_unique<WorldMap>();
    for (auto& row : world->Tiles) {
        for (Tile& tile : row) {
            tile.Terrain = TerrainLowland;
        }
    }
    return world;
}

constexpr HexDirection kSides[] = {HexDirection::NW, HexDirection::SW, HexDirection::NE,
                                   HexDirection::SE};

// On a world whose every tile exists, the pictures' side neighbours are the grid's own.
TEST(DrawingNeighbour, IsTheGridNeighbourWhereEveryTileExists) {
    auto world = FullWorld();
    for (int r = 1; r < kWorldRows - 1; ++r) {
        for (int c = 0; c < kWorldColumns; ++c) {
            for (HexDirection d : kSides) {
                ASSERT_EQ(DrawingNeighbour(*world, {r, c}, d), Neighbour({r, c}, d))
                    << r << ", " << c;
            }
        }
    }
}

// Where the wrapped neighbour is missing, the end of its row stands in, on both sides of
// the seam and in the middle of a row.
TEST(DrawingNeighbour, TheEndOfTheRowStandsInForAMissingTile) {
    auto world = FullWorld();
    for (int c = 250; c < kWorldColumns; ++c) {
        world->At(10, c).Terrain = TerrainUnset;  // row 10 ends at column 249
    }
    for (int c = 0; c < 3; ++c) {
        world->At(11, c).Terrain = TerrainUnset;  // row 11 starts at column 3
    }
    world->At(12, 101).Terrain = TerrainUnset;
    // Even column 0 of row 11 (missing itself): upper left is (10, 255), missing.
    EXPECT_EQ(DrawingNeighbour(*world, {11, 0}, HexDirection::NW), (TilePos{10, 249}));
    // Odd column 255 of row 10: right is (10, 0), which exists.
    EXPECT_EQ(DrawingNeighbour(*world, {10, 255}, HexDirection::NE), (TilePos{10, 0}));
    // Odd column 249 of row 10: lower right (11, 250) exists; right (10, 250) does not.
    EXPECT_EQ(DrawingNeighbour(*world, {10, 249}, HexDirection::SE), (TilePos{11, 250}));
    EXPECT_EQ(DrawingNeighbour(*world, {10, 249}, HexDirection::NE), (TilePos{10, 0}));
    // Odd column 255 of row 10: lower right is (11, 0), missing: row 11's first tile.
    EXPECT_EQ(DrawingNeighbour(*world, {10, 255}, HexDirection::SE), (TilePos{11, 3}));
    // A gap inside a row: the right neighbour of (12, 100) is missing, so the row's first
    // tile stands in, as for the end of the row.
    EXPECT_EQ(DrawingNeighbour(*world, {12, 100}, HexDirection::NE), (TilePos{11, 101}));
    EXPECT_EQ(DrawingNeighbour(*world, {12, 100}, HexDirection::SE), (TilePos{12, 0}));
    // Beyond the pole nothing stands in.
    EXPECT_EQ(DrawingNeighbour(*world, {0, 4}, HexDirection::NE), std::nullopt);
    EXPECT_EQ(NeighbourTerrain(*world, {0, 4}, HexDirection::NE), TerrainUnset);
    EXPECT_EQ(DrawingNeighbour(*world, {0, 4}, HexDirection::N), (TilePos{-1, 4}));
}

}  // namespace
