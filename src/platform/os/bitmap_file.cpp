#include "platform/os/bitmap_file.h"

#include <array>
#include <bit>
#include <cstdio>
#include <fstream>
#include <limits>

#include "platform/os/file_lookup.h"
#include "platform/os/named_records.h"

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
constexpr std::size_t kFileHeaderBytes = 14;

// Bounded little-endian reads: a read past the end yields nothing.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::optional<std::uint32_t> U16(std::size_t offset) const {
        if (!Has(offset, 2)) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::optional<std::uint32_t> U32(std::size_t offset) const {
        if (!Has(offset, 4)) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(bytes_[offset]) |
               (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
    }
    std::size_t Size() const { return bytes_.size(); }
    const std::uint8_t* Data() const { return bytes_.data(); }

private:
    std::span<const std::uint8_t> bytes_;
};

// One colour channel described by a bit mask, widened to 8 bits.
struct Channel {
    int shift = 0;
    std::uint64_t max = 0;

    explicit Channel(std::uint32_t mask) {
        if (mask == 0) {
            return;
        }
        shift = std::countr_zero(mask);
        // Only the run of set bits starting at the lowest one counts.
        const int bits = std::countr_one(mask >> shift);
        max = (std::uint64_t{1} << bits) - 1;
    }
    std::uint8_t Value(std::uint32_t pixel) const {
        if (max == 0) {
            return 0;
        }
        const std::uint64_t v = (pixel >> shift) & max;
        return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
    }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows, always positive
    bool topDown = false;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kRgb;
    std::array<std::uint32_t, 3> masks{};
    std::size_t paletteOffset = 0;
    std::size_t paletteEntryBytes = 4;
    std::size_t paletteCount = 0;
};

std::optional<Header> ReadHeader(const ByteReader& in) {
    if (!in.Has(0, kFileHeaderBytes) || in.Data()[0] != 'B' || in.Data()[1] != 'M') {
        return std::nullopt;
    }
    const auto infoSize = in.U32(kFileHeaderBytes);
    if (!infoSize) {
        return std::nullopt;
    }
    Header h;
    const std::size_t info = kFileHeaderBytes;
    if (*infoSize == 12) {
        const auto w = in.U16(info + 4);
        const auto ht = in.U16(info + 6);
        const auto bits = in.U16(info + 10);
        if (!w || !ht || !bits) {
            return std::nullopt;
        }
        h.width = *w;
        h.height = *ht;
        h.bitCount = *bits;
        h.paletteOffset = info + 12;
        h.paletteEntryBytes = 3;
    } else if (*infoSize == 40 || *infoSize == 52 || *infoSize == 56 || *infoSize == 108 ||
               *infoSize == 124) {
        const auto w = in.U32(info + 4);
        const auto ht = in.U32(info + 8);
        const auto bits = in.U16(info + 14);
        const auto compression = in.U32(info + 16);
        const auto used = in.U32(info + 32);
        if (!w || !ht || !bits || !compression || !used) {
            return std::nullopt;
        }
        h.width = static_cast<std::int32_t>(*w);
        const std::int64_t signedHeight = static_cast<std::int32_t>(*ht);
        h.topDown = signedHeight < 0;
        h.height = signedHeight < 0 ? -signedHeight : signedHeight;
        h.bitCount = *bits;
        h.compression = *compression;
        std::size_t after = info + *infoSize;
        if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
            // A 40-byte header is followed by the masks; longer headers hold them.
            const std::size_t at = *infoSize == 40 ? after : info + 40;
            for (std::size_t i = 0; i < 3; ++i) {
                const auto mask = in.U32(at + 4 * i);
                if (!mask) {
                    return std::nullopt;
                }
                h.masks[i] = *mask;
            }
            if (*infoSize == 40) {
                after += h.compression == kAlphaBitFields ? 16 : 12;
            }
        }
        h.paletteOffset = after;
        h.paletteCount = *used;
    } else {
        return std::nullopt;
    }
    if (h.width <= 0 || h.height <= 0 || h.width * h.height > kMaxBitmapPixels) {
        return std::nullopt;
    }
    if (h.bitCount <= 8) {
        const std::size_t full = std::size_t{1} << (h.bitCount == 0 ? 0 : h.bitCount);
        if (h.paletteCount == 0 || h.paletteCount > full) {
            h.paletteCount = full;
        }
    } else {
        h.paletteCount = 0;
    }
    return h;
}

bool ReadPalette(const ByteReader& in, const Header& h,
                 std::vector<std::array<std::uint8_t, 3>>& palette) {
    palette.assign(256, {0, 0, 0});
    for (std::size_t i = 0; i < h.paletteCount; ++i) {
        const std::size_t at = h.paletteOffset + i * h.paletteEntryBytes;
        if (!in.Has(at, 3)) {
            return false;
        }
        const std::uint8_t* p = in.Data() + at;
        palette[i] = {p[2], p[1], p[0]};
    }
    return true;
}

void SetPixel(Bitmap& out, const Header& h, std::int64_t x, std::int64_t fileRow,
              const std::array<std::uint8_t, 3>& colour) {
    const std::int64_t y = h.topDown ? fileRow : h.height - 1 - fileRow;
    std::uint8_t* d = out.At(static_cast<int>(x), static_cast<int>(y));
    d[0] = colour[0];
    d[1] = colour[1];
    d[2] = colour[2];
}

bool DecodeRle8(const ByteReader& in, std::size_t offset, const Header& h,
                const std::vector<std::array<std::uint8_t, 3>>& palette, Bitmap& out) {
    std::int64_t x = 0;
    std::int64_t row = 0;
    std::size_t at = offset;
    const auto put = [&](std::uint8_t index) {
        if (x < h.width && row < h.height) {
            SetPixel(out, h, x, row, palette[index]);
        }
        ++x;
    };
    while (in.Has(at, 2) && row < h.height) {
        const std::uint8_t count = in.Data()[at];
        const std::uint8_t value = in.Data()[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                put(value);
            }
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta
            if (!in.Has(at, 2)) {
                break;
            }
            x += in.Data()[at];
            row += in.Data()[at + 1];
            at += 2;
        } else {  // absolute run of `value` indexes, padded to an even count
            const std::size_t padded = (value + 1u) & ~1u;
            if (!in.Has(at, value)) {
                break;
            }
            for (int i = 0; i < value; ++i) {
                put(in.Data()[at + i]);
            }
            at += padded;
        }
    }
    return true;
}

}  // namespace

Bitmap MakeBitmap(int width, int height) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
    return b;
}

std::optional<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes) {
    const ByteReader in(bytes);
    const auto header = ReadHeader(in);
    if (!header) {
        return std::nullopt;
    }
    const Header& h = *header;
    const auto dataOffset = in.U32(10);
    if (!dataOffset || *dataOffset >= in.Size()) {
        return std::nullopt;
    }
    std::vector<std::array<std::uint8_t, 3>> palette;
    if (h.bitCount <= 8 && !ReadPalette(in, h, palette)) {
        return std::nullopt;
    }
    Bitmap out = MakeBitmap(static_cast<int>(h.width), static_cast<int>(h.height));

    if (h.compression == kRle8) {
        if (h.bitCount != 8 || !DecodeRle8(in, *dataOffset, h, palette, out)) {
            return std::nullopt;
        }
        return out;
    }
    const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
    if (h.compression != kRgb && !(fields && (h.bitCount == 16 || h.bitCount == 32))) {
        return std::nullopt;
    }
    if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 &&
        h.bitCount != 24 && h.bitCount != 32) {
        return std::nullopt;
    }
    const std::int64_t stride = ((h.width * h.bitCount + 31) / 32) * 4;
    if (!in.Has(*dataOffset, static_cast<std::size_t>(stride * h.height))) {
        return std::nullopt;
    }
    std::array<std::uint32_t, 3> masks = h.masks;
    if (!fields) {
        masks = h.bitCount == 16 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                 : std::array<std::uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
    }
    const Channel red(masks[0]);
    const Channel green(masks[1]);
    const Channel blue(masks[2]);

    for (std::int64_t row = 0; row < h.height; ++row) {
        const std::uint8_t* src = in.Data() + *dataOffset + row * stride;
        for (std::int64_t x = 0; x < h.width; ++x) {
            std::array<std::uint8_t, 3> colour{};
            switch (h.bitCount) {
                case 1:
                    colour = palette[(src[x / 8] >> (7 - x % 8)) & 1];
                    break;
                case 4:
                    colour = palette[(src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15];
                    break;
                case 8:
                    colour = palette[src[x]];
                    break;
                case 16: {
                    const std::uint32_t v = src[2 * x] | (src[2 * x + 1] << 8);
                    colour = {red.Value(v), green.Value(v), blue.Value(v)};
                    break;
                }
                case 24:
                    colour = {src[3 * x + 2], src[3 * x + 1], src[3 * x]};
                    break;
                default: {
                    const std::uint8_t* p = src + 4 * x;
                    const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) |
                                            (static_cast<std::uint32_t>(p[3]) << 24);
                    colour = {red.Value(v), green.Value(v), blue.Value(v)};
                    break;
                }
            }
            SetPixel(out, h, x, row, colour);
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeBmp24(const Bitmap& bitmap) {
    const std::size_t stride = (static_cast<std::size_t>(bitmap.width) * 3 + 3) & ~std::size_t{3};
    const std::size_t dataBytes = stride * bitmap.height;
    const std::size_t total = kFileHeaderBytes + 40 + dataBytes;
    std::vector<std::uint8_t> out(total, 0);
    const auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(total));
    put32(10, static_cast<std::uint32_t>(kFileHeaderBytes + 40));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(bitmap.width));
    put32(22, static_cast<std::uint32_t>(bitmap.height));
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<std::uint32_t>(dataBytes));
    put32(38, 2835);
    put32(42, 2835);
    for (int y = 0; y < bitmap.height; ++y) {
        std::uint8_t* row = out.data() + kFileHeaderBytes + 40 + (bitmap.height - 1 - y) * stride;
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint8_t* p = bitmap.At(x, y);
            row[3 * x] = p[2];
            row[3 * x + 1] = p[1];
            row[3 * x + 2] = p[0];
        }
    }
    return out;
}

std::optional<Bitmap> LoadBitmapFile(std::string_view gamePath) {
    std::ifstream in(ResolvePath(gamePath), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        const std::streamsize got = in.gcount();
        if (got <= 0) {
            break;
        }
        if (bytes.size() + static_cast<std::size_t>(got) > kMaxBitmapFileBytes) {
            return std::nullopt;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return DecodeBmp(bytes);
}

std::optional<Bitmap> LoadProgramBitmap(std::string_view name) {
    if (const auto record = FindNamedRecord(name)) {
        if (auto bitmap = DecodeBmp(*record)) {
            return bitmap;
        }
    }
    return LoadBitmapFile(name);
}

bool WriteBmpFile(const std::string& path, const Bitmap& bitmap) {
    const std::vector<std::uint8_t> bytes = EncodeBmp24(bitmap);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
