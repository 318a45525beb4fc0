#include "game/version_stamp.h"

#include <cctype>
#include <charconv>

std::string StripVersionDots(std::string_view versionText) {
    std::string text(versionText);
    size_t last = text.rfind('.');
    if (last != std::string::npos)
        text.erase(last, 1);
    size_t first = text.find('.');
    if (first != std::string::npos)
        text.erase(first, 1);
    return text;
}

std::optional<float> VersionTextToNumber(std::string_view versionText) {
    std::string text = StripVersionDots(versionText);
    // Surrounding blanks are tolerated, as a decimal conversion of typed text would.
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (begin == end)
        return std::nullopt;
    const char* first = text.data() + begin;
    const char* last = text.data() + end;
    if (*first == '+')
        ++first;
    float value = 0.0f;
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return value;
}
