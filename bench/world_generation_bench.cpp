// World generation: the whole creation of a world, and the straightforward fault loop it
// replaces, on the same seeded faults.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "creation/fault_loop.h"
#include "creation/world_generation.h"

namespace {

constexpr uint32_t kBenchSeed = 20240601;

// Every step of a creation with the fastest kernel: positions, 10000 faults, sea level,
// terrain codes, polar caps. The event hook does nothing.
void BM_WorldGeneration(benchmark::State& state) {
    auto world = std::make_unique<WorldMap>();
    WorldGenerationHooks hooks;
    hooks.processPendingEvents = [] {};
    for (auto _ : state) {
        WorldGenerationResult result = GenerateWorld(*world, 40, kBenchSeed, hooks);
        benchmark::DoNotOptimize(result.seaLevel);
    }
    state.SetLabel(FastestFaultKernel() == FaultKernel::Avx2 ? "avx2" : "portable");
}
BENCHMARK(BM_WorldGeneration)->Unit(benchmark::kMillisecond);

// The same creation forced onto the 4-wide kernel every x86-64 has.
void BM_WorldGenerationPortable(benchmark::State& state) {
    auto world = std::make_unique<WorldMap>();
    WorldGenerationHooks hooks;
    hooks.processPendingEvents = [] {};
    for (auto _ : state) {
        WorldGenerationResult result =
            GenerateWorld(*world, 40, kBenchSeed, hooks, FaultKernel::Portable);
        benchmark::DoNotOptimize(result.seaLevel);
    }
}
BENCHMARK(BM_WorldGenerationPortable)->Unit(benchmark::kMillisecond);

// The baseline: the 10000 faults as a plain scalar loop over an array of (x, y, z) records,
// moving each tile's altitude in the world grid.
void BM_FaultLoopPlain(benchmark::State& state) {
    auto positions = std::make_unique<TilePositions>();
    ComputeTilePositions(*positions, SphereRadius(kWorldColumns));
    const std::vector<TilePoint> points = TilePointsOf(*positions);
    auto world = std::make_unique<WorldMap>();
    for (auto _ : state) {
        for (auto& row : world->Tiles) {
            for (Tile& tile : row)
                tile.Altitude = kStartAltitude;
        }
        CreationRandom random(kBenchSeed);
        for (int n = 0; n < kFaultIterations; ++n) {
            ApplyFaultPlain(points, DrawFaultPlane(random), *world);
        }
        benchmark::DoNotOptimize(world->Tiles[64][0].Altitude);
    }
}
BENCHMARK(BM_FaultLoopPlain)->Unit(benchmark::kMillisecond);

}  // namespace
