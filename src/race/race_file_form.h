#pragma once

#include <string>

#include "race/race_design_values.h"

// The race design wizard's "Save Race" and "Load Race" with their dialogs, the password
// prompt, the question before a file is replaced and the message boxes, through Shell().
// The race file module returns results; these turn them into what the player sees.

// "Save Race": checks the password confirmation and the text lengths, asks for a file
// name, asks before replacing an existing file the dialog did not confirm (the name rule
// may turn "elf.rac" into "elf.rce"), and writes the race under RaceFileNameFor of the
// name. True when the file was written.
bool SaveRaceFromDesign(const RaceDesignValues& values, float version);

// "Load Race": asks for a file and reads it into the values, asking for the password
// through the password prompt. True when the values were set from the file (also when the
// prompt was cancelled, which empties the password fields); false when nothing was changed.
bool LoadRaceIntoDesign(RaceDesignValues& values);

// The same for a file already chosen (one named on the command line): the same checks,
// messages and password prompt, without the dialog.
bool LoadChosenRaceIntoDesign(const std::string& path, RaceDesignValues& values);
