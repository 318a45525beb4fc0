#include "layering/include_floors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Whether `text` holds `part`; a predicate, so that a failure shows both.
bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A source tree of the given paths, where each file holds the given includes.
struct Tree {
    std::vector<SourceFile> files;

    Tree& File(std::string path, std::vector<std::string> includes = {}) {
        std::string text = "// " + path + "\n#pragma once\n";
        for (const std::string& include : includes)
            text += "#include " + include + "\n";
        files.push_back({std::move(path), std::move(text)});
        return *this;
    }
};

// The violations of a tree where every file listed is present.
std::vector<std::string> Violations(const Tree& tree, const LayeringRules& rules = {}) {
    return CheckLayering(tree.files, rules).violations;
}

TEST(IncludeFloors, ReadsQuotedIncludesAndTheToolkitsHeaders) {
    const auto includes = IncludesOf(
        "#include \"game/world_map.h\"\n"
        "  #  include   \"view/main_map.h\"  // trailing comment\n"
        "#include <vector>\n"
        "#include <QWidget>\n"
        "#include <QtCore/QString>\n"
        "// #include \"app/screens.h\"\n"
        "#pragma once\n"
        "#include \"unterminated.h\n"
        "#include \"data/record_cursor.h\"");
    ASSERT_EQ(includes.size(), 5u);
    EXPECT_EQ(includes[0].header, "game/world_map.h");
    EXPECT_EQ(includes[0].line, 1);
    EXPECT_FALSE(includes[0].toolkit);
    EXPECT_EQ(includes[1].header, "view/main_map.h");
    EXPECT_EQ(includes[1].line, 2);
    EXPECT_EQ(includes[2].header, "QWidget");
    EXPECT_TRUE(includes[2].toolkit);
    EXPECT_EQ(includes[3].header, "QtCore/QString");
    EXPECT_TRUE(includes[3].toolkit);
    EXPECT_EQ(includes[4].header, "data/record_cursor.h");  // last line without a line end
    EXPECT_EQ(includes[4].line, 9);
}

TEST(IncludeFloors, PlacesEachFolderOnItsFloor) {
    struct Case {
        const char* path;
        Floor floor;
        const char* subsystem;
    };
    const Case cases[] = {
        {"platform/os/clock.h", Floor::PlatformOs, ""},
        {"platform/gfx/rm/root.cpp", Floor::PlatformGfx, ""},
        {"platform/qt/form_geometry.h", Floor::PlatformQt, ""},
        {"platform/net/socket.h", Floor::Outside, ""},
        {"data/record_cursor.h", Floor::Data, ""},
        {"game/player_file.cpp", Floor::Game, ""},
        {"view/main_map.h", Floor::Logic, "view"},
        {"view/main_screen_form.cpp", Floor::Screen, "view"},
        {"units/unit_form.h", Floor::Screen, "units"},
        {"race/race_file.h", Floor::Logic, "race"},
        {"research/formula.h", Floor::Logic, "research"},  // "form" inside a name is no screen
        {"app/screens.h", Floor::App, ""},
        {"app/credits_form.cpp", Floor::App, ""},
        {"app/main.cpp", Floor::Program, "app"},
        {"tool/tool_main.cpp", Floor::Program, "tool"},
        {"network/lobby.h", Floor::Outside, ""},
        {"loose.h", Floor::Outside, ""},
    };
    for (const Case& c : cases) {
        const Place place = PlaceOf(c.path);
        EXPECT_EQ(place.floor, c.floor) << c.path;
        EXPECT_EQ(place.subsystem, c.subsystem) << c.path;
    }
}

TEST(IncludeFloors, AnIncludeUpAFloorFails) {
    Tree tree;
    tree.File("view/y.h").File("game/x.cpp", {"\"view/y.h\""});
    const auto violations = Violations(tree);
    ASSERT_EQ(violations.size(), 1u);
    EXPECT_EQ(violations[0], "game/x.cpp:3 includes \"view/y.h\": goes up a floor");

    Tree more;
    more.File("game/state.h")
        .File("view/screen_form.h")
        .File("app/screens.h")
        .File("data/cursor.cpp", {"\"game/state.h\""})
        .File("platform/os/clock.cpp", {"\"platform/gfx/surface.h\""})
        .File("platform/gfx/surface.h", {"\"data/cursor.cpp\""})
        .File("view/map.cpp", {"\"view/screen_form.h\""})
        .File("view/other_form.cpp", {"\"app/screens.h\""});
    EXPECT_EQ(Violations(more).size(), 5u);
}

TEST(IncludeFloors, IncludesDownTheFloorsPass) {
    Tree tree;
    tree.File("platform/os/clock.h")
        .File("platform/gfx/surface.h", {"\"platform/os/clock.h\""})
        .File("platform/qt/geometry.h", {"\"platform/os/clock.h\"", "<QWidget>"})
        .File("data/cursor.h", {"\"platform/os/clock.h\""})
        .File("game/state.h", {"\"data/cursor.h\"", "\"platform/gfx/surface.h\"", "<vector>"})
        .File("view/map.h", {"\"game/state.h\"", "\"platform/gfx/surface.h\""})
        .File("view/map.cpp", {"\"view/map.h\""})
        .File("view/map_form.h", {"\"view/map.h\"", "\"platform/qt/geometry.h\"", "<QDialog>"})
        .File("view/map_form.cpp", {"\"view/map_form.h\""})
        .File("app/screens.h", {"\"view/map_form.h\"", "\"app/session.h\""})
        .File("app/session.h", {"\"view/map.h\""})
        .File("app/main.cpp", {"\"app/screens.h\"", "\"platform/qt/geometry.h\""})
        .File("tool/commands.h", {"\"game/state.h\""})
        .File("tool/main.cpp", {"\"tool/commands.h\"", "\"view/map.h\""});
    EXPECT_TRUE(Violations(tree).empty());
}

TEST(IncludeFloors, OnlyScreensAppAndThePlatformAdaptersUseTheToolkit) {
    Tree tree;
    tree.File("platform/qt/geometry.h")
        .File("game/state.cpp", {"<QString>"})
        .File("view/map.cpp", {"\"platform/qt/geometry.h\""})
        .File("platform/os/ui.cpp", {"<QMessageBox>"})
        .File("tool/main.cpp", {"<QApplication>"});
    const auto violations = Violations(tree);
    ASSERT_EQ(violations.size(), 4u);
    for (const std::string& violation : violations)
        EXPECT_PRED2(Contains, violation, "only screens, app/ and platform/qt use the toolkit");
}

TEST(IncludeFloors, OneSubsystemUsesAnothersLogicOnlyWhereListed) {
    Tree tree;
    tree.File("race/race_file.h")
        .File("units/catalogue.h")
        .File("creation/create.cpp", {"\"race/race_file.h\""})
        .File("creation/new_form.cpp", {"\"race/race_file.h\""})
        .File("view/map.cpp", {"\"units/catalogue.h\""});
    LayeringRules rules;
    rules.uses = {{"creation", "race"}};

    const auto violations = Violations(tree, rules);
    ASSERT_EQ(violations.size(), 1u);
    EXPECT_PRED2(Contains, violations[0], "view/map.cpp:3");
    EXPECT_PRED2(Contains, violations[0], "view/ does not use");

    EXPECT_TRUE(CheckLayering(tree.files, rules).unusedUses.empty());

    // A listed use that no include makes is reported, so that the list stays exact.
    rules.uses.push_back({"view", "research"});
    const LayeringReport report = CheckLayering(tree.files, rules);
    ASSERT_EQ(report.unusedUses.size(), 1u);
    EXPECT_EQ(report.unusedUses[0].user, "view");
    EXPECT_EQ(report.unusedUses[0].used, "research");

    // The use goes one way: race does not thereby use creation.
    Tree back;
    back.File("creation/create.h").File("race/race_file.cpp", {"\"creation/create.h\""});
    EXPECT_EQ(Violations(back, rules).size(), 1u);
}

TEST(IncludeFloors, AScreenIncludesNeitherAppNorAnotherSubsystemsScreen) {
    Tree tree;
    tree.File("app/main_form.h")
        .File("research/research_form.h")
        .File("view/loading_form.h")
        .File("view/main_screen_form.cpp",
              {"\"app/main_form.h\"", "\"research/research_form.h\"", "\"view/loading_form.h\""});
    const auto violations = Violations(tree);
    ASSERT_EQ(violations.size(), 2u);
    EXPECT_PRED2(Contains, violations[0], "a screen does not include app/");
    EXPECT_PRED2(Contains, violations[1], "a screen does not include another subsystem's screen");
}

TEST(IncludeFloors, ProgramFilesAndFilesOffTheFloorsAreReported) {
    Tree tree;
    tree.File("tool/commands.h")
        .File("app/screens.h")
        .File("view/map_form.h")
        .File("network/lobby.h")
        .File("app/main.cpp", {"\"tool/commands.h\""})
        .File("tool/render.cpp", {"\"app/screens.h\"", "\"view/map_form.h\""})
        .File("game/state.cpp", {"\"game/missing.h\"", "\"network/lobby.h\""});
    const auto violations = Violations(tree);
    ASSERT_EQ(violations.size(), 6u);
    EXPECT_EQ(violations[0], "network/lobby.h: lies on no floor");
    EXPECT_PRED2(Contains, violations[1], "a program's files belong to that program alone");
    EXPECT_PRED2(Contains, violations[2], "the command line tool has no screens");
    EXPECT_PRED2(Contains, violations[3], "the command line tool has no screens");
    EXPECT_PRED2(Contains, violations[4], "\"game/missing.h\": the included file lies on no floor");
    EXPECT_PRED2(Contains, violations[5],
                 "\"network/lobby.h\": the included file lies on no floor");
}

TEST(IncludeFloors, ANameThatIsNoPathIsLookedUpBesideTheFile) {
    Tree tree;
    tree.File("view/map.h")
        .File("game/state.cpp", {"\"../view/map.h\""})
        .File("game/world.cpp", {"\"state.h\""})
        .File("game/state.h")
        .File("game/escape.cpp", {"\"../../outside.h\""});
    const auto violations = Violations(tree);
    ASSERT_EQ(violations.size(), 2u);
    EXPECT_PRED2(Contains, violations[0], "game/state.cpp:3 includes \"../view/map.h\": goes up");
    EXPECT_PRED2(Contains, violations[1], "the included file lies on no floor");
}

TEST(IncludeFloors, AListedExceptionExcusesExactlyItsOwnInclude) {
    Tree tree;
    tree.File("app/main_form.h")
        .File("app/screens.h")
        .File("host/host_form.cpp", {"\"app/main_form.h\"", "\"app/screens.h\""});
    LayeringRules rules;
    rules.knownExceptions = {{"host/host_form.cpp", "app/main_form.h"}};

    const LayeringReport report = CheckLayering(tree.files, rules);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_PRED2(Contains, report.violations[0], "\"app/screens.h\"");
    EXPECT_TRUE(report.staleExceptions.empty());
}

TEST(IncludeFloors, AnExceptionThatNoLongerHappensIsStale) {
    Tree tree;
    tree.File("app/main_form.h")
        .File("view/map.h")
        .File("host/host_form.cpp", {"\"view/map.h\""})
        .File("race/race_form.cpp", {"\"race/race_file.h\""})
        .File("race/race_file.h");
    LayeringRules rules;
    rules.uses = {{"host", "view"}};
    rules.knownExceptions = {
        {"host/host_form.cpp", "app/main_form.h"},    // the include is gone
        {"host/host_form.cpp", "view/map.h"},         // the include is now allowed
        {"creation/gone_form.cpp", "app/screens.h"},  // the file is gone
    };

    const LayeringReport report = CheckLayering(tree.files, rules);
    EXPECT_TRUE(report.violations.empty());
    EXPECT_EQ(report.staleExceptions, rules.knownExceptions);
}

}  // namespace
