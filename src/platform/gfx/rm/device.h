// The retained-mode device: the software RGB renderer drawing into one surface, with the
// depth buffer and the render quality that every viewport on it uses.
#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/result.h"
#include "platform/gfx/rm/types.h"
#include "platform/gfx/surface.h"

namespace gfx::rm {

// Solid, flat-shaded and lit: the quality of a new device.
inline constexpr Quality D3DRMRENDER_FLAT = D3DRMFILL_SOLID | D3DRMLIGHT_ON | D3DRMSHADE_FLAT;

class Device {
public:
    Device(std::shared_ptr<FaultPlan> faults, std::shared_ptr<Surface> target);

    // D3DRMERR_BADVALUE for a value that is not a shade, light and fill mode added together.
    Result SetQuality(Quality quality);
    Quality GetQuality() const { return quality_; }
    // Rendering is finished when Render returns; Update only reports success.
    Result Update();

    const std::shared_ptr<Surface>& Target() const { return target_; }
    float* Depth() { return depth_.data(); }
    int DepthStride() const { return target_->Width(); }

private:
    std::shared_ptr<FaultPlan> faults_;
    std::shared_ptr<Surface> target_;
    std::vector<float> depth_;
    Quality quality_ = D3DRMRENDER_FLAT;
};

}  // namespace gfx::rm
