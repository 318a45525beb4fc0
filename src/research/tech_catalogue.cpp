#include "research/tech_catalogue.h"

#include <string>

#include "data/record_cursor.h"
#include "platform/os/named_records.h"

std::string_view ResearchStatusLegend(ResearchStatus status) {
    switch (status) {
        case ResearchStatus::Researched:
            return "Tech Researched";
        case ResearchStatus::InResearchQueue:
            return "Tech In Research Queue";
        case ResearchStatus::AvailableForResearch:
            return "Tech Available for Research";
        case ResearchStatus::NotYetAvailable:
            return "Tech Not Yet Avaialable";
    }
    return {};
}

std::string_view TechTreeName(int tree) {
    static constexpr std::array<std::string_view, kTechTreeCount> kNames = {
        "General", "Weapons", "Religion / Magic", "Buildings", "Resources", "Leadership",
        "Armor",   "Power"};
    if (tree < 0 || tree >= kTechTreeCount)
        return {};
    return kNames[static_cast<size_t>(tree)];
}

std::string_view TechTreeCode(int tree) {
    static constexpr std::array<std::string_view, kTechTreeCount> kCodes = {"Ge", "We", "RM", "Bu",
                                                                            "Re", "Le", "Ar", "Po"};
    if (tree < 0 || tree >= kTechTreeCount)
        return {};
    return kCodes[static_cast<size_t>(tree)];
}

int TechRecord::PrerequisiteCount() const {
    int used = 0;
    while (used < kMaxPrerequisites && Prerequisites[static_cast<size_t>(used)] != -1)
        ++used;
    return used;
}

bool ParseTechRecord(std::span<const uint8_t> bytes, int32_t techCount, TechRecord& tech) {
    TechRecord parsed;
    RecordCursor cursor(bytes);
    int16_t prerequisites = 0;
    if (!cursor.ReadText(parsed.Name) || !cursor.ReadText(parsed.Description) ||
        !cursor.ReadText(parsed.Benefits) || !cursor.ReadInt16(prerequisites) ||
        prerequisites < 0) {
        tech = TechRecord{};
        return false;
    }
    int used = 0;
    for (int i = 0; i < prerequisites; ++i) {
        int16_t index = 0;
        if (!cursor.ReadInt16(index))
            break;
        // A slot holds a technology index or -1; anything else would send a reader of the
        // catalogue outside it.
        if (used < kMaxPrerequisites && index >= 0 && index < techCount) {
            parsed.Prerequisites[static_cast<size_t>(used++)] = index;
        }
    }
    int16_t cost = 0;
    int16_t tree = 0;
    int16_t column = 0;
    int16_t row = 0;
    if (!cursor.ReadInt16(cost) || !cursor.ReadInt16(tree) || !cursor.ReadInt16(column) ||
        !cursor.ReadInt16(row)) {
        tech = TechRecord{};
        return false;
    }
    parsed.Cost = cost;
    parsed.Tree = tree;
    parsed.Column = column;
    parsed.Row = row;
    tech = parsed;
    return true;
}

bool TechCatalogue::Load() {
    return Load(BuiltInRecords());
}

bool TechCatalogue::Load(const NamedRecordStore& records) {
    techs_.clear();
    auto countRecord = records.Find("NumberOfTechs");
    int16_t count = 0;
    if (!countRecord)
        return false;
    RecordCursor countCursor(*countRecord);
    if (!countCursor.ReadInt16(count) || count < 0)
        return false;

    bool whole = true;
    techs_.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        TechRecord& tech = techs_[static_cast<size_t>(i)];
        auto bytes = records.Find("Tech" + std::to_string(i));
        if (!bytes || !ParseTechRecord(*bytes, count, tech)) {
            tech = TechRecord{};
            whole = false;
        }
        tech.Status = ResearchStatus::NotYetAvailable;
    }
    if (!techs_.empty())
        techs_[0].Status = ResearchStatus::Researched;
    return whole;
}
