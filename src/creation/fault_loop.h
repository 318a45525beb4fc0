#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "game/world_map.h"

// The random generator of game creation: a 32-bit state advanced as state * 22695477 + 1
// (modulo 2^32); each draw gives bits 16..30 of the new state, a value 0..32767. Seeding sets
// the state itself.
class CreationRandom {
public:
    explicit CreationRandom(uint32_t seed) : state_(seed) {}

    int Rand() {
        state_ = state_ * 22695477u + 1u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

    uint32_t State() const { return state_; }

private:
    uint32_t state_;
};

// The sphere's radius for a world `width` tiles around: width / (2 pi), as float32.
float SphereRadius(int32_t width);

// The positions of the tiles on the sphere, as separate arrays for the fault loop. Every
// tile of a row has the same y, so y is kept once per row; x and z are kept per tile, row
// by row, column by column (index row * 256 + column).
struct TilePositions {
    alignas(64) std::array<float, kWorldRows> y;
    alignas(64) std::array<float, kWorldTiles> x;
    alignas(64) std::array<float, kWorldTiles> z;
};

// Fills the positions of the 128 x 256 tiles on the sphere of the given radius: rows from
// latitude -pi/2 upwards, columns around the row's circle, z negative for columns 65..191.
void ComputeTilePositions(TilePositions& positions, float radius);

// One tile position as a plain record; the straightforward loop works on an array of these.
struct TilePoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

std::vector<TilePoint> TilePointsOf(const TilePositions& positions);

// One fault: the plane through the point (a, b, c) perpendicular to the vector (a, b, c).
// Tiles beyond it move by m (+1 or -1), all others by -m.
struct FaultPlane {
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
    int32_t m = 1;
};

// Draws a fault from the generator: three components -40..40, drawn again together until
// the vector's length is above 0 and at most 40, then the direction (+1 when the draw is
// odd).
FaultPlane DrawFaultPlane(CreationRandom& random);

// The move of one tile under a fault. The differences to (a, b, c) are rounded to float32
// and the sum is taken in double, where it is exact for coordinates of the size of the
// world's; the tile rises by m when the sum truncated toward zero is above 0 (that is, when
// it is at least 1).
inline int32_t FaultMove(float x, float y, float z, const FaultPlane& plane) {
    const float dx = x - static_cast<float>(plane.a);
    const float dy = y - static_cast<float>(plane.b);
    const float dz = z - static_cast<float>(plane.c);
    const double d = plane.a * static_cast<double>(dx) + plane.b * static_cast<double>(dy) +
                     plane.c * static_cast<double>(dz);
    return static_cast<int32_t>(d) > 0 ? plane.m : -plane.m;
}

// The straightforward fault step: every tile of the world, row by row, column by column,
// with its position taken from `points` (index row * 256 + column).
void ApplyFaultPlain(std::span<const TilePoint> points, const FaultPlane& plane, WorldMap& world);

// The vector units a fault loop can use.
enum class FaultKernel {
    Portable,  // 4 floats at a time; every x86-64 has it (a scalar loop elsewhere)
    Avx2,      // 8 floats at a time with fused multiply-add
};

bool FaultKernelSupported(FaultKernel kernel);

// The widest kernel this processor runs.
FaultKernel FastestFaultKernel();

// The altitudes of all tiles while the faults are cut, kept apart from the world grid so
// that the loop streams through them. One call of Apply is one pass over the world.
//
// A row that the plane does not come near moves as a whole: the plane value of its tiles is
// bounded from the row's offset and the largest distance of its tiles from the axis, and when
// that bound keeps every tile on one side, the row's shift changes instead of its tiles. The
// other rows are evaluated in float32 from the positions, which is within 2e-3 of the exact
// value; tiles that land within 2^-8 of the decision boundary are looked at again with the
// exact rule of FaultMove. The result equals ApplyFaultPlain tile for tile; the error bounds
// hold for coordinates within +-80, twice the sphere's radius.
class FaultField {
public:
    // `positions` must outlive the field.
    explicit FaultField(const TilePositions& positions, FaultKernel kernel = FastestFaultKernel());
    ~FaultField();
    FaultField(const FaultField&) = delete;
    FaultField& operator=(const FaultField&) = delete;

    FaultKernel Kernel() const { return kernel_; }

    // Sets every tile to `altitude`.
    void Reset(int32_t altitude);

    // Cuts one fault: every tile moves by +1 or -1.
    void Apply(const FaultPlane& plane);

    int32_t Altitude(int row, int column) const;

    // Writes the altitudes into the world's tiles.
    void CopyAltitudesTo(WorldMap& world) const;

    // Since Reset: how many rows were evaluated tile by tile, and how many of those had tiles
    // close enough to a plane to be looked at again.
    int64_t RowsEvaluated() const { return rowsEvaluated_; }
    int64_t RowsRechecked() const { return rowsRechecked_; }

private:
    struct Altitudes;
    const TilePositions& positions_;
    FaultKernel kernel_;
    std::unique_ptr<Altitudes> altitudes_;
    // The largest distance of each row's tiles from the y axis.
    std::array<double, kWorldRows> rowReach_{};
    int32_t faultsUnsettled_ = 0;
    int64_t rowsEvaluated_ = 0;
    int64_t rowsRechecked_ = 0;
};
