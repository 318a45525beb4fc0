#include "creation/race_choice_form.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os/scripted_ui_shell.h"
#include "race/race_file.h"
#include "race/race_file_samples.h"
#include "support/shell_and_folder.h"

namespace {

using RaceFileOperations = ShellAndFolder;

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
