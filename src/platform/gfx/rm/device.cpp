#include "platform/gfx/rm/device.h"

namespace gfx::rm {

Device::Device(std::shared_ptr<FaultPlan> faults, std::shared_ptr<Surface> target)
    : faults_(std::move(faults)), target_(std::move(target)) {
    depth_.assign(static_cast<std::size_t>(target_->Width()) * target_->Height(), 0.0f);
}

Result Device::SetQuality(Quality quality) {
    if (Result r = Check(faults_.get(), Op::SetQuality); r != DD_OK) {
        return r;
    }
    if (!IsValidQuality(quality)) {
        return D3DRMERR_BADVALUE;
    }
    quality_ = quality;
    return D3DRM_OK;
}

Result Device::Update() {
    return Check(faults_.get(), Op::Update);
}

}  // namespace gfx::rm
