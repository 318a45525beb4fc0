// Writes the globe's mesh file: a sphere of radius 2 with 24 rings and 48 segments. The globe
// frame starts 7 units from the camera and zooms between about 3.9 and 10; with the default
// field of 0.5, a radius of 2 lets the fully zoomed-in globe just fill its box (and stay
// clear of the front clip plane at 1) and shows it at a little over half the box's height
// at the start.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "platform/gfx/sphere_mesh.h"

namespace {
constexpr double kGlobeRadius = 2.0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: make_sphere OUTPUT.x\n";
        return 2;
    }
    const std::string text = gfx::SphereMeshText(24, 48, kGlobeRadius);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "make_sphere: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
