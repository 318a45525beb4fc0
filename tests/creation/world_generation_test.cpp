#include "creation/world_generation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <vector>

namespace {

struct GeneratedWorld {
    std::unique_ptr<WorldMap> world = std::make_unique<WorldMap>();
    WorldGenerationResult result;
};

GeneratedWorld Generate(int landPercent, uint32_t seed, FaultKernel kernel = FastestFaultKernel()) {
    GeneratedWorld generated;
    generated.result = GenerateWorld(*generated.world, landPercent, seed, {}, kernel);
    return generated;
}

// A whole generation takes seconds in checked builds, so the tests share their worlds.
const GeneratedWorld& SharedWorld(int landPercent, uint32_t seed) {
    static std::map<std::pair<int, uint32_t>, GeneratedWorld> worlds;
    auto [at, added] = worlds.try_emplace({landPercent, seed});
    if (added)
        at->second = Generate(landPercent, seed);
    return at->second;
}

// A world cut by only a few faults: the abort flag ends the loop after `faults`.
GeneratedWorld GenerateRoughly(int landPercent, uint32_t seed, int faults) {
    uint8_t abortFlag = 0;
    int events = 0;
    WorldGenerationHooks hooks;
    hooks.abortFlag = &abortFlag;
    hooks.processPendingEvents = [&] { abortFlag = ++events > faults ? 1 : 0; };
    GeneratedWorld generated;
    generated.result = GenerateWorld(*generated.world, landPercent, seed, hooks);
    return generated;
}

// The sea-level search step by step, counting every tile at each level.
int32_t SeaLevelByRecount(const WorldMap& world, int landPercent) {
    auto land = [&](int32_t level) {
        int below = 0;
        for (const auto& row : world.Tiles) {
            for (const Tile& tile : row)
                below += tile.Altitude < level ? 1 : 0;
        }
        return 100.0f - 100.0f * static_cast<float>(below) / 32768.0f;
    };
    const float wanted = static_cast<float>(landPercent);
    int32_t level = 1000;
    if (wanted >= land(level)) {
        do {
            --level;
        } while (!(wanted <= land(level)));
    } else {
        do {
            ++level;
        } while (!(wanted >= land(level)));
    }
    return level;
}

int TilesBelow(const WorldMap& world, int32_t level) {
    int below = 0;
    for (const auto& row : world.Tiles) {
        for (const Tile& tile : row)
            below += tile.Altitude < level ? 1 : 0;
    }
    return below;
}

bool SameTiles(const WorldMap& left, const WorldMap& right) {
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            const Tile& a = left.Tiles[row][column];
            const Tile& b = right.Tiles[row][column];
            if (a.Altitude != b.Altitude || a.Terrain != b.Terrain || a.Reserved != b.Reserved) {
                return false;
            }
        }
    }
    return true;
}

TEST(WorldGenerationTest, RefusesALandShareOutsideZeroToHundred) {
    for (int landPercent : {-1, 101, 999, INT_MIN}) {
        WorldMap world;
        const WorldGenerationResult result = GenerateWorld(world, landPercent, 1);
        EXPECT_EQ(result.status, WorldGenerationStatus::LandShareOutOfRange);
        EXPECT_EQ(result.faultIterations, 0);
        EXPECT_EQ(world.Tiles[64][10].Terrain, TerrainUnset);  // untouched
        EXPECT_FALSE(FindSeaLevel(world, landPercent).has_value());
    }
}

TEST(WorldGenerationTest, SeededGenerationIsDeterministicAndTheSameOnEveryKernel) {
    const GeneratedWorld& shared = SharedWorld(40, 1234);
    EXPECT_EQ(shared.result.status, WorldGenerationStatus::Complete);
    EXPECT_EQ(shared.result.faultIterations, 10000);
    EXPECT_EQ(shared.world->Width, 256);

    const FaultKernel other =
        FastestFaultKernel() == FaultKernel::Avx2 ? FaultKernel::Portable : FaultKernel::Avx2;
    const GeneratedWorld again = Generate(40, 1234, other);
    EXPECT_TRUE(SameTiles(*shared.world, *again.world));
    EXPECT_EQ(shared.result.seaLevel, again.result.seaLevel);
    EXPECT_EQ(shared.result.polarDepths, again.result.polarDepths);

    EXPECT_TRUE(
        SameTiles(*GenerateRoughly(40, 1234, 30).world, *GenerateRoughly(40, 1234, 30).world));
    EXPECT_FALSE(
        SameTiles(*GenerateRoughly(40, 1234, 30).world, *GenerateRoughly(40, 1235, 30).world));
}

TEST(WorldGenerationTest, ReportsTheShareReachedAndStaysWithinTheFaultsReach) {
    const GeneratedWorld& generated = SharedWorld(40, 1234);
    const WorldMap& world = *generated.world;
    EXPECT_FLOAT_EQ(generated.result.landShare,
                    LandShare(TilesBelow(world, generated.result.seaLevel)));
    EXPECT_NEAR(generated.result.landShare, 40.0f, 2.0f);
    int32_t lowest = INT_MAX;
    int32_t highest = INT_MIN;
    for (const auto& row : world.Tiles) {
        for (const Tile& tile : row) {
            lowest = std::min(lowest, tile.Altitude);
            highest = std::max(highest, tile.Altitude);
            ASSERT_EQ(tile.Reserved, 0);
        }
    }
    EXPECT_GE(lowest, 1000 - 10000);
    EXPECT_LE(highest, 1000 + 10000);
    EXPECT_GT(highest - lowest, 100);
}

TEST(WorldGenerationTest, LandShareZeroPutsEveryTileUnderWater) {
    const GeneratedWorld& generated = SharedWorld(0, 5);
    const int32_t sea = generated.result.seaLevel;
    EXPECT_EQ(generated.result.landShare, 0.0f);
    for (const auto& row : generated.world->Tiles) {
        for (const Tile& tile : row) {
            ASSERT_LT(tile.Altitude, sea);
            ASSERT_TRUE(tile.Terrain == TerrainDeepWater || tile.Terrain == TerrainShallowWater ||
                        tile.Terrain == TerrainIce)
                << tile.Terrain;
        }
    }
}

TEST(WorldGenerationTest, LandShareHundredLeavesNoDeepWater) {
    const GeneratedWorld& generated = SharedWorld(100, 5);
    const int32_t sea = generated.result.seaLevel;
    EXPECT_EQ(generated.result.landShare, 100.0f);
    int atSeaLevel = 0;
    for (const auto& row : generated.world->Tiles) {
        for (const Tile& tile : row) {
            ASSERT_GE(tile.Altitude, sea);
            ASSERT_NE(tile.Terrain, TerrainDeepWater);
            if (tile.Altitude == sea) {
                ++atSeaLevel;
                if (tile.Terrain != TerrainIce) {
                    EXPECT_EQ(tile.Terrain, TerrainShallowWater);
                }
            }
        }
    }
    // The level fell to the lowest tile.
    EXPECT_GT(atSeaLevel, 0);
}

TEST(SeaLevelTest, StopsWhereTheStepByStepRecountStops) {
    const GeneratedWorld& generated = SharedWorld(40, 1234);
    for (int landPercent : {0, 1, 13, 40, 57, 99, 100}) {
        EXPECT_EQ(FindSeaLevel(*generated.world, landPercent),
                  SeaLevelByRecount(*generated.world, landPercent))
            << landPercent;
    }

    // An unshaped world (all at 1000): the level takes at least one step either way.
    WorldMap flat;
    for (auto& row : flat.Tiles) {
        for (Tile& tile : row)
            tile.Altitude = 1000;
    }
    EXPECT_EQ(FindSeaLevel(flat, 100), 999);
    EXPECT_EQ(FindSeaLevel(flat, 40), 1001);
    EXPECT_EQ(FindSeaLevel(flat, 0), 1001);

    // Two plateaus with many tiles on each altitude.
    WorldMap steep;
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            steep.Tiles[row][column].Altitude = row < 64 ? 980 - row % 3 : 1010 + column % 5;
        }
    }
    for (int landPercent : {0, 30, 49, 50, 51, 70, 100}) {
        EXPECT_EQ(FindSeaLevel(steep, landPercent), SeaLevelByRecount(steep, landPercent))
            << landPercent;
    }
    // Altitudes at the ends of the number range: a level above the highest tile does not
    // exist, so a share below one half is out of reach.
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            steep.Tiles[row][column].Altitude = row < 64 ? INT_MIN : INT_MAX;
        }
    }
    EXPECT_EQ(FindSeaLevel(steep, 50), 999);
    EXPECT_EQ(FindSeaLevel(steep, 70), INT_MIN);
    EXPECT_EQ(FindSeaLevel(steep, 30), std::nullopt);
}

TEST(TerrainCodeTest, BandsOfFiftyAroundTheSeaLevel) {
    WorldMap world;
    const int32_t sea = 812;
    const std::vector<std::pair<int32_t, int32_t>> cases = {
        {sea - 51, 0},  {sea - 50, 0},  {sea - 49, 1},  {sea - 1, 1},   {sea, 1},
        {sea + 1, 2},   {sea + 50, 2},  {sea + 51, 3},  {sea + 100, 3}, {sea + 101, 4},
        {sea + 150, 4}, {sea + 151, 5}, {sea + 9000, 5}};
    for (size_t i = 0; i < cases.size(); ++i)
        world.Tiles[3][i].Altitude = cases[i].first;
    AssignTerrainCodes(world, sea);
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(world.Tiles[3][i].Terrain, cases[i].second) << cases[i].first - sea;
    }
}

TEST(PolarCapTest, DepthsStayBetweenTwelveAndTwentyNine) {
    std::vector<PolarDepths> drawn = {SharedWorld(40, 1234).result.polarDepths,
                                      SharedWorld(0, 5).result.polarDepths,
                                      SharedWorld(100, 5).result.polarDepths};
    for (uint32_t seed : {1u, 2u, 3u, 4000000000u}) {
        drawn.push_back(GenerateRoughly(40, seed, 200).result.polarDepths);
    }
    for (const PolarDepths& depths : drawn) {
        for (int32_t depth : depths) {
            EXPECT_GE(depth, 12);
            EXPECT_LE(depth, 29);
        }
    }
    // All water: row 12 always keeps the draw; all land: every row up to 16 does.
    for (int32_t terrain : {TerrainDeepWater, TerrainMountain}) {
        WorldMap world;
        for (auto& row : world.Tiles) {
            for (Tile& tile : row)
                tile.Terrain = terrain;
        }
        CreationRandom random(42);
        const PolarDepths depths = DrawPolarDepths(world, random);
        for (int32_t depth : depths) {
            EXPECT_GE(depth, terrain == TerrainMountain ? 16 : 12);
            EXPECT_LE(depth, 29);
        }
        // One draw per tile of the 30 rows.
        CreationRandom counted(42);
        for (int i = 0; i < 30 * 256; ++i)
            counted.Rand();
        EXPECT_EQ(random.State(), counted.State());
    }
}

TEST(PolarCapTest, CapDepthIsTheTruncatedWeightedMeanOfFiveColumns) {
    PolarDepths depths;
    depths.fill(12);
    depths[5] = 22;
    EXPECT_EQ(CapDepth(depths, 3), 13);
    EXPECT_EQ(CapDepth(depths, 4), 14);
    EXPECT_EQ(CapDepth(depths, 5), 16);
    EXPECT_EQ(CapDepth(depths, 6), 14);
    EXPECT_EQ(CapDepth(depths, 7), 13);
    EXPECT_EQ(CapDepth(depths, 8), 12);
    // The columns wrap around.
    depths.fill(12);
    depths[0] = 29;
    depths[255] = 20;
    EXPECT_EQ(CapDepth(depths, 254), 15);
    EXPECT_EQ(CapDepth(depths, 255), 18);
    EXPECT_EQ(CapDepth(depths, 0), 20);
    EXPECT_EQ(CapDepth(depths, 1), 16);
}

TEST(PolarCapTest, CapsFollowTheDepthsAndMirrorEachOther) {
    for (const GeneratedWorld* shared : {&SharedWorld(40, 1234), &SharedWorld(100, 5)}) {
        const GeneratedWorld& generated = *shared;
        const WorldMap& world = *generated.world;
        const PolarDepths& depths = generated.result.polarDepths;
        for (int column = 0; column < kWorldColumns; ++column) {
            int32_t lowest = INT_MAX;
            int32_t highest = INT_MIN;
            for (int offset = -2; offset <= 2; ++offset) {
                const int32_t depth = depths[(column + offset + 256) % 256];
                lowest = std::min(lowest, depth);
                highest = std::max(highest, depth);
            }
            const int32_t cap = CapDepth(depths, column);
            EXPECT_GE(cap, lowest);
            EXPECT_LE(cap, highest);
            for (int row = 0; row < kWorldRows / 2; ++row) {
                const bool north = world.Tiles[row][column].Terrain == TerrainIce;
                const bool south = world.Tiles[127 - row][column].Terrain == TerrainIce;
                ASSERT_EQ(north, row < cap) << row << "," << column;
                ASSERT_EQ(south, north) << row << "," << column;
            }
        }
    }
}

TEST(WorldGenerationHooksTest, ReportsProgressOncePerFault) {
    std::vector<int> topography;
    std::vector<int> seaLevel;
    int events = 0;
    WorldGenerationHooks hooks;
    hooks.processPendingEvents = [&] { ++events; };
    hooks.topographyProgress = [&](int percent) { topography.push_back(percent); };
    hooks.seaLevelProgress = [&](int percent) { seaLevel.push_back(percent); };
    WorldMap world;
    const WorldGenerationResult result = GenerateWorld(world, 40, 3, hooks);
    EXPECT_EQ(result.status, WorldGenerationStatus::Complete);
    EXPECT_EQ(events, 10000);
    ASSERT_EQ(topography.size(), 10000u);
    EXPECT_EQ(topography.front(), 0);
    EXPECT_EQ(topography[100], 1);  // trunc(100 * 100 / 9999)
    EXPECT_EQ(topography[5000], 50);
    EXPECT_EQ(topography.back(), 100);
    EXPECT_TRUE(std::is_sorted(topography.begin(), topography.end()));
    EXPECT_EQ(seaLevel, std::vector<int>{100});
}

TEST(WorldGenerationHooksTest, CancelStopsTheFaultsAndStillFinishesTheWorld) {
    uint8_t abortFlag = 0;
    int events = 0;
    int progressCalls = 0;
    WorldGenerationHooks hooks;
    hooks.abortFlag = &abortFlag;
    // "Cancel" is pressed while the events of the 5th iteration run.
    hooks.processPendingEvents = [&] {
        if (++events == 5)
            abortFlag = 1;
    };
    hooks.topographyProgress = [&](int) { ++progressCalls; };
    WorldMap world;
    const WorldGenerationResult result = GenerateWorld(world, 40, 3, hooks);
    EXPECT_EQ(result.status, WorldGenerationStatus::Aborted);
    EXPECT_EQ(result.faultIterations, 4);
    EXPECT_EQ(events, 5);
    EXPECT_EQ(progressCalls, 4);
    // Four faults move every tile by at most 4; the sea level, codes and caps still follow.
    for (const auto& row : world.Tiles) {
        for (const Tile& tile : row) {
            ASSERT_LE(std::abs(tile.Altitude - 1000), 4);
            ASSERT_GE(tile.Terrain, 0);
            ASSERT_LE(tile.Terrain, 6);
        }
    }
    EXPECT_EQ(result.seaLevel, SeaLevelByRecount(world, 40));
    EXPECT_EQ(world.Tiles[0][0].Terrain, TerrainIce);
    EXPECT_EQ(world.Tiles[127][0].Terrain, TerrainIce);

    // Pressed before the first fault: the world stays at 1000 and the sea rises to 1001.
    abortFlag = 1;
    hooks.processPendingEvents = [] {};
    const WorldGenerationResult none = GenerateWorld(world, 40, 3, hooks);
    EXPECT_EQ(none.status, WorldGenerationStatus::Aborted);
    EXPECT_EQ(none.faultIterations, 0);
    EXPECT_EQ(none.seaLevel, 1001);
    EXPECT_EQ(world.Tiles[64][0].Altitude, 1000);
    EXPECT_EQ(world.Tiles[64][0].Terrain, TerrainShallowWater);
}

TEST(LandPercentTextTest, ReadsTheLeadingNumber) {
    EXPECT_EQ(ParseLandPercent("40 %"), 40);
    EXPECT_EQ(ParseLandPercent("  +7%"), 7);
    EXPECT_EQ(ParseLandPercent("-5 %"), -5);
    EXPECT_EQ(ParseLandPercent("   %"), 0);
    EXPECT_EQ(ParseLandPercent("- 5"), 0);
    EXPECT_EQ(ParseLandPercent("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseLandPercent("-99999999999999999999"), INT_MIN);
}

}  // namespace
