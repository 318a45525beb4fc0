// Feeds arbitrary bytes to the mesh file reader.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/gfx/xfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gfx::XMeshData mesh;
    if (gfx::ParseXFile(std::span(data, size), mesh) == gfx::D3DRM_OK) {
        // Whatever is accepted must be consistent.
        std::size_t corners = 0;
        for (std::uint32_t n : mesh.faceSizes) {
            corners += n;
        }
        if (corners != mesh.faceVertices.size()) {
            __builtin_trap();
        }
        for (std::uint32_t index : mesh.faceVertices) {
            if (index >= mesh.positions.size()) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
