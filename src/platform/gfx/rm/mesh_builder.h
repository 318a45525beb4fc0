// A mesh builder: a mesh loaded from a file, with one colour, texture and perspective flag,
// and the texture wraps that give its vertices texture co-ordinates.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/result.h"
#include "platform/gfx/rm/frame.h"
#include "platform/gfx/rm/types.h"

namespace gfx {
struct XMeshData;
}

namespace gfx::rm {

class Texture;

class MeshBuilder final : public Visual {
public:
    explicit MeshBuilder(std::shared_ptr<FaultPlan> faults) : faults_(std::move(faults)) {}

    // Replaces the builder's mesh with the first mesh of a text mesh file:
    // D3DRMERR_FILENOTFOUND when the file cannot be opened, D3DRMERR_BADFILE when it is not a
    // well-formed mesh file, D3DRMERR_NOTFOUND when it holds no mesh.
    Result Load(const std::string& path);
    // The same from bytes in memory.
    Result LoadFromMemory(std::span<const std::uint8_t> bytes);
    // Colour of every face; channels are clamped to 0..1.
    Result SetColorRGB(float red, float green, float blue);
    // Null removes the texture.
    Result SetTexture(std::shared_ptr<Texture> texture);
    // Perspective-correct texture co-ordinates when on (the default is off).
    Result SetPerspective(bool perspective);
    Result SetQuality(Quality quality);

    int VertexCount() const { return static_cast<int>(positions_.size()); }
    int FaceCount() const { return faceCount_; }
    // D3DRMERR_BADVALUE for a vertex number out of range.
    Result GetTextureCoordinates(unsigned index, float& u, float& v) const;
    const std::vector<Vec3>& Positions() const { return positions_; }

    void Draw(ScenePass& pass, const Transform& toCamera) const override;

private:
    friend class Wrap;
    void Take(const XMeshData& data);

    std::shared_ptr<FaultPlan> faults_;
    std::vector<Vec3> positions_;
    std::vector<Vec3> normals_;
    std::vector<float> vertexUv_;
    std::vector<std::array<std::uint32_t, 3>> triangles_;
    std::vector<std::uint8_t> edges_;
    std::vector<float> cornerUv_;
    int faceCount_ = 0;
    bool wrapU_ = false;
    ColorF colour_;
    std::shared_ptr<Texture> texture_;
    bool perspective_ = false;
    Quality quality_ = D3DRMRENDER_GOURAUD;
    Vec3 boundsCentre_;
    float boundsRadius_ = -1;
};

// Gives a mesh builder's vertices texture co-ordinates from their positions. The wrap has
// an origin o, a direction d and an up vector (made square to d); its x axis is up x d. For
// a vertex p, with a, b, c the co-ordinates of p - o along x, up and d:
// - flat:      u = ou + su * a,                          v = ov - sv * b
// - cylinder:  u = ou + su * angle(a, b) / 2pi,          v = ov + sv * c
// - sphere:    u = ou + su * angle(a, b) / 2pi,          v = ov + sv * acos(c / |p - o|) / pi
// where angle(a, b) in [0, 2pi) is measured from the up vector turning towards the x axis.
// A sphere wrap thus puts v = 0 at the end the direction points to and u = 0 on the
// meridian facing the up vector. For the two round wraps, a face that straddles the u seam
// takes u values continuing past 1 (drawn repeating), and a vertex on the sphere's axis
// takes the mean u of its face's other corners.
class Wrap {
public:
    struct Axes {
        Vec3 origin;
        Vec3 direction;
        Vec3 up;
    };

    Wrap(std::shared_ptr<FaultPlan> faults, WrapType type, const Axes& axes, float originU,
         float originV, float scaleU, float scaleV);

    // D3DRMERR_BADOBJECT for a null builder.
    Result Apply(MeshBuilder* builder) const;

    WrapType Type() const { return type_; }

private:
    std::shared_ptr<FaultPlan> faults_;
    WrapType type_;
    Vec3 origin_;
    Vec3 x_;
    Vec3 up_;
    Vec3 direction_;
    float originU_;
    float originV_;
    float scaleU_;
    float scaleV_;
};

}  // namespace gfx::rm
