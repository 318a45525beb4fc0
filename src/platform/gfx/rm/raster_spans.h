// The span kernels of the software rasteriser, and what the set-up (raster.cpp) hands them:
// for one triangle, the rows it covers, the attributes at its first corner and their steps,
// and the kernel that interpolates and depth-tests the pixels of its rows. Shared by the
// rasteriser's own source files only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gfx/pixels.h"
#include "platform/gfx/rm/raster.h"

namespace gfx::rm::spans {

// Corner positions are snapped to 1/16 pixel so that edge tests are exact integers.
constexpr int kSubPixel = 16;
constexpr int kHalfPixel = kSubPixel / 2;

using Codec = PixelCodec;

inline Codec CodecOf(const PixelFormat& format) {
    return {LayoutOfMask(format.redMask), LayoutOfMask(format.greenMask),
            LayoutOfMask(format.blueMask)};
}

inline std::uint32_t EncodeChannel(const ChannelLayout& layout, float value) {
    if (layout.bits == 0) {
        return 0;
    }
    // NaN and negative values become 0.
    const float rounded = value + 0.5f;
    const int c = rounded >= 255.0f ? 255 : (rounded > 0.0f ? static_cast<int>(rounded) : 0);
    const std::uint32_t bits = layout.bits <= 8
                                   ? static_cast<std::uint32_t>(c) >> (8 - layout.bits)
                                   : static_cast<std::uint32_t>(c) << (layout.bits - 8);
    return bits << layout.shift;
}

inline std::uint32_t Encode(const Codec& codec, float red, float green, float blue) {
    return EncodeChannel(codec.red, red) | EncodeChannel(codec.green, green) |
           EncodeChannel(codec.blue, blue);
}

inline float DecodeChannel(const ChannelLayout& layout, std::uint32_t pixel) {
    if (layout.bits == 0) {
        return 0.0f;
    }
    const std::uint32_t max = layout.bits >= 32 ? 0xFFFFFFFFu : (1u << layout.bits) - 1u;
    return static_cast<float>((pixel >> layout.shift) & max) * (255.0f / static_cast<float>(max));
}

// Texel index along one axis: clamped in float first, so no value can overflow the cast.
inline int TexelIndex(float value, float limit) {
    const float low = value > 0.0f ? value : 0.0f;  // the limit is never below 0
    const float clamped = low < limit ? low : limit;
    return static_cast<int>(clamped);
}

enum class SpanKind {
    TexRaw,       // texels copied as they are: same format, white colour
    TexModulate,  // texels times the interpolated colour
    Colour,       // interpolated colour
    Flat,         // one pixel value
};

// What stays the same along every span of one triangle.
struct SpanConstants {
    const TextureView* texture;
    int texBpp;
    unsigned texWidth;
    unsigned maxU;  // largest texel column before wrapping
    unsigned maxV;
    float limitU;  // the same as texel-space limits for clamping
    float limitV;
    bool wrapU;
    float dq;
    float du;
    float dv;
    float dr;
    float dg;
    float db;
    std::uint32_t flatPixel;
    Codec target;
    Codec texCodec;
};

struct SpanValues {
    float q;
    float u;
    float v;
    float r;
    float g;
    float b;
};

// Where a set-up triangle covers the viewport, and the values its rows start from.
struct Coverage {
    int px0;
    int px1;
    int py0;
    int py1;
    std::int64_t a[3];  // edge functions E = a * x + b * y + c, in sixteenths of a pixel
    std::int64_t b[3];
    std::int64_t c[3];
    float x0;  // the first corner, whose attribute values are in start
    float y0;
    SpanValues start;
    SpanValues perRow;  // change of each attribute from one row to the next
    bool textured;
    bool coloured;
    const SpanConstants* k;
    PixelView colour;
    float* depth;
    int depthStride;
    PendingPixels* pending;
};

using RowsFunction = long long (*)(const Coverage&);

// Textures larger than this many bytes copy their texels through PendingPixels: the cache
// lines of small ones stay in the cache from one triangle to the next, and for them the
// second pass costs more than it saves.
constexpr std::ptrdiff_t kGatherBytes = 64 * 1024;

// The function that fills the rows of a set-up triangle: for the target's bytes per pixel,
// the kind of span, perspective-correct texture co-ordinates or not, u repeating or not, and
// whether texels are gathered first (only copies of large textures as they are).
RowsFunction PickRows(int bpp, SpanKind kind, bool perspective, bool wrapU, bool gather);

}  // namespace gfx::rm::spans
