#include "units/unit_design_rules.h"

#include <algorithm>

namespace {

// Cost types that have a read-out prefix; type 5 has none and no record uses it.
constexpr int kNamedCostTypes = 5;

std::string_view TextOf(std::string_view name) {
    return name.substr(0, std::min(name.size(), static_cast<size_t>(kUnitNameBoxMaxLength)));
}

}  // namespace

std::array<int64_t, kCostTypeCount> DesignCost(
    const UnitCatalogue& catalogue, int hull, const std::array<int32_t, kHullSlotCount>& components,
    const std::array<int32_t, kHullSlotCount>& counts) {
    std::array<int64_t, kCostTypeCount> total{};
    if (hull < 0 || hull >= kHullTypeCount)
        return total;
    const HullType& type = catalogue.Hull(hull);
    for (int t = 0; t < kCostTypeCount; ++t)
        total[static_cast<size_t>(t)] = type.Cost[static_cast<size_t>(t)];
    int slots = std::clamp(type.SlotCount, 0, kHullSlotCount);
    for (int s = 0; s < slots; ++s) {
        int32_t component = components[static_cast<size_t>(s)];
        int32_t count = counts[static_cast<size_t>(s)];
        if (component < 0 || component >= kUnitComCount || count <= 0)
            continue;
        const UnitCom& com = catalogue.Component(component);
        for (int t = 0; t < kCostTypeCount; ++t)
            total[static_cast<size_t>(t)] += int64_t{com.Cost[static_cast<size_t>(t)]} * count;
    }
    return total;
}

std::vector<std::string> CostLines(const std::array<int64_t, kCostTypeCount>& cost, int maxLines) {
    std::vector<std::string> lines;
    for (int t = 0; t < kNamedCostTypes; ++t) {
        int64_t amount = cost[static_cast<size_t>(t)];
        if (amount == 0)
            continue;
        if (static_cast<int>(lines.size()) >= maxLines)
            break;
        lines.push_back(std::string(CostTypePrefix(t)) + std::to_string(amount));
    }
    return lines;
}

std::string SlotFillText(int32_t count, int32_t capacity) {
    return std::to_string(count) + " of " + std::to_string(capacity);
}

int PaletteContentHeight(int rows, int visibleHeight) {
    return std::max(kPaletteRowStep * rows + 2 * kPaletteTop, visibleHeight);
}

int PaletteRowsToErase(int contentHeight) {
    if (contentHeight < kPaletteTop)
        return 0;
    return std::min((contentHeight - kPaletteTop) / kPaletteRowStep + 1, kMaxPaletteRows);
}

UnitDesignState::UnitDesignState() {
    Catalogue.Load();
    RowIndex.fill(-1);
    RowPlayer.fill(-1);
    PaletteList.fill(-1);
    EmptySlots();
    ShowPalette(0);
}

const HullType* UnitDesignState::HullAt(int hull) const {
    if (hull < 0 || hull >= kHullTypeCount)
        return nullptr;
    return &Catalogue.Hull(hull);
}

bool UnitDesignState::HullInClass(int hull, int classValue) const {
    const HullType* type = HullAt(hull);
    return type != nullptr && (classValue == kAllHullClasses || type->Class == classValue);
}

void UnitDesignState::EnableClassButtons() {
    ClassEnabled.fill(false);
    auto enable = [this](int hull) {
        const HullType* type = HullAt(hull);
        if (type != nullptr && type->Class < kHullClassCount)
            ClassEnabled[type->Class] = true;
    };
    switch (Mode) {
        case UnitScreenMode::DesignMode:
            for (int h = 0; h < kHullTypeCount; ++h)
                enable(h);
            break;
        case UnitScreenMode::ExistingMode:
            for (int i = 0; i < DesignTable.Count(0); ++i)
                enable(DesignTable.Design(0, i).Hull);
            break;
        case UnitScreenMode::EnemyMode:
            for (int p = 1; p < kDesignPlayerSlots; ++p) {
                for (int i = 0; i < DesignTable.Count(p); ++i)
                    enable(DesignTable.Design(p, i).Hull);
            }
            break;
    }
}

void UnitDesignState::AddRow(std::string text, int32_t index, int32_t playerSlot) {
    // Rows beyond the list's capacity are not listed.
    if (ListRows.size() >= static_cast<size_t>(kMaxListRows))
        return;
    size_t row = ListRows.size();
    ListRows.push_back(std::move(text));
    RowIndex[row] = index;
    RowPlayer[row] = playerSlot;
}

void UnitDesignState::FillList(int classValue) {
    ListRows.clear();
    RowIndex.fill(-1);
    RowPlayer.fill(-1);
    switch (Mode) {
        case UnitScreenMode::DesignMode: {
            int remembered = CurrentHull;
            for (int h = 0; h < kHullTypeCount; ++h) {
                if (!HullInClass(h, classValue))
                    continue;
                RowIndex[static_cast<size_t>(h)] = static_cast<int32_t>(ListRows.size());
                ListRows.emplace_back(Catalogue.Hull(h).Name);
            }
            bool listed = remembered >= 0 && remembered < kHullTypeCount &&
                          RowIndex[static_cast<size_t>(remembered)] >= 0;
            SelectedRow = listed ? RowIndex[static_cast<size_t>(remembered)] : 0;
            break;
        }
        case UnitScreenMode::ExistingMode:
            for (int i = 0; i < DesignTable.Count(0); ++i) {
                const UnitDesign& design = DesignTable.Design(0, i);
                if (HullInClass(design.Hull, classValue))
                    AddRow(std::string(design.NameText()), i, 0);
            }
            SelectedRow = 0;
            break;
        case UnitScreenMode::EnemyMode:
            for (int p = 1; p < kDesignPlayerSlots; ++p) {
                for (int i = 0; i < DesignTable.Count(p); ++i) {
                    const UnitDesign& design = DesignTable.Design(p, i);
                    if (!HullInClass(design.Hull, classValue))
                        continue;
                    AddRow("Player " + std::to_string(p + 1) + " " + std::string(design.NameText()),
                           i, p);
                }
            }
            SelectedRow = 0;
            break;
    }
    if (ListRows.empty())
        SelectedRow = -1;
}

void UnitDesignState::ListClick() {
    bool rowValid = SelectedRow >= 0 && SelectedRow < static_cast<int>(ListRows.size());
    if (Mode == UnitScreenMode::DesignMode) {
        if (rowValid) {
            for (int h = 0; h < kHullTypeCount; ++h) {
                if (RowIndex[static_cast<size_t>(h)] == SelectedRow)
                    CurrentHull = h;
            }
        }
        ResetWorkingDesign();
        return;
    }
    if (!rowValid) {
        ShowNothing();
        return;
    }
    ShowDesign(RowPlayer[static_cast<size_t>(SelectedRow)],
               RowIndex[static_cast<size_t>(SelectedRow)]);
}

void UnitDesignState::ClassClick(int classValue) {
    ClassFilter = classValue;
    FillList(classValue);
    ListClick();
}

void UnitDesignState::ShowDesign(int playerSlot, int position) {
    const UnitDesign& design = DesignTable.Design(playerSlot, position);
    CurrentHull = design.Hull;
    UnitName = std::string(TextOf(design.NameText()));
    SlotComponent = design.SlotComponent;
    SlotCount = design.SlotCount;
    HullShown = true;
    TemplateHullName = UnitName;
    RefreshCostReadOut();
}

// An empty list leaves no design to show: no hull drawing, no name, no costs.
void UnitDesignState::ShowNothing() {
    EmptySlots();
    UnitName.clear();
    TemplateHullName.clear();
    HullShown = false;
    CostReadOut.clear();
}

// Every slot is emptied, not only the current hull's, so that a saved design never
// carries components of a hull shown before.
void UnitDesignState::EmptySlots() {
    SlotComponent.fill(-1);
    SlotCount.fill(0);
}

void UnitDesignState::ResetWorkingDesign() {
    EmptySlots();
    HullShown = true;
    const HullType* hull = HullAt(CurrentHull);
    UnitName = hull != nullptr ? std::string(TextOf(hull->Name)) : std::string();
    TemplateHullName = UnitName;
    RefreshCostReadOut();
    DescribeHull(CurrentHull);
}

void UnitDesignState::EnterMode(UnitScreenMode mode) {
    Mode = mode;
    ClassFilter = kAllHullClasses;
    FillList(kAllHullClasses);
    if (mode == UnitScreenMode::DesignMode) {
        EditingEnabled = true;
        ShowPalette(0);
        SelectedRow = ListRows.empty() ? -1 : 0;
        CurrentHull = 0;
        EmptySlots();
        HullShown = true;
        const HullType* hull = HullAt(CurrentHull);
        UnitName = hull != nullptr ? std::string(TextOf(hull->Name)) : std::string();
        TemplateHullName = UnitName;
        RefreshCostReadOut();
    } else {
        EditingEnabled = false;
        ShowPalette(-1);
        ListClick();
    }
    EnableClassButtons();
}

void UnitDesignState::Activate() {
    EnableClassButtons();
    FillList(kAllHullClasses);
    ResetWorkingDesign();
}

void UnitDesignState::SetUnitName(std::string_view name) {
    UnitName = std::string(name);
    TemplateHullName = UnitName;
}

void UnitDesignState::ShowPalette(int filterEntry) {
    FilterEntry = filterEntry;
    PaletteList.fill(-1);
    PaletteCount = 0;
    if (filterEntry < 0)
        return;
    for (int c = 0; c < kUnitComCount && PaletteCount < kMaxPaletteRows; ++c) {
        if (filterEntry == 0 || Catalogue.Component(c).Category == filterEntry - 1)
            PaletteList[static_cast<size_t>(PaletteCount++)] = c;
    }
}

bool UnitDesignState::PickComponent(int x, int y, int contentHeight) {
    PickedRow = -1;
    if (x < kGrabLeft || x > kGrabRight)
        return false;
    if (y > contentHeight - kPaletteTop || y <= kPaletteTop)
        return false;
    int row = (y - kPaletteTop) / kPaletteRowStep;
    int bandTop = kPaletteTop + kPaletteRowStep * row;
    // Strictly inside the band: its edges and the gap below it pick nothing.
    if (!(bandTop < y && y < bandTop + kItemTileSize))
        return false;
    if (row >= PaletteCount)
        return false;
    PickedRow = row;
    DescribeComponent(PaletteList[static_cast<size_t>(row)]);
    return true;
}

bool UnitDesignState::DropComponent(int x, int y) {
    x -= kHullOriginX;
    y -= kHullOriginY;
    bool fitted = false;
    const HullType* hull = HullAt(CurrentHull);
    bool picked = PickedRow >= 0 && PickedRow < PaletteCount;
    if (hull != nullptr && picked) {
        int32_t component = PaletteList[static_cast<size_t>(PickedRow)];
        int slots = std::clamp(hull->SlotCount, 0, kHullSlotCount);
        for (int s = 0; s < slots; ++s) {
            const HullSlot& slot = hull->Slots[static_cast<size_t>(s)];
            if (!(slot.X < x && x < slot.X + kItemTileSize && slot.Y < y &&
                  y < slot.Y + kItemTileSize))
                continue;
            int32_t& fittedComponent = SlotComponent[static_cast<size_t>(s)];
            int32_t& count = SlotCount[static_cast<size_t>(s)];
            if (!IsComponent(component) ||
                static_cast<int>(slot.SlotType) != Catalogue.Component(component).Category) {
                // the slot takes another category
            } else if (count == 0) {
                fittedComponent = component;
                count = 1;
                fitted = true;
            } else if (fittedComponent == component && count < slot.Capacity) {
                ++count;
                fitted = true;
            }
            break;
        }
    }
    RefreshCostReadOut();
    return fitted;
}

void UnitDesignState::RefreshCostReadOut() {
    CostReadOut =
        CostLines(DesignCost(Catalogue, CurrentHull, SlotComponent, SlotCount), kCostReadOutLines);
}

void UnitDesignState::DescribeHull(int hull) {
    const HullType* type = HullAt(hull);
    DescriptionLines.clear();
    if (type == nullptr) {
        ItemLabel.clear();
        return;
    }
    ItemLabel = std::string(type->Name);
    std::array<int64_t, kCostTypeCount> cost{};
    std::copy(type->Cost.begin(), type->Cost.end(), cost.begin());
    DescriptionLines = CostLines(cost, kDescriptionCostLines);
}

void UnitDesignState::DescribeComponent(int component) {
    DescriptionLines.clear();
    if (!IsComponent(component)) {
        ItemLabel.clear();
        return;
    }
    const UnitCom& com = Catalogue.Component(component);
    ItemLabel = std::string(com.Name);
    std::array<int64_t, kCostTypeCount> cost{};
    std::copy(com.Cost.begin(), com.Cost.end(), cost.begin());
    DescriptionLines = CostLines(cost, kDescriptionCostLines);
}

bool UnitDesignState::Save() {
    UnitDesign design;
    design.Hull = CurrentHull;
    design.SetName(UnitName);
    design.SlotComponent = SlotComponent;
    design.SlotCount = SlotCount;
    return DesignTable.AppendOwnDesign(design);
}

bool UnitDesignState::SaveEnabled() const {
    return EditingEnabled && DesignTable.Count(0) < kDesignsPerPlayerSlot;
}
