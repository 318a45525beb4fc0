// The sphere the globe is drawn with, as the text of a mesh file.
#pragma once

#include <string>

namespace gfx {

// A sphere of the given radius centred on the origin with its poles on the y axis: rings bands of
// latitude (at least 2) and segments vertices around each ring (at least 3), one vertex at each
// pole, faces clockwise seen from outside, with normals and texture co-ordinates (u from 0 to 1
// eastward, v from 0 at the north pole to 1 at the south pole).
std::string SphereMeshText(int rings, int segments, double radius = 1.0);

// The radius of the globe mesh in the run folder: a unit sphere, for which the globe's
// distances are chosen (it starts 7 units from the camera and zooms between about 3.9 and
// 10, always well clear of the front clip plane at 1).
inline constexpr double kGlobeMeshRadius = 1.0;
// Its rings and segments: edges of 11.25 degrees keep the outline within half a pixel of a
// circle even when the globe fills its box, at less than half the faces of a finer mesh
// (the globe's cost in a render pass is per face, not per pixel).
inline constexpr int kGlobeMeshRings = 16;
inline constexpr int kGlobeMeshSegments = 32;

}  // namespace gfx
