#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <memory>

// Terrain codes of a tile.
enum TerrainCode : int32_t {
    TerrainUnset = -1,
    TerrainDeepWater = 0,
    TerrainShallowWater = 1,
    TerrainLowland = 2,
    TerrainUpland = 3,
    TerrainHighland = 4,
    TerrainMountain = 5,
    TerrainIce = 6,
};

constexpr int kWorldRows = 128;
constexpr int kWorldColumns = 256;
constexpr int kWorldTiles = kWorldRows * kWorldColumns;

// One hexagonal tile of the world grid.
struct Tile {
    int32_t Altitude = 0;
    int32_t Reserved = 0;  // always 0; never written to or read from a file
    int32_t Terrain = TerrainUnset;
};

// The globe's 3D objects, owned by the view engine's set-up. Kept opaque here so the game
// state does not depend on the graphics layer.
struct GlobeObjects;

// The world grid: 128 rows (row 0 northern edge) of 256 columns that wrap around.
class WorldMap {
public:
    WorldMap();
    ~WorldMap();
    WorldMap(const WorldMap&) = delete;
    WorldMap& operator=(const WorldMap&) = delete;

    int32_t Width = kWorldColumns;

    // The tile at (row, column): row 0..127, column 0..255.
    Tile& At(int row, int column) {
        assert(row >= 0 && row < kWorldRows && column >= 0 && column < kWorldColumns);
        return Tiles[row][column];
    }
    const Tile& At(int row, int column) const {
        assert(row >= 0 && row < kWorldRows && column >= 0 && column < kWorldColumns);
        return Tiles[row][column];
    }

    // Sets every tile to Terrain -1, Altitude 0 and second value 0.
    void ClearTiles();

    std::array<std::array<Tile, kWorldColumns>, kWorldRows> Tiles;

    // The globe's objects (scene frame, camera frame, globe frame, texture, wrap, mesh
    // builder, viewport); empty until the view engine sets the globe up.
    std::unique_ptr<GlobeObjects> Globe;
};

// True for codes 0 and 1.
inline bool IsWater(int32_t terrain) {
    return terrain == 0 || terrain == 1;
}
