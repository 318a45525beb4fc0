// The shortcuts of the renderer against the long way round: groups skipped as turned away or
// out of view, texels fetched ahead for large textures and one-colour wire-frame sides must
// leave every pixel as drawing everything triangle by triangle does.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gfx_fixture.h"

using namespace gfx;
using namespace gfx::rm;

namespace {

constexpr Rgb kBlack{0, 0, 0};

// A sphere cut like the large map: rows x columns groups of 3 x 3 vertices, each group a fan
// of eight faces around its centre, turned clockwise as seen from outside.
struct SphereGroups {
    std::vector<std::array<MeshVertex, 9>> vertices;
    static constexpr std::array<unsigned, 24> kFaces = {0, 1, 4, 1, 2, 4, 2, 5, 4, 5, 8, 4,
                                                        8, 7, 4, 7, 6, 4, 6, 3, 4, 3, 0, 4};

    SphereGroups(int rows, int columns, float radius) {
        const float pi = 3.14159265f;
        for (int g = 0; g < rows; ++g) {
            for (int h = 0; h < columns; ++h) {
                std::array<MeshVertex, 9> group{};
                for (int i = 0; i < 3; ++i) {
                    for (int j = 0; j < 3; ++j) {
                        const float theta = pi * static_cast<float>(2 * g + i) / (2.0f * rows);
                        const float phi = 2 * pi * static_cast<float>(2 * h + j) / (2.0f * columns);
                        MeshVertex& v = group[3 * i + j];
                        v.position = {radius * std::sin(theta) * std::cos(phi),
                                      radius * std::cos(theta),
                                      radius * std::sin(theta) * std::sin(phi)};
                        v.tu = 0.5f * static_cast<float>(j);
                        v.tv = 0.5f * static_cast<float>(i);
                    }
                }
                vertices.push_back(group);
            }
        }
    }

    // Every group as a group of its own (each with its normal cone), or all faces in one
    // group whose normals point every way (no cone, so nothing is skipped as a whole).
    std::shared_ptr<Mesh> Build(RenderRig& rig, bool oneGroup,
                                const std::shared_ptr<Texture>& texture) const {
        std::shared_ptr<Mesh> mesh;
        EXPECT_EQ(rig.root->CreateMesh(mesh), D3DRM_OK);
        if (oneGroup) {
            std::vector<MeshVertex> all;
            std::vector<unsigned> faces;
            for (const auto& group : vertices) {
                const auto base = static_cast<unsigned>(all.size());
                all.insert(all.end(), group.begin(), group.end());
                for (unsigned index : kFaces) {
                    faces.push_back(base + index);
                }
            }
            GroupIndex group = -1;
            EXPECT_EQ(mesh->AddGroup(static_cast<unsigned>(all.size()),
                                     static_cast<unsigned>(faces.size() / 3), 3, faces, group),
                      D3DRM_OK);
            EXPECT_EQ(mesh->SetVertices(group, 0, all), D3DRM_OK);
            EXPECT_EQ(mesh->SetGroupTexture(group, texture), D3DRM_OK);
            return mesh;
        }
        for (const auto& corners : vertices) {
            GroupIndex group = -1;
            EXPECT_EQ(mesh->AddGroup(9, 8, 3, kFaces, group), D3DRM_OK);
            EXPECT_EQ(mesh->SetVertices(group, 0, corners), D3DRM_OK);
            EXPECT_EQ(mesh->SetGroupTexture(group, texture), D3DRM_OK);
        }
        return mesh;
    }
};

// A texture of side x side texels, each of a different colour.
std::shared_ptr<Texture> Speckled(RenderRig& rig, int side, std::shared_ptr<Surface>& image) {
    image = rig.MakeSurface(side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const auto value = static_cast<std::uint32_t>(x * 2654435761u + y * 40503u);
            rig.Fill(*image, {x, y, x + 1, y + 1},
                     Rgb{static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value),
                         static_cast<std::uint8_t>(value >> 16 | 1)});
        }
    }
    std::shared_ptr<Texture> texture;
    EXPECT_EQ(rig.root->CreateTextureFromSurface(image, texture), D3DRM_OK);
    return texture;
}

std::vector<Rgb> Picture(const RenderRig& rig) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < rig.backBuffer->Height(); ++y) {
        for (int x = 0; x < rig.backBuffer->Width(); ++x) {
            pixels.push_back(rig.At(x, y));
        }
    }
    return pixels;
}

// FNV-1a over the picture's channels.
std::uint64_t Fingerprint(const std::vector<Rgb>& pixels) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const Rgb& p : pixels) {
        for (std::uint8_t byte : {p.red, p.green, p.blue}) {
            hash = (hash ^ byte) * 1099511628211ull;
        }
    }
    return hash;
}

struct Turn {
    float distance;
    float dx, dy, dz;  // where the sphere's z axis points
    float ux, uy, uz;  // and its y axis
};

constexpr Turn kTurns[] = {
    {3.3f, 0, 0, 1, 0, 1, 0},
    {3.3f, 0.6f, -0.3f, 0.74f, 0.1f, 0.95f, 0.2f},
    {3.05f, -0.8f, 0.5f, 0.3f, 0.3f, 0.1f, 0.9f},
    {6.0f, 0.2f, 0.9f, -0.4f, 1, 0, 0.5f},
};

// Renders a sphere of groups in each turn, once group by group and once as one group, and
// returns the pictures of the first.
std::vector<std::vector<Rgb>> CompareGroupsWithOneGroup(Quality quality, int textureSide) {
    RenderRig groupsRig;
    RenderRig oneRig;
    EXPECT_EQ(groupsRig.device->SetQuality(quality), D3DRM_OK);
    EXPECT_EQ(oneRig.device->SetQuality(quality), D3DRM_OK);
    std::shared_ptr<Surface> groupsImage;
    std::shared_ptr<Surface> oneImage;
    const SphereGroups sphere(12, 24, 2.0f);
    const auto groups =
        sphere.Build(groupsRig, false, Speckled(groupsRig, textureSide, groupsImage));
    const auto one = sphere.Build(oneRig, true, Speckled(oneRig, textureSide, oneImage));
    EXPECT_EQ(groupsRig.object->AddVisual(groups), D3DRM_OK);
    EXPECT_EQ(oneRig.object->AddVisual(one), D3DRM_OK);
    std::vector<std::vector<Rgb>> pictures;
    for (const Turn& turn : kTurns) {
        for (RenderRig* rig : {&groupsRig, &oneRig}) {
            EXPECT_EQ(rig->object->SetPosition(rig->scene.get(), 0, 0, turn.distance), D3DRM_OK);
            EXPECT_EQ(rig->object->SetOrientation(rig->scene.get(), turn.dx, turn.dy, turn.dz,
                                                  turn.ux, turn.uy, turn.uz),
                      D3DRM_OK);
            rig->Render();
        }
        // Groups out of view or turned away never reach the rasteriser.
        EXPECT_LE(groupsRig.viewport->LastTriangles(), oneRig.viewport->LastTriangles());
        EXPECT_EQ(groupsRig.viewport->LastPixels(), oneRig.viewport->LastPixels());
        EXPECT_GT(groupsRig.viewport->LastPixels(), 0);
        const auto picture = Picture(groupsRig);
        EXPECT_TRUE(picture == Picture(oneRig)) << "turn at distance " << turn.distance;
        pictures.push_back(picture);
    }
    return pictures;
}

constexpr Quality kSolid = D3DRMFILL_SOLID | D3DRMSHADE_GOURAUD;
constexpr Quality kWire = D3DRMFILL_WIREFRAME | D3DRMSHADE_GOURAUD;

}  // namespace

// Small textures are copied pixel by pixel, large ones (here 200 x 200 texels) through
// texels fetched ahead; wire frame walks one-colour sides on their own path.
TEST(RenderPaths, SkippingGroupsTurnedAwayChangesNoPixel) {
    for (Quality quality : {kSolid, kWire}) {
        for (int side : {16, 200}) {
            SCOPED_TRACE(testing::Message() << "quality " << quality << ", texture " << side);
            CompareGroupsWithOneGroup(quality, side);
        }
    }
}

// The pictures as the renderer drew them before its shortcuts: any change of a pixel shows
// here.
TEST(RenderPaths, PicturesMatchTheirReference) {
    struct Case {
        Quality quality;
        int side;
        std::array<std::uint64_t, 4> fingerprints;
    };
    const Case cases[] = {
        {kSolid,
         16,
         {14732758398785970460ull, 3801757114527894978ull, 15615720063933104455ull,
          1348317488066423798ull}},
        {kSolid,
         200,
         {7334875568520977210ull, 4354563758478902309ull, 6456387680621016627ull,
          15831541723828660848ull}},
        {kWire,
         16,
         {13274481818186268035ull, 16221219817800962586ull, 6236567162827183589ull,
          13324724633205117464ull}},
        {kWire,
         200,
         {15471886729458778550ull, 8603318616880905268ull, 2310785137409818557ull,
          12142300509370391374ull}},
    };
    for (const Case& c : cases) {
        const auto pictures = CompareGroupsWithOneGroup(c.quality, c.side);
        ASSERT_EQ(pictures.size(), c.fingerprints.size());
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            EXPECT_EQ(Fingerprint(pictures[i]), c.fingerprints[i])
                << "quality " << c.quality << ", texture " << c.side << ", turn " << i;
        }
    }
}

// A group whose bounding sphere lies just beyond the left edge of the view is skipped; moved
// a little so that it reaches into the view, it is drawn in the first column.
TEST(RenderPaths, AGroupJustOutsideTheViewIsSkippedAndOneTouchingItIsDrawn) {
    RenderRig rig;  // 160 x 120: the left edge of the view lies at x = -80 / 120 * z
    std::shared_ptr<Mesh> mesh;
    ASSERT_EQ(rig.root->CreateMesh(mesh), D3DRM_OK);
    ASSERT_EQ(rig.object->AddVisual(mesh), D3DRM_OK);
    const unsigned face[] = {0, 1, 2, 0, 2, 3};
    GroupIndex group = -1;
    ASSERT_EQ(mesh->AddGroup(4, 2, 3, face, group), D3DRM_OK);
    const auto place = [&](float right) {
        MeshVertex corners[4];
        corners[0].position = {right - 0.5f, 0.25f, 12};
        corners[1].position = {right, 0.25f, 12};
        corners[2].position = {right, -0.25f, 12};
        corners[3].position = {right - 0.5f, -0.25f, 12};
        ASSERT_EQ(mesh->SetVertices(group, 0, corners), D3DRM_OK);
    };
    // The edge is at x = -8 at z = 12; the corners lie within 0.28 of the square's centre.
    place(-8.3f);
    rig.Render();
    EXPECT_EQ(rig.viewport->LastTriangles(), 0);
    EXPECT_EQ(rig.viewport->LastPixels(), 0);

    place(-7.9f);
    rig.Render();
    EXPECT_EQ(rig.viewport->LastTriangles(), 2);
    EXPECT_GT(rig.viewport->LastPixels(), 0);
    EXPECT_NE(rig.At(0, 60), kBlack);
    EXPECT_EQ(rig.At(2, 60), kBlack);
}

// Groups seen nearly edge on, facing the camera or turned away by a hair: a group is drawn
// exactly when its face is.
TEST(RenderPaths, AGroupIsSkippedAsTurnedAwayOnlyWhenItsFaceIs) {
    RenderRig rig;
    std::shared_ptr<Mesh> mesh;
    ASSERT_EQ(rig.root->CreateMesh(mesh), D3DRM_OK);
    ASSERT_EQ(rig.object->AddVisual(mesh), D3DRM_OK);
    const unsigned face[] = {0, 1, 2};
    GroupIndex group = -1;
    ASSERT_EQ(mesh->AddGroup(3, 1, 3, face, group), D3DRM_OK);
    int drawn = 0;
    for (const float tip : {-0.02f, -0.002f, -1e-5f, 0.0f, 1e-5f, 0.002f, 0.02f}) {
        // A triangle in a plane through the eye (tip 0), or tipped out of it so that its
        // front is towards the camera (tip above 0) or away from it.
        MeshVertex corners[3];
        corners[0].position = {-1, 1, 4};
        corners[1].position = {0, 1.5f + tip, 6};
        corners[2].position = {1, 1, 4};
        ASSERT_EQ(mesh->SetVertices(group, 0, corners), D3DRM_OK);
        rig.Render();
        // The camera is at the origin of the object's frame: camera space is object space.
        const Vec3 a = corners[0].position;
        const Vec3 n = Cross(corners[1].position - a, corners[2].position - a);
        const bool facing = Dot(n, a) < 0.0f;
        drawn += facing ? 1 : 0;
        EXPECT_EQ(rig.viewport->LastTriangles(), facing ? 1 : 0) << "tip " << tip;
    }
    EXPECT_GT(drawn, 0);
    EXPECT_LT(drawn, 7);
}
