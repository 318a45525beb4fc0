// Both wizards refuse the same race files with the same messages: the race design
// wizard's "Load Race" and the New Game wizard's "Browse".
#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

#include "creation/new_game_form.h"
#include "platform/os/scripted_ui_shell.h"
#include "race/race_design_form.h"
#include "race_file_samples.h"
#include "support/temp_dir.h"

namespace {

class RaceFileRefusals : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    TRaceDesign design;
    TNewGameForm newGame;

    void SetUp() override {
        design.RaceNameSingular->setText(QStringLiteral("Orc"));
        design.RaceNamePlural->setText(QStringLiteral("Orcs"));
        newGame.Players[0].Race.NamePlural = "Dwarves";
    }

    // Offers the file to both wizards and returns the messages each showed.
    std::vector<ScriptedUiShell::Message> RefusedByBoth(const std::string& file) {
        shell.openAnswers = {file, file};
        QTest::mouseClick(design.LoadRaceButton, Qt::LeftButton);
        newGame.PlayerRaceButtonClick(1);
        EXPECT_EQ(shell.openRequests.size() % 2, 0u);
        // Nothing of the file was taken and no password was asked for.
        EXPECT_EQ(design.RaceNamePlural->text(), "Orcs");
        EXPECT_EQ(design.Label8->text(), "The Orcs");
        EXPECT_EQ(newGame.Players[0].Race.NamePlural, "Dwarves");
        EXPECT_EQ(newGame.RaceName[0]->text(), "Default");
        EXPECT_EQ(shell.passwordPrompts, 0);
        std::vector<ScriptedUiShell::Message> shown = std::move(shell.messages);
        shell.messages.clear();
        return shown;
    }

    void ExpectRefusal(const std::string& file, const std::string& text) {
        SCOPED_TRACE(file);
        const std::vector<ScriptedUiShell::Message> shown = RefusedByBoth(file);
        ASSERT_EQ(shown.size(), 2u);
        for (const ScriptedUiShell::Message& message : shown) {
            EXPECT_EQ(message.text, text);
            EXPECT_EQ(message.caption, "File Error");
        }
    }
};

TEST_F(RaceFileRefusals, DamagedFilesNameTheFileAndTheDamage) {
    std::vector<uint8_t> cut = RaceFileBytes(ElvesRace("Secret"));
    cut.pop_back();
    WriteBytes(dir.File("cut.rce"), cut);
    ExpectRefusal(dir.File("cut.rce"), "Damaged Race File\n" + dir.File("cut.rce") +
                                           ": damaged at byte 126: the file ends before its "
                                           "end record");

    WriteBytes(dir.File("count.rce"), Bytes().Text(4, "Elf").I32(5).I32(300).End());
    ExpectRefusal(dir.File("count.rce"), "Damaged Race File\n" + dir.File("count.rce") +
                                             ": damaged at byte 16: text count 300 is outside "
                                             "0..200");
}

TEST_F(RaceFileRefusals, ValuesNoRaceCanHaveAreDamage) {
    RaceRecord race = ElvesRace();
    race.RaceClass = 9;
    WriteBytes(dir.File("class.rce"), RaceFileBytes(race));
    ExpectRefusal(dir.File("class.rce"), "Damaged Race File\n" + dir.File("class.rce") +
                                             ": damaged at byte 67: class 9 is outside 0..5");

    race = ElvesRace();
    race.DesignSlots[7] = 21;
    WriteBytes(dir.File("slots.rce"), RaceFileBytes(race));
    ExpectRefusal(dir.File("slots.rce"), "Damaged Race File\n" + dir.File("slots.rce") +
                                             ": damaged at byte 75: design slots 21 are outside "
                                             "2..20");
}

TEST_F(RaceFileRefusals, AFileLargerThanAnyRaceFileIsRefused) {
    const std::string big = dir.File("big.rce");
    WriteBytes(big, RaceFileBytes(ElvesRace()));
    std::filesystem::resize_file(big, kRaceFileMaxBytes + 1);
    ExpectRefusal(big, "Damaged Race File\n" + big +
                           ": 1048577 bytes, more than the 1048576 a race file can have");

    // One byte less is read: the records end long before.
    std::filesystem::resize_file(big, kRaceFileMaxBytes);
    shell.openAnswers = {big, big};
    QTest::mouseClick(design.LoadRaceButton, Qt::LeftButton);
    newGame.PlayerRaceButtonClick(1);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(design.RaceNamePlural->text(), "Elves");
    EXPECT_EQ(newGame.Players[0].Race.NamePlural, "Elves");
}

TEST_F(RaceFileRefusals, TheNameChecksKeepTheirTexts) {
    WriteBytes(dir.File("ELF.RCE"), RaceFileBytes(ElvesRace()));
    ExpectRefusal(dir.File("ELF.RCE"), "Invalid Race File");
    ExpectRefusal(dir.File("none.rce"), "Race File Does Not Exist!");
    std::filesystem::create_directory(dir.path() / "folder.rce");
    ExpectRefusal(dir.File("folder.rce"), "Unable to Open Race File");
}

}  // namespace
