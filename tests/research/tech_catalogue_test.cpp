#include "research/tech_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "platform/os/named_records.h"
#include "support/byte_records.h"

namespace {

using Prereqs = std::array<int32_t, kMaxPrerequisites>;

class BuiltInTechCatalogue : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(catalogue.Load()); }
    TechCatalogue catalogue;
};

TEST(BuiltInTechRecords, Tech1IsExactlyTheSixtyFourGivenBytes) {
    std::vector<uint8_t> expected =
        ByteRecord()
            .Text("Wood")
            .Text("The discovery of wood....")
            .Text("Wood (Resource Type)")
            .U8({0x01, 0x00, 0x00, 0x00, 0x32, 0x00, 0x00, 0x00, 0x01, 0x00, 0x04, 0x00});
    ASSERT_EQ(expected.size(), 64u);
    auto record = FindNamedRecord("Tech1");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(std::vector<uint8_t>(record->begin(), record->end()), expected);
}

TEST(BuiltInTechRecords, NamesAreFoundWithoutRegardToCase) {
    auto count = FindNamedRecord("numberoftechs");
    ASSERT_TRUE(count.has_value());
    ASSERT_EQ(count->size(), 2u);
    EXPECT_EQ((*count)[0], 59);
    EXPECT_EQ((*count)[1], 0);
    EXPECT_TRUE(FindNamedRecord("TECH58").has_value());
    EXPECT_FALSE(FindNamedRecord("Tech59").has_value());
    EXPECT_FALSE(FindNamedRecord("Tech07").has_value());
}

TEST_F(BuiltInTechCatalogue, LoadsFiftyNineWithOnlyFoodResearched) {
    ASSERT_EQ(catalogue.Count(), 59);
    EXPECT_EQ(catalogue.Tech(0).Status, ResearchStatus::Researched);
    for (int i = 1; i < catalogue.Count(); ++i) {
        EXPECT_EQ(catalogue.Tech(i).Status, ResearchStatus::NotYetAvailable) << i;
    }
}

TEST_F(BuiltInTechCatalogue, SpotChecksAgainstTheTable) {
    struct Row {
        int index;
        std::string_view name;
        int tree, column, row, cost;
        Prereqs prereqs;
        std::string_view benefits;
    };
    const Row rows[] = {
        {0,
         "Food",
         0,
         0,
         3,
         0,
         {-1, -1, -1, -1},
         "Gathering Place (City upgrade)\nFood (Resource Type)"},
        {1, "Wood", 0, 1, 4, 50, {0, -1, -1, -1}, "Wood (Resource Type)"},
        {4, "Club", 1, 0, 3, 50, {1, 6, -1, -1}, "Club (Unit Component)"},
        {12, "Rope Making", 0, 2, 2, 50, {11, -1, -1, -1}, "(Undetermined)"},
        {18, "Battle Axe", 1, 4, 3, 50, {17, 35, -1, -1}, "Battle Axe (Unit Compnonent)"},
        {24, "Bronze Dagger", 1, 2, 1, 50, {23, 6, 34, -1}, "Food"},
        {30, "Invisiblity", 2, 2, 3, 50, {27, -1, -1, -1}, "Invisibility Spell (Unit Component)"},
        {31, "Mining", 4, 0, 3, 50, {23, -1, -1, -1}, "Food"},
        {47, "Full Plate", 6, 6, 3, 50, {41, 46, -1, -1}, "Food"},
        {58, "Catapult", 1, 2, 6, 50, {10, -1, -1, -1}, "Catapult (Unit Template)"},
    };
    for (const Row& r : rows) {
        const TechRecord& t = catalogue.Tech(r.index);
        EXPECT_EQ(t.Name, r.name) << r.index;
        EXPECT_EQ(std::tie(t.Tree, t.Column, t.Row, t.Cost),
                  std::tie(r.tree, r.column, r.row, r.cost))
            << r.index;
        EXPECT_EQ(t.Prerequisites, r.prereqs) << r.index;
        EXPECT_EQ(t.Benefits, r.benefits) << r.index;
    }
    EXPECT_EQ(catalogue.Tech(0).PrerequisiteCount(), 0);
    EXPECT_EQ(catalogue.Tech(24).PrerequisiteCount(), 3);
}

TEST_F(BuiltInTechCatalogue, TreesCellsAndCrossTreeLinksMatchTheCatalogue) {
    std::array<int, kTechTreeCount> perTree{};
    std::set<std::tuple<int, int, int>> cells;
    int crossTree = 0;
    int multiLineBenefits = 0;
    for (const TechRecord& t : catalogue.Techs()) {
        ASSERT_GE(t.Tree, 0);
        ASSERT_LT(t.Tree, kTechTreeCount);
        ++perTree[static_cast<size_t>(t.Tree)];
        EXPECT_TRUE(cells.insert({t.Tree, t.Column, t.Row}).second) << t.Name;
        bool fromOtherTree = false;
        for (int i = 0; i < t.PrerequisiteCount(); ++i) {
            fromOtherTree |= catalogue.Tech(t.Prerequisites[static_cast<size_t>(i)]).Tree != t.Tree;
        }
        crossTree += fromOtherTree ? 1 : 0;
        multiLineBenefits += t.Benefits.find('\n') != std::string_view::npos ? 1 : 0;
    }
    EXPECT_EQ(perTree, (std::array<int, kTechTreeCount>{11, 24, 6, 0, 6, 0, 12, 0}));
    EXPECT_EQ(crossTree, 25);
    EXPECT_EQ(multiLineBenefits, 1);
}

TEST_F(BuiltInTechCatalogue, EighteenTechnologiesHaveAParagraph) {
    const std::set<int> paragraphs = {0,  3,  4,  7,  8,  9,  10, 13, 14,
                                      15, 16, 17, 18, 19, 20, 23, 49, 50};
    EXPECT_EQ(catalogue.Tech(0).Description,
              "The basic need to eat is inherant in your peoples' conciousness.  They well "
              "understand the concept of food, and where to get it.  This primitive necessity "
              "brings together small groups of people, allowing your budding civilization to "
              "develop the concept of a gathering place.");
    EXPECT_EQ(catalogue.Tech(1).Description, "The discovery of wood....");
    for (int i = 0; i < catalogue.Count(); ++i) {
        std::string_view d = catalogue.Tech(i).Description;
        if (paragraphs.count(i) != 0) {
            EXPECT_GE(d.size(), 80u) << i;
            EXPECT_LE(d.size(), 470u) << i;
        } else {
            EXPECT_LT(d.size(), 60u) << i;
            EXPECT_TRUE(d.ends_with("...")) << i;
        }
    }
}

// --- Bounded parsing of damaged records ----------------------------------------------------

std::vector<uint8_t> WoodRecord() {
    return ByteRecord()
        .Text("Wood")
        .Text("The discovery of wood....")
        .Text("Wood (Resource Type)")
        .I16({1, 0, 50, 0, 1, 4});
}

TEST(TechRecordParsing, EveryTruncationIsRefusedWithABlankRecord) {
    const std::vector<uint8_t> whole = WoodRecord();
    for (size_t length = 0; length < whole.size(); ++length) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length));
        TechRecord tech;
        tech.Name = "stale";
        EXPECT_FALSE(ParseTechRecord(cut, 59, tech)) << length;
        EXPECT_EQ(tech.Name, "") << length;
        EXPECT_EQ(tech.Prerequisites, (Prereqs{-1, -1, -1, -1})) << length;
        EXPECT_EQ(tech.Cost, 0) << length;
    }
    TechRecord tech;
    EXPECT_TRUE(ParseTechRecord(whole, 59, tech));
    EXPECT_EQ(tech.Cost, 50);
    EXPECT_EQ(tech.Row, 4);
}

TEST(TechRecordParsing, MoreThanFourPrerequisitesFillFourAndKeepTheLayout) {
    std::vector<uint8_t> bytes =
        ByteRecord().Text("A").Text("B").Text("C").I16({6, 1, 2, 3, 4, 5, 6, 70, 1, 2, 3});
    TechRecord tech;
    ASSERT_TRUE(ParseTechRecord(bytes, 59, tech));
    EXPECT_EQ(tech.Prerequisites, (Prereqs{1, 2, 3, 4}));
    EXPECT_EQ(std::tie(tech.Cost, tech.Tree, tech.Column, tech.Row), std::make_tuple(70, 1, 2, 3));
}

TEST(TechRecordParsing, PrerequisitesOutsideTheCatalogueArePassedOver) {
    std::vector<uint8_t> bytes =
        ByteRecord().Text("A").Text("B").Text("C").I16({4, 59, -1, 7, -300, 50, 0, 0, 0});
    TechRecord tech;
    ASSERT_TRUE(ParseTechRecord(bytes, 59, tech));
    EXPECT_EQ(tech.Prerequisites, (Prereqs{7, -1, -1, -1}));
}

TEST(TechRecordParsing, NegativePrerequisiteCountOrUnendedTextIsRefused) {
    TechRecord tech;
    EXPECT_FALSE(ParseTechRecord(
        ByteRecord().Text("A").Text("B").Text("C").I16({-1, 50, 0, 0, 0}).Bytes(), 59, tech));
    EXPECT_FALSE(ParseTechRecord(ByteRecord().Text("A").Text("B").Raw("no end").Bytes(), 59, tech));
}

TEST(TechCatalogueLoading, MissingOrDamagedRecordsLeaveBlankTechnologies) {
    ByteRecordSet set;
    set.Add("numberoftechs", ByteRecord().I16({3}))
        .Add("TECH0", ByteRecord().Text("Food").Text("d").Text("b").I16({0, 0, 0, 0, 3}))
        .Add("Tech2", ByteRecord().Text("Broken").Text("d"));
    TechCatalogue catalogue;
    EXPECT_FALSE(catalogue.Load(set.Store()));
    ASSERT_EQ(catalogue.Count(), 3);
    EXPECT_EQ(catalogue.Tech(0).Name, "Food");
    EXPECT_EQ(catalogue.Tech(0).Status, ResearchStatus::Researched);
    for (int i : {1, 2}) {
        EXPECT_EQ(catalogue.Tech(i).Name, "") << i;
        EXPECT_EQ(catalogue.Tech(i).Status, ResearchStatus::NotYetAvailable) << i;
        EXPECT_EQ(catalogue.Tech(i).PrerequisiteCount(), 0) << i;
    }
}

TEST(TechCatalogueLoading, MissingShortOrNegativeCountGivesAnEmptyCatalogue) {
    const std::vector<std::vector<uint8_t>> counts = {ByteRecord().U8({5}), ByteRecord().I16({-2})};
    for (const auto& count : counts) {
        ByteRecordSet set;
        set.Add("NumberOfTechs", count);
        TechCatalogue catalogue;
        EXPECT_FALSE(catalogue.Load(set.Store()));
        EXPECT_EQ(catalogue.Count(), 0);
    }
    TechCatalogue catalogue;
    EXPECT_FALSE(catalogue.Load(ByteRecordSet().Store()));
    EXPECT_EQ(catalogue.Count(), 0);
}

}  // namespace
