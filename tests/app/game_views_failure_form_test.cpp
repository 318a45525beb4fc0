// A loaded game's views when a platform call fails inside a render pass, and the release of
// the game's graphics objects when the main screen closes.
#include <gtest/gtest.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <string>
#include <vector>

#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/player_file.h"
#include "game/world_map.h"
#include "platform/gfx/result.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "support/view_files.h"
#include "view/engine_views.h"
#include "view/main_map.h"
#include "view/main_screen_form.h"
#include "view/view_engine.h"

namespace {

constexpr gfx::Result kCode = gfx::DDERR_SURFACELOST;

// The mesh, the tile art and a player file of a world half sea, half land, in dir (the
// working folder); returns the player file's path.
std::string WriteGame(TempDir& dir) {
    if (!WriteViewFiles(dir, 8, 16))
        return {};
    auto world = std::make_unique<WorldMap>();
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column)
            world->At(row, column).Terrain = column < 128 ? TerrainDeepWater : TerrainLowland;
    }
    WriteBytes(dir.File("war.p01"), EncodePlayerFile(TitleState{}, *world, {}));
    return dir.File("war.p01");
}

// Replaces a held reference by one that notes `name` in `log` when it is let go.
template <typename T>
void NoteRelease(std::shared_ptr<T>& held, const char* name, std::vector<std::string>& log) {
    ASSERT_NE(held, nullptr) << name;
    std::shared_ptr<T> original = held;
    held = std::shared_ptr<T>(original.get(), [original, name, &log](T*) mutable {
        log.emplace_back(name);
        original.reset();
    });
}

// A game loaded through "Load Game" with the program's views, whose platform calls follow
// a fault plan.
class FailingViews : public ::testing::Test {
protected:
    FailingViews() {
        SetGameViewsFactory([this] { return MakeEngineViews(*Main_ScreenForm, Game(), faults); });
    }
    ~FailingViews() override {
        shell.onShowMessage = nullptr;
        Main_ScreenForm->close();
        Game().Destroy();
        SetGameViewsFactory(nullptr);
    }

    void Load() {
        const std::string playerFile = WriteGame(dir);
        ASSERT_FALSE(playerFile.empty());
        MainForm->show();
        shell.openAnswers.push_back(playerFile);
        QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);
        ASSERT_TRUE(Game().Loaded());
        ASSERT_TRUE(shell.messages.empty());
        // Render passes run only when the test asks for them.
        QApplication::processEvents();
    }

    // The next call of the operation fails.
    void FailNext(const char* operation) {
        faults->FailCall(operation, faults->Calls(operation) + 1, kCode);
    }

    TempDir dir;
    WorkingDirectory cwd{dir.path()};
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    std::shared_ptr<gfx::FaultPlan> faults = std::make_shared<gfx::FaultPlan>();
};

TEST_F(FailingViews, ARenderFailureStopsTheTimersAndNoPassRunsWhileItsBoxIsUp) {
    Load();
    TMain_ScreenForm* f = Main_ScreenForm;
    QTest::mousePress(f->GlobeButtonRight, Qt::LeftButton);
    QTest::mousePress(f->MapZoomButton, Qt::LeftButton);
    ASSERT_TRUE(f->GlobeButtonScrollTimer->isActive());
    ASSERT_TRUE(f->MapButtonScrollTimer->isActive());

    // While the box is up its event loop delivers ticks and paints: none may start a pass,
    // copy the map or open another box.
    bool timersRunWithTheBoxUp = true;
    int passesWithTheBoxUp = -1;
    shell.onShowMessage = [&](const ScriptedUiShell::Message&) {
        timersRunWithTheBoxUp =
            f->GlobeButtonScrollTimer->isActive() || f->MapButtonScrollTimer->isActive();
        const int moves = faults->Calls("Move");
        const int copies = faults->Calls("Blt");
        f->GlobeButtonScrollTimerTimer();
        f->MapButtonScrollTimerTimer();
        f->GlobeMapImagePaint();
        f->MainMapImagePaint();
        f->DragViews(5, 0, 0.01f);
        f->WheelGlobe(1);
        QApplication::processEvents();
        passesWithTheBoxUp = faults->Calls("Move") - moves + faults->Calls("Blt") - copies;
    };
    FailNext("Render");
    f->GlobeButtonScrollTimerTimer();

    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, gfx::ErrorName(kCode));
    EXPECT_EQ(shell.messages[0].caption, "Unable to render globe");
    EXPECT_EQ(shell.endRequests, 1);
    EXPECT_FALSE(timersRunWithTheBoxUp);
    EXPECT_EQ(passesWithTheBoxUp, 0);
    EXPECT_FALSE(f->GlobeButtonScrollTimer->isActive());
    EXPECT_FALSE(f->MapButtonScrollTimer->isActive());
}

TEST_F(FailingViews, FailuresOfRotationsAndCopiesOpenOneBoxEachAndStartNoTimer) {
    Load();
    TMain_ScreenForm* f = Main_ScreenForm;
    const std::string name(gfx::ErrorName(kCode));
    int nestedPasses = 0;
    shell.onShowMessage = [&](const ScriptedUiShell::Message&) {
        const int before = faults->Calls("Blt");
        f->MainMapImagePaint();
        f->GlobeMapImagePaint();
        nestedPasses += faults->Calls("Blt") - before;
    };

    // The rotation fails on the press: the box, and no timer after it.
    FailNext("SetRotation");
    QTest::mousePress(f->GlobeButtonUp, Qt::LeftButton);
    EXPECT_FALSE(f->GlobeButtonScrollTimer->isActive());
    QTest::mouseRelease(f->GlobeButtonUp, Qt::LeftButton);
    FailNext("SetRotation");
    QTest::mousePress(f->MainMapScrollDownButton, Qt::LeftButton);
    EXPECT_FALSE(f->MapButtonScrollTimer->isActive());
    QTest::mouseRelease(f->MainMapScrollDownButton, Qt::LeftButton);

    // The two copies onto the screen name the failure under their own captions.
    FailNext("Blt");
    f->GlobeMapImagePaint();
    FailNext("Blt");
    f->MainMapImagePaint();

    ASSERT_EQ(shell.messages.size(), 4u);
    EXPECT_EQ(shell.messages[0].text, name);
    EXPECT_EQ(shell.messages[0].caption, "Unable to rotate world frame");
    EXPECT_EQ(shell.messages[1].caption, "Unable to rotate world frame");
    EXPECT_EQ(shell.messages[2].text, name);
    EXPECT_EQ(shell.messages[2].caption, "Primary Surface Blt Error");
    EXPECT_EQ(shell.messages[3].text, name);
    EXPECT_EQ(shell.messages[3].caption, "Main Map Primary Surface Blt Error");
    EXPECT_EQ(nestedPasses, 0);
}

TEST_F(FailingViews, ClosingReleasesTheLargeMapThenTheGlobeInTheirOrders) {
    Load();
    std::vector<std::string> log;
    MainMap& map = *Game().Map();
    NoteRelease(map.TextureSurfaces[0][0], "map texture surface 0", log);
    NoteRelease(map.Textures[0][0], "map texture 0", log);
    NoteRelease(map.TextureSurfaces[kMapGroupRows - 1][kMapGroupColumns - 1],
                "map texture surface 1151", log);
    NoteRelease(map.AmbientLight, "light", log);
    NoteRelease(map.MapMesh, "mesh", log);
    NoteRelease(map.MapFrame, "map frame", log);
    NoteRelease(map.CameraFrame, "map camera frame", log);
    NoteRelease(map.SceneFrame, "map scene frame", log);
    NoteRelease(map.MapViewport, "map viewport", log);
    GlobeScene* globe = GlobeOf(*Game().World());
    ASSERT_NE(globe, nullptr);
    NoteRelease(globe->GlobeWrap, "wrap", log);
    NoteRelease(globe->GlobeMeshBuilder, "mesh builder", log);
    NoteRelease(globe->GlobeTexture, "globe texture", log);
    NoteRelease(globe->CameraFrame, "globe camera frame", log);
    NoteRelease(globe->GlobeFrame, "globe frame", log);
    NoteRelease(globe->SceneFrame, "globe scene frame", log);
    NoteRelease(globe->GlobeViewport, "globe viewport", log);

    Main_ScreenForm->close();

    EXPECT_FALSE(Game().Loaded());
    EXPECT_EQ(
        log, (std::vector<std::string>{
                 "map texture surface 0", "map texture 0", "map texture surface 1151", "light",
                 "mesh", "map frame", "map camera frame", "map scene frame", "map viewport", "wrap",
                 "mesh builder", "globe texture", "globe camera frame", "globe frame",
                 "globe scene frame", "globe viewport"}));
    EXPECT_TRUE(shell.messages.empty());
}

}  // namespace
