#include "platform/gfx/rm/root.h"

#include <cmath>

#include "platform/gfx/rm/raster.h"

namespace gfx::rm {

Result Root::QueryInterface(Iid iid) {
    if (Result r = Check(faults_.get(), Op::QueryInterface); r != DD_OK) {
        return r;
    }
    return iid == Iid::Direct3DRM || iid == Iid::Direct3DRM2 ? D3DRM_OK : E_NOINTERFACE;
}

Result Root::CreateFrame(const std::shared_ptr<Frame>& parent, std::shared_ptr<Frame>& frame) {
    if (Result r = Check(faults_.get(), Op::CreateFrame); r != DD_OK) {
        return r;
    }
    auto made = std::make_shared<Frame>(faults_);
    if (parent) {
        parent->AttachChild(made);
    }
    frame = std::move(made);
    return D3DRM_OK;
}

Result Root::CreateMesh(std::shared_ptr<Mesh>& mesh) {
    if (Result r = Check(faults_.get(), Op::CreateMesh); r != DD_OK) {
        return r;
    }
    mesh = std::make_shared<Mesh>(faults_);
    return D3DRM_OK;
}

Result Root::CreateMeshBuilder(std::shared_ptr<MeshBuilder>& builder) {
    if (Result r = Check(faults_.get(), Op::CreateMeshBuilder); r != DD_OK) {
        return r;
    }
    builder = std::make_shared<MeshBuilder>(faults_);
    return D3DRM_OK;
}

Result Root::CreateTextureFromSurface(std::shared_ptr<Surface> surface,
                                      std::shared_ptr<Texture>& texture) {
    if (Result r = Check(faults_.get(), Op::CreateTextureFromSurface); r != DD_OK) {
        return r;
    }
    if (!surface) {
        return D3DRMERR_BADOBJECT;
    }
    if (surface->IsPrimary() || !IsSupportedFormat(surface->Format()) ||
        surface->Width() > kMaxTextureSide || surface->Height() > kMaxTextureSide) {
        return D3DRMERR_BADVALUE;
    }
    texture = std::make_shared<Texture>(std::move(surface));
    return D3DRM_OK;
}

Result Root::CreateLight(LightType type, std::uint32_t color, std::shared_ptr<Light>& light) {
    if (Result r = Check(faults_.get(), Op::CreateLight); r != DD_OK) {
        return r;
    }
    light = std::make_shared<Light>(type, ColorFromPacked(color));
    return D3DRM_OK;
}

Result Root::CreateLightRGB(LightType type, float red, float green, float blue,
                            std::shared_ptr<Light>& light) {
    if (Result r = Check(faults_.get(), Op::CreateLightRGB); r != DD_OK) {
        return r;
    }
    light =
        std::make_shared<Light>(type, ColorF{ClampUnit(red), ClampUnit(green), ClampUnit(blue)});
    return D3DRM_OK;
}

Result Root::CreateWrap(WrapType type, Frame* /*reference*/, float ox, float oy, float oz, float dx,
                        float dy, float dz, float ux, float uy, float uz, float ou, float ov,
                        float su, float sv, std::shared_ptr<Wrap>& wrap) {
    if (Result r = Check(faults_.get(), Op::CreateWrap); r != DD_OK) {
        return r;
    }
    const float values[] = {ox, oy, oz, dx, dy, dz, ux, uy, uz, ou, ov, su, sv};
    for (float value : values) {
        if (!std::isfinite(value)) {
            return D3DRMERR_BADVALUE;
        }
    }
    if (type != WrapType::Flat && type != WrapType::Cylinder && type != WrapType::Sphere) {
        return D3DRMERR_BADVALUE;
    }
    Vec3 direction{dx, dy, dz};
    Vec3 side = Cross(Vec3{ux, uy, uz}, direction);
    if (!Normalize(direction) || !Normalize(side)) {
        return D3DRMERR_BADVALUE;
    }
    // The wrap works on the builder's own co-ordinates, so the reference frame is not kept.
    wrap = std::make_shared<Wrap>(
        faults_, type, Wrap::Axes{{ox, oy, oz}, {dx, dy, dz}, {ux, uy, uz}}, ou, ov, su, sv);
    return D3DRM_OK;
}

Result Root::CreateViewport(std::shared_ptr<Device> device, std::shared_ptr<Frame> camera, int x,
                            int y, int width, int height, std::shared_ptr<Viewport>& viewport) {
    if (Result r = Check(faults_.get(), Op::CreateViewport); r != DD_OK) {
        return r;
    }
    if (!device || !camera) {
        return D3DRMERR_BADOBJECT;
    }
    const Surface& target = *device->Target();
    if (width < 1 || height < 1 || x < 0 || y < 0 || x > target.Width() - width ||
        y > target.Height() - height) {
        return D3DRMERR_BADVALUE;
    }
    viewport = std::make_shared<Viewport>(faults_, std::move(device), std::move(camera),
                                          Rect{x, y, x + width, y + height});
    return D3DRM_OK;
}

Result Root::CreateDeviceFromD3D(const std::shared_ptr<Direct3D>& direct3d,
                                 const std::shared_ptr<Direct3DDevice>& d3dDevice,
                                 std::shared_ptr<Device>& device) {
    if (Result r = Check(faults_.get(), Op::CreateDeviceFromD3D); r != DD_OK) {
        return r;
    }
    if (!direct3d || !d3dDevice || !d3dDevice->Target()) {
        return D3DRMERR_BADOBJECT;
    }
    const std::shared_ptr<Surface>& target = d3dDevice->Target();
    if (target->IsPrimary() || !IsSupportedFormat(target->Format())) {
        return D3DRMERR_BADDEVICE;
    }
    device = std::make_shared<Device>(faults_, target);
    return D3DRM_OK;
}

Result Root::CreateDeviceFromSurface(std::shared_ptr<Surface> target,
                                     std::shared_ptr<Device>& device) {
    if (Result r = Check(faults_.get(), Op::CreateDeviceFromSurface); r != DD_OK) {
        return r;
    }
    if (!target) {
        return D3DRMERR_BADOBJECT;
    }
    if (target->IsPrimary() || !IsSupportedFormat(target->Format())) {
        return D3DRMERR_BADDEVICE;
    }
    device = std::make_shared<Device>(faults_, std::move(target));
    return D3DRM_OK;
}

Result Direct3DRMCreate(std::shared_ptr<FaultPlan> faults, std::shared_ptr<Root>& root) {
    if (Result r = Check(faults.get(), Op::Direct3DRMCreate); r != DD_OK) {
        return r;
    }
    root = std::make_shared<Root>(std::move(faults));
    return D3DRM_OK;
}

}  // namespace gfx::rm
