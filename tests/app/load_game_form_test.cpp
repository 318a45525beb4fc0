// "Load Game": which screen a chosen file opens, and the loading notice's gauge while the
// large map is built.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/game_options_form.h"
#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/player_file.h"
#include "game/world_map.h"
#include "host/host_form.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/file_contents.h"
#include "support/quiet_views.h"
#include "support/temp_dir.h"
#include "view/loading_form.h"
#include "view/main_screen_form.h"

namespace {

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Views that build nothing; the large map advances the gauge in steps and notes how often
// the gauge has been painted before the first step and after each one.
class SteppingViews final : public QuietViews {
public:
    SteppingViews(std::vector<int>& paintsAfterSteps, const PaintCounter& counter,
                  const std::function<void()>& duringBuild)
        : paintsAfterSteps_(paintsAfterSteps), counter_(counter), duringBuild_(duringBuild) {}
    bool SetUpLargeMap(MainMap&, const WorldMap&, int, const LoadProgressFn& progress) override {
        paintsAfterSteps_.push_back(counter_.paints);
        for (int percent : {10, 35, 60, 100}) {
            progress(percent);
            paintsAfterSteps_.push_back(counter_.paints);
        }
        if (duringBuild_)
            duringBuild_();
        return true;
    }

private:
    std::vector<int>& paintsAfterSteps_;
    const PaintCounter& counter_;
    const std::function<void()>& duringBuild_;
};

class LoadGame : public ::testing::Test {
protected:
    LoadGame() {
        SetGameViewsFactory([this] {
            return std::make_unique<SteppingViews>(paintsAfterSteps, counter, duringBuild);
        });
        Form1->CGauge1->installEventFilter(&counter);
    }
    ~LoadGame() override {
        Form1->CGauge1->removeEventFilter(&counter);
        Main_ScreenForm->close();
        Game().Destroy();
        SetGameViewsFactory(nullptr);
    }

    // A player file of an empty world at `relative` inside the temporary folder.
    std::string WritePlayerFile(const std::string& relative) {
        const std::filesystem::path path = dir.path() / relative;
        std::filesystem::create_directories(path.parent_path());
        auto world = std::make_unique<WorldMap>();
        WriteBytes(path, EncodePlayerFile(TitleState{}, *world, {}));
        return path.string();
    }

    void Load(const std::string& path) {
        // The loading sequence lets the window system run once after showing the notice.
        shell.onProcessEvents = [] { QApplication::processEvents(); };
        MainForm->show();
        shell.openAnswers.push_back(path);
        QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);
    }

    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    PaintCounter counter;
    std::vector<int> paintsAfterSteps;
    std::function<void()> duringBuild;  // run while the large map is built
};

TEST(GameFileKind, IsDecidedByTheFileNameAlone) {
    struct Case {
        const char* path;
        bool host;
        bool player;
    };
    const Case cases[] = {
        {"/games/war.hst", true, false},
        {"/games/war.p01", false, true},
        {"/x/league.hst.d/war.p01", false, true},
        {"/x/my.plans/war.hst", true, false},
        {"/x/my.plans/war", false, false},
        {"/x/league.hst/readme", false, false},
        {"war.p10", false, true},
        {"/games/GAME.HST", false, false},
        // A name with ".hst" is never read as a player file.
        {"/games/war.hst.p01", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsHostFilePath(c.path), c.host);
        EXPECT_EQ(IsPlayerFilePath(c.path), c.player);
    }
}

TEST_F(LoadGame, APlayerFileInAFolderNamedLikeAHostFileLoadsTheGame) {
    Load(WritePlayerFile("league.hst.d/war.p01"));
    EXPECT_TRUE(Game().Loaded());
    EXPECT_TRUE(Main_ScreenForm->isVisible());
    EXPECT_FALSE(HostForm->isVisible());
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(LoadGame, TheGaugeIsPaintedAtEveryAdvance) {
    Load(WritePlayerFile("war.p01"));
    ASSERT_TRUE(Game().Loaded());
    // No event is processed while the map is built: each advance paints the gauge itself.
    ASSERT_EQ(paintsAfterSteps.size(), 5u);
    for (std::size_t step = 1; step < paintsAfterSteps.size(); ++step)
        EXPECT_GT(paintsAfterSteps[step], paintsAfterSteps[step - 1]) << "step " << step;
    EXPECT_EQ(Form1->CGauge1->Progress(), 100);
    // And each advance lets the window system draw (a new window is shown in its own time),
    // never taking the user's input.
    EXPECT_EQ(shell.processPaintsCalls, 4);
    EXPECT_EQ(shell.processEventsCalls, 1);
}

TEST_F(LoadGame, TheMainScreenStaysOpenWhileItsLargeMapIsRebuilt) {
    Load(WritePlayerFile("war.p01"));
    ASSERT_TRUE(Game().Loaded());
    // Closing the main screen while the map is rebuilt at another resolution is refused:
    // it would destroy the game under the rebuild.
    duringBuild = [] { Main_ScreenForm->close(); };
    GameOptionsForm->show();
    QTest::mouseClick(GameOptionsForm->TextureResolutionItems->button(3), Qt::LeftButton);
    QTest::mouseClick(GameOptionsForm->OkayButton, Qt::LeftButton);
    EXPECT_EQ(MainForm->State.TextureResolution, 75);
    EXPECT_TRUE(Game().Loaded());
    EXPECT_TRUE(Main_ScreenForm->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    // Afterwards the screen closes as usual.
    duringBuild = nullptr;
    Main_ScreenForm->close();
    EXPECT_FALSE(Game().Loaded());
}

}  // namespace
