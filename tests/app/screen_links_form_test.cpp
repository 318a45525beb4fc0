// The screens of the subsystems reach the title screen and the other screens only through the
// links that the screen set wires; these tests follow each link to the window it must reach.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <string>
#include <vector>

#include "app/city_design_form.h"
#include "app/credits_form.h"
#include "app/game_options_form.h"
#include "app/help_form.h"
#include "app/known_bugs_form.h"
#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "app/version_history_form.h"
#include "game/title_screen_link.h"
#include "game/world_map.h"
#include "platform/os/scripted_ui_shell.h"
#include "research/research_form.h"
#include "support/quiet_views.h"
#include "units/unit_form.h"
#include "view/loading_form.h"
#include "view/main_screen_form.h"

namespace {

// Views that do nothing but report the large map's progress, so the rebuild can be followed.
class ProgressViews final : public QuietViews {
public:
    explicit ProgressViews(std::vector<std::string>& log) : log_(log) {}
    bool SetUpLargeMap(MainMap&, const WorldMap&, int resolution,
                       const LoadProgressFn& progress) override {
        log_.push_back("map " + std::to_string(resolution));
        progress(60);
        log_.push_back("gauge " + std::to_string(Form1->CGauge1->Progress()));
        return true;
    }

private:
    std::vector<std::string>& log_;
};

class ScreenLinks : public ::testing::Test {
protected:
    ScreenLinks() {
        SetGameViewsFactory([this] { return std::make_unique<ProgressViews>(log); });
    }
    ~ScreenLinks() override {
        Game().Destroy();
        SetGameViewsFactory(nullptr);
    }

    // Triggers a menu item that opens a modal window and returns the window that was open
    // modally (closed again at once), or nullptr when none opened.
    static QWidget* ModalOpenedBy(QAction* item) {
        QWidget* opened = nullptr;
        QTimer::singleShot(0, [&opened] {
            opened = QApplication::activeModalWidget();
            if (opened != nullptr)
                opened->close();
        });
        item->trigger();
        QApplication::processEvents();
        return opened;
    }

    ScriptedUiShell shell;
    ScopedShell installed{shell};
    std::vector<std::string> log;
};

TEST_F(ScreenLinks, TheScreenSetInstallsTheTitleScreenAndTakesItBackWhenItGoes) {
    TitleScreen().Values().TextureResolution = 77;  // the stand-in keeps its own values
    {
        ScreenSet screens;
        EXPECT_EQ(&TitleScreen(), static_cast<TitleScreenLink*>(MainForm));
        MainForm->OpenGameDialog.FileName = "war.p01";
        EXPECT_EQ(TitleScreen().GameFileName(), "war.p01");
        EXPECT_EQ(TitleScreen().Values().TextureResolution, 50);

        MainForm->hide();
        TitleScreen().ShowTitleScreen();
        EXPECT_TRUE(MainForm->isVisible());
    }
    EXPECT_EQ(TitleScreen().Values().TextureResolution, 77);
    EXPECT_EQ(TitleScreen().GameFileName(), "");
    TitleScreen().Values() = TitleState();
}

TEST_F(ScreenLinks, EveryMenuItemOfTheMainScreenOpensItsWindow) {
    ScreenSet screens;
    TMain_ScreenForm* f = Main_ScreenForm;

    f->UnitDesign1->trigger();
    EXPECT_TRUE(UnitForm->isVisible());
    f->City1->trigger();
    EXPECT_TRUE(CityDesignForm->isVisible());
    f->MainMenuOrdersResearch->trigger();
    EXPECT_TRUE(ResearchForm->isVisible());
    // Help opens its window, or says that the help file is missing where none lies.
    f->MainMenuHelpContents->trigger();
    if (f->HelpForm != nullptr) {
        EXPECT_TRUE(f->HelpForm->isVisible());
    } else {
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].caption, "Help");
    }

    EXPECT_EQ(ModalOpenedBy(f->GameOptions1), GameOptionsForm);
    EXPECT_EQ(ModalOpenedBy(f->Credits1), CreditsForm);
    EXPECT_EQ(ModalOpenedBy(f->VersionHistory1), VersionHistoryForm);
    EXPECT_EQ(ModalOpenedBy(f->KnownBugs1), KnownBugsForm);
}

TEST_F(ScreenLinks, AMainScreenLeftUnlinkedOpensNothingAndSurvivesEveryItem) {
    TMain_ScreenForm alone;
    for (QAction* item :
         {alone.UnitDesign1, alone.City1, alone.MainMenuOrdersResearch, alone.MainMenuHelpContents,
          alone.GameOptions1, alone.Credits1, alone.VersionHistory1, alone.KnownBugs1}) {
        item->trigger();
    }
    EXPECT_EQ(alone.HelpForm, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(ScreenLinks, TheRebuildUsesTheTitleScreensResolutionAndTheLoadingNotice) {
    ScreenSet screens;
    Game().Create(MakeGameViews());
    MainForm->State.TextureResolution = 100;

    Main_ScreenForm->ShowLoadingNotice();
    EXPECT_TRUE(Form1->isVisible());
    Main_ScreenForm->DestroyMainMap();
    Main_ScreenForm->CreateMainMap();
    Main_ScreenForm->CloseLoadingNotice();
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(log, (std::vector<std::string>{"map 100", "gauge 60"}));
}

TEST_F(ScreenLinks, ClosingTheGameTakesTheRebuildAwayFromTheGameOptions) {
    ScreenSet screens;
    Game().Create(MakeGameViews());
    GameOptionsForm->SetMainMapRebuild(Main_ScreenForm);
    MainForm->hide();
    Main_ScreenForm->show();
    Main_ScreenForm->close();
    EXPECT_TRUE(MainForm->isVisible());

    // "Okay" now only stores the resolution: no notice, no new map.
    GameOptionsForm->SetItemIndex(0);
    GameOptionsForm->OkayButtonClick();
    EXPECT_EQ(MainForm->State.TextureResolution, 200);
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_TRUE(log.empty());
}

}  // namespace
