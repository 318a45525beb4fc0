// Runs the include floors over the project's own sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "layering/include_floors.h"

namespace {

LayeringRules ProjectRules() {
    LayeringRules rules;

    // Where one subsystem uses another's logic.
    rules.uses = {
        // A new game is made from the race files the players designed.
        {"creation", "race"},
    };

    // Screens that still reach the title screen, the screen list or other subsystems' screens
    // directly instead of through a small interface. Each entry goes once that is reworked.
    rules.knownExceptions = {
        {"creation/new_game_form.cpp", "app/main_form.h"},
        {"creation/new_game_form.cpp", "app/screens.h"},
        {"host/host_form.cpp", "app/main_form.h"},
        {"host/host_form.cpp", "app/screens.h"},
        {"race/race_design_form.cpp", "app/main_form.h"},
        {"race/race_design_form.cpp", "app/screens.h"},
        {"view/main_screen_form.h", "app/game_options_form.h"},
        {"view/main_screen_form.cpp", "app/city_design_form.h"},
        {"view/main_screen_form.cpp", "app/credits_form.h"},
        {"view/main_screen_form.cpp", "app/game_session.h"},
        {"view/main_screen_form.cpp", "app/help_form.h"},
        {"view/main_screen_form.cpp", "app/known_bugs_form.h"},
        {"view/main_screen_form.cpp", "app/main_form.h"},
        {"view/main_screen_form.cpp", "app/screens.h"},
        {"view/main_screen_form.cpp", "app/version_history_form.h"},
        {"view/main_screen_form.cpp", "research/research_form.h"},
        {"view/main_screen_form.cpp", "units/unit_form.h"},
    };
    return rules;
}

std::vector<SourceFile> ProjectSources() {
    return ReadSourceTree(std::filesystem::path(VELMORA_SOURCE_DIR) / "src");
}

TEST(SourceFloors, EveryIncludeGoesToItsOwnFloorOrBelow) {
    const std::vector<SourceFile> files = ProjectSources();
    // The sources were found: the checker is not passing over an empty tree.
    ASSERT_GT(files.size(), 100u);
    EXPECT_TRUE(std::any_of(files.begin(), files.end(),
                            [](const SourceFile& f) { return f.path == "game/player_file.h"; }));

    const LayeringReport report = CheckLayering(files, ProjectRules());
    for (const std::string& violation : report.violations)
        ADD_FAILURE() << violation;
}

TEST(SourceFloors, EveryKnownExceptionStillHappens) {
    const LayeringReport report = CheckLayering(ProjectSources(), ProjectRules());
    for (const IncludeEdge& stale : report.staleExceptions) {
        ADD_FAILURE() << stale.file << " no longer breaks a rule by including \"" << stale.header
                      << "\": take it off the list of known exceptions";
    }
}

TEST(SourceFloors, EveryListedUseOfOneSubsystemByAnotherIsMade) {
    const LayeringReport report = CheckLayering(ProjectSources(), ProjectRules());
    for (const SubsystemUse& unused : report.unusedUses) {
        ADD_FAILURE() << unused.user << "/ no longer includes the logic of " << unused.used
                      << "/: take the use off the list";
    }
}

}  // namespace
