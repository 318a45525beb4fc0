#include "platform/gfx/rm/raster_spans.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gfx::rm::spans {

namespace {

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

using SpanFunction = int (*)(std::uint8_t*, float*, int, int, SpanValues, const SpanConstants&);

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

}  // namespace

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

}  // namespace gfx::rm::spans
