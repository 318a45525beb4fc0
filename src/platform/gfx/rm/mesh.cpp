#include "platform/gfx/rm/mesh.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/gfx/rm/pass.h"
#include "platform/gfx/rm/texture.h"

namespace gfx::rm {

namespace {

// Generous limits that keep a bad call from asking for unbounded memory.
constexpr unsigned kMaxGroupVertices = 1u << 20;
constexpr unsigned kMaxGroupFaces = 1u << 20;
constexpr unsigned kMaxPolygonCorners = 256;

}  // namespace

void AppendFan(std::span<const std::uint32_t> polygon,
               std::vector<std::array<std::uint32_t, 3>>& triangles,
               std::vector<std::uint8_t>& edges) {
    const std::size_t n = polygon.size();
    for (std::size_t i = 1; i + 1 < n; ++i) {
        triangles.push_back({polygon[0], polygon[i], polygon[i + 1]});
        // The middle side is always on the outline; the first and last only at the fan's
        // ends, the others are diagonals.
        const std::uint8_t bits =
            static_cast<std::uint8_t>((i == 1 ? 1u : 0u) | 2u | (i + 2 == n ? 4u : 0u));
        edges.push_back(bits);
    }
}

Mesh::Group* Mesh::Find(GroupIndex group) {
    if (group < 0 || group >= static_cast<GroupIndex>(groups_.size())) {
        return nullptr;
    }
    return &groups_[static_cast<std::size_t>(group)];
}

Quality Mesh::GroupQuality(GroupIndex group) const {
    return group >= 0 && group < GroupCount() ? groups_[static_cast<std::size_t>(group)].quality
                                              : 0;
}

const Texture* Mesh::GroupTexture(GroupIndex group) const {
    return group >= 0 && group < GroupCount()
               ? groups_[static_cast<std::size_t>(group)].texture.get()
               : nullptr;
}

Result Mesh::AddGroup(unsigned vertexCount, unsigned faceCount, unsigned verticesPerFace,
                      std::span<const unsigned> faceData, GroupIndex& group) {
    if (Result r = Check(faults_.get(), Op::AddGroup); r != DD_OK) {
        return r;
    }
    if (vertexCount == 0 || faceCount == 0 || vertexCount > kMaxGroupVertices ||
        faceCount > kMaxGroupFaces || (verticesPerFace != 0 && verticesPerFace < 3) ||
        verticesPerFace > kMaxPolygonCorners) {
        return D3DRMERR_BADVALUE;
    }
    Group made;
    std::vector<std::uint32_t> polygon;
    std::size_t at = 0;
    for (unsigned face = 0; face < faceCount; ++face) {
        unsigned corners = verticesPerFace;
        if (corners == 0) {
            if (at >= faceData.size()) {
                return D3DRMERR_BADVALUE;
            }
            corners = faceData[at++];
            if (corners < 3 || corners > kMaxPolygonCorners) {
                return D3DRMERR_BADVALUE;
            }
        }
        if (faceData.size() - at < corners) {
            return D3DRMERR_BADVALUE;
        }
        polygon.assign(faceData.begin() + static_cast<std::ptrdiff_t>(at),
                       faceData.begin() + static_cast<std::ptrdiff_t>(at + corners));
        at += corners;
        for (std::uint32_t index : polygon) {
            if (index >= vertexCount) {
                return D3DRMERR_BADVALUE;
            }
        }
        AppendFan(polygon, made.triangles, made.edges);
    }
    made.positions.assign(vertexCount, Vec3{});
    made.normals.assign(vertexCount, Vec3{});
    made.uv.assign(static_cast<std::size_t>(vertexCount) * 2, 0.0f);
    made.colors.assign(vertexCount, 0);
    groups_.push_back(std::move(made));
    group = static_cast<GroupIndex>(groups_.size() - 1);
    return D3DRM_OK;
}

void Mesh::UpdateBounds(Group& group) {
    Vec3 low = group.positions.front();
    Vec3 high = low;
    for (const Vec3& p : group.positions) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    group.boundsCentre = (low + high) * 0.5f;
    float radius = 0;
    for (const Vec3& p : group.positions) {
        radius = std::max(radius, Length(p - group.boundsCentre));
    }
    // A group with a position that is not a number is never skipped as out of view.
    group.boundsRadius = std::isfinite(radius) ? radius * 1.0001f : -1.0f;
}

// The cone of the faces' normals, for skipping a group turned away from the camera. None
// (normalCos 0) when a face is thin or without area, or when the normals spread too far.
void Mesh::UpdateNormalCone(Group& group) {
    group.normalCos = 0;
    group.normalSin = 1;
    group.smallestHeight = 0;
    Vec3 sum;
    float smallestHeight = std::numeric_limits<float>::max();
    for (const auto& t : group.triangles) {
        const Vec3& p0 = group.positions[t[0]];
        const Vec3 e1 = group.positions[t[1]] - p0;
        const Vec3 e2 = group.positions[t[2]] - p0;
        const Vec3 normal = Cross(e1, e2);
        const float area2 = Length(normal);
        const float side1 = Length(e1);
        const float side2 = Length(e2);
        const float side3 = Length(e2 - e1);
        // A thin face's normal turns far with a small rounding of its corners.
        if (!std::isfinite(area2) || !(area2 > 1e-2f * side1 * side2)) {
            return;
        }
        smallestHeight = std::min(smallestHeight, area2 / std::max({side1, side2, side3}));
        sum = sum + normal * (1.0f / area2);
    }
    Vec3 axis = sum;
    if (!Normalize(axis)) {
        return;
    }
    float lowest = 1.0f;
    for (const auto& t : group.triangles) {
        const Vec3& p0 = group.positions[t[0]];
        Vec3 normal = Cross(group.positions[t[1]] - p0, group.positions[t[2]] - p0);
        Normalize(normal);
        lowest = std::min(lowest, Dot(axis, normal));
    }
    // Widened a little against the rounding of the sums above.
    const float cosine = lowest - 1e-4f;
    if (!(cosine > 0.1f)) {
        return;
    }
    group.normalAxis = axis;
    group.normalCos = cosine;
    group.normalSin = std::min(1.0f, std::sqrt(1.0f - cosine * cosine) + 1e-4f);
    group.smallestHeight = smallestHeight;
}

Result Mesh::SetVertices(GroupIndex group, unsigned index, std::span<const MeshVertex> values) {
    if (Result r = Check(faults_.get(), Op::SetVertices); r != DD_OK) {
        return r;
    }
    Group* g = Find(group);
    if (g == nullptr) {
        return D3DRMERR_NOTFOUND;
    }
    if (index > g->positions.size() || values.size() > g->positions.size() - index) {
        return D3DRMERR_BADVALUE;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t at = index + i;
        g->positions[at] = values[i].position;
        g->normals[at] = values[i].normal;
        g->uv[at * 2] = values[i].tu;
        g->uv[at * 2 + 1] = values[i].tv;
        g->colors[at] = values[i].color;
    }
    UpdateBounds(*g);
    UpdateNormalCone(*g);
    return D3DRM_OK;
}

Result Mesh::SetGroupQuality(GroupIndex group, Quality quality) {
    if (Result r = Check(faults_.get(), Op::SetGroupQuality); r != DD_OK) {
        return r;
    }
    Group* g = Find(group);
    if (g == nullptr) {
        return D3DRMERR_NOTFOUND;
    }
    if (!IsValidQuality(quality)) {
        return D3DRMERR_BADVALUE;
    }
    g->quality = quality;
    return D3DRM_OK;
}

Result Mesh::SetGroupTexture(GroupIndex group, std::shared_ptr<Texture> texture) {
    if (Result r = Check(faults_.get(), Op::SetGroupTexture); r != DD_OK) {
        return r;
    }
    Group* g = Find(group);
    if (g == nullptr) {
        return D3DRMERR_NOTFOUND;
    }
    g->texture = std::move(texture);
    return D3DRM_OK;
}

Result Mesh::SetGroupColorRGB(GroupIndex group, float red, float green, float blue) {
    if (Result r = Check(faults_.get(), Op::SetGroupColorRGB); r != DD_OK) {
        return r;
    }
    Group* g = Find(group);
    if (g == nullptr) {
        return D3DRMERR_NOTFOUND;
    }
    g->colour = {ClampUnit(red), ClampUnit(green), ClampUnit(blue)};
    return D3DRM_OK;
}

void Mesh::Draw(ScenePass& pass, const Transform& toCamera) const {
    for (const Group& g : groups_) {
        TriangleBatch batch;
        batch.positions = g.positions;
        batch.normals = g.normals;
        batch.triangles = g.triangles;
        batch.edges = g.edges;
        batch.vertexUv = g.uv;
        batch.texture = g.texture.get();
        batch.colour = g.colour;
        batch.quality = g.quality;
        batch.boundsCentre = g.boundsCentre;
        batch.boundsRadius = g.boundsRadius;
        batch.normalAxis = g.normalAxis;
        batch.normalCos = g.normalCos;
        batch.normalSin = g.normalSin;
        batch.smallestHeight = g.smallestHeight;
        pass.Draw(batch, toCamera);
    }
}

}  // namespace gfx::rm
