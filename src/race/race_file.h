#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "game/record_stream.h"
#include "platform/os/file_write.h"
#include "race/race_design_values.h"

// The race file: one race as tagged records (tag, payload), ended by tag 0.
//   3 version (float32)   4 singular   5 plural   6 leader name   7 leader title
//   8 sex (int32)   9 password   10 class (int32)   11 eight design slots (int32 each)
// A text is a signed 32-bit count that includes a terminating 0 byte, then the bytes.
// Any other tag carries no payload. Records may come in any order and any number of times.

constexpr int32_t kRaceTagEnd = 0;
constexpr int32_t kRaceTagVersion = 3;
constexpr int32_t kRaceTagSingular = 4;
constexpr int32_t kRaceTagPlural = 5;
constexpr int32_t kRaceTagLeaderName = 6;
constexpr int32_t kRaceTagLeaderTitle = 7;
constexpr int32_t kRaceTagSex = 8;
constexpr int32_t kRaceTagPassword = 9;
constexpr int32_t kRaceTagClass = 10;
constexpr int32_t kRaceTagDesignSlots = 11;

constexpr size_t kRaceStringMaxBytes = 200;     // a text's count, its 0 byte included
constexpr size_t kRaceFileMaxBytes = 1u << 20;  // larger files are not race files

// ---- Names ----

// The name a race is saved under: the extension of the last path component (the text
// after its last ".") replaced by "rce"; a component without "." gets ".rce" appended.
// Both "/" and "\" separate path components.
std::string RaceFileNameFor(std::string_view chosenName);

// Whether a loader takes the file at all: the full name contains ".rce" (exact case).
bool NameMarksRaceFile(std::string_view fileName);

// ---- Writing ----

// The file's bytes, records in the order 3, 9 (only with a password), 4, 5, 6, 7, 8, 10,
// 11, 0.
std::vector<uint8_t> RaceFileBytes(const RaceRecord& race);

// Writes the file through a temporary sibling, so a failed write leaves any old file as
// it was. The failure (the file's name and the system's reason) when a step fails.
std::optional<WriteFailure> WriteRaceFile(const std::string& path, const RaceRecord& race);

// Whether a directory entry of this name exists (a file, a folder, even a dangling link):
// writing the race file there would replace or fail on it.
bool RaceFileNameTaken(const std::string& path);

// The label of the first text (names in field order, then the password) longer than the
// 199 characters a race file holds, or an empty view when all fit.
std::string_view FirstOverlongRaceText(const RaceRecord& race);

// ---- Reading ----

// One record as read; the fields its tag does not use stay at their defaults.
struct RaceFileEntry {
    size_t Offset = 0;  // of the tag
    int32_t Tag = 0;
    float Version = 0.0f;
    std::string Text;
    int32_t Value = 0;
    CategoryValues Slots{};
};

// Reads every record up to the end record (not included), bounded by the bytes. False,
// with the damage described, when the file ends before its end record or inside a
// record, or a text's count is negative or above 200, or a text exceeds 199 characters.
// Bytes after the end record are not looked at.
bool ParseRaceFile(std::span<const uint8_t> bytes, std::vector<RaceFileEntry>& entries,
                   FileDamage& damage);

// Puts a record's value into the field of the race record its tag names (the version, the
// four names, the sex, the password, the class or the design slots); any other tag
// changes nothing. Every reader maps tags to fields through this one function.
void ApplyRaceEntry(const RaceFileEntry& entry, RaceRecord& race);

// The check both wizards make before they take anything from a race file: its records up
// to the end record (ParseRaceFile), and only values a race can have: sex 0..2, class
// 0..5, design slots 2..20. The records when it passes, otherwise the damage.
std::optional<FileDamage> CheckRaceFile(std::span<const uint8_t> bytes,
                                        std::vector<RaceFileEntry>& entries);

// Records of a race file into a race record, as stored: the password is emptied first,
// every record is applied (the version included) and values are not checked. A file
// without its end record or with a bad text leaves the record unchanged and returns false.
bool ReadRaceRecord(std::span<const uint8_t> bytes, RaceRecord& race, FileDamage* damage = nullptr);

// Asked when a race file holds a password, with that password: true when the user gave it.
using RacePasswordCheck = std::function<bool(const std::string& password)>;

// Records of a race file into the race design wizard's values. The whole file is checked
// first (CheckRaceFile); a file that fails leaves the values unchanged, returns false and
// never calls the password check. The password fields are emptied; names, sex and class
// are set as read (a class record clamps the adjustments like a change of the class
// choice); the design slots become adjustments against the class selected when they are
// read. A password record is kept in LoadedRacePassword and handed to `givesPassword`;
// when that returns false the reading stops there, keeping what was set before.
bool ReadRaceIntoDesign(std::span<const uint8_t> bytes, RaceDesignValues& values,
                        const RacePasswordCheck& givesPassword, FileDamage* damage = nullptr);

// ---- Loading and saving files ----

// Why a load refused a race file, in the order the checks are made.
enum class RaceFileProblem {
    Missing,     // no file of that name
    WrongName,   // the name does not contain ".rce"
    CannotOpen,  // not a regular file, or it cannot be opened or read
    TooLarge,    // larger than kRaceFileMaxBytes
    Damaged,     // CheckRaceFile failed
};

struct RaceFileRefusal {
    RaceFileProblem Problem = RaceFileProblem::Missing;
    std::string Path;    // the file refused
    FileDamage Damage;   // Damaged: where and what
    uintmax_t Size = 0;  // TooLarge: the file's size in bytes
};

// The New Game wizard's load of a player's race: the checks, then the records as stored
// into the race (its password emptied first). The refusal, with the race unchanged, when
// the file does not pass.
std::optional<RaceFileRefusal> LoadRaceFileForPlayer(const std::string& path, RaceRecord& race);

// The race design wizard's load: the same checks, then ReadRaceIntoDesign. The refusal,
// with the values unchanged and no password asked for, when the file does not pass.
std::optional<RaceFileRefusal> LoadRaceFileIntoDesign(const std::string& path,
                                                      RaceDesignValues& values,
                                                      const RacePasswordCheck& givesPassword);

// The record "Save Race" writes: the texts, the password (not its confirmation), the two
// choices and the design slot totals, stamped with the given version.
RaceRecord RaceRecordFromDesign(const RaceDesignValues& values, float version);

// Why "Save Race" refuses the values before it asks for a file name.
enum class RaceSaveProblem {
    PasswordMismatch,  // the password and its confirmation differ (letter case counts)
    TextTooLong,       // a text does not fit into a race file
};

struct RaceSaveRefusal {
    RaceSaveProblem Problem = RaceSaveProblem::PasswordMismatch;
    std::string_view Field;  // TextTooLong: the label of the first text too long
};

// The first reason the values cannot be saved, or std::nullopt when they can.
std::optional<RaceSaveRefusal> CheckRaceForSaving(const RaceDesignValues& values);

// ---- For tools ----

struct RaceFileReadResult {
    std::optional<RaceRecord> Race;  // set when the file was read
    std::string Error;               // otherwise, what went wrong
};

// Reads a race file as stored (ReadRaceRecord), without the name check or the value
// check; damage is reported with its offset.
RaceFileReadResult ReadRaceFileForDump(const std::string& path);
