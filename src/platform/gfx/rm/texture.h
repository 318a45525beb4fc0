// A texture made from a surface. It keeps the surface and reads its pixels each time it is
// drawn, so later changes to the surface show on the next render.
#pragma once

#include <memory>

#include "platform/gfx/surface.h"

namespace gfx::rm {

class Texture {
public:
    explicit Texture(std::shared_ptr<Surface> surface) : surface_(std::move(surface)) {}
    const Surface& Image() const { return *surface_; }
    const std::shared_ptr<Surface>& ImageSurface() const { return surface_; }

private:
    std::shared_ptr<Surface> surface_;
};

}  // namespace gfx::rm
