// Frames of a scene: a tree of co-ordinate systems carrying visuals and lights. A frame
// without a parent is a scene; the co-ordinates above a scene are the world.
#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/result.h"
#include "platform/gfx/rm/math.h"
#include "platform/gfx/rm/types.h"

namespace gfx::rm {

class ScenePass;

// Something a frame shows: a mesh or a mesh builder.
class Visual {
public:
    virtual ~Visual() = default;
    // Hands the visual's triangles to the pass; toCamera maps the visual's co-ordinates to
    // the camera's.
    virtual void Draw(ScenePass& pass, const Transform& toCamera) const = 0;
};

class Light {
public:
    Light(LightType type, ColorF colour) : type_(type), colour_(colour) {}
    LightType Type() const { return type_; }
    const ColorF& Colour() const { return colour_; }

private:
    LightType type_;
    ColorF colour_;
};

class Frame : public std::enable_shared_from_this<Frame> {
public:
    explicit Frame(std::shared_ptr<FaultPlan> faults) : faults_(std::move(faults)) {}
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    // In every call, reference names the frame whose co-ordinates the values are given in;
    // null means the world.

    // Places the frame's origin at (x, y, z) of the reference frame.
    Result SetPosition(Frame* reference, float x, float y, float z);
    Result GetPosition(Frame* reference, Vec3& position);
    // Gives the frame a turn of theta radians about the axis (x, y, z) of the reference frame,
    // about its own origin, made once per Move(1.0). A zero axis or angle stops the turn.
    Result SetRotation(Frame* reference, float x, float y, float z, float theta);
    // Turns the frame so that its z axis points along the direction and its y axis along
    // the up vector (made square to the direction). D3DRMERR_BADVALUE for a zero direction
    // or an up vector parallel to it.
    Result SetOrientation(Frame* reference, float dx, float dy, float dz, float ux, float uy,
                          float uz);
    // The frame's z axis (direction) and y axis (up), as unit vectors of the reference frame.
    Result GetOrientation(Frame* reference, Vec3& direction, Vec3& up);
    // Applies the turn of this frame and of every frame below it, scaled by delta.
    Result Move(float delta);

    Result AddVisual(std::shared_ptr<Visual> visual);
    // D3DRMERR_NOTFOUND when the visual is not on the frame.
    Result DeleteVisual(const Visual* visual);
    Result AddLight(std::shared_ptr<Light> light);

    // Structure and transforms, for the renderer and tests.
    Frame* Parent() const { return parent_; }
    Frame* Scene();
    const std::vector<std::shared_ptr<Frame>>& Children() const { return children_; }
    const std::vector<std::shared_ptr<Visual>>& Visuals() const { return visuals_; }
    const std::vector<std::shared_ptr<Light>>& Lights() const { return lights_; }
    const Transform& Local() const { return local_; }
    Transform ToWorld() const;

    // Makes child a child of this frame, taking it from its former parent. Used by the root
    // when it creates a frame.
    void AttachChild(const std::shared_ptr<Frame>& child);

private:
    void ApplyTurn(float delta);

    std::shared_ptr<FaultPlan> faults_;
    Frame* parent_ = nullptr;
    std::vector<std::shared_ptr<Frame>> children_;
    std::vector<std::shared_ptr<Visual>> visuals_;
    std::vector<std::shared_ptr<Light>> lights_;
    Transform local_;
    std::weak_ptr<Frame> turnReference_;
    bool turnInWorld_ = false;
    Vec3 turnAxis_;
    float turnAngle_ = 0;
};

}  // namespace gfx::rm
