// Unit designs: one designed unit type, and the table of designs per player slot.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

constexpr int kHullSlotCount = 20;      // component slots a design records
constexpr int kUnitNameBytes = 32;      // name buffer, zero-ended
constexpr int kUnitNameMaxLength = 31;  // characters that fit before the 0 byte
constexpr int kDesignPlayerSlots = 20;  // player slots of the design table
constexpr int kDesignsPerPlayerSlot = 100;

// One designed unit type: a hull with a component (or none) in each of its slots.
struct UnitDesign {
    int32_t Hull = 0;                                   // index into the hull table
    std::array<char, kUnitNameBytes> Name{};            // zero-ended text, at most 31 characters
    std::array<int32_t, kHullSlotCount> SlotComponent;  // component index, -1 when empty
    std::array<int32_t, kHullSlotCount> SlotCount{};    // copies fitted, 0 when empty
    uint8_t Flag = 0;  // carried through the history file unchanged

    UnitDesign() { SlotComponent.fill(-1); }

    // The name up to its 0 byte (never more than 31 characters).
    std::string_view NameText() const;
    // Stores `name` cut at its first 0 byte and at 31 characters; the rest of the buffer is 0.
    void SetName(std::string_view name);
};

// The designs known to the player: slot 0 holds his own, slots 1 to 19 those of other players.
// Every slot holds at most 100 designs; positions 0 .. Count(slot) - 1 are in use.
class UnitDesignTable {
public:
    // A table holding the start-up designs (see MakeStartUpDesigns).
    UnitDesignTable();

    // A table with every slot empty.
    static UnitDesignTable MakeEmpty();

    // Number of designs in a player slot; 0 for a slot outside 0..19.
    int32_t Count(int playerSlot) const;

    // Design at a position of a player slot. Requires 0 <= playerSlot < 20 and
    // 0 <= position < 100 (positions at or beyond Count are empty designs).
    const UnitDesign& Design(int playerSlot, int position) const;

    // Adds a design at the end of player slot 0. Returns false (and changes nothing) when the
    // slot already holds 100 designs.
    bool AppendOwnDesign(const UnitDesign& design);

    // Stores a design at the given slot and position, as the history file reader does; the
    // slot's count becomes at least position + 1. Returns false (and changes nothing) when
    // the slot or the position is outside the table.
    bool Store(int playerSlot, int position, const UnitDesign& design);

    // Empties every slot.
    void Clear();

private:
    UnitDesign& At(int playerSlot, int position);

    std::vector<UnitDesign> designs_;  // kDesignPlayerSlots x kDesignsPerPlayerSlot, slot-major
    std::array<int32_t, kDesignPlayerSlots> counts_{};
};

// Fills `table` with the designs every player starts with: slot 0 "Hominid" and "Warlock",
// slot 1 "Hominid" and "Long Boat", slot 3 "Corsair"; every other slot empty.
void MakeStartUpDesigns(UnitDesignTable& table);
