#include "platform/gfx/rm/viewport.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/rm/pass.h"
#include "platform/gfx/rm/raster.h"

namespace gfx::rm {

namespace {

void GatherLights(const Frame& frame, const Transform& toWorld, const Mat3& worldToCamera,
                  SceneLights& lights) {
    for (const auto& light : frame.Lights()) {
        const ColorF& colour = light->Colour();
        if (light->Type() == LightType::Ambient) {
            lights.ambient.red += colour.red;
            lights.ambient.green += colour.green;
            lights.ambient.blue += colour.blue;
        } else if (light->Type() == LightType::Directional) {
            // The light shines along its frame's z axis.
            Vec3 towards = (toWorld.rotation.row[2] * worldToCamera) * -1.0f;
            if (Normalize(towards)) {
                lights.directional.push_back({towards, colour});
            }
        }
    }
    for (const auto& child : frame.Children()) {
        GatherLights(*child, Compose(child->Local(), toWorld), worldToCamera, lights);
    }
}

void DrawFrames(const Frame& frame, const Transform& toWorld, const Transform& worldToCamera,
                ScenePass& pass) {
    if (!frame.Visuals().empty()) {
        const Transform toCamera = Compose(toWorld, worldToCamera);
        for (const auto& visual : frame.Visuals()) {
            visual->Draw(pass, toCamera);
        }
    }
    for (const auto& child : frame.Children()) {
        DrawFrames(*child, Compose(child->Local(), toWorld), worldToCamera, pass);
    }
}

}  // namespace

Viewport::Viewport(std::shared_ptr<FaultPlan> faults, std::shared_ptr<Device> device,
                   std::shared_ptr<Frame> camera, const Rect& area)
    : faults_(std::move(faults)),
      device_(std::move(device)),
      camera_(std::move(camera)),
      area_(area) {}

Result Viewport::Clear() {
    if (Result r = Check(faults_.get(), Op::Clear); r != DD_OK) {
        return r;
    }
    Surface& target = *device_->Target();
    if (target.IsLocked()) {
        return DDERR_SURFACEBUSY;
    }
    FillPixels(target.View(), area_, 0);
    float* depth = device_->Depth();
    for (int y = area_.top; y < area_.bottom; ++y) {
        float* row = depth + static_cast<std::ptrdiff_t>(y) * device_->DepthStride();
        std::fill(row + area_.left, row + area_.right, 0.0f);
    }
    return D3DRM_OK;
}

Result Viewport::Render(Frame* scene) {
    if (Result r = Check(faults_.get(), Op::Render); r != DD_OK) {
        return r;
    }
    if (scene == nullptr) {
        return D3DRMERR_BADOBJECT;
    }
    Surface& target = *device_->Target();
    if (target.IsLocked()) {
        return DDERR_SURFACEBUSY;
    }
    const Transform worldToCamera = Inverse(camera_->ToWorld());

    Projection projection;
    projection.centreX = static_cast<float>(area_.left) + static_cast<float>(area_.Width()) * 0.5f;
    projection.centreY = static_cast<float>(area_.top) + static_cast<float>(area_.Height()) * 0.5f;
    projection.scale = static_cast<float>(area_.Height()) * 0.5f / field_;
    projection.front = front_;
    projection.back = back_;

    RenderTarget renderTarget;
    renderTarget.colour = target.View();
    renderTarget.format = target.Format();
    renderTarget.depth = device_->Depth();
    renderTarget.depthStride = device_->DepthStride();
    renderTarget.viewport = area_;

    const Transform sceneToWorld = scene->ToWorld();
    SceneLights lights;
    GatherLights(*scene, sceneToWorld, worldToCamera.rotation, lights);

    Rasterizer rasterizer(renderTarget, projection);
    ScenePass pass(rasterizer, projection, area_, device_->GetQuality(), std::move(lights));
    DrawFrames(*scene, sceneToWorld, worldToCamera, pass);
    lastTriangles_ = pass.TrianglesDrawn();
    lastPixels_ = rasterizer.PixelsWritten();
    return D3DRM_OK;
}

Result Viewport::SetFront(float front) {
    if (Result r = Check(faults_.get(), Op::SetFront); r != DD_OK) {
        return r;
    }
    if (!std::isfinite(front) || !(front > 0.0f) || !(front < back_)) {
        return D3DRMERR_BADVALUE;
    }
    front_ = front;
    return D3DRM_OK;
}

Result Viewport::SetBack(float back) {
    if (Result r = Check(faults_.get(), Op::SetBack); r != DD_OK) {
        return r;
    }
    if (!std::isfinite(back) || !(back > front_)) {
        return D3DRMERR_BADVALUE;
    }
    back_ = back;
    return D3DRM_OK;
}

Result Viewport::SetField(float field) {
    if (Result r = Check(faults_.get(), Op::SetField); r != DD_OK) {
        return r;
    }
    if (!std::isfinite(field) || !(field > 0.0f)) {
        return D3DRMERR_BADVALUE;
    }
    field_ = field;
    return D3DRM_OK;
}

}  // namespace gfx::rm
