// Writes the globe's mesh file: a sphere of radius kGlobeMeshRadius with kGlobeMeshRings
// rings and kGlobeMeshSegments segments.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "platform/gfx/sphere_mesh.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: make_sphere OUTPUT.x\n";
        return 2;
    }
    const std::string text =
        gfx::SphereMeshText(gfx::kGlobeMeshRings, gfx::kGlobeMeshSegments, gfx::kGlobeMeshRadius);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "make_sphere: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
