#include "platform/gfx/rm/raster.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gfx/rm/raster_spans.h"

namespace gfx::rm {

using namespace spans;

namespace {

// The most corners a triangle can have after clipping against six planes.
constexpr int kMaxCorners = 12;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

// A screen co-ordinate in sixteenths of a pixel, rounded to nearest. Clipping keeps
// co-ordinates within a few thousand pixels of the viewport, far inside the offset.
inline std::int64_t Snap(float value) {
    constexpr double kOffset = 1 << 24;
    return static_cast<std::int64_t>(static_cast<double>(value) * kSubPixel + 0.5 + kOffset) -
           static_cast<std::int64_t>(kOffset);
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
    // The viewport is a rectangle of the colour buffer, and the depth buffer covers it.
    assert(Contains(Rect{0, 0, target.colour.width, target.colour.height}, target.viewport) &&
           target.depth != nullptr && target.depthStride >= target.viewport.right);
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