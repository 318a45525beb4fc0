// The composition of the flat world picture in the strip: tile pieces, tile rows, bands,
// scrolling and edge filling.
#include <cmath>
#include <cstring>

#include "view/hex_layout.h"
#include "view/main_map.h"
#include "view/pixel_access.h"
#include "view/view_failure.h"

namespace {

constexpr std::uint32_t kKeyedBlt = gfx::DDBLTFAST_SRCCOLORKEY | gfx::DDBLTFAST_WAIT;
constexpr std::uint32_t kPlainBlt = gfx::DDBLTFAST_NOCOLORKEY | gfx::DDBLTFAST_WAIT;
constexpr std::uint32_t kLock = gfx::DDLOCK_WAIT | gfx::DDLOCK_NOSYSLOCK;

constexpr int kLeftSearchEnd = 1000;
constexpr int kRightSearchEnd = 11800;
constexpr int kStretchColumns = 200;

gfx::Rect Lower(const gfx::Rect& rect, int top) {
    return {rect.left, top, rect.right, rect.bottom};
}

// Blanks a band of strip rows by copying the clear surface across the strip in 100 steps.
gfx::Result BlankRows(gfx::Surface& strip, gfx::Surface& clear, int top, int rows) {
    const gfx::Rect source{0, 0, kClearWidth, rows};
    for (int k = 0; k < kStripWidth / kClearWidth; ++k) {
        if (gfx::Result r = strip.BltFast(kClearWidth * k, top, &clear, &source, kPlainBlt);
            r != gfx::DD_OK) {
            return r;
        }
    }
    return gfx::DD_OK;
}

template <int Bpp>
void StretchRowEdges(std::uint8_t* row) {
    const auto pixel = [row](int c) { return row + static_cast<std::size_t>(c) * Bpp; };
    int left = 0;
    while (left < kLeftSearchEnd &&
           ReadPixel(row, static_cast<std::size_t>(left) * Bpp, Bpp) == 0) {
        ++left;
    }
    int right = kStripWidth - 1;
    while (right > kRightSearchEnd &&
           ReadPixel(row, static_cast<std::size_t>(right) * Bpp, Bpp) == 0) {
        --right;
    }
    // Every source column lies at or beyond the column written, so no value is read after
    // it has been rewritten in this pass. The quotients of StretchSourceLeft/Right are
    // stepped along instead of divided out for every column: the numerator grows by 200 per
    // column and the divisor is at least 200, so the quotient grows by at most one.
    const int leftDivisor = left + kStretchColumns;
    int quotient = 0;
    int remainder = 0;
    for (int c = 0; c < left + kStretchColumns; ++c) {
        std::memcpy(pixel(c), pixel(left + quotient), Bpp);
        remainder += kStretchColumns;
        if (remainder >= leftDivisor) {
            remainder -= leftDivisor;
            ++quotient;
        }
    }
    // Right margin: the source is right - ceil(200 m / d) for m = 12799 - c.
    const int rightDivisor = kStripWidth - 1 + kStretchColumns - right;
    int ceiling = 0;  // ceil(200 m / d)
    int slack = 0;    // ceiling x d - 200 m, 0 <= slack < d
    for (int c = kStripWidth - 1; c > right - kStretchColumns; --c) {
        std::memcpy(pixel(c), pixel(right - ceiling), Bpp);
        slack -= kStretchColumns;
        if (slack < 0) {
            slack += rightDivisor;
            ++ceiling;
        }
    }
}

}  // namespace

int StretchSourceLeft(int left, int column) {
    // trunc(L + c x 200 / (L + 200)); the quotient is never within rounding of an integer
    // it does not equal, so whole-number division gives the same column.
    return left + (column * kStretchColumns) / (left + kStretchColumns);
}

int StretchSourceRight(int right, int column) {
    // trunc(K - 200 x (12799 - c) / (12999 - K)), the quotient rounded up.
    const int numerator = kStretchColumns * (kStripWidth - 1 - column);
    const int denominator = kStripWidth - 1 + kStretchColumns - right;
    return right - (numerator + denominator - 1) / denominator;
}

bool MainMap::DrawPiece(gfx::Surface& tileArt, int x, int y, const gfx::Rect& source,
                        const char* caption) {
    if (gfx::Result r = LargeMapTextureSurface->BltFast(x, y, &tileArt, &source, kKeyedBlt);
        r != gfx::DD_OK) {
        return FatalGfxFailure(r, caption);
    }
    return true;
}

bool MainMap::DrawNHemisphereTile(gfx::Surface& tileArt, int column, int y, std::int32_t own,
                                  std::int32_t south, std::int32_t southWest,
                                  std::int32_t southEast) {
    const int o = ArtClassOf(own);
    const int s = ArtClassOf(south);
    const int sw = ArtClassOf(southWest);
    const int se = ArtClassOf(southEast);
    const int x = kTileColumnPitch * column;
    const int top = y + ((column & 1) != 0 ? kOddColumnShift : 0);
    return DrawPiece(tileArt, x + 11, top, PieceSource(PieceKind::Hex, HexSlot(o)),
                     "Hex Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x + 24, top + 33, PieceSource(PieceKind::Rect1, RectSlot(o, s)),
                     "Rect1 Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x, top + 17, PieceSource(PieceKind::Rect2, RectSlot(o, sw)),
                     "Rect2 Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x + 49, top + 17, PieceSource(PieceKind::Rect3, RectSlot(o, se)),
                     "Rect3 Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x + 49, top + 33, PieceSource(PieceKind::Tri1, TriSlot(o, s, se)),
                     "Tri1 Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x + 13, top + 33, PieceSource(PieceKind::Tri2, TriSlot(o, s, sw)),
                     "Tri2 Blt Error (DrawNHemisphereTile)");
}

bool MainMap::DrawEqHemisphereTile(gfx::Surface& tileArt, int column, int y, std::int32_t own,
                                   std::int32_t right) {
    const int o = ArtClassOf(own);
    const int r = ArtClassOf(right);
    const int x = kTileColumnPitch * column;
    const bool odd = (column & 1) != 0;
    if (!DrawPiece(tileArt, x + 11, y + (odd ? kOddColumnShift : 0),
                   PieceSource(PieceKind::Hex, HexSlot(o)),
                   "Hex Blt Error (DrawEqHemisphereTile)")) {
        return false;
    }
    // The edge to the right neighbour, which lies higher for odd columns and lower for even.
    if (odd) {
        return DrawPiece(tileArt, x + 49, y + 17, PieceSource(PieceKind::Rect2, RectSlot(r, o)),
                         "Rect2 Blt Error (DrawEqHemisphereTile)");
    }
    return DrawPiece(tileArt, x + 49, y + 17, PieceSource(PieceKind::Rect3, RectSlot(o, r)),
                     "Rect3 Blt Error (DrawEqHemisphereTile)");
}

bool MainMap::DrawSHemisphereTile(gfx::Surface& tileArt, int column, int y, std::int32_t own,
                                  std::int32_t north, std::int32_t northWest,
                                  std::int32_t northEast) {
    const int o = ArtClassOf(own);
    const int n = ArtClassOf(north);
    const int nw = ArtClassOf(northWest);
    const int ne = ArtClassOf(northEast);
    const int x = kTileColumnPitch * column;
    const int top = y + ((column & 1) != 0 ? kOddColumnShift : 0);
    constexpr bool kSouth = true;
    return DrawPiece(tileArt, x + 11, top + 17, PieceSource(PieceKind::Hex, HexSlot(o)),
                     "Hex Blt Error (DrawSHemisphereTile)") &&
           DrawPiece(tileArt, x + 24, top, PieceSource(PieceKind::Rect1, RectSlot(n, o)),
                     "Rect1 Blt Error (DrawSHemisphereTile)") &&
           DrawPiece(tileArt, x + 49, top + 9, PieceSource(PieceKind::Rect2, RectSlot(ne, o)),
                     "Rect2 Blt Error (DrawSHemisphereTile)") &&
           DrawPiece(tileArt, x, top + 9, PieceSource(PieceKind::Rect3, RectSlot(nw, o)),
                     "Rect3 Blt Error (DrawSHemisphereTile)") &&
           DrawPiece(tileArt, x + 49, top, PieceSource(PieceKind::Tri1, TriSlot(n, o, ne), kSouth),
                     "Tri1 Blt Error (DrawSHemisphereTile)") &&
           DrawPiece(tileArt, x + 13, top, PieceSource(PieceKind::Tri2, TriSlot(n, o, nw), kSouth),
                     "Tri2 Blt Error (DrawSHemisphereTile)");
}

bool MainMap::DrawNHemisphereTopFiller(gfx::Surface& tileArt, int column, std::int32_t own,
                                       std::int32_t left, std::int32_t right) {
    const int o = ArtClassOf(own);
    const int l = ArtClassOf(left);
    const int rn = ArtClassOf(right);
    const int x = kTileColumnPitch * column;
    const gfx::Rect hex = PieceSource(PieceKind::Hex, HexSlot(o));
    const gfx::Rect rect2 = PieceSource(PieceKind::Rect2, RectSlot(o, o));
    const gfx::Rect rect3 = PieceSource(PieceKind::Rect3, RectSlot(o, rn));
    return DrawPiece(tileArt, x + 11, 0, Lower(hex, hex.top + 24),
                     "Hex Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x + 24, 8, PieceSource(PieceKind::Rect1, RectSlot(o, l)),
                     "Rect1 Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x, 0, Lower(rect2, rect2.top + 8),
                     "Rect2 Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x + 49, 0, Lower(rect3, rect3.top + 8),
                     "Rect3 Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x + 49, 8, PieceSource(PieceKind::Tri1, TriSlot(o, l, rn)),
                     "Tri1 Blt Error (DrawNHemisphereTile)") &&
           DrawPiece(tileArt, x + 13, 8, PieceSource(PieceKind::Tri2, TriSlot(o, l, o)),
                     "Tri2 Blt Error (DrawNHemisphereTile)");
}

bool MainMap::DrawTileRow(const WorldMap& world, gfx::Surface& tileArt, int row, int y) {
    for (int c = 0; c < kWorldColumns; ++c) {
        const std::int32_t own = world.At(row, c).Terrain;
        if (own == TerrainUnset) {
            continue;
        }
        const TilePos tile{row, c};
        bool drawn;
        if (row < kEquatorRow) {
            drawn = DrawNHemisphereTile(tileArt, c, y, own,
                                        NeighbourTerrain(world, tile, HexDirection::S),
                                        NeighbourTerrain(world, tile, HexDirection::SW),
                                        NeighbourTerrain(world, tile, HexDirection::SE));
        } else if (row == kEquatorRow) {
            // The right neighbour in the same row, with the wrap rule.
            std::int32_t right = TerrainUnset;
            if (TileExists(world, row, c + 1)) {
                right = world.At(row, c + 1).Terrain;
            } else if (const auto first = FirstExistingColumn(world, row)) {
                right = world.At(row, *first).Terrain;
            }
            drawn = DrawEqHemisphereTile(tileArt, c, y, own, right);
        } else {
            drawn = DrawSHemisphereTile(tileArt, c, y, own,
                                        NeighbourTerrain(world, tile, HexDirection::N),
                                        NeighbourTerrain(world, tile, HexDirection::NW),
                                        NeighbourTerrain(world, tile, HexDirection::NE));
        }
        if (!drawn) {
            return false;
        }
    }
    if (row == 0) {
        const std::optional<int> first = FirstExistingColumn(world, 0);
        for (int c = 1; c < kWorldColumns; c += 2) {
            const std::int32_t right = c == kWorldColumns - 1
                                           ? (first ? world.At(0, *first).Terrain : TerrainUnset)
                                           : world.At(0, c + 1).Terrain;
            if (!DrawNHemisphereTopFiller(tileArt, c, world.At(0, c).Terrain,
                                          world.At(0, c - 1).Terrain, right)) {
                return false;
            }
        }
    }
    return true;
}

bool MainMap::ScrollStrip() {
    gfx::Surface& strip = *LargeMapTextureSurface;
    gfx::Surface& clear = *ClearSurface;
    const int moved = kStripHeight - kBandHeight;
    // The rows that the move below does not overwrite are blanked; the strip row at the band
    // height becomes row 0, exactly as far as the cursor moves, so what the last tile row
    // spilled below the band lines up with what is drawn next.
    if (gfx::Result r = BlankRows(strip, clear, moved, kBandHeight - moved); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Copy Blit Error, Clear Top 262 (Main Map Class)");
    }
    const gfx::Rect below{0, kBandHeight, kStripWidth, kStripHeight};
    if (gfx::Result r = strip.BltFast(0, 0, &strip, &below, kPlainBlt); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Copy Blit Error, Move 626 to 0 (Main Map Class)");
    }
    if (gfx::Result r = BlankRows(strip, clear, kBandHeight, moved); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Copy Blit Error, Clear Lower Section (Main Map Class)");
    }
    CursorY -= kBandHeight;
    return true;
}

bool MainMap::FillEdges() {
    gfx::Surface& strip = *LargeMapTextureSurface;
    // The searches and margins reach these columns only, so on the batching strip the edits
    // wait in its queue with the copies of the band.
    static constexpr gfx::ColumnRange kEdgeColumns[] = {
        {0, kLeftSearchEnd + kStretchColumns}, {kRightSearchEnd - kStretchColumns, kStripWidth}};
    const bool fits = strip.Width() >= kStripWidth && strip.Height() >= kBandHeight;
    gfx::RowEdit edit;
    switch (strip.Format().BytesPerPixel()) {
        case 2:
            edit = StretchRowEdges<2>;
            break;
        case 3:
            edit = StretchRowEdges<3>;
            break;
        case 4:
            edit = StretchRowEdges<4>;
            break;
        default:
            break;
    }
    if (gfx::Result r = strip.LockRows(0, fits ? kBandHeight : 0, kEdgeColumns, std::move(edit));
        r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Temp Clear Lock Error (Unit Drawing)");
    }
    if (gfx::Result r = strip.Unlock(); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Temp Clear Unlock Error");
    }
    return true;
}

bool MainMap::ComposeBand(const WorldMap& world, gfx::Surface& tileArt,
                          const ProgressFn& progress) {
    if (CursorY > kBandHeight && !ScrollStrip()) {
        return false;
    }
    while (CursorY < kBandHeight && NextTileRow < kWorldRows) {
        if (!DrawTileRow(world, tileArt, NextTileRow, CursorY)) {
            return false;
        }
        CursorY += NextTileRow == kEquatorRow ? kEquatorRowPitch : kTileRowPitch;
        ++NextTileRow;
        if (progress) {
            progress(static_cast<int>(NextTileRow * 0.0078125 * 100));
        }
    }
    return FillEdges();
}

bool MainMap::PrepareStrip(gfx::DirectDraw& directDraw) {
    gfx::SurfaceDesc desc;
    desc.caps = gfx::DDSCAPS_OFFSCREENPLAIN | gfx::DDSCAPS_SYSTEMMEMORY;
    desc.width = kStripWidth;
    desc.height = kStripHeight;
    if (gfx::Result r = directDraw.CreateSurface(desc, LargeMapTextureSurface); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Create Large Map Texture Surface Error");
    }
    if (LargeMapTextureSurface->QueryInterface(gfx::Iid::DirectDrawSurface3) != gfx::DD_OK) {
        return FatalFailure("Unable to upgrade Large Map Texture Surface", kFatalErrorCaption);
    }
    // The strip's copies are queued and run in cache-sized column blocks when the strip is
    // next locked or read; the strip is never the primary surface, so this cannot fail.
    LargeMapTextureSurface->BeginBatch();
    desc.width = kClearWidth;
    desc.height = kClearHeight;
    if (gfx::Result r = directDraw.CreateSurface(desc, ClearSurface); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Create Clear Surface Error");
    }
    if (ClearSurface->QueryInterface(gfx::Iid::DirectDrawSurface3) != gfx::DD_OK) {
        return FatalFailure("Unable to upgrade Clear Surface", kFatalErrorCaption);
    }
    gfx::SurfaceDesc locked;
    if (gfx::Result r = ClearSurface->Lock(locked, kLock); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Temp Clear Lock Error (Unit Drawing)");
    }
    const int bpp = locked.pixelFormat ? locked.pixelFormat->BytesPerPixel() : 0;
    for (int y = 0; y < locked.height; ++y) {
        for (int x = 0; x < locked.width; ++x) {
            WritePixel(
                locked.bits,
                static_cast<std::size_t>(y) * locked.pitch + static_cast<std::size_t>(x) * bpp, bpp,
                0);
        }
    }
    if (gfx::Result r = ClearSurface->Unlock(); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Temp Clear Unlock Error");
    }
    if (gfx::Result r = BlankRows(*LargeMapTextureSurface, *ClearSurface, 0, kClearHeight);
        r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Copy Blit Error, Temp Surface (Main Map Class)");
    }
    NextTileRow = 0;
    CursorY = 0;
    return true;
}

void MainMap::ReleaseStrip() {
    if (LargeMapTextureSurface) {
        LargeMapTextureSurface->EndBatch();
    }
    LargeMapTextureSurface.reset();
    ClearSurface.reset();
}
