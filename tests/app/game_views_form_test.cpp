// "Load Game" with the program's own views: the view engine on the main screen, with a
// sphere mesh and the tile art written into a temporary working folder.
#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/game_session.h"
#include "app/main_form.h"
#include "app/screens.h"
#include "game/player_file.h"
#include "game/world_map.h"
#include "platform/gfx/rm/frame.h"
#include "platform/gfx/sphere_mesh.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"
#include "view/loading_form.h"
#include "view/main_map.h"
#include "view/main_screen_form.h"
#include "view/tile_art.h"
#include "view/tile_art_painter.h"
#include "view/view_engine.h"

namespace {

TEST(GameViews, LoadedGameShowsTheGlobeAndTheLargeMap) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    {
        std::ofstream mesh(dir.File("sphere3.x"));
        mesh << gfx::SphereMeshText(12, 24);
    }
    const auto names = BuiltInTerrainTypes();
    ASSERT_TRUE(names.has_value());
    std::filesystem::create_directory(dir.path() / "GAMEART");
    ASSERT_TRUE(WriteTileArt(dir.File("GAMEART"), *names));

    auto world = std::make_unique<WorldMap>();
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            world->At(row, column).Terrain =
                (column / 32) % 2 == 0 ? TerrainDeepWater : TerrainLowland;
        }
    }
    TitleState title;
    {
        const std::vector<uint8_t> bytes = EncodePlayerFile(title, *world, {});
        std::ofstream out(dir.File("war.p01"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    ScriptedUiShell shell;
    ScopedShell installed{shell};
    ScreenSet screens;
    MainForm->show();
    shell.openAnswers.push_back(dir.File("war.p01"));
    QTest::mouseClick(MainForm->LoadGameButton, Qt::LeftButton);

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

}  // namespace
