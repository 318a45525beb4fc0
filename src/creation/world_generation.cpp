#include "creation/world_generation.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "platform/os/clock.h"

namespace {

bool LandPercentReachable(int landPercent) {
    return landPercent >= 0 && landPercent <= 100;
}

int TilesBelow(const WorldMap& world, int32_t level) {
    int count = 0;
    for (const auto& row : world.Tiles) {
        for (const Tile& tile : row) {
            count += tile.Altitude < level ? 1 : 0;
        }
    }
    return count;
}

// The altitudes of a world in rising order, read by rank: the k-th lowest altitude. Worlds
// shaped by the faults span at most 20001 altitudes, which a count per altitude covers; a
// wider span (never made by the generator) is sorted instead.
class RankedAltitudes {
public:
    explicit RankedAltitudes(const WorldMap& world) {
        lowest_ = world.Tiles[0][0].Altitude;
        int32_t highest = lowest_;
        for (const auto& row : world.Tiles) {
            for (const Tile& tile : row) {
                lowest_ = std::min(lowest_, tile.Altitude);
                highest = std::max(highest, tile.Altitude);
            }
        }
        const int64_t span = static_cast<int64_t>(highest) - lowest_ + 1;
        if (span <= kMaxCountedSpan) {
            counts_.assign(static_cast<size_t>(span), 0);
            for (const auto& row : world.Tiles) {
                for (const Tile& tile : row) {
                    ++counts_[static_cast<size_t>(tile.Altitude - static_cast<int64_t>(lowest_))];
                }
            }
        } else {
            sorted_.reserve(kWorldTiles);
            for (const auto& row : world.Tiles) {
                for (const Tile& tile : row)
                    sorted_.push_back(tile.Altitude);
            }
            std::sort(sorted_.begin(), sorted_.end());
        }
    }

    // The altitude of rank k, 0 <= k < 32768 (0 is the lowest).
    int32_t At(int k) const {
        if (!sorted_.empty())
            return sorted_[static_cast<size_t>(k)];
        int seen = 0;
        for (size_t offset = 0; offset < counts_.size(); ++offset) {
            seen += counts_[offset];
            if (seen > k)
                return static_cast<int32_t>(lowest_ + static_cast<int64_t>(offset));
        }
        return static_cast<int32_t>(lowest_ + static_cast<int64_t>(counts_.size()) - 1);
    }

private:
    static constexpr int64_t kMaxCountedSpan = int64_t{1} << 20;
    int32_t lowest_ = 0;
    std::vector<int> counts_;
    std::vector<int32_t> sorted_;
};

}  // namespace

uint32_t CreationSeed(Clock& clock) {
    return static_cast<uint32_t>(clock.TimeSeconds());
}

int ParseLandPercent(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = std::min<long long>(value * 10 + (text[at] - '0'), 1LL + INT_MAX);
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

float LandShare(int tilesBelow) {
    return 100.0f - 100.0f * static_cast<float>(tilesBelow) / static_cast<float>(kWorldTiles);
}

std::optional<int32_t> FindSeaLevel(const WorldMap& world, int landPercent) {
    if (!LandPercentReachable(landPercent))
        return std::nullopt;
    const float wanted = static_cast<float>(landPercent);
    // The share of land only falls as the level rises, since the number of tiles below the
    // level only grows. The search below stops at the first level whose count of tiles below
    // passes a limit, so that level follows from the altitude of the limit's rank.
    const RankedAltitudes ranked(world);
    const int belowStart = TilesBelow(world, kStartSeaLevel);
    int64_t level = 0;
    if (wanted >= LandShare(belowStart)) {
        // Falling: the highest level below the start with LandShare(below) >= wanted, that
        // is with at most `most` tiles below it, which holds up to the altitude of rank most.
        int most = kWorldTiles;
        while (!(wanted <= LandShare(most)))
            --most;
        level = kStartSeaLevel - 1;
        if (most < kWorldTiles)
            level = std::min<int64_t>(level, ranked.At(most));
    } else {
        // Rising: the lowest level above the start with LandShare(below) <= wanted, that is
        // with at least `least` tiles below it, which holds just above the altitude of rank
        // least - 1 (least is at least 1 here, since belowStart < least).
        int least = 0;
        while (!(wanted >= LandShare(least)))
            ++least;
        level = std::max<int64_t>(kStartSeaLevel + 1, int64_t{ranked.At(least - 1)} + 1);
    }
    if (level < INT32_MIN || level > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(level);
}

void AssignTerrainCodes(WorldMap& world, int32_t seaLevel) {
    for (auto& row : world.Tiles) {
        for (Tile& tile : row) {
            const int32_t h = tile.Altitude;
            if (h > seaLevel + 3 * kTerrainBand) {
                tile.Terrain = TerrainMountain;
            } else if (h > seaLevel + 2 * kTerrainBand) {
                tile.Terrain = TerrainHighland;
            } else if (h > seaLevel + kTerrainBand) {
                tile.Terrain = TerrainUpland;
            } else if (h > seaLevel) {
                tile.Terrain = TerrainLowland;
            } else if (h > seaLevel - kTerrainBand) {
                tile.Terrain = TerrainShallowWater;
            } else {
                tile.Terrain = TerrainDeepWater;
            }
        }
    }
}

PolarDepths DrawPolarDepths(const WorldMap& world, CreationRandom& random) {
    PolarDepths depths{};
    for (int k = 0; k < kPolarRows; ++k) {
        const int land = 30 - k;
        const int water = 26 - k;
        const int landThreshold = land * land + land;
        const int waterThreshold = water * water + water;
        for (int column = 0; column < kWorldColumns; ++column) {
            const int threshold =
                world.Tiles[k][column].Terrain >= TerrainLowland ? landThreshold : waterThreshold;
            if (random.Rand() % 201 < threshold)
                depths[column] = k;
        }
    }
    return depths;
}

int32_t CapDepth(const PolarDepths& depths, int column) {
    auto at = [&](int offset) {
        return static_cast<double>(depths[(column + offset + kWorldColumns) % kWorldColumns]);
    };
    return static_cast<int32_t>(0.1 * at(-2) + 0.2 * at(-1) + 0.4 * at(0) + 0.2 * at(1) +
                                0.1 * at(2));
}

void LayPolarCaps(WorldMap& world, const PolarDepths& depths) {
    for (int column = 0; column < kWorldColumns; ++column) {
        const int32_t depth = std::clamp<int32_t>(CapDepth(depths, column), 0, kWorldRows / 2);
        for (int row = 0; row < depth; ++row) {
            world.Tiles[row][column].Terrain = TerrainIce;
        }
        for (int row = kWorldRows - depth; row < kWorldRows; ++row) {
            world.Tiles[row][column].Terrain = TerrainIce;
        }
    }
}

WorldGenerationResult GenerateWorld(WorldMap& world, int landPercent, uint32_t seed,
                                    const WorldGenerationHooks& hooks, FaultKernel kernel) {
    WorldGenerationResult result;
    if (!LandPercentReachable(landPercent)) {
        result.status = WorldGenerationStatus::LandShareOutOfRange;
        return result;
    }

    world.Width = kWorldColumns;
    auto positions = std::make_unique<TilePositions>();
    ComputeTilePositions(*positions, SphereRadius(world.Width));
    for (auto& row : world.Tiles) {
        for (Tile& tile : row) {
            tile = Tile{kStartAltitude, 0, TerrainDeepWater};
        }
    }

    CreationRandom random(seed);
    FaultField field(*positions, kernel);
    field.Reset(kStartAltitude);
    for (int n = 0; n < kFaultIterations; ++n) {
        if (hooks.processPendingEvents)
            hooks.processPendingEvents();
        if (hooks.abortFlag != nullptr && *hooks.abortFlag != 0) {
            result.status = WorldGenerationStatus::Aborted;
            break;
        }
        if (hooks.topographyProgress)
            hooks.topographyProgress(n * 100 / (kFaultIterations - 1));
        field.Apply(DrawFaultPlane(random));
        ++result.faultIterations;
    }
    field.CopyAltitudesTo(world);

    result.seaLevel = *FindSeaLevel(world, landPercent);
    result.landShare = LandShare(TilesBelow(world, result.seaLevel));
    if (hooks.seaLevelProgress)
        hooks.seaLevelProgress(100);

    AssignTerrainCodes(world, result.seaLevel);
    result.polarDepths = DrawPolarDepths(world, random);
    LayPolarCaps(world, result.polarDepths);
    return result;
}
