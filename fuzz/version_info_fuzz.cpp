// Feeds bytes as a program file image to the version block finder and then the queries the
// title screen makes; the same bytes are also queried as a bare block.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/os/version_info.h"

namespace {

void Query(std::span<const uint8_t> block) {
    std::span<const uint8_t> value;
    if (VerQueryValue(block, "\\VarFileInfo\\Translation", value)) {
        FirstTranslation(value);
    }
    VerQueryValue(block, "\\", value);
    VerQueryString(block, "\\StringFileInfo\\040904E4\\FileVersion");
    VerQueryString(block, "\\StringFileInfo\\040904E4\\ProductName");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> image(data, size);
    if (const auto block = ExtractVersionBlock(image)) {
        Query(*block);
    }
    Query(image);
    return 0;
}
