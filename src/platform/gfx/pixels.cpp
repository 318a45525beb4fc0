#include "platform/gfx/pixels.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

namespace gfx {

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.Empty()) {
        return Rect{};
    }
    return r;
}

bool Contains(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

PixelFormat PixelFormat::ForBitCount(int bitCount) {
    switch (bitCount) {
        case 16:
            return Rgb565();
        case 24:
            return Rgb888();
        case 32:
            return Xrgb8888();
        default:
            return PixelFormat{};
    }
}

bool IsSupportedFormat(const PixelFormat& format) {
    return format.bitCount == 16 || format.bitCount == 24 || format.bitCount == 32;
}

ChannelLayout LayoutOfMask(std::uint32_t mask) {
    ChannelLayout layout;
    if (mask == 0) {
        return layout;
    }
    while (((mask >> layout.shift) & 1u) == 0) {
        ++layout.shift;
    }
    while (layout.shift + layout.bits < 32 && ((mask >> (layout.shift + layout.bits)) & 1u) != 0) {
        ++layout.bits;
    }
    return layout;
}

namespace {

constexpr int kLineBytes = 64;

std::uint32_t ChannelBits(std::uint32_t mask, std::uint8_t component) {
    const ChannelLayout layout = LayoutOfMask(mask);
    if (layout.bits == 0) {
        return 0;
    }
    // A channel wider than 8 bits takes the component in its top bits.
    const std::uint32_t value = layout.bits <= 8 ? (component >> (8 - layout.bits))
                                                 : (std::uint32_t{component} << (layout.bits - 8));
    return value << layout.shift;
}

std::uint8_t WidenChannel(std::uint32_t pixel, std::uint32_t mask) {
    const ChannelLayout layout = LayoutOfMask(mask);
    if (layout.bits == 0) {
        return 0;
    }
    const std::uint32_t width = layout.bits >= 32 ? 0xFFFFFFFFu : ((1u << layout.bits) - 1u);
    const std::uint32_t value = (pixel >> layout.shift) & width;
    if (layout.bits >= 8) {
        return static_cast<std::uint8_t>(value >> (layout.bits - 8));
    }
    // Repeat the channel's bits so that its full value becomes 255.
    std::uint32_t wide = 0;
    for (int filled = 0; filled < 8; filled += layout.bits) {
        wide = (wide << layout.bits) | value;
    }
    const int total = ((8 + layout.bits - 1) / layout.bits) * layout.bits;
    return static_cast<std::uint8_t>(wide >> (total - 8));
}

// Whether two rectangles of one buffer share bytes.
bool SharesMemory(const PixelView& a, const Rect& ra, const PixelView& b, const Rect& rb) {
    if (a.bits != b.bits) {
        return false;
    }
    return !Intersect(ra, rb).Empty();
}

// What the copy kernels trust their callers to have checked: the same pixel size, and each
// rectangle inside its view.
[[maybe_unused]] bool ViewsHold(const PixelView& to, const Rect& dst, const PixelView& from,
                                const Rect& src) {
    return to.bytesPerPixel == from.bytesPerPixel &&
           Contains(Rect{0, 0, to.width, to.height}, dst) &&
           Contains(Rect{0, 0, from.width, from.height}, src);
}

template <typename T>
void KeyedRow(std::uint8_t* __restrict to, const std::uint8_t* __restrict from, int count, T key) {
    // Loads and stores through memcpy keep the loop free of aliasing and alignment
    // assumptions; the compiler turns it into vector compares and blends.
    for (int i = 0; i < count; ++i) {
        T s;
        T d;
        std::memcpy(&s, from + i * sizeof(T), sizeof(T));
        std::memcpy(&d, to + i * sizeof(T), sizeof(T));
        const T out = s == key ? d : s;
        std::memcpy(to + i * sizeof(T), &out, sizeof(T));
    }
}

void KeyedRow24(std::uint8_t* __restrict to, const std::uint8_t* __restrict from, int count,
                std::uint32_t key) {
    const std::uint8_t k0 = static_cast<std::uint8_t>(key);
    const std::uint8_t k1 = static_cast<std::uint8_t>(key >> 8);
    const std::uint8_t k2 = static_cast<std::uint8_t>(key >> 16);
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* s = from + 3 * i;
        const bool transparent = s[0] == k0 && s[1] == k1 && s[2] == k2;
        std::uint8_t* d = to + 3 * i;
        d[0] = transparent ? d[0] : s[0];
        d[1] = transparent ? d[1] : s[1];
        d[2] = transparent ? d[2] : s[2];
    }
}

void KeyedRows(const PixelView& to, int x, int y, const std::uint8_t* from, int fromPitch,
               int width, int height, std::uint32_t key, const std::uint8_t* rows) {
    for (int row = 0; row < height; ++row) {
        if (rows != nullptr && rows[y + row] == 0) {
            continue;
        }
        std::uint8_t* d = to.At(x, y + row);
        const std::uint8_t* s = from + static_cast<std::ptrdiff_t>(row) * fromPitch;
        switch (to.bytesPerPixel) {
            case 2:
                KeyedRow<std::uint16_t>(d, s, width, static_cast<std::uint16_t>(key));
                break;
            case 3:
                KeyedRow24(d, s, width, key);
                break;
            default:
                KeyedRow<std::uint32_t>(d, s, width, key);
                break;
        }
    }
}

template <int Bpp>
void ScaleRows(const PixelView& to, const PixelView& from, const Rect& dst, const Rect& src,
               const Rect& area, const std::uint32_t* key) {
    // Source column of every destination column, sampled at the pixel centres.
    std::vector<int> columns(static_cast<std::size_t>(area.Width()));
    for (int dx = area.left; dx < area.right; ++dx) {
        columns[static_cast<std::size_t>(dx - area.left)] =
            (src.left + ScaledOffset(dx - dst.left, dst.Width(), src.Width())) * Bpp;
    }
    // The bytes of a source row that the columns read: each row is a fresh stretch of
    // memory, so the next one is requested while this one is copied.
    const int readFirst = columns.front();
    const int readEnd = columns.back() + Bpp;
    for (int dy = area.top; dy < area.bottom; ++dy) {
        const std::uint8_t* s =
            from.Row(src.top + ScaledOffset(dy - dst.top, dst.Height(), src.Height()));
        if (dy + 1 < area.bottom) {
            const std::uint8_t* nextRow =
                from.Row(src.top + ScaledOffset(dy + 1 - dst.top, dst.Height(), src.Height()));
            for (int byte = readFirst; byte < readEnd; byte += kLineBytes) {
                __builtin_prefetch(nextRow + byte);
            }
            __builtin_prefetch(nextRow + readEnd - 1);
        }
        std::uint8_t* d = to.At(area.left, dy);
        const int count = area.Width();
        if (key == nullptr) {
            for (int i = 0; i < count; ++i) {
                std::memcpy(d + i * Bpp, s + columns[static_cast<std::size_t>(i)], Bpp);
            }
        } else {
            for (int i = 0; i < count; ++i) {
                const std::uint8_t* p = s + columns[static_cast<std::size_t>(i)];
                if (LoadPixel(p, Bpp) != *key) {
                    std::memcpy(d + i * Bpp, p, Bpp);
                }
            }
        }
    }
}

}  // namespace

std::uint32_t PixelFromRgb(const PixelFormat& format, std::uint8_t red, std::uint8_t green,
                           std::uint8_t blue) {
    return ChannelBits(format.redMask, red) | ChannelBits(format.greenMask, green) |
           ChannelBits(format.blueMask, blue);
}

Rgb RgbFromPixel(const PixelFormat& format, std::uint32_t pixel) {
    return Rgb{WidenChannel(pixel, format.redMask), WidenChannel(pixel, format.greenMask),
               WidenChannel(pixel, format.blueMask)};
}

void CopyPixels(const PixelView& to, int x, int y, const PixelView& from, const Rect& src,
                const std::uint8_t* rows) {
    const int width = src.Width();
    const int height = src.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * from.bytesPerPixel;
    const Rect dst{x, y, x + width, y + height};
    assert(ViewsHold(to, dst, from, src));
    // Within one buffer a downward move must copy the bottom row first.
    const bool upward = SharesMemory(to, dst, from, src) && y > src.top;
    for (int i = 0; i < height; ++i) {
        const int row = upward ? height - 1 - i : i;
        if (rows != nullptr && rows[y + row] == 0) {
            continue;
        }
        std::memmove(to.At(x, y + row), from.At(src.left, src.top + row), rowBytes);
    }
}

void CopyPixelsKeyed(const PixelView& to, int x, int y, const PixelView& from, const Rect& src,
                     std::uint32_t key, const std::uint8_t* rows) {
    const int width = src.Width();
    const int height = src.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    const Rect dst{x, y, x + width, y + height};
    assert(ViewsHold(to, dst, from, src));
    if (SharesMemory(to, dst, from, src)) {
        // Keyed rows read and write at once; take the source aside first.
        const int rowBytes = width * from.bytesPerPixel;
        std::vector<std::uint8_t> copy(static_cast<std::size_t>(rowBytes) * height);
        for (int row = 0; row < height; ++row) {
            std::memcpy(copy.data() + static_cast<std::size_t>(row) * rowBytes,
                        from.At(src.left, src.top + row), static_cast<std::size_t>(rowBytes));
        }
        KeyedRows(to, x, y, copy.data(), rowBytes, width, height, key, rows);
        return;
    }
    KeyedRows(to, x, y, from.At(src.left, src.top), from.pitch, width, height, key, rows);
}

void ScalePixels(const PixelView& to, const Rect& dst, const PixelView& from, const Rect& src,
                 const Rect& clip, const std::uint32_t* key) {
    const Rect area = Intersect(Intersect(dst, clip), Rect{0, 0, to.width, to.height});
    if (area.Empty() || src.Empty()) {
        return;
    }
    assert(to.bytesPerPixel == from.bytesPerPixel &&
           Contains(Rect{0, 0, from.width, from.height}, src));
    switch (to.bytesPerPixel) {
        case 2:
            ScaleRows<2>(to, from, dst, src, area, key);
            break;
        case 3:
            ScaleRows<3>(to, from, dst, src, area, key);
            break;
        default:
            ScaleRows<4>(to, from, dst, src, area, key);
            break;
    }
}

int FirstScaledColumn(const Rect& dst, const Rect& src, int column) {
    // Destination column dst.left + k reads src.left + floor((2k + 1) srcW / (2 dstW)), which
    // is at least src.left + a exactly when 2k + 1 >= m = ceil(2 a dstW / srcW), that is
    // when k >= m / 2.
    const std::int64_t a = std::int64_t{column} - src.left;
    if (a <= 0 || src.Empty() || dst.Empty()) {
        return dst.left;
    }
    const std::int64_t srcW = src.Width();
    const std::int64_t m = (2 * a * dst.Width() + srcW - 1) / srcW;
    return static_cast<int>(std::min<std::int64_t>(dst.left + m / 2, dst.right));
}

void FillPixels(const PixelView& to, const Rect& rect, std::uint32_t value) {
    const Rect area = Intersect(rect, Rect{0, 0, to.width, to.height});
    if (area.Empty()) {
        return;
    }
    const int bpp = to.bytesPerPixel;
    std::uint8_t pattern[4];
    StorePixel(pattern, 4, value);
    const bool zero = (bpp == 2 && (value & 0xFFFFu) == 0) ||
                      (bpp == 3 && (value & 0xFFFFFFu) == 0) || (bpp == 4 && value == 0);
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* row = to.At(area.left, y);
        if (zero) {
            std::memset(row, 0, static_cast<std::size_t>(area.Width()) * bpp);
            continue;
        }
        for (int x = 0; x < area.Width(); ++x) {
            std::memcpy(row + x * bpp, pattern, static_cast<std::size_t>(bpp));
        }
    }
}

}  // namespace gfx
