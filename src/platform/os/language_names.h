#pragma once

#include <cstdint>
#include <string_view>

// Name of a language identifier (primary language in the low 10 bits, sub-language above) in
// the "Language (Country)" style, as Windows-1252 text; empty when the identifier is not in
// the table. 0x0409 is "English (United States)".
std::string_view LanguageName(uint16_t languageId);
