#include "units/unit_catalogue.h"

#include <string>

#include "data/record_cursor.h"
#include "platform/os/named_records.h"

namespace {

// Reads the cost entry count and its entries into `cost` (zeroed first).
bool ReadCosts(RecordCursor& cursor, std::array<int32_t, kCostTypeCount>& cost) {
    cost.fill(0);
    int16_t entries = 0;
    if (!cursor.ReadInt16(entries) || entries < 0)
        return false;
    for (int i = 0; i < entries; ++i) {
        int16_t type = 0;
        int16_t amount = 0;
        if (!cursor.ReadInt16(type) || !cursor.ReadInt16(amount))
            return false;
        if (type >= 0 && type < kCostTypeCount)
            cost[static_cast<size_t>(type)] = amount;
    }
    return true;
}

uint8_t LowByte(int16_t value) {
    return static_cast<uint8_t>(static_cast<uint16_t>(value) & 0xFF);
}

}  // namespace

std::string_view HullClassName(int code) {
    static constexpr std::array<std::string_view, kHullClassCount> kNames = {
        "Infantry", "Cavalry", "Vehicle", "Artillery", "Ship", "Aircraft", "Mech", "Satellite"};
    if (code < 0 || code >= kHullClassCount)
        return {};
    return kNames[static_cast<size_t>(code)];
}

std::string_view SlotLabel(int category) {
    static constexpr std::array<std::string_view, kComponentCategoryCount> kLabels = {
        "Weapon", "Armor", "Scanner", "Mech.", "Spell"};
    if (category < 0 || category >= kComponentCategoryCount)
        return "ERROR";
    return kLabels[static_cast<size_t>(category)];
}

std::string_view PaletteLabel(int category) {
    static constexpr std::array<std::string_view, kComponentCategoryCount> kLabels = {
        "(Weapon)", "(Armor)", "(Scanner)", "(Mechanical)", "(Spell)"};
    if (category < 0 || category >= kComponentCategoryCount)
        return {};
    return kLabels[static_cast<size_t>(category)];
}

std::string_view ComponentFilterEntry(int entry) {
    static constexpr std::array<std::string_view, kComponentFilterEntryCount> kEntries = {
        "All Components", "Weapons", "Armor", "Scanners", "Mechanical", "Spells"};
    if (entry < 0 || entry >= kComponentFilterEntryCount)
        return {};
    return kEntries[static_cast<size_t>(entry)];
}

std::string_view CostTypePrefix(int costType) {
    static constexpr std::array<std::string_view, kCostTypeCount - 1> kPrefixes = {
        "Production Points: ", "Population: ", "Wood: ", "Stone: ", "Mana Crystals: "};
    if (costType < 0 || costType >= kCostTypeCount - 1)
        return {};
    return kPrefixes[static_cast<size_t>(costType)];
}

bool ParseHullType(std::span<const uint8_t> bytes, HullType& hull) {
    HullType parsed;
    RecordCursor cursor(bytes);
    int16_t classCode = 0;
    int16_t slots = 0;
    if (!cursor.ReadText(parsed.Name) || !ReadCosts(cursor, parsed.Cost) ||
        !cursor.ReadInt16(classCode) || !cursor.ReadInt16(slots) || slots < 0) {
        hull = HullType{};
        return false;
    }
    parsed.Class = LowByte(classCode);
    for (int i = 0; i < slots; ++i) {
        int16_t type = 0;
        int16_t x = 0;
        int16_t y = 0;
        int16_t capacity = 0;
        if (!cursor.ReadInt16(type) || !cursor.ReadInt16(x) || !cursor.ReadInt16(y) ||
            !cursor.ReadInt16(capacity)) {
            hull = HullType{};
            return false;
        }
        if (i >= kMaxHullSlots)
            continue;  // the table holds 20 slots; the rest is passed over
        HullSlot& slot = parsed.Slots[static_cast<size_t>(i)];
        slot.SlotType = LowByte(type);
        slot.X = x;
        slot.Y = y;
        slot.Capacity = capacity;
    }
    parsed.SlotCount = slots < kMaxHullSlots ? slots : kMaxHullSlots;
    hull = parsed;
    return true;
}

bool ParseUnitCom(std::span<const uint8_t> bytes, UnitCom& component) {
    UnitCom parsed;
    RecordCursor cursor(bytes);
    int16_t category = 0;
    if (!cursor.ReadText(parsed.Name) || !cursor.ReadText(parsed.Description) ||
        !ReadCosts(cursor, parsed.Cost) || !cursor.ReadInt16(category)) {
        component = UnitCom{};
        return false;
    }
    parsed.Category = static_cast<int8_t>(LowByte(category));
    component = parsed;
    return true;
}

bool UnitCatalogue::Load() {
    return Load(BuiltInRecords());
}

bool UnitCatalogue::Load(const NamedRecordStore& records) {
    bool whole = true;
    for (int i = 0; i < kHullTypeCount; ++i) {
        HullType& hull = hulls_[static_cast<size_t>(i)];
        auto bytes = records.Find("HullType" + std::to_string(i + 1));
        if (!bytes) {
            hull = HullType{};
            whole = false;
        } else if (!ParseHullType(*bytes, hull)) {
            whole = false;
        }
    }
    for (int i = 0; i < kUnitComCount; ++i) {
        UnitCom& component = components_[static_cast<size_t>(i)];
        auto bytes = records.Find("UnitCom" + std::to_string(i + 1));
        if (!bytes) {
            component = UnitCom{};
            whole = false;
        } else if (!ParseUnitCom(*bytes, component)) {
            whole = false;
        }
    }
    return whole;
}
