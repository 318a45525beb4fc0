// The large map object: the art class names, the sphere's vertex grid, the large map's scene
// objects, its 24 x 48 textures and their surfaces, and the state of the world picture's
// composition.
//
// The flat world picture (12800 x 6255 pixels) is never held whole. It is composed band by
// band in a strip surface 12800 x 350: each tile row is drawn at the strip's cursor from
// pieces of the tile art surface (hexagons and the rectangles and triangles that blend them
// into their neighbours), the strip is scrolled up by a band when the cursor has passed row
// 261, and each band's rows 0..260 (252 rows for the last band) are cut into 48 portions,
// each scaled into one texture of the sphere mesh.
//
// Every failing platform call shows its message box, asks the application to end and makes
// the operation return false at once.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/world_map.h"
#include "platform/gfx/rm/root.h"
#include "platform/gfx/surface.h"
#include "view/large_map_mesh.h"
#include "view/tile_art.h"

class Clock;

inline constexpr int kStripWidth = 12800;
inline constexpr int kStripHeight = 350;
inline constexpr int kBandHeight = 261;
inline constexpr int kClearWidth = 128;
inline constexpr int kClearHeight = 262;
inline constexpr int kEquatorRow = 63;
inline constexpr int kTileColumnPitch = 49;
inline constexpr int kTileRowPitch = 49;
inline constexpr int kEquatorRowPitch = 32;
inline constexpr int kOddColumnShift = 25;
// Full height of the flat world picture: 63 x 49 + 32 + 64 x 49.
inline constexpr int kFlatPictureHeight = 6255;

// Receives the loading notice's gauge position, 0 to 100.
using ProgressFn = std::function<void(int percent)>;

// What the map textures are made with. The view engine owns all of it; the pointers must
// stay valid for the call.
struct MapTextureContext {
    gfx::DirectDraw* directDraw = nullptr;  // makes the strip, clear and texture surfaces
    gfx::rm::Root* root = nullptr;          // makes the textures
    gfx::Surface* tileArt = nullptr;        // filled by LoadTileArt, keyed with black
    const WorldMap* world = nullptr;
    int textureResolution = 50;  // T: the textures are T x T
    Clock* clock = nullptr;      // the system clock when null
    ProgressFn progress;         // the loading notice's gauge; may be empty
    // Shows "Map Creation Time: N milliseconds" in the main screen's MainMapPosDisplay.
    std::function<void(const std::string&)> showCreationTime;
};

// The column whose pixel the edge filling copies to column `column` of the left margin
// (first non-black column `left`) and of the right margin (last non-black column `right`).
int StretchSourceLeft(int left, int column);
int StretchSourceRight(int right, int column);

// For each band of CreateMapTexture at texture side `side`, the strip rows whose pixels its
// textures read, directly or through the bands after it (one entry per strip row, 1 for a
// row in use). Every other row may be left as it is.
std::array<std::vector<std::uint8_t>, kMapGroupRows> StripRowsInUse(int side);

class MainMap {
public:
    MainMap();
    ~MainMap();
    MainMap(const MainMap&) = delete;
    MainMap& operator=(const MainMap&) = delete;

    // --- What the object holds, in order. ---
    ArtClassNames TerrainTypeNames;
    VertexGrid Vertices{};
    // The large map's scene objects; the view engine's SetUpLargeMap makes them (the mesh
    // before CreateMapTexture, the light and viewport after it).
    std::shared_ptr<gfx::rm::Frame> SceneFrame;
    std::shared_ptr<gfx::rm::Frame> CameraFrame;
    std::shared_ptr<gfx::rm::Frame> MapFrame;
    std::shared_ptr<gfx::rm::Viewport> MapViewport;
    std::shared_ptr<gfx::rm::Mesh> MapMesh;
    std::array<std::array<std::shared_ptr<gfx::rm::Texture>, kMapGroupColumns>, kMapGroupRows>
        Textures;
    std::shared_ptr<gfx::rm::Light> AmbientLight;
    std::array<std::array<std::shared_ptr<gfx::Surface>, kMapGroupColumns>, kMapGroupRows>
        TextureSurfaces;
    int NextTileRow = 0;            // the next tile row to draw, 0..128
    int CursorY = 0;                // the strip row where that tile row is drawn
    std::int32_t CreationTime = 0;  // milliseconds CreateMapTexture took
    std::shared_ptr<gfx::Surface> LargeMapTextureSurface;  // the strip, while it exists
    std::shared_ptr<gfx::Surface> ClearSurface;

    // Reads the "TerrainTypes" names and fills the tile art surface (FillTileArtSurface).
    // Called by the view engine's set-up right after the tile art surface exists.
    bool LoadTileArt(gfx::Surface& tileArt);

    // Builds the 24 x 48 textures (T x T), composes the flat picture band by band, cuts
    // each band into its 48 textures, adds the 1152 mesh groups to MapMesh (which must
    // exist), keeps the time taken in CreationTime and shows it. Failure captions: "Unable
    // to create Map Texture Surface", "Unable to upgrade Map Texture Surface", "Unable to
    // create large map texture", "GetSurfaceDesc failure in texture mapping assignment",
    // "Unable to BltFast Texture Portion for Main Map Texture", "Unable to Add Group to Main
    // Map Mesh", "Unable to Set Main Map Mesh Group Vertices", "Unable to Set Main Map Mesh
    // Group Quality", "Unable to Set Main Map Mesh Group Texture", and those of the strip.
    bool CreateMapTexture(const MapTextureContext& context);

    // Creates the strip (12800 x 350) and the clear surface (128 x 262), zeroes the clear
    // surface and blanks strip rows 0..261; resets the composition to tile row 0, cursor 0.
    bool PrepareStrip(gfx::DirectDraw& directDraw);
    // Releases the strip and the clear surface.
    void ReleaseStrip();

    // Draws the next band into strip rows 0..260: scrolls the strip when the cursor has
    // passed row 261, draws tile rows while the cursor is above 261 and rows remain
    // (reporting the gauge after each), then fills the edges.
    bool ComposeBand(const WorldMap& world, gfx::Surface& tileArt, const ProgressFn& progress = {});
    // Moves the part of the strip below the band to its top and blanks the rest; the
    // cursor moves up by 261.
    bool ScrollStrip();
    // For each of the rows 0..260, stretches the 200 columns from its first non-black
    // pixel (searched up to column 1000) over its left margin, and the 200 columns up to
    // its last non-black pixel (searched down to column 11800) over its right margin.
    bool FillEdges();
    // Draws tile row `row` at strip row y (and the top filler after row 0).
    bool DrawTileRow(const WorldMap& world, gfx::Surface& tileArt, int row, int y);

    // One tile's pieces, drawn with the source colour key. Arguments are the tile's column,
    // the strip cursor and the Terrain codes of the tile and of the neighbours it blends
    // into.
    bool DrawNHemisphereTile(gfx::Surface& tileArt, int column, int y, std::int32_t own,
                             std::int32_t south, std::int32_t southWest, std::int32_t southEast);
    bool DrawEqHemisphereTile(gfx::Surface& tileArt, int column, int y, std::int32_t own,
                              std::int32_t right);
    bool DrawSHemisphereTile(gfx::Surface& tileArt, int column, int y, std::int32_t own,
                             std::int32_t north, std::int32_t northWest, std::int32_t northEast);
    // Fills strip rows 0..24 above odd column `column` of row 0.
    bool DrawNHemisphereTopFiller(gfx::Surface& tileArt, int column, std::int32_t own,
                                  std::int32_t left, std::int32_t right);

    // Releases every platform object held: per group the texture surface and the texture,
    // then the light, mesh, map frame, camera frame, scene frame and viewport, and the strip
    // and clear surfaces if they exist. Each reference is cleared.
    void Release();

private:
    bool DrawPiece(gfx::Surface& tileArt, int x, int y, const gfx::Rect& source,
                   const char* caption);
};
