// What the view engine needs of the main screen: where its window and the two paint boxes
// are, the display it runs on, the labels that show the timings, and the screen itself,
// which receives the copies of the back buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/pixels.h"
#include "platform/gfx/surface.h"

// Where a paint box sits: its panel's offset in the window's client area, its own offset in
// the panel, and its size.
struct PaintBoxPlace {
    int panelLeft = 0;
    int panelTop = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

class ViewScreen {
public:
    virtual ~ViewScreen() = default;

    // The handle of the main screen's window (any non-zero value).
    virtual std::uintptr_t WindowHandle() const = 0;
    // The client area's top-left corner in screen co-ordinates.
    virtual ScreenPoint ClientOrigin() const = 0;
    virtual PaintBoxPlace MainMapPaintBox() const = 0;
    virtual PaintBoxPlace GlobePaintBox() const = 0;

    // The display: the primary surface's size and pixel format.
    virtual gfx::DisplayMode Display() const = 0;
    // Bits per pixel of the window's device context; the display's by default.
    virtual int DisplayBitDepth() const { return static_cast<int>(Display().format.bitCount); }

    // The GlobeTimerDisplay, MapTimerDisplay and MainMapPosDisplay labels.
    virtual void ShowGlobeTime(const std::string& text) = 0;
    virtual void ShowMapTime(const std::string& text) = 0;
    virtual void ShowCreationTime(const std::string& text) = 0;

    // A copy onto the screen: sourceRect of source scaled into destination (screen
    // co-ordinates, nearest pixel), writing only inside the clip rectangles (cut to the
    // destination and the display, never empty). gfx::ScalePixels does exactly this.
    virtual void Present(const gfx::Surface& source, const gfx::Rect& sourceRect,
                         const gfx::Rect& destination, std::span<const gfx::Rect> clip) = 0;

    // Puts the display settings back to the system's; nothing to do by default.
    virtual void ResetDisplaySettings() {}

    // Told just before a failure of the views shows its box: the screen stops whatever
    // would start another render pass while the box is up (its timers).
    virtual void HaltViews() {}
};

// The screen rectangle of a paint box: client origin plus panel and paint box offsets, as
// wide and high as the paint box.
inline gfx::Rect ScreenRectOf(const ScreenPoint& origin, const PaintBoxPlace& box) {
    const int x = origin.x + box.panelLeft + box.left;
    const int y = origin.y + box.panelTop + box.top;
    return {x, y, x + box.width, y + box.height};
}

// A screen held in memory, for tests, the command line tool and benchmarks: a display of
// the given size and format with the two paint boxes placed on it. The texts shown are kept.
class MemoryViewScreen final : public ViewScreen {
public:
    MemoryViewScreen(const gfx::DisplayMode& display, const PaintBoxPlace& mainMap,
                     const PaintBoxPlace& globe);

    std::uintptr_t WindowHandle() const override { return 1; }
    ScreenPoint ClientOrigin() const override { return origin; }
    PaintBoxPlace MainMapPaintBox() const override { return mainMap; }
    PaintBoxPlace GlobePaintBox() const override { return globe; }
    gfx::DisplayMode Display() const override { return display_; }
    int DisplayBitDepth() const override { return bitDepth; }
    void ShowGlobeTime(const std::string& text) override { globeTimes.push_back(text); }
    void ShowMapTime(const std::string& text) override { mapTimes.push_back(text); }
    void ShowCreationTime(const std::string& text) override { creationTimes.push_back(text); }
    void Present(const gfx::Surface& source, const gfx::Rect& sourceRect,
                 const gfx::Rect& destination, std::span<const gfx::Rect> clip) override;
    void ResetDisplaySettings() override { ++displayResets; }

    // The pixels of the screen, in the display's format.
    const gfx::MemoryScreen& Pixels() const { return *pixels_; }

    ScreenPoint origin;
    PaintBoxPlace mainMap;
    PaintBoxPlace globe;
    int bitDepth = 0;
    std::vector<std::string> globeTimes;
    std::vector<std::string> mapTimes;
    std::vector<std::string> creationTimes;
    // Each copy: destination rectangle and source rectangle.
    std::vector<std::pair<gfx::Rect, gfx::Rect>> presents;
    int displayResets = 0;

private:
    gfx::DisplayMode display_;
    std::unique_ptr<gfx::MemoryScreen> pixels_;
};

// The layout the main screen has on a 1024 x 768 display: the main map paint box 575 x 287
// and the globe paint box 207 x 151.
std::unique_ptr<MemoryViewScreen> MakeStandardViewScreen(const gfx::PixelFormat& format);
