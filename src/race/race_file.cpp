#include "race/race_file.h"

#include <filesystem>
#include <system_error>

#include "game/record_stream.h"

namespace {

void WriteText(RecordWriter& writer, int32_t tag, std::string_view text) {
    writer.WriteInt32(tag);
    writer.WriteCountedText(text, true);
}

void WriteValue(RecordWriter& writer, int32_t tag, int32_t value) {
    writer.WriteInt32(tag);
    writer.WriteInt32(value);
}

bool IsTextTag(int32_t tag) {
    return tag == kRaceTagSingular || tag == kRaceTagPlural || tag == kRaceTagLeaderName ||
           tag == kRaceTagLeaderTitle || tag == kRaceTagPassword;
}

bool Damaged(FileDamage& damage, size_t offset, std::string reason) {
    damage.Offset = offset;
    damage.What = std::move(reason);
    return false;
}

// Reads one record's payload after its tag; false (with the damage) when it does not fit.
bool ReadPayload(RecordReader& reader, RaceFileEntry& entry, FileDamage& damage) {
    const size_t start = reader.Offset();
    if (IsTextTag(entry.Tag)) {
        int32_t count = 0;
        RecordReader peek = reader;
        if (!peek.ReadInt32(count)) {
            return Damaged(damage, start, "the file ends inside a text count");
        }
        if (count < 0 || static_cast<size_t>(count) > kRaceStringMaxBytes) {
            return Damaged(damage, start,
                           "text count " + std::to_string(count) + " is outside 0..200");
        }
        if (!reader.ReadCountedText(kRaceStringMaxBytes, entry.Text)) {
            return Damaged(damage, start, "the file ends inside a text");
        }
        if (entry.Text.size() > static_cast<size_t>(kRaceTextMax)) {
            return Damaged(damage, start,
                           "a text without its 0 byte is longer than 199 characters");
        }
        return true;
    }
    switch (entry.Tag) {
        case kRaceTagVersion:
            if (!reader.ReadFloat(entry.Version)) {
                return Damaged(damage, start, "the file ends inside the version");
            }
            return true;
        case kRaceTagSex:
        case kRaceTagClass:
            if (!reader.ReadInt32(entry.Value)) {
                return Damaged(damage, start, "the file ends inside a value");
            }
            return true;
        case kRaceTagDesignSlots:
            for (int32_t& slot : entry.Slots) {
                if (!reader.ReadInt32(slot)) {
                    return Damaged(damage, start, "the file ends inside the design slots");
                }
            }
            return true;
        default:
            return true;  // any other tag has no payload
    }
}

// Whether every value of the records is one a race can have, so the race design wizard
// can show it.
bool ValuesARaceCanHave(const std::vector<RaceFileEntry>& entries, FileDamage& damage) {
    for (const RaceFileEntry& entry : entries) {
        if (entry.Tag == kRaceTagSex && !IsRaceSex(entry.Value)) {
            return Damaged(damage, entry.Offset,
                           "sex " + std::to_string(entry.Value) + " is outside 0..2");
        }
        if (entry.Tag == kRaceTagClass && !IsRaceClass(entry.Value)) {
            return Damaged(damage, entry.Offset,
                           "class " + std::to_string(entry.Value) + " is outside 0..5");
        }
        if (entry.Tag == kRaceTagDesignSlots) {
            for (int32_t slot : entry.Slots) {
                if (slot < kMinDesignSlots || slot > kMaxDesignSlots) {
                    return Damaged(damage, entry.Offset,
                                   "design slots " + std::to_string(slot) + " are outside 2..20");
                }
            }
        }
    }
    return true;
}

RaceFileRefusal Refused(RaceFileProblem problem, const std::string& path) {
    RaceFileRefusal refusal;
    refusal.Problem = problem;
    refusal.Path = path;
    return refusal;
}

// The checks both loads make before reading, in order: the file exists, its name marks
// a race file, it can be read whole and is not larger than a race file can be. The
// file's bytes when they pass, otherwise why not.
std::optional<RaceFileRefusal> ReadCheckedRaceFile(const std::string& path,
                                                   std::vector<uint8_t>& bytes) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return Refused(RaceFileProblem::Missing, path);
    if (!NameMarksRaceFile(path))
        return Refused(RaceFileProblem::WrongName, path);
    std::optional<std::vector<uint8_t>> read = ReadWholeFile(path, kRaceFileMaxBytes);
    if (!read) {
        const bool regular = std::filesystem::is_regular_file(path, ec);
        const uintmax_t size = regular ? std::filesystem::file_size(path, ec) : 0;
        if (regular && !ec && size > kRaceFileMaxBytes) {
            RaceFileRefusal refusal = Refused(RaceFileProblem::TooLarge, path);
            refusal.Size = size;
            return refusal;
        }
        return Refused(RaceFileProblem::CannotOpen, path);
    }
    bytes = std::move(*read);
    return std::nullopt;
}

}  // namespace

std::string RaceFileNameFor(std::string_view chosenName) {
    const size_t separator = chosenName.find_last_of("/\\");
    const size_t componentStart = separator == std::string_view::npos ? 0 : separator + 1;
    const size_t dot = chosenName.rfind('.');
    if (dot == std::string_view::npos || dot < componentStart) {
        return std::string(chosenName) + ".rce";
    }
    return std::string(chosenName.substr(0, dot + 1)) + "rce";
}

bool NameMarksRaceFile(std::string_view fileName) {
    return fileName.find(".rce") != std::string_view::npos;
}

std::vector<uint8_t> RaceFileBytes(const RaceRecord& race) {
    RecordWriter writer;
    writer.WriteInt32(kRaceTagVersion);
    writer.WriteFloat(race.Version);
    if (!race.Password.empty())
        WriteText(writer, kRaceTagPassword, race.Password);
    WriteText(writer, kRaceTagSingular, race.NameSingular);
    WriteText(writer, kRaceTagPlural, race.NamePlural);
    WriteText(writer, kRaceTagLeaderName, race.LeaderName);
    WriteText(writer, kRaceTagLeaderTitle, race.LeaderTitle);
    WriteValue(writer, kRaceTagSex, race.Sex);
    WriteValue(writer, kRaceTagClass, race.RaceClass);
    writer.WriteInt32(kRaceTagDesignSlots);
    for (int32_t slot : race.DesignSlots)
        writer.WriteInt32(slot);
    writer.WriteInt32(kRaceTagEnd);
    return writer.Bytes();
}

std::optional<WriteFailure> WriteRaceFile(const std::string& path, const RaceRecord& race) {
    return WriteFileAtomically(path, RaceFileBytes(race));
}

bool RaceFileNameTaken(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

std::string_view FirstOverlongRaceText(const RaceRecord& race) {
    const std::pair<const std::string*, std::string_view> texts[] = {
        {&race.NameSingular, "Race Name (Singular)"},
        {&race.NamePlural, "Race Name (Plural)"},
        {&race.LeaderName, "Leader Name"},
        {&race.LeaderTitle, "Leader Title"},
        {&race.Password, "Password"},
    };
    for (const auto& [text, label] : texts) {
        if (text->size() > static_cast<size_t>(kRaceTextMax))
            return label;
    }
    return {};
}

bool ParseRaceFile(std::span<const uint8_t> bytes, std::vector<RaceFileEntry>& entries,
                   FileDamage& damage) {
    entries.clear();
    RecordReader reader(bytes);
    for (;;) {
        const size_t tagOffset = reader.Offset();
        RaceFileEntry entry;
        entry.Offset = tagOffset;
        if (!reader.ReadInt32(entry.Tag)) {
            return Damaged(damage, tagOffset, "the file ends before its end record");
        }
        if (entry.Tag == kRaceTagEnd)
            return true;
        if (!ReadPayload(reader, entry, damage))
            return false;
        entries.push_back(std::move(entry));
    }
}

void ApplyRaceEntry(const RaceFileEntry& entry, RaceRecord& race) {
    switch (entry.Tag) {
        case kRaceTagVersion:
            race.Version = entry.Version;
            break;
        case kRaceTagSingular:
            race.NameSingular = entry.Text;
            break;
        case kRaceTagPlural:
            race.NamePlural = entry.Text;
            break;
        case kRaceTagLeaderName:
            race.LeaderName = entry.Text;
            break;
        case kRaceTagLeaderTitle:
            race.LeaderTitle = entry.Text;
            break;
        case kRaceTagSex:
            race.Sex = entry.Value;
            break;
        case kRaceTagPassword:
            race.Password = entry.Text;
            break;
        case kRaceTagClass:
            race.RaceClass = entry.Value;
            break;
        case kRaceTagDesignSlots:
            race.DesignSlots = entry.Slots;
            break;
        default:
            break;  // tags without payload change nothing
    }
}

namespace {

// A race record read from its records: the password emptied first, then every record
// applied in file order.
void ReadEntriesInto(const std::vector<RaceFileEntry>& entries, RaceRecord& race) {
    race.Password.clear();
    for (const RaceFileEntry& entry : entries)
        ApplyRaceEntry(entry, race);
}

}  // namespace

std::optional<FileDamage> CheckRaceFile(std::span<const uint8_t> bytes,
                                        std::vector<RaceFileEntry>& entries) {
    FileDamage damage;
    if (!ParseRaceFile(bytes, entries, damage) || !ValuesARaceCanHave(entries, damage)) {
        entries.clear();
        return damage;
    }
    return std::nullopt;
}

bool ReadRaceRecord(std::span<const uint8_t> bytes, RaceRecord& race, FileDamage* damage) {
    std::vector<RaceFileEntry> entries;
    FileDamage found;
    if (!ParseRaceFile(bytes, entries, found)) {
        if (damage != nullptr)
            *damage = found;
        return false;
    }
    ReadEntriesInto(entries, race);
    return true;
}

bool ReadRaceIntoDesign(std::span<const uint8_t> bytes, RaceDesignValues& values,
                        const RacePasswordCheck& givesPassword, FileDamage* damage) {
    // The whole file is checked before anything is applied, so a damaged file changes
    // nothing and never asks for the password.
    std::vector<RaceFileEntry> entries;
    if (std::optional<FileDamage> found = CheckRaceFile(bytes, entries)) {
        if (damage != nullptr)
            *damage = std::move(*found);
        return false;
    }
    RaceDesignValues read = values;
    read.Password.clear();
    read.PasswordConfirm.clear();
    // The records fill a race record as in every reader; what the wizard does with a field
    // follows from the record's tag, in file order.
    RaceRecord race = RaceRecordFromDesign(read, 0.0f);
    for (const RaceFileEntry& entry : entries) {
        ApplyRaceEntry(entry, race);
        if (entry.Tag == kRaceTagClass) {
            ChangeRaceClass(read, race.RaceClass);
        } else if (entry.Tag == kRaceTagDesignSlots) {
            read.Adjustments = AdjustmentsFromTotals(read.RaceClass, race.DesignSlots);
        } else if (entry.Tag == kRaceTagPassword) {
            read.LoadedRacePassword = race.Password;
            if (!givesPassword || !givesPassword(read.LoadedRacePassword)) {
                // Reading stops here as if the end record had been read.
                break;
            }
            read.Password = read.LoadedRacePassword;
            read.PasswordConfirm = read.LoadedRacePassword;
        }
    }
    read.RaceNameSingular = race.NameSingular;
    read.RaceNamePlural = race.NamePlural;
    read.RaceLeaderName = race.LeaderName;
    read.RaceLeaderTitle = race.LeaderTitle;
    read.Sex = race.Sex;
    values = std::move(read);
    return true;
}

std::optional<RaceFileRefusal> LoadRaceFileForPlayer(const std::string& path, RaceRecord& race) {
    std::vector<uint8_t> bytes;
    if (std::optional<RaceFileRefusal> refusal = ReadCheckedRaceFile(path, bytes))
        return refusal;
    std::vector<RaceFileEntry> entries;
    if (std::optional<FileDamage> damage = CheckRaceFile(bytes, entries)) {
        RaceFileRefusal refusal = Refused(RaceFileProblem::Damaged, path);
        refusal.Damage = std::move(*damage);
        return refusal;
    }
    ReadEntriesInto(entries, race);
    return std::nullopt;
}

std::optional<RaceFileRefusal> LoadRaceFileIntoDesign(const std::string& path,
                                                      RaceDesignValues& values,
                                                      const RacePasswordCheck& givesPassword) {
    std::vector<uint8_t> bytes;
    if (std::optional<RaceFileRefusal> refusal = ReadCheckedRaceFile(path, bytes))
        return refusal;
    FileDamage damage;
    if (!ReadRaceIntoDesign(bytes, values, givesPassword, &damage)) {
        RaceFileRefusal refusal = Refused(RaceFileProblem::Damaged, path);
        refusal.Damage = std::move(damage);
        return refusal;
    }
    return std::nullopt;
}

RaceRecord RaceRecordFromDesign(const RaceDesignValues& values, float version) {
    RaceRecord race;
    race.Version = version;
    race.NameSingular = values.RaceNameSingular;
    race.NamePlural = values.RaceNamePlural;
    race.LeaderName = values.RaceLeaderName;
    race.LeaderTitle = values.RaceLeaderTitle;
    race.Password = values.Password;
    race.Sex = values.Sex;
    race.RaceClass = values.RaceClass;
    race.DesignSlots = DesignSlotTotals(values);
    return race;
}

std::optional<RaceSaveRefusal> CheckRaceForSaving(const RaceDesignValues& values) {
    if (values.Password != values.PasswordConfirm)
        return RaceSaveRefusal{RaceSaveProblem::PasswordMismatch, {}};
    // A race file holds at most 199 characters per text; a longer one is refused rather
    // than written cut or unreadable.
    const RaceRecord race = RaceRecordFromDesign(values, 0.0f);
    if (std::string_view overlong = FirstOverlongRaceText(race); !overlong.empty())
        return RaceSaveRefusal{RaceSaveProblem::TextTooLong, overlong};
    return std::nullopt;
}

RaceFileReadResult ReadRaceFileForDump(const std::string& path) {
    RaceFileReadResult result;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        result.Error = path + ": no such file";
        return result;
    }
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, kRaceFileMaxBytes);
    if (!bytes) {
        result.Error = path +
                       ": cannot be read as a race file (not a regular file, unreadable "
                       "or larger than 1 MiB)";
        return result;
    }
    RaceRecord race;
    FileDamage damage;
    if (!ReadRaceRecord(*bytes, race, &damage)) {
        result.Error = path + ": damaged race file at offset " + std::to_string(damage.Offset) +
                       ": " + damage.What;
        return result;
    }
    result.Race = std::move(race);
    return result;
}
