// The tile art: the three art classes, the slots of the tile art surface, the bitmap names
// that fill them, and where each piece is taken from and drawn. The composer and the art
// generator both work from these tables, so the pictures are cut exactly where they are
// drawn.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/gfx/pixels.h"
#include "platform/os/bitmap_file.h"

namespace gfx {
class Surface;
}

inline constexpr int kArtClassCount = 3;
inline constexpr int kTileArtWidth = 6000;
inline constexpr int kTileArtHeight = 170;

// The names of the art classes, in class order, as the "TerrainTypes" record holds them.
using ArtClassNames = std::array<std::string, kArtClassCount>;

// The art class of a terrain code: 0 for 0 and 1, 2 for 6, 1 for every other value (-1,
// a missing tile, included).
inline int ArtClassOf(std::int32_t terrain) {
    if (terrain == 0 || terrain == 1) {
        return 0;
    }
    return terrain == 6 ? 2 : 1;
}

// Reads the three zero-ended names of a "TerrainTypes" record; std::nullopt when the
// record holds fewer than three.
std::optional<ArtClassNames> ParseTerrainTypes(std::span<const std::uint8_t> record);
// The names from the built-in "TerrainTypes" record.
std::optional<ArtClassNames> BuiltInTerrainTypes();

// The kinds of tile piece, in the order the slots are filled.
enum class PieceKind { Hex, Rect1, Rect2, Rect3, Tri1, Tri2 };
inline constexpr std::array<PieceKind, 6> kPieceKinds = {PieceKind::Hex,   PieceKind::Rect1,
                                                         PieceKind::Rect2, PieceKind::Rect3,
                                                         PieceKind::Tri1,  PieceKind::Tri2};

// How many classes index a piece (1 for Hex, 2 for the Rects, 3 for the Tris) and how many
// slots it has (3, 9 or 27).
int PieceIndexCount(PieceKind kind);
int PieceSlotCount(PieceKind kind);

// Where the bitmap of slot n of a kind is copied (its top-left corner).
struct SlotOrigin {
    int x = 0;
    int y = 0;
};
SlotOrigin PieceSlotOrigin(PieceKind kind, int slot);

// The room a slot must have to its right: the tile art surface must be at least the slot's
// x origin plus this wide.
int PieceSlotRoom(PieceKind kind);

// The part of slot n that is drawn: the whole used rectangle (southern Tris are one row
// taller than northern ones).
gfx::Rect PieceSource(PieceKind kind, int slot, bool southern = false);
// Size of a bitmap that covers every rectangle used from its slot (the southern one too).
int PieceBitmapWidth(PieceKind kind);
int PieceBitmapHeight(PieceKind kind);

// The bitmap name of a slot: "GAMEART\" + the names of its classes + the kind's suffix.
// Class a is the first index (a = n / 9 for Tris, n / 3 for Rects, n for Hex).
std::string PieceBitmapName(const ArtClassNames& names, PieceKind kind, int slot);
// The fixed replacement of a kind: "GAMEART\BlankHex.bmp" and so on.
std::string BlankBitmapName(PieceKind kind);
// The file name part after the class names ("1hex.bmp", "Rect1.bmp", ...).
std::string_view PieceSuffix(PieceKind kind);

// The slot of a piece from its classes: Hex(a), Rect(a, b) = 3a + b, Tri(a, b, c) =
// 9a + 3b + c.
inline int HexSlot(int a) {
    return a;
}
inline int RectSlot(int a, int b) {
    return 3 * a + b;
}
inline int TriSlot(int a, int b, int c) {
    return 9 * a + 3 * b + c;
}

// Fills the tile art surface: for every slot in order (3 Hex, 9 Rect1, 9 Rect2, 9 Rect3, 27
// Tri1, 27 Tri2) the slot's bitmap, or the Blank bitmap of its kind, is copied to the slot
// origin; after each slot the surface must have the slot's room. Finally the surface's
// source colour key becomes black's pixel value. On failure it shows the message ("Unable to
// load Offscreen Surface" or "Offscreen Surface is full.", caption "Fatal Error"), asks the
// application to end and returns false. A bitmap that cannot be copied onto the surface
// writes "ddcopybitmap failed " to the debug output and counts as not loaded.
bool FillTileArtSurface(gfx::Surface& surface, const ArtClassNames& names);

// Copies a bitmap onto a surface with its top-left corner at (x, y) through the surface's
// drawing context; false (after the debug line) when the copy cannot be made.
bool CopyBitmapToSurface(gfx::Surface& surface, const Bitmap& bitmap, int x, int y);

// Sets the surface's source colour key to the pixel value that black has on it: black is
// written to pixel (0, 0) through the drawing context, the pixel is read under a lock
// (retried while the surface is still drawing) and masked to the surface's bit count, and
// the old colour is put back. Failures are ignored; the key is then the format's value of
// black. Returns the key set.
std::uint32_t SetBlackSourceKey(gfx::Surface& surface);
