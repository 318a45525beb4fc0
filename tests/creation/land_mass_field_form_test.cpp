// The land mass field of the New Game wizard: a field left without a digit is refused like
// a share out of range, never read as 0 % land.
#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

#include "creation/create_game.h"
#include "creation/new_game_form.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"

namespace {

class LandMassField : public ::testing::Test {
protected:
    TempDir dir;
    WorkingDirectory cwd{dir.path()};
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    TNewGameForm form;

    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.GameFile->setText(QStringLiteral("war"));
        form.PlayerStatus[0]->SetItemIndex(TNewGameForm::StatusHuman);
        form.PlayerStatusClick(1);
        form.NewGamePageControl->setCurrentIndex(TNewGameForm::WorldDataPage);
    }

    void CreateGame() {
        form.NewGamePageControl->setCurrentIndex(TNewGameForm::GeneratePage);
        QTest::mouseClick(form.CreateGameButton, Qt::LeftButton);
    }

    void ExpectRefusedAndNothingDone() {
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].text, kLandShareRefusalText);
        EXPECT_EQ(shell.messages[0].caption, "New Game");
        EXPECT_EQ(shell.processEventsCalls, 0);
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
        EXPECT_EQ(form.GameCreationLabel->text(), "Game Creation - Pending");
        EXPECT_TRUE(form.CreateGameButton->isEnabled());
        EXPECT_EQ(form.Players[0].PendingMessages[0].Type, -1);
    }
};

TEST_F(LandMassField, AnEmptiedFieldIsRefusedLikeOneOutOfRange) {
    QLineEdit* land = form.LandMassPercentInput;
    land->setFocus();
    land->selectAll();
    QTest::keyClick(land, Qt::Key_Backspace);
    ASSERT_EQ(land->displayText(), "   %");
    CreateGame();
    EXPECT_EQ(form.LandMassLabel->text(), "Percent Land:    %");
    ExpectRefusedAndNothingDone();
}

TEST_F(LandMassField, DigitsDeletedOneByOneLeaveNoShare) {
    QLineEdit* land = form.LandMassPercentInput;
    land->setFocus();
    land->setCursorPosition(2);
    QTest::keyClick(land, Qt::Key_Backspace);
    QTest::keyClick(land, Qt::Key_Backspace);
    ASSERT_EQ(land->displayText(), "   %");
    CreateGame();
    ExpectRefusedAndNothingDone();
}

}  // namespace
