// The software rasteriser of the RGB device. A triangle goes through five steps, each in its
// own function: clip (against the front, back and guard planes in camera space), project
// (to pixels), set up (fixed-point edge functions and attribute gradients), interpolate
// (row spans with attributes stepped along x) and depth test (per pixel, against the
// device's depth buffer). No state outside the Rasterizer object.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/pixels.h"
#include "platform/gfx/rm/math.h"

namespace gfx::rm {

// Where triangles are drawn: a rectangle of a colour buffer and the depth buffer that goes
// with it (one float per pixel, larger is nearer, 0 is empty).
struct RenderTarget {
    PixelView colour;
    PixelFormat format;
    float* depth = nullptr;
    int depthStride = 0;  // floats per depth row
    Rect viewport;
};

// How camera space maps onto the viewport: pixel = centre + (x, -y) * scale / z.
struct Projection {
    float centreX = 0;
    float centreY = 0;
    float scale = 1;
    float front = 1;
    float back = 100;
};

// A corner of a triangle in camera space. Texture co-ordinates run from 0 to 1 across the
// texture; the colour channels from 0 to 1.
struct RasterVertex {
    Vec3 position;
    float u = 0;
    float v = 0;
    float red = 1;
    float green = 1;
    float blue = 1;
};

// Pixels of a texture as they are now; at most kMaxTextureSide texels each way.
inline constexpr int kMaxTextureSide = 4096;
struct TextureView {
    const std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    PixelFormat format;
};

// Pixels that copy texels, waiting to be depth-tested and written. The texel addresses of a
// whole triangle are worked out first and their cache lines fetched ahead: reading them one
// pixel at a time waits for memory on nearly every pixel when the textures do not fit in the
// cache.
struct PendingSpan {
    std::uint8_t* out;
    float* depth;
    int count;
};
struct PendingPixels {
    std::vector<PendingSpan> spans;
    std::vector<float> q;                    // 1/z of each pixel, spans one after another
    std::vector<const std::uint8_t*> texel;  // its texel
    std::size_t used = 0;                    // pixels held
};

enum class FillMode { Points, Wireframe, Solid };

// Where the channels of a pixel format lie.
struct PixelCodec {
    ChannelLayout red;
    ChannelLayout green;
    ChannelLayout blue;
};

struct RasterState {
    FillMode fill = FillMode::Solid;
    const TextureView* texture = nullptr;  // none: untextured
    bool perspective = true;               // perspective-correct texture co-ordinates
    bool wrapU = false;                    // u repeats across the texture's width
};

class Rasterizer {
public:
    Rasterizer(const RenderTarget& target, const Projection& projection);

    void SetState(const RasterState& state);
    // Draws a triangle given in camera space, corners clockwise as seen from the camera (the
    // caller culls faces turned away). Bit k of edges says that the side from corner k to
    // corner k + 1 is an edge of the original polygon (drawn in wire frame).
    void DrawTriangle(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c,
                      unsigned edges = 7);

    // Pixels written so far (for tests and measurements).
    long long PixelsWritten() const { return pixelsWritten_; }

    // One projected corner; public for the span functions.
    struct Projected {
        float x;
        float y;
        float q;   // 1 / z
        float uq;  // u * texture width (times q when perspective-correct)
        float vq;
        float red;  // 0..255
        float green;
        float blue;
        bool edge;  // the side from this corner to the next is a polygon edge
    };

private:
    struct ClipVertex {
        Vec3 p;
        float u;
        float v;
        float red;
        float green;
        float blue;
        bool edge;
    };

    int Clip(ClipVertex* polygon, int count, ClipVertex* scratch) const;
    Projected Project(const ClipVertex& vertex) const;
    void FillTriangle(const Projected& a, const Projected& b, const Projected& c);
    void DrawLine(const Projected& a, const Projected& b);
    void DrawPoint(const Projected& p);
    void Plot(int x, int y, const Projected& p);
    std::uint32_t Shade(float red, float green, float blue, float u, float v) const;

    RenderTarget target_;
    Projection projection_;
    RasterState state_;
    PixelCodec targetCodec_;
    PixelCodec textureCodec_;
    PixelFormat textureFormat_;
    float guard_;
    long long pixelsWritten_ = 0;
    PendingPixels pending_;
};

}  // namespace gfx::rm
