#include "race/race_points.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "race/race_design_values.h"

namespace {

constexpr int kInfantry = 0;
constexpr int kMechs = 6;

RaceDesignValues Pressed(std::initializer_list<std::pair<int, int>> presses) {
    RaceDesignValues values;  // Mammalia, no adjustment
    for (auto [category, times] : presses) {
        for (int i = 0; i < std::abs(times); ++i)
            PressCategoryArrow(values, category, times > 0);
    }
    return values;
}

TEST(RacePoints, WorkedExamplesOfMammalia) {
    EXPECT_EQ(RacePoints(Pressed({})), 300);
    EXPECT_EQ(RacePoints(Pressed({{kInfantry, 1}})), 292);
    EXPECT_EQ(RacePoints(Pressed({{kInfantry, 2}})), 267);
    EXPECT_EQ(RacePoints(Pressed({{kInfantry, 3}})), 214);
    EXPECT_EQ(RacePoints(Pressed({{kInfantry, -1}})), 302);
    EXPECT_EQ(RacePoints(Pressed({{kInfantry, -2}})), 317);
    EXPECT_EQ(RacePoints(Pressed({{kInfantry, -3}})), 354);
    EXPECT_EQ(RacePoints(Pressed({{kMechs, 4}})), 54);
    EXPECT_EQ(RacePoints(Pressed({{kMechs, 5}})), -138);  // 54 - 192.5, toward zero
    EXPECT_EQ(RacePoints(Pressed({{kInfantry, 1}, {kMechs, 5}})), -146);
    EXPECT_EQ(RacePoints(Pressed({{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}})),
              240);
}

TEST(RacePoints, ArrowsStopAtTwoAndTwentyAndOutsideValuesCountAsClamped) {
    RaceDesignValues values = Pressed({{kInfantry, 15}, {kMechs, -1}});
    const int32_t points = RacePoints(values);
    EXPECT_FALSE(PressCategoryArrow(values, kInfantry, true));
    EXPECT_FALSE(PressCategoryArrow(values, kMechs, false));
    EXPECT_EQ(DesignSlotTotals(values)[kInfantry], 20);
    EXPECT_EQ(DesignSlotTotals(values)[kMechs], 2);
    EXPECT_EQ(RacePoints(values), points);
    EXPECT_STREQ(AdjustmentSign(values.Adjustments[kMechs]), "-");
    EXPECT_STREQ(AdjustmentSign(0), "+");

    CategoryValues huge{2000000000, -2000000000};  // must not loop for ever
    EXPECT_EQ(RacePoints(kMammalia, huge), RacePoints(kMammalia, {15, -3}));
}

TEST(RacePoints, ClassChangeClampsTheAdjustments) {
    for (int32_t c = 0; c < kRaceClassCount; ++c) {
        int sum = 0;
        for (int32_t v : ClassBase(c))
            sum += v;
        EXPECT_EQ(sum, 42) << "class " << c;
    }
    RaceDesignValues values = Pressed({{kInfantry, 15}, {kMechs, -1}});
    ChangeRaceClass(values, 3);  // Insecta: infantry 8, mechs 4
    EXPECT_EQ(values.Adjustments[kInfantry], 12);
    EXPECT_EQ(values.Adjustments[kMechs], -1);
    EXPECT_EQ(RacePoints(values), RacePoints(3, {12, 0, 0, 0, 0, 0, -1, 0}));
}

TEST(RaceStory, BlankNamesAtStartAndEveryPieceInPlace) {
    RaceDesignValues values;
    EXPECT_EQ(RaceHeader(values), "The ________");
    EXPECT_EQ(RaceStory(values),
              "The ___ race slowly claw their way from the primordial ooze to sentience.  Much "
              "to their amazement, the ___ discover one of them, ___, is immortal.  In awe of "
              "this characteristic, he is named ___, ___ of the ___.  On the day of his "
              "coronation, ___ vows to lead his people to world domination.");

    values.RaceNameSingular = "Elf";
    values.RaceNamePlural = "Elves";
    values.RaceLeaderName = "Ara";
    values.RaceLeaderTitle = "Queen";
    values.Sex = 1;
    EXPECT_EQ(RaceHeader(values), "The Elves");
    EXPECT_EQ(RaceStory(values),
              "The Elf race slowly claw their way from the primordial ooze to sentience.  Much "
              "to their amazement, the Elves discover one of them, Ara, is immortal.  In awe of "
              "this characteristic, she is named Ara, Queen of the Elves.  On the day of her "
              "coronation, Ara vows to lead her people to world domination.");
    values.Sex = 2;
    EXPECT_NE(RaceStory(values).find("it is named Ara"), std::string::npos);
    EXPECT_NE(RaceStory(values).find("day of its coronation, Ara vows to lead its people"),
              std::string::npos);
}

TEST(RaceStory, SaveNeedsEveryNameAndNoDebt) {
    RaceDesignValues values = Pressed({{kMechs, 5}});
    values.RaceNameSingular = "Elf";
    values.RaceNamePlural = "Elves";
    values.RaceLeaderName = "Ara";
    // A space is a name. (Assigned by count: GCC 12 at -O3 misreads the assignment of a
    // one-character literal as an overlapping copy, -Wrestrict.)
    values.RaceLeaderTitle.assign(1, ' ');
    EXPECT_FALSE(RaceCanBeSaved(values));  // -138 points
    PressCategoryArrow(values, kMechs, false);
    EXPECT_TRUE(RaceCanBeSaved(values));  // 54 points
    values.RaceLeaderName.clear();
    EXPECT_FALSE(RaceCanBeSaved(values));
}

}  // namespace
