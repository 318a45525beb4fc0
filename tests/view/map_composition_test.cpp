#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

#include "map_rig.h"
#include "view/hex_layout.h"
#include "view/main_map.h"
#include "view/pixel_access.h"

namespace {

constexpr std::uint32_t kTopLeft = 1;
constexpr std::uint32_t kBottomRight = 2;  // last row of the northern rectangle
constexpr std::uint32_t kSouthRow = 3;     // the extra row of the southern triangles
constexpr std::uint32_t kFillerTop = 4;    // first row the top filler takes

std::uint32_t Marker(PieceKind kind, int slot, std::uint32_t corner) {
    return ((static_cast<std::uint32_t>(kind) + 1) << 16) |
           (static_cast<std::uint32_t>(slot) << 8) | corner;
}

// Tile art that is black but for marker pixels: each slot's rectangle has its top-left and
// bottom-right pixels marked (and the extra southern row of the triangles, and the first
// row of the parts the top filler takes).
void PaintMarkers(MapRig& rig) {
    gfx::Surface& art = *rig.tileArt;
    for (PieceKind kind : kPieceKinds) {
        for (int slot = 0; slot < PieceSlotCount(kind); ++slot) {
            const gfx::Rect r = PieceSource(kind, slot);
            MapRig::SetPixel(art, r.left, r.top, Marker(kind, slot, kTopLeft));
            MapRig::SetPixel(art, r.right - 1, r.bottom - 1, Marker(kind, slot, kBottomRight));
            if (kind == PieceKind::Tri1 || kind == PieceKind::Tri2) {
                MapRig::SetPixel(art, r.right - 1, r.bottom, Marker(kind, slot, kSouthRow));
            }
            if (kind == PieceKind::Hex || kind == PieceKind::Rect2 || kind == PieceKind::Rect3) {
                const int fillerTop = kind == PieceKind::Hex ? 25 : r.top + 8;
                MapRig::SetPixel(art, r.left, fillerTop, Marker(kind, slot, kFillerTop));
            }
        }
    }
    const gfx::ColorKey key{0, 0};
    art.SetColorKey(gfx::DDCKEY_SRCBLT, &key);
}

struct Expected {
    int x;
    int y;
    std::uint32_t value;
};

// Every non-black pixel of the strip, as (x, y, value).
std::vector<std::tuple<int, int, std::uint32_t>> Drawn(const gfx::Surface& strip) {
    std::vector<std::tuple<int, int, std::uint32_t>> out;
    for (int y = 0; y < strip.Height(); ++y) {
        for (int x = 0; x < strip.Width(); ++x) {
            if (const std::uint32_t v = MapRig::PixelAt(strip, x, y); v != 0) {
                out.emplace_back(x, y, v);
            }
        }
    }
    return out;
}

void ExpectExactly(const gfx::Surface& strip, std::vector<Expected> expected) {
    std::vector<std::tuple<int, int, std::uint32_t>> want;
    for (const Expected& e : expected) {
        want.emplace_back(e.x, e.y, e.value);
    }
    std::sort(want.begin(), want.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<1>(a), std::get<0>(a)) < std::tie(std::get<1>(b), std::get<0>(b));
    });
    EXPECT_EQ(Drawn(strip), want);
}

class PiecePlacement : public ::testing::Test {
protected:
    void SetUp() override {
        PaintMarkers(rig);
        ASSERT_TRUE(map.PrepareStrip(*rig.directDraw));
    }
    MapRig rig;
    MainMap map;
};

TEST_F(PiecePlacement, NorthernTilesLandAtTheirPoints) {
    // Even column 4 at cursor 20: own Ocean, below Glacier, lower left Desert, lower right
    // Ocean (terrain 1).
    ASSERT_TRUE(map.DrawNHemisphereTile(*rig.tileArt, 4, 20, 0, 6, 3, 1));
    const int x = 49 * 4;
    const int y = 20;
    const auto hex = [](std::uint32_t c) { return Marker(PieceKind::Hex, 0, c); };
    ExpectExactly(*map.LargeMapTextureSurface,
                  {{x + 11, y, hex(kTopLeft)},
                   {x + 64, y + 32, hex(kBottomRight)},
                   {x + 11, y + 24, hex(kFillerTop)},
                   {x + 24, y + 33, Marker(PieceKind::Rect1, 2, kTopLeft)},
                   {x + 51, y + 49, Marker(PieceKind::Rect1, 2, kBottomRight)},
                   {x, y + 17, Marker(PieceKind::Rect2, 1, kTopLeft)},
                   {x + 26, y + 40, Marker(PieceKind::Rect2, 1, kBottomRight)},
                   {x, y + 25, Marker(PieceKind::Rect2, 1, kFillerTop)},
                   {x + 49, y + 17, Marker(PieceKind::Rect3, 0, kTopLeft)},
                   {x + 75, y + 40, Marker(PieceKind::Rect3, 0, kBottomRight)},
                   {x + 49, y + 25, Marker(PieceKind::Rect3, 0, kFillerTop)},
                   {x + 49, y + 33, Marker(PieceKind::Tri1, 6, kTopLeft)},
                   {x + 62, y + 49, Marker(PieceKind::Tri1, 6, kBottomRight)},
                   {x + 13, y + 33, Marker(PieceKind::Tri2, 7, kTopLeft)},
                   {x + 26, y + 49, Marker(PieceKind::Tri2, 7, kBottomRight)}});
}

TEST_F(PiecePlacement, OddColumnsAreHalfATileLower) {
    ASSERT_TRUE(map.DrawNHemisphereTile(*rig.tileArt, 5, 20, 6, 6, 6, 6));
    const int x = 49 * 5;
    const int y = 45;
    const gfx::Surface& strip = *map.LargeMapTextureSurface;
    EXPECT_EQ(MapRig::PixelAt(strip, x + 11, y), Marker(PieceKind::Hex, 2, kTopLeft));
    EXPECT_EQ(MapRig::PixelAt(strip, x + 24, y + 33), Marker(PieceKind::Rect1, 8, kTopLeft));
    EXPECT_EQ(MapRig::PixelAt(strip, x + 62, y + 49), Marker(PieceKind::Tri1, 26, kBottomRight));
    EXPECT_EQ(Drawn(strip).size(), 15u);
}

TEST_F(PiecePlacement, EquatorTilesDrawTheHexagonAndTheEdgeToTheRight) {
    // Even column: Rect3 of (own, right) below the cursor; odd column: Rect2 of (right,
    // own), at the same height, not shifted.
    ASSERT_TRUE(map.DrawEqHemisphereTile(*rig.tileArt, 6, 30, 6, 0));
    ASSERT_TRUE(map.DrawEqHemisphereTile(*rig.tileArt, 9, 30, 2, 6));
    const int even = 49 * 6;
    const int odd = 49 * 9;
    ExpectExactly(*map.LargeMapTextureSurface,
                  {{even + 11, 30, Marker(PieceKind::Hex, 2, kTopLeft)},
                   {even + 64, 62, Marker(PieceKind::Hex, 2, kBottomRight)},
                   {even + 11, 54, Marker(PieceKind::Hex, 2, kFillerTop)},
                   {even + 49, 47, Marker(PieceKind::Rect3, 6, kTopLeft)},
                   {even + 75, 70, Marker(PieceKind::Rect3, 6, kBottomRight)},
                   {even + 49, 55, Marker(PieceKind::Rect3, 6, kFillerTop)},
                   {odd + 11, 55, Marker(PieceKind::Hex, 1, kTopLeft)},
                   {odd + 64, 87, Marker(PieceKind::Hex, 1, kBottomRight)},
                   {odd + 11, 79, Marker(PieceKind::Hex, 1, kFillerTop)},
                   {odd + 49, 47, Marker(PieceKind::Rect2, 7, kTopLeft)},
                   {odd + 75, 70, Marker(PieceKind::Rect2, 7, kBottomRight)},
                   {odd + 49, 55, Marker(PieceKind::Rect2, 7, kFillerTop)}});
}

TEST_F(PiecePlacement, SouthernTilesDrawTheirUpperEdgesWithTallerTriangles) {
    // Own Ocean, above Glacier, upper left Desert, upper right Ocean.
    ASSERT_TRUE(map.DrawSHemisphereTile(*rig.tileArt, 8, 30, 0, 6, 2, 1));
    const int x = 49 * 8;
    const int y = 30;
    ExpectExactly(*map.LargeMapTextureSurface,
                  {{x + 11, y + 17, Marker(PieceKind::Hex, 0, kTopLeft)},
                   {x + 64, y + 49, Marker(PieceKind::Hex, 0, kBottomRight)},
                   {x + 11, y + 41, Marker(PieceKind::Hex, 0, kFillerTop)},
                   {x + 24, y, Marker(PieceKind::Rect1, 6, kTopLeft)},
                   {x + 51, y + 16, Marker(PieceKind::Rect1, 6, kBottomRight)},
                   {x + 49, y + 9, Marker(PieceKind::Rect2, 0, kTopLeft)},
                   {x + 75, y + 32, Marker(PieceKind::Rect2, 0, kBottomRight)},
                   {x + 49, y + 17, Marker(PieceKind::Rect2, 0, kFillerTop)},
                   {x, y + 9, Marker(PieceKind::Rect3, 3, kTopLeft)},
                   {x + 26, y + 32, Marker(PieceKind::Rect3, 3, kBottomRight)},
                   {x, y + 17, Marker(PieceKind::Rect3, 3, kFillerTop)},
                   {x + 49, y, Marker(PieceKind::Tri1, 18, kTopLeft)},
                   {x + 62, y + 16, Marker(PieceKind::Tri1, 18, kBottomRight)},
                   {x + 62, y + 17, Marker(PieceKind::Tri1, 18, kSouthRow)},
                   {x + 13, y, Marker(PieceKind::Tri2, 19, kTopLeft)},
                   {x + 26, y + 16, Marker(PieceKind::Tri2, 19, kBottomRight)},
                   {x + 26, y + 17, Marker(PieceKind::Tri2, 19, kSouthRow)}});
}

TEST_F(PiecePlacement, TheTopFillerUsesTheLowerPartsAtTheStripTop) {
    // Odd column 9: own Glacier, left Ocean (terrain 1), right Desert.
    ASSERT_TRUE(map.DrawNHemisphereTopFiller(*rig.tileArt, 9, 6, 1, 3));
    const int x = 49 * 9;
    ExpectExactly(*map.LargeMapTextureSurface,
                  {{x + 11, 0, Marker(PieceKind::Hex, 2, kFillerTop)},
                   {x + 64, 8, Marker(PieceKind::Hex, 2, kBottomRight)},
                   {x + 24, 8, Marker(PieceKind::Rect1, 6, kTopLeft)},
                   {x + 51, 24, Marker(PieceKind::Rect1, 6, kBottomRight)},
                   {x, 0, Marker(PieceKind::Rect2, 8, kFillerTop)},
                   {x + 26, 15, Marker(PieceKind::Rect2, 8, kBottomRight)},
                   {x + 49, 0, Marker(PieceKind::Rect3, 7, kFillerTop)},
                   {x + 75, 15, Marker(PieceKind::Rect3, 7, kBottomRight)},
                   {x + 49, 8, Marker(PieceKind::Tri1, 19, kTopLeft)},
                   {x + 62, 24, Marker(PieceKind::Tri1, 19, kBottomRight)},
                   {x + 13, 8, Marker(PieceKind::Tri2, 20, kTopLeft)},
                   {x + 26, 24, Marker(PieceKind::Tri2, 20, kBottomRight)}});
}

TEST_F(PiecePlacement, RowZeroGetsTheTopFillerOverEveryOddColumn) {
    // Only the tile (0, 3) exists: it is drawn, and all 128 odd columns get the filler.
    auto world = std::make_unique<WorldMap>();
    world->At(0, 3).Terrain = 6;
    ASSERT_TRUE(map.DrawTileRow(*world, *rig.tileArt, 0, 0));
    std::set<int> fillerColumns;
    for (const auto& [x, y, value] : Drawn(*map.LargeMapTextureSurface)) {
        if (value == Marker(PieceKind::Rect2, 4, kFillerTop) ||
            value == Marker(PieceKind::Rect2, 8, kFillerTop)) {
            fillerColumns.insert(x / 49);
        }
    }
    EXPECT_EQ(fillerColumns.size(), 128u);
    // The filler over column 3 is Glacier over a missing left and right tile (class 1).
    EXPECT_EQ(MapRig::PixelAt(*map.LargeMapTextureSurface, 49 * 3, 0),
              Marker(PieceKind::Rect2, 8, kFillerTop));
    EXPECT_EQ(MapRig::PixelAt(*map.LargeMapTextureSurface, 49 * 3 + 49, 0),
              Marker(PieceKind::Rect3, 7, kFillerTop));
    // The tile itself: an odd column, so its hexagon starts at row 25.
    EXPECT_EQ(MapRig::PixelAt(*map.LargeMapTextureSurface, 49 * 3 + 11, 25),
              Marker(PieceKind::Hex, 2, kTopLeft));
}

// Tile art whose every slot is one solid colour naming its kind and slot.
void PaintSolidSlots(MapRig& rig) {
    for (PieceKind kind : kPieceKinds) {
        for (int slot = 0; slot < PieceSlotCount(kind); ++slot) {
            gfx::FillPixels(rig.tileArt->View(), PieceSource(kind, slot, true),
                            Marker(kind, slot, 0));
        }
    }
    const gfx::ColorKey key{0, 0};
    rig.tileArt->SetColorKey(gfx::DDCKEY_SRCBLT, &key);
}

class NeighbourWrap : public ::testing::Test {
protected:
    void SetUp() override {
        PaintSolidSlots(rig);
        ASSERT_TRUE(map.PrepareStrip(*rig.directDraw));
        world = UniformWorld(0);
    }
    std::uint32_t At(int x, int y) { return MapRig::PixelAt(*map.LargeMapTextureSurface, x, y); }

    MapRig rig;
    MainMap map;
    std::unique_ptr<WorldMap> world;
};

TEST_F(NeighbourWrap, ColumnZeroTakesItsLeftNeighboursFromColumn255) {
    world->At(10, 255).Terrain = 6;
    world->At(10, 0).Terrain = 3;
    ASSERT_TRUE(map.DrawTileRow(*world, *rig.tileArt, 10, 0));
    // Even column 0: its lower-left neighbour is (10, -1), that is (10, 255).
    EXPECT_EQ(At(2, 20), Marker(PieceKind::Rect2, 3 * 1 + 2, 0));
    EXPECT_EQ(At(15, 45), Marker(PieceKind::Tri2, 9 * 1 + 3 * 0 + 2, 0));
}

TEST_F(NeighbourWrap, Column255TakesItsRightNeighboursFromColumnZero) {
    world->At(11, 0).Terrain = 6;  // the lower right neighbour of the odd column 255
    world->At(10, 255).Terrain = 2;
    ASSERT_TRUE(map.DrawTileRow(*world, *rig.tileArt, 10, 0));
    const int x = 49 * 255;
    EXPECT_EQ(At(x + 74, 25 + 20), Marker(PieceKind::Rect3, 3 * 1 + 2, 0));
    EXPECT_EQ(At(x + 55, 25 + 45), Marker(PieceKind::Tri1, 9 * 1 + 3 * 0 + 2, 0));

    // The equator row: the right neighbour of column 255 is the row's first tile.
    world->At(63, 0).Terrain = 6;
    ASSERT_TRUE(map.DrawTileRow(*world, *rig.tileArt, 63, 100));
    EXPECT_EQ(At(x + 74, 100 + 20), Marker(PieceKind::Rect2, 3 * 2 + 0, 0));
}

TEST_F(NeighbourWrap, MissingTilesAreReplacedByTheRowsFirstAndLastTiles) {
    // Rows 20 and 21 lack columns 0..3 and 250..255.
    for (int r : {20, 21}) {
        for (int c : {0, 1, 2, 3, 250, 251, 252, 253, 254, 255}) {
            world->At(r, c).Terrain = TerrainUnset;
        }
    }
    world->At(21, 4).Terrain = 6;    // first tile of row 21
    world->At(20, 249).Terrain = 3;  // last tile of row 20
    world->At(21, 249).Terrain = 2;  // last tile of row 21
    ASSERT_TRUE(map.DrawTileRow(*world, *rig.tileArt, 20, 0));
    // (20, 249), odd: lower right (21, 250) is missing -> the first tile of row 21.
    const int x249 = 49 * 249;
    EXPECT_EQ(At(x249 + 74, 25 + 20), Marker(PieceKind::Rect3, 3 * 1 + 2, 0));
    // (20, 4), even: lower left (20, 3) is missing -> the last tile of row 20.
    const int x4 = 49 * 4;
    EXPECT_EQ(At(x4 + 2, 20), Marker(PieceKind::Rect2, 3 * 0 + 1, 0));
    // No tile is drawn where the row has none.
    EXPECT_EQ(At(49 * 2 + 30, 25 + 10), 0u);

    EXPECT_EQ(NeighbourTerrain(*world, TilePos{20, 249}, HexDirection::SE), 6);
    EXPECT_EQ(NeighbourTerrain(*world, TilePos{21, 4}, HexDirection::NW), 3);
    EXPECT_EQ(NeighbourTerrain(*world, TilePos{20, 4}, HexDirection::SW), 3);
    // A row without any tile gives no neighbour.
    for (int c = 0; c < kWorldColumns; ++c) {
        world->At(22, c).Terrain = TerrainUnset;
    }
    EXPECT_EQ(NeighbourTerrain(*world, TilePos{21, 5}, HexDirection::SE), TerrainUnset);
}

TEST(HexLayout, NeighboursAreMutual) {
    for (int r = 1; r < kWorldRows - 1; ++r) {
        for (int c = 1; c < kWorldColumns - 1; ++c) {
            for (HexDirection d : kHexDirections) {
                const TilePos n = RawNeighbour({r, c}, d);
                EXPECT_EQ(RawNeighbour(n, Opposite(d)), (TilePos{r, c}));
            }
        }
    }
    // Even columns reach up, odd columns down.
    EXPECT_EQ(RawNeighbour({5, 4}, HexDirection::NE), (TilePos{4, 5}));
    EXPECT_EQ(RawNeighbour({5, 5}, HexDirection::SE), (TilePos{6, 6}));
    auto world = UniformWorld(1);
    EXPECT_EQ(DrawingNeighbour(*world, {5, 0}, HexDirection::NW), (TilePos{4, 255}));
    EXPECT_EQ(DrawingNeighbour(*world, {5, 255}, HexDirection::NE), (TilePos{5, 0}));
    EXPECT_EQ(DrawingNeighbour(*world, {0, 7}, HexDirection::N), (TilePos{-1, 7}));
}

TEST(ComposeBand, BandsHoldFixedRowsAndTheGaugeFollows) {
    MapRig rig;
    auto world = std::make_unique<WorldMap>();  // no tiles: only the band logic runs
    MainMap map;
    ASSERT_TRUE(map.PrepareStrip(*rig.directDraw));
    std::vector<int> gauge;
    std::vector<int> rowsPerBand;
    for (int g = 0; g < kMapGroupRows; ++g) {
        const int before = map.NextTileRow;
        ASSERT_TRUE(map.ComposeBand(*world, *rig.tileArt, [&](int p) { gauge.push_back(p); }));
        rowsPerBand.push_back(map.NextTileRow - before);
        if (g == 0) {
            EXPECT_EQ(map.NextTileRow, 6);
            EXPECT_EQ(map.CursorY, 294);
        }
    }
    EXPECT_EQ(rowsPerBand, (std::vector<int>{6, 5, 5, 6, 5, 5, 6, 5, 5, 6, 5, 6,
                                             5, 5, 6, 5, 5, 6, 5, 5, 6, 5, 5, 5}));
    EXPECT_EQ(map.NextTileRow, 128);
    EXPECT_EQ(map.CursorY, 252);
    ASSERT_EQ(gauge.size(), 128u);
    for (int n = 1; n <= 128; ++n) {
        EXPECT_EQ(gauge[n - 1], static_cast<int>(n * 0.0078125 * 100)) << n;
    }
    EXPECT_TRUE(rig.shell.messages.empty());
}

TEST(ComposeBand, TheSpillBelowABandMovesUpByTheBandHeight) {
    MapRig rig;
    auto world = std::make_unique<WorldMap>();
    MainMap map;
    ASSERT_TRUE(map.PrepareStrip(*rig.directDraw));
    ASSERT_TRUE(map.ComposeBand(*world, *rig.tileArt));
    gfx::Surface& strip = *map.LargeMapTextureSurface;
    MapRig::SetPixel(strip, 500, 261, 0x111111);
    MapRig::SetPixel(strip, 500, 300, 0x222222);
    MapRig::SetPixel(strip, 500, 349, 0x333333);
    MapRig::SetPixel(strip, 500, 100, 0x444444);
    ASSERT_TRUE(map.ScrollStrip());
    EXPECT_EQ(map.CursorY, 294 - 261);
    EXPECT_EQ(MapRig::PixelAt(strip, 500, 0), 0x111111u);
    EXPECT_EQ(MapRig::PixelAt(strip, 500, 39), 0x222222u);
    EXPECT_EQ(MapRig::PixelAt(strip, 500, 88), 0x333333u);
    EXPECT_EQ(Drawn(strip).size(), 3u);
}

// --- Edge filling. ---

TEST(FillEdges, IntegerStretchMatchesTheFloatingPointRule) {
    for (int left = 0; left <= 1000; ++left) {
        for (int c = 0; c < left + 200; ++c) {
            ASSERT_EQ(StretchSourceLeft(left, c),
                      static_cast<int>(std::trunc(left + c * 200.0 / (left + 200))))
                << left << " " << c;
        }
    }
    for (int right = 11800; right <= 12799; ++right) {
        for (int c = 12799; c > right - 200; --c) {
            ASSERT_EQ(StretchSourceRight(right, c),
                      static_cast<int>(std::trunc(right - 200.0 * (12799 - c) / (12999 - right))))
                << right << " " << c;
        }
    }
}

class FillEdgesRows : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(map.PrepareStrip(*rig.directDraw)); }
    gfx::Surface& Strip() { return *map.LargeMapTextureSurface; }
    // Columns first..last of row y get the value column + 1.
    void Paint(int y, int first, int last) {
        for (int c = first; c <= last; ++c) {
            MapRig::SetPixel(Strip(), c, y, static_cast<std::uint32_t>(c + 1));
        }
    }
    std::uint32_t At(int x, int y) { return MapRig::PixelAt(Strip(), x, y); }

    MapRig rig;
    MainMap map;
};

TEST_F(FillEdgesRows, MarginsStretchTheTwoHundredColumnsNextToThem) {
    Paint(0, 37, 12500);
    ASSERT_TRUE(map.FillEdges());
    EXPECT_EQ(At(0, 0), 38u);  // from column 37
    EXPECT_EQ(At(1, 0), 38u);  // trunc(37 + 200 / 237)
    EXPECT_EQ(At(100, 0), static_cast<std::uint32_t>(37 + 100 * 200 / 237 + 1));
    EXPECT_EQ(At(236, 0), 237u);
    EXPECT_EQ(At(237, 0), 238u);      // beyond the margin: unchanged
    EXPECT_EQ(At(12799, 0), 12501u);  // from column 12500
    EXPECT_EQ(At(12301, 0), 12301u);  // trunc(12500 - 200 x 498 / 499) = 12300
    EXPECT_EQ(At(12300, 0), 12301u);  // unchanged
    for (int c = 0; c < 237; ++c) {
        ASSERT_EQ(At(c, 0), static_cast<std::uint32_t>(StretchSourceLeft(37, c) + 1)) << c;
    }
    for (int c = 12301; c < 12800; ++c) {
        ASSERT_EQ(At(c, 0), static_cast<std::uint32_t>(StretchSourceRight(12500, c) + 1)) << c;
    }
}

TEST_F(FillEdgesRows, SearchesStopAtTheirLimits) {
    // Row 1: black up to column 999 and from 11801 on: L = 1000, K = 11800.
    Paint(1, 1000, 11800);
    // Row 2: black in 0..999 and beyond 11800 but for column 11800 itself missing too.
    Paint(2, 1000, 11799);
    // Row 3: all black; row 261 lies outside the band and is left alone.
    Paint(261, 5, 5);
    ASSERT_TRUE(map.FillEdges());
    EXPECT_EQ(At(0, 1), 1001u);
    EXPECT_EQ(At(1199, 1), static_cast<std::uint32_t>(1000 + 1199 * 200 / 1200 + 1));
    EXPECT_EQ(At(12799, 1), 11801u);
    EXPECT_EQ(At(11601, 1), static_cast<std::uint32_t>(11800 - 200 + 1));
    for (int c = 0; c < 1200; ++c) {
        ASSERT_EQ(At(c, 1), static_cast<std::uint32_t>(StretchSourceLeft(1000, c) + 1)) << c;
    }
    for (int c = 11601; c < 12800; ++c) {
        ASSERT_EQ(At(c, 1), static_cast<std::uint32_t>(StretchSourceRight(11800, c) + 1)) << c;
    }
    // K = 11800 although that pixel is black: the stretch copies black over the margin.
    EXPECT_EQ(At(12799, 2), 0u);
    EXPECT_EQ(StretchSourceRight(11800, 11700), 11616);
    EXPECT_EQ(At(11700, 2), 11617u);
    for (int c : {0, 500, 1199, 6000, 12000, 12799}) {
        EXPECT_EQ(At(c, 3), 0u) << c;
    }
    EXPECT_EQ(At(0, 261), 0u);
    EXPECT_EQ(At(5, 261), 6u);
}

}  // namespace
