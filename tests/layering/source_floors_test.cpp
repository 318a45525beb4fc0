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
