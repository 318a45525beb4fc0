#include "race/race_file.h"

#include <filesystem>
#include <system_error>

#include "game/record_stream.h"
#include "platform/os/ui_shell.h"

namespace {

const char* const kRaceFileFilter = "Race Files (*.rce)|*.rce";
const char* const kRaceLoadFilter = "Race Files (*.rce)|*.rce|All Files (*.*)|*.*";

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

// Whether the race design wizard can show every value of the records.
bool ValuesFitTheWizard(const std::vector<RaceFileEntry>& entries, FileDamage& damage) {
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

void FileError(const char* text) {
    Shell().ShowMessage(text, kRaceFileErrorCaption);
}

// The checks both loads make before reading, each with its message. The file's bytes when
// they pass.
std::optional<std::vector<uint8_t>> OpenCheckedRaceFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        FileError(kRaceFileMissingText);
        return std::nullopt;
    }
    if (!NameMarksRaceFile(path)) {
        FileError(kInvalidRaceFileText);
        return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, kRaceFileMaxBytes);
    if (!bytes) {
        const bool tooLarge = std::filesystem::is_regular_file(path, ec) &&
                              std::filesystem::file_size(path, ec) > kRaceFileMaxBytes;
        FileError(tooLarge ? kInvalidRaceFileText : kRaceFileOpenFailedText);
        return std::nullopt;
    }
    return bytes;
}

FileDialogOptions RaceLoadDialog() {
    FileDialogOptions options;
    options.filter = kRaceLoadFilter;
    return options;
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

bool WriteRaceFile(const std::string& path, const RaceRecord& race) {
    return WriteFileReplacing(path, RaceFileBytes(race));
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

bool ReadRaceRecord(std::span<const uint8_t> bytes, RaceRecord& race, FileDamage* damage) {
    std::vector<RaceFileEntry> entries;
    FileDamage found;
    if (!ParseRaceFile(bytes, entries, found)) {
        if (damage != nullptr)
            *damage = found;
        return false;
    }
    RaceRecord read = race;
    read.Password.clear();
    for (RaceFileEntry& entry : entries) {
        switch (entry.Tag) {
            case kRaceTagVersion:
                read.Version = entry.Version;
                break;
            case kRaceTagSingular:
                read.NameSingular = std::move(entry.Text);
                break;
            case kRaceTagPlural:
                read.NamePlural = std::move(entry.Text);
                break;
            case kRaceTagLeaderName:
                read.LeaderName = std::move(entry.Text);
                break;
            case kRaceTagLeaderTitle:
                read.LeaderTitle = std::move(entry.Text);
                break;
            case kRaceTagSex:
                read.Sex = entry.Value;
                break;
            case kRaceTagPassword:
                read.Password = std::move(entry.Text);
                break;
            case kRaceTagClass:
                read.RaceClass = entry.Value;
                break;
            case kRaceTagDesignSlots:
                read.DesignSlots = entry.Slots;
                break;
            default:
                break;
        }
    }
    race = std::move(read);
    return true;
}

bool ReadRaceIntoDesign(std::span<const uint8_t> bytes, RaceDesignValues& values,
                        FileDamage* damage) {
    // The whole file is checked before anything is applied, so a damaged file changes
    // nothing and never shows the password prompt.
    std::vector<RaceFileEntry> entries;
    FileDamage found;
    if (!ParseRaceFile(bytes, entries, found) || !ValuesFitTheWizard(entries, found)) {
        if (damage != nullptr)
            *damage = found;
        return false;
    }
    RaceDesignValues read = values;
    read.Password.clear();
    read.PasswordConfirm.clear();
    for (RaceFileEntry& entry : entries) {
        switch (entry.Tag) {
            case kRaceTagSingular:
                read.RaceNameSingular = std::move(entry.Text);
                break;
            case kRaceTagPlural:
                read.RaceNamePlural = std::move(entry.Text);
                break;
            case kRaceTagLeaderName:
                read.RaceLeaderName = std::move(entry.Text);
                break;
            case kRaceTagLeaderTitle:
                read.RaceLeaderTitle = std::move(entry.Text);
                break;
            case kRaceTagSex:
                read.Sex = entry.Value;
                break;
            case kRaceTagClass:
                ChangeRaceClass(read, entry.Value);
                break;
            case kRaceTagDesignSlots:
                read.Adjustments = AdjustmentsFromTotals(read.RaceClass, entry.Slots);
                break;
            case kRaceTagPassword: {
                read.LoadedRacePassword = std::move(entry.Text);
                const std::string& expected = read.LoadedRacePassword;
                const bool accepted = Shell().AskPassword(
                    [&expected](const std::string& typed) { return typed == expected; });
                if (!accepted) {
                    // Reading stops here as if the end record had been read.
                    values = std::move(read);
                    return true;
                }
                read.Password = read.LoadedRacePassword;
                read.PasswordConfirm = read.LoadedRacePassword;
                break;
            }
            default:
                break;  // the version and tags without payload change nothing
        }
    }
    values = std::move(read);
    return true;
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

bool SaveRaceFromDesign(const RaceDesignValues& values, float version) {
    if (values.Password != values.PasswordConfirm) {
        Shell().ShowMessage(kPasswordMismatchText, kPasswordErrorCaption);
        return false;
    }
    const RaceRecord race = RaceRecordFromDesign(values, version);
    // A race file holds at most 199 characters per text; a longer one is refused here
    // rather than written cut or unreadable.
    if (std::string_view overlong = FirstOverlongRaceText(race); !overlong.empty()) {
        Shell().ShowMessage(
            std::string(overlong) + " Is Too Long, A Race File Holds At Most 199 Characters",
            kRaceFileErrorCaption);
        return false;
    }
    FileDialogOptions options;
    options.title = "Save Race File";
    options.filter = kRaceFileFilter;
    options.defaultExt = "rac";
    std::optional<std::string> chosen = Shell().SaveFile(options);
    if (!chosen)
        return false;
    if (!WriteRaceFile(RaceFileNameFor(*chosen), race)) {
        FileError(kRaceFileSaveFailedText);
        return false;
    }
    return true;
}

bool LoadRaceIntoDesign(RaceDesignValues& values) {
    std::optional<std::string> chosen = Shell().OpenFile(RaceLoadDialog());
    if (!chosen)
        return false;
    return LoadRaceFileIntoDesign(*chosen, values);
}

bool LoadRaceFileIntoDesign(const std::string& path, RaceDesignValues& values) {
    std::optional<std::vector<uint8_t>> bytes = OpenCheckedRaceFile(path);
    if (!bytes)
        return false;
    if (!ReadRaceIntoDesign(*bytes, values)) {
        FileError(kInvalidRaceFileText);
        return false;
    }
    return true;
}

bool LoadRaceForPlayer(RaceRecord& race, std::string* chosenFile) {
    std::optional<std::string> chosen = Shell().OpenFile(RaceLoadDialog());
    if (!chosen)
        return false;
    std::optional<std::vector<uint8_t>> bytes = OpenCheckedRaceFile(*chosen);
    if (!bytes)
        return false;
    if (!ReadRaceRecord(*bytes, race)) {
        FileError(kInvalidRaceFileText);
        return false;
    }
    if (chosenFile != nullptr)
        *chosenFile = *chosen;
    return true;
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
