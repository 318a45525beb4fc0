// Reader of text mesh files ("xof 0302txt 0032" and friends): the first Mesh block, at the top
// level or inside Frame blocks, with its vertices and faces and, when present, its
// MeshNormals and MeshTextureCoords. Templates and every other block are skipped. Binary and
// compressed files are refused. The reader is bounded: it never reads past the input and
// refuses counts that the input cannot hold, faces with a vertex number out of range, and
// nesting deeper than a fixed limit.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/result.h"

namespace gfx {

struct XMeshData {
    std::vector<std::array<float, 3>> positions;
    // Faces as corner counts and the corners' vertex numbers, one face after the other.
    std::vector<std::uint32_t> faceSizes;
    std::vector<std::uint32_t> faceVertices;
    // One normal per position when the file has normals (the normal a vertex takes at its
    // last use in a face), otherwise empty.
    std::vector<std::array<float, 3>> normals;
    // One (u, v) per position when the file has texture co-ordinates, otherwise empty.
    std::vector<std::array<float, 2>> texCoords;
};

// D3DRMERR_BADFILE for anything that is not a well-formed text mesh file with a mesh,
// D3DRMERR_NOTFOUND for a well-formed file without a Mesh block.
Result ParseXFile(std::span<const std::uint8_t> bytes, XMeshData& mesh);

// Reads and parses a file; D3DRMERR_FILENOTFOUND when it cannot be opened. Files over 64 MiB
// are refused (D3DRMERR_BADFILE).
Result LoadXFile(const std::string& path, XMeshData& mesh);

}  // namespace gfx
