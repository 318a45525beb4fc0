#include "platform/gfx/rm/pass.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/gfx/rm/texture.h"

namespace gfx::rm {

ScenePass::ScenePass(Rasterizer& rasterizer, const Projection& projection, const Rect& viewport,
                     Quality deviceQuality, SceneLights lights)
    : rasterizer_(rasterizer),
      projection_(projection),
      deviceQuality_(deviceQuality),
      lights_(std::move(lights)) {
    const float s = projection.scale;
    const float halfWidth = static_cast<float>(viewport.Width()) * 0.5f;
    const float halfHeight = static_cast<float>(viewport.Height()) * 0.5f;
    sides_[0] = {s, 0, -halfWidth};
    sides_[1] = {-s, 0, -halfWidth};
    sides_[2] = {0, s, -halfHeight};
    sides_[3] = {0, -s, -halfHeight};
    for (Vec3& n : sides_) {
        Normalize(n);
    }
}

// A batch whose bounding sphere lies wholly outside one plane of the view is skipped.
bool ScenePass::OutsideView(const TriangleBatch& batch, const Transform& toCamera) const {
    if (batch.boundsRadius < 0.0f) {
        return false;
    }
    const Vec3 c = TransformPoint(toCamera, batch.boundsCentre);
    const float r = batch.boundsRadius;
    if (c.z + r < projection_.front || c.z - r > projection_.back) {
        return true;
    }
    for (const Vec3& n : sides_) {
        if (Dot(n, c) > r) {
            return true;
        }
    }
    return false;
}

// A batch whose every face is turned away from the camera is skipped before its positions
// are moved into camera space. With the camera at the origin, a face at point p with unit
// normal m is turned away when m . p >= 0; every p lies within the bounding sphere (centre c,
// radius r) and every m within the normal cone (axis n, half angle a), so m . p is at least
// |c| cos(angle(n, c) + a) - r. The margin covers the rounding of the per-face test, which
// grows with the distance and with how thin the faces are.
bool ScenePass::FacesAway(const TriangleBatch& batch, const Transform& toCamera) const {
    if (batch.boundsRadius < 0.0f || !(batch.normalCos > 0.0f) || !(batch.smallestHeight > 0.0f)) {
        return false;
    }
    const Vec3 c = TransformPoint(toCamera, batch.boundsCentre);
    const Vec3 axis = batch.normalAxis * toCamera.rotation;
    const float along = Dot(axis, c);
    const float across = std::sqrt(std::max(0.0f, Dot(c, c) - along * along));
    const float reach = Length(c) + batch.boundsRadius;
    const float margin = 1e-3f * reach + 1e-5f * reach * reach / batch.smallestHeight;
    const float nearest = along * batch.normalCos - across * batch.normalSin;
    return std::isfinite(nearest) && std::isfinite(margin) && nearest > batch.boundsRadius + margin;
}

ColorF ScenePass::Lit(const ColorF& base, const Vec3& normal) const {
    ColorF light = lights_.ambient;
    for (const auto& directional : lights_.directional) {
        const float facing = Dot(normal, directional.towardsLight);
        if (facing > 0.0f) {
            light.red += directional.colour.red * facing;
            light.green += directional.colour.green * facing;
            light.blue += directional.colour.blue * facing;
        }
    }
    return {base.red * ClampUnit(light.red), base.green * ClampUnit(light.green),
            base.blue * ClampUnit(light.blue)};
}

void ScenePass::Draw(const TriangleBatch& batch, const Transform& toCamera) {
    const Quality quality = EffectiveQuality(deviceQuality_, batch.quality);
    if (batch.triangles.empty() || OutsideView(batch, toCamera) || FacesAway(batch, toCamera)) {
        return;
    }
    const std::size_t count = batch.positions.size();
    camera_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        camera_[i] = TransformPoint(toCamera, batch.positions[i]);
    }
    const bool lit = (quality & D3DRMLIGHT_MASK) == D3DRMLIGHT_ON;
    const bool gouraud = (quality & D3DRMSHADE_MASK) != D3DRMSHADE_FLAT;
    const bool vertexNormals = lit && gouraud && batch.normals.size() == count;
    if (vertexNormals) {
        cameraNormals_.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            cameraNormals_[i] = batch.normals[i] * toCamera.rotation;
        }
    }

    TextureView texture;
    RasterState state;
    switch (quality & D3DRMFILL_MASK) {
        case D3DRMFILL_POINTS:
            state.fill = FillMode::Points;
            break;
        case D3DRMFILL_WIREFRAME:
            state.fill = FillMode::Wireframe;
            break;
        default:
            state.fill = FillMode::Solid;
            break;
    }
    if (batch.texture != nullptr) {
        const Surface& image = batch.texture->Image();
        const PixelView& view = image.View();
        texture = TextureView{view.bits, view.width, view.height, view.pitch, image.Format()};
        state.texture = &texture;
    }
    state.perspective = batch.perspective;
    state.wrapU = batch.wrapU;
    rasterizer_.SetState(state);

    const bool cornerUv = batch.cornerUv.size() == batch.triangles.size() * 6;
    const bool vertexUv = batch.vertexUv.size() == count * 2;
    const bool edges = batch.edges.size() == batch.triangles.size();
    for (std::size_t t = 0; t < batch.triangles.size(); ++t) {
        const auto& index = batch.triangles[t];
        if (index[0] >= count || index[1] >= count || index[2] >= count) {
            continue;
        }
        const Vec3& p0 = camera_[index[0]];
        const Vec3& p1 = camera_[index[1]];
        const Vec3& p2 = camera_[index[2]];
        // Corners run clockwise seen from the front; from behind the normal points away
        // from the camera.
        Vec3 normal = Cross(p1 - p0, p2 - p0);
        if (!(Dot(normal, p0) < 0.0f)) {
            continue;
        }
        RasterVertex corner[3];
        for (int k = 0; k < 3; ++k) {
            corner[k].position = camera_[index[k]];
            if (cornerUv) {
                corner[k].u = batch.cornerUv[t * 6 + k * 2];
                corner[k].v = batch.cornerUv[t * 6 + k * 2 + 1];
            } else if (vertexUv) {
                corner[k].u = batch.vertexUv[index[k] * 2];
                corner[k].v = batch.vertexUv[index[k] * 2 + 1];
            }
        }
        ColorF colour[3] = {batch.colour, batch.colour, batch.colour};
        if (lit) {
            Normalize(normal);
            for (int k = 0; k < 3; ++k) {
                Vec3 n = normal;
                if (vertexNormals) {
                    Vec3 given = cameraNormals_[index[k]];
                    if (Normalize(given)) {
                        n = given;
                    }
                }
                colour[k] = Lit(batch.colour, n);
                if (!gouraud) {
                    colour[1] = colour[2] = colour[0];
                    break;
                }
            }
        }
        for (int k = 0; k < 3; ++k) {
            corner[k].red = colour[k].red;
            corner[k].green = colour[k].green;
            corner[k].blue = colour[k].blue;
        }
        rasterizer_.DrawTriangle(corner[0], corner[1], corner[2], edges ? batch.edges[t] : 7u);
        ++trianglesDrawn_;
    }
}

}  // namespace gfx::rm
