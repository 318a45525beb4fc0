#include "platform/gfx/rm/frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/gfx/rm/root.h"

using namespace gfx;
using namespace gfx::rm;

namespace {

void ExpectNear(const Vec3& got, const Vec3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(got.x, expected.x, tolerance);
    EXPECT_NEAR(got.y, expected.y, tolerance);
    EXPECT_NEAR(got.z, expected.z, tolerance);
}

struct Scene {
    std::shared_ptr<Root> root;
    std::shared_ptr<Frame> scene;
    std::shared_ptr<Frame> camera;
    std::shared_ptr<Frame> globe;

    Scene() {
        EXPECT_EQ(Direct3DRMCreate(nullptr, root), D3DRM_OK);
        EXPECT_EQ(root->CreateFrame(nullptr, scene), D3DRM_OK);
        EXPECT_EQ(root->CreateFrame(scene, camera), D3DRM_OK);
        EXPECT_EQ(root->CreateFrame(scene, globe), D3DRM_OK);
        EXPECT_EQ(camera->SetPosition(scene.get(), 0, 0, 0), D3DRM_OK);
        EXPECT_EQ(globe->SetPosition(scene.get(), 0, 0, 7.0f), D3DRM_OK);
    }
};

}  // namespace

TEST(Frame, PositionsAreGivenRelativeToTheReferenceFrame) {
    Scene s;
    std::shared_ptr<Frame> moon;
    ASSERT_EQ(s.root->CreateFrame(s.globe, moon), D3DRM_OK);
    ASSERT_EQ(moon->SetPosition(s.globe.get(), 2, 0, 0), D3DRM_OK);
    Vec3 where;
    ASSERT_EQ(moon->GetPosition(s.scene.get(), where), D3DRM_OK);
    ExpectNear(where, {2, 0, 7});
    // Turning the parent carries the child with it.
    ASSERT_EQ(s.globe->SetOrientation(s.scene.get(), 1, 0, 0, 0, 1, 0), D3DRM_OK);
    ASSERT_EQ(moon->GetPosition(s.scene.get(), where), D3DRM_OK);
    ExpectNear(where, {0, 0, 5});
    // Placing relative to another frame.
    ASSERT_EQ(moon->SetPosition(s.camera.get(), 0, 1, 3), D3DRM_OK);
    ASSERT_EQ(moon->GetPosition(s.globe.get(), where), D3DRM_OK);
    ExpectNear(where, {4, 1, 0});
    ASSERT_EQ(moon->GetPosition(nullptr, where), D3DRM_OK);
    ExpectNear(where, {0, 1, 3});
}

TEST(Frame, OrientationIsSetAndReadAsDirectionAndUp) {
    Scene s;
    Vec3 direction;
    Vec3 up;
    ASSERT_EQ(s.globe->GetOrientation(s.scene.get(), direction, up), D3DRM_OK);
    ExpectNear(direction, {0, 0, 1});
    ExpectNear(up, {0, 1, 0});
    // An up vector not square to the direction is squared; lengths do not matter.
    ASSERT_EQ(s.globe->SetOrientation(s.scene.get(), 0, 0, -2, 0, 3, 3), D3DRM_OK);
    ASSERT_EQ(s.globe->GetOrientation(s.scene.get(), direction, up), D3DRM_OK);
    ExpectNear(direction, {0, 0, -1});
    ExpectNear(up, {0, 1, 0});
    EXPECT_EQ(s.globe->SetOrientation(s.scene.get(), 0, 0, 0, 0, 1, 0), D3DRMERR_BADVALUE);
    EXPECT_EQ(s.globe->SetOrientation(s.scene.get(), 0, 1, 0, 0, 2, 0), D3DRMERR_BADVALUE);
}

TEST(Frame, RotationIsAppliedOncePerMoveOfTheScene) {
    Scene s;
    ASSERT_EQ(s.globe->SetRotation(s.globe.get(), 0, 1, 0, 0.1f), D3DRM_OK);
    Vec3 direction;
    Vec3 up;
    for (int pass = 1; pass <= 5; ++pass) {
        ASSERT_EQ(s.scene->Move(1.0f), D3DRM_OK);
        ASSERT_EQ(s.globe->GetOrientation(s.scene.get(), direction, up), D3DRM_OK);
        // About +y, z turns towards +x: (0, 0, 1) -> (sin a, 0, cos a).
        const float angle = 0.1f * static_cast<float>(pass);
        ExpectNear(direction, {std::sin(angle), 0, std::cos(angle)});
        ExpectNear(up, {0, 1, 0});
    }
    Vec3 where;
    ASSERT_EQ(s.globe->GetPosition(s.scene.get(), where), D3DRM_OK);
    ExpectNear(where, {0, 0, 7});  // it turns in place
    // Releasing the button: zero axis and angle stop the turn.
    ASSERT_EQ(s.globe->SetRotation(s.globe.get(), 0, 0, 0, 0), D3DRM_OK);
    ASSERT_EQ(s.scene->Move(1.0f), D3DRM_OK);
    Vec3 still;
    ASSERT_EQ(s.globe->GetOrientation(s.scene.get(), still, up), D3DRM_OK);
    ExpectNear(still, direction);
}

TEST(Frame, AnAxisOfTheCameraStaysFixedWhileTheFrameTurns) {
    Scene s;
    // Tilt the globe first so that its own axes differ from the camera's.
    ASSERT_EQ(s.globe->SetOrientation(s.scene.get(), 1, 0, 0, 0, 1, 0), D3DRM_OK);
    ASSERT_EQ(s.globe->SetRotation(s.camera.get(), 1, 0, 0, 0.05f), D3DRM_OK);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(s.scene->Move(1.0f), D3DRM_OK);
    }
    Vec3 direction;
    Vec3 up;
    ASSERT_EQ(s.globe->GetOrientation(s.scene.get(), direction, up), D3DRM_OK);
    // About the camera's x axis the globe's z axis (pointing along x) does not move, its y
    // axis turns by 0.5 towards +z.
    ExpectNear(direction, {1, 0, 0});
    ExpectNear(up, {0, std::cos(0.5f), std::sin(0.5f)});

    // The same turn about the globe's own x axis (now the scene's -z) is a different one.
    Scene t;
    ASSERT_EQ(t.globe->SetOrientation(t.scene.get(), 1, 0, 0, 0, 1, 0), D3DRM_OK);
    ASSERT_EQ(t.globe->SetRotation(t.globe.get(), 1, 0, 0, 0.05f), D3DRM_OK);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(t.scene->Move(1.0f), D3DRM_OK);
    }
    ASSERT_EQ(t.globe->GetOrientation(t.scene.get(), direction, up), D3DRM_OK);
    EXPECT_LT(direction.x, 0.9f);
}

TEST(Frame, AnotherSceneTakesAFramesOrientationThroughDirectionAndUp) {
    Scene globe;
    Scene map;
    ASSERT_EQ(globe.globe->SetRotation(globe.camera.get(), 1, 0, 0, 0.3f), D3DRM_OK);
    ASSERT_EQ(globe.scene->Move(1.0f), D3DRM_OK);
    ASSERT_EQ(globe.globe->SetRotation(globe.globe.get(), 0, 1, 0, -0.7f), D3DRM_OK);
    ASSERT_EQ(globe.scene->Move(1.0f), D3DRM_OK);
    Vec3 direction;
    Vec3 up;
    ASSERT_EQ(globe.globe->GetOrientation(globe.scene.get(), direction, up), D3DRM_OK);
    ASSERT_EQ(map.globe->SetOrientation(map.scene.get(), direction.x, direction.y, direction.z,
                                        up.x, up.y, up.z),
              D3DRM_OK);
    const Transform a = globe.globe->ToWorld();
    const Transform b = map.globe->ToWorld();
    for (int row = 0; row < 3; ++row) {
        ExpectNear(b.rotation.row[row], a.rotation.row[row]);
    }
}

TEST(Frame, ManyTurnsKeepTheAxesSquareAndUnit) {
    Scene s;
    ASSERT_EQ(s.globe->SetRotation(s.camera.get(), 0.3f, 1, 0.2f, 0.013f), D3DRM_OK);
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(s.scene->Move(1.0f), D3DRM_OK);
    }
    const Mat3& m = s.globe->Local().rotation;
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(Length(m.row[i]), 1.0f, 1e-5f);
        EXPECT_NEAR(Dot(m.row[i], m.row[(i + 1) % 3]), 0.0f, 1e-5f);
    }
}

TEST(Frame, ChildrenOutliveTheirSceneAsScenesOfTheirOwn) {
    Scene s;
    std::shared_ptr<Frame> camera = s.camera;
    s.scene.reset();
    s.globe.reset();
    EXPECT_EQ(camera->Parent(), nullptr);
    Vec3 where;
    EXPECT_EQ(camera->GetPosition(nullptr, where), D3DRM_OK);
}
