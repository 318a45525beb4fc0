#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "game/record_stream.h"
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

// Message texts and captions of the race file operations.
inline constexpr const char* kRaceFileErrorCaption = "File Error";
inline constexpr const char* kPasswordErrorCaption = "Password Error!";
inline constexpr const char* kPasswordMismatchText =
    "Incorrect Password Conformation, Please Reinput Password";
inline constexpr const char* kRaceFileMissingText = "Race File Does Not Exist!";
inline constexpr const char* kInvalidRaceFileText = "Invalid Race File";
inline constexpr const char* kRaceFileOpenFailedText = "Unable to Open Race File";
inline constexpr const char* kRaceFileSaveFailedText = "Unable to Save Race File";

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
// it was. False when any step fails.
bool WriteRaceFile(const std::string& path, const RaceRecord& race);

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

// Records of a race file into a race record, as the New Game wizard takes them: the
// password is emptied first, every record is applied as stored (the version included).
// A damaged file leaves the record unchanged and returns false.
bool ReadRaceRecord(std::span<const uint8_t> bytes, RaceRecord& race, FileDamage* damage = nullptr);

// Records of a race file into the race design wizard's values. The password fields are
// emptied; names, sex and class are set as read (a class record clamps the adjustments
// like a change of the class choice); the design slots become adjustments against the
// class selected when they are read. A password record is kept in LoadedRacePassword and
// asks for the password through Shell().AskPassword; when the prompt is cancelled the
// reading stops there, keeping what was set before. False, with the values unchanged,
// for a damaged file and for a sex, class or design slot outside 0..2, 0..5 and 2..20,
// which the wizard cannot show; nothing is prompted for such a file.
bool ReadRaceIntoDesign(std::span<const uint8_t> bytes, RaceDesignValues& values,
                        FileDamage* damage = nullptr);

// ---- The operations behind the buttons (dialogs and messages through Shell()) ----

// The record "Save Race" writes: the texts, the password (not its confirmation), the two
// choices and the design slot totals, stamped with the given version.
RaceRecord RaceRecordFromDesign(const RaceDesignValues& values, float version);

// "Save Race": checks the password confirmation and the text lengths, asks for a file
// name and writes the race under RaceFileNameFor of it. True when the file was written.
bool SaveRaceFromDesign(const RaceDesignValues& values, float version);

// "Load Race" of the race design wizard: asks for a file, checks it and reads it into the
// values. True when the values were set from the file (also when the password prompt was
// cancelled, which empties the password fields); false when nothing was changed.
bool LoadRaceIntoDesign(RaceDesignValues& values);
// The same without the dialog, for a file already chosen (one named on the command line):
// the same checks, messages and password prompt.
bool LoadRaceFileIntoDesign(const std::string& path, RaceDesignValues& values);

// "Browse" of a New Game wizard player slot: asks for a file, checks it and reads it into
// the slot's race. True when the race was read; the chosen file's name is then stored in
// chosenFile when given. False on cancel or refusal, with the race unchanged.
bool LoadRaceForPlayer(RaceRecord& race, std::string* chosenFile = nullptr);

// ---- For tools ----

struct RaceFileReadResult {
    std::optional<RaceRecord> Race;  // set when the file was read
    std::string Error;               // otherwise, what went wrong
};

// Reads a race file as the New Game wizard does, without dialogs, messages or the name
// check; damage is reported with its offset.
RaceFileReadResult ReadRaceFileForDump(const std::string& path);
