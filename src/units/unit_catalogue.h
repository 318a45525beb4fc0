// The hull types and unit components a unit is designed from, and their code tables.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "game/unit_design.h"

class NamedRecordStore;

constexpr int kHullTypeCount = 4;  // records "HullType1" .. "HullType4"
constexpr int kUnitComCount = 6;   // records "UnitCom1" .. "UnitCom6"
constexpr int kCostTypeCount = 6;
constexpr int kMaxHullSlots = kHullSlotCount;

// Hull classes; the unit design screen uses kAllHullClasses for "every class".
enum class HullClass : uint8_t {
    Infantry = 0,
    Cavalry = 1,
    Vehicle = 2,
    Artillery = 3,
    Ship = 4,
    Aircraft = 5,
    Mech = 6,
    Satellite = 7,
};
constexpr int kHullClassCount = 8;
constexpr int kAllHullClasses = 8;

// Component categories, which are also the slot types of a hull.
enum class ComponentCategory : int8_t {
    Weapon = 0,
    Armor = 1,
    Scanner = 2,
    Mechanical = 3,
    Spell = 4,
};
constexpr int kComponentCategoryCount = 5;

// Cost types index HullType::Cost and UnitCom::Cost.
enum class CostType : int {
    ProductionPoints = 0,
    Population = 1,
    Wood = 2,
    Stone = 3,
    ManaCrystals = 4,
    Unnamed = 5,  // has no name; no record uses it
};

// Radio button caption of a hull class ("Infantry" ... "Satellite"); empty for other codes.
std::string_view HullClassName(int code);
// Label drawn on an empty slot: "Weapon", "Armor", "Scanner", "Mech.", "Spell", else "ERROR".
std::string_view SlotLabel(int category);
// Label under a component in the palette: "(Weapon)" ...; empty for other codes.
std::string_view PaletteLabel(int category);
// Entry of the component filter list: 0 "All Components", then "Weapons" ... "Spells"
// (entry f selects category f - 1); empty outside 0..5.
std::string_view ComponentFilterEntry(int entry);
constexpr int kComponentFilterEntryCount = kComponentCategoryCount + 1;
// Read-out prefix of a cost type ("Production Points: " ...); empty for type 5 and others.
std::string_view CostTypePrefix(int costType);

struct HullSlot {
    uint8_t SlotType = 0;  // component category the slot accepts
    int32_t X = 0;         // top-left corner of the slot's 70 x 70 tile
    int32_t Y = 0;
    int32_t Capacity = 0;  // copies of one component the slot holds
};

struct HullType {
    std::string_view Name;  // view into the record
    uint8_t Class = 0;
    std::array<int32_t, kCostTypeCount> Cost{};  // indexed by cost type
    int32_t SlotCount = 0;                       // 0 .. 20
    std::array<HullSlot, kMaxHullSlots> Slots{};
};

struct UnitCom {
    std::string_view Name;         // views into the record
    std::string_view Description;  // may hold CR LF line breaks
    std::array<int32_t, kCostTypeCount> Cost{};
    int8_t Category = 0;
};

// Parses one hull record. Cost entries of a type outside 0..5 are passed over; a type
// listed twice keeps its last amount. Slots beyond 20 are passed over (SlotCount stays 20).
// Returns false, leaving `hull` blank (empty name, no cost, no slot), when the record is
// shorter than its counts say or a count is negative. Bytes after the last slot are ignored.
bool ParseHullType(std::span<const uint8_t> bytes, HullType& hull);

// Parses one component record, with the same rules for the cost entries. Returns false,
// leaving `component` blank, when the record is shorter than its counts say.
bool ParseUnitCom(std::span<const uint8_t> bytes, UnitCom& component);

// The four hull types and six unit components, indexed from 0 in record order.
class UnitCatalogue {
public:
    // Loads from the built-in records. Returns true when every record was present and whole;
    // a missing or damaged record leaves its entry blank.
    bool Load();
    // Loads from `records`; the texts are views into its bytes, which must outlive the
    // catalogue.
    bool Load(const NamedRecordStore& records);

    const std::array<HullType, kHullTypeCount>& Hulls() const { return hulls_; }
    const std::array<UnitCom, kUnitComCount>& Components() const { return components_; }
    const HullType& Hull(int index) const { return hulls_.at(static_cast<size_t>(index)); }
    const UnitCom& Component(int index) const { return components_.at(static_cast<size_t>(index)); }

private:
    std::array<HullType, kHullTypeCount> hulls_{};
    std::array<UnitCom, kUnitComCount> components_{};
};
