#pragma once

#include <string>

#include "game/game_state.h"
#include "race/race_design_values.h"
#include "race/race_file.h"

// What the screens show around the race file: the file dialogs, the password prompt, the
// question before a file is replaced and the message boxes of "Save Race", "Load Race" and
// the New Game wizard's "Browse". The race file module itself only returns results; these
// turn them into dialogs and messages through Shell().

// Message texts and captions.
inline constexpr const char* kRaceFileErrorCaption = "File Error";
inline constexpr const char* kPasswordErrorCaption = "Password Error!";
inline constexpr const char* kPasswordMismatchText =
    "Incorrect Password Conformation, Please Reinput Password";
inline constexpr const char* kRaceFileMissingText = "Race File Does Not Exist!";
inline constexpr const char* kInvalidRaceFileText = "Invalid Race File";
inline constexpr const char* kRaceFileOpenFailedText = "Unable to Open Race File";
inline constexpr const char* kRaceFileSaveFailedText = "Unable to Save Race File";
inline constexpr const char* kDamagedRaceFileText = "Damaged Race File";
inline constexpr const char* kSaveRaceDialogTitle = "Save Race File";

// A message box's text and caption.
struct RaceFileMessage {
    std::string Text;
    std::string Caption;
};

// The message for a refused load. A damaged or oversized file names the file and what is
// wrong on a second line: "Damaged Race File\n/races/elf.rce: damaged at byte 16: ...".
RaceFileMessage RaceFileRefusalMessage(const RaceFileRefusal& refusal);

// The message for a values refusal of "Save Race".
RaceFileMessage RaceSaveRefusalMessage(const RaceSaveRefusal& refusal);

// "Unable to Save Race File" and, on a second line, the file and the system's reason.
RaceFileMessage RaceSaveFailureMessage(const WriteFailure& failure);

// The question asked before "Save Race" replaces a file the save dialog did not name.
std::string ReplaceRaceFileQuestion(const std::string& path);

// "Save Race": checks the password confirmation and the text lengths, asks for a file
// name, asks before replacing an existing file the dialog did not confirm (the name rule
// may turn "elf.rac" into "elf.rce"), and writes the race under RaceFileNameFor of the
// name. True when the file was written.
bool SaveRaceFromDesign(const RaceDesignValues& values, float version);

// "Load Race" of the race design wizard: asks for a file and reads it into the values,
// asking for the password through the password prompt. True when the values were set from
// the file (also when the prompt was cancelled, which empties the password fields); false
// when nothing was changed.
bool LoadRaceIntoDesign(RaceDesignValues& values);

// "Browse" of a New Game wizard player slot: asks for a file and reads it into the slot's
// race. True when the race was read; the chosen file's name is then stored in chosenFile
// when given. False on cancel or refusal, with the race unchanged.
bool LoadRaceForPlayer(RaceRecord& race, std::string* chosenFile = nullptr);
