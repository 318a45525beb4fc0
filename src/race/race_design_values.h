#pragma once

#include <cstdint>
#include <string>

#include "race/race_points.h"

// The race design wizard's values, apart from its screen: the texts of its fields, its two
// choices, the design-slot adjustments and the password of the last race file read. The
// screen shows these and writes the user's changes back; saving and loading work on them.
struct RaceDesignValues {
    std::string RaceNameSingular;
    std::string RaceNamePlural;
    std::string RaceLeaderName;
    std::string RaceLeaderTitle;
    std::string Password;
    std::string PasswordConfirm;
    int32_t Sex = 0;                // item of the sex choice: 0 Male, 1 Female, 2 Other
    int32_t RaceClass = kMammalia;  // item of the class choice, 0..5
    CategoryValues Adjustments{};   // per category, against the selected class's base
    // Filled only when a race file with a password record is read; the password prompt
    // compares the typed text with it.
    std::string LoadedRacePassword;
};

// Selects another class and clamps the adjustments to its limits.
void ChangeRaceClass(RaceDesignValues& values, int32_t newClass);

// One press of a category's up or down arrow (category 0..7); false when the limit left
// the adjustment as it was.
bool PressCategoryArrow(RaceDesignValues& values, int category, bool up);

// Derived values the screen shows.
CategoryValues DesignSlotTotals(const RaceDesignValues& values);
int32_t RacePoints(const RaceDesignValues& values);
RaceNames NamesOf(const RaceDesignValues& values);
bool RaceCanBeSaved(const RaceDesignValues& values);
std::string RaceStory(const RaceDesignValues& values);
std::string RaceHeader(const RaceDesignValues& values);
