// The sphere the globe is drawn with, as the text of a mesh file.
#pragma once

#include <string>

namespace gfx {

// A sphere of the given radius centred on the origin with its poles on the y axis: rings bands of
// latitude (at least 2) and segments vertices around each ring (at least 3), one vertex at each
// pole, faces clockwise seen from outside, with normals and texture co-ordinates (u from 0 to 1
// eastward, v from 0 at the north pole to 1 at the south pole).
std::string SphereMeshText(int rings, int segments, double radius = 1.0);

}  // namespace gfx
