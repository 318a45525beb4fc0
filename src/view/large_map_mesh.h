// The large map's sphere: its vertex grid, the 24 x 48 mesh groups cut from it and the
// portions of each band of the flat world picture that texture them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/gfx/pixels.h"
#include "platform/gfx/rm/math.h"
#include "platform/gfx/rm/mesh.h"
#include "platform/gfx/rm/types.h"

inline constexpr int kMapGroupRows = 24;
inline constexpr int kMapGroupColumns = 48;
inline constexpr int kMapGroupCount = kMapGroupRows * kMapGroupColumns;
inline constexpr int kVertexRings = 49;
inline constexpr int kVertexColumns = 96;
inline constexpr int kGroupVertexCount = 9;
inline constexpr int kGroupFaceCount = 8;

// Sphere radius of the grid, the arc between rings, the longitude step and start, and the
// scale that brings the grid to a radius of very nearly 2.
inline constexpr float kGridRadius = static_cast<float>(16384 * 0.15915494307111402);
inline constexpr float kRingArc = 170.67f;
inline constexpr float kLongitudeStart = 1.5707964f;
inline constexpr float kLongitudeStep = 0.06544984695833334f;
inline constexpr float kMapVertexScale = 0.0007669888019634914f;

// Flat shading, lighting on, solid fill.
inline constexpr gfx::rm::Quality kMapGroupQuality = 136;

// The eight faces of a group: a fan of triangles around the centre vertex 4.
inline constexpr std::array<unsigned, kGroupFaceCount* 3> kGroupFaces = {
    0, 1, 4, 1, 2, 4, 2, 5, 4, 5, 8, 4, 8, 7, 4, 7, 6, 4, 6, 3, 4, 3, 0, 4};

// 49 rings from the north pole (ring 0) to the south pole (ring 48), 96 vertices each.
using VertexGrid = std::array<std::array<gfx::rm::Vec3, kVertexColumns>, kVertexRings>;

// Ring k lies at the arc of k accumulated steps of 170.67 from the pole; vertex j of a ring
// at the longitude angle of j accumulated steps from 1.5707964. 32-bit float arithmetic.
VertexGrid ComputeVertexGrid();

// The nine vertices of group (g, h): rings 2g .. 2g + 2 (i) and grid columns 2h .. 2h + 2 (j,
// column 96 being column 0), vertex 3i + j at the grid position times kMapVertexScale with
// texture co-ordinates (0.5j, 0.5i); normals and colours left at zero.
std::array<gfx::rm::MeshVertex, kGroupVertexCount> GroupVertices(const VertexGrid& grid, int g,
                                                                 int h);

// Rows of band g that its textures take: 261, and 252 for the last band.
int BandTextureRows(int g);

// The strip rectangle cut into texture (g, h): columns trunc(h * W / 48) up to trunc((h + 1)
// * W / 48), rows 0 up to BandTextureRows(g).
gfx::Rect PortionRect(int g, int h, int stripWidth);

// "Map Creation Time: N milliseconds".
std::string CreationTimeText(std::int32_t milliseconds);
