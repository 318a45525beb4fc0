// The fixed list of technologies, loaded from the built-in records.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class NamedRecordStore;

constexpr int kMaxPrerequisites = 4;
constexpr int kTechTreeCount = 8;

// The player's research status of a technology.
enum class ResearchStatus : int32_t {
    Researched = 0,
    InResearchQueue = 1,
    AvailableForResearch = 2,
    NotYetAvailable = 3,
};

// Legend text of a status ("Tech Researched" ...).
std::string_view ResearchStatusLegend(ResearchStatus status);
// Name of technology tree 0..7 ("General" ... "Power"); empty for other indexes.
std::string_view TechTreeName(int tree);
// Two-letter code marking a prerequisite from tree 0..7 ("Ge" ... "Po"); empty otherwise.
std::string_view TechTreeCode(int tree);

struct TechRecord {
    std::string_view Name;  // the three texts are views into the record's bytes
    std::string_view Description;
    std::string_view Benefits;  // lines separated by line feeds
    ResearchStatus Status = ResearchStatus::NotYetAvailable;
    std::array<int32_t, kMaxPrerequisites> Prerequisites{-1, -1, -1, -1};  // used ones first
    int32_t Cost = 0;
    int32_t Tree = 0;
    int32_t Column = 0;
    int32_t Row = 0;

    // Number of used prerequisite slots.
    int PrerequisiteCount() const;
};

// Parses one technology record of a catalogue of `techCount` technologies. At most four
// prerequisites are kept: further ones in the record are passed over, and so is a
// prerequisite that is not an index below `techCount`. Returns false, leaving `tech` blank
// (empty texts, no prerequisites, cost, tree, column and row 0), when the record is shorter
// than its layout or its prerequisite count is negative. Bytes after the row are ignored.
// `Status` is set to NotYetAvailable either way.
bool ParseTechRecord(std::span<const uint8_t> bytes, int32_t techCount, TechRecord& tech);

class TechCatalogue {
public:
    // Loads from the built-in records: "NumberOfTechs", then "Tech0" onwards. Every status
    // becomes NotYetAvailable, then technology 0's Researched. Returns true when every record
    // was present and whole. A missing or damaged technology record leaves that technology
    // blank; a missing or damaged count (or a negative one) gives an empty catalogue.
    bool Load();
    // Loads from `records`; the texts are views into its bytes, which must outlive the
    // catalogue.
    bool Load(const NamedRecordStore& records);

    int32_t Count() const { return static_cast<int32_t>(techs_.size()); }
    const TechRecord& Tech(int index) const { return techs_.at(static_cast<size_t>(index)); }
    std::span<const TechRecord> Techs() const { return techs_; }

    // The research rules are the only writer of a status.
    void SetStatus(int index, ResearchStatus status) {
        techs_.at(static_cast<size_t>(index)).Status = status;
    }

private:
    std::vector<TechRecord> techs_;
};
