#include "view/view_engine.h"

#include <cfenv>
#include <utility>

#include "game/world_map.h"
#include "platform/os/clock.h"
#include "platform/os/file_lookup.h"
#include "view/main_map.h"
#include "view/view_failure.h"

namespace {

// The globe mesh file, found relative to the working directory.
constexpr const char* kGlobeMeshFile = "sphere3.x";
// Distance of the back clipping plane of both viewports.
constexpr float kBackPlane = 500.0f;
constexpr float kGlobeDistance = 7.0f;
constexpr float kLargeMapDistance = 3.3f;
// Bound on the retries of the lock that reads black's pixel value: a surface that stays
// busy must not hang the set-up.
constexpr int kStillDrawingRetries = 1000;

// Forwards what is blitted onto the primary surface to the main screen.
class ScreenForwarder final : public gfx::ScreenSink {
public:
    explicit ScreenForwarder(ViewScreen& screen) : screen_(screen) {}
    void Present(const gfx::Surface& source, const gfx::Rect& sourceRect,
                 const gfx::Rect& destination, std::span<const gfx::Rect> clip) override {
        screen_.Present(source, sourceRect, destination, clip);
    }

private:
    ViewScreen& screen_;
};

gfx::Result CreatePlainSurface(gfx::DirectDraw& directDraw, std::uint32_t caps, int width,
                               int height, std::shared_ptr<gfx::Surface>& surface) {
    gfx::SurfaceDesc desc;
    desc.caps = caps;
    desc.width = width;
    desc.height = height;
    return directDraw.CreateSurface(desc, surface);
}

std::string TimeText(const char* label, std::uint32_t milliseconds) {
    return std::string(label) + std::to_string(milliseconds) + " milliseconds";
}

// Keys the tile art with black: black is written into pixel (0, 0), its pixel value read
// under a lock, and the old colour put back. Failures leave the key as it was.
void KeyTileArtWithBlack(gfx::Surface& tileArt) {
    gfx::SurfaceDc* dc = nullptr;
    if (tileArt.GetDC(dc) != gfx::DD_OK) {
        return;
    }
    const gfx::Rgb old = dc->GetPixel(0, 0);
    dc->SetPixel(0, 0, gfx::Rgb{0, 0, 0});
    tileArt.ReleaseDC(dc);

    gfx::SurfaceDesc desc;
    gfx::Result locked = gfx::DDERR_WASSTILLDRAWING;
    for (int attempt = 0; attempt < kStillDrawingRetries && locked == gfx::DDERR_WASSTILLDRAWING;
         ++attempt) {
        locked = tileArt.Lock(desc, gfx::DDLOCK_WAIT);
    }
    std::uint32_t black = 0;
    bool haveBlack = false;
    if (locked == gfx::DD_OK && desc.bits != nullptr && desc.pixelFormat) {
        const std::uint32_t bitCount = desc.pixelFormat->bitCount;
        const int bytes = static_cast<int>(bitCount / 8);
        if (bytes >= 2 && bytes <= 4) {
            black = gfx::LoadPixel(desc.bits, bytes);
            if (bitCount < 32) {
                black &= (1u << bitCount) - 1u;
            }
            haveBlack = true;
        }
        tileArt.Unlock();
    }

    if (tileArt.GetDC(dc) == gfx::DD_OK) {
        dc->SetPixel(0, 0, old);
        tileArt.ReleaseDC(dc);
    }
    if (haveBlack) {
        const gfx::ColorKey key{black, black};
        tileArt.SetColorKey(gfx::DDCKEY_SRCBLT, &key);
    }
}

}  // namespace

void GlobeScene::Release() {
    GlobeWrap.reset();
    GlobeMeshBuilder.reset();
    GlobeTexture.reset();
    CameraFrame.reset();
    GlobeFrame.reset();
    SceneFrame.reset();
    GlobeViewport.reset();
}

GlobeScene* GlobeOf(WorldMap& world) {
    return dynamic_cast<GlobeScene*>(world.Globe.get());
}

void ReleaseGlobe(WorldMap& world) {
    if (GlobeScene* globe = GlobeOf(world)) {
        globe->Release();
    }
    world.Globe.reset();
}

ViewEngine::ViewEngine(ViewScreen& screen, std::shared_ptr<gfx::FaultPlan> faults, Clock* clock)
    : screen_(screen), faults_(std::move(faults)), clock_(clock) {}

ViewEngine::~ViewEngine() {
    Release();
}

bool ViewEngine::Fail(gfx::Result code, const std::string& caption) {
    screen_.HaltViews();
    return FatalGfxFailure(code, caption);
}

bool ViewEngine::FailFixed(const std::string& text, const std::string& caption) {
    screen_.HaltViews();
    return FatalFailure(text, caption);
}

bool ViewEngine::SetUpDirectDraw(MainMap& mainMap) {
    released_ = false;
    gfx::Result hr = gfx::DirectDrawCreate(screen_.Display(), faults_, DirectDraw);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Unable to create DDraw Object");
    }
    DirectDraw->SetScreen(std::make_shared<ScreenForwarder>(screen_));
    hr = DirectDraw->SetCooperativeLevel(0, gfx::DDSCL_NORMAL);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Unable to set cooperative level");
    }
    hr = DirectDraw->QueryInterface(gfx::Iid::DirectDraw2);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Unable to upgrade DDraw Object");
    }

    gfx::SurfaceDesc primaryDesc;
    primaryDesc.caps = gfx::DDSCAPS_PRIMARYSURFACE;
    hr = DirectDraw->CreateSurface(primaryDesc, PrimarySurface);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Unable to create Primary Surface");
    }
    hr = PrimarySurface->QueryInterface(gfx::Iid::DirectDrawSurface3);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Unable to upgrade Primary Surface");
    }

    if (CreatePlainSurface(
            *DirectDraw,
            gfx::DDSCAPS_OFFSCREENPLAIN | gfx::DDSCAPS_SYSTEMMEMORY | gfx::DDSCAPS_3DDEVICE,
            kBackBufferWidth, kBackBufferHeight, BackBuffer) != gfx::DD_OK) {
        return FailFixed("Unable to create BackbufferSurface Surface");
    }
    if (BackBuffer->QueryInterface(gfx::Iid::DirectDrawSurface3) != gfx::DD_OK) {
        return FailFixed("Unable to upgrade BackbufferSurface Surface");
    }
    gfx::PixelFormat backFormat;
    if (BackBuffer->GetPixelFormat(backFormat) == gfx::DD_OK) {
        BytesPerPixel = static_cast<std::int32_t>(backFormat.bitCount / 8);
    }
    gfx::SurfaceDesc backDesc;
    hr = BackBuffer->Lock(backDesc, gfx::DDLOCK_WAIT | gfx::DDLOCK_NOSYSLOCK);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "BackbufferSurface Init Lock Error (Unit Drawing)");
    }
    BackBufferPitch = backDesc.pitch;
    hr = BackBuffer->Unlock();
    if (hr != gfx::DD_OK) {
        return Fail(hr, "BackbufferSurface Init Unlock Error");
    }

    if (CreatePlainSurface(*DirectDraw, gfx::DDSCAPS_OFFSCREENPLAIN | gfx::DDSCAPS_SYSTEMMEMORY,
                           kTileArtWidth, kTileArtHeight, TileArtSurface) != gfx::DD_OK ||
        TileArtSurface->QueryInterface(gfx::Iid::DirectDrawSurface3) != gfx::DD_OK) {
        return FailFixed("Unable to create Offscreen Surface");
    }
    if (CreatePlainSurface(*DirectDraw, gfx::DDSCAPS_OFFSCREENPLAIN, kGlobeTextureWidth,
                           kGlobeTextureHeight, GlobeTextureSurface) != gfx::DD_OK) {
        return FailFixed("Unable to create Globe Texture Surface");
    }
    if (GlobeTextureSurface->QueryInterface(gfx::Iid::DirectDrawSurface3) != gfx::DD_OK) {
        return FailFixed("Unable to upgrade Globe Texture Surface");
    }

    if (!mainMap.LoadTileArt(*TileArtSurface)) {
        return false;
    }
    KeyTileArtWithBlack(*TileArtSurface);

    hr = DirectDraw->CreateClipper(MainMapClipper);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Create Main Map Clipper Error");
    }
    hr = DirectDraw->CreateClipper(MainScreenClipper);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Create Main Map Clipper Error");
    }
    const ScreenPoint origin = screen_.ClientOrigin();
    const gfx::Rect clipList[2] = {ScreenRectOf(origin, screen_.MainMapPaintBox()),
                                   ScreenRectOf(origin, screen_.GlobePaintBox())};
    if (MainMapClipper->SetClipList(clipList) != gfx::DD_OK) {
        return FailFixed("Unable to set Main Map active cliplist");
    }
    hr = MainScreenClipper->SetHWnd(screen_.WindowHandle());
    if (hr != gfx::DD_OK) {
        // This step names the failure in the caption and the step in the text.
        return FailFixed("Unable to set Main Screen Clipper", std::string(gfx::ErrorName(hr)));
    }
    if (PrimarySurface->SetClipper(MainMapClipper) != gfx::DD_OK) {
        return FailFixed("Unable to set Main Screen Clipper");
    }

    gfx::PixelFormat artFormat;
    hr = TileArtSurface->GetPixelFormat(artFormat);
    if (hr != gfx::DD_OK) {
        return FailFixed("Unable to get Surface Pixel Format", std::string(gfx::ErrorName(hr)));
    }
    PaletteValues = MakePalette(artFormat);
    return true;
}

bool ViewEngine::SetUpDirect3D() {
    // Floating-point faults must never trap inside the renderer.
    fedisableexcept(FE_ALL_EXCEPT);

    DisplayBitDepth = screen_.DisplayBitDepth();

    {
        std::shared_ptr<gfx::DirectDraw> enumDraw;
        gfx::Result hr = gfx::DirectDrawCreate(screen_.Display(), faults_, enumDraw);
        if (hr != gfx::DD_OK) {
            return Fail(hr, "Unable to create DD object during driver enumeration");
        }
        std::shared_ptr<gfx::Direct3D> enumD3d;
        hr = enumDraw->QueryDirect3D(enumD3d);
        if (hr != gfx::DD_OK) {
            return Fail(hr, "Unable to create D3D object during driver enumeration");
        }
        const std::uint32_t depthFlag = gfx::BitDepthFlag(DisplayBitDepth);
        DeviceCount = 0;
        enumD3d->EnumDevices([&](const gfx::DeviceInfo& info) {
            const gfx::DeviceDescription& desc =
                info.hardware.colorModel != 0 ? info.hardware : info.software;
            if (depthFlag != 0 && (desc.renderBitDepths & depthFlag) != 0) {
                ++DeviceCount;
            }
            return DeviceCount < kMaxDevices;
        });
        if (DeviceCount == 0) {
            return FailFixed("Unable to find a D3D Driver");
        }
    }

    gfx::Result hr = gfx::rm::Direct3DRMCreate(faults_, RetainedMode);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create the D3D Object");
    }
    hr = RetainedMode->QueryInterface(gfx::Iid::Direct3DRM2);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to upgrade D3D Object");
    }

    if (BackBuffer->QueryInterface(gfx::Iid::DirectDrawSurface) != gfx::DD_OK) {
        return FailFixed("Unable to query for IDDS1");
    }
    if (DirectDraw->QueryInterface(gfx::Iid::DirectDraw) != gfx::DD_OK) {
        return FailFixed("Unable to query for IDD1");
    }
    std::shared_ptr<gfx::Direct3D> direct3d;
    if (DirectDraw->QueryDirect3D(direct3d) != gfx::DD_OK) {
        return FailFixed("Unable to query for ID3D2");
    }
    std::shared_ptr<gfx::Direct3DDevice> d3dDevice;
    for (gfx::DeviceClass deviceClass :
         {gfx::DeviceClass::Hardware, gfx::DeviceClass::Rgb, gfx::DeviceClass::Ramp}) {
        hr = direct3d->CreateDevice(deviceClass, BackBuffer, d3dDevice);
        if (hr == gfx::DD_OK) {
            ChosenDeviceClass = deviceClass;
            break;
        }
    }
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Unable to create D3DIM device");
    }
    hr = RetainedMode->CreateDeviceFromD3D(direct3d, d3dDevice, Device);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create D3D device");
    }
    return SetDeviceQuality(kSolidQuality);
}

bool ViewEngine::SetUpGlobe(WorldMap& world) {
    if (RetainedMode == nullptr || Device == nullptr || GlobeTextureSurface == nullptr) {
        return false;
    }
    auto globe = std::make_unique<GlobeScene>();
    GlobeScene& g = *globe;
    world.Globe = std::move(globe);
    gfx::rm::Root& root = *RetainedMode;

    gfx::Result hr = root.CreateFrame(nullptr, g.SceneFrame);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create Globe parent frame");
    }
    hr = root.CreateFrame(g.SceneFrame, g.CameraFrame);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create globe camera frame");
    }
    hr = root.CreateFrame(g.SceneFrame, g.GlobeFrame);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create globe frame");
    }
    hr = g.CameraFrame->SetPosition(g.SceneFrame.get(), 0.0f, 0.0f, 0.0f);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set globe camera frame position");
    }
    hr = g.GlobeFrame->SetPosition(g.SceneFrame.get(), 0.0f, 0.0f, kGlobeDistance);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set globe frame position");
    }
    if (!FillGlobeTexture(world, GlobeTextureSurface, root, PaletteValues, g.GlobeTexture)) {
        return false;
    }
    hr = root.CreateMeshBuilder(g.GlobeMeshBuilder);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create globe mesh builder");
    }
    hr = g.GlobeMeshBuilder->Load(ResolvePath(kGlobeMeshFile));
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to load globe mesh x file");
    }
    hr = g.GlobeMeshBuilder->SetColorRGB(1.0f, 1.0f, 1.0f);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set globe sphere color");
    }
    hr = g.GlobeMeshBuilder->SetTexture(g.GlobeTexture);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set globe texture");
    }
    hr = g.GlobeMeshBuilder->SetPerspective(true);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set globe perspective flag");
    }
    hr = root.CreateWrap(gfx::rm::WrapType::Sphere, g.SceneFrame.get(), 0.0f, 0.0f, 0.0f, 0.0f,
                         1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, g.GlobeWrap);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create globe texture wrap");
    }
    hr = g.GlobeWrap->Apply(g.GlobeMeshBuilder.get());
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to apply texture wrap to globe");
    }
    const PaintBoxPlace box = screen_.GlobePaintBox();
    hr = root.CreateViewport(Device, g.CameraFrame, kGlobeViewportX, 0, box.width, box.height,
                             g.GlobeViewport);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create D3D globe viewport");
    }
    hr = g.GlobeViewport->SetBack(kBackPlane);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set back fustrum");
    }
    hr = g.GlobeFrame->AddVisual(g.GlobeMeshBuilder);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to add visual to globe frame");
    }
    return true;
}

bool ViewEngine::SetUpLargeMap(MainMap& mainMap, const WorldMap& world, int textureResolution,
                               std::function<void(int percent)> progress) {
    if (RetainedMode == nullptr || Device == nullptr || TileArtSurface == nullptr) {
        return false;
    }
    gfx::rm::Root& root = *RetainedMode;
    gfx::Result hr = root.CreateFrame(nullptr, mainMap.SceneFrame);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create Large Map parent frame");
    }
    hr = root.CreateFrame(mainMap.SceneFrame, mainMap.CameraFrame);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create Large Map camera frame");
    }
    hr = root.CreateFrame(mainMap.SceneFrame, mainMap.MapFrame);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create Large Map frame");
    }
    hr = mainMap.CameraFrame->SetPosition(mainMap.SceneFrame.get(), 0.0f, 0.0f, 0.0f);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set large map camera frame position");
    }
    hr = mainMap.MapFrame->SetPosition(mainMap.SceneFrame.get(), 0.0f, 0.0f, kLargeMapDistance);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set large map frame position");
    }
    hr = root.CreateMesh(mainMap.MapMesh);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create large map mesh");
    }

    MapTextureContext context;
    context.directDraw = DirectDraw.get();
    context.root = RetainedMode.get();
    context.tileArt = TileArtSurface.get();
    context.world = &world;
    context.textureResolution = textureResolution;
    context.clock = clock_;
    context.progress = std::move(progress);
    context.showCreationTime = [this](const std::string& text) { screen_.ShowCreationTime(text); };
    if (!mainMap.CreateMapTexture(context)) {
        return false;
    }

    // The colour is given in 0..255 but read in 0..1, so the light is full white.
    hr = root.CreateLight(gfx::rm::LightType::Ambient,
                          gfx::rm::CreateColorRGB(255.0f, 255.0f, 255.0f), mainMap.AmbientLight);
    if (hr != gfx::D3DRM_OK) {
        return FailFixed("CreateLight", "DirectX Error");
    }
    hr = mainMap.SceneFrame->AddLight(mainMap.AmbientLight);
    if (hr != gfx::D3DRM_OK) {
        return FailFixed("AddLight", "DirectX Error");
    }
    const PaintBoxPlace box = screen_.MainMapPaintBox();
    hr = root.CreateViewport(Device, mainMap.CameraFrame, kMainMapViewportX, 0, box.width,
                             box.height, mainMap.MapViewport);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to create main map viewport");
    }
    hr = mainMap.MapViewport->SetBack(kBackPlane);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set main map back fustrum");
    }
    hr = mainMap.MapFrame->AddVisual(mainMap.MapMesh);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to add visual to main map frame");
    }
    return true;
}

bool ViewEngine::RenderViews(WorldMap& world, MainMap& mainMap) {
    GlobeScene* globe = GlobeOf(world);
    if (globe == nullptr || globe->GlobeViewport == nullptr || mainMap.MapViewport == nullptr ||
        PrimarySurface == nullptr || Device == nullptr) {
        // Nothing to render before the set-up has finished.
        return false;
    }
    Clock& clock = clock_ != nullptr ? *clock_ : SystemClock();

    const std::uint32_t t0 = clock.TickCount();
    gfx::Result hr = globe->SceneFrame->Move(1.0f);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to initiate globe move");
    }
    hr = globe->GlobeViewport->Clear();
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to clear globe viewport");
    }
    hr = globe->GlobeViewport->Render(globe->SceneFrame.get());
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to render globe");
    }
    const ScreenPoint origin = screen_.ClientOrigin();
    const PaintBoxPlace globeBox = screen_.GlobePaintBox();
    const gfx::Rect globeOnScreen = ScreenRectOf(origin, globeBox);
    // The destination is one pixel narrower and lower than the source, so the copy shrinks.
    const gfx::Rect globeDest{globeOnScreen.left, globeOnScreen.top, globeOnScreen.right - 1,
                              globeOnScreen.bottom - 1};
    const gfx::Rect globeSource{kGlobeViewportX, 0, kGlobeViewportX + globeBox.width,
                                globeBox.height};
    hr = PrimarySurface->Blt(&globeDest, BackBuffer.get(), &globeSource, 0);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Primary Surface Blt Error");
    }
    screen_.ShowGlobeTime(TimeText("Globe Time: ", clock.TickCount() - t0));

    const std::uint32_t t1 = clock.TickCount();
    gfx::rm::Vec3 direction;
    gfx::rm::Vec3 up;
    hr = globe->GlobeFrame->GetOrientation(globe->SceneFrame.get(), direction, up);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to get globe frame orientation");
    }
    hr = mainMap.MapFrame->SetOrientation(mainMap.SceneFrame.get(), direction.x, direction.y,
                                          direction.z, up.x, up.y, up.z);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set large map frame orientation");
    }
    hr = mainMap.MapViewport->Clear();
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to clear main map viewport");
    }
    hr = mainMap.MapViewport->Render(mainMap.SceneFrame.get());
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to render main map");
    }
    hr = Device->Update();
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to update maps");
    }
    if (!BlitMainMapToScreen()) {
        return false;
    }
    screen_.ShowMapTime(TimeText("Map Time: ", clock.TickCount() - t1));
    return true;
}

bool ViewEngine::BlitMainMapToScreen() {
    if (PrimarySurface == nullptr || BackBuffer == nullptr) {
        return false;
    }
    const PaintBoxPlace box = screen_.MainMapPaintBox();
    const gfx::Rect dest = ScreenRectOf(screen_.ClientOrigin(), box);
    const gfx::Rect source{kMainMapViewportX, 0, kMainMapViewportX + box.width, box.height};
    const gfx::Result hr = PrimarySurface->Blt(&dest, BackBuffer.get(), &source, 0);
    if (hr != gfx::DD_OK) {
        return Fail(hr, "Main Map Primary Surface Blt Error");
    }
    return true;
}

bool ViewEngine::SetDeviceQuality(gfx::rm::Quality quality) {
    if (Device == nullptr) {
        return false;
    }
    const gfx::Result hr = Device->SetQuality(quality);
    if (hr != gfx::D3DRM_OK) {
        return Fail(hr, "Unable to set Render State");
    }
    return true;
}

void ViewEngine::Release() {
    Device.reset();
    RetainedMode.reset();
    MainMapClipper.reset();
    MainScreenClipper.reset();
    GlobeTextureSurface.reset();
    TileArtSurface.reset();
    BackBuffer.reset();
    PrimarySurface.reset();
    DirectDraw.reset();
    if (!released_) {
        released_ = true;
        screen_.ResetDisplaySettings();
    }
}
