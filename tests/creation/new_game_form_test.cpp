#include "creation/new_game_form.h"

#include <gtest/gtest.h>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <filesystem>
#include <set>
#include <string>

#include "app/main_form.h"
#include "app/screens.h"
#include "platform/os/scripted_ui_shell.h"
#include "race/race_file.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> FilesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file())
            names.insert(entry.path().filename().string());
    }
    return names;
}

class NewGameWizard : public ::testing::Test {
protected:
    TempDir dir;
    WorkingDirectory cwd{dir.path()};
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    FixedClock clock;
    TNewGameForm* form = nullptr;

    void SetUp() override {
        form = NewGameForm;
        form->SeedClock = &clock;
        MainForm->show();
        QTest::mouseClick(MainForm->NewGameButton, Qt::LeftButton);
        ASSERT_TRUE(form->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }

    // Radio buttons are hit on their indicator.
    static void ClickRadio(QRadioButton* item) {
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(7, item->height() / 2));
    }

    void SetStatus(int player, int status) {
        ClickRadio(form->PlayerStatus[static_cast<size_t>(player - 1)]->Item(status));
    }

    void ClickTab(int page) {
        QTabBar* tabs = form->NewGamePageControl->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    }

    // A race file whose name holds backslashes, as a path of the other desktop would.
    std::string WriteElves() {
        RaceRecord race;
        race.NameSingular = "Elf";
        race.NamePlural = "Elves";
        race.LeaderName = "Ara";
        race.LeaderTitle = "King";
        race.Version = 3.634f;
        race.DesignSlots = {7, 5, 6, 8, 5, 4, 4, 3};
        const std::string path = dir.File("C:\\races\\elf.rce");
        EXPECT_FALSE(WriteRaceFile(path, race).has_value());
        return path;
    }

    QString Text(const QLabel* label) const { return label->text(); }
};

TEST_F(NewGameWizard, IsLaidOutAsDesigned) {
    EXPECT_EQ(form->windowTitle(), "New Game");
    EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
    QTabWidget* pages = form->NewGamePageControl;
    ASSERT_EQ(pages->count(), 4);
    EXPECT_EQ(pages->tabText(0), "Player Data");
    EXPECT_EQ(pages->tabText(1), "Winning Conditions");
    EXPECT_EQ(pages->tabText(2), "World Data");
    EXPECT_EQ(pages->tabText(3), "Generate");
    EXPECT_EQ(pages->widget(0), form->TabSheet1);
    EXPECT_EQ(pages->widget(1), form->TabSheet2);
    EXPECT_EQ(pages->widget(2), form->TabSheet4);
    EXPECT_EQ(pages->widget(3), form->TabSheet3);
    EXPECT_EQ(pages->currentIndex(), TNewGameForm::PlayerDataPage);
    EXPECT_TRUE(form->TabSheet2->children().isEmpty());

    EXPECT_EQ(form->GameNameEditBox->text(), "Game Name");
    EXPECT_EQ(form->GameNameEditBox->geometry(), QRect(24, 32, 121, 21));
    EXPECT_EQ(form->GameFile->text(), "GameFile");
    EXPECT_EQ(form->GameFile->geometry(), QRect(208, 32, 121, 21));
    for (int n = 1; n <= kPlayerCount; ++n) {
        SCOPED_TRACE(n);
        const size_t i = static_cast<size_t>(n - 1);
        const TRadioGroup* group = form->PlayerStatus[i];
        EXPECT_EQ(group->title(), QStringLiteral("Player %1").arg(n));
        EXPECT_EQ(group->geometry(), QRect(24, 72 + 40 * (n - 1), 209, 33));
        ASSERT_EQ(group->Count(), 3);
        EXPECT_EQ(group->Item(0)->text(), "None");
        EXPECT_EQ(group->Item(1)->text(), "Human");
        EXPECT_EQ(group->Item(2)->text(), "Computer");
        EXPECT_EQ(group->ItemIndex(), TNewGameForm::StatusNone);
        // Three columns side by side.
        EXPECT_LT(group->Item(0)->x(), group->Item(1)->x());
        EXPECT_EQ(group->Item(0)->y(), group->Item(2)->y());
        EXPECT_EQ(form->PlayerRaceButton[i]->geometry(), QRect(240, 80 + 40 * (n - 1), 50, 25));
        EXPECT_EQ(form->PlayerRaceButton[i]->text(), "Browse");
        EXPECT_FALSE(form->PlayerRaceButton[i]->isEnabled());
        EXPECT_EQ(form->RaceName[i]->pos(), QPoint(304, 90 + 40 * (n - 1)));
        EXPECT_EQ(form->RaceName[i]->text(), "Default");
        EXPECT_FALSE(form->RaceName[i]->isVisible());
        EXPECT_EQ(form->Players[i].InPlay, 0);
    }

    const TRadioGroup* size = form->WorldSizeRadioGroup;
    EXPECT_EQ(size->geometry(), QRect(8, 16, 185, 105));
    EXPECT_TRUE(size->font().bold());
    ASSERT_EQ(size->Count(), 6);
    EXPECT_EQ(size->ItemIndex(), 4);
    EXPECT_EQ(size->Item(4)->text(), "Large");
    // Two columns, filled top to bottom: Asteroid, Tiny, Small, then Medium, Large, Huge.
    EXPECT_EQ(size->Item(0)->x(), size->Item(2)->x());
    EXPECT_LT(size->Item(2)->x(), size->Item(3)->x());
    EXPECT_EQ(size->Item(0)->y(), size->Item(3)->y());
    EXPECT_EQ(form->LandMassPercentInput->geometry(), QRect(80, 133, 41, 21));
    EXPECT_EQ(form->LandMassPercentInput->displayText(), "40 %");

    EXPECT_EQ(form->GameCreationLabel->text(), "Game Creation - Pending");
    EXPECT_EQ(form->GameCreationLabel->pos(), QPoint(512, 335));
    EXPECT_TRUE(form->GameCreationLabel->font().underline());
    EXPECT_EQ(form->Bevel1->geometry(), QRect(464, 314, 297, 177));
    EXPECT_EQ(form->StatusLabelTopography->text(), "Create World Topography:");
    EXPECT_EQ(form->TopographyProgressBar->geometry(), QRect(632, 362, 100, 17));
    EXPECT_EQ(form->StatusLabelSeaLevel->text(), "Adjust Sea Level:");
    EXPECT_EQ(form->SeaLevelProgressBar->geometry(), QRect(632, 386, 100, 17));
    EXPECT_EQ(form->CreateGameButton->geometry(), QRect(480, 504, 75, 25));
    EXPECT_EQ(form->CancelButton->geometry(), QRect(560, 504, 75, 25));
    EXPECT_EQ(form->ExitButton->geometry(), QRect(640, 504, 75, 25));
    EXPECT_TRUE(form->CreateGameButton->isEnabled());
    EXPECT_FALSE(form->CancelButton->isEnabled());
    EXPECT_TRUE(form->ExitButton->isEnabled());
}

TEST_F(NewGameWizard, ASlotKeepsItsRaceThroughEveryStatus) {
    const std::string elves = WriteElves();
    SetStatus(2, TNewGameForm::StatusHuman);
    EXPECT_EQ(form->Players[1].InPlay, 1);
    EXPECT_TRUE(form->PlayerRaceButton[1]->isEnabled());
    EXPECT_TRUE(form->RaceName[1]->isVisible());
    EXPECT_EQ(Text(form->RaceName[1]), "Default");

    shell.openAnswers.push_back(elves);
    QTest::mouseClick(form->PlayerRaceButton[1], Qt::LeftButton);
    ASSERT_EQ(shell.openRequests.size(), 1u);
    EXPECT_EQ(shell.openRequests[0].filter, "Race Files (*.rce)|*.rce|All Files (*.*)|*.*");
    EXPECT_EQ(Text(form->RaceName[1]), "The Elves (elf.rce)");
    EXPECT_EQ(form->Players[1].Race.NamePlural, "Elves");
    EXPECT_EQ(form->Players[1].Race.Version, 3.634f);

    // "Human" to "Computer": still in play, the button enabled, the race kept.
    SetStatus(2, TNewGameForm::StatusComputer);
    EXPECT_EQ(form->Players[1].InPlay, 1);
    EXPECT_TRUE(form->PlayerRaceButton[1]->isEnabled());
    EXPECT_TRUE(form->RaceName[1]->isVisible());
    EXPECT_EQ(form->Players[1].Race.LeaderName, "Ara");

    // "None": out of play, the label hidden, the race kept.
    SetStatus(2, TNewGameForm::StatusNone);
    EXPECT_EQ(form->Players[1].InPlay, 0);
    EXPECT_FALSE(form->PlayerRaceButton[1]->isEnabled());
    EXPECT_FALSE(form->RaceName[1]->isVisible());
    EXPECT_EQ(form->Players[1].Race.NamePlural, "Elves");

    SetStatus(2, TNewGameForm::StatusHuman);
    EXPECT_TRUE(form->RaceName[1]->isVisible());
    EXPECT_EQ(Text(form->RaceName[1]), "The Elves (elf.rce)");

    // A cancelled dialog and a refused file leave the label and the race as they were.
    shell.openAnswers.push_back(std::nullopt);
    QTest::mouseClick(form->PlayerRaceButton[1], Qt::LeftButton);
    shell.openAnswers.push_back(dir.File("missing.rce"));
    QTest::mouseClick(form->PlayerRaceButton[1], Qt::LeftButton);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "Race File Does Not Exist!");
    EXPECT_EQ(shell.messages[0].caption, "File Error");
    EXPECT_EQ(Text(form->RaceName[1]), "The Elves (elf.rce)");
    EXPECT_EQ(form->Players[1].Race.NamePlural, "Elves");
}

TEST_F(NewGameWizard, CreatesTheFilesOfThePlayersInPlayOnly) {
    form->GameFile->setText(QStringLiteral("war"));
    SetStatus(1, TNewGameForm::StatusHuman);
    SetStatus(3, TNewGameForm::StatusHuman);
    SetStatus(7, TNewGameForm::StatusComputer);
    ClickTab(TNewGameForm::GeneratePage);
    ASSERT_EQ(form->NewGamePageControl->currentIndex(), TNewGameForm::GeneratePage);
    EXPECT_EQ(Text(form->GameNameLabel), "Game Name: Game Name");
    EXPECT_EQ(Text(form->GameFileLabel), "Game File: war");
    EXPECT_EQ(Text(form->HumanNumberLabel), "Human Players: 2");
    EXPECT_EQ(Text(form->ComputerNumberLabel), "Computer Players: 1");
    EXPECT_EQ(Text(form->WorldSizeLabel), "World Size: Large");
    EXPECT_EQ(Text(form->LandMassLabel), "Percent Land: 40 %");

    // What the screen looks like while the faults are cut.
    bool checked = false;
    shell.onProcessEvents = [&] {
        if (checked)
            return;
        checked = true;
        EXPECT_EQ(Text(form->GameCreationLabel), "Game Creation - Working");
        EXPECT_FALSE(form->CreateGameButton->isEnabled());
        EXPECT_FALSE(form->ExitButton->isEnabled());
        EXPECT_TRUE(form->CancelButton->isEnabled());
        EXPECT_FALSE(form->TabSheet1->isEnabled());
        EXPECT_FALSE(form->TabSheet2->isEnabled());
        EXPECT_FALSE(form->TabSheet4->isEnabled());
        EXPECT_EQ(form->TopographyProgressBar->value(), 0);
        EXPECT_EQ(form->SeaLevelProgressBar->value(), 0);
        ClickTab(TNewGameForm::PlayerDataPage);  // no way out of the page
        EXPECT_EQ(form->NewGamePageControl->currentIndex(), TNewGameForm::GeneratePage);
        form->close();  // nor out of the wizard
        EXPECT_TRUE(form->isVisible());
    };
    QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);

    EXPECT_TRUE(checked);
    EXPECT_EQ(shell.processEventsCalls, 10000);
    EXPECT_EQ(Text(form->GameCreationLabel), "Game Creation - Complete");
    EXPECT_EQ(form->TopographyProgressBar->value(), 100);
    EXPECT_EQ(form->SeaLevelProgressBar->value(), 100);
    EXPECT_TRUE(form->CreateGameButton->isEnabled());
    EXPECT_TRUE(form->ExitButton->isEnabled());
    EXPECT_FALSE(form->CancelButton->isEnabled());
    EXPECT_TRUE(form->TabSheet1->isEnabled());
    EXPECT_TRUE(form->TabSheet2->isEnabled());
    EXPECT_TRUE(form->TabSheet4->isEnabled());
    EXPECT_FALSE(form->Working());
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(FilesIn(dir.path()),
              (std::set<std::string>{"war.hst", "war.p01", "war.p03", "war.p07"}));
    EXPECT_EQ(form->LastCreation().World.faultIterations, 10000);

    // The slots now hold the messages written: player 2 is out of play yet has his two.
    EXPECT_EQ(form->Players[0].PendingMessages[0].Type, 1);
    EXPECT_EQ(form->Players[1].PendingMessages[0].Type, -1);
    EXPECT_EQ(form->Players[1].PendingMessages[1].Type, 4);
    EXPECT_EQ(form->Players[6].PendingMessages[0].Type, 1);
}

TEST_F(NewGameWizard, TheSummaryIsRebuiltOnEachEntryOfGenerate) {
    ClickTab(TNewGameForm::GeneratePage);
    EXPECT_EQ(Text(form->HumanNumberLabel), "Human Players: 0");
    EXPECT_EQ(Text(form->ComputerNumberLabel), "Computer Players: 0");

    // Changes made while the page stays active do not show.
    form->GameNameEditBox->setText(QStringLiteral("Conquest"));
    form->WorldSizeRadioGroup->SetItemIndex(0);
    EXPECT_EQ(Text(form->GameNameLabel), "Game Name: Game Name");
    EXPECT_EQ(Text(form->WorldSizeLabel), "World Size: Large");

    ClickTab(TNewGameForm::PlayerDataPage);
    SetStatus(4, TNewGameForm::StatusComputer);
    SetStatus(5, TNewGameForm::StatusComputer);
    SetStatus(6, TNewGameForm::StatusHuman);
    ClickTab(TNewGameForm::WorldDataPage);
    QLineEdit* land = form->LandMassPercentInput;
    land->setFocus();
    land->selectAll();
    QTest::keyClicks(land, QStringLiteral("75"));
    EXPECT_EQ(land->displayText(), "75 %");
    EXPECT_EQ(Text(form->HumanNumberLabel), "Human Players: 0");  // not on Generate yet

    ClickTab(TNewGameForm::GeneratePage);
    EXPECT_EQ(Text(form->GameNameLabel), "Game Name: Conquest");
    EXPECT_EQ(Text(form->HumanNumberLabel), "Human Players: 1");
    EXPECT_EQ(Text(form->ComputerNumberLabel), "Computer Players: 2");
    EXPECT_EQ(Text(form->WorldSizeLabel), "World Size: Asteroid");
    EXPECT_EQ(Text(form->LandMassLabel), "Percent Land: 75 %");
}

TEST_F(NewGameWizard, CancelEndsTheLoopAndWritesNothing) {
    form->GameFile->setText(QStringLiteral("war"));
    SetStatus(1, TNewGameForm::StatusHuman);
    ClickTab(TNewGameForm::GeneratePage);
    shell.onProcessEvents = [&] {
        if (shell.processEventsCalls == 3)
            QTest::mouseClick(form->CancelButton, Qt::LeftButton);
    };
    QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);

    EXPECT_EQ(shell.processEventsCalls, 3);
    EXPECT_EQ(form->LastCreation().Status, CreateGameStatus::Aborted);
    EXPECT_EQ(Text(form->GameCreationLabel), "Game Creation - Aborted");
    EXPECT_TRUE(FilesIn(dir.path()).empty());
    EXPECT_TRUE(form->CreateGameButton->isEnabled());
    EXPECT_TRUE(form->ExitButton->isEnabled());
    EXPECT_FALSE(form->CancelButton->isEnabled());
    EXPECT_TRUE(form->TabSheet1->isEnabled());
    EXPECT_EQ(form->AbortFlag, 0);
    EXPECT_EQ(form->TopographyProgressBar->value(), 0);  // trunc(1 * 100 / 9999)
    EXPECT_EQ(form->SeaLevelProgressBar->value(), 100);  // the world was still finished
}

TEST_F(NewGameWizard, RefusesWhatCannotBeCreated) {
    SetStatus(1, TNewGameForm::StatusHuman);
    ClickTab(TNewGameForm::WorldDataPage);
    QLineEdit* land = form->LandMassPercentInput;
    land->setFocus();
    land->selectAll();
    QTest::keyClicks(land, QStringLiteral("101"));
    ASSERT_EQ(land->displayText(), "101%");
    ClickTab(TNewGameForm::GeneratePage);
    QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, kLandShareRefusalText);
    EXPECT_EQ(shell.messages[0].caption, "New Game");

    land->setText(QStringLiteral("40 %"));
    form->GameFile->clear();
    QTest::mouseClick(form->CreateGameButton, Qt::LeftButton);
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1].text, kNoGameFileRefusalText);

    EXPECT_EQ(shell.processEventsCalls, 0);
    EXPECT_TRUE(FilesIn(dir.path()).empty());
    EXPECT_EQ(Text(form->GameCreationLabel), "Game Creation - Pending");
    EXPECT_TRUE(form->CreateGameButton->isEnabled());
    EXPECT_FALSE(form->CancelButton->isEnabled());
    EXPECT_EQ(form->Players[0].PendingMessages[0].Type, -1);
}

TEST_F(NewGameWizard, ClosingShowsTheTitleAndTheWizardKeepsItsState) {
    form->GameFile->setText(QStringLiteral("empire"));
    SetStatus(9, TNewGameForm::StatusComputer);
    ClickTab(TNewGameForm::WorldDataPage);
    form->close();  // the close box
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(MainForm->isVisible());

    QTest::mouseClick(MainForm->NewGameButton, Qt::LeftButton);
    ASSERT_TRUE(form->isVisible());
    EXPECT_EQ(form->NewGamePageControl->currentIndex(), TNewGameForm::WorldDataPage);
    EXPECT_EQ(form->GameFile->text(), "empire");
    EXPECT_EQ(form->Players[8].InPlay, 1);

    ClickTab(TNewGameForm::GeneratePage);
    QTest::mouseClick(form->ExitButton, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(MainForm->isVisible());
    QTest::mouseClick(MainForm->NewGameButton, Qt::LeftButton);
    EXPECT_EQ(form->NewGamePageControl->currentIndex(), TNewGameForm::GeneratePage);
    EXPECT_EQ(shell.endRequests, 0);
}

}  // namespace
