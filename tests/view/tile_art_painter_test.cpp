#include "view/tile_art_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "map_rig.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(TileArtPainter, PiecesAreBlackExactlyOutsideTheirArea) {
    for (PieceKind kind : kPieceKinds) {
        const std::vector<bool> mask = PieceMask(kind);
        const int drawn = static_cast<int>(std::count(mask.begin(), mask.end(), true));
        EXPECT_GT(drawn, static_cast<int>(mask.size()) / 3) << static_cast<int>(kind);
        for (int slot : {-1, 0, PieceSlotCount(kind) - 1}) {
            const Bitmap bitmap = PaintPiece(kind, slot);
            ASSERT_EQ(bitmap.width, PieceBitmapWidth(kind));
            ASSERT_EQ(bitmap.height, PieceBitmapHeight(kind));
            for (int y = 0; y < bitmap.height; ++y) {
                for (int x = 0; x < bitmap.width; ++x) {
                    const std::uint8_t* p = bitmap.At(x, y);
                    const int brightest = std::max({p[0], p[1], p[2]});
                    if (mask[static_cast<std::size_t>(y) * bitmap.width + x]) {
                        // Never black, not even on a display of 5 bits per channel.
                        ASSERT_GE(brightest, 8) << static_cast<int>(kind) << " " << x << "," << y;
                    } else {
                        ASSERT_EQ(brightest, 0) << static_cast<int>(kind) << " " << x << "," << y;
                    }
                }
            }
        }
    }
    // Rows above the drawn rectangle of a slot stay black.
    const std::vector<bool> hex = PieceMask(PieceKind::Hex);
    EXPECT_TRUE(std::none_of(hex.begin(), hex.begin() + PieceBitmapWidth(PieceKind::Hex),
                             [](bool b) { return b; }));
}

// Composes tile rows with the painted art and compares them with the ideal picture.
class SeamlessComposition : public ::testing::TestWithParam<gfx::PixelFormat> {
protected:
    // The art is painted once for all tests of the suite.
    static void SetUpTestSuite() {
        dir = new TempDir;
        fs::create_directories(dir->path() / "GAMEART");
        painted = WriteTileArt((dir->path() / "GAMEART").string(),
                               ArtClassNames{"Ocean", "Desert", "Glacier"});
    }
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(painted);
        rig = std::make_unique<MapRig>(GetParam());
        {
            WorkingDirectory inside(dir->path());
            ASSERT_TRUE(map.LoadTileArt(*rig->tileArt));
        }
        ASSERT_TRUE(map.PrepareStrip(*rig->directDraw));
        // Every terrain code, scattered.
        std::uint32_t seed = 12345;
        for (int r = 0; r < kWorldRows; ++r) {
            for (int c = 0; c < kWorldColumns; ++c) {
                seed = seed * 1103515245u + 12345u;
                world->At(r, c).Terrain = static_cast<std::int32_t>((seed >> 16) % 7);
            }
        }
    }

    // Draws rows first..last with the cursor of the flat picture shifted up by `offset`.
    void DrawRows(int first, int last, int offset) {
        for (int r = first; r <= last; ++r) {
            const int cursor = r <= kEquatorRow ? 49 * r : 49 * r - 17;
            ASSERT_TRUE(map.DrawTileRow(*world, *rig->tileArt, r, cursor - offset));
        }
    }

    // Checks strip rows [top, bottom), flat rows offset + y, away from the picture's
    // left and right margins: no pixel is black and the colours follow the ideal picture.
    void ExpectIdeal(int top, int bottom, int offset) {
        const auto classAt = [this](int r, int c) {
            r = std::clamp(r, 0, kWorldRows - 1);
            c = ((c % kWorldColumns) + kWorldColumns) % kWorldColumns;
            return ArtClassOf(world->At(r, c).Terrain);
        };
        const gfx::Surface& strip = *map.LargeMapTextureSurface;
        const int tolerance = GetParam().bitCount == 16 ? 12 : 4;
        long compared = 0;
        long far = 0;
        double total = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 300; x < 12400; ++x) {
                const std::uint32_t pixel = MapRig::PixelAt(strip, x, y);
                ASSERT_NE(pixel, 0u) << "hole at " << x << "," << y;
                if ((x + 3 * y) % 11 != 0) {
                    continue;
                }
                const gfx::Rgb got = gfx::RgbFromPixel(strip.Format(), pixel);
                const ArtColour want = IdealColour(classAt, ArtPoint{x + 0.5, offset + y + 0.5});
                const double diff =
                    std::max({std::abs(want.red - got.red), std::abs(want.green - got.green),
                              std::abs(want.blue - got.blue)});
                total += diff;
                far += diff > 40 ? 1 : 0;
                ++compared;
            }
        }
        // Pieces drawn half a pixel off their ideal place differ a little where colours
        // change fast; nowhere do they show something else.
        EXPECT_LT(total / compared, tolerance);
        EXPECT_LT(far, compared / 200);
    }

    static inline TempDir* dir = nullptr;
    static inline bool painted = false;
    std::unique_ptr<MapRig> rig;
    MainMap map;
    std::unique_ptr<WorldMap> world = std::make_unique<WorldMap>();
};

TEST_P(SeamlessComposition, NorthernRowsAndTheTopFiller) {
    DrawRows(0, 4, 0);
    // The top filler covers rows 0..24 of the strip; below it the picture is ideal.
    const gfx::Surface& strip = *map.LargeMapTextureSurface;
    for (int y = 0; y < 26; ++y) {
        for (int x = 300; x < 12400; ++x) {
            ASSERT_NE(MapRig::PixelAt(strip, x, y), 0u) << "hole at " << x << "," << y;
        }
    }
    ExpectIdeal(26, 4 * 49, 0);
}

TEST_P(SeamlessComposition, AroundTheEquator) {
    const int offset = 49 * 61;
    DrawRows(61, 66, offset);
    ExpectIdeal(60, 240, offset);
}

TEST_P(SeamlessComposition, DownToTheSouthernEdge) {
    const int offset = 49 * 124 - 17;
    DrawRows(124, 127, offset);
    ExpectIdeal(50, kFlatPictureHeight - offset, offset);
}

INSTANTIATE_TEST_SUITE_P(Depths, SeamlessComposition,
                         ::testing::Values(gfx::PixelFormat::Xrgb8888(),
                                           gfx::PixelFormat::Rgb565()));

}  // namespace
