#include "tool/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Reads a PNG file back through libpng as 8-bit RGB; nullopt when it does not read.
std::optional<Picture> ReadBack(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    Picture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    return picture;
}

// Rows of a picture with smooth parts and noise, so that every filter type gets used.
std::vector<std::uint8_t> Row(int width, int y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    std::uint32_t noise = 2463534242u + static_cast<std::uint32_t>(y);
    for (int x = 0; x < width; ++x) {
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        row[3 * x] = static_cast<std::uint8_t>(x + y);
        row[3 * x + 1] = static_cast<std::uint8_t>(x < width / 2 ? 40 : noise);
        row[3 * x + 2] = static_cast<std::uint8_t>(y * 7);
    }
    return row;
}

TEST(PngRowWriter, WritesRowsThatReadBackTheSame) {
    TempDir dir;
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{333, 17}, std::pair{2, 300}}) {
        const std::string path = dir.File("picture.png");
        std::vector<std::uint8_t> expected;
        PngRowWriter png;
        ASSERT_TRUE(png.Open(path, width, height));
        for (int y = 0; y < height; ++y) {
            const std::vector<std::uint8_t> row = Row(width, y);
            ASSERT_TRUE(png.WriteRow(row.data()));
            expected.insert(expected.end(), row.begin(), row.end());
        }
        ASSERT_TRUE(png.Close());
        const std::optional<Picture> back = ReadBack(path);
        ASSERT_TRUE(back.has_value()) << width << " x " << height;
        EXPECT_EQ(back->width, width);
        EXPECT_EQ(back->height, height);
        EXPECT_EQ(back->rgb, expected) << width << " x " << height;
    }
}

TEST(PngRowWriter, CompressesEvenPictures) {
    TempDir dir;
    const std::string path = dir.File("even.png");
    constexpr int kWidth = 1000;
    constexpr int kHeight = 200;
    const std::vector<std::uint8_t> row(kWidth * 3, 90);
    PngRowWriter png;
    ASSERT_TRUE(png.Open(path, kWidth, kHeight));
    for (int y = 0; y < kHeight; ++y) {
        ASSERT_TRUE(png.WriteRow(row.data()));
    }
    ASSERT_TRUE(png.Close());
    EXPECT_LT(std::filesystem::file_size(path), std::uintmax_t{kWidth} * kHeight * 3 / 100);
}

TEST(PngRowWriter, RefusesWhatItCannotWrite) {
    TempDir dir;
    const std::vector<std::uint8_t> row(4 * 3, 1);

    PngRowWriter unopened;
    EXPECT_FALSE(unopened.WriteRow(row.data()));
    EXPECT_FALSE(unopened.Close());

    PngRowWriter empty;
    EXPECT_FALSE(empty.Open(dir.File("empty.png"), 0, 3));
    EXPECT_FALSE(empty.Open(dir.File("empty.png"), 3, -1));

    PngRowWriter noFolder;
    EXPECT_FALSE(noFolder.Open(dir.File("missing/picture.png"), 4, 2));

    // A row too many, and a file ended before its last row: both fail, and the writer is
    // not opened twice.
    PngRowWriter extra;
    ASSERT_TRUE(extra.Open(dir.File("extra.png"), 4, 1));
    EXPECT_FALSE(extra.Open(dir.File("again.png"), 4, 1));
    EXPECT_TRUE(extra.WriteRow(row.data()));
    EXPECT_FALSE(extra.WriteRow(row.data()));
    EXPECT_TRUE(extra.Close());

    PngRowWriter shortFile;
    ASSERT_TRUE(shortFile.Open(dir.File("short.png"), 4, 2));
    EXPECT_TRUE(shortFile.WriteRow(row.data()));
    EXPECT_FALSE(shortFile.Close());
    EXPECT_FALSE(ReadBack(dir.File("short.png")).has_value());
}

TEST(PngRowWriter, ReportsAFullDevice) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    // Enough rows that the compressed data must be written out before the end.
    constexpr int kWidth = 512;
    constexpr int kHeight = 512;
    PngRowWriter png;
    ASSERT_TRUE(png.Open("/dev/full", kWidth, kHeight));
    bool rowsWritten = true;
    for (int y = 0; y < kHeight; ++y) {
        rowsWritten = png.WriteRow(Row(kWidth, y).data()) && rowsWritten;
    }
    const bool closed = png.Close();
    EXPECT_FALSE(rowsWritten && closed);
}

}  // namespace
