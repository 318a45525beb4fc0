// The large map's textures: CreateMapTexture at the coarsest and finest texture sides, and
// the composition of the flat world picture alone (24 bands in the strip).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "bench_world.h"
#include "game/world_map.h"
#include "platform/gfx/rm/root.h"
#include "platform/gfx/surface.h"
#include "platform/os/memory_policy.h"
#include "view/main_map.h"
#include "view/tile_art_painter.h"

namespace {

struct MapBench {
    std::shared_ptr<gfx::DirectDraw> directDraw;
    std::shared_ptr<gfx::rm::Root> root;
    std::shared_ptr<gfx::Surface> tileArt;
    std::unique_ptr<WorldMap> world = std::make_unique<WorldMap>();
    bool ready = false;

    MapBench() {
        // The program keeps freed memory for reuse from start-up on; so does the bench.
        KeepFreedMemoryForReuse();
        gfx::DirectDrawCreate(gfx::DisplayMode{}, nullptr, directDraw);
        gfx::rm::Direct3DRMCreate(nullptr, root);
        gfx::SurfaceDesc desc;
        desc.caps = gfx::DDSCAPS_OFFSCREENPLAIN | gfx::DDSCAPS_SYSTEMMEMORY;
        desc.width = kTileArtWidth;
        desc.height = kTileArtHeight;
        directDraw->CreateSurface(desc, tileArt);
        FillBenchWorld(*world);

        // The tile art is painted into a folder of its own and loaded from there.
        namespace fs = std::filesystem;
        const fs::path folder = fs::temp_directory_path() / "velmora-map-bench";
        fs::create_directories(folder / "GAMEART");
        const auto names = BuiltInTerrainTypes();
        const fs::path previous = fs::current_path();
        if (names && WriteTileArt((folder / "GAMEART").string(), *names)) {
            fs::current_path(folder);
            MainMap loader;
            ready = loader.LoadTileArt(*tileArt);
            fs::current_path(previous);
        }
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

MapBench& Bench() {
    static MapBench bench;
    return bench;
}

void BM_MapCreateMapTexture(benchmark::State& state) {
    MapBench& bench = Bench();
    if (!bench.ready) {
        state.SkipWithError("tile art not loaded");
        return;
    }
    for (auto _ : state) {
        auto map = std::make_unique<MainMap>();
        bench.root->CreateMesh(map->MapMesh);
        MapTextureContext context;
        context.directDraw = bench.directDraw.get();
        context.root = bench.root.get();
        context.tileArt = bench.tileArt.get();
        context.world = bench.world.get();
        context.textureResolution = static_cast<int>(state.range(0));
        if (!map->CreateMapTexture(context)) {
            state.SkipWithError("CreateMapTexture failed");
            return;
        }
        benchmark::DoNotOptimize(map->MapMesh->GroupCount());
        // Releasing the textures is part of replacing a map, not of making one.
        state.PauseTiming();
        map.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MapCreateMapTexture)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_MapComposition(benchmark::State& state) {
    MapBench& bench = Bench();
    if (!bench.ready) {
        state.SkipWithError("tile art not loaded");
        return;
    }
    MainMap map;
    for (auto _ : state) {
        map.PrepareStrip(*bench.directDraw);
        for (int g = 0; g < kMapGroupRows; ++g) {
            map.ComposeBand(*bench.world, *bench.tileArt);
        }
        map.ReleaseStrip();
    }
}
BENCHMARK(BM_MapComposition)->Unit(benchmark::kMillisecond);

}  // namespace
