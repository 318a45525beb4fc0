// The two world views set up without a window: a view engine drawing onto a screen held in
// memory, for the command line tool and benchmarks. The set-up reads "sphere3.x" and the
// tile art from the working directory, as the game does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/pixels.h"
#include "view/main_map.h"
#include "view/view_engine.h"
#include "view/view_screen.h"

class WorldMap;

// The files of the data folder the set-up needs but cannot find, as the game names
// them ("sphere3.x", "GAMEART\BlankHex.bmp", ...); empty when all are there.
std::vector<std::string> MissingViewFiles();

class HeadlessViews {
public:
    explicit HeadlessViews(const gfx::PixelFormat& format = gfx::PixelFormat::Xrgb8888());
    ~HeadlessViews();
    HeadlessViews(const HeadlessViews&) = delete;
    HeadlessViews& operator=(const HeadlessViews&) = delete;

    // Runs the four set-up steps for the world with textures of textureResolution pixels.
    // A failure has shown its message through the shell; false then.
    bool SetUp(WorldMap& world, int textureResolution);
    // Gives the globe a turn about its polar axis that the next render pass makes (once per
    // pass until changed; 0 stops it).
    bool SetGlobeTurn(double degrees);
    bool Render();

    // The back buffer as 8-bit RGB, 1200 x 600, rows top to bottom.
    std::vector<std::uint8_t> BackBufferRgb() const;

    MemoryViewScreen& Screen() { return *screen_; }
    ViewEngine& Engine() { return *engine_; }
    MainMap& Map() { return *map_; }

private:
    std::unique_ptr<MemoryViewScreen> screen_;
    std::unique_ptr<MainMap> map_;
    std::unique_ptr<ViewEngine> engine_;
    WorldMap* world_ = nullptr;
};

// Sets the views up for the world in the working directory, turns the globe by
// rotateDegrees about its polar axis in one render pass, and returns the back buffer as
// 8-bit RGB (1200 x 600); empty when the set-up or the pass failed.
std::vector<std::uint8_t> RenderViewsToImage(WorldMap& world, int textureResolution,
                                             double rotateDegrees);
