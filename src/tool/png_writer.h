// A PNG writer that takes the picture row by row, so no caller has to hold a whole picture.
// The pixel data is stored uncompressed (deflate "stored" blocks).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class PngRowWriter {
public:
    PngRowWriter() = default;
    ~PngRowWriter();
    PngRowWriter(const PngRowWriter&) = delete;
    PngRowWriter& operator=(const PngRowWriter&) = delete;

    // Starts an 8-bit RGB picture of the given size; false when the file cannot be made.
    bool Open(const std::string& path, int width, int height);
    // Appends the next row: width x 3 bytes, red first. False on a write error or a row
    // beyond the height.
    bool WriteRow(const std::uint8_t* rgb);
    // Ends the file; false unless every row was written and the file closed cleanly.
    bool Close();

private:
    bool Chunk(const char type[4], const std::uint8_t* data, std::size_t size);

    std::FILE* file_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int rows_ = 0;
    bool ok_ = true;
    std::uint32_t adlerA_ = 1;
    std::uint32_t adlerB_ = 0;
    std::vector<std::uint8_t> buffer_;
};
