#include "platform/os/windows_1252.h"

#include <array>
#include <cstdint>

namespace {

// Characters of the bytes 0x80..0x9F. The five bytes the code page leaves undefined map to
// the C1 control character of the same value, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  //
};

// The byte of a character, or std::nullopt when the code page has none.
std::optional<char> ToByte(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<char>(character);
    }
    for (size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == character) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The next character of UTF-8 text, advancing `at` past it; std::nullopt for a byte
// sequence that is not well-formed (overlong forms, surrogates and values above U+10FFFF
// included).
std::optional<char32_t> NextUtf8(std::string_view text, size_t& at) {
    const auto lead = static_cast<uint8_t>(text[at++]);
    if (lead < 0x80)
        return lead;
    int continuation = 0;
    char32_t character = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuation = 1;
        character = lead & 0x1Fu;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuation = 2;
        character = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuation = 3;
        character = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    for (int i = 0; i < continuation; ++i) {
        if (at >= text.size())
            return std::nullopt;
        const auto byte = static_cast<uint8_t>(text[at++]);
        if ((byte & 0xC0u) != 0x80u)
            return std::nullopt;
        character = (character << 6) | (byte & 0x3Fu);
    }
    if (character < smallest || character > 0x10FFFF ||
        (character >= 0xD800 && character <= 0xDFFF)) {
        return std::nullopt;
    }
    return character;
}

void AppendUtf8(std::string& out, char32_t character) {
    if (character < 0x80) {
        out.push_back(static_cast<char>(character));
    } else if (character < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (character >> 6)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    } else {
        // Every character of the code page lies in the basic plane.
        out.push_back(static_cast<char>(0xE0 | (character >> 12)));
        out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    }
}

char16_t ToUtf16(char c) {
    const auto byte = static_cast<uint8_t>(c);
    return byte >= 0x80 && byte < 0xA0 ? kHighControlRange[byte - 0x80]
                                       : static_cast<char16_t>(byte);
}

}  // namespace

std::string Utf16ToWindows1252(std::u16string_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;  // A character outside the basic plane is never in the code page.
            result.push_back('?');
            continue;
        }
        result.push_back(ToByte(unit).value_or('?'));
    }
    return result;
}

std::optional<std::string> Utf16ToWindows1252Exactly(std::u16string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char16_t unit : text) {
        // A surrogate (half of a character outside the basic plane) has no byte either.
        const std::optional<char> byte = ToByte(unit);
        if (!byte)
            return std::nullopt;
        result.push_back(*byte);
    }
    return result;
}

std::u16string Windows1252ToUtf16(std::string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (const char c : text)
        result.push_back(ToUtf16(c));
    return result;
}

bool InWindows1252(char16_t unit) {
    return ToByte(unit).has_value();
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text, std::string* lacking) {
    if (lacking != nullptr)
        lacking->clear();
    std::string result;
    result.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const size_t start = at;
        const std::optional<char32_t> character = NextUtf8(text, at);
        if (!character)
            return std::nullopt;
        const std::optional<char> byte = ToByte(*character);
        if (!byte) {
            if (lacking != nullptr)
                *lacking = text.substr(start, at - start);
            return std::nullopt;
        }
        result.push_back(*byte);
    }
    return result;
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text)
        AppendUtf8(result, ToUtf16(c));
    return result;
}
