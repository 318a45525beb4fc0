// "Load Game" with the program's own views: the view engine on the main screen, with a
// sphere mesh and the tile art written into a temporary working folder.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "app/game_options_form.h"
#include "app/load_game.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/player_file.h"
#include "game/world_map.h"
#include "platform/gfx/rm/frame.h"
#include "platform/gfx/rm/mesh.h"
#include "platform/gfx/rm/texture.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "support/view_files.h"
#include "view/loading_form.h"
#include "view/main_map.h"
#include "view/main_screen_form.h"
#include "view/view_engine.h"

namespace {

// Writes a sphere mesh, the tile art and a player file of a striped world into dir (the
// working folder) and returns the player file's path.
std::string WriteStripedGame(TempDir& dir) {
    if (!WriteViewFiles(dir, 12, 24))
        return {};
    auto world = std::make_unique<WorldMap>();
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            world->At(row, column).Terrain =
                (column / 32) % 2 == 0 ? TerrainDeepWater : TerrainLowland;
        }
    }
    WriteBytes(dir.File("war.p01"), EncodePlayerFile(TitleState{}, *world, {}));
    return dir.File("war.p01");
}

// A striped game in a temporary working folder, loaded through "Load Game".
class GameViews : public ::testing::Test {
protected:
    void Load() {
        const std::string playerFile = WriteStripedGame(dir);
        ASSERT_FALSE(playerFile.empty());
        MainForm->show();
        shell.openAnswers.push_back(playerFile);
        QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);
    }

    TempDir dir;
    WorkingDirectory cwd{dir.path()};
    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
};

TEST_F(GameViews, LoadedGameShowsTheGlobeAndTheLargeMap) {
    Load();

    for (const auto& message : shell.messages) {
        ADD_FAILURE() << message.caption << ": " << message.text;
    }
    ASSERT_TRUE(Game().Loaded());
    EXPECT_EQ(Form1->CGauge1->Progress(), 100);
    EXPECT_TRUE(Main_ScreenForm->MainMapPosDisplay->text().startsWith("Map Creation Time"));

    // One render pass fills both paint boxes with something other than black.
    Main_ScreenForm->GlobeMapImagePaint();
    const QImage picture = Main_ScreenForm->ScreenPicture();
    auto litPixels = [&picture](const PaintBoxPlace& place) {
        int lit = 0;
        for (int y = 0; y < place.height; ++y) {
            for (int x = 0; x < place.width; ++x) {
                const QRgb pixel =
                    picture.pixel(place.panelLeft + place.left + x, place.panelTop + place.top + y);
                if ((pixel & 0xFFFFFF) != 0)
                    ++lit;
            }
        }
        return lit;
    };
    EXPECT_GT(litPixels(Main_ScreenForm->GlobePaintBox()), 1000);
    EXPECT_GT(litPixels(Main_ScreenForm->MainMapPaintBox()), 10000);

    // Holding the right globe button for three ticks turns the globe by 0.3 radian about
    // its own axis, and the large map takes the globe's orientation.
    GlobeScene* globe = GlobeOf(*Game().World());
    ASSERT_NE(globe, nullptr);
    gfx::rm::Vec3 before, after, up;
    ASSERT_EQ(globe->GlobeFrame->GetOrientation(globe->SceneFrame.get(), before, up), 0);
    // The ticks are given by hand; the repaints the copies ask for run in between and must
    // not render (and so turn the globe) again.
    QTest::mousePress(Main_ScreenForm->GlobeButtonRight, Qt::LeftButton);
    Main_ScreenForm->GlobeButtonScrollTimer->stop();
    for (int tick = 0; tick < 3; ++tick) {
        Main_ScreenForm->GlobeButtonScrollTimerTimer();
        QApplication::processEvents();
    }
    QTest::mouseRelease(Main_ScreenForm->GlobeButtonRight, Qt::LeftButton);
    Main_ScreenForm->GlobeButtonScrollTimerTimer();  // released: no further turn
    ASSERT_EQ(globe->GlobeFrame->GetOrientation(globe->SceneFrame.get(), after, up), 0);
    const float dot = before.x * after.x + before.y * after.y + before.z * after.z;
    EXPECT_NEAR(std::acos(std::clamp(dot, -1.0f, 1.0f)), 0.3f, 1e-3);
    MainMap* map = Game().Map();
    gfx::rm::Vec3 mapDirection;
    ASSERT_EQ(map->MapFrame->GetOrientation(map->SceneFrame.get(), mapDirection, up), 0);
    EXPECT_NEAR(mapDirection.x, after.x, 1e-4);
    EXPECT_NEAR(mapDirection.y, after.y, 1e-4);
    EXPECT_NEAR(mapDirection.z, after.z, 1e-4);

    Main_ScreenForm->close();
    EXPECT_FALSE(Game().Loaded());
    EXPECT_EQ(shell.endRequests, 0);
}

TEST_F(GameViews, NewResolutionRebuildsEveryTextureOfTheLargeMap) {
    Load();
    ASSERT_TRUE(Game().Loaded());
    ASSERT_EQ(Game().Map()->TextureSurfaces[0][0]->Width(), 50);
    Main_ScreenForm->MainMapPosDisplay->setText(QString());

    // "Low (75x75)" and "Okay".
    GameOptionsForm->show();
    QTest::mouseClick(GameOptionsForm->TextureResolutionItems->button(3), Qt::LeftButton);
    QTest::mouseClick(GameOptionsForm->OkayButton, Qt::LeftButton);

    for (const auto& message : shell.messages) {
        ADD_FAILURE() << message.caption << ": " << message.text;
    }
    EXPECT_EQ(MainForm->State.TextureResolution, 75);
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_TRUE(Main_ScreenForm->MainMapPosDisplay->text().startsWith("Map Creation Time"));

    // The new map has its 1152 groups, each textured with its own 75 x 75 texture that
    // holds a part of the picture (the stripes are sea and land: never black throughout).
    MainMap* map = Game().Map();
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(map->MapMesh->GroupCount(), kMapGroupRows * kMapGroupColumns);
    int blackTextures = 0;
    for (int g = 0; g < kMapGroupRows; ++g) {
        for (int h = 0; h < kMapGroupColumns; ++h) {
            const gfx::Surface& surface = *map->TextureSurfaces[g][h];
            ASSERT_EQ(surface.Width(), 75);
            ASSERT_EQ(surface.Height(), 75);
            const gfx::rm::Texture* texture = map->MapMesh->GroupTexture(
                static_cast<gfx::rm::GroupIndex>(g * kMapGroupColumns + h));
            ASSERT_NE(texture, nullptr);
            EXPECT_EQ(&texture->Image(), &surface);
            if (surface.View().Row(37)[4 * 37] == 0 && surface.View().Row(37)[4 * 37 + 1] == 0 &&
                surface.View().Row(37)[4 * 37 + 2] == 0) {
                ++blackTextures;
            }
        }
    }
    EXPECT_EQ(blackTextures, 0);

    // The next render pass draws the new map.
    Main_ScreenForm->GlobeMapImagePaint();
    const QImage picture = Main_ScreenForm->ScreenPicture();
    const PaintBoxPlace place = Main_ScreenForm->MainMapPaintBox();
    int lit = 0;
    for (int y = 0; y < place.height; ++y) {
        for (int x = 0; x < place.width; ++x) {
            if ((picture.pixel(place.panelLeft + place.left + x, place.panelTop + place.top + y) &
                 0xFFFFFF) != 0)
                ++lit;
        }
    }
    EXPECT_GT(lit, 10000);

    Main_ScreenForm->close();
    EXPECT_EQ(shell.endRequests, 0);
}

}  // namespace
