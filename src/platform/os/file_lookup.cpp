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
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

std::string& DataFolderSetting() {
    static std::string folder;
    return folder;
}

}  // namespace

std::string ResolvePath(std::string_view gamePath) {
    std::string plain(gamePath);
    for (char& c : plain) {
        if (c == '\\')
            c = '/';
    }
    if (plain.empty())
        return plain;
    const bool absolute = plain.front() == '/';
    // Relative names belong to the data folder; its own path is taken as given.
    const std::string& base = DataFolderSetting();
    if (!absolute && !base.empty())
        plain = (fs::path(base) / plain).string();
    std::error_code ec;
    if (fs::exists(plain, ec))
        return plain;

    fs::path resolved = absolute ? fs::path("/") : fs::path(base);
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
        if (found.empty())
            return plain;
        resolved /= found;
    }
    return resolved.string();
}

bool GameFileExists(std::string_view gamePath) {
    std::error_code ec;
    return fs::is_regular_file(ResolvePath(gamePath), ec);
}

void SetDataFolder(std::string folder) {
    DataFolderSetting() = std::move(folder);
}

const std::string& DataFolder() {
    return DataFolderSetting();
}

std::string FindDataFolder(const std::string& programPath, std::string_view installedRelative) {
    if (programPath.empty())
        return {};
    const fs::path programFolder = fs::path(programPath).parent_path();
    const auto holdsData = [](const fs::path& folder) {
        std::error_code ec;
        return fs::is_regular_file(folder / "sphere3.x", ec);
    };
    if (holdsData(programFolder))
        return programFolder.string();
    if (!installedRelative.empty()) {
        const fs::path installed = (programFolder / installedRelative).lexically_normal();
        if (holdsData(installed))
            return installed.string();
    }
    return {};
}

std::string RunningProgramPath() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : program.string();
}
