// The large map's textures: CreateMapTexture at the coarsest and finest texture sides, and
// the composition of the flat world picture alone (24 bands in the strip).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "game/world_map.h"
#include "platform/gfx/rm/root.h"
#include "platform/gfx/surface.h"
#include "platform/os/memory_policy.h"
#include "view/main_map.h"
#include "view/tile_art_painter.h"

namespace {

// Sea and land from a few overlapping waves, ice caps at both poles.
void FillWorld(WorldMap& world) {
    for (int r = 0; r < kWorldRows; ++r) {
        for (int c = 0; c < kWorldColumns; ++c) {
            const double a = 2 * 3.14159265358979 * c / kWorldColumns;
            const double b = 3.14159265358979 * r / kWorldRows;
            const double height = std::sin(3 * a + 1.0) * std::sin(2 * b) +
                                  0.6 * std::sin(7 * a + 5 * b) + 0.3 * std::cos(11 * a - 9 * b);
            std::int32_t terrain = height > 0.25 ? 2 + static_cast<int>(height * 2) % 4 : 0;
            if (r < 8 || r >= kWorldRows - 8) {
                terrain = 6;
            }
            world.At(r, c).Terrain = terrain;
        }
    }
}

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
        FillWorld(*world);

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
