#include "platform/os/language_names.h"

#include <algorithm>
#include <array>

namespace {

struct LanguageEntry {
    uint16_t id;
    std::string_view name;
};

// Sorted by identifier so that a lookup is a binary search.
constexpr std::array kLanguages = {
    LanguageEntry{0x0000, "Language Neutral"},
    LanguageEntry{0x0401, "Arabic (Saudi Arabia)"},
    LanguageEntry{0x0402, "Bulgarian (Bulgaria)"},
    LanguageEntry{0x0403, "Catalan (Spain)"},
    LanguageEntry{0x0404, "Chinese (Taiwan)"},
    LanguageEntry{0x0405, "Czech (Czech Republic)"},
    LanguageEntry{0x0406, "Danish (Denmark)"},
    LanguageEntry{0x0407, "German (Germany)"},
    LanguageEntry{0x0408, "Greek (Greece)"},
    LanguageEntry{0x0409, "English (United States)"},
    LanguageEntry{0x040A, "Spanish (Spain, Traditional Sort)"},
    LanguageEntry{0x040B, "Finnish (Finland)"},
    LanguageEntry{0x040C, "French (France)"},
    LanguageEntry{0x040D, "Hebrew (Israel)"},
    LanguageEntry{0x040E, "Hungarian (Hungary)"},
    LanguageEntry{0x040F, "Icelandic (Iceland)"},
    LanguageEntry{0x0410, "Italian (Italy)"},
    LanguageEntry{0x0411, "Japanese (Japan)"},
    LanguageEntry{0x0412, "Korean (Korea)"},
    LanguageEntry{0x0413, "Dutch (Netherlands)"},
    LanguageEntry{0x0414, "Norwegian, Bokm\xE5l (Norway)"},
    LanguageEntry{0x0415, "Polish (Poland)"},
    LanguageEntry{0x0416, "Portuguese (Brazil)"},
    LanguageEntry{0x0417, "Romansh (Switzerland)"},
    LanguageEntry{0x0418, "Romanian (Romania)"},
    LanguageEntry{0x0419, "Russian (Russia)"},
    LanguageEntry{0x041A, "Croatian (Croatia)"},
    LanguageEntry{0x041B, "Slovak (Slovakia)"},
    LanguageEntry{0x041C, "Albanian (Albania)"},
    LanguageEntry{0x041D, "Swedish (Sweden)"},
    LanguageEntry{0x041E, "Thai (Thailand)"},
    LanguageEntry{0x041F, "Turkish (Turkey)"},
    LanguageEntry{0x0420, "Urdu (Pakistan)"},
    LanguageEntry{0x0421, "Indonesian (Indonesia)"},
    LanguageEntry{0x0422, "Ukrainian (Ukraine)"},
    LanguageEntry{0x0423, "Belarusian (Belarus)"},
    LanguageEntry{0x0424, "Slovenian (Slovenia)"},
    LanguageEntry{0x0425, "Estonian (Estonia)"},
    LanguageEntry{0x0426, "Latvian (Latvia)"},
    LanguageEntry{0x0427, "Lithuanian (Lithuania)"},
    LanguageEntry{0x0429, "Persian (Iran)"},
    LanguageEntry{0x042A, "Vietnamese (Vietnam)"},
    LanguageEntry{0x042B, "Armenian (Armenia)"},
    LanguageEntry{0x042C, "Azerbaijani (Latin, Azerbaijan)"},
    LanguageEntry{0x042D, "Basque (Spain)"},
    LanguageEntry{0x042F, "Macedonian (North Macedonia)"},
    LanguageEntry{0x0436, "Afrikaans (South Africa)"},
    LanguageEntry{0x0437, "Georgian (Georgia)"},
    LanguageEntry{0x0438, "Faroese (Faroe Islands)"},
    LanguageEntry{0x0439, "Hindi (India)"},
    LanguageEntry{0x043E, "Malay (Malaysia)"},
    LanguageEntry{0x043F, "Kazakh (Kazakhstan)"},
    LanguageEntry{0x0441, "Swahili (Kenya)"},
    LanguageEntry{0x0443, "Uzbek (Latin, Uzbekistan)"},
    LanguageEntry{0x0445, "Bengali (India)"},
    LanguageEntry{0x0446, "Punjabi (India)"},
    LanguageEntry{0x0447, "Gujarati (India)"},
    LanguageEntry{0x0449, "Tamil (India)"},
    LanguageEntry{0x044A, "Telugu (India)"},
    LanguageEntry{0x044B, "Kannada (India)"},
    LanguageEntry{0x044E, "Marathi (India)"},
    LanguageEntry{0x0450, "Mongolian (Mongolia)"},
    LanguageEntry{0x0452, "Welsh (United Kingdom)"},
    LanguageEntry{0x0456, "Galician (Spain)"},
    LanguageEntry{0x0462, "Frisian (Netherlands)"},
    LanguageEntry{0x0801, "Arabic (Iraq)"},
    LanguageEntry{0x0804, "Chinese (People's Republic of China)"},
    LanguageEntry{0x0807, "German (Switzerland)"},
    LanguageEntry{0x0809, "English (United Kingdom)"},
    LanguageEntry{0x080A, "Spanish (Mexico)"},
    LanguageEntry{0x080C, "French (Belgium)"},
    LanguageEntry{0x0810, "Italian (Switzerland)"},
    LanguageEntry{0x0813, "Dutch (Belgium)"},
    LanguageEntry{0x0814, "Norwegian, Nynorsk (Norway)"},
    LanguageEntry{0x0816, "Portuguese (Portugal)"},
    LanguageEntry{0x0818, "Romanian (Moldova)"},
    LanguageEntry{0x0819, "Russian (Moldova)"},
    LanguageEntry{0x081A, "Serbian (Latin, Serbia)"},
    LanguageEntry{0x081D, "Swedish (Finland)"},
    LanguageEntry{0x082C, "Azerbaijani (Cyrillic, Azerbaijan)"},
    LanguageEntry{0x083C, "Irish (Ireland)"},
    LanguageEntry{0x083E, "Malay (Brunei Darussalam)"},
    LanguageEntry{0x0843, "Uzbek (Cyrillic, Uzbekistan)"},
    LanguageEntry{0x0C01, "Arabic (Egypt)"},
    LanguageEntry{0x0C04, "Chinese (Hong Kong SAR)"},
    LanguageEntry{0x0C07, "German (Austria)"},
    LanguageEntry{0x0C09, "English (Australia)"},
    LanguageEntry{0x0C0A, "Spanish (Spain, International Sort)"},
    LanguageEntry{0x0C0C, "French (Canada)"},
    LanguageEntry{0x0C1A, "Serbian (Cyrillic, Serbia)"},
    LanguageEntry{0x1001, "Arabic (Libya)"},
    LanguageEntry{0x1004, "Chinese (Singapore)"},
    LanguageEntry{0x1007, "German (Luxembourg)"},
    LanguageEntry{0x1009, "English (Canada)"},
    LanguageEntry{0x100A, "Spanish (Guatemala)"},
    LanguageEntry{0x100C, "French (Switzerland)"},
    LanguageEntry{0x101A, "Croatian (Bosnia and Herzegovina)"},
    LanguageEntry{0x1401, "Arabic (Algeria)"},
    LanguageEntry{0x1404, "Chinese (Macao SAR)"},
    LanguageEntry{0x1407, "German (Liechtenstein)"},
    LanguageEntry{0x1409, "English (New Zealand)"},
    LanguageEntry{0x140A, "Spanish (Costa Rica)"},
    LanguageEntry{0x140C, "French (Luxembourg)"},
    LanguageEntry{0x1801, "Arabic (Morocco)"},
    LanguageEntry{0x1809, "English (Ireland)"},
    LanguageEntry{0x180A, "Spanish (Panama)"},
    LanguageEntry{0x180C, "French (Monaco)"},
    LanguageEntry{0x1C01, "Arabic (Tunisia)"},
    LanguageEntry{0x1C09, "English (South Africa)"},
    LanguageEntry{0x1C0A, "Spanish (Dominican Republic)"},
    LanguageEntry{0x2001, "Arabic (Oman)"},
    LanguageEntry{0x2009, "English (Jamaica)"},
    LanguageEntry{0x200A, "Spanish (Venezuela)"},
    LanguageEntry{0x2401, "Arabic (Yemen)"},
    LanguageEntry{0x2409, "English (Caribbean)"},
    LanguageEntry{0x240A, "Spanish (Colombia)"},
    LanguageEntry{0x2801, "Arabic (Syria)"},
    LanguageEntry{0x2809, "English (Belize)"},
    LanguageEntry{0x280A, "Spanish (Peru)"},
    LanguageEntry{0x2C01, "Arabic (Jordan)"},
    LanguageEntry{0x2C09, "English (Trinidad and Tobago)"},
    LanguageEntry{0x2C0A, "Spanish (Argentina)"},
    LanguageEntry{0x3001, "Arabic (Lebanon)"},
    LanguageEntry{0x3009, "English (Zimbabwe)"},
    LanguageEntry{0x300A, "Spanish (Ecuador)"},
    LanguageEntry{0x3401, "Arabic (Kuwait)"},
    LanguageEntry{0x3409, "English (Philippines)"},
    LanguageEntry{0x340A, "Spanish (Chile)"},
    LanguageEntry{0x3801, "Arabic (U.A.E.)"},
    LanguageEntry{0x380A, "Spanish (Uruguay)"},
    LanguageEntry{0x3C01, "Arabic (Bahrain)"},
    LanguageEntry{0x3C0A, "Spanish (Paraguay)"},
    LanguageEntry{0x4001, "Arabic (Qatar)"},
    LanguageEntry{0x4009, "English (India)"},
    LanguageEntry{0x400A, "Spanish (Bolivia)"},
    LanguageEntry{0x4409, "English (Malaysia)"},
    LanguageEntry{0x440A, "Spanish (El Salvador)"},
    LanguageEntry{0x4809, "English (Singapore)"},
    LanguageEntry{0x480A, "Spanish (Honduras)"},
    LanguageEntry{0x4C0A, "Spanish (Nicaragua)"},
    LanguageEntry{0x500A, "Spanish (Puerto Rico)"},
    LanguageEntry{0x540A, "Spanish (United States)"},
};

constexpr bool IsSorted() {
    for (size_t i = 1; i < kLanguages.size(); ++i) {
        if (kLanguages[i - 1].id >= kLanguages[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(IsSorted(), "language table must be sorted by identifier without duplicates");

}  // namespace

std::string_view LanguageName(uint16_t languageId) {
    const auto it =
        std::lower_bound(kLanguages.begin(), kLanguages.end(), languageId,
                         [](const LanguageEntry& entry, uint16_t id) { return entry.id < id; });
    if (it == kLanguages.end() || it->id != languageId) {
        return {};
    }
    return it->name;
}
