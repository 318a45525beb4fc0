#include "creation/fault_loop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::vector<FaultKernel> SupportedKernels() {
    std::vector<FaultKernel> kernels = {FaultKernel::Portable};
    if (FaultKernelSupported(FaultKernel::Avx2))
        kernels.push_back(FaultKernel::Avx2);
    return kernels;
}

std::unique_ptr<TilePositions> SpherePositions() {
    auto positions = std::make_unique<TilePositions>();
    ComputeTilePositions(*positions, SphereRadius(kWorldColumns));
    return positions;
}

std::unique_ptr<WorldMap> FlatWorld(int32_t altitude) {
    auto world = std::make_unique<WorldMap>();
    for (auto& row : world->Tiles) {
        for (Tile& tile : row)
            tile.Altitude = altitude;
    }
    return world;
}

// The altitudes after the planes, by the straightforward loop from 1000.
std::unique_ptr<WorldMap> PlainResult(const TilePositions& positions,
                                      const std::vector<FaultPlane>& planes) {
    const std::vector<TilePoint> points = TilePointsOf(positions);
    auto world = FlatWorld(1000);
    for (const FaultPlane& plane : planes)
        ApplyFaultPlain(points, plane, *world);
    return world;
}

// Applies the planes to the field from 1000 and expects the plain loop's altitude on every
// tile.
void ExpectSameAsPlain(FaultField& field, const std::vector<FaultPlane>& planes,
                       const WorldMap& plain) {
    field.Reset(1000);
    for (const FaultPlane& plane : planes)
        field.Apply(plane);
    int mismatches = 0;
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            if (field.Altitude(row, column) == plain.Tiles[row][column].Altitude)
                continue;
            if (++mismatches <= 5) {
                ADD_FAILURE() << "tile " << row << "," << column << ": fast "
                              << field.Altitude(row, column) << ", plain "
                              << plain.Tiles[row][column].Altitude;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(CreationRandomTest, AdvancesTheStateAndGivesBits16To30) {
    CreationRandom fromZero(0);
    const int expected[] = {0, 346, 130, 10982, 1090};
    for (int value : expected)
        EXPECT_EQ(fromZero.Rand(), value);

    CreationRandom wrapping(0xFFFFFFFFu);
    EXPECT_EQ(wrapping.Rand(), 32421);
    EXPECT_EQ(wrapping.State(), 4272271820u);
    EXPECT_EQ(wrapping.Rand(), 561);
    EXPECT_EQ(wrapping.State(), 2184312637u);
}

TEST(FaultPlaneTest, DrawsShortNonZeroVectorsAndBothDirections) {
    CreationRandom random(12345);
    int up = 0;
    for (int i = 0; i < 2000; ++i) {
        const FaultPlane plane = DrawFaultPlane(random);
        const int32_t squared = plane.a * plane.a + plane.b * plane.b + plane.c * plane.c;
        ASSERT_GT(squared, 0);
        ASSERT_LE(squared, 1600);  // so every component lies within -40..40
        ASSERT_TRUE(plane.m == 1 || plane.m == -1);
        up += plane.m == 1 ? 1 : 0;
    }
    EXPECT_GT(up, 800);
    EXPECT_LT(up, 1200);
}

TEST(FaultPlaneTest, RedrawsAllThreeComponentsOfATooLongVector) {
    // The first seed whose first three draws make a vector longer than 40: the plane comes
    // from the next three draws and the direction from the seventh.
    auto component = [](int draw) { return draw % 81 - 40; };
    for (uint32_t seed = 1;; ++seed) {
        CreationRandom probe(seed);
        int draws[7];
        for (int& draw : draws)
            draw = probe.Rand();
        const int firstSquared = component(draws[0]) * component(draws[0]) +
                                 component(draws[1]) * component(draws[1]) +
                                 component(draws[2]) * component(draws[2]);
        const int secondSquared = component(draws[3]) * component(draws[3]) +
                                  component(draws[4]) * component(draws[4]) +
                                  component(draws[5]) * component(draws[5]);
        if (firstSquared <= 1600 || secondSquared > 1600 || secondSquared == 0)
            continue;
        CreationRandom random(seed);
        const FaultPlane plane = DrawFaultPlane(random);
        EXPECT_EQ(plane.a, component(draws[3]));
        EXPECT_EQ(plane.b, component(draws[4]));
        EXPECT_EQ(plane.c, component(draws[5]));
        EXPECT_EQ(plane.m, draws[6] % 2 == 1 ? 1 : -1);
        EXPECT_EQ(random.State(), probe.State());
        break;
    }
}

TEST(TilePositionsTest, LieOnTheSphereInTheirRowsAndHalves) {
    auto positions = SpherePositions();
    const float radius = SphereRadius(kWorldColumns);
    EXPECT_FLOAT_EQ(radius, 40.743664f);

    // Row 0 is the pole: all of its tiles share one point.
    EXPECT_FLOAT_EQ(positions->y[0], -radius);
    for (int column = 0; column < kWorldColumns; ++column) {
        EXPECT_EQ(positions->x[column], 0.0f);
        EXPECT_EQ(positions->z[column], 0.0f);
    }
    EXPECT_EQ(positions->y[64], 0.0f);
    for (int row = 1; row < kWorldRows; ++row) {
        EXPECT_GT(positions->y[row], positions->y[row - 1]);
        for (int column = 0; column < kWorldColumns; ++column) {
            const int tile = row * kWorldColumns + column;
            const double x = positions->x[tile];
            const double y = positions->y[row];
            const double z = positions->z[tile];
            EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), radius, 1e-4);
            if (column > 64 && column < 192) {
                EXPECT_LE(z, 0.0) << row << "," << column;
            } else {
                EXPECT_GE(z, 0.0) << row << "," << column;
            }
        }
    }
}

TEST(FaultMoveTest, RisesOnlyWhenTheTruncatedSumIsAboveZero) {
    const FaultPlane up{1, 0, 0, 1};
    EXPECT_EQ(FaultMove(2.0f, 0.0f, 0.0f, up), 1);   // d = 1
    EXPECT_EQ(FaultMove(1.5f, 0.0f, 0.0f, up), -1);  // d = 0.5 truncates to 0
    EXPECT_EQ(FaultMove(1.0f, 0.0f, 0.0f, up), -1);  // d = 0
    EXPECT_EQ(FaultMove(0.5f, 0.0f, 0.0f, up), -1);  // d = -0.5 truncates to 0
    EXPECT_EQ(FaultMove(std::nextafter(2.0f, 0.0f), 0.0f, 0.0f, up), -1);
    const FaultPlane down{1, 0, 0, -1};
    EXPECT_EQ(FaultMove(2.0f, 0.0f, 0.0f, down), -1);
    EXPECT_EQ(FaultMove(1.5f, 0.0f, 0.0f, down), 1);
    // The differences are rounded to float32 before the sum: float(31 + 2^-19 + 1) is 32,
    // so d = 33 - 32 is exactly 1, although the unrounded sum is a little less.
    const FaultPlane rounded{1, -1, 0, 1};
    EXPECT_EQ(FaultMove(34.0f, 31.0f + 0x1p-19f, 0.0f, rounded), 1);
}

TEST(FaultFieldTest, EqualsThePlainLoopOnASeededSphere) {
    auto positions = SpherePositions();
    CreationRandom random(7);
    std::vector<FaultPlane> planes;
    for (int i = 0; i < 1200; ++i)
        planes.push_back(DrawFaultPlane(random));
    const auto plain = PlainResult(*positions, planes);
    for (FaultKernel kernel : SupportedKernels()) {
        SCOPED_TRACE(static_cast<int>(kernel));
        FaultField field(*positions, kernel);
        ExpectSameAsPlain(field, planes, *plain);
        // Whole rows moved together for many planes, and some tiles were near a plane.
        const int64_t rows = static_cast<int64_t>(planes.size()) * kWorldRows;
        EXPECT_LT(field.RowsEvaluated(), rows * 3 / 4);
        EXPECT_GT(field.RowsEvaluated(), rows / 8);
        EXPECT_GT(field.RowsRechecked(), 0);
    }
}

// Tiles placed exactly on, and one float step either side of, the point where the sum is 1:
// the float32 evaluation cannot tell them apart, the exact rule must.
TEST(FaultFieldTest, DecidesTilesAtTheBoundaryByTheExactRule) {
    CreationRandom random(99);
    auto positions = std::make_unique<TilePositions>();
    std::vector<FaultPlane> planes;
    for (int row = 0; row < kWorldRows; ++row) {
        // With a = 1 or -1, a * float(x - a) hits any target on a fine grid.
        FaultPlane plane = DrawFaultPlane(random);
        plane.a = random.Rand() % 2 == 1 ? 1 : -1;
        planes.push_back(plane);
        positions->y[row] = static_cast<float>(plane.b) + 0.25f;
        for (int column = 0; column < kWorldColumns; ++column) {
            const int tile = row * kWorldColumns + column;
            const double zOffset = 0.5 * (column % 5) - 1.0;
            const double rest = 1.0 - plane.b * 0.25 - plane.c * zOffset;
            float x = static_cast<float>(rest * plane.a + plane.a);  // a * float(x - a) = rest
            if (column % 3 == 1)
                x = std::nextafter(x, 100.0f);
            if (column % 3 == 2)
                x = std::nextafter(x, -100.0f);
            positions->x[tile] = x;
            positions->z[tile] = static_cast<float>(plane.c + zOffset);
        }
    }
    // Each row was laid out for its own plane; every plane is applied to the whole field.
    const auto plain = PlainResult(*positions, planes);
    for (FaultKernel kernel : SupportedKernels()) {
        SCOPED_TRACE(static_cast<int>(kernel));
        FaultField field(*positions, kernel);
        ExpectSameAsPlain(field, planes, *plain);
        EXPECT_GE(field.RowsRechecked(), kWorldRows);
    }
}

TEST(FaultFieldTest, CountsBeyondSixteenBitsOfFaults) {
    // Row 0 straddles the plane x = 2 (tiles at x = 5 and x = -5); every other row sits at
    // the origin, wholly below it.
    auto positions = std::make_unique<TilePositions>();
    positions->y.fill(0.0f);
    positions->x.fill(0.0f);
    positions->z.fill(0.0f);
    for (int column = 0; column < kWorldColumns; ++column) {
        positions->x[column] = column % 2 == 0 ? 5.0f : -5.0f;
    }
    const int faults = 33000;
    for (FaultKernel kernel : SupportedKernels()) {
        FaultField field(*positions, kernel);
        field.Reset(1000);
        for (int n = 0; n < faults; ++n)
            field.Apply({1, 0, 0, 1});
        EXPECT_EQ(field.Altitude(0, 0), 1000 + faults);
        EXPECT_EQ(field.Altitude(0, 1), 1000 - faults);
        EXPECT_EQ(field.Altitude(1, 0), 1000 - faults);
        EXPECT_EQ(field.Altitude(127, 255), 1000 - faults);
        EXPECT_EQ(field.RowsEvaluated(), faults);
    }
}

}  // namespace
