// Writes the component tile, a 70 x 70 bitmap with 24 bits per pixel: a light stone plate
// with a bevelled edge and a small shield emblem in its upper half. The lower half stays
// light because the unit design screen writes black names over it.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kSize = 70;
constexpr int kRowBytes = (kSize * 3 + 3) / 4 * 4;  // rows are padded to 4 bytes
constexpr int kHeaderBytes = 14 + 40;

struct Colour {
    uint8_t r, g, b;
};

void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Colour PixelAt(int x, int y) {
    const Colour plate{226, 214, 184};
    const Colour light{250, 244, 228};
    const Colour shade{150, 136, 108};
    const Colour metal{170, 176, 186};
    const Colour rim{96, 88, 72};

    // Bevel: two light pixels along the top and left, one dark pixel along the bottom and
    // right, so that the count written near the bottom stays readable.
    if (x == kSize - 1 || y == kSize - 1)
        return shade;
    if (x < 2 || y < 2)
        return light;

    // Shield: straight top from x 24 to 45 at y 8, sides down to y 26, then a point at
    // (35, 40); outlined one pixel wide.
    auto inside = [](int px, int py) {
        if (py < 8 || px < 24 || px > 45)
            return false;
        if (py <= 26)
            return true;
        int half = (40 - py) * 11 / 14;  // the sides narrow to the point
        return py <= 40 && px >= 35 - half && px <= 34 + half + 1;
    };
    if (inside(x, y)) {
        bool edge =
            !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
        return edge ? rim : metal;
    }
    return plate;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_item_tile OUTPUT.bmp\n");
        return 2;
    }
    const uint32_t imageBytes = kRowBytes * kSize;
    std::vector<uint8_t> out;
    out.reserve(kHeaderBytes + imageBytes);
    // File header.
    out.push_back('B');
    out.push_back('M');
    Put32(out, kHeaderBytes + imageBytes);
    Put32(out, 0);
    Put32(out, kHeaderBytes);
    // Info header: bottom-up rows, one plane, 24 bits, no compression, 96 dpi.
    Put32(out, 40);
    Put32(out, kSize);
    Put32(out, kSize);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageBytes);
    Put32(out, 3780);
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; ++x) {
            Colour c = PixelAt(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (int pad = kSize * 3; pad < kRowBytes; ++pad)
            out.push_back(0);
    }

    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    written = std::fclose(file) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "make_item_tile: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
