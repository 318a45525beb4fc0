// One render pass of the two world views, built straight on the graphics layer: the globe
// (the 24 x 48 sphere mesh with a spherical wrap, 207 x 151 viewport) and the large map (1152
// groups of 9 vertices and 8 faces, each with its own texture, 575 x 287 viewport), both
// copied to a screen in memory.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/rm/root.h"
#include "platform/gfx/sphere_mesh.h"
#include "platform/gfx/surface.h"

namespace {

using namespace gfx;
using namespace gfx::rm;

struct Views {
    std::shared_ptr<DirectDraw> directDraw;
    std::shared_ptr<MemoryScreen> screen;
    std::shared_ptr<Surface> primary;
    std::shared_ptr<Surface> backBuffer;
    std::shared_ptr<Root> root;
    std::shared_ptr<Device> device;
    std::shared_ptr<Frame> globeScene, globeCamera, globeFrame;
    std::shared_ptr<Viewport> globeViewport;
    std::shared_ptr<Frame> mapScene, mapCamera, mapFrame;
    std::shared_ptr<Viewport> mapViewport;
    std::vector<std::shared_ptr<Surface>> mapSurfaces;

    std::shared_ptr<Surface> Plain(int w, int h) {
        SurfaceDesc desc;
        desc.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.width = w;
        desc.height = h;
        std::shared_ptr<Surface> s;
        directDraw->CreateSurface(desc, s);
        return s;
    }

    explicit Views(int textureSide) {
        DirectDrawCreate(DisplayMode{1280, 1024, PixelFormat::Xrgb8888()}, nullptr, directDraw);
        screen = std::make_shared<MemoryScreen>(1280, 1024, PixelFormat::Xrgb8888());
        directDraw->SetScreen(screen);
        SurfaceDesc desc;
        desc.caps = DDSCAPS_PRIMARYSURFACE;
        directDraw->CreateSurface(desc, primary);
        desc.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY | DDSCAPS_3DDEVICE;
        desc.width = 1200;
        desc.height = 600;
        directDraw->CreateSurface(desc, backBuffer);
        Direct3DRMCreate(nullptr, root);
        root->CreateDeviceFromSurface(backBuffer, device);
        device->SetQuality(129);

        // Globe.
        root->CreateFrame(nullptr, globeScene);
        root->CreateFrame(globeScene, globeCamera);
        root->CreateFrame(globeScene, globeFrame);
        globeFrame->SetPosition(globeScene.get(), 0, 0, 7.0f);
        auto globeSurface = Plain(256, 128);
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 256; ++x) {
                StorePixel(globeSurface->View().At(x, y), 4, (x * 7 + y * 13) * 0x010203u);
            }
        }
        std::shared_ptr<Texture> globeTexture;
        root->CreateTextureFromSurface(globeSurface, globeTexture);
        std::shared_ptr<MeshBuilder> builder;
        root->CreateMeshBuilder(builder);
        const std::string sphere = SphereMeshText(24, 48);
        builder->LoadFromMemory(
            std::span(reinterpret_cast<const std::uint8_t*>(sphere.data()), sphere.size()));
        builder->SetColorRGB(1, 1, 1);
        builder->SetTexture(globeTexture);
        builder->SetPerspective(true);
        std::shared_ptr<Wrap> wrap;
        root->CreateWrap(WrapType::Sphere, globeScene.get(), 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 1,
                         wrap);
        wrap->Apply(builder.get());
        root->CreateViewport(device, globeCamera, 600, 0, 207, 151, globeViewport);
        globeViewport->SetBack(500.0f);
        globeFrame->AddVisual(builder);
        globeFrame->SetRotation(globeFrame.get(), 0, 1, 0, 0.1f);

        // Large map: the vertex grid and groups of the large map mesh.
        root->CreateFrame(nullptr, mapScene);
        root->CreateFrame(mapScene, mapCamera);
        root->CreateFrame(mapScene, mapFrame);
        mapFrame->SetPosition(mapScene.get(), 0, 0, 3.3f);
        std::shared_ptr<Mesh> mesh;
        root->CreateMesh(mesh);
        const float rs = 16384.0f * 0.15915494307111402f;
        float grid[49][96][3];
        float arc = 0;
        for (int k = 0; k < 49; ++k) {
            const float theta = arc / rs;
            const float rho = std::sin(theta) * rs;
            const float height = std::cos(theta) * rs;
            float phi = 1.5707964f;
            for (int j = 0; j < 96; ++j) {
                grid[k][j][0] = std::cos(phi) * rho;
                grid[k][j][1] = height;
                grid[k][j][2] = std::sin(phi) * rho;
                phi += 0.06544984695833334f;
            }
            arc += 170.67f;
        }
        const unsigned faces[] = {0, 1, 4, 1, 2, 4, 2, 5, 4, 5, 8, 4,
                                  8, 7, 4, 7, 6, 4, 6, 3, 4, 3, 0, 4};
        for (int g = 0; g < 24; ++g) {
            for (int h = 0; h < 48; ++h) {
                auto surface = Plain(textureSide, textureSide);
                FillPixels(surface->View(), Rect{0, 0, textureSide, textureSide},
                           0x203040u + static_cast<std::uint32_t>(g * 48 + h) * 0x10101u);
                mapSurfaces.push_back(surface);
                std::shared_ptr<Texture> texture;
                root->CreateTextureFromSurface(surface, texture);
                MeshVertex vertices[9];
                for (int i = 0; i < 3; ++i) {
                    for (int j = 0; j < 3; ++j) {
                        const float* p = grid[2 * g + i][(2 * h + j) % 96];
                        const float scale = 0.0007669888019634914f;
                        vertices[3 * i + j].position = {p[0] * scale, p[1] * scale, p[2] * scale};
                        vertices[3 * i + j].tu = 0.5f * static_cast<float>(j);
                        vertices[3 * i + j].tv = 0.5f * static_cast<float>(i);
                    }
                }
                GroupIndex group = 0;
                mesh->AddGroup(9, 8, 3, faces, group);
                mesh->SetVertices(group, 0, vertices);
                mesh->SetGroupQuality(group, 136);
                mesh->SetGroupTexture(group, texture);
            }
        }
        std::shared_ptr<Light> light;
        root->CreateLight(LightType::Ambient, CreateColorRGB(255.0f, 255.0f, 255.0f), light);
        mapScene->AddLight(light);
        root->CreateViewport(device, mapCamera, 0, 0, 575, 287, mapViewport);
        mapViewport->SetBack(500.0f);
        mapFrame->AddVisual(mesh);
    }

    void Pass() {
        globeScene->Move(1.0f);
        globeViewport->Clear();
        globeViewport->Render(globeScene.get());
        const Rect globeSource{600, 0, 807, 151};
        const Rect globeTarget{300, 100, 506, 250};
        primary->Blt(&globeTarget, backBuffer.get(), &globeSource, 0);
        Vec3 direction;
        Vec3 up;
        globeFrame->GetOrientation(globeScene.get(), direction, up);
        mapFrame->SetOrientation(mapScene.get(), direction.x, direction.y, direction.z, up.x, up.y,
                                 up.z);
        mapViewport->Clear();
        mapViewport->Render(mapScene.get());
        device->Update();
        const Rect mapSource{0, 0, 575, 287};
        const Rect mapTarget{10, 300, 585, 587};
        primary->Blt(&mapTarget, backBuffer.get(), &mapSource, 0);
    }
};

void RenderBothViews(benchmark::State& state) {
    Views views(static_cast<int>(state.range(0)));
    views.device->SetQuality(state.range(1) != 0 ? 65 : 129);
    for (auto _ : state) {
        views.Pass();
        benchmark::ClobberMemory();
    }
    state.counters["map_pixels"] = static_cast<double>(views.mapViewport->LastPixels());
    state.counters["globe_pixels"] = static_cast<double>(views.globeViewport->LastPixels());
    state.counters["map_triangles"] = static_cast<double>(views.mapViewport->LastTriangles());
}
BENCHMARK(RenderBothViews)
    ->ArgsProduct({{50, 200}, {0, 1}})
    ->ArgNames({"texture", "wire"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
