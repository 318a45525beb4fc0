#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gfx_fixture.h"
#include "platform/gfx/sphere_mesh.h"

using namespace gfx;
using namespace gfx::rm;

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kWhite{255, 255, 255};

MeshVertex At(float x, float y, float z, float u = 0, float v = 0) {
    MeshVertex vertex;
    vertex.position = {x, y, z};
    vertex.tu = u;
    vertex.tv = v;
    return vertex;
}

// Adds one polygon as a group of a mesh shown by the rig's object frame.
GroupIndex AddPolygon(RenderRig& rig, std::shared_ptr<Mesh>& mesh,
                      const std::vector<MeshVertex>& corners) {
    if (!mesh) {
        EXPECT_EQ(rig.root->CreateMesh(mesh), D3DRM_OK);
        EXPECT_EQ(rig.object->AddVisual(mesh), D3DRM_OK);
    }
    std::vector<unsigned> face;
    for (unsigned i = 0; i < corners.size(); ++i) {
        face.push_back(i);
    }
    GroupIndex group = -1;
    EXPECT_EQ(mesh->AddGroup(static_cast<unsigned>(corners.size()), 1,
                             static_cast<unsigned>(corners.size()), face, group),
              D3DRM_OK);
    EXPECT_EQ(mesh->SetVertices(group, 0, corners), D3DRM_OK);
    return group;
}

// Corners turned clockwise as the camera at the origin sees them.
std::vector<MeshVertex> FacingCamera(MeshVertex a, MeshVertex b, MeshVertex c) {
    if (!(Dot(Cross(b.position - a.position, c.position - a.position), a.position) < 0.0f)) {
        std::swap(b, c);
    }
    return {a, b, c};
}

std::set<std::pair<int, int>> Lit(const RenderRig& rig) {
    std::set<std::pair<int, int>> lit;
    for (int y = 0; y < rig.backBuffer->Height(); ++y) {
        for (int x = 0; x < rig.backBuffer->Width(); ++x) {
            if (rig.At(x, y) != kBlack) {
                lit.insert({x, y});
            }
        }
    }
    return lit;
}

std::shared_ptr<Texture> Quadrants(RenderRig& rig, std::shared_ptr<Surface>& image) {
    image = rig.MakeSurface(2, 2);
    rig.Fill(*image, {0, 0, 1, 1}, kRed);
    rig.Fill(*image, {1, 0, 2, 1}, kGreen);
    rig.Fill(*image, {0, 1, 1, 2}, kBlue);
    rig.Fill(*image, {1, 1, 2, 2}, kWhite);
    std::shared_ptr<Texture> texture;
    EXPECT_EQ(rig.root->CreateTextureFromSurface(image, texture), D3DRM_OK);
    return texture;
}

class FormatTest : public ::testing::TestWithParam<int> {};

}  // namespace

// At z = 5 with the default field of 0.5, a unit is 120 / 5 = 24 pixels of the 160 x 120
// viewport: the square from -1 to 1 covers pixels 56..103 and 36..83.
TEST_P(FormatTest, ATexturedSquareShowsItsTextureCornersWhereTheyBelong) {
    RenderRig rig(PixelFormat::ForBitCount(GetParam()));
    std::shared_ptr<Surface> image;
    auto texture = Quadrants(rig, image);
    std::shared_ptr<Mesh> mesh;
    const GroupIndex group = AddPolygon(
        rig, mesh,
        {At(-1, 1, 5, 0, 0), At(1, 1, 5, 1, 0), At(1, -1, 5, 1, 1), At(-1, -1, 5, 0, 1)});
    ASSERT_EQ(mesh->SetGroupTexture(group, texture), D3DRM_OK);
    rig.Render();
    EXPECT_EQ(rig.At(60, 40), kRed);
    EXPECT_EQ(rig.At(100, 40), kGreen);
    EXPECT_EQ(rig.At(60, 80), kBlue);
    EXPECT_EQ(rig.At(100, 80), kWhite);
    EXPECT_EQ(rig.At(56, 36), kRed);
    EXPECT_EQ(rig.At(103, 83), kWhite);
    EXPECT_EQ(rig.At(55, 60), kBlack);
    EXPECT_EQ(rig.At(104, 60), kBlack);
    EXPECT_EQ(rig.At(80, 35), kBlack);
    EXPECT_EQ(rig.At(80, 84), kBlack);

    // The texture shows the surface as it is at the next render.
    rig.Fill(*image, {0, 0, 1, 1}, kBlue);
    rig.Render();
    EXPECT_EQ(rig.At(60, 40), kBlue);

    // A colour other than white tints the texels.
    ASSERT_EQ(mesh->SetGroupColorRGB(group, 1.0f, 0.0f, 1.0f), D3DRM_OK);
    rig.Render();
    EXPECT_EQ(rig.At(100, 80), (Rgb{255, 0, 255}));
    EXPECT_EQ(rig.At(100, 40), kBlack);
}

INSTANTIATE_TEST_SUITE_P(Bits, FormatTest, ::testing::Values(16, 24, 32));

TEST(Render, PerspectiveCorrectTexturingOnASlantedSquare) {
    RenderRig rig;
    std::shared_ptr<Surface> image;
    auto texture = Quadrants(rig, image);
    std::shared_ptr<Mesh> mesh;
    // The right edge is four times as far as the left: the texture's middle column lies much
    // nearer the right edge on the screen than halfway.
    const GroupIndex group = AddPolygon(
        rig, mesh,
        {At(-1, 1, 2, 0, 0), At(1, 1, 8, 1, 0), At(1, -1, 8, 1, 1), At(-1, -1, 2, 0, 1)});
    ASSERT_EQ(mesh->SetGroupTexture(group, texture), D3DRM_OK);
    rig.Render();
    // The left edge is at x = 80 - 120 / 2 = 20, the right one at 80 + 120 / 8 = 95; affine
    // interpolation would put u = 0.5 halfway, near 57.
    int boundary = -1;
    for (int x = 20; x < 96; ++x) {
        if (rig.At(x, 60) == kWhite) {
            boundary = x;
            break;
        }
    }
    // Correctly, u = 0.5 at the world point (0, y, 5), seen at x = 80.
    EXPECT_NEAR(boundary, 80, 1);
}

TEST(Render, ANearerTriangleHidesAFartherOneWhicheverIsDrawnFirst) {
    for (bool nearFirst : {true, false}) {
        RenderRig rig;
        std::shared_ptr<Mesh> mesh;
        const auto add = [&](float z, Rgb colour) {
            const GroupIndex group =
                AddPolygon(rig, mesh, FacingCamera(At(-2, -1, z), At(0, 2, z), At(2, -1, z)));
            EXPECT_EQ(mesh->SetGroupColorRGB(group, colour.red / 255.0f, colour.green / 255.0f,
                                             colour.blue / 255.0f),
                      D3DRM_OK);
        };
        if (nearFirst) {
            add(4, kRed);
            add(6, kBlue);
        } else {
            add(6, kBlue);
            add(4, kRed);
        }
        rig.Render();
        EXPECT_EQ(rig.At(80, 60), kRed) << "near first " << nearFirst;
        // Where only the far one reaches (it is smaller on screen, so test inside both).
        EXPECT_EQ(rig.At(80, 45), kRed);
    }
}

TEST(Render, ATriangleCrossingTheFrontPlaneIsClippedNotWrapped) {
    RenderRig rig;
    std::shared_ptr<Mesh> mesh;
    // A floor below the camera reaching from z = 3 to behind it. Seen in front of the camera
    // it covers the bottom rows only (z = 3 is row 60 + 120 / 3 = 100); without clipping the
    // corner behind the camera would project into the upper half.
    AddPolygon(rig, mesh, FacingCamera(At(-1, -1, 3), At(1, -1, 3), At(0, -1, -3)));
    rig.Render();
    const auto lit = Lit(rig);
    ASSERT_FALSE(lit.empty());
    for (const auto& [x, y] : lit) {
        ASSERT_GE(y, 99) << x;
    }
    EXPECT_TRUE(lit.count({80, 119}));
    EXPECT_TRUE(lit.count({80, 101}));

    // Wholly behind the camera, or beyond the back plane: nothing.
    RenderRig behind;
    std::shared_ptr<Mesh> hidden;
    AddPolygon(behind, hidden, FacingCamera(At(-1, -1, -3), At(1, -1, -3), At(0, 1, -3)));
    AddPolygon(behind, hidden, FacingCamera(At(-1, -1, 300), At(1, -1, 300), At(0, 1, 300)));
    behind.Render();
    EXPECT_TRUE(Lit(behind).empty());
}

TEST(Render, SharedEdgesAreCoveredOnceWithoutGaps) {
    // Pixel-exact square at z = 4 (30 pixels per unit): pixels 50..109 by 30..89.
    const MeshVertex tl = At(-1, 1, 4);
    const MeshVertex tr = At(1, 1, 4);
    const MeshVertex br = At(1, -1, 4);
    const MeshVertex bl = At(-1, -1, 4);
    std::set<std::pair<int, int>> halves[2];
    for (int half = 0; half < 2; ++half) {
        RenderRig rig;
        std::shared_ptr<Mesh> mesh;
        AddPolygon(rig, mesh, half == 0 ? std::vector{tl, tr, br} : std::vector{tl, br, bl});
        rig.Render();
        halves[half] = Lit(rig);
    }
    std::set<std::pair<int, int>> both;
    for (const auto& pixel : halves[0]) {
        EXPECT_EQ(halves[1].count(pixel), 0u) << pixel.first << "," << pixel.second;
        both.insert(pixel);
    }
    both.insert(halves[1].begin(), halves[1].end());
    EXPECT_EQ(both.size(), 3600u);
    EXPECT_EQ(*both.begin(), (std::pair{50, 30}));
    EXPECT_EQ(*both.rbegin(), (std::pair{109, 89}));
}

TEST(Render, WireFrameDrawsPolygonEdgesOnly) {
    RenderRig rig;
    ASSERT_EQ(rig.device->SetQuality(D3DRMFILL_WIREFRAME | D3DRMSHADE_GOURAUD), D3DRM_OK);
    std::shared_ptr<Mesh> mesh;
    AddPolygon(rig, mesh, {At(-1, 1, 4), At(1, 1, 4), At(1, -1, 4), At(-1, -1, 4)});
    rig.Render();
    // The sides lie on pixel boundaries (x 50 and 110, y 30 and 90): either neighbour may
    // carry the line.
    const auto onLine = [&](int x0, int y0, int x1, int y1) {
        return rig.At(x0, y0) == kWhite || rig.At(x1, y1) == kWhite;
    };
    EXPECT_TRUE(onLine(80, 29, 80, 30));    // top edge
    EXPECT_TRUE(onLine(109, 60, 110, 60));  // right edge
    EXPECT_TRUE(onLine(49, 60, 50, 60));    // left edge
    EXPECT_TRUE(onLine(80, 89, 80, 90));    // bottom edge
    EXPECT_EQ(rig.At(80, 60), kBlack);      // inside, on the fan's diagonal
    EXPECT_EQ(rig.At(70, 45), kBlack);
    EXPECT_LT(Lit(rig).size(), 4u * 62u);

    // A group asking for wire frame gets it on a solid device too; the device's wire frame
    // wins over a solid group.
    RenderRig solid;
    std::shared_ptr<Mesh> wired;
    const GroupIndex group =
        AddPolygon(solid, wired, {At(-1, 1, 4), At(1, 1, 4), At(1, -1, 4), At(-1, -1, 4)});
    ASSERT_EQ(wired->SetGroupQuality(group, D3DRMFILL_WIREFRAME), D3DRM_OK);
    solid.Render();
    EXPECT_EQ(solid.At(80, 60), kBlack);
    EXPECT_TRUE(solid.At(80, 29) == kWhite || solid.At(80, 30) == kWhite);
}

TEST(Render, DrawingStaysInsideTheViewport) {
    RenderRig rig(PixelFormat::Xrgb8888(), 160, 120, Rect{40, 30, 120, 90});
    rig.Fill(*rig.backBuffer, {0, 0, 160, 120}, kGreen);
    std::shared_ptr<Mesh> mesh;
    AddPolygon(rig, mesh, FacingCamera(At(-50, -50, 2), At(0, 50, 2), At(50, -50, 2)));
    rig.Render();
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            const bool inside = x >= 40 && x < 120 && y >= 30 && y < 90;
            ASSERT_EQ(rig.At(x, y), inside ? kWhite : kGreen) << x << "," << y;
        }
    }
}

TEST(Render, GouraudShadingBlendsVertexLightingAndFlatShadingDoesNot) {
    RenderRig rig;
    ASSERT_EQ(rig.device->SetQuality(D3DRMFILL_SOLID | D3DRMSHADE_GOURAUD | D3DRMLIGHT_ON),
              D3DRM_OK);
    std::shared_ptr<Frame> lamp;
    ASSERT_EQ(rig.root->CreateFrame(rig.scene, lamp), D3DRM_OK);
    std::shared_ptr<Light> light;
    ASSERT_EQ(rig.root->CreateLightRGB(LightType::Directional, 1, 1, 1, light), D3DRM_OK);
    ASSERT_EQ(lamp->AddLight(light), D3DRM_OK);  // shines along +z, onto faces facing -z

    std::shared_ptr<Mesh> mesh;
    std::vector<MeshVertex> corners = {At(-1, 1, 4), At(1, 1, 4), At(1, -1, 4), At(-1, -1, 4)};
    corners[0].normal = {0, 0, -1};
    corners[1].normal = {1, 0, -1};
    corners[2].normal = {1, 0, -1};
    corners[3].normal = {0, 0, -1};
    const GroupIndex group = AddPolygon(rig, mesh, corners);
    rig.Render();
    const Rgb left = rig.At(52, 60);
    const Rgb right = rig.At(107, 60);
    EXPECT_GT(left.red, 245);
    EXPECT_LT(right.red, 190);
    EXPECT_GT(right.red, 170);  // cos 45 degrees of white

    ASSERT_EQ(mesh->SetGroupQuality(group, D3DRMFILL_SOLID | D3DRMSHADE_FLAT | D3DRMLIGHT_ON),
              D3DRM_OK);
    rig.Render();
    EXPECT_EQ(rig.At(52, 60), kWhite);
    EXPECT_EQ(rig.At(107, 60), kWhite);

    // Without lights a lit face is black; with lighting off at the device it has its colour.
    ASSERT_EQ(lamp->AddLight(nullptr), D3DRMERR_BADOBJECT);
    RenderRig dark;
    ASSERT_EQ(dark.device->SetQuality(D3DRMFILL_SOLID | D3DRMLIGHT_ON), D3DRM_OK);
    std::shared_ptr<Mesh> unlit;
    AddPolygon(dark, unlit, {At(-1, 1, 4), At(1, 1, 4), At(1, -1, 4), At(-1, -1, 4)});
    dark.Render();
    EXPECT_TRUE(Lit(dark).empty());
    ASSERT_EQ(dark.device->SetQuality(D3DRMFILL_SOLID | D3DRMLIGHT_OFF), D3DRM_OK);
    dark.Render();
    EXPECT_EQ(dark.At(80, 60), kWhite);
    EXPECT_EQ(dark.device->SetQuality(3), D3DRMERR_BADVALUE);
}

TEST(Render, TheGlobeTurnsByItsRotationOncePerMove) {
    RenderRig rig;
    // Four bands of longitude: u 0..0.25 red, then green, blue, white.
    std::shared_ptr<Surface> image = rig.MakeSurface(8, 4);
    rig.Fill(*image, {0, 0, 2, 4}, kRed);
    rig.Fill(*image, {2, 0, 4, 4}, kGreen);
    rig.Fill(*image, {4, 0, 6, 4}, kBlue);
    rig.Fill(*image, {6, 0, 8, 4}, kWhite);
    std::shared_ptr<Texture> texture;
    ASSERT_EQ(rig.root->CreateTextureFromSurface(image, texture), D3DRM_OK);

    std::shared_ptr<MeshBuilder> builder;
    ASSERT_EQ(rig.root->CreateMeshBuilder(builder), D3DRM_OK);
    const std::string sphere = SphereMeshText(24, 48);
    ASSERT_EQ(builder->LoadFromMemory(
                  std::span(reinterpret_cast<const std::uint8_t*>(sphere.data()), sphere.size())),
              D3DRM_OK);
    ASSERT_EQ(builder->SetColorRGB(1, 1, 1), D3DRM_OK);
    ASSERT_EQ(builder->SetTexture(texture), D3DRM_OK);
    ASSERT_EQ(builder->SetPerspective(true), D3DRM_OK);
    std::shared_ptr<Wrap> wrap;
    ASSERT_EQ(rig.root->CreateWrap(WrapType::Sphere, rig.scene.get(), 0, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                                   0, 1, 1, wrap),
              D3DRM_OK);
    ASSERT_EQ(wrap->Apply(builder.get()), D3DRM_OK);
    ASSERT_EQ(rig.object->SetPosition(rig.scene.get(), 0, 0, 3), D3DRM_OK);
    ASSERT_EQ(rig.object->AddVisual(builder), D3DRM_OK);

    // The globe's radius is about 120 / 3 = 40 pixels. The meridian u = 0.5 faces the camera,
    // u grows to the right.
    rig.Render();
    EXPECT_EQ(rig.At(95, 60), kBlue);
    EXPECT_EQ(rig.At(65, 60), kGreen);
    EXPECT_EQ(rig.At(80, 15), kBlack);  // above the sphere's top at row 20

    ASSERT_EQ(rig.object->SetRotation(rig.object.get(), 0, 1, 0, 0.1f), D3DRM_OK);
    for (int pass = 0; pass < 16; ++pass) {
        ASSERT_EQ(rig.scene->Move(1.0f), D3DRM_OK);
    }
    rig.Render();
    // 1.6 radians on: the meridian u = 0.75 has come to the front.
    EXPECT_EQ(rig.At(95, 60), kWhite);
    EXPECT_EQ(rig.At(65, 60), kBlue);
}

TEST(Render, PlannedFailuresOfClearAndRenderDrawNothing) {
    RenderRig rig;
    std::shared_ptr<Mesh> mesh;
    AddPolygon(rig, mesh, {At(-1, 1, 4), At(1, 1, 4), At(1, -1, 4), At(-1, -1, 4)});
    rig.faults->FailCall("Render", rig.faults->Calls("Render") + 1, D3DRMERR_BADDEVICE);
    ASSERT_EQ(rig.viewport->Clear(), D3DRM_OK);
    EXPECT_EQ(rig.viewport->Render(rig.scene.get()), D3DRMERR_BADDEVICE);
    EXPECT_TRUE(Lit(rig).empty());
    EXPECT_EQ(rig.viewport->Render(rig.scene.get()), D3DRM_OK);
    EXPECT_FALSE(Lit(rig).empty());
    rig.faults->FailCall("Clear", rig.faults->Calls("Clear") + 1, DDERR_SURFACELOST);
    EXPECT_EQ(rig.viewport->Clear(), DDERR_SURFACELOST);
    EXPECT_FALSE(Lit(rig).empty());
}

TEST(Render, ViewportsAndMeshGroupsRefuseBadValues) {
    RenderRig rig;
    std::shared_ptr<Viewport> viewport;
    EXPECT_EQ(rig.root->CreateViewport(rig.device, rig.camera, 100, 0, 61, 10, viewport),
              D3DRMERR_BADVALUE);
    EXPECT_EQ(rig.root->CreateViewport(rig.device, nullptr, 0, 0, 10, 10, viewport),
              D3DRMERR_BADOBJECT);
    EXPECT_EQ(rig.viewport->SetBack(0.5f), D3DRMERR_BADVALUE);
    EXPECT_EQ(rig.viewport->SetBack(500.0f), D3DRM_OK);
    EXPECT_EQ(rig.viewport->SetFront(0.0f), D3DRMERR_BADVALUE);
    EXPECT_EQ(rig.viewport->SetField(-1.0f), D3DRMERR_BADVALUE);

    std::shared_ptr<Mesh> mesh;
    ASSERT_EQ(rig.root->CreateMesh(mesh), D3DRM_OK);
    const unsigned fan[] = {0, 1, 4, 1, 2, 4, 2, 5, 4, 5, 8, 4, 8, 7, 4, 7, 6, 4, 6, 3, 4, 3, 0, 4};
    GroupIndex group = -1;
    for (GroupIndex expected = 0; expected < 3; ++expected) {
        ASSERT_EQ(mesh->AddGroup(9, 8, 3, fan, group), D3DRM_OK);
        EXPECT_EQ(group, expected);
    }
    const unsigned outOfRange[] = {0, 1, 9};
    EXPECT_EQ(mesh->AddGroup(9, 1, 3, outOfRange, group), D3DRMERR_BADVALUE);
    EXPECT_EQ(mesh->AddGroup(9, 9, 3, fan, group), D3DRMERR_BADVALUE);  // short face list
    const unsigned counted[] = {3, 0, 1, 2, 4, 0, 2, 3, 1};
    EXPECT_EQ(mesh->AddGroup(4, 2, 0, counted, group), D3DRM_OK);
    EXPECT_EQ(mesh->GroupCount(), 4);
    std::vector<MeshVertex> ten(10);
    EXPECT_EQ(mesh->SetVertices(0, 0, ten), D3DRMERR_BADVALUE);
    EXPECT_EQ(mesh->SetVertices(7, 0, std::span(ten).first(1)), D3DRMERR_NOTFOUND);
    EXPECT_EQ(mesh->SetGroupQuality(0, 136), D3DRM_OK);
    EXPECT_EQ(mesh->GroupQuality(0), 136u);
    EXPECT_EQ(mesh->SetGroupQuality(0, 1000), D3DRMERR_BADVALUE);
}
