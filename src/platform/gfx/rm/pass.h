// One render of a scene into a viewport: visuals hand their triangles to the pass, which
// moves them into camera space, lights them, culls faces turned away and hands the rest to
// the rasteriser.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/gfx/rm/math.h"
#include "platform/gfx/rm/raster.h"
#include "platform/gfx/rm/types.h"

namespace gfx::rm {

class Texture;

// Triangles of one visual (or one mesh group) sharing a material.
struct TriangleBatch {
    std::span<const Vec3> positions;
    std::span<const Vec3> normals;  // one per position, or none
    std::span<const std::array<std::uint32_t, 3>> triangles;
    // Per triangle: bit k set when the side from corner k to corner k + 1 is a polygon edge;
    // none means every side is.
    std::span<const std::uint8_t> edges;
    // Texture co-ordinates per triangle corner (u0, v0, u1, v1, u2, v2), or else per
    // position (u, v), or none.
    std::span<const float> cornerUv;
    std::span<const float> vertexUv;
    const Texture* texture = nullptr;
    ColorF colour;
    Quality quality = D3DRMRENDER_GOURAUD;
    bool perspective = true;
    bool wrapU = false;
    // A sphere holding every position, when known (radius < 0: unknown).
    Vec3 boundsCentre;
    float boundsRadius = -1;
    // A cone holding every face's normal (as the corner order makes it), when known: its
    // unit axis, the cosine and sine of its half angle (cosine <= 0: unknown), and the
    // smallest height of a face, which bounds how far rounding can turn a face.
    Vec3 normalAxis;
    float normalCos = 0;
    float normalSin = 1;
    float smallestHeight = 0;
};

// The lights of a scene, as the camera sees them.
struct SceneLights {
    ColorF ambient{0, 0, 0};
    struct Directional {
        Vec3 towardsLight;  // camera space, unit
        ColorF colour;
    };
    std::vector<Directional> directional;
};

class ScenePass {
public:
    ScenePass(Rasterizer& rasterizer, const Projection& projection, const Rect& viewport,
              Quality deviceQuality, SceneLights lights);

    void Draw(const TriangleBatch& batch, const Transform& toCamera);

    // Triangles handed to the rasteriser so far.
    long long TrianglesDrawn() const { return trianglesDrawn_; }

private:
    bool OutsideView(const TriangleBatch& batch, const Transform& toCamera) const;
    bool FacesAway(const TriangleBatch& batch, const Transform& toCamera) const;
    ColorF Lit(const ColorF& base, const Vec3& normal) const;

    Rasterizer& rasterizer_;
    Projection projection_;
    Vec3 sides_[4];  // unit normals of the view's side planes, pointing out
    Quality deviceQuality_;
    SceneLights lights_;
    std::vector<Vec3> camera_;
    std::vector<Vec3> cameraNormals_;
    long long trianglesDrawn_ = 0;
};

}  // namespace gfx::rm
