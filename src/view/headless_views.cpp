#include "view/headless_views.h"

#include <numbers>

#include "game/world_map.h"
#include "platform/os/file_lookup.h"
#include "view/tile_art.h"

std::vector<std::string> MissingViewFiles() {
    std::vector<std::string> missing;
    if (!GameFileExists("sphere3.x")) {
        missing.emplace_back("sphere3.x");
    }
    // Every piece of tile art falls back to the Blank bitmap of its kind; without those the
    // tile art cannot be loaded.
    for (PieceKind kind : kPieceKinds) {
        const std::string name = BlankBitmapName(kind);
        if (!GameFileExists(name)) {
            missing.push_back(name);
        }
    }
    return missing;
}

HeadlessViews::HeadlessViews(const gfx::PixelFormat& format)
    : screen_(MakeStandardViewScreen(format)),
      map_(std::make_unique<MainMap>()),
      engine_(std::make_unique<ViewEngine>(*screen_)) {}

HeadlessViews::~HeadlessViews() {
    // The game's order: the large map, the globe's objects, then the engine.
    map_->Release();
    if (world_ != nullptr) {
        ReleaseGlobe(*world_);
    }
    engine_->Release();
}

bool HeadlessViews::SetUp(WorldMap& world, int textureResolution) {
    world_ = &world;
    return engine_->SetUpDirectDraw(*map_) && engine_->SetUpDirect3D() &&
           engine_->SetUpGlobe(world) && engine_->SetUpLargeMap(*map_, world, textureResolution);
}

bool HeadlessViews::SetGlobeTurn(double degrees) {
    GlobeScene* globe = world_ != nullptr ? GlobeOf(*world_) : nullptr;
    if (globe == nullptr || globe->GlobeFrame == nullptr) {
        return false;
    }
    // The sphere's poles lie on the globe frame's y axis.
    const float radians = static_cast<float>(degrees * std::numbers::pi / 180.0);
    return globe->GlobeFrame->SetRotation(globe->GlobeFrame.get(), 0.0f, 1.0f, 0.0f, radians) ==
           gfx::D3DRM_OK;
}

bool HeadlessViews::Render() {
    return world_ != nullptr && engine_->RenderViews(*world_, *map_);
}

std::vector<std::uint8_t> HeadlessViews::BackBufferRgb() const {
    std::vector<std::uint8_t> rgb;
    const gfx::Surface* back = engine_->BackBuffer.get();
    if (back == nullptr) {
        return rgb;
    }
    const gfx::PixelView& view = back->View();
    rgb.resize(static_cast<std::size_t>(view.width) * view.height * 3);
    std::size_t o = 0;
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            const gfx::Rgb c = gfx::RgbFromPixel(back->Format(),
                                                 gfx::LoadPixel(view.At(x, y), view.bytesPerPixel));
            rgb[o++] = c.red;
            rgb[o++] = c.green;
            rgb[o++] = c.blue;
        }
    }
    return rgb;
}

std::vector<std::uint8_t> RenderViewsToImage(WorldMap& world, int textureResolution,
                                             double rotateDegrees) {
    HeadlessViews views;
    if (!views.SetUp(world, textureResolution)) {
        return {};
    }
    if (rotateDegrees != 0.0 && !views.SetGlobeTurn(rotateDegrees)) {
        return {};
    }
    if (!views.Render()) {
        return {};
    }
    return views.BackBufferRgb();
}
