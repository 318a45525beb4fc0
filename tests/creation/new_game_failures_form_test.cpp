#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "app/main_form.h"
#include "app/screens.h"
#include "creation/new_game_form.h"
#include "platform/os/file_write.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The wizard on its "Generate" page with players 1 and 2 in play and the game file text
// given.
class WizardFileFailures : public ::testing::Test {
protected:
    TempDir dir;
    WorkingDirectory cwd{dir.path()};
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    FixedClock clock;
    TNewGameForm* form = nullptr;

    void Open(const QString& gameFile) {
        form = NewGameForm;
        form->SeedClock = &clock;
        MainForm->show();
        QTest::mouseClick(MainForm->NewGameButton, Qt::LeftButton);
        ASSERT_TRUE(form->isVisible());
        form->GameFile->setText(gameFile);
        for (int player : {1, 2}) {
            QRadioButton* human = form->PlayerStatus[static_cast<size_t>(player - 1)]->Item(
                TNewGameForm::StatusHuman);
            QTest::mouseClick(human, Qt::LeftButton, {}, QPoint(7, human->height() / 2));
        }
        QTabBar* tabs = form->NewGamePageControl->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {},
                          tabs->tabRect(TNewGameForm::GeneratePage).center());
        ASSERT_EQ(form->NewGamePageControl->currentIndex(), TNewGameForm::GeneratePage);
    }

    // After a creation that wrote nothing: the wizard is where it was, ready for another try.
    void ExpectAbortedWithValuesKept(const QString& gameFile) {
        EXPECT_EQ(shell.endRequests, 0);
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(MainForm->isVisible());
        EXPECT_EQ(form->NewGamePageControl->currentIndex(), TNewGameForm::GeneratePage);
        EXPECT_EQ(form->GameCreationLabel->text(), "Game Creation - Aborted");
        EXPECT_TRUE(form->CreateGameButton->isEnabled());
        EXPECT_TRUE(form->ExitButton->isEnabled());
        EXPECT_FALSE(form->CancelButton->isEnabled());
        EXPECT_TRUE(form->TabSheet1->isEnabled());
        EXPECT_EQ(form->GameFile->text(), gameFile);
        EXPECT_EQ(form->Players[0].InPlay, 1);
        EXPECT_EQ(form->Players[1].InPlay, 1);
        EXPECT_EQ(form->LandMassPercentInput->displayText(), "40 %");
        EXPECT_TRUE(form->LastCreation().WriteFailed());
    }
};

TEST_F(WizardFileFailures, AMissingFolderIsNamedAndTheWizardStays) {
    Open(QStringLiteral("nosuch/game"));
    QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);

    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text,
              "Couldn't open host file\nnosuch/game.hst: No such file or directory");
    EXPECT_EQ(shell.messages[0].caption, "Fatal Error");
    ExpectAbortedWithValuesKept(QStringLiteral("nosuch/game"));
    EXPECT_TRUE(FolderContents(dir.path()).empty());
    EXPECT_TRUE(shell.questions.empty());
}

TEST_F(WizardFileFailures, AFolderThatTakesNoFileLeavesTheEarlierGameAsItWas) {
    // An earlier game of the same name, in a folder that refuses new files and whose files
    // refuse to be rewritten (as a read-only folder of read-only files does).
    for (const char* name : {"war.hst", "war.p01", "war.p02"})
        std::ofstream(dir.File(name), std::ios::binary) << "earlier " << name;
    const std::map<std::string, std::string> before = FolderContents(dir.path());
    Open(QStringLiteral("war"));
    shell.yesNoAnswers.push_back(true);
    {
        ScopedWriteFault folder(WriteStep::CreateTemporary, 0, EACCES);
        ScopedWriteFault files(WriteStep::OpenInPlace, 0, EACCES);
        QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);
    }
    ASSERT_EQ(shell.questions.size(), 1u);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "Couldn't open host file\nwar.hst: Permission denied");
    EXPECT_EQ(shell.messages[0].caption, "Fatal Error");
    ExpectAbortedWithValuesKept(QStringLiteral("war"));
    EXPECT_EQ(FolderContents(dir.path()), before);

    // A path through a plain file fails the same way, and a later try elsewhere works.
    std::ofstream(dir.File("plain"), std::ios::binary) << "x";
    form->GameFile->setText(QStringLiteral("plain/war"));
    QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1].text, "Couldn't open host file\nplain/war.hst: Not a directory");
    ExpectAbortedWithValuesKept(QStringLiteral("plain/war"));

    fs::create_directory(dir.File("games"));
    form->GameFile->setText(QStringLiteral("games/war"));
    QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);
    EXPECT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(form->GameCreationLabel->text(), "Game Creation - Complete");
    EXPECT_EQ(FolderContents(dir.File("games")).size(), 3u);
}

TEST_F(WizardFileFailures, ReplacingAnEarlierGameAsksFirst) {
    for (const char* name : {"war.hst", "war.p02"})
        std::ofstream(dir.File(name), std::ios::binary) << "earlier " << name;
    const std::map<std::string, std::string> before = FolderContents(dir.path());
    Open(QStringLiteral("war"));

    // "No": nothing is generated or written, and the page stays as it was.
    shell.yesNoAnswers.push_back(false);
    QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);
    ASSERT_EQ(shell.questions.size(), 1u);
    EXPECT_EQ(shell.questions[0].text,
              "These files of an earlier game will be replaced:\nwar.hst\nwar.p02\n\n"
              "Create the new game and replace them?");
    EXPECT_EQ(shell.questions[0].caption, "New Game");
    EXPECT_EQ(shell.processEventsCalls, 0);
    EXPECT_EQ(form->GameCreationLabel->text(), "Game Creation - Pending");
    EXPECT_EQ(form->Players[0].PendingMessages[0].Type, -1);
    EXPECT_EQ(FolderContents(dir.path()), before);
    EXPECT_TRUE(shell.messages.empty());

    // "Yes": the game is created over the earlier one.
    shell.yesNoAnswers.push_back(true);
    QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);
    EXPECT_EQ(shell.questions.size(), 2u);
    EXPECT_EQ(shell.processEventsCalls, 10000);
    EXPECT_EQ(form->GameCreationLabel->text(), "Game Creation - Complete");
    const std::map<std::string, std::string> after = FolderContents(dir.path());
    EXPECT_EQ(after.size(), 3u);
    EXPECT_NE(after.at("war.hst"), before.at("war.hst"));
    EXPECT_NE(after.at("war.p02"), before.at("war.p02"));
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
}

}  // namespace
