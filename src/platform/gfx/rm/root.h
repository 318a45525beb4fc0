// The retained-mode object: makes frames, meshes, mesh builders, textures, lights, wraps,
// viewports and devices. Everything it makes consults the fault plan it was created with.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/direct3d.h"
#include "platform/gfx/result.h"
#include "platform/gfx/rm/device.h"
#include "platform/gfx/rm/frame.h"
#include "platform/gfx/rm/mesh.h"
#include "platform/gfx/rm/mesh_builder.h"
#include "platform/gfx/rm/texture.h"
#include "platform/gfx/rm/types.h"
#include "platform/gfx/rm/viewport.h"
#include "platform/gfx/surface.h"

namespace gfx::rm {

class Root {
public:
    explicit Root(std::shared_ptr<FaultPlan> faults) : faults_(std::move(faults)) {}

    Result QueryInterface(Iid iid);

    // A frame below parent, or a new scene when parent is null.
    Result CreateFrame(const std::shared_ptr<Frame>& parent, std::shared_ptr<Frame>& frame);
    Result CreateMesh(std::shared_ptr<Mesh>& mesh);
    Result CreateMeshBuilder(std::shared_ptr<MeshBuilder>& builder);
    // A texture showing the surface's pixels as they are whenever it is drawn.
    // D3DRMERR_BADOBJECT for no surface, D3DRMERR_BADVALUE for the primary surface or one
    // wider or higher than kMaxTextureSide (4096).
    Result CreateTextureFromSurface(std::shared_ptr<Surface> surface,
                                    std::shared_ptr<Texture>& texture);
    // A light of a packed colour (CreateColorRGB) or of three channels (clamped to 0..1).
    // Ambient lights light everything in their scene evenly; directional lights shine along
    // their frame's z axis; the other kinds are kept but give no light.
    Result CreateLight(LightType type, std::uint32_t color, std::shared_ptr<Light>& light);
    Result CreateLightRGB(LightType type, float red, float green, float blue,
                          std::shared_ptr<Light>& light);
    // A texture wrap (see Wrap). D3DRMERR_BADVALUE for a zero direction, an up vector
    // parallel to it, a value that is not a number, or the chrome type (not offered).
    Result CreateWrap(WrapType type, Frame* reference, float ox, float oy, float oz, float dx,
                      float dy, float dz, float ux, float uy, float uz, float ou, float ov,
                      float su, float sv, std::shared_ptr<Wrap>& wrap);
    // A viewport on the rectangle (x, y, width, height) of the device's surface, seen from
    // camera. D3DRMERR_BADOBJECT for a missing device or camera, D3DRMERR_BADVALUE for a
    // rectangle that is empty or not inside the surface.
    Result CreateViewport(std::shared_ptr<Device> device, std::shared_ptr<Frame> camera, int x,
                          int y, int width, int height, std::shared_ptr<Viewport>& viewport);
    // The device rendering into the surface of a Direct3D device.
    Result CreateDeviceFromD3D(const std::shared_ptr<Direct3D>& direct3d,
                               const std::shared_ptr<Direct3DDevice>& d3dDevice,
                               std::shared_ptr<Device>& device);
    // The device rendering into a surface directly (2, 3 or 4 bytes per pixel, not primary).
    Result CreateDeviceFromSurface(std::shared_ptr<Surface> target,
                                   std::shared_ptr<Device>& device);

    const std::shared_ptr<FaultPlan>& Faults() const { return faults_; }

private:
    std::shared_ptr<FaultPlan> faults_;
};

// Makes the retained-mode object; faults may be null.
Result Direct3DRMCreate(std::shared_ptr<FaultPlan> faults, std::shared_ptr<Root>& root);

}  // namespace gfx::rm
