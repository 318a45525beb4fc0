#include "layering/include_floors.h"

#include <algorithm>
#include <array>
#include <set>
#include <sstream>

#include "support/file_contents.h"

namespace {

constexpr std::array<std::string_view, 6> kSubsystems = {"creation", "view",  "race",
                                                         "research", "units", "host"};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view SkipSpaces(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

// Height of a floor; the platform libraries share the lowest.
int Height(Floor floor) {
    switch (floor) {
        case Floor::PlatformOs:
        case Floor::PlatformGfx:
        case Floor::PlatformQt:
            return 1;
        case Floor::Data:
            return 2;
        case Floor::Game:
            return 3;
        case Floor::Logic:
            return 4;
        case Floor::Screen:
            return 5;
        case Floor::App:
            return 6;
        case Floor::Program:
            return 7;
        case Floor::Outside:
            break;
    }
    return 0;
}

bool Uses(const LayeringRules& rules, const std::string& user, const std::string& used) {
    return std::any_of(rules.uses.begin(), rules.uses.end(), [&](const SubsystemUse& use) {
        return use.user == user && use.used == used;
    });
}

// `a/b/../c.h` and `a/./c.h` become `a/c.h`; a path that climbs out of src/ becomes empty.
std::string Normalise(std::string_view path) {
    std::vector<std::string> parts;
    std::istringstream in{std::string(path)};
    std::string part;
    while (std::getline(in, part, '/')) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (parts.empty())
                return {};
            parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string joined;
    for (const std::string& p : parts)
        joined += (joined.empty() ? "" : "/") + p;
    return joined;
}

}  // namespace

Place PlaceOf(std::string_view path) {
    const size_t slash = path.find('/');
    if (slash == std::string_view::npos)
        return {};
    const std::string_view top = path.substr(0, slash);
    const std::string_view rest = path.substr(slash + 1);

    if (top == "platform") {
        if (rest.starts_with("os/"))
            return {Floor::PlatformOs, {}};
        if (rest.starts_with("gfx/"))
            return {Floor::PlatformGfx, {}};
        if (rest.starts_with("qt/"))
            return {Floor::PlatformQt, {}};
        return {};
    }
    if (top == "data")
        return {Floor::Data, {}};
    if (top == "game")
        return {Floor::Game, {}};
    if (top == "tool")
        return {Floor::Program, "tool"};
    if (top == "app") {
        if (rest == "main.cpp")
            return {Floor::Program, "app"};
        return {Floor::App, {}};
    }
    if (std::find(kSubsystems.begin(), kSubsystems.end(), top) == kSubsystems.end())
        return {};

    std::string_view name = path.substr(path.rfind('/') + 1);
    name = name.substr(0, name.find('.'));
    const Floor floor = name.ends_with("_form") ? Floor::Screen : Floor::Logic;
    return {floor, std::string(top)};
}

std::vector<Include> IncludesOf(std::string_view text) {
    std::vector<Include> includes;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

        line = SkipSpaces(line);
        if (!line.starts_with('#'))
            continue;
        line = SkipSpaces(line.substr(1));
        if (!line.starts_with("include"))
            continue;
        line = SkipSpaces(line.substr(7));
        if (line.empty())
            continue;

        const char open = line.front();
        const char close = open == '"' ? '"' : open == '<' ? '>' : '\0';
        if (close == '\0')
            continue;
        const size_t closeAt = line.find(close, 1);
        if (closeAt == std::string_view::npos)
            continue;
        const std::string header(line.substr(1, closeAt - 1));
        if (open == '"') {
            includes.push_back({header, lineNumber, false});
        } else if (header.starts_with('Q')) {
            // The toolkit's headers are named QWidget, QtCore/QString and so on.
            includes.push_back({header, lineNumber, true});
        }
    }
    return includes;
}

std::string RuleBroken(const Place& from, const Place& to, const LayeringRules& rules) {
    if (from.floor == Floor::Outside)
        return "the including file lies on no floor";
    if (to.floor == Floor::Outside)
        return "the included file lies on no floor";

    if (to.floor == Floor::PlatformQt) {
        const bool mayUseToolkit = from.floor == Floor::PlatformQt || from.floor == Floor::Screen ||
                                   from.floor == Floor::App ||
                                   (from.floor == Floor::Program && from.subsystem == "app");
        return mayUseToolkit ? "" : "only screens, app/ and platform/qt use the toolkit";
    }
    if (to.floor == Floor::Program) {
        const bool sameProgram = from.floor == Floor::Program && from.subsystem == to.subsystem;
        return sameProgram ? "" : "a program's files belong to that program alone";
    }

    switch (from.floor) {
        case Floor::PlatformOs:
            return to.floor == Floor::PlatformOs ? "" : "platform/os uses nothing above itself";
        case Floor::PlatformGfx:
        case Floor::PlatformQt:
            return Height(to.floor) == 1 ? "" : "the platform uses nothing above itself";
        case Floor::Data:
        case Floor::Game:
            return Height(to.floor) <= Height(from.floor) ? "" : "goes up a floor";
        case Floor::Logic:
            if (Height(to.floor) < Height(Floor::Logic))
                return "";
            if (to.floor != Floor::Logic)
                return "goes up a floor";
            if (to.subsystem == from.subsystem || Uses(rules, from.subsystem, to.subsystem))
                return "";
            return "uses the logic of a subsystem that " + from.subsystem + "/ does not use";
        case Floor::Screen:
            if (Height(to.floor) < Height(Floor::Logic))
                return "";
            if (to.floor == Floor::Logic) {
                if (to.subsystem == from.subsystem || Uses(rules, from.subsystem, to.subsystem))
                    return "";
                return "a screen uses its own subsystem's logic, or that of one its subsystem "
                       "uses";
            }
            if (to.floor == Floor::Screen) {
                return to.subsystem == from.subsystem
                           ? ""
                           : "a screen does not include another subsystem's screen";
            }
            return "a screen does not include app/";
        case Floor::App:
            return "";
        case Floor::Program:
            if (from.subsystem == "tool" && (to.floor == Floor::Screen || to.floor == Floor::App)) {
                return "the command line tool has no screens";
            }
            return "";
        case Floor::Outside:
            break;
    }
    return "";
}

LayeringReport CheckLayering(const std::vector<SourceFile>& files, const LayeringRules& rules) {
    std::set<std::string> paths;
    for (const SourceFile& file : files)
        paths.insert(file.path);

    LayeringReport report;
    std::vector<bool> exceptionSeen(rules.knownExceptions.size(), false);
    std::vector<bool> useSeen(rules.uses.size(), false);

    for (const SourceFile& file : files) {
        const Place from = PlaceOf(file.path);
        if (from.floor == Floor::Outside) {
            report.violations.push_back(file.path + ": lies on no floor");
            continue;
        }
        const std::string folder = file.path.substr(0, file.path.rfind('/') + 1);

        for (const Include& include : IncludesOf(file.text)) {
            Place to{Floor::PlatformQt, {}};
            if (!include.toolkit) {
                const std::string beside = Normalise(folder + include.header);
                if (paths.contains(include.header))
                    to = PlaceOf(include.header);
                else if (!beside.empty() && paths.contains(beside))
                    to = PlaceOf(beside);
                else
                    to = {};
            }

            // Note which listed uses of one subsystem by another are made.
            const bool fromSubsystem = from.floor == Floor::Logic || from.floor == Floor::Screen;
            if (fromSubsystem && to.floor == Floor::Logic && to.subsystem != from.subsystem) {
                const SubsystemUse use{from.subsystem, to.subsystem};
                const auto listed = std::find(rules.uses.begin(), rules.uses.end(), use);
                if (listed != rules.uses.end())
                    useSeen[static_cast<size_t>(listed - rules.uses.begin())] = true;
            }

            const std::string why = RuleBroken(from, to, rules);
            if (why.empty())
                continue;

            const IncludeEdge edge{file.path, include.header};
            const auto listed =
                std::find(rules.knownExceptions.begin(), rules.knownExceptions.end(), edge);
            if (listed != rules.knownExceptions.end()) {
                exceptionSeen[static_cast<size_t>(listed - rules.knownExceptions.begin())] = true;
                continue;
            }
            report.violations.push_back(file.path + ":" + std::to_string(include.line) +
                                        " includes \"" + include.header + "\": " + why);
        }
    }

    for (size_t i = 0; i < rules.knownExceptions.size(); ++i) {
        if (!exceptionSeen[i])
            report.staleExceptions.push_back(rules.knownExceptions[i]);
    }
    for (size_t i = 0; i < rules.uses.size(); ++i) {
        if (!useSeen[i])
            report.unusedUses.push_back(rules.uses[i]);
    }
    return report;
}

std::vector<SourceFile> ReadSourceTree(const std::filesystem::path& srcDir) {
    static const std::set<std::string> kSourceExtensions = {".h", ".hpp", ".cpp", ".cxx", ".inl"};
    std::vector<SourceFile> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(srcDir)) {
        if (!entry.is_regular_file())
            continue;
        if (!kSourceExtensions.contains(entry.path().extension().string()))
            continue;
        files.push_back(
            {entry.path().lexically_relative(srcDir).generic_string(), ReadText(entry.path())});
    }
    std::sort(files.begin(), files.end(),
              [](const SourceFile& a, const SourceFile& b) { return a.path < b.path; });
    return files;
}
