// velmora-tool render: makes the world's pictures of a player file without a screen: the
// globe's texture and the flat world picture that the large map's textures are cut from.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/message_store.h"
#include "game/player_file.h"
#include "platform/gfx/rm/root.h"
#include "platform/gfx/surface.h"
#include "platform/os/scripted_ui_shell.h"
#include "tool/commands.h"
#include "tool/png_writer.h"
#include "view/flat_picture.h"
#include "view/globe_texture.h"
#include "view/headless_views.h"
#include "view/main_map.h"

namespace {

constexpr const char* kName = "velmora-tool render";

struct RenderOptions {
    std::string playerFile;
    std::string globeTexture;
    std::string flat;
    double scale = 1.0;
    std::optional<int> resolution;
    std::string runDir;
    std::string views;
    double rotate = 0.0;
};

bool ParseOptions(const std::vector<std::string>& args, RenderOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "%s: %s needs a value\n", kName, arg.c_str());
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--globe-texture") {
            if (!value(options.globeTexture))
                return false;
        } else if (arg == "--flat") {
            if (!value(options.flat))
                return false;
        } else if (arg == "--views") {
            if (!value(options.views))
                return false;
        } else if (arg == "--rotate") {
            if (!value(text))
                return false;
            char* end = nullptr;
            options.rotate = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || *end != '\0' || !std::isfinite(options.rotate)) {
                std::fprintf(stderr, "%s: --rotate takes a number of degrees\n", kName);
                return false;
            }
        } else if (arg == "--run-dir") {
            if (!value(options.runDir))
                return false;
        } else if (arg == "--scale") {
            if (!value(text))
                return false;
            char* end = nullptr;
            options.scale = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || *end != '\0' || !(options.scale > 0.0) ||
                options.scale > 1.0) {
                std::fprintf(stderr, "%s: --scale takes a number above 0 and at most 1\n", kName);
                return false;
            }
        } else if (arg == "--resolution") {
            if (!value(text))
                return false;
            const int t = std::atoi(text.c_str());
            if (text != std::to_string(t) ||
                (t != 200 && t != 150 && t != 100 && t != 75 && t != 50)) {
                std::fprintf(stderr, "%s: --resolution takes 200, 150, 100, 75 or 50\n", kName);
                return false;
            }
            options.resolution = t;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "%s: unknown option '%s'\n", kName, arg.c_str());
            return false;
        } else if (options.playerFile.empty()) {
            options.playerFile = arg;
        } else {
            std::fprintf(stderr, "%s: only one PLAYER_FILE may be given\n", kName);
            return false;
        }
    }
    if (options.playerFile.empty()) {
        std::fprintf(stderr, "%s: no PLAYER_FILE given (see 'velmora-tool help render')\n", kName);
        return false;
    }
    if (options.globeTexture.empty() && options.flat.empty() && options.views.empty()) {
        std::fprintf(stderr, "%s: nothing to make: give --globe-texture, --flat or --views\n",
                     kName);
        return false;
    }
    return true;
}

std::string Absolute(const std::string& path) {
    return path.empty() ? path : std::filesystem::absolute(path).string();
}

// Shrinks rows of the flat picture by averaging boxes of source pixels, and writes the
// shrunk rows as they complete.
class RowShrinker {
public:
    RowShrinker(int width, int height, int outWidth, int outHeight, PngRowWriter& png)
        : width_(width),
          height_(height),
          outWidth_(outWidth),
          outHeight_(outHeight),
          png_(png),
          column_(static_cast<std::size_t>(width)),
          sums_(static_cast<std::size_t>(outWidth) * 3, 0.0),
          counts_(static_cast<std::size_t>(outWidth), 0),
          out_(static_cast<std::size_t>(outWidth) * 3) {
        for (int x = 0; x < width; ++x) {
            column_[x] = static_cast<int>(static_cast<long long>(x) * outWidth / width);
        }
    }

    bool Add(int y, const std::uint8_t* rgb) {
        for (int x = 0; x < width_; ++x) {
            const std::size_t o = static_cast<std::size_t>(column_[x]);
            sums_[3 * o] += rgb[3 * x];
            sums_[3 * o + 1] += rgb[3 * x + 1];
            sums_[3 * o + 2] += rgb[3 * x + 2];
            ++counts_[o];
        }
        // Source row y belongs to output row trunc(y * outHeight / height); the output row
        // is complete when the next source row belongs to the next one.
        const long long current = static_cast<long long>(y) * outHeight_ / height_;
        const long long next = static_cast<long long>(y + 1) * outHeight_ / height_;
        if (y + 1 < height_ && next == current) {
            return true;
        }
        for (int o = 0; o < outWidth_; ++o) {
            const double n = counts_[o] > 0 ? counts_[o] : 1;
            for (int k = 0; k < 3; ++k) {
                out_[3 * o + k] = static_cast<std::uint8_t>(std::lround(sums_[3 * o + k] / n));
            }
        }
        std::fill(sums_.begin(), sums_.end(), 0.0);
        std::fill(counts_.begin(), counts_.end(), 0);
        return png_.WriteRow(out_.data());
    }

private:
    int width_;
    int height_;
    int outWidth_;
    int outHeight_;
    PngRowWriter& png_;
    std::vector<int> column_;
    std::vector<double> sums_;
    std::vector<int> counts_;
    std::vector<std::uint8_t> out_;
};

std::shared_ptr<gfx::Surface> PlainSurface(gfx::DirectDraw& directDraw, int width, int height) {
    gfx::SurfaceDesc desc;
    desc.caps = gfx::DDSCAPS_OFFSCREENPLAIN | gfx::DDSCAPS_SYSTEMMEMORY;
    desc.width = width;
    desc.height = height;
    std::shared_ptr<gfx::Surface> surface;
    if (directDraw.CreateSurface(desc, surface) != gfx::DD_OK) {
        return nullptr;
    }
    return surface;
}

bool WriteGlobeTexture(const RenderOptions& options, const WorldMap& world,
                       gfx::DirectDraw& directDraw) {
    std::shared_ptr<gfx::rm::Root> root;
    std::shared_ptr<gfx::Surface> surface =
        PlainSurface(directDraw, kGlobeTextureWidth, kGlobeTextureHeight);
    if (surface == nullptr || gfx::rm::Direct3DRMCreate(nullptr, root) != gfx::D3DRM_OK) {
        std::fprintf(stderr, "%s: cannot make the globe texture surface\n", kName);
        return false;
    }
    std::shared_ptr<gfx::rm::Texture> texture;
    if (!FillGlobeTexture(world, surface, *root, MakePalette(directDraw.DisplayFormat()),
                          texture)) {
        return false;
    }
    PngRowWriter png;
    if (!png.Open(options.globeTexture, kGlobeTextureWidth, kGlobeTextureHeight)) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", kName, options.globeTexture.c_str());
        return false;
    }
    std::vector<std::uint8_t> rgb(kGlobeTextureWidth * 3);
    const gfx::PixelView& view = surface->View();
    for (int y = 0; y < kGlobeTextureHeight; ++y) {
        for (int x = 0; x < kGlobeTextureWidth; ++x) {
            const gfx::Rgb c = gfx::RgbFromPixel(surface->Format(),
                                                 gfx::LoadPixel(view.At(x, y), view.bytesPerPixel));
            rgb[3 * x] = c.red;
            rgb[3 * x + 1] = c.green;
            rgb[3 * x + 2] = c.blue;
        }
        png.WriteRow(rgb.data());
    }
    if (!png.Close()) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", kName, options.globeTexture.c_str());
        return false;
    }
    return true;
}

bool WriteFlatPicture(const RenderOptions& options, const WorldMap& world,
                      gfx::DirectDraw& directDraw) {
    std::shared_ptr<gfx::Surface> tileArt = PlainSurface(directDraw, kTileArtWidth, kTileArtHeight);
    if (tileArt == nullptr) {
        std::fprintf(stderr, "%s: cannot make the tile art surface\n", kName);
        return false;
    }
    MainMap map;
    if (!map.LoadTileArt(*tileArt)) {
        return false;
    }
    const int outWidth = std::max(1, static_cast<int>(std::lround(kStripWidth * options.scale)));
    const int outHeight =
        std::max(1, static_cast<int>(std::lround(kFlatPictureHeight * options.scale)));
    PngRowWriter png;
    if (!png.Open(options.flat, outWidth, outHeight)) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", kName, options.flat.c_str());
        return false;
    }
    // At full size the rows go to the writer as they come; a smaller picture is averaged.
    std::optional<RowShrinker> shrinker;
    if (outWidth != kStripWidth || outHeight != kFlatPictureHeight) {
        shrinker.emplace(kStripWidth, kFlatPictureHeight, outWidth, outHeight, png);
    }
    bool written = true;
    if (!ComposeFlatPicture(map, directDraw, world, *tileArt, [&](int y, const std::uint8_t* rgb) {
            written = (shrinker ? shrinker->Add(y, rgb) : png.WriteRow(rgb)) && written;
        })) {
        return false;
    }
    if (!png.Close() || !written) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", kName, options.flat.c_str());
        return false;
    }
    return true;
}

// The back buffer after one render pass of both views (map at x 0, globe at x 600), with
// the globe turned about its polar axis by the pass first.
bool WriteViews(const RenderOptions& options, WorldMap& world, int textureResolution) {
    const std::vector<std::string> missing = MissingViewFiles();
    if (!missing.empty()) {
        std::string list;
        for (const std::string& name : missing) {
            list += (list.empty() ? "" : ", ") + name;
        }
        std::fprintf(stderr,
                     "%s: --views needs these files in the run folder (%s), which are missing: "
                     "%s\n  (run from the build's run/ folder or give --run-dir)\n",
                     kName, std::filesystem::current_path().string().c_str(), list.c_str());
        return false;
    }
    // The engine reports its failures in message boxes; here they go to the error output.
    ScriptedUiShell shell;
    std::vector<std::uint8_t> rgb;
    {
        ScopedShell installed(shell);
        rgb = RenderViewsToImage(world, textureResolution, options.rotate);
    }
    for (const ScriptedUiShell::Message& message : shell.messages) {
        std::fprintf(stderr, "%s: %s: %s\n", kName, message.caption.c_str(), message.text.c_str());
    }
    if (rgb.empty()) {
        std::fprintf(stderr, "%s: the views could not be rendered\n", kName);
        return false;
    }
    PngRowWriter png;
    if (!png.Open(options.views, kBackBufferWidth, kBackBufferHeight)) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", kName, options.views.c_str());
        return false;
    }
    for (int y = 0; y < kBackBufferHeight; ++y) {
        png.WriteRow(rgb.data() + static_cast<std::size_t>(y) * kBackBufferWidth * 3);
    }
    if (!png.Close()) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", kName, options.views.c_str());
        return false;
    }
    return true;
}

int RunRender(const std::vector<std::string>& args) {
    RenderOptions options;
    if (!ParseOptions(args, options)) {
        return 2;
    }
    TitleState title;
    if (options.resolution) {
        // Kept for the views of the large map, which take their texture side from here.
        title.TextureResolution = *options.resolution;
    }
    auto world = std::make_unique<WorldMap>();
    MessageStore messages;
    ResearchPoints research;
    ReadOutcome outcome;
    if (!ReadPlayerFile(options.playerFile, PlayerFileTargets{*world, title, messages, research},
                        &outcome)) {
        std::fprintf(stderr, "%s: cannot read '%s'\n", kName, options.playerFile.c_str());
        return 1;
    }
    if (outcome.Damaged()) {
        std::fprintf(stderr, "%s: note: %s\n", kName,
                     DescribeDamage(options.playerFile, outcome).c_str());
    }
    // The tile art is found relative to the working directory, as the game finds it.
    options.globeTexture = Absolute(options.globeTexture);
    options.flat = Absolute(options.flat);
    options.views = Absolute(options.views);
    if (!options.runDir.empty()) {
        std::error_code error;
        std::filesystem::current_path(options.runDir, error);
        if (error) {
            std::fprintf(stderr, "%s: cannot enter '%s'\n", kName, options.runDir.c_str());
            return 1;
        }
    }
    std::shared_ptr<gfx::DirectDraw> directDraw;
    if (gfx::DirectDrawCreate(gfx::DisplayMode{}, nullptr, directDraw) != gfx::DD_OK) {
        std::fprintf(stderr, "%s: cannot set up the graphics layer\n", kName);
        return 1;
    }
    if (!options.globeTexture.empty() && !WriteGlobeTexture(options, *world, *directDraw)) {
        return 1;
    }
    if (!options.flat.empty() && !WriteFlatPicture(options, *world, *directDraw)) {
        return 1;
    }
    if (!options.views.empty() && !WriteViews(options, *world, title.TextureResolution)) {
        return 1;
    }
    return 0;
}

}  // namespace

extern const ToolCommand kRenderCommand = {
    "render",
    "make the world's pictures of a player file as PNG files",
    "Usage: velmora-tool render PLAYER_FILE [--globe-texture FILE] [--flat FILE [--scale S]]\n"
    "                           [--views FILE [--rotate DEG]] [--resolution T] [--run-dir DIR]\n"
    "\n"
    "Makes the pictures the main screen shows of the world in PLAYER_FILE (.p01 to .p10):\n"
    "  --globe-texture FILE  the globe's texture, 256 x 128, one pixel per tile\n"
    "  --flat FILE           the flat world picture (12800 x 6255) that the large map's\n"
    "                        textures are cut from, composed band by band\n"
    "  --scale S             shrink the flat picture by S (above 0, at most 1), averaging\n"
    "  --views FILE          the 1200 x 600 back buffer after one render pass: the large map\n"
    "                        at x 0, the globe at x 600 (needs sphere3.x and GAMEART\\)\n"
    "  --rotate DEG          turn the globe by DEG degrees about its polar axis first\n"
    "  --resolution T        the large map's texture side: 200, 150, 100, 75 or 50\n"
    "  --run-dir DIR         the folder holding GAMEART/ (default: the working directory)\n"
    "A missing tile art bitmap falls back to its Blank bitmap; with both missing the command\n"
    "fails. Errors: exit code 1; bad options: exit code 2.\n",
    RunRender,
};
