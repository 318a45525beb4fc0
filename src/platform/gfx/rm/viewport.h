// A viewport: a rectangle of the device's surface showing what a camera frame sees.
#pragma once

#include <memory>

#include "platform/gfx/pixels.h"
#include "platform/gfx/result.h"
#include "platform/gfx/rm/device.h"
#include "platform/gfx/rm/frame.h"

namespace gfx::rm {

class Viewport {
public:
    Viewport(std::shared_ptr<FaultPlan> faults, std::shared_ptr<Device> device,
             std::shared_ptr<Frame> camera, const Rect& area);

    // Clears the rectangle to black and empties its depth buffer.
    Result Clear();
    // Draws the visuals of scene and of every frame below it as the camera sees them: the
    // camera looks along its z axis with its y axis up; what lies nearer than the front
    // plane or beyond the back plane is cut away.
    Result Render(Frame* scene);

    // Distances of the front and back clipping planes from the camera; the front plane must
    // stay nearer than the back plane and beyond 0 (D3DRMERR_BADVALUE).
    Result SetFront(float front);
    Result SetBack(float back);
    // Half the height of what the camera sees at distance 1 (default 0.5); must be above 0.
    Result SetField(float field);

    float Front() const { return front_; }
    float Back() const { return back_; }
    float Field() const { return field_; }
    const Rect& Area() const { return area_; }
    // Triangles drawn and pixels written by the last Render.
    long long LastTriangles() const { return lastTriangles_; }
    long long LastPixels() const { return lastPixels_; }

private:
    std::shared_ptr<FaultPlan> faults_;
    std::shared_ptr<Device> device_;
    std::shared_ptr<Frame> camera_;
    Rect area_;
    float front_ = 1.0f;
    float back_ = 100.0f;
    float field_ = 0.5f;
    long long lastTriangles_ = 0;
    long long lastPixels_ = 0;
};

}  // namespace gfx::rm
