#include "platform/os/bitmap_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <vector>

#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// A BMP file image with a 40-byte header; `extra` (masks, palette) follows the header.
Bytes Bmp(int width, int height, int bits, std::uint32_t compression, const Bytes& extra,
          const Bytes& pixels, std::uint32_t coloursUsed = 0) {
    Bytes b = {'B', 'M'};
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(extra.size());
    Put32(b, offset + static_cast<std::uint32_t>(pixels.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, static_cast<std::uint32_t>(bits));
    Put32(b, compression);
    Put32(b, static_cast<std::uint32_t>(pixels.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, coloursUsed);
    Put32(b, 0);
    b.insert(b.end(), extra.begin(), extra.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

using Rgb = std::array<std::uint8_t, 3>;

Rgb At(const Bitmap& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.At(x, y);
    return {p[0], p[1], p[2]};
}

// Palette of four colours: black, red, green, blue (stored blue, green, red, 0).
const Bytes kPalette = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

TEST(BitmapFile, ReadsPalettePicturesBottomUp) {
    // Rows are stored bottom first and padded to 4 bytes.
    const Bytes pixels = {1, 2, 3, 0, 3, 2, 1, 0};
    const auto bitmap = DecodeBmp(Bmp(3, 2, 8, 0, kPalette, pixels, 4));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 3);
    EXPECT_EQ(bitmap->height, 2);
    EXPECT_EQ(At(*bitmap, 0, 1), kRed);
    EXPECT_EQ(At(*bitmap, 2, 1), kBlue);
    EXPECT_EQ(At(*bitmap, 0, 0), kBlue);
    EXPECT_EQ(At(*bitmap, 2, 0), kRed);
}

TEST(BitmapFile, ReadsRunLengthPictures) {
    // Bottom row: a run of two reds, then an absolute run blue, red, black (padded);
    // then a delta of one row and one column, a run of one blue, end of bitmap.
    const Bytes rle = {2, 1, 0, 3, 3, 1, 0, 0, 0, 0, 0, 2, 1, 1, 1, 3, 0, 1};
    const auto bitmap = DecodeBmp(Bmp(5, 3, 8, 1, kPalette, rle, 4));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(At(*bitmap, 0, 2), kRed);
    EXPECT_EQ(At(*bitmap, 1, 2), kRed);
    EXPECT_EQ(At(*bitmap, 2, 2), kBlue);
    EXPECT_EQ(At(*bitmap, 3, 2), kRed);
    EXPECT_EQ(At(*bitmap, 4, 2), kBlack);
    // After the end of line: row 1 starts at column 0; the delta moves to (1, row 0).
    EXPECT_EQ(At(*bitmap, 1, 0), kBlue);
    EXPECT_EQ(At(*bitmap, 0, 0), kBlack);
}

TEST(BitmapFile, RunLengthRunsOutsideThePictureAreDropped) {
    // A run of 200 on a 4-wide picture and a delta far below it.
    const Bytes rle = {200, 2, 0, 2, 50, 50, 3, 1, 0, 1};
    const auto bitmap = DecodeBmp(Bmp(4, 2, 8, 1, kPalette, rle, 4));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(At(*bitmap, 3, 1), kGreen);
    EXPECT_EQ(At(*bitmap, 0, 0), kBlack);
}

TEST(BitmapFile, ReadsSixteenBitPictures) {
    // 5-5-5 without masks.
    Bytes p555;
    for (std::uint32_t v : {0x7C00u, 0x03E0u, 0x001Fu, 0x7FFFu}) {
        Put16(p555, v);
    }
    const auto plain = DecodeBmp(Bmp(2, 2, 16, 0, {}, p555));
    ASSERT_TRUE(plain);
    EXPECT_EQ(At(*plain, 0, 1), kRed);
    EXPECT_EQ(At(*plain, 1, 1), kGreen);
    EXPECT_EQ(At(*plain, 0, 0), kBlue);
    EXPECT_EQ(At(*plain, 1, 0), (Rgb{255, 255, 255}));

    // 5-6-5 with bit fields after the header.
    Bytes masks;
    Put32(masks, 0xF800);
    Put32(masks, 0x07E0);
    Put32(masks, 0x001F);
    Bytes p565;
    for (std::uint32_t v : {0xF800u, 0x07E0u, 0x001Fu, 0x0400u}) {
        Put16(p565, v);
    }
    const auto fields = DecodeBmp(Bmp(2, 2, 16, 3, masks, p565));
    ASSERT_TRUE(fields);
    EXPECT_EQ(At(*fields, 0, 1), kRed);
    EXPECT_EQ(At(*fields, 1, 1), kGreen);
    EXPECT_EQ(At(*fields, 0, 0), kBlue);
    EXPECT_EQ(At(*fields, 1, 0), (Rgb{0, 130, 0}));  // 32 of 63, widened
}

TEST(BitmapFile, ReadsTrueColourPicturesBothWays) {
    const Bytes p24 = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 10, 20, 30, 0, 0};
    const auto bottomUp = DecodeBmp(Bmp(2, 2, 24, 0, {}, p24));
    ASSERT_TRUE(bottomUp);
    EXPECT_EQ(At(*bottomUp, 0, 1), kRed);
    EXPECT_EQ(At(*bottomUp, 1, 0), (Rgb{30, 20, 10}));

    const Bytes p32 = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 10, 20, 30, 99};
    const auto topDown = DecodeBmp(Bmp(2, -2, 32, 0, {}, p32));
    ASSERT_TRUE(topDown);
    EXPECT_EQ(At(*topDown, 0, 0), kRed);
    EXPECT_EQ(At(*topDown, 1, 0), kGreen);
    EXPECT_EQ(At(*topDown, 0, 1), kBlue);
    EXPECT_EQ(At(*topDown, 1, 1), (Rgb{30, 20, 10}));

    Bytes masks;
    Put32(masks, 0x000000FF);  // red in the lowest byte
    Put32(masks, 0x0000FF00);
    Put32(masks, 0x00FF0000);
    const Bytes fieldsPixel = {200, 100, 50, 0};
    const auto fields = DecodeBmp(Bmp(1, 1, 32, 3, masks, fieldsPixel));
    ASSERT_TRUE(fields);
    EXPECT_EQ(At(*fields, 0, 0), (Rgb{200, 100, 50}));
}

TEST(BitmapFile, RefusesDamagedAndOversizedFiles) {
    const Bytes p24 = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 10, 20, 30, 0, 0};
    Bytes cut = Bmp(2, 2, 24, 0, {}, p24);
    cut.resize(cut.size() - 3);
    EXPECT_FALSE(DecodeBmp(cut));

    EXPECT_FALSE(DecodeBmp(Bmp(0, 2, 24, 0, {}, p24)));
    EXPECT_FALSE(DecodeBmp(Bmp(100000, 100000, 24, 0, {}, p24)));
    EXPECT_FALSE(DecodeBmp(Bmp(2, -2147483647 - 1, 24, 0, {}, p24)));
    EXPECT_FALSE(DecodeBmp(Bmp(2, 2, 7, 0, {}, p24)));
    EXPECT_FALSE(DecodeBmp(Bmp(2, 2, 24, 2, {}, p24)));  // 4-bit run length: not read

    Bytes notBmp = Bmp(2, 2, 24, 0, {}, p24);
    notBmp[0] = 'X';
    EXPECT_FALSE(DecodeBmp(notBmp));
    EXPECT_FALSE(DecodeBmp(Bytes{'B', 'M', 1}));

    // A palette that runs past the file's end.
    EXPECT_FALSE(DecodeBmp(Bmp(2, 2, 8, 0, {}, {}, 200)));
}

TEST(BitmapFile, WrittenFilesReadBack) {
    Bitmap picture = MakeBitmap(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            std::uint8_t* p = picture.At(x, y);
            p[0] = static_cast<std::uint8_t>(40 * x);
            p[1] = static_cast<std::uint8_t>(80 * y);
            p[2] = static_cast<std::uint8_t>(x + y);
        }
    }
    TempDir dir;
    const std::string path = dir.File("picture.bmp");
    ASSERT_TRUE(WriteBmpFile(path, picture));
    const auto back = LoadBitmapFile(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 5);
    EXPECT_EQ(back->height, 3);
    EXPECT_EQ(back->rgb, picture.rgb);

    EXPECT_FALSE(LoadBitmapFile(dir.File("missing.bmp")));
}

TEST(BitmapFile, ProgramBitmapsAreFoundWithoutRegardToCase) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "GAMEART");
    ASSERT_TRUE(WriteBmpFile((dir.path() / "GAMEART" / "Piece.bmp").string(), MakeBitmap(2, 2)));
    WorkingDirectory inside(dir.path());
    const auto found = LoadProgramBitmap("GameArt\\piece.BMP");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->width, 2);
}

}  // namespace
