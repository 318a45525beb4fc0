#include "view/tile_art_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

#include "game/hex_position.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kColumnPitch = 49.0;
constexpr double kRowPitch = 49.0;
constexpr double kOddShift = 25.0;
// The tile centre lies in the middle of the hexagon piece (54 x 33 at (X + 11, top)).
constexpr double kCentreX = 38.0;
constexpr double kCentreY = 16.5;

// --- Textures: functions of the position relative to a tile centre, periodic with the
// --- tile layout. The layout's period vectors are (49, 24.5) and (0, 49).

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

double Lattice(int x, int y, int period, std::uint32_t seed) {
    const auto wrap = [period](int v) {
        return static_cast<std::uint32_t>(((v % period) + period) % period);
    };
    return (Hash(wrap(x), wrap(y), seed) & 0xFFFFFF) / double(0x1000000);
}

double Smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

// Value noise in 0..1 on the unit torus (u, v), with `period` cells each way.
double Noise(double u, double v, int period, std::uint32_t seed) {
    const double x = u * period;
    const double y = v * period;
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    const double fx = Smooth(x - ix);
    const double fy = Smooth(y - iy);
    const double a = Lattice(ix, iy, period, seed);
    const double b = Lattice(ix + 1, iy, period, seed);
    const double c = Lattice(ix, iy + 1, period, seed);
    const double d = Lattice(ix + 1, iy + 1, period, seed);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

double Fbm(double u, double v, int period, int octaves, std::uint32_t seed) {
    double sum = 0;
    double amplitude = 0.5;
    double total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(u, v, period << i, seed + 17u * i);
        total += amplitude;
        amplitude *= 0.5;
    }
    return sum / total;
}

ArtColour Mix(const ArtColour& a, const ArtColour& b, double t) {
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
            a.blue + (b.blue - a.blue) * t};
}

ArtColour Add(const ArtColour& a, double d) {
    return {a.red + d, a.green + d, a.blue + d};
}

// Position relative to a tile centre as co-ordinates on the layout's period torus.
void TorusCoordinates(double dx, double dy, double& u, double& v) {
    const double a = dx / kColumnPitch;
    const double b = (dy - 24.5 * a) / kRowPitch;
    u = a - std::floor(a);
    v = b - std::floor(b);
}

ArtColour OceanTexture(double u, double v) {
    const ArtColour deep{22, 60, 134};
    const ArtColour light{36, 92, 164};
    const double swell = Fbm(u, v, 3, 3, 11);
    ArtColour c = Mix(deep, light, std::clamp((swell - 0.3) * 1.5, 0.0, 1.0));
    // Broad, gently bent swells with soft crests.
    const double warp = Fbm(u, v, 3, 2, 23);
    const double wave = 0.5 + 0.5 * std::sin(2 * kPi * (2 * u + 3 * v) + 3.0 * warp);
    const double crest = Smooth(std::clamp((wave - 0.6) / 0.4, 0.0, 1.0));
    c = Mix(c, ArtColour{70, 126, 190}, 0.3 * crest);
    return Add(c, (Noise(u, v, 48, 31) - 0.5) * 5.0);
}

ArtColour DesertTexture(double u, double v) {
    const ArtColour dark{190, 150, 96};
    const ArtColour sand{224, 194, 136};
    const double patches = Fbm(u, v, 3, 3, 41);
    ArtColour c = Mix(dark, sand, std::clamp(0.4 + (patches - 0.5) * 1.3, 0.0, 1.0));
    // Dune ripples.
    const double warp = Fbm(u, v, 3, 2, 53);
    const double ripple = 0.5 + 0.5 * std::sin(2 * kPi * (3 * u - 4 * v) + 3.0 * warp);
    c = Add(c, (ripple - 0.5) * 12.0);
    // Grain.
    return Add(c, (Noise(u, v, 49, 61) - 0.5) * 12.0);
}

ArtColour GlacierTexture(double u, double v) {
    const ArtColour snow{238, 245, 250};
    const ArtColour blue{196, 218, 236};
    const double drift = Fbm(u, v, 3, 3, 71);
    ArtColour c = Mix(snow, blue, std::clamp((drift - 0.35) * 1.3, 0.0, 0.8));
    // Soft pressure ridges along the crests of a noise field.
    const double ridge = 1.0 - std::abs(2.0 * Fbm(u, v, 3, 2, 83) - 1.0);
    const double crease = Smooth(std::clamp((ridge - 0.75) / 0.25, 0.0, 1.0));
    c = Mix(c, ArtColour{176, 202, 224}, 0.25 * crease);
    return Add(c, (Noise(u, v, 49, 97) - 0.5) * 5.0);
}

ArtColour BlankTexture(double u, double v) {
    return Add(ArtColour{140, 140, 140}, (Fbm(u, v, 6, 2, 101) - 0.5) * 12.0);
}

ArtColour Texture(int artClass, double dx, double dy) {
    double u = 0;
    double v = 0;
    TorusCoordinates(dx, dy, u, v);
    switch (artClass) {
        case 0:
            return OceanTexture(u, v);
        case 1:
            return DesertTexture(u, v);
        case 2:
            return GlacierTexture(u, v);
        default:
            return BlankTexture(u, v);
    }
}

// One tile as the blending sees it.
struct Sample {
    ArtPoint centre;
    int artClass = 0;
};

double Falloff(double t) {
    return t >= 1.0 ? 0.0 : 1.0 - t * t * (3.0 - 2.0 * t);
}

ArtColour Blend(const std::vector<Sample>& tiles, ArtPoint p) {
    double nearest = 1e300;
    std::vector<double> distance(tiles.size());
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        distance[i] = std::hypot(p.x - tiles[i].centre.x, p.y - tiles[i].centre.y);
        nearest = std::min(nearest, distance[i]);
    }
    ArtColour sum;
    double total = 0;
    std::array<double, 4> classWeight{};
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const double w = Falloff((distance[i] - nearest) / kBlendDistance);
        if (w <= 0) {
            continue;
        }
        const ArtColour t =
            Texture(tiles[i].artClass, p.x - tiles[i].centre.x, p.y - tiles[i].centre.y);
        sum = {sum.red + w * t.red, sum.green + w * t.green, sum.blue + w * t.blue};
        total += w;
        classWeight[static_cast<std::size_t>(std::clamp(tiles[i].artClass, 0, 3))] += w;
    }
    ArtColour c{sum.red / total, sum.green / total, sum.blue / total};
    // Shallow water and surf where the sea meets land or ice.
    const double sea = classWeight[0] / total;
    const double sand = classWeight[1] / total;
    const double ice = classWeight[2] / total;
    if (sea > 0 && sea < 1) {
        const double shore = 4.0 * sea * (1.0 - sea);
        const ArtColour surf = sand >= ice ? ArtColour{96, 176, 190} : ArtColour{196, 226, 240};
        c = Mix(c, surf, 0.45 * shore * shore);
    }
    return c;
}

// The tiles whose texture reaches point p.
std::vector<TilePos> Influencers(ArtPoint p) {
    struct Candidate {
        TilePos tile;
        double distance;
    };
    std::vector<Candidate> candidates;
    const int c0 = static_cast<int>(std::floor((p.x - kCentreX) / kColumnPitch));
    double nearest = 1e300;
    for (int c = c0 - 1; c <= c0 + 2; ++c) {
        const double shift = (c & 1) != 0 ? kOddShift : 0.0;
        const int r0 = static_cast<int>(std::floor((p.y - kCentreY - shift) / kRowPitch));
        for (int r = r0 - 1; r <= r0 + 2; ++r) {
            const ArtPoint centre = TileCentre(r, c);
            const double d = std::hypot(p.x - centre.x, p.y - centre.y);
            candidates.push_back({{r, c}, d});
            nearest = std::min(nearest, d);
        }
    }
    std::vector<TilePos> out;
    for (const Candidate& candidate : candidates) {
        if (candidate.distance - nearest < kBlendDistance) {
            out.push_back(candidate.tile);
        }
    }
    return out;
}

// One place where the composer draws a piece: the flat position of the bitmap's top-left
// pixel, the bitmap rectangle it draws and the tiles standing for the piece's class indexes.
struct Usage {
    ArtPoint origin;
    gfx::Rect used;
    std::vector<TilePos> roles;
    double columnX = 0;    // x of the drawing tile's column (49 x column)
    bool nominal = false;  // counts for the piece's nominal geometry
};

// A piece paints only within the horizontal extent of its own tile's cell, from the cell's
// left corner to its right corner. What lies beyond belongs to the next column's cells and
// is painted by that column's pieces; so the first and last columns of the picture leave
// the margins black for the edge filling instead of painting ragged parts of the cells of
// columns that do not exist.
constexpr double kCellLeft = 7.4;
constexpr double kCellRight = 68.6;

gfx::Rect LowerRows(const gfx::Rect& r, int top) {
    return {r.left, top, r.right, r.bottom};
}

// Every kind of place the composer draws the pieces of `kind`, taken at sample tiles of
// each hemisphere, both column parities, the equator row and the top row.
// Neighbours are taken by the layout alone (RawNeighbour): these are places in the picture,
// so nothing wraps round the world.
std::vector<Usage> Usages(PieceKind kind) {
    std::vector<Usage> out;
    int columnX = 0;
    const auto add = [&](PieceKind k, const gfx::Rect& source, int x, int y,
                         std::vector<TilePos> roles, bool nominal) {
        if (k != kind) {
            return;
        }
        const SlotOrigin slot = PieceSlotOrigin(k, 0);
        Usage u;
        u.used = {source.left - slot.x, source.top - slot.y, source.right - slot.x,
                  source.bottom - slot.y};
        u.origin = {static_cast<double>(x - u.used.left), static_cast<double>(y - u.used.top)};
        u.roles = std::move(roles);
        u.columnX = columnX;
        u.nominal = nominal;
        out.push_back(std::move(u));
    };
    const gfx::Rect hex = PieceSource(PieceKind::Hex, 0);
    const gfx::Rect rect1 = PieceSource(PieceKind::Rect1, 0);
    const gfx::Rect rect2 = PieceSource(PieceKind::Rect2, 0);
    const gfx::Rect rect3 = PieceSource(PieceKind::Rect3, 0);
    const gfx::Rect tri1 = PieceSource(PieceKind::Tri1, 0);
    const gfx::Rect tri2 = PieceSource(PieceKind::Tri2, 0);
    const gfx::Rect tri1South = PieceSource(PieceKind::Tri1, 0, true);
    const gfx::Rect tri2South = PieceSource(PieceKind::Tri2, 0, true);

    for (int c : {10, 11}) {
        const int x = 49 * c;
        columnX = x;
        const int shift = (c & 1) != 0 ? 25 : 0;
        {  // Northern row.
            const TilePos o{10, c};
            const int top = 49 * o.row + shift;
            add(PieceKind::Hex, hex, x + 11, top, {o}, true);
            add(PieceKind::Rect1, rect1, x + 24, top + 33, {o, RawNeighbour(o, HexDirection::S)},
                true);
            add(PieceKind::Rect2, rect2, x, top + 17, {o, RawNeighbour(o, HexDirection::SW)}, true);
            add(PieceKind::Rect3, rect3, x + 49, top + 17, {o, RawNeighbour(o, HexDirection::SE)},
                true);
            add(PieceKind::Tri1, tri1, x + 49, top + 33,
                {o, RawNeighbour(o, HexDirection::S), RawNeighbour(o, HexDirection::SE)}, true);
            add(PieceKind::Tri2, tri2, x + 13, top + 33,
                {o, RawNeighbour(o, HexDirection::S), RawNeighbour(o, HexDirection::SW)}, true);
        }
        {  // Equator row.
            const TilePos o{63, c};
            const TilePos right{63, c + 1};
            const int y = 49 * 63;
            add(PieceKind::Hex, hex, x + 11, y + shift, {o}, false);
            if (shift != 0) {
                add(PieceKind::Rect2, rect2, x + 49, y + 17, {right, o}, false);
            } else {
                add(PieceKind::Rect3, rect3, x + 49, y + 17, {o, right}, false);
            }
        }
        {  // Southern row: the cursor stands 17 rows above the hexagon.
            const TilePos o{100, c};
            const int top = 49 * o.row - 17 + shift;
            add(PieceKind::Hex, hex, x + 11, top + 17, {o}, true);
            add(PieceKind::Rect1, rect1, x + 24, top, {RawNeighbour(o, HexDirection::N), o}, true);
            add(PieceKind::Rect2, rect2, x + 49, top + 9, {RawNeighbour(o, HexDirection::NE), o},
                true);
            add(PieceKind::Rect3, rect3, x, top + 9, {RawNeighbour(o, HexDirection::NW), o}, true);
            add(PieceKind::Tri1, tri1South, x + 49, top,
                {RawNeighbour(o, HexDirection::N), o, RawNeighbour(o, HexDirection::NE)}, true);
            add(PieceKind::Tri2, tri2South, x + 13, top,
                {RawNeighbour(o, HexDirection::N), o, RawNeighbour(o, HexDirection::NW)}, true);
        }
    }
    {  // Top filler above odd column 11 of row 0: the pieces of a tile above it.
        const int c = 11;
        const int x = 49 * c;
        columnX = x;
        const TilePos above{-1, c};
        const TilePos below{0, c};
        const TilePos left{0, c - 1};
        const TilePos right{0, c + 1};
        add(PieceKind::Hex, LowerRows(hex, 25), x + 11, 0, {above}, false);
        add(PieceKind::Rect1, rect1, x + 24, 8, {above, below}, false);
        add(PieceKind::Rect2, LowerRows(rect2, 70), x, 0, {above, left}, false);
        add(PieceKind::Rect3, LowerRows(rect3, 100), x + 49, 0, {above, right}, false);
        add(PieceKind::Tri1, tri1, x + 49, 8, {above, below, right}, false);
        add(PieceKind::Tri2, tri2, x + 13, 8, {above, below, left}, false);
    }
    return out;
}

bool Contains(const gfx::Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool Subset(const std::vector<TilePos>& inner, const std::vector<TilePos>& outer) {
    return std::all_of(inner.begin(), inner.end(), [&](const TilePos& t) {
        return std::find(outer.begin(), outer.end(), t) != outer.end();
    });
}

// The classes of a slot, in index order (a, b, c).
std::vector<int> SlotClasses(PieceKind kind, int slot) {
    switch (PieceIndexCount(kind)) {
        case 1:
            return {slot};
        case 2:
            return {slot / 3, slot % 3};
        default:
            return {slot / 9, (slot / 3) % 3, slot % 3};
    }
}

std::uint8_t Channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

ArtPoint TileCentre(int row, int column) {
    const double shift = (column & 1) != 0 ? kOddShift : 0.0;
    return {kColumnPitch * column + kCentreX, kRowPitch * row + shift + kCentreY};
}

ArtColour IdealColour(const std::function<int(int row, int column)>& classAt, ArtPoint p) {
    std::vector<Sample> samples;
    for (const TilePos& tile : Influencers(p)) {
        samples.push_back({TileCentre(tile.row, tile.column), classAt(tile.row, tile.column)});
    }
    return Blend(samples, p);
}

std::vector<bool> PieceMask(PieceKind kind) {
    const int width = PieceBitmapWidth(kind);
    const int height = PieceBitmapHeight(kind);
    std::vector<bool> mask(static_cast<std::size_t>(width) * height, false);
    const std::vector<Usage> usages = Usages(kind);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool drawn = false;
            bool valid = true;
            for (const Usage& u : usages) {
                if (!Contains(u.used, x, y)) {
                    continue;
                }
                drawn = true;
                const ArtPoint p{u.origin.x + x + 0.5, u.origin.y + y + 0.5};
                if (p.x < u.columnX + kCellLeft || p.x >= u.columnX + kCellRight ||
                    !Subset(Influencers(p), u.roles)) {
                    valid = false;
                    break;
                }
            }
            mask[static_cast<std::size_t>(y) * width + x] = drawn && valid;
        }
    }
    return mask;
}

namespace {

Bitmap PaintMasked(PieceKind kind, int slot, const std::vector<bool>& mask) {
    const int width = PieceBitmapWidth(kind);
    const int height = PieceBitmapHeight(kind);
    Bitmap bitmap = MakeBitmap(width, height);
    const std::vector<Usage> usages = Usages(kind);

    // The nominal place of each class's tile relative to the bitmap: the mean over the
    // places where the piece is drawn in the two hemispheres.
    const int roles = PieceIndexCount(kind);
    std::vector<ArtPoint> centres(static_cast<std::size_t>(roles));
    int count = 0;
    for (const Usage& u : usages) {
        if (!u.nominal) {
            continue;
        }
        ++count;
        for (int i = 0; i < roles; ++i) {
            const ArtPoint c = TileCentre(u.roles[i].row, u.roles[i].column);
            centres[i].x += c.x - u.origin.x;
            centres[i].y += c.y - u.origin.y;
        }
    }
    for (ArtPoint& c : centres) {
        c.x /= count;
        c.y /= count;
    }
    const std::vector<int> classes =
        slot < 0 ? std::vector<int>(static_cast<std::size_t>(roles), kBlankArtClass)
                 : SlotClasses(kind, slot);
    std::vector<Sample> samples;
    for (int i = 0; i < roles; ++i) {
        samples.push_back({centres[i], classes[i]});
    }

    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!mask[static_cast<std::size_t>(y) * width + x]) {
                continue;
            }
            const ArtColour c = Blend(samples, ArtPoint{x + 0.5, y + 0.5});
            std::uint8_t* p = bitmap.At(x, y);
            p[0] = Channel(c.red);
            p[1] = Channel(c.green);
            p[2] = Channel(c.blue);
            // Keep drawn pixels apart from the colour key on every display depth.
            if (p[0] < 8 && p[1] < 8 && p[2] < 8) {
                p[2] = 8;
            }
        }
    }
    return bitmap;
}

}  // namespace

Bitmap PaintPiece(PieceKind kind, int slot) {
    return PaintMasked(kind, slot, PieceMask(kind));
}

bool WriteTileArt(const std::string& folder, const ArtClassNames& names) {
    const auto fileName = [](const std::string& gameName) {
        const std::size_t cut = gameName.find_last_of("\\/");
        return cut == std::string::npos ? gameName : gameName.substr(cut + 1);
    };
    for (PieceKind kind : kPieceKinds) {
        const std::vector<bool> mask = PieceMask(kind);
        for (int slot = 0; slot < PieceSlotCount(kind); ++slot) {
            const std::string path = folder + "/" + fileName(PieceBitmapName(names, kind, slot));
            if (!WriteBmpFile(path, PaintMasked(kind, slot, mask))) {
                return false;
            }
        }
        const std::string blank = folder + "/" + fileName(BlankBitmapName(kind));
        if (!WriteBmpFile(blank, PaintMasked(kind, -1, mask))) {
            return false;
        }
    }
    return true;
}
