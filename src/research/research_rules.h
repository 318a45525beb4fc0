// The rules of the research screen: the shown tree, the status of every technology, the
// research queue, the available list and the geometry of the tree picture, kept apart from
// any toolkit so that they can be checked number by number.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "research/tech_catalogue.h"

constexpr int kMaxTreeList = 50;       // technologies one tree can show
constexpr int kMaxResearchQueue = 49;  // entries the research queue can hold

// Tree cells: every technology button sits in a 200 x 70 cell.
constexpr int kTechCellWidth = 200;
constexpr int kTechCellHeight = 70;
constexpr int kTechButtonWidth = 80;
constexpr int kTechButtonHeight = 25;

// Colour of a status, for button captions, prerequisite labels, markers and the legend.
struct StatusColour {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    bool operator==(const StatusColour&) const = default;
};
StatusColour ColourOfStatus(ResearchStatus status);

// Scroll ranges of the tree area, in pixels of content.
struct ScrollRanges {
    int Horizontal = 0;
    int Vertical = 0;
    bool operator==(const ScrollRanges&) const = default;
};

// A technology button's place in content coordinates.
struct ButtonCell {
    int Left = 0;
    int Top = 0;
    int Width = kTechButtonWidth;
    int Height = kTechButtonHeight;
    bool operator==(const ButtonCell&) const = default;
};

// The technologies of `tree`, ascending by index, at most kMaxTreeList of them.
std::vector<int32_t> FormTreeList(const TechCatalogue& catalogue, int tree);
// Ranges of the content that shows `treeList`; an empty tree gives 120 x 55.
ScrollRanges TreeScrollRanges(const TechCatalogue& catalogue, const std::vector<int32_t>& treeList);
ButtonCell TechButtonCell(const TechRecord& tech);

// The queue entries that the status derivation removed, in their former queue order.
using DroppedEntries = std::vector<int32_t>;

// Derives every status from the researched technologies and the queue, and drops the queue
// entries whose prerequisites are no longer all researched or queued. After it, a
// technology is available exactly when each prerequisite is researched or queued.
DroppedEntries DeriveStatuses(TechCatalogue& catalogue, std::vector<int32_t>& queue);

// The available technologies (status AvailableForResearch), ascending by index.
std::vector<int32_t> AvailableTechs(const TechCatalogue& catalogue);

// The "ETA" column: each queued technology's place in the queue, counted from 1.
std::vector<std::string> EtaTexts(size_t queueLength);

// The cost line of a technology's details ("50 (of 50) Research Points").
std::string ResearchCostText(const TechRecord& tech);

// --- Tree picture ------------------------------------------------------------------------

struct PicturePoint {
    int X = 0;
    int Y = 0;
    bool operator==(const PicturePoint&) const = default;
};

// A straight line of 1-pixel width; its end point is not drawn.
struct PictureLine {
    PicturePoint From;
    PicturePoint To;
    bool operator==(const PictureLine&) const = default;
};

// The pixels of a line from its start up to, but not including, its end point.
std::vector<PicturePoint> LinePixels(const PictureLine& line);

// A black link from a prerequisite to a technology of the same tree: a polyline through
// Path and an arrowhead pointing right, four vertical lines narrowing to the tip.
struct TechLink {
    int32_t Prerequisite = -1;
    int32_t Tech = -1;
    std::array<PicturePoint, 5> Path{};
    std::array<PictureLine, 4> Arrowhead{};

    // The polyline's segments, each ending where the next begins.
    std::array<PictureLine, 4> Segments() const;
};

// A marker above a technology for a prerequisite from another tree: a black stem with an
// arrowhead pointing down, and the prerequisite tree's code in the prerequisite's colour.
struct CrossTreeMarker {
    int32_t Prerequisite = -1;
    int32_t Tech = -1;
    PictureLine Stem;
    std::array<PictureLine, 4> Arrowhead{};
    std::string_view Code;
    PicturePoint CodeAt;  // top left of the code's text cell
    ResearchStatus CodeStatus = ResearchStatus::NotYetAvailable;
};

struct LegendLine {
    std::string_view Text;
    PicturePoint At;  // top left of the text cell
    ResearchStatus Status = ResearchStatus::Researched;
};

constexpr int kMarkerFontHeight = 12;  // text cell height of the markers' codes
constexpr int kLegendFontHeight = 14;  // text cell height of the legend

// Everything drawn on the tree picture, in drawing order: links, markers, legend.
struct TreePicture {
    std::vector<TechLink> Links;
    std::vector<CrossTreeMarker> Markers;
    std::array<LegendLine, 4> Legend{};
};

TreePicture LayOutTreePicture(const TechCatalogue& catalogue, const std::vector<int32_t>& treeList);

// --- The screen's state --------------------------------------------------------------------

// What the research screen holds besides its controls. Rebuild() runs the logic steps of a
// rebuild; the screen adds its buttons and picture around them.
struct ResearchState {
    TechCatalogue Catalogue;
    int SelectedTree = 0;
    std::vector<int32_t> TreeList;
    std::vector<int32_t> ResearchQueue;
    std::vector<int32_t> AvailableList;
    ScrollRanges Ranges{120, 55};
    // Filled by the player file; the screen shows 20 whenever it is shown.
    ResearchPoints Points;

    // Loads the catalogue and starts with an empty tree list and queue. Returns whether the
    // catalogue was whole.
    bool Create();

    // The logic steps of a rebuild, in order: FormTree() forms the tree list and the scroll
    // ranges; DeriveAndList() derives the statuses, drops the queue entries that can no
    // longer be queued (returned) and refills the available list.
    void FormTree();
    DroppedEntries DeriveAndList();
    DroppedEntries Rebuild() {
        FormTree();
        return DeriveAndList();
    }

    // Appends the technology of row `availableRow` of the available list; ignored (false)
    // without a selected row or with a full queue. Does not rebuild.
    bool Add(int availableRow);
    // Removes queue entry `queueRow`; the entries behind it move up. Ignored (false)
    // without a selected row. Dependants fall out on the next rebuild.
    bool Remove(int queueRow);
    void Empty() { ResearchQueue.clear(); }
};
