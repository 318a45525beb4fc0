#include "platform/gfx/rm/frame.h"

#include <algorithm>

namespace gfx::rm {

namespace {

// The rotation taking directions of the reference frame to the world's.
Mat3 RotationToWorld(const Frame* reference) {
    return reference != nullptr ? reference->ToWorld().rotation : Mat3{};
}

Transform ToWorldOf(const Frame* frame) {
    return frame != nullptr ? frame->ToWorld() : Transform{};
}

}  // namespace

Frame::~Frame() {
    // Children that live on become scenes of their own.
    for (const auto& child : children_) {
        child->parent_ = nullptr;
    }
}

Frame* Frame::Scene() {
    Frame* frame = this;
    while (frame->parent_ != nullptr) {
        frame = frame->parent_;
    }
    return frame;
}

Transform Frame::ToWorld() const {
    Transform result = local_;
    for (const Frame* up = parent_; up != nullptr; up = up->parent_) {
        result = Compose(result, up->local_);
    }
    return result;
}

void Frame::AttachChild(const std::shared_ptr<Frame>& child) {
    if (!child || child.get() == this) {
        return;
    }
    // Keep the child alive while it leaves its former parent.
    std::shared_ptr<Frame> keep = child;
    if (Frame* former = child->parent_; former != nullptr) {
        auto& siblings = former->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), child), siblings.end());
    }
    child->parent_ = this;
    children_.push_back(std::move(keep));
}

Result Frame::SetPosition(Frame* reference, float x, float y, float z) {
    if (Result r = Check(faults_.get(), Op::SetPosition); r != DD_OK) {
        return r;
    }
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        return D3DRMERR_BADVALUE;
    }
    const Vec3 world = TransformPoint(ToWorldOf(reference), Vec3{x, y, z});
    local_.position = TransformPoint(Inverse(ToWorldOf(parent_)), world);
    return D3DRM_OK;
}

Result Frame::GetPosition(Frame* reference, Vec3& position) {
    if (Result r = Check(faults_.get(), Op::GetPosition); r != DD_OK) {
        return r;
    }
    position = TransformPoint(Inverse(ToWorldOf(reference)), ToWorld().position);
    return D3DRM_OK;
}

Result Frame::SetRotation(Frame* reference, float x, float y, float z, float theta) {
    if (Result r = Check(faults_.get(), Op::SetRotation); r != DD_OK) {
        return r;
    }
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z) || !std::isfinite(theta)) {
        return D3DRMERR_BADVALUE;
    }
    turnAxis_ = Vec3{x, y, z};
    turnAngle_ = theta;
    turnInWorld_ = reference == nullptr;
    turnReference_ = reference != nullptr ? reference->weak_from_this() : std::weak_ptr<Frame>{};
    return D3DRM_OK;
}

Result Frame::SetOrientation(Frame* reference, float dx, float dy, float dz, float ux, float uy,
                             float uz) {
    if (Result r = Check(faults_.get(), Op::SetOrientation); r != DD_OK) {
        return r;
    }
    Vec3 direction{dx, dy, dz};
    Vec3 up{ux, uy, uz};
    if (!Normalize(direction)) {
        return D3DRMERR_BADVALUE;
    }
    Vec3 right = Cross(up, direction);
    if (!Normalize(right)) {
        return D3DRMERR_BADVALUE;
    }
    up = Cross(direction, right);
    // Axes in the reference frame, then in the world, then in the parent.
    Mat3 axes;
    axes.row[0] = right;
    axes.row[1] = up;
    axes.row[2] = direction;
    const Mat3 worldAxes = axes * RotationToWorld(reference);
    local_.rotation = worldAxes * Transpose(RotationToWorld(parent_));
    Orthonormalize(local_.rotation);
    return D3DRM_OK;
}

Result Frame::GetOrientation(Frame* reference, Vec3& direction, Vec3& up) {
    if (Result r = Check(faults_.get(), Op::GetOrientation); r != DD_OK) {
        return r;
    }
    const Mat3 relative = ToWorld().rotation * Transpose(RotationToWorld(reference));
    direction = relative.row[2];
    up = relative.row[1];
    return D3DRM_OK;
}

Result Frame::Move(float delta) {
    if (Result r = Check(faults_.get(), Op::Move); r != DD_OK) {
        return r;
    }
    if (!std::isfinite(delta)) {
        return D3DRMERR_BADVALUE;
    }
    ApplyTurn(delta);
    return D3DRM_OK;
}

void Frame::ApplyTurn(float delta) {
    Vec3 axis = turnAxis_;
    const float angle = turnAngle_ * delta;
    const std::shared_ptr<Frame> reference = turnReference_.lock();
    // A turn whose reference frame is gone is dropped rather than taken as the world's.
    const bool referenceKnown = turnInWorld_ || reference != nullptr;
    if (angle != 0.0f && referenceKnown && Normalize(axis)) {
        // The axis as a direction of the parent's co-ordinates, taken now: a camera-fixed
        // axis stays fixed to the camera while the frame turns.
        const Vec3 worldAxis = axis * RotationToWorld(reference.get());
        const Vec3 parentAxis = worldAxis * Transpose(RotationToWorld(parent_));
        local_.rotation = local_.rotation * AxisRotation(parentAxis, angle);
        Orthonormalize(local_.rotation);
    }
    // Copy: a child's turn never changes the list, but stay safe against it.
    const auto children = children_;
    for (const auto& child : children) {
        child->ApplyTurn(delta);
    }
}

Result Frame::AddVisual(std::shared_ptr<Visual> visual) {
    if (Result r = Check(faults_.get(), Op::AddVisual); r != DD_OK) {
        return r;
    }
    if (!visual) {
        return D3DRMERR_BADOBJECT;
    }
    visuals_.push_back(std::move(visual));
    return D3DRM_OK;
}

Result Frame::DeleteVisual(const Visual* visual) {
    if (Result r = Check(faults_.get(), Op::DeleteVisual); r != DD_OK) {
        return r;
    }
    const auto found = std::find_if(visuals_.begin(), visuals_.end(),
                                    [&](const auto& held) { return held.get() == visual; });
    if (found == visuals_.end()) {
        return D3DRMERR_NOTFOUND;
    }
    visuals_.erase(found);
    return D3DRM_OK;
}

Result Frame::AddLight(std::shared_ptr<Light> light) {
    if (Result r = Check(faults_.get(), Op::AddLight); r != DD_OK) {
        return r;
    }
    if (!light) {
        return D3DRMERR_BADOBJECT;
    }
    lights_.push_back(std::move(light));
    return D3DRM_OK;
}

}  // namespace gfx::rm
