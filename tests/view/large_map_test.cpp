#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "map_rig.h"
#include "platform/gfx/rm/texture.h"
#include "platform/os/clock.h"
#include "view/large_map_mesh.h"
#include "view/main_map.h"

namespace {

TEST(LargeMapMesh, PortionsAbutAndTheLastBandIsShorter) {
    for (int g = 0; g < kMapGroupRows; ++g) {
        EXPECT_EQ(PortionRect(g, 0, kStripWidth).left, 0);
        EXPECT_EQ(PortionRect(g, 47, kStripWidth).right, kStripWidth);
        for (int h = 0; h + 1 < kMapGroupColumns; ++h) {
            EXPECT_EQ(PortionRect(g, h, kStripWidth).right,
                      PortionRect(g, h + 1, kStripWidth).left);
        }
        EXPECT_EQ(PortionRect(g, 5, kStripWidth).top, 0);
        EXPECT_EQ(PortionRect(g, 5, kStripWidth).bottom, g == 23 ? 252 : 261);
    }
    EXPECT_EQ(PortionRect(0, 1, kStripWidth), (gfx::Rect{266, 0, 533, 261}));
    EXPECT_EQ(PortionRect(23, 47, kStripWidth), (gfx::Rect{12533, 0, 12800, 252}));
}

TEST(LargeMapMesh, TheGridRunsFromPoleToPole) {
    const VertexGrid grid = ComputeVertexGrid();
    const float radius = 16384 * 0.15915494307111402f;
    for (int j = 0; j < kVertexColumns; ++j) {
        EXPECT_NEAR(grid[0][j].y, radius, 0.01f);
        EXPECT_NEAR(grid[0][j].x, 0.0f, 1e-3f);
        EXPECT_NEAR(grid[48][j].y, -radius, 0.01f);
    }
    // Ring 24 is (nearly) the equator; vertex 0 lies on the z axis (longitude pi / 2) and
    // vertex 24 a quarter turn further, on the negative x axis.
    EXPECT_NEAR(grid[24][0].y, 0.0f, 1.0f);
    EXPECT_NEAR(grid[24][0].z, radius, 0.5f);
    EXPECT_NEAR(grid[24][24].x, -radius, 0.5f);
    // The ring arc accumulates 170.67 per ring.
    EXPECT_NEAR(std::acos(grid[10][0].y / radius) * radius, 1706.7f, 0.05f);
}

TEST(LargeMapMesh, GroupsTakeTheirPatchOfTheGrid) {
    const VertexGrid grid = ComputeVertexGrid();
    const auto scaled = [](const gfx::rm::Vec3& v) { return v * kMapVertexScale; };
    const auto vertices = GroupVertices(grid, 3, 47);
    // Columns 94, 95 and 0 of rings 6, 7 and 8.
    EXPECT_EQ(vertices[0].position, scaled(grid[6][94]));
    EXPECT_EQ(vertices[1].position, scaled(grid[6][95]));
    EXPECT_EQ(vertices[2].position, scaled(grid[6][0]));
    EXPECT_EQ(vertices[8].position, scaled(grid[8][0]));
    const auto first = GroupVertices(grid, 0, 0);
    EXPECT_EQ(first[4].position, scaled(grid[1][1]));
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(vertices[3 * i + j].tu, 0.5f * j);
            EXPECT_EQ(vertices[3 * i + j].tv, 0.5f * i);
        }
    }
    // The sphere's radius comes out very nearly 2.
    const gfx::rm::Vec3 p = GroupVertices(grid, 12, 0)[0].position;
    EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 2.0f, 0.001f);
    EXPECT_EQ(CreationTimeText(1234), "Map Creation Time: 1234 milliseconds");
}

class StepClock final : public Clock {
public:
    std::uint32_t TickCount() override {
        const std::uint32_t now = next;
        next += step;
        return now;
    }
    std::int64_t TimeSeconds() override { return 0; }
    std::uint32_t next = 0xFFFFFF00u;  // the tick count wraps during the work
    std::uint32_t step = 0x200;
};

struct LargeMapRig : MapRig {
    std::unique_ptr<WorldMap> world = std::make_unique<WorldMap>();
    MainMap map;
    StepClock clock;
    std::vector<int> gauge;
    std::vector<std::string> labels;

    LargeMapRig() {
        EXPECT_EQ(root->CreateMesh(map.MapMesh), gfx::D3DRM_OK);
        faults->Reset();
    }

    bool Create(int side = 50) {
        MapTextureContext context;
        context.directDraw = directDraw.get();
        context.root = root.get();
        context.tileArt = tileArt.get();
        context.world = world.get();
        context.textureResolution = side;
        context.clock = &clock;
        context.progress = [this](int p) { gauge.push_back(p); };
        context.showCreationTime = [this](const std::string& text) { labels.push_back(text); };
        return map.CreateMapTexture(context);
    }
};

TEST(CreateMapTexture, MakesTexturesAndGroupsInCreationOrder) {
    LargeMapRig rig;
    // One tile row of art so the strip is not all black: every slot solid white.
    for (PieceKind kind : kPieceKinds) {
        for (int slot = 0; slot < PieceSlotCount(kind); ++slot) {
            gfx::FillPixels(rig.tileArt->View(), PieceSource(kind, slot, true), 0xFFFFFF);
        }
    }
    const gfx::ColorKey key{0, 0};
    rig.tileArt->SetColorKey(gfx::DDCKEY_SRCBLT, &key);
    for (int c = 0; c < kWorldColumns; ++c) {
        rig.world->At(127, c).Terrain = 0;
    }
    ASSERT_TRUE(rig.Create(75));
    const gfx::rm::Mesh& mesh = *rig.map.MapMesh;
    ASSERT_EQ(mesh.GroupCount(), kMapGroupCount);
    for (int g = 0; g < kMapGroupRows; ++g) {
        for (int h = 0; h < kMapGroupColumns; ++h) {
            const int group = g * kMapGroupColumns + h;
            ASSERT_TRUE(rig.map.Textures[g][h]);
            EXPECT_EQ(mesh.GroupTexture(group), rig.map.Textures[g][h].get());
            EXPECT_EQ(mesh.GroupQuality(group), 136u);
            EXPECT_EQ(rig.map.Textures[g][h]->ImageSurface(), rig.map.TextureSurfaces[g][h]);
            EXPECT_EQ(rig.map.TextureSurfaces[g][h]->Width(), 75);
            EXPECT_EQ(rig.map.TextureSurfaces[g][h]->Height(), 75);
        }
    }
    // Only the last tile row was drawn: the lowest band's textures show it in their lower
    // part (band 23 holds strip rows 0..251, the row's hexagons lie at 203..251) and the
    // other bands stay black.
    const gfx::Surface& last = *rig.map.TextureSurfaces[23][10];
    EXPECT_EQ(MapRig::PixelAt(last, 37, 74), 0xFFFFFFu);
    EXPECT_EQ(MapRig::PixelAt(last, 37, 10), 0u);
    EXPECT_EQ(MapRig::PixelAt(*rig.map.TextureSurfaces[22][10], 37, 74), 0u);

    // Strip and clear surfaces are gone; the time and its label are kept.
    EXPECT_FALSE(rig.map.LargeMapTextureSurface);
    EXPECT_FALSE(rig.map.ClearSurface);
    EXPECT_EQ(rig.map.CreationTime, 0x200);
    EXPECT_EQ(rig.labels, (std::vector<std::string>{"Map Creation Time: 512 milliseconds"}));
    ASSERT_EQ(rig.gauge.size(), 129u);
    EXPECT_EQ(rig.gauge.front(), 0);
    EXPECT_EQ(rig.gauge.back(), 100);
    EXPECT_EQ(rig.map.NextTileRow, 128);
    EXPECT_TRUE(rig.shell.messages.empty());

    rig.map.Release();
    EXPECT_FALSE(rig.map.MapMesh);
    EXPECT_FALSE(rig.map.Textures[0][0]);
    EXPECT_FALSE(rig.map.TextureSurfaces[23][47]);
}

// Noise art (about a third of it the black key) over a world of every class, with a few
// tiles missing at the ends of rows.
void FillNoisyWorld(LargeMapRig& rig) {
    std::mt19937 random(5);
    const gfx::PixelView& art = rig.tileArt->View();
    for (int y = 0; y < art.height; ++y) {
        for (int x = 0; x < art.width; ++x) {
            gfx::StorePixel(art.At(x, y), art.bytesPerPixel, random() % 3 == 0 ? 0 : random());
        }
    }
    const gfx::ColorKey key{0, 0};
    rig.tileArt->SetColorKey(gfx::DDCKEY_SRCBLT, &key);
    for (int r = 0; r < kWorldRows; ++r) {
        for (int c = 0; c < kWorldColumns; ++c) {
            const bool missing = (c < 3 || c > 250) && random() % 2 == 0;
            rig.world->At(r, c).Terrain = missing ? TerrainUnset : static_cast<int>(random() % 7);
        }
    }
}

// The textures hold exactly the portions of each band of the whole composed picture, scaled:
// composing only the strip rows that the textures sample, and scaling within the strip's
// queue, change nothing that they show.
TEST(CreateMapTexture, TexturesAreTheScaledPortionsOfTheWholePicture) {
    const std::vector<int> sides{50, 200};
    std::vector<std::unique_ptr<LargeMapRig>> rigs;
    for (const int side : sides) {
        rigs.push_back(std::make_unique<LargeMapRig>());
        FillNoisyWorld(*rigs.back());
        ASSERT_TRUE(rigs.back()->Create(side));
    }
    LargeMapRig& rig = *rigs.front();
    MainMap whole;
    ASSERT_TRUE(whole.PrepareStrip(*rig.directDraw));
    std::vector<int> differing(sides.size(), 0);
    for (int g = 0; g < kMapGroupRows; ++g) {
        ASSERT_TRUE(whole.ComposeBand(*rig.world, *rig.tileArt));
        const gfx::PixelView& strip = whole.LargeMapTextureSurface->View();
        for (std::size_t i = 0; i < sides.size(); ++i) {
            const int side = sides[i];
            const int rowBytes = side * 4;
            std::vector<std::uint8_t> expected(static_cast<std::size_t>(rowBytes) * side);
            const gfx::PixelView view{expected.data(), side, side, rowBytes, 4};
            const gfx::Rect all{0, 0, side, side};
            for (int h = 0; h < kMapGroupColumns; ++h) {
                gfx::ScalePixels(view, all, strip, PortionRect(g, h, kStripWidth), all);
                const gfx::PixelView& texture = rigs[i]->map.TextureSurfaces[g][h]->View();
                for (int y = 0; y < side; ++y) {
                    if (std::memcmp(texture.Row(y), view.Row(y), rowBytes) != 0 &&
                        ++differing[i] <= 3) {
                        ADD_FAILURE()
                            << "side " << side << ", group (" << g << ", " << h << ") row " << y;
                    }
                }
            }
        }
    }
    EXPECT_EQ(differing, std::vector<int>(sides.size(), 0));
    whole.ReleaseStrip();
}

// Which strip rows a band uses: the rows its textures sample, and in the rows below the band
// those that the next band's scroll brings up to rows it uses.
TEST(CreateMapTexture, BandsUseTheRowsTheirTexturesSample) {
    const auto rows = StripRowsInUse(50);
    const auto used = [&rows](int g, int y) {
        return rows[static_cast<std::size_t>(g)][static_cast<std::size_t>(y)] != 0;
    };
    // 50 rows of 261: row (2d + 1) x 261 / 100, so rows 2, 7, 13, ..., 258.
    EXPECT_TRUE(used(0, 2));
    EXPECT_FALSE(used(0, 3));
    EXPECT_TRUE(used(0, 7));
    EXPECT_TRUE(used(0, 258));
    EXPECT_TRUE(used(0, 261 + 2));
    EXPECT_FALSE(used(0, 261 + 3));
    // The last band takes 252 rows and hands nothing on.
    EXPECT_TRUE(used(23, 2));
    EXPECT_TRUE(used(23, 249));
    EXPECT_FALSE(used(23, 258));
    EXPECT_FALSE(used(23, 261 + 2));
    // Band 22 hands band 23's rows on: (2d + 1) x 252 / 100 gives 12 for d = 2.
    EXPECT_TRUE(used(22, 261 + 12));
    int count = 0;
    for (int y = 0; y < kStripHeight; ++y) {
        count += used(5, y) ? 1 : 0;
    }
    EXPECT_LT(count, 70);
    // At T = 261 every row of the band is sampled.
    const auto dense = StripRowsInUse(261);
    for (int y = 0; y < kBandHeight; ++y) {
        EXPECT_EQ(dense[0][static_cast<std::size_t>(y)], 1) << y;
    }
}

struct Failure {
    const char* operation;
    int nth;
    const char* message;  // "caption: text", with NAME for the failure code's name
};

std::string Expected(const Failure& f) {
    std::string text = f.message;
    const std::size_t at = text.find("NAME");
    if (at != std::string::npos) {
        text.replace(at, 4, "DDERR_GENERIC");
    }
    return text;
}

class CreateMapTextureFailures : public ::testing::TestWithParam<Failure> {};

TEST_P(CreateMapTextureFailures, ShowTheirCaptionAndStop) {
    LargeMapRig rig;
    // A few tiles so that every kind of piece is drawn in the first band.
    for (int c = 0; c < 2; ++c) {
        rig.world->At(0, c).Terrain = 0;
    }
    rig.faults->FailCall(GetParam().operation, GetParam().nth, gfx::DDERR_GENERIC);
    EXPECT_FALSE(rig.Create());
    EXPECT_EQ(rig.OnlyMessage(), Expected(GetParam()));
    EXPECT_EQ(rig.shell.endRequests, 1);
    EXPECT_TRUE(rig.labels.empty());
    EXPECT_LE(rig.map.MapMesh->GroupCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CreateMapTextureFailures,
    ::testing::Values(
        Failure{"CreateSurface", 1, "Unable to create Map Texture Surface: NAME"},
        Failure{"QueryInterface", 7, "Unable to upgrade Map Texture Surface: NAME"},
        Failure{"CreateTextureFromSurface", 1152, "Unable to create large map texture: NAME"},
        Failure{"CreateSurface", 1153, "Create Large Map Texture Surface Error: NAME"},
        Failure{"QueryInterface", 1153, "Fatal Error: Unable to upgrade Large Map Texture Surface"},
        Failure{"CreateSurface", 1154, "Create Clear Surface Error: NAME"},
        Failure{"QueryInterface", 1154, "Fatal Error: Unable to upgrade Clear Surface"},
        Failure{"Lock", 1, "Temp Clear Lock Error (Unit Drawing): NAME"},
        Failure{"Unlock", 1, "Temp Clear Unlock Error: NAME"},
        Failure{"BltFast", 100, "Copy Blit Error, Temp Surface (Main Map Class): NAME"},
        Failure{"GetSurfaceDesc", 1, "GetSurfaceDesc failure in texture mapping assignment: NAME"},
        Failure{"BltFast", 101, "Hex Blt Error (DrawNHemisphereTile): NAME"},
        Failure{"BltFast", 102, "Rect1 Blt Error (DrawNHemisphereTile): NAME"},
        Failure{"BltFast", 103, "Rect2 Blt Error (DrawNHemisphereTile): NAME"},
        Failure{"BltFast", 104, "Rect3 Blt Error (DrawNHemisphereTile): NAME"},
        Failure{"BltFast", 105, "Tri1 Blt Error (DrawNHemisphereTile): NAME"},
        Failure{"BltFast", 106, "Tri2 Blt Error (DrawNHemisphereTile): NAME"},
        // The top filler of column 1 follows the two tiles of row 0.
        Failure{"BltFast", 113, "Hex Blt Error (DrawNHemisphereTile): NAME"},
        Failure{"BltFast", 118, "Tri2 Blt Error (DrawNHemisphereTile): NAME"},
        Failure{"Lock", 2, "Temp Clear Lock Error (Unit Drawing): NAME"},
        Failure{"Unlock", 2, "Temp Clear Unlock Error: NAME"},
        Failure{"Blt", 1, "Unable to BltFast Texture Portion for Main Map Texture: NAME"},
        Failure{"AddGroup", 1, "Unable to Add Group to Main Map Mesh: NAME"},
        Failure{"SetVertices", 1, "Unable to Set Main Map Mesh Group Vertices: NAME"},
        Failure{"SetGroupQuality", 1, "Unable to Set Main Map Mesh Group Quality: NAME"},
        Failure{"SetGroupTexture", 1, "Unable to Set Main Map Mesh Group Texture: NAME"}));

class ScrollFailures : public ::testing::TestWithParam<Failure> {};

TEST_P(ScrollFailures, ShowTheirCaptionAndStop) {
    // No tiles: the first band draws nothing, the second scrolls the strip.
    MapRig rig;
    auto world = std::make_unique<WorldMap>();
    MainMap map;
    ASSERT_TRUE(map.PrepareStrip(*rig.directDraw));
    ASSERT_TRUE(map.ComposeBand(*world, *rig.tileArt));
    rig.faults->Reset();
    rig.faults->FailCall(GetParam().operation, GetParam().nth, gfx::DDERR_GENERIC);
    EXPECT_FALSE(map.ComposeBand(*world, *rig.tileArt));
    EXPECT_EQ(rig.OnlyMessage(), Expected(GetParam()));
    EXPECT_EQ(map.NextTileRow, 6);  // no row drawn after the failure
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ScrollFailures,
    ::testing::Values(
        Failure{"BltFast", 1, "Copy Blit Error, Clear Top 262 (Main Map Class): NAME"},
        Failure{"BltFast", 101, "Copy Blit Error, Move 626 to 0 (Main Map Class): NAME"},
        Failure{"BltFast", 102, "Copy Blit Error, Clear Lower Section (Main Map Class): NAME"}));

class TilePieceFailures : public ::testing::TestWithParam<Failure> {};

TEST_P(TilePieceFailures, NameTheirPieceAndDrawingFunction) {
    MapRig rig;
    MainMap map;
    ASSERT_TRUE(map.PrepareStrip(*rig.directDraw));
    rig.faults->Reset();
    rig.faults->FailCall("BltFast", GetParam().nth, gfx::DDERR_GENERIC);
    const std::string which = GetParam().operation;
    const bool drawn = which == "eq-even" ? map.DrawEqHemisphereTile(*rig.tileArt, 2, 0, 0, 0)
                       : which == "eq-odd"
                           ? map.DrawEqHemisphereTile(*rig.tileArt, 3, 0, 0, 0)
                           : map.DrawSHemisphereTile(*rig.tileArt, 2, 0, 0, 0, 0, 0);
    EXPECT_FALSE(drawn);
    EXPECT_EQ(rig.OnlyMessage(), Expected(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, TilePieceFailures,
    ::testing::Values(Failure{"eq-even", 1, "Hex Blt Error (DrawEqHemisphereTile): NAME"},
                      Failure{"eq-even", 2, "Rect3 Blt Error (DrawEqHemisphereTile): NAME"},
                      Failure{"eq-odd", 2, "Rect2 Blt Error (DrawEqHemisphereTile): NAME"},
                      Failure{"south", 1, "Hex Blt Error (DrawSHemisphereTile): NAME"},
                      Failure{"south", 2, "Rect1 Blt Error (DrawSHemisphereTile): NAME"},
                      Failure{"south", 3, "Rect2 Blt Error (DrawSHemisphereTile): NAME"},
                      Failure{"south", 4, "Rect3 Blt Error (DrawSHemisphereTile): NAME"},
                      Failure{"south", 5, "Tri1 Blt Error (DrawSHemisphereTile): NAME"},
                      Failure{"south", 6, "Tri2 Blt Error (DrawSHemisphereTile): NAME"}));

}  // namespace
