// The files the program's views read from the working folder when a game is loaded.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gfx/sphere_mesh.h"
#include "support/temp_dir.h"
#include "view/tile_art.h"
#include "view/tile_art_painter.h"

// Writes the globe's sphere mesh, of `rings` rings and `segments` segments, and the tile art
// into dir. False, with nothing but the mesh written, when the built-in terrain types cannot
// be read.
inline bool WriteViewFiles(const TempDir& dir, int rings, int segments) {
    std::ofstream(dir.File("sphere3.x")) << gfx::SphereMeshText(rings, segments);
    const auto names = BuiltInTerrainTypes();
    EXPECT_TRUE(names.has_value());
    if (!names)
        return false;
    std::filesystem::create_directory(dir.path() / "GAMEART");
    EXPECT_TRUE(WriteTileArt(dir.File("GAMEART"), *names));
    return true;
}
