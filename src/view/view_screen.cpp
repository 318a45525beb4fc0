#include "view/view_screen.h"

MemoryViewScreen::MemoryViewScreen(const gfx::DisplayMode& display, const PaintBoxPlace& mainMap,
                                   const PaintBoxPlace& globe)
    : mainMap(mainMap),
      globe(globe),
      bitDepth(static_cast<int>(display.format.bitCount)),
      display_(display),
      pixels_(std::make_unique<gfx::MemoryScreen>(display.width, display.height, display.format)) {}

void MemoryViewScreen::Present(const gfx::Surface& source, const gfx::Rect& sourceRect,
                               const gfx::Rect& destination, std::span<const gfx::Rect> clip) {
    presents.emplace_back(destination, sourceRect);
    pixels_->Present(source, sourceRect, destination, clip);
}

std::unique_ptr<MemoryViewScreen> MakeStandardViewScreen(const gfx::PixelFormat& format) {
    gfx::DisplayMode display;
    display.format = format;
    // The main map panel on the left, the globe's panel to its right.
    const PaintBoxPlace mainMap{0, 40, 8, 8, 575, 287};
    const PaintBoxPlace globe{600, 40, 8, 8, 207, 151};
    return std::make_unique<MemoryViewScreen>(display, mainMap, globe);
}
