#include "platform/gfx/sphere_mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace gfx {

namespace {

void AppendTriple(std::string& out, double a, double b, double c, bool last) {
    char line[96];
    std::snprintf(line, sizeof line, "%.6f;%.6f;%.6f;%s\n", a, b, c, last ? ";" : ",");
    out += line;
}

}  // namespace

std::string SphereMeshText(int rings, int segments, double radius) {
    rings = std::max(rings, 2);
    segments = std::max(segments, 3);
    const double pi = std::numbers::pi;

    // Vertex 0 is the north pole, then rings 1 .. rings - 1 of segments vertices, then the
    // south pole.
    struct Vertex {
        double x, y, z, u, v;
    };
    std::vector<Vertex> vertices;
    vertices.push_back({0, 1, 0, 0, 0});
    for (int i = 1; i < rings; ++i) {
        const double theta = pi * i / rings;
        for (int j = 0; j < segments; ++j) {
            const double phi = 2 * pi * j / segments;
            vertices.push_back({std::sin(theta) * std::cos(phi), std::cos(theta),
                                std::sin(theta) * std::sin(phi), static_cast<double>(j) / segments,
                                static_cast<double>(i) / rings});
        }
    }
    vertices.push_back({0, -1, 0, 0, 1});
    const int south = static_cast<int>(vertices.size()) - 1;
    const auto at = [&](int ring, int column) {
        return 1 + (ring - 1) * segments + column % segments;
    };

    // Seen from outside, columns run to the right and rings downwards; corners go clockwise.
    std::vector<std::array<int, 3>> faces;
    for (int j = 0; j < segments; ++j) {
        faces.push_back({0, at(1, j + 1), at(1, j)});
    }
    for (int i = 1; i + 1 < rings; ++i) {
        for (int j = 0; j < segments; ++j) {
            const int a = at(i, j);
            const int b = at(i, j + 1);
            const int c = at(i + 1, j + 1);
            const int d = at(i + 1, j);
            faces.push_back({a, b, c});
            faces.push_back({a, c, d});
        }
    }
    for (int j = 0; j < segments; ++j) {
        faces.push_back({at(rings - 1, j), at(rings - 1, j + 1), south});
    }

    std::string faceList;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        char line[64];
        std::snprintf(line, sizeof line, "3;%d,%d,%d;%s\n", faces[f][0], faces[f][1], faces[f][2],
                      f + 1 == faces.size() ? ";" : ",");
        faceList += line;
    }

    std::string out = "xof 0302txt 0032\n";
    char comment[96];
    std::snprintf(comment, sizeof comment, "// Sphere of radius %g: %d rings, %d segments.\n",
                  radius, rings, segments);
    out += comment;
    out += "Mesh Sphere {\n" + std::to_string(vertices.size()) + ";\n";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        AppendTriple(out, radius * vertices[i].x, radius * vertices[i].y, radius * vertices[i].z,
                     i + 1 == vertices.size());
    }
    out += std::to_string(faces.size()) + ";\n" + faceList;
    // The normals are the unit directions, whatever the radius.
    out += "MeshNormals {\n" + std::to_string(vertices.size()) + ";\n";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        AppendTriple(out, vertices[i].x, vertices[i].y, vertices[i].z, i + 1 == vertices.size());
    }
    out += std::to_string(faces.size()) + ";\n" + faceList + "}\n";
    out += "MeshTextureCoords {\n" + std::to_string(vertices.size()) + ";\n";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "%.6f;%.6f;%s\n", vertices[i].u, vertices[i].v,
                      i + 1 == vertices.size() ? ";" : ",");
        out += line;
    }
    out += "}\n}\n";
    return out;
}

}  // namespace gfx
