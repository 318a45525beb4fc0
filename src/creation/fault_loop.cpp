#include "creation/fault_loop.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VELMORA_FAULT_X86 1
#endif

float SphereRadius(int32_t width) {
    return static_cast<float>(width * 0.15915494307111402);
}

void ComputeTilePositions(TilePositions& positions, float radius) {
    const double radiusSquared = static_cast<double>(radius) * radius;
    std::array<double, kWorldColumns> longitudeSines;
    for (int column = 0; column < kWorldColumns; ++column) {
        const double longitude = (column * 0.00390625 * 2) * 3.141592654;
        longitudeSines[column] = std::sin(longitude);
    }
    for (int row = 0; row < kWorldRows; ++row) {
        const double latitude = row * 0.0078125 * 3.141592654 - 1.570796327;
        const float y = static_cast<float>(std::sin(latitude) * radius);
        const double ySquared = static_cast<double>(y) * y;
        // The radius of the row's circle, by way of its circumference.
        const float circumference =
            static_cast<float>(std::sqrt(radiusSquared - ySquared) * 6.283185308);
        const float rowRadius = static_cast<float>(0.15915494307111402 * circumference);
        positions.y[row] = y;
        for (int column = 0; column < kWorldColumns; ++column) {
            const float x = static_cast<float>(longitudeSines[column] * rowRadius);
            const double rest = radiusSquared - static_cast<double>(x) * x - ySquared;
            float z = rest >= 0.0 ? static_cast<float>(std::sqrt(rest)) : 0.0f;
            if (column > 64 && column < 192)
                z = -z;
            const int tile = row * kWorldColumns + column;
            positions.x[tile] = x;
            positions.z[tile] = z;
        }
    }
}

std::vector<TilePoint> TilePointsOf(const TilePositions& positions) {
    std::vector<TilePoint> points(kWorldTiles);
    for (int tile = 0; tile < kWorldTiles; ++tile) {
        points[tile] = {positions.x[tile], positions.y[tile / kWorldColumns], positions.z[tile]};
    }
    return points;
}

FaultPlane DrawFaultPlane(CreationRandom& random) {
    FaultPlane plane;
    for (;;) {
        plane.a = random.Rand() % 81 - 40;
        plane.b = random.Rand() % 81 - 40;
        plane.c = random.Rand() % 81 - 40;
        const int32_t squared = plane.a * plane.a + plane.b * plane.b + plane.c * plane.c;
        const float length = static_cast<float>(std::sqrt(static_cast<double>(squared)));
        if (length <= 40.0f && length != 0.0f)
            break;
    }
    plane.m = random.Rand() % 2 == 1 ? 1 : -1;
    return plane;
}

void ApplyFaultPlain(std::span<const TilePoint> points, const FaultPlane& plane, WorldMap& world) {
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            const TilePoint& p = points[row * kWorldColumns + column];
            world.Tiles[row][column].Altitude += FaultMove(p.x, p.y, p.z, plane);
        }
    }
}

// The pass moves 16-bit counts, half the bytes of 32-bit altitudes to stream through; the counts
// are settled into the 32-bit altitudes long before they could overflow.
struct FaultField::Altitudes {
    alignas(64) std::array<int16_t, kWorldTiles> moved;
    std::array<int32_t, kWorldTiles> settled;
    // What every tile of a row has moved beyond its own count.
    std::array<int32_t, kWorldRows> rowShift;
};

namespace {

// Plane values closer to 0 than this are looked at again with the exact rule. The float32
// evaluation of the row passes is off by less than 2e-3: it leaves out the rounding of the
// differences x - a (each below 2^-18, times at most 40, three of them) and rounds at most
// five products and sums below 8192 (each by at most 2^-12).
constexpr float kRecheckMargin = 1.0f / 256.0f;

// Room left, when a whole row is judged to lie on one side of a plane, for what the bound
// leaves out: the rounding of the differences x - a (below 3e-4) and of the bound itself.
constexpr double kRowSlack = 1.0e-3;

// One pass over a row of 256 tiles. For the tile (x, z) of the row, the plane value
// v = xFactor * x + zFactor * z + offset is above 0 where the tile moves by +1 and below 0
// where it moves by -1; the pass moves each tile by the sign of v and tells whether any v was
// within kRecheckMargin of 0.
using RowPass = bool (*)(const float* x, const float* z, int16_t* moved, float xFactor,
                         float zFactor, float offset);
// The plane values of a row exactly as its pass computed them.
using RowValues = void (*)(const float* x, const float* z, float xFactor, float zFactor,
                           float offset, float* values);

// The rows of the world sorted for one plane. For the tiles of row r, the plane value differs
// from offsets[r] by at most reachFactor * reach[r] (with reach[r] the row's largest distance
// from the y axis); where |offsets[r]| exceeds that by more than kRowSlack, the whole row
// moves by the sign of offsets[r], added to its row shift. The other rows are marked (bit r
// of `marked`) for a pass over their tiles.
struct RowPlan {
    alignas(32) std::array<double, kWorldRows> offsets;
    std::array<uint64_t, kWorldRows / 64> marked;
};
using RowSort = void (*)(const float* y, const double* reach, double yFactor, double constant,
                         double reachFactor, int32_t* rowShift, RowPlan& plan);

struct RowKernel {
    RowSort sort;
    RowPass pass;
    RowValues values;
};

void SortRowsPortable(const float* y, const double* reach, double yFactor, double constant,
                      double reachFactor, int32_t* rowShift, RowPlan& plan) {
    plan.marked.fill(0);
    for (int row = 0; row < kWorldRows; ++row) {
        const double offset = yFactor * y[row] + constant;
        const bool whole = std::fabs(offset) > reachFactor * reach[row] + kRowSlack;
        plan.offsets[row] = offset;
        rowShift[row] += whole ? (offset > 0.0 ? 1 : -1) : 0;
        plan.marked[row / 64] |= static_cast<uint64_t>(whole ? 0 : 1) << (row % 64);
    }
}

#if VELMORA_FAULT_X86

inline __m128 PlaneValues4(__m128 xFactor, __m128 zFactor, __m128 offset, const float* x,
                           const float* z) {
    return _mm_add_ps(_mm_mul_ps(xFactor, _mm_load_ps(x)),
                      _mm_add_ps(_mm_mul_ps(zFactor, _mm_load_ps(z)), offset));
}

// The moves of 8 tiles from their plane values. Packing the values' bits to 16 bits with
// saturation keeps their signs; the sign bit spread over the lane (0 or -1), or'ed with 1, is
// the move +1 or -1.
inline __m128i MovesOf8(__m128 low, __m128 high, __m128i one) {
    const __m128i signs = _mm_packs_epi32(_mm_castps_si128(low), _mm_castps_si128(high));
    return _mm_or_si128(_mm_srai_epi16(signs, 15), one);
}

bool RowPassPortable(const float* x, const float* z, int16_t* moved, float xFactor, float zFactor,
                     float offset) {
    const __m128 xf = _mm_set1_ps(xFactor);
    const __m128 zf = _mm_set1_ps(zFactor);
    const __m128 off = _mm_set1_ps(offset);
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    const __m128i one = _mm_set1_epi16(1);
    __m128 nearest = _mm_set1_ps(std::numeric_limits<float>::infinity());
    for (int column = 0; column < kWorldColumns; column += 8) {
        const __m128 low = PlaneValues4(xf, zf, off, x + column, z + column);
        const __m128 high = PlaneValues4(xf, zf, off, x + column + 4, z + column + 4);
        __m128i* target = reinterpret_cast<__m128i*>(moved + column);
        _mm_store_si128(target, _mm_add_epi16(_mm_load_si128(target), MovesOf8(low, high, one)));
        nearest = _mm_min_ps(nearest,
                             _mm_min_ps(_mm_and_ps(low, magnitude), _mm_and_ps(high, magnitude)));
    }
    return _mm_movemask_ps(_mm_cmplt_ps(nearest, _mm_set1_ps(kRecheckMargin))) != 0;
}

void RowValuesPortable(const float* x, const float* z, float xFactor, float zFactor, float offset,
                       float* values) {
    const __m128 xf = _mm_set1_ps(xFactor);
    const __m128 zf = _mm_set1_ps(zFactor);
    const __m128 off = _mm_set1_ps(offset);
    for (int column = 0; column < kWorldColumns; column += 4) {
        _mm_storeu_ps(values + column, PlaneValues4(xf, zf, off, x + column, z + column));
    }
}

__attribute__((target("avx2,fma"))) inline __m256 PlaneValues8(__m256 xFactor, __m256 zFactor,
                                                               __m256 offset, const float* x,
                                                               const float* z) {
    return _mm256_fmadd_ps(xFactor, _mm256_load_ps(x),
                           _mm256_fmadd_ps(zFactor, _mm256_load_ps(z), offset));
}

// The moves of 16 tiles, as MovesOf8; the pack works within each 128-bit half, and the
// permutation puts the 16 back in column order.
__attribute__((target("avx2,fma"))) inline __m256i MovesOf16(__m256 low, __m256 high, __m256i one) {
    const __m256i packed = _mm256_packs_epi32(_mm256_castps_si256(low), _mm256_castps_si256(high));
    const __m256i signs = _mm256_permute4x64_epi64(packed, 0xD8);
    return _mm256_or_si256(_mm256_srai_epi16(signs, 15), one);
}

__attribute__((target("avx2,fma"))) bool RowPassAvx2(const float* x, const float* z, int16_t* moved,
                                                     float xFactor, float zFactor, float offset) {
    const __m256 xf = _mm256_set1_ps(xFactor);
    const __m256 zf = _mm256_set1_ps(zFactor);
    const __m256 off = _mm256_set1_ps(offset);
    const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
    const __m256i one = _mm256_set1_epi16(1);
    __m256 nearest = _mm256_set1_ps(std::numeric_limits<float>::infinity());
    // 32 tiles a step, so that the running minimum is a short chain.
    for (int column = 0; column < kWorldColumns; column += 32) {
        const __m256 v0 = PlaneValues8(xf, zf, off, x + column, z + column);
        const __m256 v1 = PlaneValues8(xf, zf, off, x + column + 8, z + column + 8);
        const __m256 v2 = PlaneValues8(xf, zf, off, x + column + 16, z + column + 16);
        const __m256 v3 = PlaneValues8(xf, zf, off, x + column + 24, z + column + 24);
        __m256i* target = reinterpret_cast<__m256i*>(moved + column);
        _mm256_store_si256(target,
                           _mm256_add_epi16(_mm256_load_si256(target), MovesOf16(v0, v1, one)));
        _mm256_store_si256(target + 1,
                           _mm256_add_epi16(_mm256_load_si256(target + 1), MovesOf16(v2, v3, one)));
        const __m256 near01 =
            _mm256_min_ps(_mm256_and_ps(v0, magnitude), _mm256_and_ps(v1, magnitude));
        const __m256 near23 =
            _mm256_min_ps(_mm256_and_ps(v2, magnitude), _mm256_and_ps(v3, magnitude));
        nearest = _mm256_min_ps(nearest, _mm256_min_ps(near01, near23));
    }
    const __m256 near = _mm256_cmp_ps(nearest, _mm256_set1_ps(kRecheckMargin), _CMP_LT_OQ);
    return _mm256_movemask_ps(near) != 0;
}

__attribute__((target("avx2,fma"))) void SortRowsAvx2(const float* y, const double* reach,
                                                      double yFactor, double constant,
                                                      double reachFactor, int32_t* rowShift,
                                                      RowPlan& plan) {
    const __m256d yf = _mm256_set1_pd(yFactor);
    const __m256d base = _mm256_set1_pd(constant);
    const __m256d rf = _mm256_set1_pd(reachFactor);
    const __m256d slack = _mm256_set1_pd(kRowSlack);
    const __m256d sign = _mm256_set1_pd(-0.0);
    const __m256d one = _mm256_set1_pd(1.0);
    plan.marked.fill(0);
    for (int row = 0; row < kWorldRows; row += 4) {
        const __m256d offset = _mm256_fmadd_pd(yf, _mm256_cvtps_pd(_mm_loadu_ps(y + row)), base);
        _mm256_store_pd(plan.offsets.data() + row, offset);
        const __m256d bound = _mm256_fmadd_pd(rf, _mm256_loadu_pd(reach + row), slack);
        const __m256d whole = _mm256_cmp_pd(_mm256_andnot_pd(sign, offset), bound, _CMP_GT_OQ);
        // 1 with the offset's sign where the row moves as a whole, else 0.
        const __m256d step = _mm256_and_pd(whole, _mm256_or_pd(_mm256_and_pd(offset, sign), one));
        __m128i* shift = reinterpret_cast<__m128i*>(rowShift + row);
        _mm_storeu_si128(shift, _mm_add_epi32(_mm_loadu_si128(shift), _mm256_cvtpd_epi32(step)));
        const uint64_t rest = ~static_cast<uint64_t>(_mm256_movemask_pd(whole)) & 0xF;
        plan.marked[row / 64] |= rest << (row % 64);
    }
}

__attribute__((target("avx2,fma"))) void RowValuesAvx2(const float* x, const float* z,
                                                       float xFactor, float zFactor, float offset,
                                                       float* values) {
    const __m256 xf = _mm256_set1_ps(xFactor);
    const __m256 zf = _mm256_set1_ps(zFactor);
    const __m256 off = _mm256_set1_ps(offset);
    for (int column = 0; column < kWorldColumns; column += 8) {
        _mm256_storeu_ps(values + column, PlaneValues8(xf, zf, off, x + column, z + column));
    }
}

#else

inline float PlaneValue(float xFactor, float zFactor, float offset, float x, float z) {
    return xFactor * x + (zFactor * z + offset);
}

bool RowPassPortable(const float* x, const float* z, int16_t* moved, float xFactor, float zFactor,
                     float offset) {
    bool near = false;
    for (int column = 0; column < kWorldColumns; ++column) {
        const float v = PlaneValue(xFactor, zFactor, offset, x[column], z[column]);
        moved[column] = static_cast<int16_t>(moved[column] + (std::signbit(v) ? -1 : 1));
        near |= std::fabs(v) < kRecheckMargin;
    }
    return near;
}

void RowValuesPortable(const float* x, const float* z, float xFactor, float zFactor, float offset,
                       float* values) {
    for (int column = 0; column < kWorldColumns; ++column) {
        values[column] = PlaneValue(xFactor, zFactor, offset, x[column], z[column]);
    }
}

#endif

const RowKernel& RowKernelOf(FaultKernel kernel) {
    static const RowKernel portable{SortRowsPortable, RowPassPortable, RowValuesPortable};
#if VELMORA_FAULT_X86
    static const RowKernel avx2{SortRowsAvx2, RowPassAvx2, RowValuesAvx2};
    if (kernel == FaultKernel::Avx2)
        return avx2;
#else
    (void)kernel;
#endif
    return portable;
}

// Corrects the tiles of one row whose plane value, as the pass used it, was near 0: the pass
// moved them by +1 for a clear sign bit and by -1 for a set one; FaultMove gives the true move.
void RecheckRow(const TilePositions& positions, const FaultPlane& plane, int row,
                const float* values, int16_t* moved) {
    const int first = row * kWorldColumns;
    for (int column = 0; column < kWorldColumns; ++column) {
        if (!(std::fabs(values[column]) < kRecheckMargin))
            continue;
        const int32_t applied = std::signbit(values[column]) ? -1 : 1;
        const int32_t exact = FaultMove(positions.x[first + column], positions.y[row],
                                        positions.z[first + column], plane);
        moved[column] = static_cast<int16_t>(moved[column] + exact - applied);
    }
}

}  // namespace

bool FaultKernelSupported(FaultKernel kernel) {
    switch (kernel) {
        case FaultKernel::Portable:
            return true;
        case FaultKernel::Avx2:
#if VELMORA_FAULT_X86
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
            return false;
#endif
    }
    return false;
}

FaultKernel FastestFaultKernel() {
    static const FaultKernel fastest =
        FaultKernelSupported(FaultKernel::Avx2) ? FaultKernel::Avx2 : FaultKernel::Portable;
    return fastest;
}

FaultField::FaultField(const TilePositions& positions, FaultKernel kernel)
    : positions_(positions),
      kernel_(FaultKernelSupported(kernel) ? kernel : FaultKernel::Portable),
      altitudes_(std::make_unique<Altitudes>()) {
    for (int row = 0; row < kWorldRows; ++row) {
        double reach = 0.0;
        for (int tile = row * kWorldColumns; tile < (row + 1) * kWorldColumns; ++tile) {
            const double x = positions.x[tile];
            const double z = positions.z[tile];
            reach = std::max(reach, std::sqrt(x * x + z * z));
        }
        rowReach_[row] = reach;
    }
    Reset(0);
}

FaultField::~FaultField() = default;

void FaultField::Reset(int32_t altitude) {
    altitudes_->moved.fill(0);
    altitudes_->settled.fill(altitude);
    altitudes_->rowShift.fill(0);
    faultsUnsettled_ = 0;
    rowsEvaluated_ = 0;
    rowsRechecked_ = 0;
}

void FaultField::Apply(const FaultPlane& plane) {
    // A count moves by 1 per fault, plus corrections that stay within that.
    if (++faultsUnsettled_ > std::numeric_limits<int16_t>::max()) {
        for (int tile = 0; tile < kWorldTiles; ++tile) {
            altitudes_->settled[tile] += altitudes_->moved[tile];
        }
        altitudes_->moved.fill(0);
        faultsUnsettled_ = 1;
    }
    // The plane test rewritten for the vector units: for the tile (x, y, z), the plane value
    // v = m (a x + b y + c z - (a^2 + b^2 + c^2) - 1) is m (d - 1) but for the rounding of the
    // differences x - a, y - b, z - c. The tile moves by +1 where m (d - 1) is above 0 (or 0
    // with m = 1) and by -1 elsewhere; values near 0 are rechecked. The share
    // m (b y - a^2 - b^2 - c^2 - 1) is the same for a whole row: the row's offset.
    const RowKernel& kernel = RowKernelOf(kernel_);
    const int32_t squared = plane.a * plane.a + plane.b * plane.b + plane.c * plane.c;
    const double constant = -static_cast<double>(plane.m) * (squared + 1);
    const double yFactor = static_cast<double>(plane.m) * plane.b;
    // The largest |(m a) x + (m c) z| per unit of a tile's distance from the y axis.
    const double reachFactor =
        std::sqrt(static_cast<double>(plane.a * plane.a + plane.c * plane.c));
    const float xFactor = static_cast<float>(plane.m * plane.a);
    const float zFactor = static_cast<float>(plane.m * plane.c);
    RowPlan plan;
    kernel.sort(positions_.y.data(), rowReach_.data(), yFactor, constant, reachFactor,
                altitudes_->rowShift.data(), plan);
    for (int word = 0; word < kWorldRows / 64; ++word) {
        for (uint64_t rows = plan.marked[word]; rows != 0; rows &= rows - 1) {
            const int row = word * 64 + std::countr_zero(rows);
            ++rowsEvaluated_;
            const int first = row * kWorldColumns;
            const float* x = positions_.x.data() + first;
            const float* z = positions_.z.data() + first;
            int16_t* moved = altitudes_->moved.data() + first;
            const float rowOffset = static_cast<float>(plan.offsets[row]);
            if (kernel.pass(x, z, moved, xFactor, zFactor, rowOffset)) {
                ++rowsRechecked_;
                float values[kWorldColumns];
                kernel.values(x, z, xFactor, zFactor, rowOffset, values);
                RecheckRow(positions_, plane, row, values, moved);
            }
        }
    }
}

int32_t FaultField::Altitude(int row, int column) const {
    const int tile = row * kWorldColumns + column;
    return altitudes_->settled[tile] + altitudes_->moved[tile] + altitudes_->rowShift[row];
}

void FaultField::CopyAltitudesTo(WorldMap& world) const {
    for (int row = 0; row < kWorldRows; ++row) {
        for (int column = 0; column < kWorldColumns; ++column) {
            world.Tiles[row][column].Altitude = Altitude(row, column);
        }
    }
}
