// Pixel values in locked surface memory: 2, 3 or 4 bytes, least significant byte first.
#pragma once

#include <cstddef>
#include <cstdint>

// The pixel's bytes zero-extended to 32 bits; 0 for other pixel sizes.
inline std::uint32_t ReadPixel(const std::uint8_t* buffer, std::size_t offset, int bytesPerPixel) {
    const std::uint8_t* p = buffer + offset;
    switch (bytesPerPixel) {
        case 2:
            return p[0] | (static_cast<std::uint32_t>(p[1]) << 8);
        case 3:
            return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) |
                   (static_cast<std::uint32_t>(p[2]) << 16);
        case 4:
            return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) |
                   (static_cast<std::uint32_t>(p[2]) << 16) |
                   (static_cast<std::uint32_t>(p[3]) << 24);
        default:
            return 0;
    }
}

// Stores the low bytes of value; writes nothing for other pixel sizes.
inline void WritePixel(std::uint8_t* buffer, std::size_t offset, int bytesPerPixel,
                       std::uint32_t value) {
    if (bytesPerPixel < 2 || bytesPerPixel > 4) {
        return;
    }
    std::uint8_t* p = buffer + offset;
    for (int i = 0; i < bytesPerPixel; ++i) {
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}
