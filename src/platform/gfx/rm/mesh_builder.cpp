#include "platform/gfx/rm/mesh_builder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gfx/rm/mesh.h"
#include "platform/gfx/rm/pass.h"
#include "platform/gfx/rm/texture.h"
#include "platform/gfx/xfile.h"

namespace gfx::rm {

Result MeshBuilder::Load(const std::string& path) {
    if (Result r = Check(faults_.get(), Op::Load); r != DD_OK) {
        return r;
    }
    XMeshData data;
    if (Result r = LoadXFile(path, data); r != D3DRM_OK) {
        return r;
    }
    Take(data);
    return D3DRM_OK;
}

Result MeshBuilder::LoadFromMemory(std::span<const std::uint8_t> bytes) {
    if (Result r = Check(faults_.get(), Op::Load); r != DD_OK) {
        return r;
    }
    XMeshData data;
    if (Result r = ParseXFile(bytes, data); r != D3DRM_OK) {
        return r;
    }
    Take(data);
    return D3DRM_OK;
}

void MeshBuilder::Take(const XMeshData& data) {
    positions_.clear();
    for (const auto& p : data.positions) {
        positions_.push_back({p[0], p[1], p[2]});
    }
    normals_.clear();
    for (const auto& n : data.normals) {
        normals_.push_back({n[0], n[1], n[2]});
    }
    vertexUv_.clear();
    for (const auto& uv : data.texCoords) {
        vertexUv_.push_back(uv[0]);
        vertexUv_.push_back(uv[1]);
    }
    triangles_.clear();
    edges_.clear();
    std::size_t at = 0;
    for (std::uint32_t size : data.faceSizes) {
        AppendFan(std::span<const std::uint32_t>(data.faceVertices).subspan(at, size), triangles_,
                  edges_);
        at += size;
    }
    faceCount_ = static_cast<int>(data.faceSizes.size());
    cornerUv_.clear();
    wrapU_ = false;

    Vec3 low = positions_.front();
    Vec3 high = low;
    for (const Vec3& p : positions_) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    boundsCentre_ = (low + high) * 0.5f;
    float radius = 0;
    for (const Vec3& p : positions_) {
        radius = std::max(radius, Length(p - boundsCentre_));
    }
    boundsRadius_ = std::isfinite(radius) ? radius * 1.0001f : -1.0f;
}

Result MeshBuilder::SetColorRGB(float red, float green, float blue) {
    if (Result r = Check(faults_.get(), Op::SetColorRGB); r != DD_OK) {
        return r;
    }
    colour_ = {ClampUnit(red), ClampUnit(green), ClampUnit(blue)};
    return D3DRM_OK;
}

Result MeshBuilder::SetTexture(std::shared_ptr<Texture> texture) {
    if (Result r = Check(faults_.get(), Op::SetTexture); r != DD_OK) {
        return r;
    }
    texture_ = std::move(texture);
    return D3DRM_OK;
}

Result MeshBuilder::SetPerspective(bool perspective) {
    if (Result r = Check(faults_.get(), Op::SetPerspective); r != DD_OK) {
        return r;
    }
    perspective_ = perspective;
    return D3DRM_OK;
}

Result MeshBuilder::SetQuality(Quality quality) {
    if (Result r = Check(faults_.get(), Op::SetQuality); r != DD_OK) {
        return r;
    }
    if (!IsValidQuality(quality)) {
        return D3DRMERR_BADVALUE;
    }
    quality_ = quality;
    return D3DRM_OK;
}

Result MeshBuilder::GetTextureCoordinates(unsigned index, float& u, float& v) const {
    if (index >= positions_.size()) {
        return D3DRMERR_BADVALUE;
    }
    if (vertexUv_.size() != positions_.size() * 2) {
        u = v = 0;
        return D3DRM_OK;
    }
    u = vertexUv_[index * 2];
    v = vertexUv_[index * 2 + 1];
    return D3DRM_OK;
}

void MeshBuilder::Draw(ScenePass& pass, const Transform& toCamera) const {
    TriangleBatch batch;
    batch.positions = positions_;
    batch.normals = normals_;
    batch.triangles = triangles_;
    batch.edges = edges_;
    batch.cornerUv = cornerUv_;
    batch.vertexUv = vertexUv_;
    batch.texture = texture_.get();
    batch.colour = colour_;
    batch.quality = quality_;
    batch.perspective = perspective_;
    batch.wrapU = wrapU_;
    batch.boundsCentre = boundsCentre_;
    batch.boundsRadius = boundsRadius_;
    pass.Draw(batch, toCamera);
}

Wrap::Wrap(std::shared_ptr<FaultPlan> faults, WrapType type, const Axes& axes, float originU,
           float originV, float scaleU, float scaleV)
    : faults_(std::move(faults)),
      type_(type),
      origin_(axes.origin),
      originU_(originU),
      originV_(originV),
      scaleU_(scaleU),
      scaleV_(scaleV) {
    direction_ = axes.direction;
    Normalize(direction_);
    x_ = Cross(axes.up, direction_);
    Normalize(x_);
    up_ = Cross(direction_, x_);
}

Result Wrap::Apply(MeshBuilder* builder) const {
    if (Result r = Check(faults_.get(), Op::Apply); r != DD_OK) {
        return r;
    }
    if (builder == nullptr) {
        return D3DRMERR_BADOBJECT;
    }
    const bool round = type_ == WrapType::Cylinder || type_ == WrapType::Sphere;
    const float twoPi = 2.0f * std::numbers::pi_v<float>;
    const std::size_t count = builder->positions_.size();
    std::vector<float> uv(count * 2);
    std::vector<bool> onAxis(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3 q = builder->positions_[i] - origin_;
        const float a = Dot(q, x_);
        const float b = Dot(q, up_);
        const float c = Dot(q, direction_);
        float u = 0;
        float v = 0;
        if (type_ == WrapType::Flat) {
            u = originU_ + scaleU_ * a;
            v = originV_ - scaleV_ * b;
        } else {
            const float across = std::sqrt(a * a + b * b);
            float angle = std::atan2(a, b);
            if (angle < 0.0f) {
                angle += twoPi;
            }
            u = originU_ + scaleU_ * angle / twoPi;
            if (type_ == WrapType::Cylinder) {
                v = originV_ + scaleV_ * c;
                onAxis[i] = across <= 1e-6f;
            } else {
                const float length = Length(q);
                const float cosine = length > 0.0f ? std::clamp(c / length, -1.0f, 1.0f) : 0.0f;
                v = originV_ + scaleV_ * std::acos(cosine) / std::numbers::pi_v<float>;
                onAxis[i] = across <= 1e-5f * length || length == 0.0f;
            }
        }
        uv[i * 2] = u;
        uv[i * 2 + 1] = v;
    }
    std::vector<float> corners(builder->triangles_.size() * 6);
    const float period = std::fabs(scaleU_);
    for (std::size_t t = 0; t < builder->triangles_.size(); ++t) {
        const auto& index = builder->triangles_[t];
        float u[3];
        for (int k = 0; k < 3; ++k) {
            u[k] = uv[index[k] * 2];
            corners[t * 6 + k * 2 + 1] = uv[index[k] * 2 + 1];
        }
        if (round) {
            // Corners on either side of the seam: carry the low ones one turn on.
            float low = INFINITY;
            float high = -INFINITY;
            int offAxis = 0;
            for (int k = 0; k < 3; ++k) {
                if (!onAxis[index[k]]) {
                    low = std::min(low, u[k]);
                    high = std::max(high, u[k]);
                    ++offAxis;
                }
            }
            if (offAxis > 0 && high - low > period * 0.5f) {
                for (int k = 0; k < 3; ++k) {
                    if (!onAxis[index[k]] && u[k] < high - period * 0.5f) {
                        u[k] += period;
                    }
                }
            }
            // A corner on the axis has no longitude of its own.
            if (offAxis > 0 && offAxis < 3) {
                float sum = 0;
                for (int k = 0; k < 3; ++k) {
                    sum += onAxis[index[k]] ? 0.0f : u[k];
                }
                for (int k = 0; k < 3; ++k) {
                    if (onAxis[index[k]]) {
                        u[k] = sum / static_cast<float>(offAxis);
                    }
                }
            }
        }
        for (int k = 0; k < 3; ++k) {
            corners[t * 6 + k * 2] = u[k];
        }
    }
    builder->vertexUv_ = std::move(uv);
    builder->cornerUv_ = std::move(corners);
    builder->wrapU_ = round;
    return D3DRM_OK;
}

}  // namespace gfx::rm
