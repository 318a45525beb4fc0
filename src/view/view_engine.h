// The view engine: the DirectDraw and retained-mode objects of the world view, the set-up of
// the globe and the large map, and the render pass that draws both into one back buffer and
// copies them onto the main screen.
//
// Every failing platform call shows its message box (the failure code's name or a fixed
// text, with the caption naming the step), asks the application to end and makes the
// operation return false at once; later steps of that operation do not run.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "game/globe_objects.h"
#include "platform/gfx/direct3d.h"
#include "platform/gfx/result.h"
#include "platform/gfx/rm/root.h"
#include "platform/gfx/surface.h"
#include "view/globe_texture.h"
#include "view/view_failure.h"
#include "view/view_screen.h"

class Clock;
class MainMap;
class WorldMap;

inline constexpr int kBackBufferWidth = 1200;
inline constexpr int kBackBufferHeight = 600;
// Left edges of the two viewports in the back buffer.
inline constexpr int kMainMapViewportX = 0;
inline constexpr int kGlobeViewportX = 600;
// Render qualities: Gouraud, unlit, solid fill or wire frame.
inline constexpr gfx::rm::Quality kSolidQuality = 129;
inline constexpr gfx::rm::Quality kWireFrameQuality = 65;
// Most Direct3D devices the enumeration counts.
inline constexpr int kMaxDevices = 5;

// The globe's scene objects, kept in the WorldMap (WorldMap::Globe).
struct GlobeScene final : GlobeObjects {
    std::shared_ptr<gfx::rm::Viewport> GlobeViewport;
    std::shared_ptr<gfx::rm::Frame> SceneFrame;
    std::shared_ptr<gfx::rm::Frame> CameraFrame;
    std::shared_ptr<gfx::rm::Frame> GlobeFrame;
    std::shared_ptr<gfx::rm::Texture> GlobeTexture;
    std::shared_ptr<gfx::rm::Wrap> GlobeWrap;
    std::shared_ptr<gfx::rm::MeshBuilder> GlobeMeshBuilder;

    // The world that holds the globe drops it in the release order too.
    ~GlobeScene() override { Release(); }

    // Releases wrap, mesh builder, texture, camera frame, globe frame, scene frame and
    // viewport, in that order.
    void Release();
};

// The globe objects of a world, or null while the globe is not set up.
GlobeScene* GlobeOf(WorldMap& world);

class ViewEngine {
public:
    // screen must outlive the engine; faults (may be null) makes chosen platform calls fail;
    // clock null means the system clock.
    explicit ViewEngine(ViewScreen& screen, std::shared_ptr<gfx::FaultPlan> faults = nullptr,
                        Clock* clock = nullptr);
    ~ViewEngine();
    ViewEngine(const ViewEngine&) = delete;
    ViewEngine& operator=(const ViewEngine&) = delete;

    // --- What the object holds, in order. ---
    std::shared_ptr<gfx::DirectDraw> DirectDraw;
    std::shared_ptr<gfx::rm::Root> RetainedMode;
    std::shared_ptr<gfx::Surface> PrimarySurface;
    std::shared_ptr<gfx::Surface> BackBuffer;
    std::shared_ptr<gfx::Surface> TileArtSurface;
    std::shared_ptr<gfx::Surface> GlobeTextureSurface;
    std::shared_ptr<gfx::rm::Device> Device;
    std::shared_ptr<gfx::Clipper> MainMapClipper;
    std::shared_ptr<gfx::Clipper> MainScreenClipper;
    std::int32_t BytesPerPixel = 0;
    std::int32_t BackBufferPitch = 0;
    Palette PaletteValues{};
    std::int32_t DisplayBitDepth = 0;
    std::int32_t DeviceCount = 0;

    // The device class CreateDevice took (meaningful after SetUpDirect3D).
    gfx::DeviceClass ChosenDeviceClass = gfx::DeviceClass::Rgb;

    // Creates the DirectDraw object, the primary surface, the back buffer, the tile art and
    // globe texture surfaces, loads the tile art (mainMap.LoadTileArt), keys it with black,
    // makes the two clippers and the palette.
    bool SetUpDirectDraw(MainMap& mainMap);
    // Enumerates the devices for the display's bit depth, makes the retained-mode object and
    // the device on the back buffer (hardware, else RGB, else ramp), sets quality 129.
    bool SetUpDirect3D();
    // Builds the globe (frames, texture, mesh from "sphere3.x", wrap, viewport) into
    // world.Globe.
    bool SetUpGlobe(WorldMap& world);
    // Builds the large map's scene objects in mainMap; CreateMapTexture makes its textures
    // and groups with textures of textureResolution x textureResolution pixels.
    bool SetUpLargeMap(MainMap& mainMap, const WorldMap& world, int textureResolution,
                       std::function<void(int percent)> progress = {});
    // One render pass: turns the globe, renders it and copies it to the globe paint box,
    // gives the large map the globe's orientation, renders it and copies it to the main map
    // paint box; shows the two times.
    bool RenderViews(WorldMap& world, MainMap& mainMap);
    // Copies the large map's part of the back buffer onto the main map paint box.
    bool BlitMainMapToScreen();
    bool SetDeviceQuality(gfx::rm::Quality quality);

    // Releases the device, the retained-mode object, the two clippers, the globe texture
    // surface, the tile art surface, the back buffer, the primary surface and the DirectDraw
    // object, then resets the display settings. Safe to call more than once.
    void Release();

    const std::shared_ptr<gfx::FaultPlan>& Faults() const { return faults_; }

    // Shows a failure of the views: the screen first halts what would start another render
    // pass, then the box shows the code's name (or the fixed text) under the caption, then
    // the application is asked to end. Both return false.
    bool Fail(gfx::Result code, const std::string& caption);
    bool FailFixed(const std::string& text, const std::string& caption = kFatalErrorCaption);

private:
    ViewScreen& screen_;
    std::shared_ptr<gfx::FaultPlan> faults_;
    Clock* clock_;
    bool released_ = false;
};

// Releases the globe objects of a world (if any) and empties world.Globe.
void ReleaseGlobe(WorldMap& world);
