// The rules of the unit design screen: the three modes and their list, the class filter,
// the working design, the component palette, picking and dropping components, and the texts
// of the cost read-out and the description panel. The screen holds one UnitDesignState and
// copies its fields into its controls after every event, so every rule is checked here
// without a window.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/unit_design.h"
#include "units/unit_catalogue.h"

constexpr int kMaxListRows = 500;     // rows of the hull or design list
constexpr int kMaxPaletteRows = 500;  // rows of the component palette
constexpr int kCostReadOutLines = 6;
constexpr int kDescriptionCostLines = 4;
constexpr int kUnitNameBoxMaxLength = 30;  // characters the name box takes

// Component tiles are square; slots and palette rows show one each.
constexpr int kItemTileSize = 70;
// Top-left corner of the hull drawing in the form's client area; slot positions are
// relative to it.
constexpr int kHullOriginX = 300;
constexpr int kHullOriginY = 230;

// Palette rows, in the palette's content coordinates: row k is the band from
// kPaletteTop + 80k to kPaletteTop + 70 + 80k.
constexpr int kPaletteRowStep = 80;
constexpr int kPaletteTop = 10;
constexpr int kPaletteTileLeft = 5;
constexpr int kPaletteNameLeft = 85;
constexpr int kPaletteNameTop = 25;
constexpr int kPaletteLabelLeft = 95;
constexpr int kPaletteLabelTop = 45;
// A drag starts only from a press between these x positions (inclusive).
constexpr int kGrabLeft = 25;
constexpr int kGrabRight = 95;
// Blanks written over old palette texts, for the name and for the category label.
constexpr int kPaletteNameBlanks = 33;
constexpr int kPaletteLabelBlanks = 34;

enum class UnitScreenMode { DesignMode, ExistingMode, EnemyMode };

// Cost of a hull plus its fitted components; components outside the catalogue and
// non-positive counts add nothing.
std::array<int64_t, kCostTypeCount> DesignCost(
    const UnitCatalogue& catalogue, int hull, const std::array<int32_t, kHullSlotCount>& components,
    const std::array<int32_t, kHullSlotCount>& counts);

// "Production Points: 5" ...: one line per non-zero cost of types 0 to 4, in type order,
// at most `maxLines` of them.
std::vector<std::string> CostLines(const std::array<int64_t, kCostTypeCount>& cost, int maxLines);

// Texts of a slot tile: "2 of 2" on a filled slot, "0 of 1" on an empty one.
std::string SlotFillText(int32_t count, int32_t capacity);

// Left edge of a text centred on x `centre` (half the width subtracted, rounded toward
// zero), as the filled tiles centre their texts.
inline int TextLeftCentredOn(int centre, int textWidth) {
    return centre - textWidth / 2;
}
// Left edge of a text centred in a tile (half the free width added, rounded toward zero),
// as the empty tiles centre their texts.
inline int TextLeftCentredInTile(int tileLeft, int textWidth) {
    return tileLeft + (kItemTileSize - textWidth) / 2;
}

// Height of the palette's content for `rows` components: 80 per row plus 20, never less
// than the visible height of its scroll box.
int PaletteContentHeight(int rows, int visibleHeight);
// Rows whose cells are blanked before the palette is drawn: every row whose band starts
// within the content height, at most kMaxPaletteRows.
int PaletteRowsToErase(int contentHeight);

// What the unit design screen shows and edits, apart from the controls that show it.
class UnitDesignState {
public:
    // Loads the built-in catalogue and the start-up design table; hull 0 with empty slots,
    // DesignMode, class "All", the palette showing every component.
    UnitDesignState();

    // --- Rules data and the design table ---------------------------------------------
    UnitCatalogue Catalogue;
    // The designs the game's history file writes and reads back; the screen edits slot 0.
    UnitDesignTable DesignTable;

    // --- The screen's state ----------------------------------------------------------
    UnitScreenMode Mode = UnitScreenMode::DesignMode;
    int32_t CurrentHull = 0;
    std::array<int32_t, kHullSlotCount> SlotComponent{};
    std::array<int32_t, kHullSlotCount> SlotCount{};
    // DesignMode: the list row of each hull (-1 when not listed). Other modes: the design
    // position, within its player slot, of each list row.
    std::array<int32_t, kMaxListRows> RowIndex{};
    // EnemyMode: the player slot of each list row.
    std::array<int32_t, kMaxListRows> RowPlayer{};
    // The component of each palette row; PaletteCount rows are in use.
    std::array<int32_t, kMaxPaletteRows> PaletteList{};
    int32_t PaletteCount = 0;
    // The palette row picked when the last drag started; -1 when it picked nothing.
    int32_t PickedRow = -1;

    // --- What the controls show ------------------------------------------------------
    std::vector<std::string> ListRows;                 // rows of the hull or design list
    int SelectedRow = -1;                              // -1: no row selected
    int ClassFilter = kAllHullClasses;                 // the checked class button (8: "All")
    std::array<bool, kHullClassCount> ClassEnabled{};  // "All" is always enabled
    bool EditingEnabled = true;    // "Clear", "Save", the name box and the component filter
    int FilterEntry = 0;           // selected component filter entry; -1: none
    std::string UnitName;          // the name box
    std::string TemplateHullName;  // the title strip
    std::string ItemLabel;         // description panel: name of the item described
    std::vector<std::string> DescriptionLines;  // its cost lines, at most four
    std::vector<std::string> CostReadOut;       // read-out lines 1 to 6 in use, in order
    bool HullShown = true;                      // false while an empty list leaves nothing to show

    // --- Events ----------------------------------------------------------------------
    // Enables the class buttons of the classes that occur in the current mode.
    void EnableClassButtons();
    // Refills the list with the current mode's hulls or designs of class `classValue`
    // (kAllHullClasses for every class) and selects its first or current row.
    void FillList(int classValue);
    // Acts on the selected list row: a hull to design on, or a design to show.
    void ListClick();
    // A class button was clicked: filter the list by its class, then act on the row.
    void ClassClick(int classValue);
    // Empties every slot of the working design and shows the current hull's name, costs
    // and description.
    void ResetWorkingDesign();
    // A mode button was clicked.
    void EnterMode(UnitScreenMode mode);
    // The window became the active window.
    void Activate();
    // The name box's text changed.
    void SetUnitName(std::string_view name);
    // The component filter selects entry `filterEntry` (-1 for none): rebuilds the palette.
    void ShowPalette(int filterEntry);
    // A drag starts at (x, y) of the palette's content, `contentHeight` high. Returns true
    // and describes the component when a row's tile was hit.
    bool PickComponent(int x, int y, int contentHeight);
    // The drag ends at (x, y) of the form's client area. Returns true when the picked
    // component was fitted; the cost read-out is refreshed in every case.
    bool DropComponent(int x, int y);
    // Recomputes CostReadOut from the working design.
    void RefreshCostReadOut();
    void DescribeHull(int hull);
    void DescribeComponent(int component);
    // Appends the working design to player slot 0. Returns false, changing nothing, when
    // the slot already holds its 100 designs.
    bool Save();
    // "Save" is offered while editing and while player slot 0 has room.
    bool SaveEnabled() const;

    // Hull of the catalogue, or null for an index outside it.
    const HullType* HullAt(int hull) const;
    bool IsComponent(int component) const { return component >= 0 && component < kUnitComCount; }

private:
    void ShowDesign(int playerSlot, int position);
    void ShowNothing();
    void EmptySlots();
    bool HullInClass(int hull, int classValue) const;
    void AddRow(std::string text, int32_t index, int32_t playerSlot);
};
