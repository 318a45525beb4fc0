// A mesh: groups of vertices and faces, each group with its own quality, colour and texture.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gfx/result.h"
#include "platform/gfx/rm/frame.h"
#include "platform/gfx/rm/types.h"

namespace gfx::rm {

class Texture;

// A vertex as SetVertices takes it: position, normal, texture co-ordinates and colour.
struct MeshVertex {
    Vec3 position;
    Vec3 normal;
    float tu = 0;
    float tv = 0;
    std::uint32_t color = 0;  // kept, not drawn: a group takes its colour from SetGroupColorRGB
};

using GroupIndex = std::int32_t;

class Mesh final : public Visual {
public:
    explicit Mesh(std::shared_ptr<FaultPlan> faults) : faults_(std::move(faults)) {}

    // Adds a group of vertexCount vertices (positions at the origin until SetVertices) and
    // faceCount faces. With verticesPerFace of 3 or more, faceData holds faceCount *
    // verticesPerFace vertex numbers; with 0, each face is its vertex count followed by its
    // vertex numbers. Polygons are drawn as fans around their first vertex. The new group's
    // number (0, 1, 2, ... in creation order) goes to group. D3DRMERR_BADVALUE for counts of
    // 0, short face data or a vertex number not below vertexCount.
    Result AddGroup(unsigned vertexCount, unsigned faceCount, unsigned verticesPerFace,
                    std::span<const unsigned> faceData, GroupIndex& group);
    // Sets vertices index .. index + values.size() - 1 of a group.
    Result SetVertices(GroupIndex group, unsigned index, std::span<const MeshVertex> values);
    Result SetGroupQuality(GroupIndex group, Quality quality);
    // Null removes the texture.
    Result SetGroupTexture(GroupIndex group, std::shared_ptr<Texture> texture);
    Result SetGroupColorRGB(GroupIndex group, float red, float green, float blue);

    int GroupCount() const { return static_cast<int>(groups_.size()); }
    Quality GroupQuality(GroupIndex group) const;
    const Texture* GroupTexture(GroupIndex group) const;

    void Draw(ScenePass& pass, const Transform& toCamera) const override;

private:
    struct Group {
        std::vector<Vec3> positions;
        std::vector<Vec3> normals;
        std::vector<float> uv;
        std::vector<std::uint32_t> colors;
        std::vector<std::array<std::uint32_t, 3>> triangles;
        std::vector<std::uint8_t> edges;
        Quality quality = D3DRMRENDER_GOURAUD;
        ColorF colour;
        std::shared_ptr<Texture> texture;
        Vec3 boundsCentre;
        float boundsRadius = 0;
        Vec3 normalAxis;  // see TriangleBatch
        float normalCos = 0;
        float normalSin = 1;
        float smallestHeight = 0;
    };

    Group* Find(GroupIndex group);
    static void UpdateBounds(Group& group);
    static void UpdateNormalCone(Group& group);

    std::shared_ptr<FaultPlan> faults_;
    std::vector<Group> groups_;
};

// Splits a polygon of count corners (first at data[0]) into a fan of triangles, appending
// them and their polygon-edge bits (see TriangleBatch::edges).
void AppendFan(std::span<const std::uint32_t> polygon,
               std::vector<std::array<std::uint32_t, 3>>& triangles,
               std::vector<std::uint8_t>& edges);

}  // namespace gfx::rm
