// Bitmap files: a bounded reader for the BMP kinds the game's art uses and a plain writer.
//
// Read: headers of 12 (core), 40, 52, 56, 108 and 124 bytes; 1-, 4- and 8-bit palette
// pictures, RLE-compressed 8-bit pictures, 16-bit pictures (5-5-5 or bit fields), 24-bit and
// 32-bit pictures (x-8-8-8 or bit fields); rows bottom-up (positive height) or top-down
// (negative height). The reader never reads outside the bytes it is given and refuses
// pictures above kMaxBitmapPixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The largest picture the reader accepts (width x height).
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 24;
// The largest file the loaders read.
inline constexpr std::size_t kMaxBitmapFileBytes = std::size_t{64} << 20;

// A picture in memory: rows top to bottom, 3 bytes per pixel (red, green, blue).
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    std::uint8_t* At(int x, int y) {
        return rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    }
    const std::uint8_t* At(int x, int y) const {
        return rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    }
};

// A black picture of the given size (both at least 1).
Bitmap MakeBitmap(int width, int height);

// Decodes a BMP file image; std::nullopt when it is not one the reader can take or is cut
// short. RLE data that ends early leaves the remaining pixels black.
std::optional<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes);

// A 24-bit, bottom-up, uncompressed BMP file image of the picture.
std::vector<std::uint8_t> EncodeBmp24(const Bitmap& bitmap);

// Reads a BMP file named as the game names it (see ResolvePath); std::nullopt when the
// file is missing, unreadable, larger than kMaxBitmapFileBytes or not a readable BMP.
std::optional<Bitmap> LoadBitmapFile(std::string_view gamePath);

// Finds a bitmap by name the way the program does: first among its built-in records, then
// as a file relative to the working directory.
std::optional<Bitmap> LoadProgramBitmap(std::string_view name);

// Writes the picture as a 24-bit BMP file; false when the file cannot be written.
bool WriteBmpFile(const std::string& path, const Bitmap& bitmap);
