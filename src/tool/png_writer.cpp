#include "tool/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

struct PngRowWriter::State {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
};

namespace {

// libpng reports a failure (a short write included) by calling this, which must not return:
// it jumps back to the setjmp of the call in progress. Nothing is printed; the caller says
// which file could not be written.
[[noreturn]] void OnPngError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Every libpng call that can fail runs in one of these functions. Each sets the jump target
// before the call and holds nothing that would need destroying when the jump skips the rest.
bool StartPicture(png_structp png, png_infop info, std::FILE* file, int width, int height) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, file);
    // The Paeth filter alone packs the world's pictures a little tighter than trying every
    // filter on each row, in three quarters of the time, and needs no rows to try them in.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_PAETH);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    return true;
}

bool PutRow(png_structp png, const std::uint8_t* rgb) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_write_row(png, rgb);
    return true;
}

bool EndPicture(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_write_end(png, info);
    return true;
}

}  // namespace

PngRowWriter::PngRowWriter() = default;

PngRowWriter::~PngRowWriter() {
    Release();
}

// Frees libpng's state and closes the file.
void PngRowWriter::Release() {
    if (!state_) {
        return;
    }
    if (state_->png != nullptr) {
        png_destroy_write_struct(&state_->png, &state_->info);
    }
    if (state_->file != nullptr) {
        std::fclose(state_->file);
    }
    state_.reset();
}

bool PngRowWriter::Open(const std::string& path, int width, int height) {
    if (state_ || width < 1 || height < 1) {
        return false;
    }
    auto state = std::make_unique<State>();
    state->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (state->png == nullptr) {
        return false;
    }
    state->info = png_create_info_struct(state->png);
    state_ = std::move(state);
    if (state_->info == nullptr) {
        Release();
        return false;
    }
    state_->file = std::fopen(path.c_str(), "wb");
    if (state_->file == nullptr) {
        Release();
        return false;
    }
    height_ = height;
    rows_ = 0;
    ok_ = StartPicture(state_->png, state_->info, state_->file, width, height);
    return ok_;
}

bool PngRowWriter::WriteRow(const std::uint8_t* rgb) {
    if (!state_ || !ok_ || rows_ >= height_) {
        return false;
    }
    ok_ = PutRow(state_->png, rgb);
    ++rows_;
    return ok_;
}

bool PngRowWriter::Close() {
    if (!state_) {
        return false;
    }
    // libpng cannot end a picture that lacks rows: it is then left unfinished.
    bool written = ok_ && rows_ == height_ && EndPicture(state_->png, state_->info);
    std::FILE* file = state_->file;
    state_->file = nullptr;
    Release();
    written = std::fclose(file) == 0 && written;
    return written;
}
