#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/rm/root.h"
#include "platform/gfx/surface.h"

// A DirectDraw object of an 800 x 600 display in the given format.
inline std::shared_ptr<gfx::DirectDraw> MakeDirectDraw(
    const gfx::PixelFormat& format, std::shared_ptr<gfx::FaultPlan> faults = nullptr) {
    std::shared_ptr<gfx::DirectDraw> directDraw;
    EXPECT_EQ(
        gfx::DirectDrawCreate(gfx::DisplayMode{800, 600, format}, std::move(faults), directDraw),
        gfx::DD_OK);
    return directDraw;
}

// An off-screen surface in system memory, in the display's format.
inline std::shared_ptr<gfx::Surface> MakePlain(gfx::DirectDraw& directDraw, int width, int height) {
    gfx::SurfaceDesc desc;
    desc.caps = gfx::DDSCAPS_OFFSCREENPLAIN | gfx::DDSCAPS_SYSTEMMEMORY;
    desc.width = width;
    desc.height = height;
    std::shared_ptr<gfx::Surface> surface;
    EXPECT_EQ(directDraw.CreateSurface(desc, surface), gfx::DD_OK);
    return surface;
}

// A back buffer with a device and one scene (a camera at the origin looking along +z) on a
// viewport, ready for rendering tests.
struct RenderRig {
    std::shared_ptr<gfx::FaultPlan> faults = std::make_shared<gfx::FaultPlan>();
    std::shared_ptr<gfx::DirectDraw> directDraw;
    std::shared_ptr<gfx::Surface> backBuffer;
    std::shared_ptr<gfx::rm::Root> root;
    std::shared_ptr<gfx::rm::Device> device;
    std::shared_ptr<gfx::rm::Frame> scene;
    std::shared_ptr<gfx::rm::Frame> camera;
    std::shared_ptr<gfx::rm::Frame> object;
    std::shared_ptr<gfx::rm::Viewport> viewport;

    explicit RenderRig(const gfx::PixelFormat& format = gfx::PixelFormat::Xrgb8888(),
                       int width = 160, int height = 120, gfx::Rect area = {0, 0, 160, 120}) {
        using namespace gfx;
        EXPECT_EQ(DirectDrawCreate(DisplayMode{640, 480, format}, faults, directDraw), DD_OK);
        SurfaceDesc desc;
        desc.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY | DDSCAPS_3DDEVICE;
        desc.width = width;
        desc.height = height;
        EXPECT_EQ(directDraw->CreateSurface(desc, backBuffer), DD_OK);
        EXPECT_EQ(rm::Direct3DRMCreate(faults, root), D3DRM_OK);
        EXPECT_EQ(root->CreateDeviceFromSurface(backBuffer, device), D3DRM_OK);
        EXPECT_EQ(device->SetQuality(rm::D3DRMFILL_SOLID | rm::D3DRMSHADE_GOURAUD), D3DRM_OK);
        EXPECT_EQ(root->CreateFrame(nullptr, scene), D3DRM_OK);
        EXPECT_EQ(root->CreateFrame(scene, camera), D3DRM_OK);
        EXPECT_EQ(root->CreateFrame(scene, object), D3DRM_OK);
        EXPECT_EQ(root->CreateViewport(device, camera, area.left, area.top, area.Width(),
                                       area.Height(), viewport),
                  D3DRM_OK);
    }

    // A plain surface of the display format filled with one colour.
    std::shared_ptr<gfx::Surface> MakeSurface(int width, int height) {
        gfx::SurfaceDesc desc;
        desc.caps = gfx::DDSCAPS_OFFSCREENPLAIN | gfx::DDSCAPS_SYSTEMMEMORY;
        desc.width = width;
        desc.height = height;
        std::shared_ptr<gfx::Surface> surface;
        EXPECT_EQ(directDraw->CreateSurface(desc, surface), gfx::DD_OK);
        return surface;
    }

    void Fill(gfx::Surface& surface, const gfx::Rect& rect, gfx::Rgb colour) {
        gfx::FillPixels(surface.View(), rect,
                        gfx::PixelFromRgb(surface.Format(), colour.red, colour.green, colour.blue));
    }

    gfx::Rgb At(int x, int y) const {
        const gfx::PixelView& view = backBuffer->View();
        return gfx::RgbFromPixel(backBuffer->Format(),
                                 gfx::LoadPixel(view.At(x, y), view.bytesPerPixel));
    }

    void Render() {
        ASSERT_EQ(viewport->Clear(), gfx::D3DRM_OK);
        ASSERT_EQ(viewport->Render(scene.get()), gfx::D3DRM_OK);
    }
};

namespace gfx {
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "rgb(" << int{c.red} << ", " << int{c.green} << ", " << int{c.blue} << ")";
}
}  // namespace gfx
