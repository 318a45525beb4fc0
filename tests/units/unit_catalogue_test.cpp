#include "units/unit_catalogue.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/os/named_records.h"
#include "support/byte_records.h"

namespace {

using Costs = std::array<int32_t, kCostTypeCount>;

std::vector<std::tuple<int, int, int, int>> SlotsOf(const HullType& hull) {
    std::vector<std::tuple<int, int, int, int>> slots;
    for (int i = 0; i < hull.SlotCount; ++i) {
        const HullSlot& s = hull.Slots[static_cast<size_t>(i)];
        slots.emplace_back(s.SlotType, s.X, s.Y, s.Capacity);
    }
    return slots;
}

class BuiltInUnitCatalogue : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(catalogue.Load()); }
    UnitCatalogue catalogue;
};

TEST_F(BuiltInUnitCatalogue, HullTypes) {
    using S = std::tuple<int, int, int, int>;
    const HullType& soldier = catalogue.Hull(0);
    EXPECT_EQ(soldier.Name, "Soldier");
    EXPECT_EQ(soldier.Class, static_cast<uint8_t>(HullClass::Infantry));
    EXPECT_EQ(soldier.Cost, (Costs{5, 1, 0, 0, 0, 0}));
    EXPECT_EQ(SlotsOf(soldier), (std::vector<S>{{3, 90, 0, 1}, {0, 160, 0, 1}}));

    const HullType& mage = catalogue.Hull(1);
    EXPECT_EQ(mage.Name, "Mage");
    EXPECT_EQ(mage.Cost, (Costs{8, 1, 0, 0, 2, 0}));
    EXPECT_EQ(SlotsOf(mage), (std::vector<S>{{3, 90, 0, 1}, {4, 160, 0, 1}}));

    const HullType& unireme = catalogue.Hull(2);
    EXPECT_EQ(unireme.Name, "Unireme");
    EXPECT_EQ(unireme.Class, static_cast<uint8_t>(HullClass::Ship));
    EXPECT_EQ(unireme.Cost, (Costs{30, 50, 100, 0, 0, 0}));
    EXPECT_EQ(SlotsOf(unireme), (std::vector<S>{{3, 20, 35, 1},
                                                {0, 90, 0, 1},
                                                {0, 90, 70, 1},
                                                {0, 160, 0, 1},
                                                {0, 160, 70, 1},
                                                {2, 230, 35, 1}}));

    const HullType& bireme = catalogue.Hull(3);
    EXPECT_EQ(bireme.Name, "Bireme");
    EXPECT_EQ(bireme.Class, static_cast<uint8_t>(HullClass::Ship));
    EXPECT_EQ(bireme.Cost, (Costs{40, 80, 150, 10, 0, 0}));
    EXPECT_EQ(SlotsOf(bireme), (std::vector<S>{{3, 20, 35, 1},
                                               {0, 90, 0, 2},
                                               {0, 90, 70, 2},
                                               {0, 160, 0, 2},
                                               {0, 160, 70, 2},
                                               {2, 230, 35, 1}}));

    for (const HullType& hull : catalogue.Hulls()) {
        for (const auto& slot : SlotsOf(hull)) {
            EXPECT_NE(std::get<0>(slot), static_cast<int>(ComponentCategory::Armor)) << hull.Name;
        }
    }
}

TEST_F(BuiltInUnitCatalogue, UnitComponents) {
    struct Row {
        std::string_view name;
        ComponentCategory category;
        Costs cost;
    };
    const Row rows[kUnitComCount] = {
        {"Stone Knife", ComponentCategory::Weapon, {1, 0, 0, 1, 0, 0}},
        {"Simple Club", ComponentCategory::Weapon, {1, 0, 1, 0, 0, 0}},
        {"Sword", ComponentCategory::Weapon, {1, 0, 0, 2, 0, 0}},
        {"Fireball", ComponentCategory::Spell, {1, 0, 0, 0, 3, 0}},
        {"Lightning Blast", ComponentCategory::Spell, {2, 0, 0, 0, 8, 0}},
        {"Plate Mail", ComponentCategory::Armor, {3, 0, 0, 2, 0, 0}},
    };
    const std::string_view description =
        "Often little more than a sharpened \r\n     piece of rock, flint daggars nevertheless "
        "give the \r\n     user a distinct advantage over an unarmed opponent.";
    for (int i = 0; i < kUnitComCount; ++i) {
        const UnitCom& c = catalogue.Component(i);
        EXPECT_EQ(c.Name, rows[i].name);
        EXPECT_EQ(c.Category, static_cast<int8_t>(rows[i].category)) << c.Name;
        EXPECT_EQ(c.Cost, rows[i].cost) << c.Name;
        EXPECT_EQ(c.Description, description) << c.Name;
    }
}

TEST(UnitCodeTables, CodesOutsideTheTables) {
    EXPECT_EQ(SlotLabel(5), "ERROR");
    EXPECT_EQ(SlotLabel(-1), "ERROR");
    EXPECT_EQ(PaletteLabel(5), "");
    EXPECT_EQ(HullClassName(kAllHullClasses), "");
    EXPECT_EQ(CostTypePrefix(static_cast<int>(CostType::Unnamed)), "");
}

// --- Parsing rules and damaged records ------------------------------------------------------

TEST(HullRecordParsing, CostEntries) {
    HullType hull;
    ASSERT_TRUE(ParseHullType(ByteRecord().Text("Raft").I16({0, 4, 0}), hull));
    EXPECT_EQ(hull.Cost, (Costs{}));

    // A type listed twice keeps the last amount; types outside 0..5 are passed over.
    ASSERT_TRUE(
        ParseHullType(ByteRecord().Text("Raft").I16({4, 2, 7, 2, 9, 6, 99, -1, 99, 4, 0}), hull));
    EXPECT_EQ(hull.Cost, (Costs{0, 0, 9, 0, 0, 0}));
}

TEST(HullRecordParsing, HighBytesOfClassAndSlotTypeAreIgnored) {
    HullType hull;
    ASSERT_TRUE(
        ParseHullType(ByteRecord().Text("Raft").I16({0, 0x0304, 1, 0x7F02, 10, 20, 3}), hull));
    EXPECT_EQ(hull.Class, 4);
    ASSERT_EQ(hull.SlotCount, 1);
    EXPECT_EQ(hull.Slots[0].SlotType, 2);
    EXPECT_EQ(hull.Slots[0].X, 10);
    EXPECT_EQ(hull.Slots[0].Capacity, 3);
}

TEST(HullRecordParsing, SlotsBeyondTwentyArePassedOver) {
    ByteRecord record;
    record.Text("Ark").I16({0, 4, 25});
    for (int i = 0; i < 25; ++i)
        record.I16({0, i, i, 1});
    HullType hull;
    ASSERT_TRUE(ParseHullType(record, hull));
    EXPECT_EQ(hull.SlotCount, kMaxHullSlots);
    EXPECT_EQ(hull.Slots[19].X, 19);
}

TEST(HullRecordParsing, EveryTruncationIsRefusedWithABlankHull) {
    auto whole = FindNamedRecord("HullType4");
    ASSERT_TRUE(whole.has_value());
    for (size_t length = 0; length < whole->size(); ++length) {
        std::vector<uint8_t> cut(whole->begin(), whole->begin() + static_cast<ptrdiff_t>(length));
        HullType hull;
        hull.SlotCount = 3;
        EXPECT_FALSE(ParseHullType(cut, hull)) << length;
        EXPECT_EQ(hull.Name, "") << length;
        EXPECT_EQ(hull.SlotCount, 0) << length;
        EXPECT_EQ(hull.Cost, (Costs{})) << length;
    }
    HullType hull;
    EXPECT_FALSE(ParseHullType(ByteRecord().Text("Raft").I16({-1, 0, 0}), hull));
    EXPECT_FALSE(ParseHullType(ByteRecord().Text("Raft").I16({0, 0, -1}), hull));
}

TEST(ComponentRecordParsing, CategoryLowByteIsSignedAndTruncationIsRefused) {
    UnitCom component;
    ASSERT_TRUE(ParseUnitCom(ByteRecord().Text("Rock").Text("").I16({0, 0x12FF}), component));
    EXPECT_EQ(component.Category, -1);
    EXPECT_EQ(component.Cost, (Costs{}));

    auto whole = FindNamedRecord("UnitCom5");
    ASSERT_TRUE(whole.has_value());
    for (size_t length = 0; length < whole->size(); ++length) {
        std::vector<uint8_t> cut(whole->begin(), whole->begin() + static_cast<ptrdiff_t>(length));
        EXPECT_FALSE(ParseUnitCom(cut, component)) << length;
        EXPECT_EQ(component.Name, "") << length;
    }
}

TEST(UnitCatalogueLoading, MissingRecordsLeaveBlankEntries) {
    ByteRecordSet set;
    set.Add("hulltype2", ByteRecord().Text("Mage").I16({0, 0, 0}))
        .Add("UNITCOM6", ByteRecord().Text("Plate Mail").Text("").I16({0, 1}));
    UnitCatalogue catalogue;
    EXPECT_FALSE(catalogue.Load(set.Store()));
    EXPECT_EQ(catalogue.Hull(0).Name, "");
    EXPECT_EQ(catalogue.Hull(1).Name, "Mage");
    EXPECT_EQ(catalogue.Component(5).Category, static_cast<int8_t>(ComponentCategory::Armor));
    EXPECT_EQ(catalogue.Component(0).Name, "");
}

}  // namespace
