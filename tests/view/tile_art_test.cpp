#include "view/tile_art.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "map_rig.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(TileArt, ClassesAndNames) {
    EXPECT_EQ(ArtClassOf(0), 0);
    EXPECT_EQ(ArtClassOf(1), 0);
    for (int t : {-1, 2, 3, 4, 5, 7, 100}) {
        EXPECT_EQ(ArtClassOf(t), 1) << t;
    }
    EXPECT_EQ(ArtClassOf(6), 2);

    const auto names = BuiltInTerrainTypes();
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (ArtClassNames{"Ocean", "Desert", "Glacier"}));
    EXPECT_EQ(PieceBitmapName(*names, PieceKind::Hex, 0), "GAMEART\\Ocean1hex.bmp");
    EXPECT_EQ(PieceBitmapName(*names, PieceKind::Rect1, 1), "GAMEART\\OceanDesertRect1.bmp");
    EXPECT_EQ(PieceBitmapName(*names, PieceKind::Tri2, 9 * 1 + 3 * 2 + 0),
              "GAMEART\\DesertGlacierOceanTri2.bmp");
    EXPECT_EQ(PieceBitmapName(*names, PieceKind::Rect3, 8), "GAMEART\\GlacierGlacierRect3.bmp");
    EXPECT_EQ(BlankBitmapName(PieceKind::Tri1), "GAMEART\\BlankTri1.bmp");

    const std::uint8_t shortRecord[] = {'A', 0, 'B', 0, 'C'};
    EXPECT_FALSE(ParseTerrainTypes(shortRecord));
}

TEST(TileArt, PieceBitmapsCoverTheirSlots) {
    // A bitmap of the kind's size covers every rectangle used from its slot.
    for (PieceKind kind : kPieceKinds) {
        const SlotOrigin origin = PieceSlotOrigin(kind, 1);
        const gfx::Rect used = PieceSource(kind, 1, true);
        EXPECT_GE(origin.x + PieceBitmapWidth(kind), used.right);
        EXPECT_GE(origin.y + PieceBitmapHeight(kind), used.bottom);
        EXPECT_LE(origin.y, used.top);
    }
}

// A colour per kind and slot (slot -1: the Blank bitmap), never black.
gfx::Rgb SlotColour(PieceKind kind, int slot) {
    return {static_cast<std::uint8_t>(30 + 30 * static_cast<int>(kind)),
            static_cast<std::uint8_t>(slot < 0 ? 250 : 5 * slot + 10), 77};
}

// Writes solid art bitmaps under dir/GAMEART: all pieces (unless `withPieces` is false)
// and all Blank bitmaps (unless `withBlanks` is false).
void WriteSolidArt(const fs::path& dir, bool withPieces = true, bool withBlanks = true) {
    fs::create_directories(dir / "GAMEART");
    const ArtClassNames names{"Ocean", "Desert", "Glacier"};
    const auto write = [&](const std::string& gameName, PieceKind kind, int slot) {
        Bitmap bitmap = MakeBitmap(PieceBitmapWidth(kind), PieceBitmapHeight(kind));
        const gfx::Rgb c = SlotColour(kind, slot);
        for (int y = 0; y < bitmap.height; ++y) {
            for (int x = 0; x < bitmap.width; ++x) {
                std::uint8_t* p = bitmap.At(x, y);
                p[0] = c.red;
                p[1] = c.green;
                p[2] = c.blue;
            }
        }
        ASSERT_TRUE(WriteBmpFile((dir / "GAMEART" / gameName.substr(8)).string(), bitmap));
    };
    for (PieceKind kind : kPieceKinds) {
        if (withPieces) {
            for (int slot = 0; slot < PieceSlotCount(kind); ++slot) {
                write(PieceBitmapName(names, kind, slot), kind, slot);
            }
        }
        if (withBlanks) {
            write(BlankBitmapName(kind), kind, -1);
        }
    }
}

gfx::Rgb SlotPixel(const gfx::Surface& art, PieceKind kind, int slot) {
    const gfx::Rect r = PieceSource(kind, slot);
    return gfx::RgbFromPixel(art.Format(),
                             MapRig::PixelAt(art, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

class TileArtLoading : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(TileArtLoading, EverySlotGetsItsBitmapAndBlackBecomesTheKey) {
    WriteSolidArt(dir.path());
    MapRig rig;
    WorkingDirectory inside(dir.path());
    MainMap map;
    ASSERT_TRUE(map.LoadTileArt(*rig.tileArt));
    EXPECT_EQ(map.TerrainTypeNames, (ArtClassNames{"Ocean", "Desert", "Glacier"}));
    for (PieceKind kind : kPieceKinds) {
        for (int slot = 0; slot < PieceSlotCount(kind); ++slot) {
            EXPECT_EQ(SlotPixel(*rig.tileArt, kind, slot), SlotColour(kind, slot))
                << static_cast<int>(kind) << " " << slot;
        }
    }
    ASSERT_TRUE(rig.tileArt->SourceKey());
    EXPECT_EQ(rig.tileArt->SourceKey()->low, 0u);
    // Finding black's value leaves the first pixel as it was.
    EXPECT_EQ(gfx::RgbFromPixel(rig.tileArt->Format(), MapRig::PixelAt(*rig.tileArt, 0, 0)),
              SlotColour(PieceKind::Hex, 0));
    EXPECT_TRUE(rig.shell.messages.empty());
}

TEST_F(TileArtLoading, AMissingBitmapFallsBackToTheBlankOfItsKind) {
    WriteSolidArt(dir.path());
    fs::remove(dir.path() / "GAMEART" / "OceanDesertRect1.bmp");
    fs::remove(dir.path() / "GAMEART" / "GlacierGlacierGlacierTri2.bmp");
    MapRig rig(gfx::PixelFormat::Rgb888());
    WorkingDirectory inside(dir.path());
    MainMap map;
    ASSERT_TRUE(map.LoadTileArt(*rig.tileArt));
    EXPECT_EQ(SlotPixel(*rig.tileArt, PieceKind::Rect1, 1), SlotColour(PieceKind::Rect1, -1));
    EXPECT_EQ(SlotPixel(*rig.tileArt, PieceKind::Rect1, 2), SlotColour(PieceKind::Rect1, 2));
    EXPECT_EQ(SlotPixel(*rig.tileArt, PieceKind::Tri2, 26), SlotColour(PieceKind::Tri2, -1));
    EXPECT_TRUE(rig.shell.messages.empty());
}

TEST_F(TileArtLoading, OnlyBlanksStillLoad) {
    WriteSolidArt(dir.path(), false, true);
    MapRig rig;
    WorkingDirectory inside(dir.path());
    MainMap map;
    ASSERT_TRUE(map.LoadTileArt(*rig.tileArt));
    EXPECT_EQ(SlotPixel(*rig.tileArt, PieceKind::Tri1, 13), SlotColour(PieceKind::Tri1, -1));
}

TEST_F(TileArtLoading, BitmapAndBlankBothMissingEndTheProgram) {
    WriteSolidArt(dir.path());
    fs::remove(dir.path() / "GAMEART" / "DesertOceanRect3.bmp");
    fs::remove(dir.path() / "GAMEART" / "BlankRect3.bmp");
    MapRig rig;
    WorkingDirectory inside(dir.path());
    MainMap map;
    EXPECT_FALSE(map.LoadTileArt(*rig.tileArt));
    EXPECT_EQ(rig.OnlyMessage(), "Fatal Error: Unable to load Offscreen Surface");
    EXPECT_EQ(rig.shell.endRequests, 1);
    // Loading stopped there: the Tri slots were never filled.
    EXPECT_EQ(MapRig::PixelAt(*rig.tileArt, 7, 130), 0u);
}

TEST_F(TileArtLoading, ANarrowSurfaceIsFull) {
    WriteSolidArt(dir.path());
    MapRig rig(gfx::PixelFormat::Xrgb8888(), 400);
    WorkingDirectory inside(dir.path());
    MainMap map;
    EXPECT_FALSE(map.LoadTileArt(*rig.tileArt));
    EXPECT_EQ(rig.OnlyMessage(), "Fatal Error: Offscreen Surface is full.");
    // Tri1 slot 21 (origin 315) still had its room; slot 22 (origin 330) had not.
    EXPECT_EQ(SlotPixel(*rig.tileArt, PieceKind::Tri1, 21), SlotColour(PieceKind::Tri1, 21));
}

TEST_F(TileArtLoading, ABitmapThatCannotBeCopiedCountsAsNotLoaded) {
    WriteSolidArt(dir.path());
    MapRig rig;
    rig.faults->FailCall("GetDC", 1, gfx::DDERR_GENERIC);
    WorkingDirectory inside(dir.path());
    MainMap map;
    ASSERT_TRUE(map.LoadTileArt(*rig.tileArt));
    EXPECT_EQ(rig.shell.debugLines, (std::vector<std::string>{"ddcopybitmap failed "}));
    EXPECT_EQ(SlotPixel(*rig.tileArt, PieceKind::Hex, 0), SlotColour(PieceKind::Hex, -1));
    EXPECT_EQ(SlotPixel(*rig.tileArt, PieceKind::Hex, 1), SlotColour(PieceKind::Hex, 1));
}

TEST(TileArtKey, BlackIsFoundOnEveryDepth) {
    for (const gfx::PixelFormat& format :
         {gfx::PixelFormat::Rgb565(), gfx::PixelFormat::Rgb555(), gfx::PixelFormat::Rgb888()}) {
        MapRig rig(format);
        MapRig::SetPixel(*rig.tileArt, 0, 0, 0x1234);
        EXPECT_EQ(SetBlackSourceKey(*rig.tileArt), 0u);
        EXPECT_EQ(rig.tileArt->SourceKey()->low, 0u);
        // The pixel borrowed to find black's value gets its colour back.
        EXPECT_EQ(MapRig::PixelAt(*rig.tileArt, 0, 0), 0x1234u);
    }
}

}  // namespace
