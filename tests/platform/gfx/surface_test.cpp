#include "platform/gfx/surface.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gfx_fixture.h"
#include "platform/gfx/direct3d.h"

using namespace gfx;

namespace {

// Noise with a good share of exact key values, so both branches of a keyed copy are taken.
void FillNoise(Surface& surface, std::mt19937& random, std::uint32_t key) {
    const PixelView& view = surface.View();
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            const std::uint32_t value = random() % 4 == 0 ? key : random();
            StorePixel(view.At(x, y), view.bytesPerPixel, value);
        }
    }
}

std::vector<std::uint32_t> Pixels(const Surface& surface) {
    std::vector<std::uint32_t> out;
    const PixelView& view = surface.View();
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            out.push_back(LoadPixel(view.At(x, y), view.bytesPerPixel));
        }
    }
    return out;
}

// The per-pixel meaning of BltFast, on a snapshot of the destination.
void ReferenceBltFast(std::vector<std::uint32_t>& dst, int dstWidth, int x, int y,
                      const std::vector<std::uint32_t>& src, int srcWidth, const Rect& rect,
                      const std::uint32_t* key, std::uint32_t fullMask) {
    for (int row = rect.top; row < rect.bottom; ++row) {
        for (int col = rect.left; col < rect.right; ++col) {
            const std::uint32_t value = src[static_cast<std::size_t>(row * srcWidth + col)];
            if (key != nullptr && (value & fullMask) == (*key & fullMask)) {
                continue;
            }
            dst[static_cast<std::size_t>((y + row - rect.top) * dstWidth + x + col - rect.left)] =
                value;
        }
    }
}

std::uint32_t FullMask(const PixelFormat& format) {
    return format.bitCount >= 32 ? 0xFFFFFFFFu : (1u << format.bitCount) - 1u;
}

class PixelSizeTest : public ::testing::TestWithParam<int> {
protected:
    PixelFormat Format() const { return PixelFormat::ForBitCount(GetParam()); }
};

}  // namespace

TEST_P(PixelSizeTest, BltFastMatchesPerPixelCopyWithAndWithoutKey) {
    auto directDraw = MakeDirectDraw(Format());
    std::mt19937 random(GetParam());
    const std::uint32_t key = 0;  // black
    for (int round = 0; round < 40; ++round) {
        auto src = MakePlain(*directDraw, 37, 23);
        auto dst = MakePlain(*directDraw, 41, 29);
        FillNoise(*src, random, key);
        FillNoise(*dst, random, 0x123456);
        const ColorKey colourKey{key, key};
        ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT, &colourKey), DD_OK);
        const int left = static_cast<int>(random() % 30);
        const int top = static_cast<int>(random() % 18);
        const Rect rect{left, top, left + 1 + static_cast<int>(random() % (37 - left)),
                        top + 1 + static_cast<int>(random() % (23 - top))};
        const int x = static_cast<int>(random() % (41 - rect.Width() + 1));
        const int y = static_cast<int>(random() % (29 - rect.Height() + 1));
        const bool keyed = round % 2 == 0;

        std::vector<std::uint32_t> expected = Pixels(*dst);
        ReferenceBltFast(expected, 41, x, y, Pixels(*src), 37, rect, keyed ? &key : nullptr,
                         FullMask(Format()));
        ASSERT_EQ(
            dst->BltFast(x, y, src.get(), &rect,
                         (keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY) | DDBLTFAST_WAIT),
            DD_OK);
        ASSERT_EQ(Pixels(*dst), expected) << "round " << round;
    }
}

TEST_P(PixelSizeTest, BltFastWithinOneSurfaceCopiesOverlappingRowsIntact) {
    auto directDraw = MakeDirectDraw(Format());
    std::mt19937 random(7);
    auto surface = MakePlain(*directDraw, 30, 30);
    for (bool keyed : {false, true}) {
        for (int dy : {-3, 3}) {
            FillNoise(*surface, random, 0);
            const ColorKey colourKey{0, 0};
            ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &colourKey), DD_OK);
            const Rect rect{2, 10, 20, 20};
            std::vector<std::uint32_t> expected = Pixels(*surface);
            const std::vector<std::uint32_t> before = expected;
            const std::uint32_t key = 0;
            ReferenceBltFast(expected, 30, 4, 10 + dy, before, 30, rect, keyed ? &key : nullptr,
                             FullMask(Format()));
            ASSERT_EQ(surface->BltFast(4, 10 + dy, surface.get(), &rect,
                                       keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY),
                      DD_OK);
            EXPECT_EQ(Pixels(*surface), expected) << "keyed " << keyed << " dy " << dy;
        }
    }
}

TEST_P(PixelSizeTest, ScalingBltPicksTheSourcePixelUnderEachDestinationCentre) {
    auto directDraw = MakeDirectDraw(Format());
    std::mt19937 random(11);
    auto src = MakePlain(*directDraw, 50, 40);
    FillNoise(*src, random, 0);
    const std::vector<std::uint32_t> source = Pixels(*src);
    const Rect from{3, 5, 48, 37};
    for (const Rect to :
         {Rect{0, 0, 44, 31}, Rect{1, 2, 91, 66}, Rect{5, 5, 20, 12}, Rect{0, 0, 45, 32}}) {
        auto dst = MakePlain(*directDraw, 100, 70);
        ASSERT_EQ(dst->Blt(&to, src.get(), &from, DDBLT_WAIT), DD_OK);
        const std::vector<std::uint32_t> got = Pixels(*dst);
        for (int y = 0; y < 70; ++y) {
            for (int x = 0; x < 100; ++x) {
                std::uint32_t expected = 0;
                if (x >= to.left && x < to.right && y >= to.top && y < to.bottom) {
                    const double fx = (x - to.left + 0.5) * from.Width() / to.Width();
                    const double fy = (y - to.top + 0.5) * from.Height() / to.Height();
                    expected = source[static_cast<std::size_t>(
                        (from.top + static_cast<int>(fy)) * 50 + from.left + static_cast<int>(fx))];
                }
                ASSERT_EQ(got[static_cast<std::size_t>(y * 100 + x)], expected)
                    << "at " << x << "," << y << " into " << to.Width() << "x" << to.Height();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bytes, PixelSizeTest, ::testing::Values(16, 24, 32));

TEST(Surface, FirstScaledColumnSplitsTheDestinationWhereTheSourceColumnsDo) {
    for (int dstW : {1, 7, 50, 61, 200, 266, 300}) {
        for (int srcW : {1, 13, 266, 267}) {
            const Rect dst{5, 0, 5 + dstW, 1};
            const Rect src{100, 0, 100 + srcW, 1};
            for (int column = 90; column <= 100 + srcW + 10; ++column) {
                int expected = dst.right;
                for (int d = dst.left; d < dst.right; ++d) {
                    if (src.left + ScaledOffset(d - dst.left, dstW, srcW) >= column) {
                        expected = d;
                        break;
                    }
                }
                ASSERT_EQ(FirstScaledColumn(dst, src, column), expected)
                    << dstW << " " << srcW << " " << column;
            }
        }
    }
}

TEST(Surface, BlitsRefuseRectanglesOutsideTheirSurfaces) {
    auto directDraw = MakeDirectDraw(PixelFormat::Rgb565());
    auto src = MakePlain(*directDraw, 10, 10);
    auto dst = MakePlain(*directDraw, 20, 20);
    const Rect tooWide{5, 0, 11, 5};
    const Rect inverted{5, 5, 4, 8};
    const Rect fits{0, 0, 10, 10};
    EXPECT_EQ(dst->BltFast(0, 0, src.get(), &tooWide, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dst->BltFast(0, 0, src.get(), &inverted, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dst->BltFast(11, 0, src.get(), &fits, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dst->BltFast(-1, 0, src.get(), &fits, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dst->BltFast(10, 10, src.get(), &fits, 0), DD_OK);
    const Rect outside{15, 15, 25, 25};
    EXPECT_EQ(dst->Blt(&outside, src.get(), nullptr, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dst->BltFast(0, 0, nullptr, nullptr, 0), DDERR_INVALIDPARAMS);
}

TEST(Surface, LockedSurfacesAndDeviceContextsAreExclusive) {
    auto directDraw = MakeDirectDraw(PixelFormat::Xrgb8888());
    auto a = MakePlain(*directDraw, 8, 4);
    auto b = MakePlain(*directDraw, 8, 4);
    SurfaceDesc desc;
    ASSERT_EQ(a->Lock(desc, DDLOCK_WAIT | DDLOCK_NOSYSLOCK), DD_OK);
    EXPECT_EQ(desc.width, 8);
    EXPECT_EQ(desc.pitch, 32);
    EXPECT_EQ(desc.pixelFormat->bitCount, 32u);
    ASSERT_NE(desc.bits, nullptr);
    EXPECT_EQ(a->Lock(desc), DDERR_SURFACEBUSY);
    EXPECT_EQ(b->BltFast(0, 0, a.get(), nullptr, 0), DDERR_SURFACEBUSY);
    EXPECT_EQ(a->Unlock(), DD_OK);
    EXPECT_EQ(a->Unlock(), DDERR_NOTLOCKED);

    SurfaceDc* dc = nullptr;
    ASSERT_EQ(a->GetDC(dc), DD_OK);
    SurfaceDc* second = nullptr;
    EXPECT_EQ(a->GetDC(second), DDERR_DCALREADYCREATED);
    EXPECT_EQ(a->Lock(desc), DDERR_SURFACEBUSY);
    dc->SetPixel(0, 0, Rgb{255, 0, 0});
    EXPECT_EQ(dc->GetPixel(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(a->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(LoadPixel(a->View().At(0, 0), 4), 0xFF0000u);
}

TEST(Surface, PitchOfThreeBytePixelsIsRoundedToWholeWords) {
    auto directDraw = MakeDirectDraw(PixelFormat::Rgb888());
    auto surface = MakePlain(*directDraw, 5, 2);
    SurfaceDesc desc;
    ASSERT_EQ(surface->GetSurfaceDesc(desc), DD_OK);
    EXPECT_EQ(desc.width, 5);
    EXPECT_EQ(desc.pitch, 16);
    EXPECT_EQ(desc.pixelFormat->BytesPerPixel(), 3);
}

TEST(Surface, CreateSurfaceRefusesSizesItCannotHold) {
    auto directDraw = MakeDirectDraw(PixelFormat::Xrgb8888());
    SurfaceDesc desc;
    desc.caps = DDSCAPS_OFFSCREENPLAIN;
    desc.width = 0;
    desc.height = 10;
    std::shared_ptr<Surface> surface;
    EXPECT_EQ(directDraw->CreateSurface(desc, surface), DDERR_INVALIDPARAMS);
    desc.width = 16384;
    desc.height = 16384;
    EXPECT_EQ(directDraw->CreateSurface(desc, surface), DDERR_OUTOFMEMORY);
    desc.width = 4;
    desc.height = 4;
    desc.pixelFormat = PixelFormat{8, 0xE0, 0x1C, 0x03};
    EXPECT_EQ(directDraw->CreateSurface(desc, surface), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface, nullptr);
}

TEST(Surface, PaletteValuesComeFromTheMasks) {
    struct Case {
        PixelFormat format;
        Rgb colour;
        std::uint32_t pixel;
    };
    const Case cases[] = {
        {PixelFormat::Rgb565(), {50, 80, 255}, (6u << 11) | (20u << 5) | 31u},
        {PixelFormat::Rgb565(), {233, 144, 102}, (29u << 11) | (36u << 5) | 12u},
        {PixelFormat::Rgb555(), {203, 245, 245}, (25u << 10) | (30u << 5) | 30u},
        {PixelFormat::Rgb888(), {100, 100, 100}, 0x646464u},
        {PixelFormat::Xrgb8888(), {180, 100, 60}, 0xB4643Cu},
        // Blue first in memory order of the masks.
        {PixelFormat{32, 0x0000FF, 0x00FF00, 0xFF0000}, {255, 0, 1}, 0x0100FFu},
        // A channel without bits contributes nothing.
        {PixelFormat{16, 0xF800, 0, 0x001F}, {255, 255, 255}, 0xF81Fu},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PixelFromRgb(c.format, c.colour.red, c.colour.green, c.colour.blue), c.pixel);
    }
    // Widening back gives full white for all-ones channels.
    EXPECT_EQ(RgbFromPixel(PixelFormat::Rgb565(), 0xFFFF), (Rgb{255, 255, 255}));
    EXPECT_EQ(RgbFromPixel(PixelFormat::Rgb555(), 0x7C00), (Rgb{255, 0, 0}));
}

TEST(Surface, PrimaryBlitsReachTheScreenOnlyInsideTheClipList) {
    auto directDraw = MakeDirectDraw(PixelFormat::Xrgb8888());
    auto screen = std::make_shared<MemoryScreen>(800, 600, PixelFormat::Xrgb8888());
    directDraw->SetScreen(screen);
    SurfaceDesc desc;
    desc.caps = DDSCAPS_PRIMARYSURFACE;
    std::shared_ptr<Surface> primary;
    ASSERT_EQ(directDraw->CreateSurface(desc, primary), DD_OK);
    EXPECT_EQ(primary->Width(), 800);

    auto picture = MakePlain(*directDraw, 100, 50);
    FillPixels(picture->View(), Rect{0, 0, 100, 50}, 0x00FF00);
    std::shared_ptr<Clipper> clipper;
    ASSERT_EQ(directDraw->CreateClipper(clipper), DD_OK);
    const Rect boxes[] = {{10, 10, 60, 40}, {200, 10, 260, 40}};
    ASSERT_EQ(clipper->SetClipList(boxes), DD_OK);
    ASSERT_EQ(primary->SetClipper(clipper), DD_OK);

    // Source 100 x 50 into a destination one pixel smaller each way: scaled, then clipped.
    const Rect src{0, 0, 100, 50};
    const Rect dst{0, 0, 99, 49};
    ASSERT_EQ(primary->Blt(&dst, picture.get(), &src, 0), DD_OK);
    EXPECT_EQ(screen->PresentCount(), 1);
    EXPECT_EQ(screen->PixelAt(10, 10), 0x00FF00u);
    EXPECT_EQ(screen->PixelAt(59, 39), 0x00FF00u);
    EXPECT_EQ(screen->PixelAt(60, 39), 0u);
    EXPECT_EQ(screen->PixelAt(9, 10), 0u);
    EXPECT_EQ(screen->PixelAt(200, 10), 0u);  // outside the destination
    const Rect far{190, 0, 290, 50};
    ASSERT_EQ(primary->Blt(&far, picture.get(), &src, 0), DD_OK);
    EXPECT_EQ(screen->PixelAt(200, 10), 0x00FF00u);
    EXPECT_EQ(screen->PixelAt(199, 10), 0u);

    const Rect none[1] = {{5, 5, 5, 9}};
    EXPECT_EQ(clipper->SetClipList(none), DDERR_INVALIDCLIPLIST);
    std::shared_ptr<Clipper> unused;
    ASSERT_EQ(directDraw->CreateClipper(unused), DD_OK);
    std::vector<Rect> list;
    EXPECT_EQ(unused->GetClipList(list), DDERR_NOCLIPLIST);
    EXPECT_EQ(unused->SetHWnd(0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(unused->SetHWnd(42), DD_OK);
}

TEST(Surface, DeviceContextDrawsColourPicturesInTheSurfaceFormat) {
    auto directDraw = MakeDirectDraw(PixelFormat::Rgb565());
    auto surface = MakePlain(*directDraw, 4, 3);
    SurfaceDc* dc = nullptr;
    ASSERT_EQ(surface->GetDC(dc), DD_OK);
    const std::uint8_t rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0,  // row stride 12
                                1,   2, 3, 4, 5,   6, 7, 8, 9,   0, 0, 0};
    dc->DrawRgb(2, 1, 3, 2, rgb, 12);  // the third column falls off the surface
    ASSERT_EQ(surface->ReleaseDC(dc), DD_OK);
    const PixelView& view = surface->View();
    EXPECT_EQ(LoadPixel(view.At(2, 1), 2), 0xF800u);
    EXPECT_EQ(LoadPixel(view.At(3, 1), 2), 0x07E0u);
    EXPECT_EQ(LoadPixel(view.At(1, 1), 2), 0u);
    EXPECT_EQ(LoadPixel(view.At(2, 0), 2), 0u);
}

TEST(Direct3D, DevicesListTheDepthsTheyRenderAndTheHardwareClassFails) {
    auto directDraw = MakeDirectDraw(PixelFormat::Xrgb8888());
    std::shared_ptr<Direct3D> direct3d;
    ASSERT_EQ(directDraw->QueryDirect3D(direct3d), DD_OK);
    int rendersSixteen = 0;
    int rendersEight = 0;
    ASSERT_EQ(direct3d->EnumDevices([&](const DeviceInfo& info) {
        const DeviceDescription& d = info.hardware.colorModel != 0 ? info.hardware : info.software;
        rendersSixteen += (d.renderBitDepths & BitDepthFlag(16)) != 0;
        rendersEight += (d.renderBitDepths & BitDepthFlag(8)) != 0;
        return true;
    }),
              DD_OK);
    EXPECT_GT(rendersSixteen, 0);
    EXPECT_EQ(rendersEight, 0);

    auto plain = MakePlain(*directDraw, 8, 8);
    SurfaceDesc desc;
    desc.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY | DDSCAPS_3DDEVICE;
    desc.width = 8;
    desc.height = 8;
    std::shared_ptr<Surface> target;
    ASSERT_EQ(directDraw->CreateSurface(desc, target), DD_OK);
    std::shared_ptr<Direct3DDevice> device;
    EXPECT_EQ(direct3d->CreateDevice(DeviceClass::Hardware, target, device), DDERR_UNSUPPORTED);
    EXPECT_EQ(direct3d->CreateDevice(DeviceClass::Rgb, plain, device), DDERR_INVALIDSURFACETYPE);
    EXPECT_EQ(direct3d->CreateDevice(DeviceClass::Rgb, target, device), DD_OK);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Target(), target);
}
