// Draws the program's icon: a globe of hexagonal tiles (sea, land, forest, hills, ice caps)
// with a gold rim. One description of the picture is written both as a scalable SVG and as
// PNG pictures in the icon sizes of a desktop's icon theme.
// Usage: make_icon <icon theme folder> <icon name>
// Writes <folder>/scalable/apps/<name>.svg and <folder>/<N>x<N>/apps/<name>.png.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The picture is described on a 256 x 256 canvas.
constexpr double kCanvas = 256.0;
constexpr double kCentre = 128.0;
constexpr double kGlobeRadius = 114.0;
constexpr double kRimWidth = 8.0;
// Pointy-top hexagons: corner distance, column step and row step.
constexpr double kHexRadius = 19.0;
const double kHexWidth = std::sqrt(3.0) * kHexRadius;
constexpr double kRowStep = 1.5 * kHexRadius;

// The tiles, row by row from the north; odd rows are shifted half a tile to the east.
// '.' sea, 'L' plain, 'F' forest, 'H' hills, 'I' ice.
// clang-format off
const char* const kTiles[] = {
    "IIIIIIIIII",
    "IIIIIIIIII",
    "..LLF....H",
    ".LFFHL...L",
    "..LFHL..LF",
    "...LL..LFF",
    ".L....LHFL",
    "LFL...LFL.",
    "IIIIIIIIII",
    "IIIIIIIIII",
};
// clang-format on
constexpr int kRows = 10;
constexpr int kColumns = 10;

struct Fill {
    char tile;
    const char* colour;
};
const Fill kFills[] = {
    {'L', "#c9b27a"},
    {'F', "#5d8c3e"},
    {'H', "#8c7452"},
    {'I', "#eef6fb"},
};

const char* const kSeaLight = "#6bb0e4";
const char* const kSeaMiddle = "#1a559c";
const char* const kSeaDeep = "#071d45";
const char* const kRimColour = "#d4a93a";
const char* const kRimShade = "#5c4310";
const char* const kGridColour = "#ffffff";
constexpr double kGridOpacity = 0.22;
// Below this size in pixels the tile borders would only blur the picture.
constexpr int kSmallestGridSize = 48;

struct Point {
    double x;
    double y;
};

std::vector<Point> HexCorners(int row, int column) {
    const double x = kCentre + (column - (kColumns - 1) / 2.0) * kHexWidth +
                     ((row % 2) != 0 ? kHexWidth / 2.0 : 0.0) - kHexWidth / 4.0;
    const double y = kCentre + (row - (kRows - 1) / 2.0) * kRowStep;
    std::vector<Point> corners;
    for (int k = 0; k < 6; ++k) {
        const double angle = (60.0 * k - 90.0) * M_PI / 180.0;
        corners.push_back({x + kHexRadius * std::cos(angle), y + kHexRadius * std::sin(angle)});
    }
    return corners;
}

const char* ColourOf(char tile) {
    for (const Fill& fill : kFills) {
        if (fill.tile == tile)
            return fill.colour;
    }
    return nullptr;
}

std::string SvgPoints(const std::vector<Point>& corners) {
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(2);
    for (size_t i = 0; i < corners.size(); ++i) {
        out << (i == 0 ? "" : " ") << corners[i].x << ',' << corners[i].y;
    }
    return out.str();
}

std::string SvgText() {
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
           "viewBox=\"0 0 256 256\">\n"
        << "  <defs>\n"
        << "    <radialGradient id=\"sea\" cx=\"128\" cy=\"128\" r=\"" << kGlobeRadius * 1.35
        << "\" fx=\"88\" fy=\"84\" gradientUnits=\"userSpaceOnUse\">\n"
        << "      <stop offset=\"0\" stop-color=\"" << kSeaLight << "\"/>\n"
        << "      <stop offset=\"0.6\" stop-color=\"" << kSeaMiddle << "\"/>\n"
        << "      <stop offset=\"1\" stop-color=\"" << kSeaDeep << "\"/>\n"
        << "    </radialGradient>\n"
        << "    <clipPath id=\"globe\"><circle cx=\"128\" cy=\"128\" r=\"" << kGlobeRadius
        << "\"/></clipPath>\n"
        << "  </defs>\n"
        << "  <circle cx=\"128\" cy=\"128\" r=\"" << kGlobeRadius << "\" fill=\"url(#sea)\"/>\n"
        << "  <g clip-path=\"url(#globe)\">\n";
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const char* colour = ColourOf(kTiles[row][column]);
            if (colour == nullptr)
                continue;
            svg << "    <polygon points=\"" << SvgPoints(HexCorners(row, column)) << "\" fill=\""
                << colour << "\"/>\n";
        }
    }
    svg << "    <g fill=\"none\" stroke=\"" << kGridColour << "\" stroke-opacity=\"" << kGridOpacity
        << "\" stroke-width=\"1.5\">\n";
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            svg << "      <polygon points=\"" << SvgPoints(HexCorners(row, column)) << "\"/>\n";
        }
    }
    svg << "    </g>\n"
        << "  </g>\n"
        << "  <circle cx=\"128\" cy=\"128\" r=\"" << kGlobeRadius + kRimWidth / 2.0
        << "\" fill=\"none\" stroke=\"" << kRimShade << "\" stroke-width=\"" << kRimWidth + 3.0
        << "\"/>\n"
        << "  <circle cx=\"128\" cy=\"128\" r=\"" << kGlobeRadius + kRimWidth / 2.0
        << "\" fill=\"none\" stroke=\"" << kRimColour << "\" stroke-width=\"" << kRimWidth
        << "\"/>\n"
        << "</svg>\n";
    return svg.str();
}

QPolygonF Polygon(const std::vector<Point>& corners) {
    QPolygonF polygon;
    for (const Point& p : corners)
        polygon << QPointF(p.x, p.y);
    return polygon;
}

QImage PaintIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    const QPointF centre(kCentre, kCentre);

    QRadialGradient sea(centre, kGlobeRadius * 1.35, QPointF(88, 84));
    sea.setColorAt(0.0, QColor(kSeaLight));
    sea.setColorAt(0.6, QColor(kSeaMiddle));
    sea.setColorAt(1.0, QColor(kSeaDeep));
    p.setPen(Qt::NoPen);
    p.setBrush(sea);
    p.drawEllipse(centre, kGlobeRadius, kGlobeRadius);

    QPainterPath globe;
    globe.addEllipse(centre, kGlobeRadius, kGlobeRadius);
    p.setClipPath(globe);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const char* colour = ColourOf(kTiles[row][column]);
            if (colour == nullptr)
                continue;
            p.setBrush(QColor(colour));
            p.drawPolygon(Polygon(HexCorners(row, column)));
        }
    }
    if (size >= kSmallestGridSize) {
        QColor grid(kGridColour);
        grid.setAlphaF(kGridOpacity);
        p.setPen(QPen(grid, 1.5));
        p.setBrush(Qt::NoBrush);
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                p.drawPolygon(Polygon(HexCorners(row, column)));
            }
        }
    }
    p.setClipping(false);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(kRimShade), kRimWidth + 3.0));
    p.drawEllipse(centre, kGlobeRadius + kRimWidth / 2.0, kGlobeRadius + kRimWidth / 2.0);
    p.setPen(QPen(QColor(kRimColour), kRimWidth));
    p.drawEllipse(centre, kGlobeRadius + kRimWidth / 2.0, kGlobeRadius + kRimWidth / 2.0);
    p.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icon <icon theme folder> <icon name>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string name = argv[2];
    std::error_code error;

    const std::filesystem::path scalable = folder / "scalable" / "apps";
    std::filesystem::create_directories(scalable, error);
    std::ofstream svg(scalable / (name + ".svg"), std::ios::binary | std::ios::trunc);
    svg << SvgText();
    svg.close();
    if (!svg) {
        std::fprintf(stderr, "make_icon: cannot write the SVG icon in %s\n", folder.c_str());
        return 1;
    }

    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path apps = folder / sizeName / "apps";
        std::filesystem::create_directories(apps, error);
        const std::string path = (apps / (name + ".png")).string();
        if (!PaintIcon(size).save(QString::fromStdString(path), "PNG")) {
            std::fprintf(stderr, "make_icon: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
