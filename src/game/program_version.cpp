#include "game/program_version.h"

ProgramVersion ProbeProgramVersion(const std::string& fileName) {
    (void)fileName;
    return ProgramVersion{};
}
