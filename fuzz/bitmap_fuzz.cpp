// Feeds arbitrary bytes to the BMP reader: it must never read outside the input or accept
// a picture whose pixels it has not filled.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/os/bitmap_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto bitmap = DecodeBmp(std::span<const std::uint8_t>(data, size));
    if (bitmap) {
        const std::size_t expected = static_cast<std::size_t>(bitmap->width) * bitmap->height * 3;
        if (bitmap->width < 1 || bitmap->height < 1 || bitmap->rgb.size() != expected) {
            std::abort();
        }
    }
    return 0;
}
