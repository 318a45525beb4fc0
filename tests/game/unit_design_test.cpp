#include "game/unit_design.h"

#include <gtest/gtest.h>

namespace {

using Slots = std::array<int32_t, kHullSlotCount>;

Slots Fitted(std::initializer_list<std::pair<int, int32_t>> fits, int32_t empty) {
    Slots slots;
    slots.fill(empty);
    for (auto [slot, value] : fits)
        slots[static_cast<size_t>(slot)] = value;
    return slots;
}

TEST(UnitDesignTable, StartsWithTheStartUpDesigns) {
    UnitDesignTable table;
    for (int slot = 0; slot < kDesignPlayerSlots; ++slot) {
        int expected = slot == 0 || slot == 1 ? 2 : slot == 3 ? 1 : 0;
        EXPECT_EQ(table.Count(slot), expected) << slot;
    }

    struct Expected {
        int slot, position;
        std::string_view name;
        int32_t hull;
        Slots components, counts;
    };
    const Expected designs[] = {
        {0, 0, "Hominid", 0, Fitted({}, -1), Fitted({}, 0)},
        {0, 1, "Warlock", 1, Fitted({{1, 4}}, -1), Fitted({{1, 1}}, 0)},
        {1, 0, "Hominid", 0, Fitted({}, -1), Fitted({}, 0)},
        {1, 1, "Long Boat", 2, Fitted({{1, 2}, {2, 1}}, -1), Fitted({{1, 1}, {2, 1}}, 0)},
        {3, 0, "Corsair", 3, Fitted({{1, 2}, {2, 1}, {4, 2}}, -1),
         Fitted({{1, 2}, {2, 1}, {4, 2}}, 0)},
    };
    for (const Expected& e : designs) {
        const UnitDesign& d = table.Design(e.slot, e.position);
        EXPECT_EQ(d.NameText(), e.name);
        EXPECT_EQ(d.Hull, e.hull) << e.name;
        EXPECT_EQ(d.SlotComponent, e.components) << e.name;
        EXPECT_EQ(d.SlotCount, e.counts) << e.name;
        EXPECT_EQ(d.Flag, 0) << e.name;
    }
}

TEST(UnitDesignTable, StoreKeepsWithinTheTableAndGrowsTheCount) {
    UnitDesignTable table = UnitDesignTable::MakeEmpty();
    UnitDesign elf;
    elf.SetName("Elf");
    EXPECT_TRUE(table.Store(19, 99, elf));
    EXPECT_EQ(table.Count(19), 100);
    EXPECT_TRUE(table.Store(19, 5, elf));
    EXPECT_EQ(table.Count(19), 100);

    for (auto [slot, position] : {std::pair{20, 0}, {-1, 0}, {0, 100}, {0, -1}}) {
        EXPECT_FALSE(table.Store(slot, position, elf)) << slot << "," << position;
    }
    EXPECT_EQ(table.Count(0), 0);
    EXPECT_EQ(table.Count(20), 0);
    EXPECT_EQ(table.Count(-1), 0);
}

TEST(UnitDesignTable, ReadingANameOverAnotherReplacesIt) {
    UnitDesignTable table;
    UnitDesign elf = table.Design(0, 0);
    elf.SetName("Elf");
    ASSERT_TRUE(table.Store(0, 0, elf));
    EXPECT_EQ(table.Design(0, 0).NameText(), "Elf");
    EXPECT_EQ(table.Count(0), 2);
}

TEST(UnitDesignTable, OwnDesignsStopAtOneHundred) {
    UnitDesignTable table;
    UnitDesign design;
    for (int i = table.Count(0); i < kDesignsPerPlayerSlot; ++i) {
        ASSERT_TRUE(table.AppendOwnDesign(design));
    }
    EXPECT_FALSE(table.AppendOwnDesign(design));
    EXPECT_EQ(table.Count(0), kDesignsPerPlayerSlot);
}

TEST(UnitDesign, NameIsCutToThirtyOneCharactersAndAtAZeroByte) {
    UnitDesign design;
    design.SetName(std::string(40, 'x'));
    EXPECT_EQ(design.NameText(), std::string(31, 'x'));
    EXPECT_EQ(design.Name[31], '\0');

    design.SetName(std::string_view("ab\0cd", 5));
    EXPECT_EQ(design.NameText(), "ab");
    EXPECT_EQ(design.Name[3], '\0');

    design.Name.fill('y');  // a buffer filled with no 0 byte still gives at most 31
    EXPECT_EQ(design.NameText().size(), 31u);
}

}  // namespace
