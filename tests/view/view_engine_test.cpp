#include "view/view_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/world_map.h"
#include "platform/gfx/sphere_mesh.h"
#include "platform/os/bitmap_file.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"
#include "view/main_map.h"
#include "view/tile_art.h"

namespace {

constexpr gfx::Result kCode = gfx::D3DRMERR_BADVALUE;

// A run folder with the sphere mesh and the six Blank tile art bitmaps, which every missing
// piece falls back to.
void WriteRunFolder(const TempDir& dir, bool withSphere) {
    if (withSphere) {
        std::ofstream(dir.File("sphere3.x")) << gfx::SphereMeshText(8, 16);
    }
    std::filesystem::create_directories(dir.path() / "GAMEART");
    for (PieceKind kind : kPieceKinds) {
        Bitmap art = MakeBitmap(PieceBitmapWidth(kind), PieceBitmapHeight(kind));
        for (std::size_t i = 0; i < art.rgb.size(); i += 3) {
            art.rgb[i] = 40;
            art.rgb[i + 1] = 160;
            art.rgb[i + 2] = 60;
        }
        std::string name = BlankBitmapName(kind);
        for (char& c : name) {
            if (c == '\\')
                c = '/';
        }
        ASSERT_TRUE(WriteBmpFile(dir.File(name), art));
    }
}

// Land everywhere, with water on the western half, so both textures show colour.
std::unique_ptr<WorldMap> MakeWorld() {
    auto world = std::make_unique<WorldMap>();
    for (int r = 0; r < kWorldRows; ++r) {
        for (int c = 0; c < kWorldColumns; ++c) {
            world->At(r, c).Terrain = c < kWorldColumns / 2 ? TerrainDeepWater : TerrainLowland;
        }
    }
    return world;
}

class ViewEngineTest : public ::testing::Test {
protected:
    void SetUp() override { WriteRunFolder(dir, true); }

    // Runs the set-up steps up to and including `steps` (1 DirectDraw ... 4 large map).
    bool SetUpThrough(ViewEngine& engine, int steps) {
        if (!engine.SetUpDirectDraw(map))
            return false;
        if (steps >= 2 && !engine.SetUpDirect3D())
            return false;
        if (steps >= 3 && !engine.SetUpGlobe(*world))
            return false;
        if (steps >= 4 && !engine.SetUpLargeMap(map, *world, 50))
            return false;
        return true;
    }

    void ExpectOneFatalMessage(const std::string& text, const std::string& caption) {
        ASSERT_EQ(shell.messages.size(), 1u) << text;
        EXPECT_EQ(shell.messages[0].text, text);
        EXPECT_EQ(shell.messages[0].caption, caption);
        EXPECT_EQ(shell.endRequests, 1) << text;
    }

    void ResetShell() {
        shell.messages.clear();
        shell.endRequests = 0;
    }

    TempDir dir;
    WorkingDirectory cwd{dir.path()};
    ScriptedUiShell shell;
    ScopedShell scoped{shell};
    std::unique_ptr<MemoryViewScreen> screen = MakeStandardViewScreen(gfx::PixelFormat::Rgb565());
    std::unique_ptr<WorldMap> world = MakeWorld();
    MainMap map;
};

TEST_F(ViewEngineTest, MissingSphereFileEndsWithTheLoadFailure) {
    std::filesystem::remove(dir.File("sphere3.x"));
    ViewEngine engine(*screen);
    ASSERT_TRUE(SetUpThrough(engine, 2));
    EXPECT_FALSE(engine.SetUpGlobe(*world));
    ExpectOneFatalMessage("D3DRMERR_FILENOTFOUND", "Unable to load globe mesh x file");
}

TEST_F(ViewEngineTest, DisplayDepthWithoutDeviceFindsNoDriver) {
    for (int depth : {8, 4, 12}) {
        ResetShell();
        screen->bitDepth = depth;
        ViewEngine engine(*screen);
        ASSERT_TRUE(engine.SetUpDirectDraw(map));
        EXPECT_FALSE(engine.SetUpDirect3D());
        ExpectOneFatalMessage("Unable to find a D3D Driver", "Fatal Error");
        EXPECT_EQ(engine.DeviceCount, 0);
        EXPECT_EQ(engine.Device, nullptr);
    }
}

TEST_F(ViewEngineTest, DeviceFallsBackFromHardwareToRgbToRamp) {
    for (int depth : {16, 24, 32}) {
        screen->bitDepth = depth;
        ViewEngine engine(*screen);
        ASSERT_TRUE(SetUpThrough(engine, 2));
        EXPECT_EQ(engine.ChosenDeviceClass, gfx::DeviceClass::Rgb);
        EXPECT_GT(engine.DeviceCount, 0);
        EXPECT_LE(engine.DeviceCount, kMaxDevices);
        EXPECT_EQ(engine.Device->GetQuality(), kSolidQuality);
    }
    auto faults = std::make_shared<gfx::FaultPlan>();
    faults->FailCall("CreateDevice", 2, gfx::DDERR_GENERIC);
    ViewEngine engine(*screen, faults);
    ASSERT_TRUE(SetUpThrough(engine, 2));
    EXPECT_EQ(engine.ChosenDeviceClass, gfx::DeviceClass::Ramp);
    EXPECT_TRUE(shell.messages.empty());
}

struct SetUpFailure {
    const char* operation;
    int nth;
    bool onwards;
    int step;             // the set-up step that fails
    const char* text;     // null: the failure code's name
    const char* caption;  // null: the failure code's name
};

TEST_F(ViewEngineTest, EachSetUpFailureShowsItsMessageOnceAndEnds) {
    const SetUpFailure cases[] = {
        {"DirectDrawCreate", 1, false, 1, nullptr, "Unable to create DDraw Object"},
        {"SetCooperativeLevel", 1, false, 1, nullptr, "Unable to set cooperative level"},
        {"QueryInterface", 1, false, 1, nullptr, "Unable to upgrade DDraw Object"},
        {"CreateSurface", 1, false, 1, nullptr, "Unable to create Primary Surface"},
        {"CreateSurface", 2, false, 1, "Unable to create BackbufferSurface Surface", "Fatal Error"},
        {"QueryInterface", 3, false, 1, "Unable to upgrade BackbufferSurface Surface",
         "Fatal Error"},
        {"Lock", 1, false, 1, nullptr, "BackbufferSurface Init Lock Error (Unit Drawing)"},
        {"Unlock", 1, false, 1, nullptr, "BackbufferSurface Init Unlock Error"},
        {"CreateSurface", 3, false, 1, "Unable to create Offscreen Surface", "Fatal Error"},
        {"QueryInterface", 4, false, 1, "Unable to create Offscreen Surface", "Fatal Error"},
        {"CreateSurface", 4, false, 1, "Unable to create Globe Texture Surface", "Fatal Error"},
        {"QueryInterface", 5, false, 1, "Unable to upgrade Globe Texture Surface", "Fatal Error"},
        {"CreateClipper", 1, false, 1, nullptr, "Create Main Map Clipper Error"},
        {"CreateClipper", 2, false, 1, nullptr, "Create Main Map Clipper Error"},
        {"SetClipList", 1, false, 1, "Unable to set Main Map active cliplist", "Fatal Error"},
        {"SetHWnd", 1, false, 1, "Unable to set Main Screen Clipper", nullptr},
        {"SetClipper", 1, false, 1, "Unable to set Main Screen Clipper", "Fatal Error"},
        {"DirectDrawCreate", 2, false, 2, nullptr,
         "Unable to create DD object during driver enumeration"},
        {"Direct3DRMCreate", 1, false, 2, nullptr, "Unable to create the D3D Object"},
        {"CreateDevice", 1, true, 2, nullptr, "Unable to create D3DIM device"},
        {"CreateDeviceFromD3D", 1, false, 2, nullptr, "Unable to create D3D device"},
        {"SetQuality", 1, false, 2, nullptr, "Unable to set Render State"},
        {"CreateFrame", 1, false, 3, nullptr, "Unable to create Globe parent frame"},
        {"CreateFrame", 3, false, 3, nullptr, "Unable to create globe frame"},
        {"SetPosition", 2, false, 3, nullptr, "Unable to set globe frame position"},
        {"CreateMeshBuilder", 1, false, 3, nullptr, "Unable to create globe mesh builder"},
        {"Load", 1, false, 3, nullptr, "Unable to load globe mesh x file"},
        {"SetPerspective", 1, false, 3, nullptr, "Unable to set globe perspective flag"},
        {"CreateWrap", 1, false, 3, nullptr, "Unable to create globe texture wrap"},
        {"Apply", 1, false, 3, nullptr, "Unable to apply texture wrap to globe"},
        {"CreateViewport", 1, false, 3, nullptr, "Unable to create D3D globe viewport"},
        {"SetBack", 1, false, 3, nullptr, "Unable to set back fustrum"},
        {"AddVisual", 1, false, 3, nullptr, "Unable to add visual to globe frame"},
        {"CreateFrame", 4, false, 4, nullptr, "Unable to create Large Map parent frame"},
        {"SetPosition", 4, false, 4, nullptr, "Unable to set large map frame position"},
        {"CreateMesh", 1, false, 4, nullptr, "Unable to create large map mesh"},
    };
    const std::string name(gfx::ErrorName(kCode));
    for (const SetUpFailure& c : cases) {
        SCOPED_TRACE(std::string(c.operation) + " #" + std::to_string(c.nth));
        ResetShell();
        auto faults = std::make_shared<gfx::FaultPlan>();
        ASSERT_TRUE(c.onwards ? faults->FailFrom(c.operation, c.nth, kCode)
                              : faults->FailCall(c.operation, c.nth, kCode));
        auto freshWorld = MakeWorld();
        world.swap(freshWorld);
        MainMap freshMap;
        ViewEngine engine(*screen, faults);
        bool done = engine.SetUpDirectDraw(freshMap);
        int failedAt = done ? 0 : 1;
        if (done && c.step >= 2) {
            done = engine.SetUpDirect3D();
            failedAt = done ? 0 : 2;
        }
        if (done && c.step >= 3) {
            done = engine.SetUpGlobe(*world);
            failedAt = done ? 0 : 3;
        }
        if (done && c.step >= 4) {
            done = engine.SetUpLargeMap(freshMap, *world, 50);
            failedAt = done ? 0 : 4;
        }
        EXPECT_EQ(failedAt, c.step);
        ExpectOneFatalMessage(c.text != nullptr ? c.text : name,
                              c.caption != nullptr ? c.caption : name);
    }
}

struct RenderFailure {
    const char* operation;
    int nthInPass;     // which call of the operation within one pass
    const char* text;  // null: the failure code's name
    const char* caption;
};

// The large map takes seconds to compose, so the render tests share one set-up game.
class ViewEngineRenderTest : public ::testing::Test {
protected:
    struct Game {
        TempDir dir;
        ScriptedUiShell shell;
        std::unique_ptr<MemoryViewScreen> screen =
            MakeStandardViewScreen(gfx::PixelFormat::Rgb565());
        std::unique_ptr<WorldMap> world = MakeWorld();
        MainMap map;
        std::shared_ptr<gfx::FaultPlan> faults = std::make_shared<gfx::FaultPlan>();
        std::unique_ptr<ViewEngine> engine;
        bool ready = false;
    };

    static void SetUpTestSuite() {
        game_ = new Game;
        WriteRunFolder(game_->dir, true);
        WorkingDirectory cwd(game_->dir.path());
        ScopedShell scoped(game_->shell);
        game_->engine = std::make_unique<ViewEngine>(*game_->screen, game_->faults);
        game_->ready = game_->engine->SetUpDirectDraw(game_->map) &&
                       game_->engine->SetUpDirect3D() && game_->engine->SetUpGlobe(*game_->world) &&
                       game_->engine->SetUpLargeMap(game_->map, *game_->world, 50) &&
                       game_->shell.messages.empty();
    }
    static void TearDownTestSuite() {
        delete game_;
        game_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(game_->ready);
        ResetShell();
        screen->globeTimes.clear();
        screen->mapTimes.clear();
        screen->presents.clear();
    }

    void ResetShell() {
        shell.messages.clear();
        shell.endRequests = 0;
    }

    void ExpectOneFatalMessage(const std::string& text, const std::string& caption) {
        ASSERT_EQ(shell.messages.size(), 1u) << text;
        EXPECT_EQ(shell.messages[0].text, text);
        EXPECT_EQ(shell.messages[0].caption, caption);
        EXPECT_EQ(shell.endRequests, 1) << text;
    }

    GlobeScene& Globe() { return *GlobeOf(*world); }

    static Game* game_;
    ScriptedUiShell& shell = game_->shell;
    ScopedShell scoped{game_->shell};
    std::unique_ptr<MemoryViewScreen>& screen = game_->screen;
    std::unique_ptr<WorldMap>& world = game_->world;
    MainMap& map = game_->map;
    std::shared_ptr<gfx::FaultPlan>& faults = game_->faults;
    std::unique_ptr<ViewEngine>& engine = game_->engine;
};

ViewEngineRenderTest::Game* ViewEngineRenderTest::game_ = nullptr;

TEST_F(ViewEngineRenderTest, LargeMapLightFailure) {
    // A second large map on a new MainMap, as after a change of the texture resolution.
    const SetUpFailure cases[] = {
        {"CreateLight", 1, false, 4, "CreateLight", "DirectX Error"},
    };
    const std::string name(gfx::ErrorName(kCode));
    for (const SetUpFailure& c : cases) {
        SCOPED_TRACE(c.operation);
        ResetShell();
        faults->FailCall(c.operation, faults->Calls(c.operation) + 1, kCode);
        MainMap second;
        EXPECT_FALSE(engine->SetUpLargeMap(second, *world, 50));
        ExpectOneFatalMessage(c.text != nullptr ? c.text : name,
                              c.caption != nullptr ? c.caption : name);
        second.Release();
    }
}

TEST_F(ViewEngineRenderTest, EachRenderFailureShowsItsMessageOnceAndEnds) {
    const RenderFailure cases[] = {
        {"Move", 1, nullptr, "Unable to initiate globe move"},
        {"Clear", 1, nullptr, "Unable to clear globe viewport"},
        {"Render", 1, nullptr, "Unable to render globe"},
        {"Blt", 1, nullptr, "Primary Surface Blt Error"},
        {"GetOrientation", 1, nullptr, "Unable to get globe frame orientation"},
        {"SetOrientation", 1, nullptr, "Unable to set large map frame orientation"},
        {"Clear", 2, nullptr, "Unable to clear main map viewport"},
        {"Render", 2, nullptr, "Unable to render main map"},
        {"Update", 1, nullptr, "Unable to update maps"},
        {"Blt", 2, nullptr, "Main Map Primary Surface Blt Error"},
    };
    const std::string name(gfx::ErrorName(kCode));
    for (const RenderFailure& c : cases) {
        SCOPED_TRACE(std::string(c.operation) + " #" + std::to_string(c.nthInPass));
        ResetShell();
        screen->globeTimes.clear();
        screen->mapTimes.clear();
        faults->FailCall(c.operation, faults->Calls(c.operation) + c.nthInPass, kCode);
        EXPECT_FALSE(engine->RenderViews(*world, map));
        ExpectOneFatalMessage(c.text != nullptr ? c.text : name, c.caption);
        // The map's time is shown only when the whole pass has run.
        EXPECT_TRUE(screen->mapTimes.empty());
    }
    ResetShell();
    faults->FailCall("SetQuality", faults->Calls("SetQuality") + 1, kCode);
    EXPECT_FALSE(engine->SetDeviceQuality(kWireFrameQuality));
    ExpectOneFatalMessage(name, "Unable to set Render State");
}

// The angle between two unit vectors.
float Angle(const gfx::rm::Vec3& a, const gfx::rm::Vec3& b) {
    const float dot = a.x * b.x + a.y * b.y + a.z * b.z;
    return std::acos(std::max(-1.0f, std::min(1.0f, dot)));
}

TEST_F(ViewEngineRenderTest, GlobeRotationTurnsTheLargeMapOnTheNextPass) {
    GlobeScene& globe = Globe();
    ASSERT_EQ(globe.GlobeFrame->SetRotation(globe.SceneFrame.get(), 0.0f, 1.0f, 0.0f, 0.1f),
              gfx::D3DRM_OK);
    gfx::rm::Vec3 startDirection;
    gfx::rm::Vec3 startUp;
    ASSERT_EQ(globe.GlobeFrame->GetOrientation(globe.SceneFrame.get(), startDirection, startUp),
              gfx::D3DRM_OK);
    for (int pass = 1; pass <= 3; ++pass) {
        ASSERT_TRUE(engine->RenderViews(*world, map));
        gfx::rm::Vec3 globeDirection, globeUp, mapDirection, mapUp;
        globe.GlobeFrame->GetOrientation(globe.SceneFrame.get(), globeDirection, globeUp);
        map.MapFrame->GetOrientation(map.SceneFrame.get(), mapDirection, mapUp);
        EXPECT_NEAR(Angle(startDirection, globeDirection), 0.1f * pass, 1e-4f);
        EXPECT_NEAR(Angle(globeDirection, mapDirection), 0.0f, 1e-4f);
        EXPECT_NEAR(Angle(globeUp, mapUp), 0.0f, 1e-4f);
    }
    globe.GlobeFrame->SetRotation(globe.SceneFrame.get(), 0.0f, 1.0f, 0.0f, 0.0f);
    // The large map keeps its own distance: zooming one view leaves the other alone.
    gfx::rm::Vec3 mapPosition;
    map.MapFrame->GetPosition(map.SceneFrame.get(), mapPosition);
    EXPECT_NEAR(mapPosition.z, 3.3f, 1e-5f);
}

TEST_F(ViewEngineRenderTest, RenderShowsTexturedViewsOnTheirPaintBoxes) {
    ASSERT_TRUE(engine->RenderViews(*world, map));
    ASSERT_EQ(screen->globeTimes.size(), 1u);
    ASSERT_EQ(screen->mapTimes.size(), 1u);
    EXPECT_EQ(screen->globeTimes[0].rfind("Globe Time: ", 0), 0u);
    EXPECT_EQ(screen->mapTimes[0].rfind("Map Time: ", 0), 0u);
    EXPECT_NE(screen->mapTimes[0].find(" milliseconds"), std::string::npos);

    const PaintBoxPlace globeBox = screen->globe;
    const PaintBoxPlace mapBox = screen->mainMap;
    const gfx::Rect globeRect = ScreenRectOf(screen->ClientOrigin(), globeBox);
    const gfx::Rect mapRect = ScreenRectOf(screen->ClientOrigin(), mapBox);
    // The globe's copy shrinks by one pixel each way; the map's is one to one.
    ASSERT_EQ(screen->presents.size(), 2u);
    EXPECT_EQ(screen->presents[0].first, (gfx::Rect{globeRect.left, globeRect.top,
                                                    globeRect.right - 1, globeRect.bottom - 1}));
    EXPECT_EQ(screen->presents[0].second,
              (gfx::Rect{600, 0, 600 + globeBox.width, globeBox.height}));
    EXPECT_EQ(screen->presents[1].first, mapRect);
    EXPECT_EQ(screen->presents[1].second, (gfx::Rect{0, 0, mapBox.width, mapBox.height}));

    // The globe faces the camera with water on one half and land on the other: its middle
    // shows texture colours, its corners the black background.
    const Palette& palette = engine->PaletteValues;
    const gfx::Surface& back = *engine->BackBuffer;
    const auto backPixel = [&](int x, int y) {
        return gfx::LoadPixel(back.View().At(x, y), back.View().bytesPerPixel);
    };
    const int cx = 600 + globeBox.width / 2;
    const int cy = globeBox.height / 2;
    int water = 0;
    int land = 0;
    for (int dx = -15; dx <= 15; ++dx) {
        const std::uint32_t p = backPixel(cx + dx, cy);
        water += p == palette[GlobeColourIndex(TerrainDeepWater)];
        land += p == palette[GlobeColourIndex(TerrainLowland)];
    }
    EXPECT_GT(water, 0);
    EXPECT_GT(land, 0);
    EXPECT_EQ(water + land, 31);
    EXPECT_EQ(backPixel(601, 1), 0u);
    // The screen shows the same at the globe paint box; outside the boxes nothing is drawn.
    EXPECT_NE(screen->Pixels().PixelAt(globeRect.left + globeBox.width / 2,
                                       globeRect.top + globeBox.height / 2),
              0u);
    EXPECT_NE(
        screen->Pixels().PixelAt(mapRect.left + mapBox.width / 2, mapRect.top + mapBox.height / 2),
        0u);
    EXPECT_EQ(screen->Pixels().PixelAt(globeRect.right + 5, globeRect.top + 5), 0u);

    // Painting the main map box copies the last picture again without rendering.
    const int renders = faults->Calls("Render");
    ASSERT_TRUE(engine->BlitMainMapToScreen());
    EXPECT_EQ(faults->Calls("Render"), renders);
    EXPECT_EQ(screen->presents.size(), 3u);

    // Wire frame draws fewer pixels of the globe than solid fill.
    const auto globePixels = [&] {
        int lit = 0;
        for (int y = 0; y < globeBox.height; ++y) {
            for (int x = 600; x < 600 + globeBox.width; ++x) {
                lit += backPixel(x, y) != 0;
            }
        }
        return lit;
    };
    const int solid = globePixels();
    ASSERT_TRUE(engine->SetDeviceQuality(kWireFrameQuality));
    ASSERT_TRUE(engine->RenderViews(*world, map));
    const int wire = globePixels();
    EXPECT_GT(wire, 0);
    EXPECT_LT(wire, solid * 3 / 4);
    ASSERT_TRUE(engine->SetDeviceQuality(kSolidQuality));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(ViewEngineTest, ReleaseDropsEveryObjectAndResetsTheDisplayOnce) {
    ViewEngine engine(*screen);
    ASSERT_TRUE(SetUpThrough(engine, 3));
    ReleaseGlobe(*world);
    EXPECT_EQ(world->Globe, nullptr);
    engine.Release();
    engine.Release();
    EXPECT_EQ(engine.Device, nullptr);
    EXPECT_EQ(engine.RetainedMode, nullptr);
    EXPECT_EQ(engine.DirectDraw, nullptr);
    EXPECT_EQ(engine.PrimarySurface, nullptr);
    EXPECT_EQ(engine.BackBuffer, nullptr);
    EXPECT_EQ(engine.TileArtSurface, nullptr);
    EXPECT_EQ(screen->displayResets, 1);
    // A render pass after the release does nothing and shows nothing.
    EXPECT_FALSE(engine.RenderViews(*world, map));
    EXPECT_TRUE(shell.messages.empty());
}

}  // namespace
