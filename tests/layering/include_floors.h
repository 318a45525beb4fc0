// Checks that every include in the sources goes to the including file's own floor or below.
//
// The floors, bottom to top: platform/os, platform/gfx (which may use platform/os) and the
// toolkit adapters in platform/qt; data/; game/; the logic of the subsystems; their screens
// (*_form.* files); app/; the programs (tool/ and app/main.cpp). Paths are relative to src/
// and use '/'.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

enum class Floor {
    PlatformOs,
    PlatformGfx,
    PlatformQt,  // the toolkit adapters, and the toolkit's own headers
    Data,
    Game,
    Logic,   // creation/, view/, race/, research/, units/, host/ without their screens
    Screen,  // *_form.* files of those subsystems
    App,
    Program,  // tool/ and app/main.cpp
    Outside,  // no floor: a folder the layering does not know, or a file that is not there
};

// Where a file sits: its floor and, for logic, screens and programs, the folder it belongs to.
struct Place {
    Floor floor = Floor::Outside;
    std::string subsystem;
};

Place PlaceOf(std::string_view path);

// One include directive: the name between the quotes, or the toolkit header between the angle
// brackets (other angle includes are the standard library and are not listed).
struct Include {
    std::string header;
    int line = 0;  // 1-based
    bool toolkit = false;
};

std::vector<Include> IncludesOf(std::string_view text);

struct SourceFile {
    std::string path;
    std::string text;
};

// One subsystem uses another: the user's logic and screens may include the used one's logic.
struct SubsystemUse {
    std::string user;
    std::string used;

    bool operator==(const SubsystemUse&) const = default;
};

// An include of `header`, written so, in `file`.
struct IncludeEdge {
    std::string file;
    std::string header;

    bool operator==(const IncludeEdge&) const = default;
};

struct LayeringRules {
    std::vector<SubsystemUse> uses;
    // Includes that break a rule but are tolerated until they are reworked.
    std::vector<IncludeEdge> knownExceptions;
};

struct LayeringReport {
    // "file:line includes "header": why", one per include that breaks a rule and is not listed.
    std::vector<std::string> violations;
    // Listed exceptions whose include is gone or no longer breaks a rule.
    std::vector<IncludeEdge> staleExceptions;
    // Listed uses of one subsystem by another that no include makes.
    std::vector<SubsystemUse> unusedUses;
};

// Why a file at `from` may not include one at `to`; empty when it may.
std::string RuleBroken(const Place& from, const Place& to, const LayeringRules& rules);

// Checks every include of every file. An include names a file by its path under src/; a name
// that is not such a path is looked up beside the including file.
LayeringReport CheckLayering(const std::vector<SourceFile>& files, const LayeringRules& rules);

// Every C++ source and header under `srcDir`, with its path relative to it.
std::vector<SourceFile> ReadSourceTree(const std::filesystem::path& srcDir);
