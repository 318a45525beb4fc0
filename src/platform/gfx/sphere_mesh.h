// The sphere the globe is drawn with, as the text of a mesh file.
#pragma once

#include <string>

namespace gfx {

// A sphere of the given radius centred on the origin with its poles on the y axis: rings bands of
// latitude (at least 2) and segments vertices around each ring (at least 3), one vertex at each
// pole, faces clockwise seen from outside, with normals and texture co-ordinates (u from 0 to 1
// eastward, v from 0 at the north pole to 1 at the south pole).
std::string SphereMeshText(int rings, int segments, double radius = 1.0);

// The radius of the globe mesh in the run folder. The globe frame starts 7 units from the
// camera and zooms between about 3.9 and 10; with the default field of 0.5, a radius of 2
// lets the fully zoomed-in globe just fill its box (and stay clear of the front clip plane
// at 1) and shows it at a little over half the box's height at the start.
inline constexpr double kGlobeMeshRadius = 2.0;
// Its rings and segments: edges of 11.25 degrees keep the outline within half a pixel of a
// circle even when the globe fills its box, at less than half the faces of a finer mesh
// (the globe's cost in a render pass is per face, not per pixel).
inline constexpr int kGlobeMeshRings = 16;
inline constexpr int kGlobeMeshSegments = 32;

}  // namespace gfx
