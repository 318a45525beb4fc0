#include "game/world_map.h"

// GlobeObjects is completed by the view engine; the deleter is instantiated where it is.
#include "game/globe_objects.h"

WorldMap::WorldMap() {
    ClearTiles();
}

WorldMap::~WorldMap() = default;

void WorldMap::ClearTiles() {
    for (auto& row : Tiles) {
        row.fill(Tile{});
    }
}
