// Paints the tile art: every piece bitmap of every class combination, and the Blank
// replacements, cut out of an ideal picture of the hexagonal neighbourhood.
//
// The ideal picture gives every point of the flat world picture the texture of its nearest
// tile centre, blended softly with the textures of the tiles whose centres are nearly as
// near. Each tile's influence ends kBlendDistance pixels (in distance difference) from its
// own cell, so a point near an edge depends on two tiles and a point near a corner on three.
// A piece bitmap shows the ideal picture, for its classes, exactly where the composer draws
// it, on every pixel whose picture depends only on the piece's own tiles in every place the
// piece is drawn (northern, equator, southern and top-row tiles, even and odd columns); every
// other pixel is black, the colour key. The pieces together cover the whole picture.
//
// Textures are periodic with the tile layout (one period per tile), so that two tiles of the
// same class meet without a visible border.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/os/bitmap_file.h"
#include "view/tile_art.h"

// The class the Blank replacements are painted with.
inline constexpr int kBlankArtClass = 3;
// How far (in pixels of distance difference) a tile's texture reaches past its cell.
inline constexpr double kBlendDistance = 6.0;

struct ArtColour {
    double red = 0;
    double green = 0;
    double blue = 0;
};

// The centre of tile (row, column) in flat picture co-ordinates (pixel (x, y) covers
// [x, x + 1) x [y, y + 1)); rows and columns may lie outside the grid.
struct ArtPoint {
    double x = 0;
    double y = 0;
};
ArtPoint TileCentre(int row, int column);

// The ideal picture at flat point p, with classAt giving the art class (0..2, or
// kBlankArtClass) of any tile.
ArtColour IdealColour(const std::function<int(int row, int column)>& classAt, ArtPoint p);

// Which pixels of a piece bitmap are drawn (true) rather than left black. Sized
// PieceBitmapWidth x PieceBitmapHeight, row-major.
std::vector<bool> PieceMask(PieceKind kind);

// The bitmap of slot `slot` of a kind (classes from the slot number), or of the kind's Blank
// replacement when slot is -1. Every drawn pixel is at least (0, 0, 8), so it stays apart
// from black even on 16-bit displays.
Bitmap PaintPiece(PieceKind kind, int slot);

// Writes all 90 piece bitmaps under their names for the given classes and the six Blank
// bitmaps into `folder` (which must exist). False when a file cannot be written.
bool WriteTileArt(const std::string& folder, const ArtClassNames& names);
