#include "app/main_form.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/screens.h"
#include "creation/new_game_form.h"
#include "host/host_form.h"
#include "platform/os/scripted_ui_shell.h"

namespace {

class TitleScreen : public ::testing::Test {
protected:
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
};

TEST_F(TitleScreen, IsLaidOutAsDesigned) {
    EXPECT_EQ(MainForm->windowTitle(), "Velmora - Orbalune");
    EXPECT_EQ(MainForm->NewGameButton->geometry(), QRect(16, 240, 75, 25));
    EXPECT_EQ(MainForm->ExitButton->geometry(), QRect(432, 240, 75, 25));
    EXPECT_EQ(MainForm->Label3->text(), "Pre-Alpha Version:");
    EXPECT_EQ(MainForm->Label5->text(), "Translation: ");
    EXPECT_EQ(MainForm->State.TextureResolution, 50);
    EXPECT_TRUE(MainForm->State.PointList.empty());
    EXPECT_EQ(MainForm->OpenGameDialog.Title, "Open Existing Game");
}

TEST_F(TitleScreen, TutorialCanNeverBePressed) {
    MainForm->show();
    EXPECT_FALSE(MainForm->TutorialButton->isEnabled());
    int clicks = 0;
    QObject::connect(MainForm->TutorialButton, &QPushButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(MainForm->TutorialButton, Qt::LeftButton);
    MainForm->TutorialButton->setFocus();
    QTest::keyClick(MainForm->TutorialButton, Qt::Key_Space);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(shell.endRequests, 0);
}

TEST_F(TitleScreen, ExitAndTheCloseBoxEndTheProgram) {
    MainForm->show();
    QTest::mouseClick(MainForm->ExitButton, Qt::LeftButton);
    EXPECT_EQ(shell.endRequests, 1);
    MainForm->close();
    EXPECT_EQ(shell.endRequests, 2);
}

TEST_F(TitleScreen, NewGameHidesTheTitleAndShowsTheWizard) {
    MainForm->show();
    QTest::mouseClick(MainForm->NewGameButton, Qt::LeftButton);
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_TRUE(NewGameForm->isVisible());
}

TEST_F(TitleScreen, LoadGameAsksForAFileAndKeepsItsName) {
    MainForm->show();
    shell.openAnswers.push_back(std::nullopt);
    QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);
    ASSERT_EQ(shell.openRequests.size(), 1u);
    EXPECT_EQ(shell.openRequests[0].title, "Open Existing Game");
    EXPECT_EQ(shell.openRequests[0].filter,
              "Game Files (*.hst, *.p*)|*.hst; *.p*|Host Files (*.hst)|*.hst|Player Files "
              "(*.p*)|*.p*|All Files (*.*)|*.*");
    EXPECT_TRUE(MainForm->isVisible());  // cancelled: nothing happens

    shell.openAnswers.push_back(std::string("/games/war.hst"));
    QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);
    EXPECT_EQ(MainForm->OpenGameDialog.FileName, "/games/war.hst");
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_TRUE(HostForm->isVisible());
}

TEST_F(TitleScreen, UpperCaseHostNameOpensNothing) {
    MainForm->show();
    shell.openAnswers.push_back(std::string("/games/GAME.HST"));
    QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(HostForm->isVisible());
}

}  // namespace
