#include "creation/race_choice_form.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os/scripted_ui_shell.h"
#include "race/race_file.h"
#include "race/race_file_samples.h"
#include "support/temp_dir.h"

namespace {

class RaceFileOperations : public ::testing::Test {
protected:
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    TempDir dir;

    void ExpectOneMessage(const std::string& text, const std::string& caption) {
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].text, text);
        EXPECT_EQ(shell.messages[0].caption, caption);
        shell.messages.clear();
    }
};

TEST_F(RaceFileOperations, PlayerSlotLoad) {
    RaceRecord race;
    race.NamePlural = "Orcs";
    WriteBytes(dir.File("MYRACE.RCE"), RaceFileBytes(ElvesRace()));
    WriteBytes(dir.File("elf.rce"), RaceFileBytes(ElvesRace("Secret")));
    shell.openAnswers = {std::nullopt, dir.File("MYRACE.RCE"), dir.File("elf.rce")};
    EXPECT_FALSE(LoadRaceForPlayer(race));
    EXPECT_FALSE(LoadRaceForPlayer(race));
    ExpectOneMessage("Invalid Race File", "File Error");
    EXPECT_EQ(race.NamePlural, "Orcs");

    std::string chosen;
    ASSERT_TRUE(LoadRaceForPlayer(race, &chosen));
    EXPECT_EQ(chosen, dir.File("elf.rce"));
    EXPECT_EQ(RaceFileBytes(race), RaceFileBytes(ElvesRace("Secret")));
    EXPECT_EQ(shell.passwordPrompts, 0);
}

}  // namespace
