// A PNG writer that takes the picture row by row, so no caller has to hold a whole picture.
// Each row is filtered and compressed as it arrives; only a few rows and the compressor's
// window are held at any time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class PngRowWriter {
public:
    PngRowWriter();
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
    struct State;
    void Release();

    std::unique_ptr<State> state_;
    int height_ = 0;
    int rows_ = 0;
    bool ok_ = true;
};
