#pragma once

#include <string>

// What the title screen shows of the program's version and the stamps it derives.
struct ProgramVersion {
    std::string VersionLabel = "Unknown!";  // the file version, cut to 99 characters
    std::string LanguageLabel = "Unkown!";  // the name of the version block's language
    float VersionStampA = 0.0f;
    float VersionStampB = 0.0f;
};

// Reads the version information of the file with this name (relative to the data
// folder, see ResolvePath): the first translation's language name, the file version of that
// translation's string table, and the stamps converted from the version text. Missing
// pieces keep the defaults above; a version text that is not a number leaves the stamps 0.
ProgramVersion ProbeProgramVersion(const std::string& fileName = "tarrowind.exe");
