// A graphics layer in memory for the world picture tests: the DirectDraw object with a fault
// plan, the retained-mode root, the tile art surface and a scripted shell.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "game/world_map.h"
#include "platform/gfx/rm/root.h"
#include "platform/gfx/surface.h"
#include "platform/os/scripted_ui_shell.h"
#include "view/main_map.h"
#include "view/tile_art.h"

struct MapRig {
    std::shared_ptr<gfx::FaultPlan> faults = std::make_shared<gfx::FaultPlan>();
    std::shared_ptr<gfx::DirectDraw> directDraw;
    std::shared_ptr<gfx::rm::Root> root;
    std::shared_ptr<gfx::Surface> tileArt;
    ScriptedUiShell shell;
    ScopedShell scopedShell{shell};

    explicit MapRig(const gfx::PixelFormat& format = gfx::PixelFormat::Xrgb8888(),
                    int tileArtWidth = kTileArtWidth) {
        EXPECT_EQ(gfx::DirectDrawCreate(gfx::DisplayMode{1024, 768, format}, faults, directDraw),
                  gfx::DD_OK);
        EXPECT_EQ(gfx::rm::Direct3DRMCreate(faults, root), gfx::D3DRM_OK);
        tileArt = Plain(tileArtWidth, kTileArtHeight);
        // Set-up calls are not what the tests count.
        faults->Reset();
    }

    std::shared_ptr<gfx::Surface> Plain(int width, int height) {
        gfx::SurfaceDesc desc;
        desc.caps = gfx::DDSCAPS_OFFSCREENPLAIN | gfx::DDSCAPS_SYSTEMMEMORY;
        desc.width = width;
        desc.height = height;
        std::shared_ptr<gfx::Surface> surface;
        EXPECT_EQ(directDraw->CreateSurface(desc, surface), gfx::DD_OK);
        return surface;
    }

    static std::uint32_t PixelAt(const gfx::Surface& surface, int x, int y) {
        const gfx::PixelView& view = surface.View();
        return gfx::LoadPixel(view.At(x, y), view.bytesPerPixel);
    }
    static void SetPixel(gfx::Surface& surface, int x, int y, std::uint32_t value) {
        const gfx::PixelView& view = surface.View();
        gfx::StorePixel(view.At(x, y), view.bytesPerPixel, value);
    }

    // The one message shown so far, as "caption: text".
    std::string OnlyMessage() const {
        if (shell.messages.size() != 1) {
            // Appended rather than "(" + ...: GCC 12 at -O3 misreads the inserting form as an
            // overlapping copy (-Wrestrict).
            std::string count = "(";
            count += std::to_string(shell.messages.size());
            return count + " messages)";
        }
        return shell.messages[0].caption + ": " + shell.messages[0].text;
    }
};

// A world where every tile has the given terrain.
inline std::unique_ptr<WorldMap> UniformWorld(std::int32_t terrain) {
    auto world = std::make_unique<WorldMap>();
    for (int r = 0; r < kWorldRows; ++r) {
        for (int c = 0; c < kWorldColumns; ++c) {
            world->At(r, c).Terrain = terrain;
        }
    }
    return world;
}
