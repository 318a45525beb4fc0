#pragma once

#include <string>

#include "platform/os/file_write.h"
#include "platform/os/ui_shell.h"
#include "race/race_file.h"

// What the screens show and ask around a race file: the file dialogs' options, the message
// boxes for the results of the race file module, and the question before a file is
// replaced. Texts only; the screens show them.

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

// The save dialog of "Save Race": its title, the race file filter and the default
// extension "rac".
FileDialogOptions RaceSaveDialogOptions();

// The open dialog of both loads: race files or all files, the system's default title.
FileDialogOptions RaceLoadDialogOptions();

// A message box's text and caption.
struct RaceFileMessage {
    std::string Text;
    std::string Caption;
};

// The message for a refused load. A damaged or oversized file names the file and what is
// wrong on a second line: "Damaged Race File\n/races/elf.rce: damaged at byte 16: ...".
RaceFileMessage RaceFileRefusalMessage(const RaceFileRefusal& refusal);

// The message for values "Save Race" refuses before it asks for a file name.
RaceFileMessage RaceSaveRefusalMessage(const RaceSaveRefusal& refusal);

// "Unable to Save Race File" and, on a second line, the file and the system's reason.
RaceFileMessage RaceSaveFailureMessage(const WriteFailure& failure);

// The question asked before "Save Race" replaces a file the save dialog did not name.
std::string ReplaceRaceFileQuestion(const std::string& path);
