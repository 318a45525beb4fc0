#include "view/globe_texture.h"

#include <gtest/gtest.h>

#include "map_rig.h"
#include "platform/gfx/rm/texture.h"

namespace {

TEST(Palette, ColoursBecomePixelValuesOfTheDisplay) {
    const Palette xrgb = MakePalette(gfx::PixelFormat::Xrgb8888());
    EXPECT_EQ(xrgb[0], 0u);
    EXPECT_EQ(xrgb[1], 0x3250FFu);
    EXPECT_EQ(xrgb[8], 0xCBF5F5u);
    const Palette rgb565 = MakePalette(gfx::PixelFormat::Rgb565());
    // (50 >> 3) << 11 | (80 >> 2) << 5 | 255 >> 3
    EXPECT_EQ(rgb565[1], (6u << 11) | (20u << 5) | 31u);
    EXPECT_EQ(rgb565[7], 0xFFFFu);
    const Palette rgb555 = MakePalette(gfx::PixelFormat::Rgb555());
    EXPECT_EQ(rgb555[4], (12u << 10) | (12u << 5) | 12u);
    // A format without a blue channel leaves blue out.
    EXPECT_EQ(PalettePixelValue(gfx::PixelFormat{16, 0xF800, 0x07E0, 0}, {255, 255, 255}), 0xFFE0u);
}

TEST(Globe, EveryTerrainCodeHasItsColour) {
    const std::vector<std::pair<std::int32_t, int>> cases = {{-1, 4}, {0, 1},  {1, 2},   {2, 3},
                                                             {3, 5},  {4, 6},  {5, 7},   {6, 8},
                                                             {7, 0},  {-2, 0}, {1000, 0}};
    MapRig rig;
    auto world = std::make_unique<WorldMap>();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(GlobeColourIndex(cases[i].first), cases[i].second) << cases[i].first;
        world->At(5, static_cast<int>(i)).Terrain = cases[i].first;
    }
    world->At(127, 255).Terrain = 6;
    auto surface = rig.Plain(kGlobeTextureWidth, kGlobeTextureHeight);
    const Palette palette = MakePalette(surface->Format());
    std::shared_ptr<gfx::rm::Texture> texture;
    ASSERT_TRUE(FillGlobeTexture(*world, surface, *rig.root, palette, texture));
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->ImageSurface(), surface);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const gfx::Rgb colour =
            gfx::RgbFromPixel(surface->Format(), MapRig::PixelAt(*surface, static_cast<int>(i), 5));
        EXPECT_EQ(colour, kPaletteColours[cases[i].second]) << cases[i].first;
    }
    // Unread tiles are grey, the corner tile lies at the surface's corner.
    EXPECT_EQ(MapRig::PixelAt(*surface, 100, 100), palette[4]);
    EXPECT_EQ(MapRig::PixelAt(*surface, 255, 127), palette[8]);
    EXPECT_TRUE(rig.shell.messages.empty());
}

struct GlobeFailure {
    const char* operation;
    const char* caption;
};

class GlobeFailures : public ::testing::TestWithParam<GlobeFailure> {};

TEST_P(GlobeFailures, EndTheProgramWithTheStepsCaption) {
    MapRig rig;
    auto world = std::make_unique<WorldMap>();
    auto surface = rig.Plain(kGlobeTextureWidth, kGlobeTextureHeight);
    rig.faults->Reset();
    rig.faults->FailCall(GetParam().operation, 1, gfx::DDERR_SURFACELOST);
    std::shared_ptr<gfx::rm::Texture> texture;
    EXPECT_FALSE(
        FillGlobeTexture(*world, surface, *rig.root, MakePalette(surface->Format()), texture));
    EXPECT_FALSE(texture);
    EXPECT_EQ(rig.OnlyMessage(), std::string(GetParam().caption) + ": DDERR_SURFACELOST");
    EXPECT_EQ(rig.shell.endRequests, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, GlobeFailures,
    ::testing::Values(GlobeFailure{"Lock", "Globe Map Texture Lock Error"},
                      GlobeFailure{"Unlock", "Globe Map Texture Unlock Error"},
                      GlobeFailure{"QueryInterface", "Unable to Query Globe Texture Surface"},
                      GlobeFailure{"CreateTextureFromSurface",
                                   "Unable to Create Globe Texture from Surface"}));

}  // namespace
