// Writes the tile art bitmaps: make_tile_art RUN_DIR writes every piece of every class
// combination and the six Blank replacements under RUN_DIR/GAMEART/.
#include <cstdio>
#include <filesystem>
#include <string>

#include "view/tile_art.h"
#include "view/tile_art_painter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_tile_art RUN_DIR\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "GAMEART";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "make_tile_art: cannot create %s\n", folder.string().c_str());
        return 1;
    }
    const auto names = BuiltInTerrainTypes();
    if (!names) {
        std::fprintf(stderr, "make_tile_art: the TerrainTypes record is missing\n");
        return 1;
    }
    if (!WriteTileArt(folder.string(), *names)) {
        std::fprintf(stderr, "make_tile_art: cannot write the bitmaps in %s\n",
                     folder.string().c_str());
        return 1;
    }
    return 0;
}
