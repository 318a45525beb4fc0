#include "race/race_file_form.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "game/record_stream.h"
#include "platform/os/scripted_ui_shell.h"
#include "race_file_samples.h"
#include "support/shell_and_folder.h"

namespace {

using RaceFileOperations = ShellAndFolder;

TEST_F(RaceFileOperations, SaveWritesUnderTheRceName) {
    std::filesystem::create_directory(dir.path() / "Races.old");
    shell.saveAnswers.push_back(dir.File("Races.old/myrace.rac"));
    RaceDesignValues values = OrcsDesign();
    ASSERT_TRUE(SaveRaceFromDesign(values, 3.634f));
    ASSERT_EQ(shell.saveRequests.size(), 1u);
    EXPECT_EQ(shell.saveRequests[0].title, "Save Race File");
    EXPECT_EQ(shell.saveRequests[0].filter, "Race Files (*.rce)|*.rce");
    EXPECT_EQ(shell.saveRequests[0].defaultExt, "rac");
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("Races.old/myrace.rac")));
    EXPECT_EQ(ReadWholeFile(dir.File("Races.old/myrace.rce")),
              RaceFileBytes(RaceRecordFromDesign(values, 3.634f)));
}

TEST_F(RaceFileOperations, SaveRefusals) {
    RaceDesignValues values = OrcsDesign();
    values.PasswordConfirm = "Typed";
    shell.saveAnswers = {dir.File("a.rac"), dir.File("a.rac")};
    EXPECT_FALSE(SaveRaceFromDesign(values, 3.634f));
    ExpectOneMessage("Incorrect Password Conformation, Please Reinput Password", "Password Error!");

    values = OrcsDesign();
    values.RaceLeaderTitle = std::string(200, 't');
    EXPECT_FALSE(SaveRaceFromDesign(values, 3.634f));
    ExpectOneMessage("Leader Title Is Too Long, A Race File Holds At Most 199 Characters",
                     "File Error");
    EXPECT_TRUE(shell.saveRequests.empty());  // neither reached the dialog

    shell.saveAnswers = {std::nullopt, dir.File("no-folder/a.rac")};
    EXPECT_FALSE(SaveRaceFromDesign(OrcsDesign(), 3.634f));  // cancelled
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_FALSE(SaveRaceFromDesign(OrcsDesign(), 3.634f));
    // The second line names the file and gives the system's reason.
    ExpectOneMessage("Unable to Save Race File\n" +
                         DescribeWriteFailure({dir.File("no-folder/a.rce"), std::strerror(ENOENT)}),
                     "File Error");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(RaceFileOperations, WizardLoadChecksEachInTurn) {
    WriteBytes(dir.File("MYRACE.RCE"), RaceFileBytes(ElvesRace()));
    std::filesystem::create_directory(dir.path() / "folder.rce");
    WriteBytes(dir.File("damaged.rce"), Bytes().Text(4, "Elf").Cut());
    const std::pair<std::string, std::string> refusals[] = {
        {dir.File("absent.rce"), "Race File Does Not Exist!"},
        {dir.File("MYRACE.RCE"), "Invalid Race File"},
        {dir.File("folder.rce"), "Unable to Open Race File"},
        {dir.File("damaged.rce"), "Damaged Race File\n" + dir.File("damaged.rce") +
                                      ": damaged at byte 12: the file ends before its end record"},
    };
    for (const auto& [file, text] : refusals) {
        shell.openAnswers.push_back(file);
        RaceDesignValues values = OrcsDesign();
        EXPECT_FALSE(LoadRaceIntoDesign(values)) << file;
        ExpectOneMessage(text, "File Error");
        EXPECT_EQ(values.Password, "typed");
    }
    EXPECT_EQ(shell.openRequests.back().filter, "Race Files (*.rce)|*.rce|All Files (*.*)|*.*");

    WriteBytes(dir.File("myrace.rce.bak"), RaceFileBytes(ElvesRace()));
    shell.openAnswers = {std::nullopt, dir.File("myrace.rce.bak")};
    RaceDesignValues values;
    EXPECT_FALSE(LoadRaceIntoDesign(values));  // cancelled
    ASSERT_TRUE(LoadRaceIntoDesign(values));
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(RaceHeader(values), "The Elves");
}

TEST_F(RaceFileOperations, WizardLoadAsksThePromptForThePassword) {
    WriteBytes(dir.File("elf.rce"), RaceFileBytes(ElvesRace("Secret")));
    shell.openAnswers = {dir.File("elf.rce"), dir.File("elf.rce")};
    shell.passwordAnswers = {std::string("secret"), std::string("Secret"), std::nullopt};
    RaceDesignValues values = OrcsDesign();
    ASSERT_TRUE(LoadRaceIntoDesign(values));
    EXPECT_EQ(shell.passwordPrompts, 1);
    EXPECT_EQ(values.Password, "Secret");
    EXPECT_EQ(RaceHeader(values), "The Elves");

    values = OrcsDesign();
    ASSERT_TRUE(LoadRaceIntoDesign(values));  // cancelled: only the password fields change
    EXPECT_EQ(shell.passwordPrompts, 2);
    EXPECT_EQ(values.Password + values.PasswordConfirm, "");
    EXPECT_EQ(RaceHeader(values), "The Orcs");
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(RaceFileOperations, AsksBeforeReplacingAFileTheDialogDidNotName) {
    // "elf" typed in the dialog: it checked elf.rac, but the race goes to elf.rce.
    const std::string old = dir.File("elf.rce");
    WriteBytes(old, RaceFileBytes(ElvesRace()));
    shell.saveAnswers = {dir.File("elf.rac"), dir.File("elf.rac")};
    shell.yesNoAnswers = {false, true};

    EXPECT_FALSE(SaveRaceFromDesign(OrcsDesign(), 3.634f));
    ASSERT_EQ(shell.questions.size(), 1u);
    EXPECT_EQ(shell.questions[0].text, old + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(shell.questions[0].caption, "Save Race File");
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(ReadWholeFile(old), RaceFileBytes(ElvesRace()));  // "No": the old file stays
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    ASSERT_TRUE(SaveRaceFromDesign(OrcsDesign(), 3.634f));
    EXPECT_EQ(shell.questions.size(), 2u);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(ReadWholeFile(old), RaceFileBytes(RaceRecordFromDesign(OrcsDesign(), 3.634f)));
    EXPECT_FALSE(std::filesystem::exists(dir.File("elf.rac")));
}

TEST_F(RaceFileOperations, NoQuestionForTheNameTheDialogConfirmedOrANewFile) {
    const std::string old = dir.File("elf.rce");
    WriteBytes(old, RaceFileBytes(ElvesRace()));
    // The dialog itself asked about elf.rce before returning it.
    shell.saveAnswers = {old, dir.File("orc.rac")};
    ASSERT_TRUE(SaveRaceFromDesign(OrcsDesign(), 3.634f));
    ASSERT_TRUE(SaveRaceFromDesign(OrcsDesign(), 3.634f));
    EXPECT_TRUE(shell.questions.empty());
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(ReadWholeFile(old), ReadWholeFile(dir.File("orc.rce")));
}

TEST_F(RaceFileOperations, ReplacingWhatCannotBeReplacedSaysWhy) {
    // A folder where the race file would go: asked about, then refused with the reason.
    std::filesystem::create_directory(dir.path() / "elf.rce");
    shell.saveAnswers = {dir.File("elf.rac")};
    shell.yesNoAnswers = {true};
    EXPECT_FALSE(SaveRaceFromDesign(OrcsDesign(), 3.634f));
    EXPECT_EQ(shell.questions.size(), 1u);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].caption, "File Error");
    const std::string firstLines = "Unable to Save Race File\n" + dir.File("elf.rce") + ": ";
    EXPECT_EQ(shell.messages[0].text.substr(0, firstLines.size()), firstLines);
    EXPECT_GT(shell.messages[0].text.size(), firstLines.size());  // the reason follows
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "elf.rce"));
}

}  // namespace
