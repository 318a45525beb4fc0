// The globe mesh the build puts into the run folder.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/gfx/xfile.h"

namespace {

TEST(GlobeMesh, TheRunFolderHoldsAUnitSphereOf16RingsBy32Segments) {
    const std::filesystem::path file = std::filesystem::path(VELMORA_RUN_DIR) / "sphere3.x";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << "the run folder is not built";
    gfx::XMeshData mesh;
    ASSERT_EQ(gfx::LoadXFile(file.string(), mesh), gfx::D3DRM_OK);
    // A vertex at each pole and 15 rings of 32 between them; 32 triangles at each pole and
    // two per quad of the 14 bands between the rings.
    EXPECT_EQ(mesh.positions.size(), 2u + 15u * 32u);
    EXPECT_EQ(mesh.faceSizes.size(), 2u * 32u + 2u * 14u * 32u);
    // The globe's distances and zoom limits are chosen for a sphere of radius 1.
    for (const auto& p : mesh.positions) {
        ASSERT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 1.0, 1e-5);
    }
}

}  // namespace
