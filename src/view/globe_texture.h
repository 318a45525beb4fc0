// The palette of the world view and the globe's texture: one pixel per tile, coloured by
// terrain code.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "game/world_map.h"
#include "platform/gfx/pixels.h"

namespace gfx {
class Surface;
namespace rm {
class Root;
class Texture;
}  // namespace rm
}  // namespace gfx

inline constexpr int kPaletteSize = 9;
inline constexpr int kGlobeTextureWidth = 256;
inline constexpr int kGlobeTextureHeight = 128;

// The nine colours of the palette (index 0 black ... 8 ice).
extern const std::array<gfx::Rgb, kPaletteSize> kPaletteColours;

// Pixel values of the palette colours on a display format.
using Palette = std::array<std::uint32_t, kPaletteSize>;

// A colour's pixel value: for each of the red, green and blue masks, shift = its lowest set
// bit and bits = the set bits from there; the component adds (component >> (8 - bits)) <<
// shift. A mask of 0 adds nothing.
std::uint32_t PalettePixelValue(const gfx::PixelFormat& format, gfx::Rgb colour);
Palette MakePalette(const gfx::PixelFormat& format);

// The palette index of a terrain code on the globe: 0 -> 1, 1 -> 2, 2 -> 3, 3 -> 5, 4 -> 6,
// 5 -> 7, 6 -> 8, -1 -> 4, anything else -> 0.
int GlobeColourIndex(std::int32_t terrain);

// Fills the globe texture surface (tile (r, c) at column c, row r) under one lock, then
// makes the globe's texture from it. On failure it shows the failure code's name with the
// step's caption ("Globe Map Texture Lock Error", "Globe Map Texture Unlock Error", "Unable
// to Query Globe Texture Surface", "Unable to Create Globe Texture from Surface"), asks the
// application to end and returns false; `texture` is then left as it was.
bool FillGlobeTexture(const WorldMap& world, const std::shared_ptr<gfx::Surface>& globeSurface,
                      gfx::rm::Root& root, const Palette& palette,
                      std::shared_ptr<gfx::rm::Texture>& texture);
