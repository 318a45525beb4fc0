#include "game/unit_design.h"

#include <algorithm>
#include <cassert>

std::string_view UnitDesign::NameText() const {
    const auto* end = std::find(Name.begin(), Name.begin() + kUnitNameMaxLength, '\0');
    return std::string_view(Name.data(), static_cast<size_t>(end - Name.begin()));
}

void UnitDesign::SetName(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    name = name.substr(0, kUnitNameMaxLength);
    Name.fill('\0');
    std::copy(name.begin(), name.end(), Name.begin());
}

UnitDesignTable::UnitDesignTable()
    : designs_(static_cast<size_t>(kDesignPlayerSlots) * kDesignsPerPlayerSlot) {
    MakeStartUpDesigns(*this);
}

UnitDesignTable UnitDesignTable::MakeEmpty() {
    UnitDesignTable table;
    table.Clear();
    return table;
}

int32_t UnitDesignTable::Count(int playerSlot) const {
    if (playerSlot < 0 || playerSlot >= kDesignPlayerSlots)
        return 0;
    return counts_[static_cast<size_t>(playerSlot)];
}

namespace {

// Where a slot's position lies in the slot-major design list.
size_t DesignIndex(int playerSlot, int position) {
    assert(playerSlot >= 0 && playerSlot < kDesignPlayerSlots && position >= 0 &&
           position < kDesignsPerPlayerSlot);
    return static_cast<size_t>(playerSlot) * kDesignsPerPlayerSlot + static_cast<size_t>(position);
}

}  // namespace

const UnitDesign& UnitDesignTable::Design(int playerSlot, int position) const {
    return designs_[DesignIndex(playerSlot, position)];
}

UnitDesign& UnitDesignTable::At(int playerSlot, int position) {
    return designs_[DesignIndex(playerSlot, position)];
}

bool UnitDesignTable::AppendOwnDesign(const UnitDesign& design) {
    return Store(0, counts_[0], design);
}

bool UnitDesignTable::Store(int playerSlot, int position, const UnitDesign& design) {
    if (playerSlot < 0 || playerSlot >= kDesignPlayerSlots)
        return false;
    if (position < 0 || position >= kDesignsPerPlayerSlot)
        return false;
    At(playerSlot, position) = design;
    int32_t& count = counts_[static_cast<size_t>(playerSlot)];
    count = std::max(count, position + 1);
    return true;
}

void UnitDesignTable::Clear() {
    std::fill(designs_.begin(), designs_.end(), UnitDesign{});
    counts_.fill(0);
}

namespace {

// Hull and component indexes of the catalogue that the start-up designs use.
constexpr int32_t kSoldierHull = 0;
constexpr int32_t kMageHull = 1;
constexpr int32_t kUniremeHull = 2;
constexpr int32_t kBiremeHull = 3;
constexpr int32_t kSimpleClub = 1;
constexpr int32_t kSword = 2;
constexpr int32_t kLightningBlast = 4;

struct Fitting {
    int slot;
    int32_t component;
    int32_t count;
};

UnitDesign MakeDesign(std::string_view name, int32_t hull, std::initializer_list<Fitting> fits) {
    UnitDesign design;
    design.Hull = hull;
    design.SetName(name);
    for (const Fitting& fit : fits) {
        design.SlotComponent[static_cast<size_t>(fit.slot)] = fit.component;
        design.SlotCount[static_cast<size_t>(fit.slot)] = fit.count;
    }
    return design;
}

}  // namespace

void MakeStartUpDesigns(UnitDesignTable& table) {
    table.Clear();
    table.Store(0, 0, MakeDesign("Hominid", kSoldierHull, {}));
    table.Store(0, 1, MakeDesign("Warlock", kMageHull, {{1, kLightningBlast, 1}}));
    table.Store(1, 0, MakeDesign("Hominid", kSoldierHull, {}));
    table.Store(1, 1, MakeDesign("Long Boat", kUniremeHull, {{1, kSword, 1}, {2, kSimpleClub, 1}}));
    table.Store(
        3, 0,
        MakeDesign("Corsair", kBiremeHull, {{1, kSword, 2}, {2, kSimpleClub, 1}, {4, kSword, 2}}));
}
