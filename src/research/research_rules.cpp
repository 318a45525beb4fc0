#include "research/research_rules.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Offsets inside a tree cell.
constexpr int kButtonOffset = 20;      // button's left and top within its cell
constexpr int kLinkStartOffset = 105;  // 5 pixels right of the button's right edge
constexpr int kLinkEndOffset = 15;     // the arrow's tip ends 2 pixels left of the button
constexpr int kLinkMidHeight = 32;     // the button's mid-height
constexpr int kLinkRun = 20;           // straight run at each end of a link
constexpr int kLinkSlopeEnd = 85;      // where the link's slanted part reaches the new row
constexpr int kMarkerLeft = 34;        // first marker's stem within the cell
constexpr int kMarkerSpacing = 20;
constexpr int kMarkerStem = 15;
constexpr int kRangeExtraWidth = 120;
constexpr int kRangeExtraHeight = 55;

bool IsValidTech(const TechCatalogue& catalogue, int32_t index) {
    return index >= 0 && index < catalogue.Count();
}

ResearchStatus StatusOf(const TechCatalogue& catalogue, int32_t index) {
    return catalogue.Tech(index).Status;
}

// The used prerequisite slots of a technology: up to the first -1, and only indexes that
// name a technology of the catalogue.
template <typename Visit>
void ForEachPrerequisite(const TechCatalogue& catalogue, const TechRecord& tech, Visit visit) {
    for (int32_t prerequisite : tech.Prerequisites) {
        if (prerequisite == -1)
            break;
        if (IsValidTech(catalogue, prerequisite))
            visit(prerequisite);
    }
}

template <typename Pred>
bool AnyPrerequisite(const TechCatalogue& catalogue, const TechRecord& tech, Pred pred) {
    bool found = false;
    ForEachPrerequisite(catalogue, tech, [&](int32_t p) { found = found || pred(p); });
    return found;
}

// Four lines narrowing by one pixel at each end, towards the tip.
std::array<PictureLine, 4> RightArrowhead(int x, int y) {
    std::array<PictureLine, 4> lines{};
    for (int i = 0; i < 4; ++i) {
        lines[static_cast<size_t>(i)] = {{x + i, y - 4 + i}, {x + i, y + 5 - i}};
    }
    return lines;
}

std::array<PictureLine, 4> DownArrowhead(int x, int y) {
    std::array<PictureLine, 4> lines{};
    for (int i = 0; i < 4; ++i) {
        lines[static_cast<size_t>(i)] = {{x - 4 + i, y + i}, {x + 5 - i, y + i}};
    }
    return lines;
}

}  // namespace

StatusColour ColourOfStatus(ResearchStatus status) {
    switch (status) {
        case ResearchStatus::Researched:
            return {128, 128, 128};
        case ResearchStatus::InResearchQueue:
            return {0, 0, 255};
        case ResearchStatus::AvailableForResearch:
            return {0, 128, 0};
        case ResearchStatus::NotYetAvailable:
            return {255, 0, 0};
    }
    return {255, 0, 0};
}

std::vector<int32_t> FormTreeList(const TechCatalogue& catalogue, int tree) {
    std::vector<int32_t> list;
    for (int32_t i = 0; i < catalogue.Count() && list.size() < kMaxTreeList; ++i) {
        if (catalogue.Tech(i).Tree == tree)
            list.push_back(i);
    }
    return list;
}

ScrollRanges TreeScrollRanges(const TechCatalogue& catalogue,
                              const std::vector<int32_t>& treeList) {
    int32_t maxColumn = 0;
    int32_t maxRow = 0;
    for (int32_t index : treeList) {
        maxColumn = std::max(maxColumn, catalogue.Tech(index).Column);
        maxRow = std::max(maxRow, catalogue.Tech(index).Row);
    }
    return {maxColumn * kTechCellWidth + kRangeExtraWidth,
            maxRow * kTechCellHeight + kRangeExtraHeight};
}

ButtonCell TechButtonCell(const TechRecord& tech) {
    return {tech.Column * kTechCellWidth + kButtonOffset,
            tech.Row * kTechCellHeight + kButtonOffset, kTechButtonWidth, kTechButtonHeight};
}

DroppedEntries DeriveStatuses(TechCatalogue& catalogue, std::vector<int32_t>& queue) {
    const int32_t count = catalogue.Count();
    auto isResearched = [&](int32_t p) {
        return StatusOf(catalogue, p) == ResearchStatus::Researched;
    };

    // 1. Everything not researched is available when all its prerequisites are researched.
    for (int32_t i = 0; i < count; ++i) {
        const TechRecord& tech = catalogue.Tech(i);
        if (tech.Status == ResearchStatus::Researched)
            continue;
        catalogue.SetStatus(i, ResearchStatus::AvailableForResearch);
        if (AnyPrerequisite(catalogue, tech, [&](int32_t p) { return !isResearched(p); })) {
            catalogue.SetStatus(i, ResearchStatus::NotYetAvailable);
        }
    }

    // 2. Queue entries whose prerequisites are researched or queued count as queued; repeat
    // so that an entry can rely on one that became queued later in the same pass.
    bool changed = true;
    while (changed) {
        changed = false;
        for (int32_t entry : queue) {
            if (!IsValidTech(catalogue, entry))
                continue;
            const TechRecord& tech = catalogue.Tech(entry);
            // A researched technology stays researched even if it is still queued.
            if (tech.Status == ResearchStatus::InResearchQueue ||
                tech.Status == ResearchStatus::Researched) {
                continue;
            }
            bool ready = !AnyPrerequisite(catalogue, tech, [&](int32_t p) {
                ResearchStatus s = StatusOf(catalogue, p);
                return s != ResearchStatus::Researched && s != ResearchStatus::InResearchQueue;
            });
            if (ready) {
                catalogue.SetStatus(entry, ResearchStatus::InResearchQueue);
                changed = true;
            }
        }
    }

    // 3. Entries that could not be queued leave the queue; the rest keep their order.
    DroppedEntries dropped;
    std::vector<int32_t> kept;
    kept.reserve(queue.size());
    for (int32_t entry : queue) {
        if (!IsValidTech(catalogue, entry) ||
            StatusOf(catalogue, entry) == ResearchStatus::NotYetAvailable) {
            dropped.push_back(entry);
        } else {
            kept.push_back(entry);
        }
    }
    queue = std::move(kept);

    // 4. What is not yet available becomes available once every prerequisite is researched
    // or queued.
    for (int32_t i = 0; i < count; ++i) {
        const TechRecord& tech = catalogue.Tech(i);
        if (tech.Status != ResearchStatus::NotYetAvailable)
            continue;
        catalogue.SetStatus(i, ResearchStatus::AvailableForResearch);
        if (AnyPrerequisite(catalogue, tech, [&](int32_t p) {
                ResearchStatus s = StatusOf(catalogue, p);
                return s == ResearchStatus::AvailableForResearch ||
                       s == ResearchStatus::NotYetAvailable;
            })) {
            catalogue.SetStatus(i, ResearchStatus::NotYetAvailable);
        }
    }
    return dropped;
}

std::vector<int32_t> AvailableTechs(const TechCatalogue& catalogue) {
    std::vector<int32_t> list;
    for (int32_t i = 0; i < catalogue.Count(); ++i) {
        if (catalogue.Tech(i).Status == ResearchStatus::AvailableForResearch)
            list.push_back(i);
    }
    return list;
}

std::vector<std::string> EtaTexts(size_t queueLength) {
    std::vector<std::string> texts;
    texts.reserve(queueLength);
    for (size_t j = 0; j < queueLength; ++j)
        texts.push_back(std::to_string(j + 1));
    return texts;
}

std::string ResearchCostText(const TechRecord& tech) {
    const std::string cost = std::to_string(tech.Cost);
    return cost + " (of " + cost + ") Research Points";
}

std::vector<PicturePoint> LinePixels(const PictureLine& line) {
    // Bresenham's line, stepping along the longer axis; the end point is left out so that
    // consecutive lines of a polyline do not draw their shared point twice.
    std::vector<PicturePoint> pixels;
    const int dx = std::abs(line.To.X - line.From.X);
    const int dy = std::abs(line.To.Y - line.From.Y);
    const int stepX = line.To.X >= line.From.X ? 1 : -1;
    const int stepY = line.To.Y >= line.From.Y ? 1 : -1;
    const int steps = std::max(dx, dy);
    pixels.reserve(static_cast<size_t>(steps));
    int x = line.From.X;
    int y = line.From.Y;
    if (dx >= dy) {
        int error = 2 * dy - dx;
        for (int i = 0; i < steps; ++i) {
            pixels.push_back({x, y});
            if (error > 0) {
                y += stepY;
                error -= 2 * dx;
            }
            error += 2 * dy;
            x += stepX;
        }
    } else {
        int error = 2 * dx - dy;
        for (int i = 0; i < steps; ++i) {
            pixels.push_back({x, y});
            if (error > 0) {
                x += stepX;
                error -= 2 * dy;
            }
            error += 2 * dx;
            y += stepY;
        }
    }
    return pixels;
}

std::array<PictureLine, 4> TechLink::Segments() const {
    std::array<PictureLine, 4> segments{};
    for (size_t i = 0; i < segments.size(); ++i)
        segments[i] = {Path[i], Path[i + 1]};
    return segments;
}

TreePicture LayOutTreePicture(const TechCatalogue& catalogue,
                              const std::vector<int32_t>& treeList) {
    TreePicture picture;

    for (int32_t t : treeList) {
        const TechRecord& tech = catalogue.Tech(t);
        ForEachPrerequisite(catalogue, tech, [&](int32_t p) {
            const TechRecord& prerequisite = catalogue.Tech(p);
            if (prerequisite.Tree != tech.Tree)
                return;
            const int x0 = prerequisite.Column * kTechCellWidth + kLinkStartOffset;
            const int y0 = prerequisite.Row * kTechCellHeight + kLinkMidHeight;
            const int x1 = tech.Column * kTechCellWidth + kLinkEndOffset;
            const int y1 = tech.Row * kTechCellHeight + kLinkMidHeight;
            TechLink link;
            link.Prerequisite = p;
            link.Tech = t;
            link.Path = {PicturePoint{x0, y0}, PicturePoint{x0 + kLinkRun, y0},
                         PicturePoint{x0 + kLinkSlopeEnd, y1}, PicturePoint{x1 - kLinkRun, y1},
                         PicturePoint{x1, y1}};
            link.Arrowhead = RightArrowhead(x1, y1);
            picture.Links.push_back(link);
        });
    }

    for (int32_t t : treeList) {
        const TechRecord& tech = catalogue.Tech(t);
        int n = 0;
        ForEachPrerequisite(catalogue, tech, [&](int32_t p) {
            const TechRecord& prerequisite = catalogue.Tech(p);
            if (prerequisite.Tree == tech.Tree)
                return;
            const int x = tech.Column * kTechCellWidth + n * kMarkerSpacing + kMarkerLeft;
            const int y0 = tech.Row * kTechCellHeight;
            CrossTreeMarker marker;
            marker.Prerequisite = p;
            marker.Tech = t;
            marker.Stem = {{x, y0}, {x, y0 + kMarkerStem}};
            marker.Arrowhead = DownArrowhead(x, y0 + kMarkerStem);
            marker.Code = TechTreeCode(prerequisite.Tree);
            marker.CodeAt = {x - 5, y0 - 15};
            marker.CodeStatus = prerequisite.Status;
            picture.Markers.push_back(marker);
            ++n;
        });
    }

    static constexpr std::array<ResearchStatus, 4> kLegendOrder = {
        ResearchStatus::Researched, ResearchStatus::InResearchQueue,
        ResearchStatus::AvailableForResearch, ResearchStatus::NotYetAvailable};
    for (size_t i = 0; i < kLegendOrder.size(); ++i) {
        picture.Legend[i] = {ResearchStatusLegend(kLegendOrder[i]),
                             {10, 8 + static_cast<int>(i) * 16},
                             kLegendOrder[i]};
    }
    return picture;
}

bool ResearchState::Create() {
    const bool whole = Catalogue.Load();
    TreeList.clear();
    ResearchQueue.clear();
    AvailableList.clear();
    return whole;
}

void ResearchState::FormTree() {
    TreeList = FormTreeList(Catalogue, SelectedTree);
    Ranges = TreeScrollRanges(Catalogue, TreeList);
}

DroppedEntries ResearchState::DeriveAndList() {
    DroppedEntries dropped = DeriveStatuses(Catalogue, ResearchQueue);
    AvailableList = AvailableTechs(Catalogue);
    return dropped;
}

bool ResearchState::Add(int availableRow) {
    if (availableRow < 0 || availableRow >= static_cast<int>(AvailableList.size()))
        return false;
    if (ResearchQueue.size() >= kMaxResearchQueue)
        return false;
    ResearchQueue.push_back(AvailableList[static_cast<size_t>(availableRow)]);
    return true;
}

bool ResearchState::Remove(int queueRow) {
    if (queueRow < 0 || queueRow >= static_cast<int>(ResearchQueue.size()))
        return false;
    ResearchQueue.erase(ResearchQueue.begin() + queueRow);
    return true;
}
