#include "platform/gfx/rm/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace gfx::rm {

namespace {

// Corner positions are snapped to 1/16 pixel so that edge tests are exact integers.
constexpr int kSubPixel = 16;
constexpr int kHalfPixel = kSubPixel / 2;
// The most corners a triangle can have after clipping against six planes.
constexpr int kMaxCorners = 12;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

// FloorDiv for a positive divisor through a double division, corrected to the exact result;
// the operands stay far below 2^53, and this is much quicker than a 64-bit integer division.
inline std::int64_t FastFloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q =
        static_cast<std::int64_t>(std::floor(static_cast<double>(a) / static_cast<double>(b)));
    std::int64_t r = a - q * b;
    while (r < 0) {
        --q;
        r += b;
    }
    while (r >= b) {
        ++q;
        r -= b;
    }
    return q;
}

// A screen co-ordinate in sixteenths of a pixel, rounded to nearest. Clipping keeps
// co-ordinates within a few thousand pixels of the viewport, far inside the offset.
inline std::int64_t Snap(float value) {
    constexpr double kOffset = 1 << 24;
    return static_cast<std::int64_t>(static_cast<double>(value) * kSubPixel + 0.5 + kOffset) -
           static_cast<std::int64_t>(kOffset);
}

using Codec = PixelCodec;

Codec CodecOf(const PixelFormat& format) {
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

// Pixels between exact perspective divisions along a span.
constexpr int kSegment = 16;
// Texel co-ordinates are stepped in fixed point with this many fraction bits.
constexpr int kFractionBits = 12;
constexpr float kFractionScale = 4096.0f;

// Clamp margin at the low end, in texels: more than the rounding a segment can gather.
constexpr float kLowMargin = 0.01f;

// A texel co-ordinate in fixed point, clamped first (NaN included) so that nothing can
// overflow or leave the texture.
inline std::int32_t ToFixed(float value, float limit) {
    // In two steps, each a plain maximum or minimum without a branch (the limit is always
    // above the margin, so this is the same clamp).
    const float low = value > kLowMargin ? value : kLowMargin;
    const float clamped = low < limit ? low : limit;
    return static_cast<std::int32_t>(clamped * kFractionScale);
}

// How many rows ahead of the one being drawn CoverRows fetches the depth and colour.
constexpr int kRowsAhead = 2;

// 1 / n for the segment lengths 1 .. kSegment, as the division would give it.
struct SegmentReciprocals {
    float value[kSegment + 1];
    constexpr SegmentReciprocals() : value() {
        for (int n = 1; n <= kSegment; ++n) {
            value[n] = 1.0f / static_cast<float>(n);
        }
    }
};
constexpr SegmentReciprocals kReciprocal;

// Walks the pixels x0 .. x1 of a textured row, calling pixel(x, q, texel) with the pixel's
// 1/z and the byte offset of its texel. Texture co-ordinates are computed exactly (divided
// by q when perspective-correct) every kSegment pixels, clamped to the texture, and stepped
// in fixed point in between; this keeps the division and the clamping out of the per-pixel
// loop. colourStep() runs after every pixel.
template <bool Perspective, bool WrapU, typename Pixel, typename ColourStep>
inline void WalkTexels(int x0, int x1, SpanValues& s, const SpanConstants& k, int texBpp,
                       Pixel&& pixel, ColourStep&& colourStep) {
    // Everything the loop needs in locals: stores through the pixel pointers could
    // otherwise alias the constants and force reloads on every pixel.
    const float limitU = k.limitU;
    const float limitV = k.limitV;
    const float dq = k.dq;
    const float du = k.du;
    const float dv = k.dv;
    const unsigned texWidth = k.texWidth;
    const std::ptrdiff_t texPitch = k.texture->pitch;
    // Texel-space u and v at the start of the segment.
    float u = s.u;
    float v = s.v;
    if constexpr (Perspective) {
        const float w = 1.0f / s.q;
        u *= w;
        v *= w;
    }
    for (int x = x0; x <= x1;) {
        const int n = std::min(kSegment, x1 - x + 1);
        const float fn = static_cast<float>(n);
        const float q0 = s.q;
        s.u += du * fn;
        s.v += dv * fn;
        float uEnd = s.u;
        float vEnd = s.v;
        if constexpr (Perspective) {
            const float qEnd = q0 + dq * fn;
            const float w = qEnd > 0.0f ? 1.0f / qEnd : 0.0f;
            uEnd *= w;
            vEnd *= w;
        }
        std::int32_t fu = ToFixed(u, limitU);
        std::int32_t fv = ToFixed(v, limitV);
        const float perPixel = kReciprocal.value[n];
        // Both ends lie inside the texture, so every step between them does too: the
        // steps are cut toward zero, and the margins at both ends of the clamp range
        // absorb the rounding of the step (at most one unit per pixel).
        const auto stepU =
            static_cast<std::int32_t>(static_cast<float>(ToFixed(uEnd, limitU) - fu) * perPixel);
        const auto stepV =
            static_cast<std::int32_t>(static_cast<float>(ToFixed(vEnd, limitV) - fv) * perPixel);
        float q = q0;
        for (int i = 0; i < n; ++i) {
            unsigned tu = static_cast<unsigned>(fu >> kFractionBits);
            if constexpr (WrapU) {
                tu = tu >= texWidth ? tu - texWidth : tu;
            }
            const unsigned tv = static_cast<unsigned>(fv >> kFractionBits);
            pixel(x + i, q,
                  static_cast<std::ptrdiff_t>(tv) * texPitch +
                      static_cast<std::ptrdiff_t>(tu) * texBpp);
            q += dq;
            fu += stepU;
            fv += stepV;
            colourStep();
        }
        s.q = q0 + dq * fn;
        x += n;
        u = uEnd;
        v = vEnd;
    }
}

// Interpolate and depth-test one row of a triangle: attributes step along x, and a pixel is
// written only where it is nearer than what the depth buffer holds.
template <int Bpp, SpanKind Kind, bool Perspective, bool WrapU>
int DrawSpan(std::uint8_t* row, float* depth, int x0, int x1, SpanValues s,
             const SpanConstants& k) {
    int written = 0;
    if constexpr (Kind == SpanKind::Flat || Kind == SpanKind::Colour) {
        for (int x = x0; x <= x1; ++x) {
            if (s.q > depth[x]) {
                depth[x] = s.q;
                ++written;
                if constexpr (Kind == SpanKind::Flat) {
                    StorePixel(row + x * Bpp, Bpp, k.flatPixel);
                } else {
                    StorePixel(row + x * Bpp, Bpp, Encode(k.target, s.r, s.g, s.b));
                }
            }
            s.q += k.dq;
            if constexpr (Kind == SpanKind::Colour) {
                s.r += k.dr;
                s.g += k.dg;
                s.b += k.db;
            }
        }
        return written;
    } else {
        const std::uint8_t* const texBits = k.texture->bits;
        const int texBpp = Kind == SpanKind::TexRaw ? Bpp : k.texBpp;
        const float dr = k.dr;
        const float dg = k.dg;
        const float db = k.db;
        WalkTexels<Perspective, WrapU>(
            x0, x1, s, k, texBpp,
            [&](int x, float q, std::ptrdiff_t texel) {
                if (q > depth[x]) {
                    depth[x] = q;
                    ++written;
                    const std::uint8_t* t = texBits + texel;
                    if constexpr (Kind == SpanKind::TexRaw) {
                        std::memcpy(row + x * Bpp, t, Bpp);
                    } else {
                        const std::uint32_t value = LoadPixel(t, texBpp);
                        const float scale = 1.0f / 255.0f;
                        StorePixel(
                            row + x * Bpp, Bpp,
                            Encode(k.target, DecodeChannel(k.texCodec.red, value) * s.r * scale,
                                   DecodeChannel(k.texCodec.green, value) * s.g * scale,
                                   DecodeChannel(k.texCodec.blue, value) * s.b * scale));
                    }
                }
            },
            [&] {
                if constexpr (Kind == SpanKind::TexModulate) {
                    s.r += dr;
                    s.g += dg;
                    s.b += db;
                }
            });
        return written;
    }
}

// Whether affine interpolation of u and v over a small triangle stays within a tenth of a
// texel of the perspective-correct values. Along a side whose 1/z changes by the ratio
// 1 + r, the two differ by at most about r / 4 of the side's texel extent.
bool AffineIsExact(const Rasterizer::Projected& a, const Rasterizer::Projected& b,
                   const Rasterizer::Projected& c) {
    const float qLow = std::min({a.q, b.q, c.q});
    const float qHigh = std::max({a.q, b.q, c.q});
    if (!(qLow > 0.0f)) {
        return false;
    }
    const float ratio = qHigh / qLow - 1.0f;
    const float ua = a.uq / a.q;
    const float ub = b.uq / b.q;
    const float uc = c.uq / c.q;
    const float va = a.vq / a.q;
    const float vb = b.vq / b.q;
    const float vc = c.vq / c.q;
    const float extent = std::max(std::max({ua, ub, uc}) - std::min({ua, ub, uc}),
                                  std::max({va, vb, vc}) - std::min({va, vb, vc}));
    return extent * ratio * 0.25f < 0.1f;
}

using SpanFunction = int (*)(std::uint8_t*, float*, int, int, SpanValues, const SpanConstants&);

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

// The attribute values at the centre of pixel (x, py).
[[gnu::always_inline]] inline SpanValues ValuesAt(const Coverage& c, int x, int py) {
    const SpanConstants& k = *c.k;
    const float fx = static_cast<float>(x) + 0.5f - c.x0;
    const float fy = static_cast<float>(py) + 0.5f - c.y0;
    SpanValues start{};
    start.q = c.start.q + k.dq * fx + c.perRow.q * fy;
    if (c.textured) {
        start.u = c.start.u + k.du * fx + c.perRow.u * fy;
        start.v = c.start.v + k.dv * fx + c.perRow.v * fy;
    }
    if (c.coloured) {
        start.r = c.start.r + k.dr * fx + c.perRow.r * fy;
        start.g = c.start.g + k.dg * fx + c.perRow.g * fy;
        start.b = c.start.b + k.db * fx + c.perRow.b * fy;
    }
    return start;
}

// Step 4, interpolate: each row's covered pixels follow exactly from the edge functions;
// row(py, lo, hi) gets the first and last covered column of every row that has any.
template <typename Row>
void ForEachRow(const Coverage& c, Row&& row) {
    const int px0 = c.px0;
    const int px1 = c.px1;
    const int py0 = c.py0;
    const int py1 = c.py1;
    // A triangle one or two pixels wide or high: testing its few pixels is cheaper than
    // setting up the divisions below (both give exactly the same columns). Wider ones go
    // through the divisions: a scan's branch at each end of a row is mispredicted more
    // often than not, and costs more than the set-up.
    const int width = px1 - px0 + 1;
    const int height = py1 - py0 + 1;
    if (width <= 2 || height <= 2) {
        std::int64_t rowValue[3];
        for (int i = 0; i < 3; ++i) {
            rowValue[i] = c.b[i] * (std::int64_t{py0} * kSubPixel + kHalfPixel) + c.c[i] +
                          c.a[i] * kSubPixel * px0;
        }
        for (int py = py0; py <= py1; ++py) {
            std::int64_t e0 = rowValue[0];
            std::int64_t e1 = rowValue[1];
            std::int64_t e2 = rowValue[2];
            int lo = -1;
            int hi = -1;
            for (int x = px0; x <= px1; ++x) {
                if ((e0 | e1 | e2) >= 0) {
                    if (lo < 0) {
                        lo = x;
                    }
                    hi = x;
                } else if (lo >= 0) {
                    break;
                }
                e0 += c.a[0] * kSubPixel;
                e1 += c.a[1] * kSubPixel;
                e2 += c.a[2] * kSubPixel;
            }
            for (int i = 0; i < 3; ++i) {
                rowValue[i] += c.b[i] * kSubPixel;
            }
            if (lo >= 0) {
                row(py, lo, hi);
            }
        }
        return;
    }

    // The bound an edge puts on a row is floor(M / D) with M growing by a fixed amount per
    // row; keeping quotient and remainder avoids a division per row and edge. Kind 0 is a
    // lower bound (first column with E >= 0), 1 an upper bound (last such column), 2 an edge
    // parallel to the rows that lets the whole row through or nothing.
    int boundKind[3];
    std::int64_t quotient[3];
    std::int64_t remainder[3];
    std::int64_t divisor[3];
    std::int64_t stepQuotient[3];
    std::int64_t stepRemainder[3];
    for (int i = 0; i < 3; ++i) {
        // E at pixel column 0 of the first row, and its change from row to row.
        const std::int64_t atZero = c.b[i] * (std::int64_t{py0} * kSubPixel + kHalfPixel) + c.c[i];
        const std::int64_t perRow = c.b[i] * kSubPixel;
        const std::int64_t step = c.a[i] * kSubPixel;  // change from column to column
        std::int64_t numerator = 0;
        std::int64_t growth = 0;
        if (step > 0) {
            boundKind[i] = 0;  // ceil(-E0 / step)
            numerator = -atZero + step - 1;
            growth = -perRow;
            divisor[i] = step;
        } else if (step < 0) {
            boundKind[i] = 1;  // floor(E0 / -step)
            numerator = atZero;
            growth = perRow;
            divisor[i] = -step;
        } else {
            boundKind[i] = 2;
            numerator = atZero;
            growth = perRow;
            divisor[i] = 1;
        }
        quotient[i] = boundKind[i] == 2 ? numerator : FastFloorDiv(numerator, divisor[i]);
        remainder[i] = numerator - quotient[i] * divisor[i];
        stepQuotient[i] = boundKind[i] == 2 ? growth : FastFloorDiv(growth, divisor[i]);
        stepRemainder[i] = growth - stepQuotient[i] * divisor[i];
    }

    for (int py = py0; py <= py1; ++py) {
        std::int64_t lo = px0;
        std::int64_t hi = px1;
        for (int i = 0; i < 3; ++i) {
            if (boundKind[i] == 0) {
                lo = std::max(lo, quotient[i]);
            } else if (boundKind[i] == 1) {
                hi = std::min(hi, quotient[i]);
            } else if (quotient[i] < 0) {
                hi = lo - 1;
            }
            // Without a branch: whether the remainder carries changes from row to row
            // with no pattern to predict.
            remainder[i] += stepRemainder[i];
            const std::int64_t carry = remainder[i] >= divisor[i] ? 1 : 0;
            remainder[i] -= divisor[i] & -carry;
            quotient[i] += stepQuotient[i] + carry;
        }
        if (lo <= hi) {
            row(py, lo, hi);
        }
    }
}

// The attributes start at the first covered pixel centre of the row. The span function is a
// template argument so that it is compiled into the row loop. Step 5, depth test, happens per
// pixel inside the span function.
template <SpanFunction Span>
long long CoverRows(const Coverage& c) {
    long long written = 0;
    const int bpp = c.colour.bytesPerPixel;
    ForEachRow(c, [&](int py, std::int64_t lo, std::int64_t hi) {
        std::uint8_t* row = c.colour.Row(py);
        float* depth = c.depth + static_cast<std::ptrdiff_t>(py) * c.depthStride;
        if (py + kRowsAhead <= c.py1) {
            // The rows below cover about the same columns: their depth and colour come from
            // memory while this row is drawn.
            const std::ptrdiff_t ahead = static_cast<std::ptrdiff_t>(kRowsAhead) * c.depthStride;
            __builtin_prefetch(depth + ahead + lo, 1);
            __builtin_prefetch(depth + ahead + hi, 1);
            std::uint8_t* const rowAhead =
                row + static_cast<std::ptrdiff_t>(kRowsAhead) * c.colour.pitch;
            __builtin_prefetch(rowAhead + lo * bpp, 1);
            __builtin_prefetch(rowAhead + hi * bpp, 1);
        }
        written += Span(row, depth, static_cast<int>(lo), static_cast<int>(hi),
                        ValuesAt(c, static_cast<int>(lo), py), *c.k);
    });
    return written;
}

// Starts fetching the cache lines of some bytes ahead of their use (ForWrite: to be written).
template <bool ForWrite>
inline void PrefetchLines(const void* start, std::size_t bytes) {
    constexpr std::uintptr_t kLine = 64;
    const auto first = reinterpret_cast<std::uintptr_t>(start) & ~(kLine - 1);
    const auto last = reinterpret_cast<std::uintptr_t>(start) + bytes - 1;
    for (std::uintptr_t line = first; line <= last; line += kLine) {
        __builtin_prefetch(reinterpret_cast<const void*>(line), ForWrite ? 1 : 0);
    }
}

// Depth-tests and writes the pending pixels in the order they were gathered.
template <int Bpp>
long long WritePending(PendingPixels& pending) {
    long long written = 0;
    const float* q = pending.q.data();
    const std::uint8_t* const* texel = pending.texel.data();
    for (const PendingSpan& span : pending.spans) {
        float* const depth = span.depth;
        std::uint8_t* const out = span.out;
        for (int i = 0; i < span.count; ++i) {
            if (q[i] > depth[i]) {
                depth[i] = q[i];
                ++written;
                std::memcpy(out + i * Bpp, texel[i], Bpp);
            }
        }
        q += span.count;
        texel += span.count;
    }
    pending.spans.clear();
    pending.used = 0;
    return written;
}

// Steps 4 and 5 for texels copied as they are: the rows are walked first, keeping each
// pixel's 1/z and texel address and fetching the texel's cache line ahead, and then written.
template <int Bpp, bool Perspective, bool WrapU>
long long CoverRowsGathered(const Coverage& c) {
    PendingPixels& pending = *c.pending;
    const SpanConstants& k = *c.k;
    const std::uint8_t* const texBits = k.texture->bits;
    long long written = 0;
    ForEachRow(c, [&](int py, std::int64_t lo, std::int64_t hi) {
        const int x0 = static_cast<int>(lo);
        const int x1 = static_cast<int>(hi);
        const std::size_t count = static_cast<std::size_t>(x1 - x0 + 1);
        if (pending.used + count > pending.q.size()) {
            written += WritePending<Bpp>(pending);
            if (count > pending.q.size()) {
                pending.q.resize(count);
                pending.texel.resize(count);
            }
        }
        std::uint8_t* const out = c.colour.Row(py) + x0 * Bpp;
        float* const depth = c.depth + static_cast<std::ptrdiff_t>(py) * c.depthStride + x0;
        pending.spans.push_back({out, depth, static_cast<int>(count)});
        PrefetchLines<true>(out, count * Bpp);
        PrefetchLines<true>(depth, count * sizeof(float));
        float* const q = pending.q.data() + pending.used;
        const std::uint8_t** const texel = pending.texel.data() + pending.used;
        pending.used += count;
        SpanValues s = ValuesAt(c, x0, py);
        WalkTexels<Perspective, WrapU>(
            x0, x1, s, k, Bpp,
            [&](int x, float pixelQ, std::ptrdiff_t offset) {
                const std::uint8_t* t = texBits + offset;
                __builtin_prefetch(t);
                q[x - x0] = pixelQ;
                texel[x - x0] = t;
            },
            [] {});
    });
    return written + WritePending<Bpp>(pending);
}

using RowsFunction = long long (*)(const Coverage&);

// Textures larger than this many bytes copy their texels through PendingPixels: the cache
// lines of small ones stay in the cache from one triangle to the next, and for them the
// second pass costs more than it saves.
constexpr std::ptrdiff_t kGatherBytes = 64 * 1024;

template <int Bpp, SpanKind Kind>
RowsFunction PickTexturedRows(bool perspective, bool wrapU, bool gather) {
    if (Kind == SpanKind::TexRaw && gather) {
        if (perspective) {
            return wrapU ? CoverRowsGathered<Bpp, true, true> : CoverRowsGathered<Bpp, true, false>;
        }
        return wrapU ? CoverRowsGathered<Bpp, false, true> : CoverRowsGathered<Bpp, false, false>;
    }
    if (perspective) {
        return wrapU ? CoverRows<DrawSpan<Bpp, Kind, true, true>>
                     : CoverRows<DrawSpan<Bpp, Kind, true, false>>;
    }
    return wrapU ? CoverRows<DrawSpan<Bpp, Kind, false, true>>
                 : CoverRows<DrawSpan<Bpp, Kind, false, false>>;
}

template <int Bpp>
RowsFunction PickRows(SpanKind kind, bool perspective, bool wrapU, bool gather) {
    switch (kind) {
        case SpanKind::TexRaw:
            return PickTexturedRows<Bpp, SpanKind::TexRaw>(perspective, wrapU, gather);
        case SpanKind::TexModulate:
            return PickTexturedRows<Bpp, SpanKind::TexModulate>(perspective, wrapU, false);
        case SpanKind::Colour:
            return CoverRows<DrawSpan<Bpp, SpanKind::Colour, false, false>>;
        case SpanKind::Flat:
            break;
    }
    return CoverRows<DrawSpan<Bpp, SpanKind::Flat, false, false>>;
}

RowsFunction PickRows(int bpp, SpanKind kind, bool perspective, bool wrapU, bool gather) {
    switch (bpp) {
        case 2:
            return PickRows<2>(kind, perspective, wrapU, gather);
        case 3:
            return PickRows<3>(kind, perspective, wrapU, gather);
        default:
            return PickRows<4>(kind, perspective, wrapU, gather);
    }
}

// What a wire-frame side of one colour needs along its pixels.
struct LineWalk {
    const Rasterizer::Projected* a;
    float dx;
    float dy;
    float dq;
    float duq;
    float dvq;
    float t0;
    float perStep;
    int steps;
    Rect viewport;
    PixelView colour;
    float* depth;
    int depthStride;
    std::uint32_t flat;
    bool perspective;
    bool wrapU;
    TextureView texture;
    float limitU = 0;
    float limitV = 0;
};

// The pixels of a side, one per step along its longer axis, depth-tested like a triangle's:
// the untextured colour, or (Raw) the texel as it is. Returns the pixels written.
template <int Bpp, bool Raw>
long long WalkLine(const LineWalk& walk) {
    const Rasterizer::Projected a = *walk.a;
    const float dx = walk.dx;
    const float dy = walk.dy;
    const float dq = walk.dq;
    const float t0 = walk.t0;
    const float perStep = walk.perStep;
    const Rect vp = walk.viewport;
    float* const depthBits = walk.depth;
    const std::ptrdiff_t depthStride = walk.depthStride;
    std::uint8_t* const colourBits = walk.colour.bits;
    const std::ptrdiff_t colourPitch = walk.colour.pitch;
    const std::uint8_t* const texBits = walk.texture.bits;
    const std::ptrdiff_t texPitch = walk.texture.pitch;
    const int texWidth = walk.texture.width;
    long long written = 0;
    for (int i = 0; i <= walk.steps; ++i) {
        const float t = t0 + perStep * static_cast<float>(i);
        // Inside the viewport the co-ordinates are not negative: truncation is floor.
        const int x = static_cast<int>(a.x + dx * t);
        const int y = static_cast<int>(a.y + dy * t);
        if (x < vp.left || x >= vp.right || y < vp.top || y >= vp.bottom) {
            continue;
        }
        const float q = a.q + dq * t;
        float& depth = depthBits[y * depthStride + x];
        if (!(q >= depth)) {
            continue;
        }
        depth = q;
        ++written;
        std::uint8_t* out = colourBits + y * colourPitch + x * Bpp;
        if constexpr (!Raw) {
            StorePixel(out, Bpp, walk.flat);
        } else {
            const float w = walk.perspective ? 1.0f / q : 1.0f;
            int tu = TexelIndex((a.uq + walk.duq * t) * w, walk.limitU);
            if (walk.wrapU && tu >= texWidth) {
                tu -= texWidth;
            }
            const int tv = TexelIndex((a.vq + walk.dvq * t) * w, walk.limitV);
            std::memcpy(out, texBits + tv * texPitch + static_cast<std::ptrdiff_t>(tu) * Bpp, Bpp);
        }
    }
    return written;
}

}  // namespace

Rasterizer::Rasterizer(const RenderTarget& target, const Projection& projection)
    : target_(target), projection_(projection), targetCodec_(CodecOf(target.format)) {
    const std::size_t held = static_cast<std::size_t>(std::max(target.viewport.Width(), 1024));
    pending_.q.resize(held);
    pending_.texel.resize(held);
    // Corners are clipped to a band well outside the viewport; only triangles reaching past
    // it are cut in camera space, everything else is cut to the viewport per pixel.
    guard_ =
        static_cast<float>(std::max(target.viewport.Width(), target.viewport.Height())) + 2048.0f;
}

void Rasterizer::SetState(const RasterState& state) {
    state_ = state;
    if (state_.texture != nullptr &&
        (state_.texture->bits == nullptr || state_.texture->width < 1 ||
         state_.texture->height < 1 || state_.texture->width > kMaxTextureSide ||
         state_.texture->height > kMaxTextureSide || !IsSupportedFormat(state_.texture->format))) {
        state_.texture = nullptr;
    }
    if (state_.texture != nullptr && !(state_.texture->format == textureFormat_)) {
        textureFormat_ = state_.texture->format;
        textureCodec_ = CodecOf(textureFormat_);
    }
}

// Step 1, clip: Sutherland-Hodgman against the planes the polygon crosses. Each corner keeps
// the flag of the side leaving it; sides made by a plane are not polygon edges.
int Rasterizer::Clip(ClipVertex* polygon, int count, ClipVertex* scratch) const {
    const float s = projection_.scale;
    const float g = guard_;
    // Inside when a*x + b*y + c*z + d >= 0.
    const float planes[6][4] = {
        {0, 0, 1, -projection_.front},  // in front of the camera
        {0, 0, -1, projection_.back},   // before the back plane
        {-s, 0, g, 0},                  // guard band right
        {s, 0, g, 0},                   // left
        {0, -s, g, 0},                  // top
        {0, s, g, 0},                   // bottom
    };
    // Most triangles lie inside every plane: the same distances as below, without the
    // general loop. (Each zero term of a plane adds nothing, so these are the same sums.)
    bool inside = true;
    for (int i = 0; i < count && inside; ++i) {
        const Vec3& p = polygon[i].p;
        const float gz = g * p.z;
        inside = p.z - projection_.front >= 0.0f && projection_.back - p.z >= 0.0f &&
                 -s * p.x + gz >= 0.0f && s * p.x + gz >= 0.0f && -s * p.y + gz >= 0.0f &&
                 s * p.y + gz >= 0.0f;
    }
    if (inside) {
        return count;
    }
    ClipVertex* in = polygon;
    ClipVertex* out = scratch;
    for (const auto& plane : planes) {
        float distance[kMaxCorners];
        bool anyOut = false;
        bool anyIn = false;
        for (int i = 0; i < count; ++i) {
            const Vec3& p = in[i].p;
            distance[i] = plane[0] * p.x + plane[1] * p.y + plane[2] * p.z + plane[3];
            if (distance[i] < 0.0f) {
                anyOut = true;
            } else {
                anyIn = true;
            }
        }
        if (!anyIn) {
            return 0;
        }
        if (!anyOut) {
            continue;
        }
        int made = 0;
        for (int i = 0; i < count && made < kMaxCorners - 1; ++i) {
            const int next = (i + 1) % count;
            const ClipVertex& a = in[i];
            const ClipVertex& b = in[next];
            const bool aIn = distance[i] >= 0.0f;
            const bool bIn = distance[next] >= 0.0f;
            if (aIn) {
                out[made++] = a;
            }
            if (aIn != bIn) {
                const float t = distance[i] / (distance[i] - distance[next]);
                ClipVertex cut;
                cut.p = a.p + (b.p - a.p) * t;
                cut.u = a.u + (b.u - a.u) * t;
                cut.v = a.v + (b.v - a.v) * t;
                cut.red = a.red + (b.red - a.red) * t;
                cut.green = a.green + (b.green - a.green) * t;
                cut.blue = a.blue + (b.blue - a.blue) * t;
                // Leaving: the next side runs along the plane. Entering: it continues a.b.
                cut.edge = aIn ? false : a.edge;
                out[made++] = cut;
            }
        }
        if (made < 3) {
            return 0;
        }
        count = made;
        std::swap(in, out);
    }
    if (in != polygon) {
        std::copy(in, in + count, polygon);
    }
    return count;
}

// Step 2, project: divide by depth. 1/z and the texture co-ordinates times 1/z are linear in
// screen space, so they are what gets interpolated.
Rasterizer::Projected Rasterizer::Project(const ClipVertex& vertex) const {
    const float q = 1.0f / vertex.p.z;
    Projected out;
    out.x = projection_.centreX + vertex.p.x * projection_.scale * q;
    out.y = projection_.centreY - vertex.p.y * projection_.scale * q;
    out.q = q;
    const float texW = state_.texture != nullptr ? static_cast<float>(state_.texture->width) : 1;
    const float texH = state_.texture != nullptr ? static_cast<float>(state_.texture->height) : 1;
    const float factor = state_.perspective ? q : 1.0f;
    out.uq = vertex.u * texW * factor;
    out.vq = vertex.v * texH * factor;
    out.red = vertex.red * 255.0f;
    out.green = vertex.green * 255.0f;
    out.blue = vertex.blue * 255.0f;
    out.edge = vertex.edge;
    return out;
}

void Rasterizer::DrawTriangle(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c,
                              unsigned edges) {
    const RasterVertex* corners[3] = {&a, &b, &c};
    for (const RasterVertex* corner : corners) {
        const Vec3& p = corner->position;
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            return;
        }
    }
    ClipVertex polygon[kMaxCorners];
    ClipVertex scratch[kMaxCorners];
    // A repeating u is moved to start in the texture's first copy.
    float shiftU = 0.0f;
    if (state_.wrapU) {
        shiftU = -std::floor(std::min({a.u, b.u, c.u}));
        if (!std::isfinite(shiftU)) {
            shiftU = 0.0f;
        }
    }
    for (int i = 0; i < 3; ++i) {
        const RasterVertex& v = *corners[i];
        polygon[i] = ClipVertex{
            v.position, v.u + shiftU, v.v, v.red, v.green, v.blue, ((edges >> i) & 1u) != 0};
    }
    if (state_.fill == FillMode::Points) {
        for (int i = 0; i < 3; ++i) {
            const float z = polygon[i].p.z;
            if (z >= projection_.front && z <= projection_.back &&
                std::fabs(polygon[i].p.x * projection_.scale) <= guard_ * z &&
                std::fabs(polygon[i].p.y * projection_.scale) <= guard_ * z) {
                DrawPoint(Project(polygon[i]));
            }
        }
        return;
    }
    const int count = Clip(polygon, 3, scratch);
    if (count < 3) {
        return;
    }
    Projected projected[kMaxCorners];
    for (int i = 0; i < count; ++i) {
        projected[i] = Project(polygon[i]);
    }
    if (state_.fill == FillMode::Wireframe) {
        for (int i = 0; i < count; ++i) {
            if (projected[i].edge) {
                DrawLine(projected[i], projected[(i + 1) % count]);
            }
        }
        return;
    }
    for (int i = 1; i + 1 < count; ++i) {
        FillTriangle(projected[0], projected[i], projected[i + 1]);
    }
}

// Steps 3 to 5 for a solid triangle.
void Rasterizer::FillTriangle(const Projected& p0, const Projected& p1, const Projected& p2) {
    const Projected* p[3] = {&p0, &p1, &p2};
    // Step 3, set up: snapped corners, edge functions with the top-left rule, gradients.
    std::int64_t X[3];
    std::int64_t Y[3];
    for (int i = 0; i < 3; ++i) {
        X[i] = Snap(p[i]->x);
        Y[i] = Snap(p[i]->y);
    }
    const std::int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
    if (area <= 0) {
        return;  // turned away or no pixels wide
    }
    const Rect& vp = target_.viewport;
    const std::int64_t minX = std::min({X[0], X[1], X[2]});
    const std::int64_t maxX = std::max({X[0], X[1], X[2]});
    const std::int64_t minY = std::min({Y[0], Y[1], Y[2]});
    const std::int64_t maxY = std::max({Y[0], Y[1], Y[2]});
    const int px0 =
        static_cast<int>(std::max<std::int64_t>(vp.left, CeilDiv(minX - kHalfPixel, kSubPixel)));
    const int px1 = static_cast<int>(
        std::min<std::int64_t>(vp.right - 1, FloorDiv(maxX - kHalfPixel, kSubPixel)));
    const int py0 =
        static_cast<int>(std::max<std::int64_t>(vp.top, CeilDiv(minY - kHalfPixel, kSubPixel)));
    const int py1 = static_cast<int>(
        std::min<std::int64_t>(vp.bottom - 1, FloorDiv(maxY - kHalfPixel, kSubPixel)));
    if (px0 > px1 || py0 > py1) {
        return;
    }
    // E(P) = A * Px + B * Py + C is >= 0 inside (clockwise corners, y down). Pixels exactly on
    // a top or left edge belong to this triangle, on other edges to the neighbour.
    struct Edge {
        std::int64_t a;
        std::int64_t b;
        std::int64_t c;
    } edge[3];
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        edge[i].a = Y[i] - Y[j];
        edge[i].b = X[j] - X[i];
        edge[i].c = (Y[j] - Y[i]) * X[i] - (X[j] - X[i]) * Y[i];
        const bool topLeft = edge[i].a > 0 || (edge[i].a == 0 && edge[i].b > 0);
        edge[i].c += kHalfPixel * edge[i].a + (topLeft ? 0 : -1);
    }

    const float x0 = static_cast<float>(X[0]) / kSubPixel;
    const float y0 = static_cast<float>(Y[0]) / kSubPixel;
    const float dx1 = static_cast<float>(X[1] - X[0]) / kSubPixel;
    const float dy1 = static_cast<float>(Y[1] - Y[0]) / kSubPixel;
    const float dx2 = static_cast<float>(X[2] - X[0]) / kSubPixel;
    const float dy2 = static_cast<float>(Y[2] - Y[0]) / kSubPixel;
    const float inverseArea = 1.0f / (dx1 * dy2 - dx2 * dy1);
    // Gradient of an attribute with values f0, f1, f2 at the corners.
    const auto gradient = [&](float f0, float f1, float f2, float& ddx, float& ddy) {
        ddx = ((f1 - f0) * dy2 - (f2 - f0) * dy1) * inverseArea;
        ddy = ((f2 - f0) * dx1 - (f1 - f0) * dx2) * inverseArea;
    };

    SpanConstants k{};
    float dqy = 0;
    float duy = 0;
    float dvy = 0;
    float dry = 0;
    float dgy = 0;
    float dby = 0;
    gradient(p0.q, p1.q, p2.q, k.dq, dqy);
    const bool sameColour = p0.red == p1.red && p0.red == p2.red && p0.green == p1.green &&
                            p0.green == p2.green && p0.blue == p1.blue && p0.blue == p2.blue;
    const bool white = sameColour && p0.red >= 255.0f && p0.green >= 255.0f && p0.blue >= 255.0f;
    k.target = targetCodec_;
    SpanKind kind;
    bool perspective = state_.perspective;
    float startU = p0.uq;
    float startV = p0.vq;
    if (state_.texture != nullptr) {
        const TextureView& t = *state_.texture;
        k.texture = &t;
        k.texBpp = t.format.BytesPerPixel();
        k.texWidth = static_cast<unsigned>(t.width);
        k.wrapU = state_.wrapU;
        k.maxU = static_cast<unsigned>(state_.wrapU ? 2 * t.width - 1 : t.width - 1);
        k.maxV = static_cast<unsigned>(t.height - 1);
        // Just below the next texel, so that truncation never passes the last one.
        k.limitU = static_cast<float>(k.maxU) + 0.99f;
        k.limitV = static_cast<float>(k.maxV) + 0.99f;
        k.texCodec = textureCodec_;
        if (perspective && AffineIsExact(p0, p1, p2)) {
            // Interpolating u and v themselves lands on the same texels to within a tenth
            // of one, and needs no division per span.
            perspective = false;
            const float u0 = p0.uq / p0.q;
            const float v0 = p0.vq / p0.q;
            gradient(u0, p1.uq / p1.q, p2.uq / p2.q, k.du, duy);
            gradient(v0, p1.vq / p1.q, p2.vq / p2.q, k.dv, dvy);
            startU = u0;
            startV = v0;
        } else {
            gradient(p0.uq, p1.uq, p2.uq, k.du, duy);
            gradient(p0.vq, p1.vq, p2.vq, k.dv, dvy);
        }
        kind = white && t.format == target_.format ? SpanKind::TexRaw : SpanKind::TexModulate;
    } else {
        kind = sameColour ? SpanKind::Flat : SpanKind::Colour;
        k.flatPixel = Encode(k.target, p0.red, p0.green, p0.blue);
    }
    if (kind == SpanKind::TexModulate || kind == SpanKind::Colour) {
        gradient(p0.red, p1.red, p2.red, k.dr, dry);
        gradient(p0.green, p1.green, p2.green, k.dg, dgy);
        gradient(p0.blue, p1.blue, p2.blue, k.db, dby);
    }
    const bool gather =
        k.texture != nullptr &&
        static_cast<std::ptrdiff_t>(k.texture->pitch) * k.texture->height > kGatherBytes;
    const RowsFunction rows = PickRows(target_.colour.bytesPerPixel, kind, perspective,
                                       k.texture != nullptr && k.wrapU, gather);

    Coverage cover;
    cover.px0 = px0;
    cover.px1 = px1;
    cover.py0 = py0;
    cover.py1 = py1;
    for (int i = 0; i < 3; ++i) {
        cover.a[i] = edge[i].a;
        cover.b[i] = edge[i].b;
        cover.c[i] = edge[i].c;
    }
    cover.x0 = x0;
    cover.y0 = y0;
    cover.start = {p0.q, startU, startV, p0.red, p0.green, p0.blue};
    cover.perRow = {dqy, duy, dvy, dry, dgy, dby};
    cover.textured = k.texture != nullptr;
    cover.coloured = kind == SpanKind::TexModulate || kind == SpanKind::Colour;
    cover.k = &k;
    cover.colour = target_.colour;
    cover.depth = target_.depth;
    cover.depthStride = target_.depthStride;
    cover.pending = &pending_;
    pixelsWritten_ += rows(cover);
}

std::uint32_t Rasterizer::Shade(float red, float green, float blue, float u, float v) const {
    const Codec& target = targetCodec_;
    if (state_.texture == nullptr) {
        return Encode(target, red, green, blue);
    }
    const TextureView& t = *state_.texture;
    int tu = TexelIndex(u, static_cast<float>(state_.wrapU ? 2 * t.width - 1 : t.width - 1));
    if (state_.wrapU && tu >= t.width) {
        tu -= t.width;
    }
    const int tv = TexelIndex(v, static_cast<float>(t.height - 1));
    const std::uint32_t texel = LoadPixel(
        t.bits + static_cast<std::ptrdiff_t>(tv) * t.pitch + tu * t.format.BytesPerPixel(),
        t.format.BytesPerPixel());
    const Codec& codec = textureCodec_;
    const float scale = 1.0f / 255.0f;
    return Encode(target, DecodeChannel(codec.red, texel) * red * scale,
                  DecodeChannel(codec.green, texel) * green * scale,
                  DecodeChannel(codec.blue, texel) * blue * scale);
}

void Rasterizer::DrawPoint(const Projected& p) {
    Plot(static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)), p);
}

// One pixel of a point or a line, depth-tested like a triangle's.
void Rasterizer::Plot(int x, int y, const Projected& p) {
    const Rect& vp = target_.viewport;
    if (x < vp.left || x >= vp.right || y < vp.top || y >= vp.bottom) {
        return;
    }
    float& depth = target_.depth[static_cast<std::ptrdiff_t>(y) * target_.depthStride + x];
    if (!(p.q >= depth)) {
        return;
    }
    depth = p.q;
    ++pixelsWritten_;
    std::uint8_t* out = target_.colour.At(x, y);
    const int bpp = target_.colour.bytesPerPixel;
    const float w = state_.perspective ? 1.0f / p.q : 1.0f;
    const TextureView* t = state_.texture;
    if (t != nullptr && t->format == target_.format && p.red >= 255.0f && p.green >= 255.0f &&
        p.blue >= 255.0f) {
        // White and in the target's format: the texel as it is.
        int tu = TexelIndex(p.uq * w,
                            static_cast<float>(state_.wrapU ? 2 * t->width - 1 : t->width - 1));
        if (state_.wrapU && tu >= t->width) {
            tu -= t->width;
        }
        const int tv = TexelIndex(p.vq * w, static_cast<float>(t->height - 1));
        std::memcpy(out, t->bits + static_cast<std::ptrdiff_t>(tv) * t->pitch + tu * bpp,
                    static_cast<std::size_t>(bpp));
        return;
    }
    StorePixel(out, bpp, Shade(p.red, p.green, p.blue, p.uq * w, p.vq * w));
}

// A wire-frame side: the segment is cut to the viewport, then walked one pixel per step
// along its longer axis, with 1/z and the attributes interpolated as on a triangle.
void Rasterizer::DrawLine(const Projected& a, const Projected& b) {
    const Rect& vp = target_.viewport;
    const float left = static_cast<float>(vp.left);
    const float right = static_cast<float>(vp.right) - 0.001f;
    const float top = static_cast<float>(vp.top);
    const float bottom = static_cast<float>(vp.bottom) - 0.001f;
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    float t0 = 0.0f;
    float t1 = 1.0f;
    const auto cut = [&](float p, float q) {
        if (p == 0.0f) {
            return q >= 0.0f;
        }
        const float r = q / p;
        if (p < 0.0f) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
        return t0 <= t1;
    };
    if (!cut(-dx, a.x - left) || !cut(dx, right - a.x) || !cut(-dy, a.y - top) ||
        !cut(dy, bottom - a.y)) {
        return;
    }
    const float length = std::max(std::fabs(dx), std::fabs(dy)) * (t1 - t0);
    const int steps = std::max(1, static_cast<int>(std::ceil(length)));
    const float perStep = (t1 - t0) / static_cast<float>(steps);
    const float dq = b.q - a.q;
    const float duq = b.uq - a.uq;
    const float dvq = b.vq - a.vq;
    const TextureView* texture = state_.texture;
    const bool oneColour = a.red == b.red && a.green == b.green && a.blue == b.blue;
    const bool raw = texture != nullptr && texture->format == target_.format && a.red >= 255.0f &&
                     a.green >= 255.0f && a.blue >= 255.0f;
    if (!oneColour || (texture != nullptr && !raw)) {
        for (int i = 0; i <= steps; ++i) {
            const float t = t0 + perStep * static_cast<float>(i);
            Projected p;
            p.x = a.x + dx * t;
            p.y = a.y + dy * t;
            p.q = a.q + dq * t;
            p.uq = a.uq + duq * t;
            p.vq = a.vq + dvq * t;
            p.red = a.red + (b.red - a.red) * t;
            p.green = a.green + (b.green - a.green) * t;
            p.blue = a.blue + (b.blue - a.blue) * t;
            p.edge = true;
            // Inside the viewport the co-ordinates are not negative: truncation is floor.
            Plot(static_cast<int>(p.x), static_cast<int>(p.y), p);
        }
        return;
    }
    // One colour along the whole line, untextured or copying texels as they are: the same
    // pixels as Plot writes, with what stays the same worked out once.
    LineWalk walk;
    walk.a = &a;
    walk.dx = dx;
    walk.dy = dy;
    walk.dq = dq;
    walk.duq = duq;
    walk.dvq = dvq;
    walk.t0 = t0;
    walk.perStep = perStep;
    walk.steps = steps;
    walk.viewport = vp;
    walk.colour = target_.colour;
    walk.depth = target_.depth;
    walk.depthStride = target_.depthStride;
    walk.flat = Encode(targetCodec_, a.red, a.green, a.blue);
    walk.perspective = state_.perspective;
    walk.wrapU = state_.wrapU;
    if (raw) {
        walk.texture = *texture;
        walk.limitU =
            static_cast<float>(state_.wrapU ? 2 * texture->width - 1 : texture->width - 1);
        walk.limitV = static_cast<float>(texture->height - 1);
    }
    const auto run = [&]<int Bpp>() {
        pixelsWritten_ += raw ? WalkLine<Bpp, true>(walk) : WalkLine<Bpp, false>(walk);
    };
    switch (target_.colour.bytesPerPixel) {
        case 2:
            run.operator()<2>();
            break;
        case 3:
            run.operator()<3>();
            break;
        default:
            run.operator()<4>();
            break;
    }
}

}  // namespace gfx::rm
