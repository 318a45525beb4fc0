// Pixel formats, rectangles and the copy kernels that every blit of the layer is built on.
// Pixels are 2, 3 or 4 bytes, least significant byte first; rows are pitch bytes apart.
#pragma once

#include <cstdint>

namespace gfx {

// A rectangle with exclusive right and bottom edges.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

// The overlap of two rectangles (empty when they do not meet).
Rect Intersect(const Rect& a, const Rect& b);
// True when inner lies wholly inside outer.
bool Contains(const Rect& outer, const Rect& inner);

struct PixelFormat {
    std::uint32_t bitCount = 0;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;

    int BytesPerPixel() const { return static_cast<int>(bitCount / 8); }
    bool operator==(const PixelFormat&) const = default;

    static PixelFormat Rgb565() { return {16, 0xF800, 0x07E0, 0x001F}; }
    static PixelFormat Rgb555() { return {16, 0x7C00, 0x03E0, 0x001F}; }
    static PixelFormat Rgb888() { return {24, 0xFF0000, 0x00FF00, 0x0000FF}; }
    static PixelFormat Xrgb8888() { return {32, 0xFF0000, 0x00FF00, 0x0000FF}; }
    // The usual format of a display of that depth (16, 24 or 32); bit count 0 otherwise.
    static PixelFormat ForBitCount(int bitCount);
};

// True for formats the layer can hold: 2, 3 or 4 bytes per pixel.
bool IsSupportedFormat(const PixelFormat& format);

// The pixel value of an 8-bit-per-channel colour: for each mask, the channel's top bits (as
// many as the mask has consecutive set bits from its lowest set bit) moved to that bit.
std::uint32_t PixelFromRgb(const PixelFormat& format, std::uint8_t red, std::uint8_t green,
                           std::uint8_t blue);

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The colour of a pixel value, each channel widened to 8 bits.
Rgb RgbFromPixel(const PixelFormat& format, std::uint32_t pixel);

// Position and width of one channel of a format.
struct ChannelLayout {
    int shift = 0;
    int bits = 0;
};
ChannelLayout LayoutOfMask(std::uint32_t mask);

// Reads bytesPerPixel bytes, least significant first, zero-extended.
inline std::uint32_t LoadPixel(const std::uint8_t* p, int bytesPerPixel) {
    std::uint32_t value = p[0] | (static_cast<std::uint32_t>(p[1]) << 8);
    if (bytesPerPixel > 2) {
        value |= static_cast<std::uint32_t>(p[2]) << 16;
    }
    if (bytesPerPixel > 3) {
        value |= static_cast<std::uint32_t>(p[3]) << 24;
    }
    return value;
}

// Writes the low bytesPerPixel bytes of value, least significant first.
inline void StorePixel(std::uint8_t* p, int bytesPerPixel, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    if (bytesPerPixel > 2) {
        p[2] = static_cast<std::uint8_t>(value >> 16);
    }
    if (bytesPerPixel > 3) {
        p[3] = static_cast<std::uint8_t>(value >> 24);
    }
}

// A window onto pixel memory. The kernels below trust it: callers check rectangles first.
struct PixelView {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int bytesPerPixel = 0;

    std::uint8_t* Row(int y) const { return bits + static_cast<std::ptrdiff_t>(y) * pitch; }
    std::uint8_t* At(int x, int y) const { return Row(y) + x * bytesPerPixel; }
};

// Copies source rectangle src of from to (x, y) of to. Both views have the same pixel size;
// the rectangles may overlap within one buffer. With rows given, only the destination rows y
// with rows[y] != 0 are written.
void CopyPixels(const PixelView& to, int x, int y, const PixelView& from, const Rect& src,
                const std::uint8_t* rows = nullptr);

// Like CopyPixels, but source pixels equal to key leave the destination as it was.
void CopyPixelsKeyed(const PixelView& to, int x, int y, const PixelView& from, const Rect& src,
                     std::uint32_t key, const std::uint8_t* rows = nullptr);

// Scales source rectangle src of from into destination rectangle dst of to, nearest pixel,
// writing only the destination pixels inside clip. The mapping is fixed by src and dst alone,
// so clipping never shifts the picture. When key is given, source pixels equal to *key are
// skipped. The two views must not share memory.
void ScalePixels(const PixelView& to, const Rect& dst, const PixelView& from, const Rect& src,
                 const Rect& clip, const std::uint32_t* key = nullptr);

// In ScalePixels' mapping of a source span of srcLength pixels onto a destination span of
// dstLength, the source offset that destination offset d reads (sampled at pixel centres).
inline int ScaledOffset(int d, int dstLength, int srcLength) {
    return static_cast<int>((2 * std::int64_t{d} + 1) * srcLength / (2 * std::int64_t{dstLength}));
}

// The first column of dst, in ScalePixels' mapping of src onto dst, whose source column is
// `column` or more; dst.right when there is none. The source column grows with the
// destination column, so the destination columns reading source columns [a, b) are
// [FirstScaledColumn(dst, src, a), FirstScaledColumn(dst, src, b)).
int FirstScaledColumn(const Rect& dst, const Rect& src, int column);

// Sets every pixel of rect to value.
void FillPixels(const PixelView& to, const Rect& rect, std::uint32_t value);

}  // namespace gfx
