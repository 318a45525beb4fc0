#pragma once

#include <string>
#include <string_view>

// The program's 8-bit texts are Windows-1252 (the Western European code page). These two
// conversions connect them with the UTF-16 texts that version information blocks carry.

// Converts UTF-16 code units to Windows-1252. A character the code page lacks becomes '?';
// a surrogate pair becomes a single '?'.
std::string Utf16ToWindows1252(std::u16string_view text);

// Converts Windows-1252 text to UTF-16. Every byte has a mapping.
std::u16string Windows1252ToUtf16(std::string_view text);
