#include "view/flat_picture.h"

#include <vector>

namespace {

// Widens one channel of a pixel value to 8 bits.
struct ChannelReader {
    int shift = 0;
    std::uint32_t max = 0;

    explicit ChannelReader(std::uint32_t mask) {
        const gfx::ChannelLayout layout = gfx::LayoutOfMask(mask);
        shift = layout.shift;
        max = layout.bits >= 32 ? 0xFFFFFFFFu : ((1u << layout.bits) - 1u);
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        return max == 0
                   ? 0
                   : static_cast<std::uint8_t>(std::uint64_t{(pixel >> shift) & max} * 255u / max);
    }
};

}  // namespace

bool ComposeFlatPicture(MainMap& map, gfx::DirectDraw& directDraw, const WorldMap& world,
                        gfx::Surface& tileArt, const FlatRowSink& sink) {
    if (!map.PrepareStrip(directDraw)) {
        return false;
    }
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kStripWidth) * 3);
    int flatRow = 0;
    for (int g = 0; g < kMapGroupRows; ++g) {
        if (!map.ComposeBand(world, tileArt)) {
            map.ReleaseStrip();
            return false;
        }
        const gfx::Surface& strip = *map.LargeMapTextureSurface;
        const gfx::PixelView& view = strip.View();
        const ChannelReader red(strip.Format().redMask);
        const ChannelReader green(strip.Format().greenMask);
        const ChannelReader blue(strip.Format().blueMask);
        for (int y = 0; y < BandTextureRows(g); ++y) {
            const std::uint8_t* row = view.Row(y);
            for (int x = 0; x < kStripWidth; ++x) {
                const std::uint32_t pixel =
                    gfx::LoadPixel(row + x * view.bytesPerPixel, view.bytesPerPixel);
                rgb[3 * x] = red(pixel);
                rgb[3 * x + 1] = green(pixel);
                rgb[3 * x + 2] = blue(pixel);
            }
            sink(flatRow++, rgb.data());
        }
    }
    map.ReleaseStrip();
    return true;
}
