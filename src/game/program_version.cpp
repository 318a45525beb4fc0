#include "game/program_version.h"

#include <cstdio>
#include <vector>

#include "game/version_stamp.h"
#include "platform/os/version_info.h"

ProgramVersion ProbeProgramVersion(const std::string& fileName) {
    ProgramVersion result;
    const uint32_t size = GetFileVersionInfoSize(fileName);
    if (size == 0)
        return result;

    std::vector<uint8_t> block(size, 0);
    if (!GetFileVersionInfo(fileName, block))
        return result;

    std::span<const uint8_t> translationValue;
    std::optional<VersionTranslation> translation;
    if (VerQueryValue(block, "\\VarFileInfo\\Translation", translationValue)) {
        translation = FirstTranslation(translationValue);
    }
    // Without a translation neither the language nor the string table can be named: the
    // labels keep their texts and the stamps stay 0.
    if (!translation)
        return result;

    char languageName[80] = {};
    if (VerLanguageName(translation->language, languageName, sizeof languageName) > 0) {
        result.LanguageLabel = languageName;
    }

    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X%04X\\FileVersion",
                  static_cast<unsigned>(translation->language),
                  static_cast<unsigned>(translation->codePage));
    if (std::optional<std::string> fileVersion = VerQueryString(block, query)) {
        result.VersionLabel = fileVersion->substr(0, 99);
    }

    // The stamps come from the label's text; one that is not a number leaves them 0.
    if (std::optional<float> number = VersionTextToNumber(result.VersionLabel)) {
        result.VersionStampA = *number;
        result.VersionStampB = *number;
    }
    return result;
}
