#include "view/tile_art.h"

#include <map>

#include "platform/gfx/surface.h"
#include "platform/os/named_records.h"
#include "platform/os/ui_shell.h"
#include "view/pixel_access.h"
#include "view/view_failure.h"

namespace {

// Bounds the retries of the lock that finds black's pixel value.
constexpr int kMaxLockRetries = 1000;

struct KindGeometry {
    int slots;
    int pitch;       // slot origins are pitch * n apart
    int originY;     // where the bitmap's top row goes
    int usedTop;     // first row drawn
    int usedBottom;  // one past the last row drawn (northern)
    int width;       // columns drawn
    int room;        // width the surface needs from the slot origin
    int extraSouth;  // rows the southern rectangle adds
};

KindGeometry Geometry(PieceKind kind) {
    switch (kind) {
        case PieceKind::Hex:
            return {3, 55, 0, 1, 34, 54, 115, 0};
        case PieceKind::Rect1:
            return {9, 30, 37, 39, 56, 28, 90, 0};
        case PieceKind::Rect2:
            return {9, 30, 60, 62, 86, 27, 90, 0};
        case PieceKind::Rect3:
            return {9, 30, 90, 92, 116, 27, 90, 0};
        case PieceKind::Tri1:
            return {27, 15, 120, 122, 139, 14, 75, 1};
        case PieceKind::Tri2:
            return {27, 15, 145, 147, 164, 14, 75, 1};
    }
    return {};
}

}  // namespace

std::optional<ArtClassNames> ParseTerrainTypes(std::span<const std::uint8_t> record) {
    ArtClassNames names;
    std::size_t at = 0;
    for (std::string& name : names) {
        std::size_t end = at;
        while (end < record.size() && record[end] != 0) {
            ++end;
        }
        if (end >= record.size()) {
            return std::nullopt;
        }
        name.assign(reinterpret_cast<const char*>(record.data()) + at, end - at);
        at = end + 1;
    }
    return names;
}

std::optional<ArtClassNames> BuiltInTerrainTypes() {
    const auto record = FindNamedRecord("TerrainTypes");
    if (!record) {
        return std::nullopt;
    }
    return ParseTerrainTypes(*record);
}

int PieceIndexCount(PieceKind kind) {
    switch (kind) {
        case PieceKind::Hex:
            return 1;
        case PieceKind::Tri1:
        case PieceKind::Tri2:
            return 3;
        default:
            return 2;
    }
}

int PieceSlotCount(PieceKind kind) {
    return Geometry(kind).slots;
}

SlotOrigin PieceSlotOrigin(PieceKind kind, int slot) {
    const KindGeometry g = Geometry(kind);
    return {g.pitch * slot, g.originY};
}

int PieceSlotRoom(PieceKind kind) {
    return Geometry(kind).room;
}

gfx::Rect PieceSource(PieceKind kind, int slot, bool southern) {
    const KindGeometry g = Geometry(kind);
    const int left = g.pitch * slot;
    return {left, g.usedTop, left + g.width, g.usedBottom + (southern ? g.extraSouth : 0)};
}

int PieceBitmapWidth(PieceKind kind) {
    return Geometry(kind).width;
}

int PieceBitmapHeight(PieceKind kind) {
    const KindGeometry g = Geometry(kind);
    return g.usedBottom + g.extraSouth - g.originY;
}

std::string_view PieceSuffix(PieceKind kind) {
    switch (kind) {
        case PieceKind::Hex:
            return "1hex.bmp";
        case PieceKind::Rect1:
            return "Rect1.bmp";
        case PieceKind::Rect2:
            return "Rect2.bmp";
        case PieceKind::Rect3:
            return "Rect3.bmp";
        case PieceKind::Tri1:
            return "Tri1.bmp";
        case PieceKind::Tri2:
            return "Tri2.bmp";
    }
    return "";
}

std::string PieceBitmapName(const ArtClassNames& names, PieceKind kind, int slot) {
    std::string name = "GAMEART\\";
    switch (PieceIndexCount(kind)) {
        case 1:
            name += names[slot % 3];
            break;
        case 2:
            name += names[(slot / 3) % 3];
            name += names[slot % 3];
            break;
        default:
            name += names[(slot / 9) % 3];
            name += names[(slot / 3) % 3];
            name += names[slot % 3];
            break;
    }
    name += PieceSuffix(kind);
    return name;
}

std::string BlankBitmapName(PieceKind kind) {
    switch (kind) {
        case PieceKind::Hex:
            return "GAMEART\\BlankHex.bmp";
        case PieceKind::Rect1:
            return "GAMEART\\BlankRect1.bmp";
        case PieceKind::Rect2:
            return "GAMEART\\BlankRect2.bmp";
        case PieceKind::Rect3:
            return "GAMEART\\BlankRect3.bmp";
        case PieceKind::Tri1:
            return "GAMEART\\BlankTri1.bmp";
        case PieceKind::Tri2:
            return "GAMEART\\BlankTri2.bmp";
    }
    return "";
}

bool CopyBitmapToSurface(gfx::Surface& surface, const Bitmap& bitmap, int x, int y) {
    // A lost surface gets its memory back first; what that reports does not matter here.
    surface.Restore();
    gfx::SurfaceDc* dc = nullptr;
    if (surface.GetDC(dc) != gfx::DD_OK || dc == nullptr) {
        Shell().DebugOutput("ddcopybitmap failed ");
        return false;
    }
    dc->DrawRgb(x, y, bitmap.width, bitmap.height, bitmap.rgb.data(), bitmap.width * 3);
    if (surface.ReleaseDC(dc) != gfx::DD_OK) {
        Shell().DebugOutput("ddcopybitmap failed ");
        return false;
    }
    return true;
}

std::uint32_t SetBlackSourceKey(gfx::Surface& surface) {
    const gfx::PixelFormat format = surface.Format();
    std::uint32_t key = gfx::PixelFromRgb(format, 0, 0, 0);

    gfx::SurfaceDc* dc = nullptr;
    std::optional<gfx::Rgb> old;
    if (surface.GetDC(dc) == gfx::DD_OK && dc != nullptr) {
        old = dc->GetPixel(0, 0);
        dc->SetPixel(0, 0, gfx::Rgb{0, 0, 0});
        surface.ReleaseDC(dc);
    }
    if (old) {
        gfx::SurfaceDesc desc;
        gfx::Result locked = gfx::DDERR_WASSTILLDRAWING;
        for (int i = 0; i < kMaxLockRetries && locked == gfx::DDERR_WASSTILLDRAWING; ++i) {
            locked = surface.Lock(desc, gfx::DDLOCK_WAIT);
        }
        if (locked == gfx::DD_OK) {
            const int bits = static_cast<int>(format.bitCount);
            const std::uint32_t mask = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1u);
            key = ReadPixel(desc.bits, 0, bits / 8) & mask;
            surface.Unlock();
        }
        if (surface.GetDC(dc) == gfx::DD_OK && dc != nullptr) {
            dc->SetPixel(0, 0, *old);
            surface.ReleaseDC(dc);
        }
    }
    const gfx::ColorKey colourKey{key, key};
    surface.SetColorKey(gfx::DDCKEY_SRCBLT, &colourKey);
    return key;
}

bool FillTileArtSurface(gfx::Surface& surface, const ArtClassNames& names) {
    // The replacement of a kind is decoded once, however many slots need it.
    std::map<PieceKind, std::optional<Bitmap>> blanks;
    for (PieceKind kind : kPieceKinds) {
        for (int slot = 0; slot < PieceSlotCount(kind); ++slot) {
            const SlotOrigin origin = PieceSlotOrigin(kind, slot);
            const std::optional<Bitmap> art = LoadProgramBitmap(PieceBitmapName(names, kind, slot));
            bool loaded = art && CopyBitmapToSurface(surface, *art, origin.x, origin.y);
            if (!loaded) {
                auto found = blanks.find(kind);
                if (found == blanks.end()) {
                    found = blanks.emplace(kind, LoadProgramBitmap(BlankBitmapName(kind))).first;
                }
                loaded = found->second &&
                         CopyBitmapToSurface(surface, *found->second, origin.x, origin.y);
            }
            if (!loaded) {
                return FatalFailure("Unable to load Offscreen Surface", kFatalErrorCaption);
            }
            if (surface.Width() < origin.x + PieceSlotRoom(kind)) {
                return FatalFailure("Offscreen Surface is full.", kFatalErrorCaption);
            }
        }
    }
    SetBlackSourceKey(surface);
    return true;
}
