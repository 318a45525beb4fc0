#include "view/large_map_mesh.h"

#include <cmath>

VertexGrid ComputeVertexGrid() {
    VertexGrid grid{};
    float arc = 0.0f;
    for (int k = 0; k < kVertexRings; ++k) {
        const float theta = arc / kGridRadius;
        const float rho = static_cast<float>(std::sin(static_cast<double>(theta)) * kGridRadius);
        const float y = static_cast<float>(std::cos(static_cast<double>(theta)) * kGridRadius);
        float phi = kLongitudeStart;
        for (int j = 0; j < kVertexColumns; ++j) {
            const float x = static_cast<float>(std::cos(static_cast<double>(phi)) * rho);
            const float z = static_cast<float>(std::sin(static_cast<double>(phi)) * rho);
            grid[k][j] = gfx::rm::Vec3{x, y, z};
            phi += kLongitudeStep;
        }
        arc += kRingArc;
    }
    return grid;
}

std::array<gfx::rm::MeshVertex, kGroupVertexCount> GroupVertices(const VertexGrid& grid, int g,
                                                                 int h) {
    std::array<gfx::rm::MeshVertex, kGroupVertexCount> vertices{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const gfx::rm::Vec3& p = grid[2 * g + i][(2 * h + j) % kVertexColumns];
            gfx::rm::MeshVertex& v = vertices[3 * i + j];
            v.position =
                gfx::rm::Vec3{p.x * kMapVertexScale, p.y * kMapVertexScale, p.z * kMapVertexScale};
            v.tu = 0.5f * static_cast<float>(j);
            v.tv = 0.5f * static_cast<float>(i);
        }
    }
    return vertices;
}

int BandTextureRows(int g) {
    return g == kMapGroupRows - 1 ? 252 : 261;
}

gfx::Rect PortionRect(int g, int h, int stripWidth) {
    constexpr double kOneFortyEighth = 0.020833333333333332;
    const int left = static_cast<int>(static_cast<double>(h) * stripWidth * kOneFortyEighth);
    const int right = static_cast<int>(static_cast<double>(h + 1) * stripWidth * kOneFortyEighth);
    return gfx::Rect{left, 0, right, BandTextureRows(g)};
}

std::string CreationTimeText(std::int32_t milliseconds) {
    return "Map Creation Time: " + std::to_string(milliseconds) + " milliseconds";
}
