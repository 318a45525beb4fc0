#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/game_state.h"

// The race design rules as plain functions: the class base table, the design-slot
// adjustments and their limits, the race points they cost, and the story and header texts
// built from the race's names and its leader's sex.

// Per unit category, in the order Infantry, Cavalry, Vehicle, Artillery, Ships, Aircraft,
// Mechs, Satellites.
using CategoryValues = std::array<int32_t, kDesignSlotCategories>;

constexpr int32_t kRaceClassCount = 6;  // 0 Arachnidia .. 5 Reptillia
constexpr int32_t kMammalia = 4;        // the class chosen at start
constexpr int32_t kRaceSexCount = 3;    // 0 Male, 1 Female, 2 Other
constexpr int32_t kMinDesignSlots = 2;
constexpr int32_t kMaxDesignSlots = 20;
constexpr int32_t kStartingRacePoints = 300;

bool IsRaceClass(int32_t raceClass);
bool IsRaceSex(int32_t sex);

// The base number of design slots per category of a class. A value outside 0..5 is
// clamped into the table so a stray index never reads outside it.
const CategoryValues& ClassBase(int32_t raceClass);

// The adjustment after one press of a category's up or down arrow: up adds 1 while
// base + adjustment is below 20, down subtracts 1 while it is above 2; otherwise the
// adjustment stays.
int32_t AdjustmentAfterArrow(int32_t base, int32_t adjustment, bool up);

// Adjustments kept after the class changes to newClass: each is moved just enough that
// base + adjustment lies within 2..20 again.
CategoryValues ClampAdjustments(int32_t newClass, CategoryValues adjustments);

// base + adjustment per category: the design slots a race file stores.
CategoryValues DesignSlotTotals(int32_t raceClass, const CategoryValues& adjustments);

// total - base per category: the adjustments a loaded race file implies.
CategoryValues AdjustmentsFromTotals(int32_t raceClass, const CategoryValues& totals);

// The race points left: 300, less the cost of every raised category and plus the gain of
// every lowered one, truncated toward zero after each unit step. Adjustments outside the
// 2..20 limits of their category are counted as if clamped to them. May be negative.
int32_t RacePoints(int32_t raceClass, const CategoryValues& adjustments);

// "+" for an adjustment of 0 or more, "-" below 0.
const char* AdjustmentSign(int32_t adjustment);

// The four names the story is built from.
struct RaceNames {
    std::string_view Singular;
    std::string_view Plural;
    std::string_view Leader;
    std::string_view Title;
};

// "Save Race" is possible exactly when the points are not negative and no name is empty.
bool RaceCanBeSaved(int32_t racePoints, const RaceNames& names);

// The race's story in one line; an empty name reads "___". Sex 0 gives "he"/"his", 1
// "she"/"her", any other value "it"/"its".
std::string RaceStory(const RaceNames& names, int32_t sex);

// "The " and the plural name, or "The ________" when the plural name is empty.
std::string RaceHeader(std::string_view plural);
