#pragma once

#include <optional>
#include <string>
#include <string_view>

// The program's 8-bit texts are Windows-1252 (the Western European code page): names of
// races, leaders and unit designs, message parameters, version labels. These conversions
// connect them with UTF-16 (version information blocks, the screens) and UTF-8 (the
// command line and the terminal).

// Converts UTF-16 code units to Windows-1252. A character the code page lacks becomes '?';
// a surrogate pair becomes a single '?'.
std::string Utf16ToWindows1252(std::u16string_view text);

// Converts UTF-16 code units to Windows-1252 when every character has a byte in the code
// page; std::nullopt when one has none (an unpaired surrogate included).
std::optional<std::string> Utf16ToWindows1252Exactly(std::u16string_view text);

// Converts Windows-1252 text to UTF-16. Every byte has a mapping.
std::u16string Windows1252ToUtf16(std::string_view text);

// Whether the code page has a byte for this UTF-16 code unit.
bool InWindows1252(char16_t unit);

// Converts UTF-8 text to Windows-1252; std::nullopt when the bytes are not well-formed
// UTF-8 or a character has no byte in the code page. Then `lacking`, when given, receives
// the first character the code page lacks (in UTF-8), or stays empty for bytes that are
// not UTF-8.
std::optional<std::string> Utf8ToWindows1252(std::string_view text, std::string* lacking = nullptr);

// Converts Windows-1252 text to UTF-8. Every byte has a mapping.
std::string Windows1252ToUtf8(std::string_view text);
