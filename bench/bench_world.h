// The world the benchmarks draw: sea and land from a few overlapping waves, ice caps at both
// poles.
#pragma once

#include <cmath>
#include <cstdint>

#include "game/world_map.h"

inline void FillBenchWorld(WorldMap& world) {
    for (int r = 0; r < kWorldRows; ++r) {
        for (int c = 0; c < kWorldColumns; ++c) {
            const double a = 2 * 3.14159265358979 * c / kWorldColumns;
            const double b = 3.14159265358979 * r / kWorldRows;
            const double height = std::sin(3 * a + 1.0) * std::sin(2 * b) +
                                  0.6 * std::sin(7 * a + 5 * b) + 0.3 * std::cos(11 * a - 9 * b);
            std::int32_t terrain = height > 0.25 ? 2 + static_cast<int>(height * 2) % 4 : 0;
            if (r < 8 || r >= kWorldRows - 8) {
                terrain = 6;
            }
            world.At(r, c).Terrain = terrain;
        }
    }
}
