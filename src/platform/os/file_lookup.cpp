#include "platform/os/file_lookup.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/os/named_records.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SplitComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

}  // namespace

std::string ResolvePath(std::string_view gamePath) {
    std::string plain(gamePath);
    for (char& c : plain) {
        if (c == '\\') c = '/';
    }
    std::error_code ec;
    if (plain.empty() || fs::exists(plain, ec)) return plain;

    bool absolute = plain.front() == '/';
    fs::path resolved = absolute ? fs::path("/") : fs::path();
    std::vector<std::string> parts = SplitComponents(gamePath);
    for (const std::string& part : parts) {
        fs::path exact = resolved / part;
        if (part == "." || part == ".." || fs::exists(exact, ec)) {
            resolved = exact;
            continue;
        }
        fs::path dir = resolved.empty() ? fs::path(".") : resolved;
        fs::path found;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            if (EqualsIgnoringCase(it->path().filename().string(), part)) {
                found = it->path().filename();
                break;
            }
        }
        if (found.empty()) return plain;
        resolved /= found;
    }
    return resolved.string();
}

bool GameFileExists(std::string_view gamePath) {
    std::error_code ec;
    return fs::is_regular_file(ResolvePath(gamePath), ec);
}
