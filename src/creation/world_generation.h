#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "creation/fault_loop.h"
#include "game/world_map.h"

class Clock;

constexpr int kFaultIterations = 10000;
constexpr int32_t kStartAltitude = 1000;
constexpr int32_t kStartSeaLevel = 1000;
constexpr int32_t kTerrainBand = 50;
constexpr int kPolarRows = 30;

// The column depths of the polar caps, one per column.
using PolarDepths = std::array<int32_t, kWorldColumns>;

// What the caller of GenerateWorld is told while it works, and how it stops it.
struct WorldGenerationHooks {
    // Called once at the start of every fault iteration; the screen lets its pending window
    // events run here, which is where a "Cancel" press sets the abort flag.
    std::function<void()> processPendingEvents;
    // Read right after processPendingEvents returns; when it holds a value other than 0 the
    // fault loop ends and the remaining steps run on the world as far as it was shaped.
    const uint8_t* abortFlag = nullptr;
    // The topography gauge: trunc(n * 100 / 9999) for fault iteration n, once per iteration.
    std::function<void(int percent)> topographyProgress;
    // The sea-level gauge: 100 once the sea level is fixed.
    std::function<void(int percent)> seaLevelProgress;
};

enum class WorldGenerationStatus {
    Complete,
    Aborted,              // the abort flag ended the fault loop; the world is still finished
    LandShareOutOfRange,  // the land percentage is not within 0..100; nothing was done
};

struct WorldGenerationResult {
    WorldGenerationStatus status = WorldGenerationStatus::Complete;
    int faultIterations = 0;  // faults cut: 10000 unless aborted
    int32_t seaLevel = kStartSeaLevel;
    float landShare = 0.0f;     // percentage of tiles at or above the sea level
    PolarDepths polarDepths{};  // the depth drawn for each column before smoothing
};

// Generates a world into `world`: Width 256, every tile's Altitude and Terrain. The steps:
// the tile positions on the sphere, the generator seeded with `seed`, 10000 faults (each
// one pass over all tiles, preceded by the hooks), the sea level for `landPercent`, the
// terrain codes, the polar depths and the northern and southern caps. A land percentage
// outside 0..100 can never be reached; it is refused with the world left as it was.
WorldGenerationResult GenerateWorld(WorldMap& world, int landPercent, uint32_t seed,
                                    const WorldGenerationHooks& hooks = {},
                                    FaultKernel kernel = FastestFaultKernel());

// The seed of a creation: the current time in whole seconds, cut to 32 bits.
uint32_t CreationSeed(Clock& clock);

// Reads the land percentage from its text as a decimal integer: leading blanks and one sign
// are accepted, reading stops at the first character that is not a digit, no digits give 0.
// "40 %" gives 40. Values beyond the range of int are held at its limits.
int ParseLandPercent(std::string_view text);

// The share of land when `tilesBelow` of the 32768 tiles lie below the sea level, as a
// float32 percentage.
float LandShare(int tilesBelow);

// The sea level for the requested land percentage. Starting at 1000: when the percentage is
// at least the land share there, the level falls one unit at a time (at least once) until
// the share is at least the percentage; otherwise it rises until the share is at most the
// percentage. A tile at exactly the level counts as land. The level is found at once from
// the altitudes ranked by a count per altitude, not by recounting the tiles per step.
// std::nullopt for a percentage outside 0..100, which no level reaches, and when the level
// would lie beyond the range of int32.
std::optional<int32_t> FindSeaLevel(const WorldMap& world, int landPercent);

// Gives every tile its terrain code from its altitude relative to the sea level.
void AssignTerrainCodes(WorldMap& world, int32_t seaLevel);

// Draws the polar depth of every column from the northern 30 rows, row by row, column by
// column: a land tile of row k keeps the draw when rand() % 201 < (30 - k)^2 + (30 - k), a
// water tile when it is below (26 - k)^2 + (26 - k); the depth is the last row kept.
PolarDepths DrawPolarDepths(const WorldMap& world, CreationRandom& random);

// The cap depth of a column: the depths of the column and its two neighbours on each side
// (wrapping around) weighted 0.1, 0.2, 0.4, 0.2, 0.1, truncated.
int32_t CapDepth(const PolarDepths& depths, int column);

// Lays ice (code 6) over the first CapDepth rows of every column at the northern edge and
// the same number of rows at the southern edge.
void LayPolarCaps(WorldMap& world, const PolarDepths& depths);
