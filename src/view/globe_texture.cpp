#include "view/globe_texture.h"

#include <algorithm>

#include "platform/gfx/rm/root.h"
#include "platform/gfx/surface.h"
#include "view/pixel_access.h"
#include "view/view_failure.h"

const std::array<gfx::Rgb, kPaletteSize> kPaletteColours = {{
    {0, 0, 0},
    {50, 80, 255},
    {102, 102, 255},
    {233, 144, 102},
    {100, 100, 100},
    {200, 120, 80},
    {180, 100, 60},
    {255, 255, 255},
    {203, 245, 245},
}};

namespace {

std::uint32_t Contribution(std::uint32_t mask, std::uint8_t component) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    int bits = 0;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1u) != 0) {
        ++bits;
    }
    // A channel wider than 8 bits keeps the component in its top bits.
    const std::uint32_t value = bits <= 8 ? (std::uint32_t{component} >> (8 - bits))
                                          : (std::uint32_t{component} << (bits - 8));
    return value << shift;
}

}  // namespace

std::uint32_t PalettePixelValue(const gfx::PixelFormat& format, gfx::Rgb colour) {
    return Contribution(format.redMask, colour.red) | Contribution(format.greenMask, colour.green) |
           Contribution(format.blueMask, colour.blue);
}

Palette MakePalette(const gfx::PixelFormat& format) {
    Palette palette{};
    for (int i = 0; i < kPaletteSize; ++i) {
        palette[i] = PalettePixelValue(format, kPaletteColours[i]);
    }
    return palette;
}

int GlobeColourIndex(std::int32_t terrain) {
    switch (terrain) {
        case 0:
            return 1;
        case 1:
            return 2;
        case 2:
            return 3;
        case 3:
            return 5;
        case 4:
            return 6;
        case 5:
            return 7;
        case 6:
            return 8;
        case -1:
            return 4;
        default:
            return 0;
    }
}

bool FillGlobeTexture(const WorldMap& world, const std::shared_ptr<gfx::Surface>& globeSurface,
                      gfx::rm::Root& root, const Palette& palette,
                      std::shared_ptr<gfx::rm::Texture>& texture) {
    gfx::SurfaceDesc desc;
    if (gfx::Result r = globeSurface->Lock(desc, gfx::DDLOCK_WAIT | gfx::DDLOCK_NOSYSLOCK);
        r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Globe Map Texture Lock Error");
    }
    const int bpp = desc.pixelFormat ? desc.pixelFormat->BytesPerPixel() : 0;
    // A surface smaller than the grid gets the tiles that fit.
    const int rows = std::min(desc.height, kGlobeTextureHeight);
    const int columns = std::min(desc.width, kGlobeTextureWidth);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const std::size_t offset =
                static_cast<std::size_t>(r) * desc.pitch + static_cast<std::size_t>(c) * bpp;
            WritePixel(desc.bits, offset, bpp, palette[GlobeColourIndex(world.At(r, c).Terrain)]);
        }
    }
    if (gfx::Result r = globeSurface->Unlock(); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Globe Map Texture Unlock Error");
    }
    if (gfx::Result r = globeSurface->QueryInterface(gfx::Iid::DirectDrawSurface);
        r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Unable to Query Globe Texture Surface");
    }
    std::shared_ptr<gfx::rm::Texture> made;
    if (gfx::Result r = root.CreateTextureFromSurface(globeSurface, made); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "Unable to Create Globe Texture from Surface");
    }
    texture = std::move(made);
    return true;
}
