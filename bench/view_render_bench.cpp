// One render pass of the view engine on a loaded game: the globe (207 x 151) and the large
// map (575 x 287, 1152 textured groups) rendered into the back buffer and copied to a
// screen in memory, in solid fill and in wire frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

#include "bench_world.h"
#include "game/world_map.h"
#include "platform/gfx/sphere_mesh.h"
#include "platform/os/scripted_ui_shell.h"
#include "view/headless_views.h"
#include "view/tile_art_painter.h"

namespace {

struct LoadedGame {
    ScriptedUiShell shell;
    std::unique_ptr<WorldMap> world = std::make_unique<WorldMap>();
    std::unique_ptr<HeadlessViews> views = std::make_unique<HeadlessViews>();
    bool ready = false;

    LoadedGame() {
        ScopedShell scoped(shell);
        FillBenchWorld(*world);
        // The run folder: the sphere mesh the game ships and the painted tile art.
        namespace fs = std::filesystem;
        const fs::path folder = fs::temp_directory_path() / "velmora-view-bench";
        fs::create_directories(folder / "GAMEART");
        std::ofstream(folder / "sphere3.x") << gfx::SphereMeshText(
            gfx::kGlobeMeshRings, gfx::kGlobeMeshSegments, gfx::kGlobeMeshRadius);
        const auto names = BuiltInTerrainTypes();
        const fs::path previous = fs::current_path();
        if (names && WriteTileArt((folder / "GAMEART").string(), *names)) {
            fs::current_path(folder);
            ready = views->SetUp(*world, 50) && views->SetGlobeTurn(1.0);
            fs::current_path(previous);
        }
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

LoadedGame& Game() {
    static LoadedGame game;
    return game;
}

void BM_ViewEngineRenderViews(benchmark::State& state) {
    LoadedGame& game = Game();
    if (!game.ready) {
        state.SkipWithError("the game could not be set up");
        return;
    }
    ScopedShell scoped(game.shell);
    ViewEngine& engine = game.views->Engine();
    engine.SetDeviceQuality(state.range(0) != 0 ? kWireFrameQuality : kSolidQuality);
    for (auto _ : state) {
        if (!game.views->Render()) {
            state.SkipWithError("render pass failed");
            break;
        }
    }
    engine.SetDeviceQuality(kSolidQuality);
}
BENCHMARK(BM_ViewEngineRenderViews)->ArgName("wire")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
