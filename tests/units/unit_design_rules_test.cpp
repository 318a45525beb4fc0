#include "units/unit_design_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr int kSoldier = 0;
constexpr int kMage = 1;
constexpr int kUnireme = 2;
constexpr int kBireme = 3;
constexpr int kShipClass = 4;
constexpr int kInfantryClass = 0;
constexpr int kVisiblePaletteHeight = 328;

// The screen as it is first opened: constructed, then activated.
class UnitScreen : public ::testing::Test {
protected:
    UnitScreen() { state.Activate(); }

    int ComponentNamed(std::string_view name) const {
        for (int c = 0; c < kUnitComCount; ++c) {
            if (state.Catalogue.Component(c).Name == name)
                return c;
        }
        ADD_FAILURE() << "no component " << name;
        return -1;
    }

    // Presses on the middle of the named component's tile in the palette.
    bool Pick(std::string_view name) {
        int component = ComponentNamed(name);
        for (int row = 0; row < state.PaletteCount; ++row) {
            if (state.PaletteList[static_cast<size_t>(row)] == component) {
                return state.PickComponent(
                    50, kPaletteTop + kPaletteRowStep * row + kItemTileSize / 2,
                    PaletteContentHeight(state.PaletteCount, kVisiblePaletteHeight));
            }
        }
        return false;
    }

    // Releases over the middle of a slot of the current hull.
    bool DropOnSlot(int slot) {
        const HullSlot& s =
            state.Catalogue.Hull(state.CurrentHull).Slots[static_cast<size_t>(slot)];
        return state.DropComponent(kHullOriginX + s.X + kItemTileSize / 2,
                                   kHullOriginY + s.Y + kItemTileSize / 2);
    }

    bool Fit(std::string_view name, int slot) {
        Pick(name);
        return DropOnSlot(slot);
    }

    void DesignOn(int hull) {
        state.SelectedRow = state.RowIndex[static_cast<size_t>(hull)];
        state.ListClick();
        ASSERT_EQ(state.CurrentHull, hull);
    }

    std::array<bool, kHullClassCount> Classes(std::initializer_list<int> enabled) {
        std::array<bool, kHullClassCount> classes{};
        for (int c : enabled)
            classes[static_cast<size_t>(c)] = true;
        return classes;
    }

    UnitDesignState state;
};

TEST_F(UnitScreen, FirstOpeningShowsAnEmptySoldier) {
    EXPECT_EQ(state.Mode, UnitScreenMode::DesignMode);
    EXPECT_EQ(state.ListRows, (Lines{"Soldier", "Mage", "Unireme", "Bireme"}));
    EXPECT_EQ(state.SelectedRow, 0);
    EXPECT_EQ(state.CurrentHull, kSoldier);
    EXPECT_EQ(state.SlotComponent[0], -1);
    EXPECT_EQ(state.SlotComponent[1], -1);
    EXPECT_EQ(state.UnitName, "Soldier");
    EXPECT_EQ(state.TemplateHullName, "Soldier");
    EXPECT_EQ(state.CostReadOut, (Lines{"Production Points: 5", "Population: 1"}));
    EXPECT_EQ(state.ItemLabel, "Soldier");
    EXPECT_EQ(state.DescriptionLines, (Lines{"Production Points: 5", "Population: 1"}));
    EXPECT_EQ(state.PaletteCount, 6);
    EXPECT_EQ(state.ClassEnabled, Classes({kInfantryClass, kShipClass}));
    EXPECT_TRUE(state.SaveEnabled());
}

TEST_F(UnitScreen, ClassButtonsFollowTheMode) {
    state.EnterMode(UnitScreenMode::ExistingMode);
    EXPECT_EQ(state.ClassEnabled, Classes({kInfantryClass}));  // Hominid and Warlock
    state.EnterMode(UnitScreenMode::EnemyMode);
    EXPECT_EQ(state.ClassEnabled, Classes({kInfantryClass, kShipClass}));
    state.DesignTable.Clear();
    state.EnterMode(UnitScreenMode::DesignMode);  // the hulls, not the designs
    EXPECT_EQ(state.ClassEnabled, Classes({kInfantryClass, kShipClass}));
}

TEST_F(UnitScreen, ShipClassListsTheShipsAndEmptiesTheDesign) {
    state.ClassClick(kShipClass);
    EXPECT_EQ(state.ListRows, (Lines{"Unireme", "Bireme"}));
    EXPECT_EQ(state.RowIndex[kUnireme], 0);
    EXPECT_EQ(state.RowIndex[kBireme], 1);
    EXPECT_EQ(state.RowIndex[kSoldier], -1);
    EXPECT_EQ(state.SelectedRow, 0);
    EXPECT_EQ(state.CurrentHull, kUnireme);
    EXPECT_EQ(state.UnitName, "Unireme");

    // A Ship that is already current stays selected; its design is emptied all the same.
    DesignOn(kBireme);
    EXPECT_TRUE(Fit("Sword", 1));
    state.ClassClick(kShipClass);
    EXPECT_EQ(state.SelectedRow, 1);
    EXPECT_EQ(state.CurrentHull, kBireme);
    EXPECT_EQ(state.SlotComponent[1], -1);
    EXPECT_EQ(state.SlotCount[1], 0);

    // Leaving the ships empties every slot, not only those of the new hull.
    EXPECT_TRUE(Fit("Sword", 3));
    state.ClassClick(kInfantryClass);
    EXPECT_EQ(state.CurrentHull, kSoldier);
    for (int s = 0; s < kHullSlotCount; ++s)
        EXPECT_EQ(state.SlotComponent[static_cast<size_t>(s)], -1) << s;
}

TEST_F(UnitScreen, EnemyModeListsTheOtherPlayersDesigns) {
    state.EnterMode(UnitScreenMode::EnemyMode);
    EXPECT_EQ(state.ListRows,
              (Lines{"Player 2 Hominid", "Player 2 Long Boat", "Player 4 Corsair"}));
    EXPECT_EQ(state.RowIndex[0], 0);
    EXPECT_EQ(state.RowIndex[1], 1);
    EXPECT_EQ(state.RowIndex[2], 0);
    EXPECT_EQ(state.RowPlayer[0], 1);
    EXPECT_EQ(state.RowPlayer[2], 3);
    EXPECT_FALSE(state.EditingEnabled);
    EXPECT_FALSE(state.SaveEnabled());
    EXPECT_EQ(state.FilterEntry, -1);
    EXPECT_EQ(state.PaletteCount, 0);
    // The first row, player slot 1's Hominid, is shown.
    EXPECT_EQ(state.CurrentHull, kSoldier);
    EXPECT_EQ(state.UnitName, "Hominid");
    EXPECT_EQ(state.TemplateHullName, "Hominid");

    state.SelectedRow = 2;
    state.ListClick();
    EXPECT_EQ(state.CurrentHull, kBireme);
    EXPECT_EQ(state.UnitName, "Corsair");
    EXPECT_EQ(state.SlotComponent[1], 2);
    EXPECT_EQ(state.SlotCount[1], 2);
    EXPECT_EQ(state.SlotCount[4], 2);
    // Bireme 40/80/150/10, two Swords twice (1 PP, 2 Stone each) and a Simple Club.
    EXPECT_EQ(state.CostReadOut,
              (Lines{"Production Points: 45", "Population: 80", "Wood: 151", "Stone: 18"}));

    state.ClassClick(kShipClass);
    EXPECT_EQ(state.ListRows, (Lines{"Player 2 Long Boat", "Player 4 Corsair"}));
    EXPECT_EQ(state.UnitName, "Long Boat");
}

TEST_F(UnitScreen, ExistingModeShowsTheOwnDesigns) {
    state.EnterMode(UnitScreenMode::ExistingMode);
    EXPECT_EQ(state.ListRows, (Lines{"Hominid", "Warlock"}));
    state.SelectedRow = 1;
    state.ListClick();
    EXPECT_EQ(state.CurrentHull, kMage);
    EXPECT_EQ(state.SlotComponent[1], ComponentNamed("Lightning Blast"));
    EXPECT_EQ(state.CostReadOut,
              (Lines{"Production Points: 10", "Population: 1", "Mana Crystals: 10"}));

    // Activation starts an empty design on the current hull in any mode.
    state.Activate();
    EXPECT_EQ(state.Mode, UnitScreenMode::ExistingMode);
    EXPECT_EQ(state.CurrentHull, kMage);
    EXPECT_EQ(state.SlotComponent[1], -1);
    EXPECT_EQ(state.UnitName, "Mage");
    EXPECT_EQ(state.ItemLabel, "Mage");

    // Back to designing: hull 0, everything editable again.
    state.EnterMode(UnitScreenMode::DesignMode);
    EXPECT_EQ(state.CurrentHull, kSoldier);
    EXPECT_EQ(state.SelectedRow, 0);
    EXPECT_TRUE(state.EditingEnabled);
    EXPECT_EQ(state.FilterEntry, 0);
    EXPECT_EQ(state.PaletteCount, 6);
    EXPECT_EQ(state.UnitName, "Soldier");
}

TEST_F(UnitScreen, UnlistableDesignsLeaveTheScreenEmpty) {
    // A design of a hull outside the catalogue is not listed; with nothing else to list,
    // the screen shows no design at all.
    state.DesignTable.Clear();
    UnitDesign broken;
    broken.Hull = 7;
    ASSERT_TRUE(state.DesignTable.Store(2, 0, broken));
    state.EnterMode(UnitScreenMode::EnemyMode);
    EXPECT_TRUE(state.ListRows.empty());
    EXPECT_EQ(state.SelectedRow, -1);
    EXPECT_EQ(state.ClassEnabled, Classes({}));
    EXPECT_FALSE(state.HullShown);
    EXPECT_TRUE(state.CostReadOut.empty());
    EXPECT_EQ(state.UnitName, "");
}

TEST_F(UnitScreen, EnemyListStopsAtItsCapacity) {
    UnitDesign hominid;
    hominid.SetName("Hominid");
    for (int p = 1; p < kDesignPlayerSlots; ++p) {
        for (int i = 0; i < kDesignsPerPlayerSlot; ++i)
            state.DesignTable.Store(p, i, hominid);
    }
    state.EnterMode(UnitScreenMode::EnemyMode);
    EXPECT_EQ(state.ListRows.size(), static_cast<size_t>(kMaxListRows));
    EXPECT_EQ(state.ListRows.back(), "Player 6 Hominid");
}

TEST_F(UnitScreen, SoldierWeaponSlotTakesOneWeapon) {
    EXPECT_TRUE(Fit("Stone Knife", 1));
    EXPECT_EQ(state.SlotComponent[1], ComponentNamed("Stone Knife"));
    EXPECT_EQ(state.SlotCount[1], 1);
    EXPECT_EQ(SlotFillText(state.SlotCount[1], 1), "1 of 1");
    EXPECT_FALSE(Fit("Stone Knife", 1));
    EXPECT_FALSE(Fit("Sword", 1));
    EXPECT_EQ(state.SlotComponent[1], ComponentNamed("Stone Knife"));
    EXPECT_EQ(state.SlotCount[1], 1);
    // A weapon does not go into the Mech. slot.
    EXPECT_FALSE(Fit("Sword", 0));
    EXPECT_EQ(state.SlotCount[0], 0);
}

TEST_F(UnitScreen, BiremeWeaponSlotTakesTheSameWeaponTwice) {
    DesignOn(kBireme);
    EXPECT_TRUE(Fit("Sword", 2));
    EXPECT_TRUE(Fit("Sword", 2));
    EXPECT_EQ(state.SlotCount[2], 2);
    EXPECT_FALSE(Fit("Sword", 2));
    EXPECT_FALSE(Fit("Simple Club", 2));
    EXPECT_EQ(state.SlotComponent[2], ComponentNamed("Sword"));
    EXPECT_EQ(state.SlotCount[2], 2);
    // A Unireme weapon slot holds one.
    DesignOn(kUnireme);
    EXPECT_TRUE(Fit("Sword", 2));
    EXPECT_FALSE(Fit("Sword", 2));
}

TEST_F(UnitScreen, PlateMailFitsNowhere) {
    for (int hull = 0; hull < kHullTypeCount; ++hull) {
        DesignOn(hull);
        for (int s = 0; s < state.Catalogue.Hull(hull).SlotCount; ++s)
            EXPECT_FALSE(Fit("Plate Mail", s)) << hull << " " << s;
    }
}

TEST_F(UnitScreen, DropsOnATileEdgeOrJustOutsideFitNothing) {
    const HullSlot& weapon = state.Catalogue.Hull(kSoldier).Slots[1];  // (160, 0)
    int left = kHullOriginX + weapon.X;
    int top = kHullOriginY + weapon.Y;
    int middleX = left + 35;
    int middleY = top + 35;
    const int misses[][2] = {{left, middleY},      {left - 1, middleY}, {left + 70, middleY},
                             {left + 71, middleY}, {middleX, top},      {middleX, top - 1},
                             {middleX, top + 70}};
    for (const auto& p : misses) {
        state.CostReadOut.clear();
        Pick("Sword");
        EXPECT_FALSE(state.DropComponent(p[0], p[1])) << p[0] << "," << p[1];
        EXPECT_EQ(state.CostReadOut.size(), 2u);  // refreshed all the same
    }
    EXPECT_EQ(state.SlotCount[1], 0);
    Pick("Sword");
    EXPECT_TRUE(state.DropComponent(left + 69, top + 1));
}

TEST_F(UnitScreen, PickingFollowsTheRowsOfThePalette) {
    int height = PaletteContentHeight(6, kVisiblePaletteHeight);
    ASSERT_EQ(height, 500);
    struct Press {
        int x, y, row;
    };
    const Press presses[] = {
        {24, 45, -1},  {25, 45, 0},   {95, 45, 0}, {96, 45, -1},  // the grab zone
        {50, 10, -1},  {50, 11, 0},   {50, 79, 0}, {50, 80, -1},  // band edges
        {50, 85, -1},  {50, 90, -1},  {50, 91, 1}, {50, 479, 5},  // gap, next band
        {50, 489, -1}, {50, 491, -1}, {50, 0, -1},                // gap, below the content, above
    };
    for (const Press& p : presses) {
        EXPECT_EQ(state.PickComponent(p.x, p.y, height), p.row >= 0) << p.x << "," << p.y;
        EXPECT_EQ(state.PickedRow, p.row) << p.x << "," << p.y;
    }
    state.PickComponent(50, 91, height);
    EXPECT_EQ(state.ItemLabel, "Simple Club");
    EXPECT_EQ(state.DescriptionLines, (Lines{"Production Points: 1", "Wood: 1"}));

    // Rows beyond the listed components pick nothing, and a drag that picked nothing
    // fits nothing.
    state.ShowPalette(5);  // Spells: Fireball, Lightning Blast
    EXPECT_FALSE(state.PickComponent(50, 171 + 35, PaletteContentHeight(2, 328)));
    DesignOn(kMage);
    EXPECT_FALSE(DropOnSlot(1));
    EXPECT_TRUE(Fit("Fireball", 1));
}

TEST_F(UnitScreen, PaletteRowsFollowTheFilter) {
    auto rows = [&](int entry) {
        state.ShowPalette(entry);
        return std::vector<int32_t>(state.PaletteList.begin(),
                                    state.PaletteList.begin() + state.PaletteCount);
    };
    EXPECT_EQ(rows(0), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(rows(1), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(rows(2), (std::vector<int32_t>{5}));
    EXPECT_EQ(rows(3), (std::vector<int32_t>{}));
    EXPECT_EQ(rows(4), (std::vector<int32_t>{}));
    EXPECT_EQ(rows(5), (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(rows(-1), (std::vector<int32_t>{}));

    EXPECT_EQ(PaletteContentHeight(3, 328), 328);
    // Old rows are blanked over the whole content, the first band starting at y 10.
    EXPECT_EQ(PaletteRowsToErase(500), 7);
    EXPECT_EQ(PaletteRowsToErase(9), 0);
    EXPECT_EQ(PaletteRowsToErase(1000000), kMaxPaletteRows);
}

TEST_F(UnitScreen, CostReadOutListsNonZeroTotalsInTypeOrder) {
    DesignOn(kUnireme);
    EXPECT_EQ(state.CostReadOut, (Lines{"Production Points: 30", "Population: 50", "Wood: 100"}));
    EXPECT_TRUE(Fit("Sword", 1));
    EXPECT_EQ(state.CostReadOut,
              (Lines{"Production Points: 31", "Population: 50", "Wood: 100", "Stone: 2"}));

    DesignOn(kMage);
    EXPECT_TRUE(Fit("Lightning Blast", 1));
    EXPECT_EQ(state.CostReadOut,
              (Lines{"Production Points: 10", "Population: 1", "Mana Crystals: 10"}));

    // Five non-zero totals take five lines, the fifth opening the right column; type 5 has
    // no line.
    std::array<int64_t, kCostTypeCount> all{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(CostLines(all, kCostReadOutLines),
              (Lines{"Production Points: 1", "Population: 2", "Wood: 3", "Stone: 4",
                     "Mana Crystals: 5"}));
    // The description panel shows four lines at most.
    EXPECT_EQ(CostLines(all, kDescriptionCostLines).size(), 4u);
}

TEST_F(UnitScreen, SaveAppendsToTheOwnDesigns) {
    DesignOn(kBireme);
    EXPECT_TRUE(Fit("Sword", 1));
    state.SetUnitName("Raider");
    EXPECT_EQ(state.TemplateHullName, "Raider");
    EXPECT_TRUE(state.Save());
    state.SetUnitName("");
    EXPECT_TRUE(state.Save());  // an empty name is not refused
    ASSERT_EQ(state.DesignTable.Count(0), 4);
    const UnitDesign& saved = state.DesignTable.Design(0, 2);
    EXPECT_EQ(saved.NameText(), "Raider");
    EXPECT_EQ(saved.Hull, kBireme);
    EXPECT_EQ(saved.SlotComponent[1], ComponentNamed("Sword"));
    EXPECT_EQ(saved.SlotCount[1], 1);
    // The working design and the list stay as they were.
    EXPECT_EQ(state.SlotCount[1], 1);
    EXPECT_EQ(state.ListRows.size(), 4u);

    state.EnterMode(UnitScreenMode::ExistingMode);
    EXPECT_EQ(state.ListRows, (Lines{"Hominid", "Warlock", "Raider", ""}));
}

TEST_F(UnitScreen, SaveStopsAtTheHundredthDesign) {
    while (state.DesignTable.Count(0) < kDesignsPerPlayerSlot - 1)
        ASSERT_TRUE(state.Save());
    EXPECT_TRUE(state.SaveEnabled());
    EXPECT_TRUE(state.Save());
    EXPECT_FALSE(state.SaveEnabled());
    EXPECT_FALSE(state.Save());
    EXPECT_EQ(state.DesignTable.Count(0), kDesignsPerPlayerSlot);
}

}  // namespace
