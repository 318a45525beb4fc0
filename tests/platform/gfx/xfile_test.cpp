#include "platform/gfx/xfile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "platform/gfx/sphere_mesh.h"
#include "support/temp_dir.h"

using namespace gfx;

namespace {

Result Parse(const std::string& text, XMeshData& mesh) {
    return ParseXFile(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                      mesh);
}

const char kQuad[] = R"(xof 0302txt 0032
template Vector {
 <3D82AB5E-62DA-11cf-AB39-0020AF71E433>
 FLOAT x; FLOAT y; FLOAT z;
}
# a comment
Header { 1; 0; 1; }
Frame Root {
  FrameTransformMatrix { 1.0,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
  Mesh Quad {
    4;
    -1.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;-1.0;0.0;, -1.0;-1.0;0.0;;
    1;
    4;0,1,2,3;;
    MeshMaterialList { 1; 1; 0;; Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }
    MeshNormals { 1; 0.0;0.0;-1.0;; 1; 4;0,0,0,0;; }
    MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;; }
  }
}
)";

}  // namespace

TEST(XFile, ReadsTheFirstMeshWithNormalsAndTextureCoordinates) {
    XMeshData mesh;
    ASSERT_EQ(Parse(kQuad, mesh), D3DRM_OK);
    ASSERT_EQ(mesh.positions.size(), 4u);
    EXPECT_EQ(mesh.positions[2], (std::array<float, 3>{1.0f, -1.0f, 0.0f}));
    EXPECT_EQ(mesh.faceSizes, (std::vector<std::uint32_t>{4}));
    EXPECT_EQ(mesh.faceVertices, (std::vector<std::uint32_t>{0, 1, 2, 3}));
    ASSERT_EQ(mesh.normals.size(), 4u);
    EXPECT_EQ(mesh.normals[3], (std::array<float, 3>{0.0f, 0.0f, -1.0f}));
    ASSERT_EQ(mesh.texCoords.size(), 4u);
    EXPECT_EQ(mesh.texCoords[2], (std::array<float, 2>{1.0f, 1.0f}));
}

TEST(XFile, RefusesDamagedOrForeignFiles) {
    const std::string good(kQuad);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string bad[] = {
        replaced("4;0,1,2,3;;", "4;0,1,2,4;;"),        // vertex number out of range
        replaced("4;0,1,2,3;;", "2;0,1;;"),            // a face of two corners
        replaced("    4;\n", "    4000000000;\n"),     // more vertices than the file holds
        replaced("1; 4;0,0,0,0;;", "1; 4;0,0,0,1;;"),  // normal number out of range
        replaced("MeshTextureCoords { 4;", "MeshTextureCoords { 3;"),
        replaced("-1.0;1.0;0.0;,", "-1.0;nan;0.0;,"),
        replaced("xof 0302txt 0032", "xof 0302bin 0032"),
        good.substr(0, good.find("MeshNormals")),  // cut off inside the mesh
        good.substr(0, 10),
        "xof 0302txt 0032\nMesh { 1; 0;0;0;; 1; 3;0,0,0;; ",  // no closing brace
        "xof 0302txt 0032\n}",
        "xof 0302txt 0032\nMesh <unterminated",
    };
    for (const std::string& text : bad) {
        XMeshData mesh;
        EXPECT_EQ(Parse(text, mesh), D3DRMERR_BADFILE) << text;
        EXPECT_TRUE(mesh.positions.empty());
    }
    XMeshData mesh;
    EXPECT_EQ(Parse("xof 0302txt 0032\nHeader { 1; 0; 1; }\n", mesh), D3DRMERR_NOTFOUND);
}

TEST(XFile, DeepNestingIsRefusedNotRecursedInto) {
    std::string text = "xof 0302txt 0032\n";
    for (int i = 0; i < 10000; ++i) {
        text += "Frame {";
    }
    XMeshData mesh;
    EXPECT_EQ(Parse(text, mesh), D3DRMERR_BADFILE);
}

TEST(XFile, TheGlobeSphereIsAClosedUnitMesh) {
    TempDir dir;
    const std::string path = dir.File("sphere3.x");
    std::ofstream(path) << SphereMeshText(24, 48);
    XMeshData mesh;
    ASSERT_EQ(LoadXFile(path, mesh), D3DRM_OK);
    EXPECT_EQ(mesh.positions.size(), 2u + 23u * 48u);
    EXPECT_EQ(mesh.faceSizes.size(), 2u * 48u * 23u);
    EXPECT_EQ(mesh.normals.size(), mesh.positions.size());
    for (const auto& p : mesh.positions) {
        EXPECT_NEAR(p[0] * p[0] + p[1] * p[1] + p[2] * p[2], 1.0f, 1e-5f);
    }
    // Closed: every side of a triangle is shared by exactly two triangles, once each way.
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> sides;
    for (std::size_t f = 0; f < mesh.faceSizes.size(); ++f) {
        for (int k = 0; k < 3; ++k) {
            ++sides[{mesh.faceVertices[f * 3 + k], mesh.faceVertices[f * 3 + (k + 1) % 3]}];
        }
    }
    for (const auto& [side, count] : sides) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(sides.count({side.second, side.first}), 1u);
    }
    EXPECT_EQ(LoadXFile(dir.File("missing.x"), mesh), D3DRMERR_FILENOTFOUND);

    // A sphere of radius 2: the positions scale, the normals stay unit length.
    std::ofstream(path) << SphereMeshText(6, 8, 2.0);
    ASSERT_EQ(LoadXFile(path, mesh), D3DRM_OK);
    ASSERT_EQ(mesh.normals.size(), mesh.positions.size());
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        const auto& p = mesh.positions[i];
        const auto& n = mesh.normals[i];
        EXPECT_NEAR(p[0] * p[0] + p[1] * p[1] + p[2] * p[2], 4.0f, 1e-4f);
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-5f);
    }
}
