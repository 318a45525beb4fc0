#include "view/main_map.h"

#include "platform/os/clock.h"
#include "view/view_failure.h"

namespace {

// Which bands begin with a scroll: the strip cursor moves by the fixed row pitches alone, so
// this is the same for every world.
std::array<bool, kMapGroupRows> BandsThatScroll() {
    std::array<bool, kMapGroupRows> scrolls{};
    int cursor = 0;
    int row = 0;
    for (int g = 0; g < kMapGroupRows; ++g) {
        scrolls[static_cast<std::size_t>(g)] = cursor > kBandHeight;
        if (cursor > kBandHeight) {
            cursor -= kBandHeight;
        }
        while (cursor < kBandHeight && row < kWorldRows) {
            cursor += row == kEquatorRow ? kEquatorRowPitch : kTileRowPitch;
            ++row;
        }
    }
    return scrolls;
}

}  // namespace

std::array<std::vector<std::uint8_t>, kMapGroupRows> StripRowsInUse(int side) {
    const std::array<bool, kMapGroupRows> scrolls = BandsThatScroll();
    std::array<std::vector<std::uint8_t>, kMapGroupRows> rows;
    for (int g = kMapGroupRows - 1; g >= 0; --g) {
        std::vector<std::uint8_t>& use = rows[static_cast<std::size_t>(g)];
        use.assign(kStripHeight, 0);
        const gfx::Rect portion = PortionRect(g, 0, kStripWidth);
        for (int d = 0; d < side; ++d) {
            use[static_cast<std::size_t>(portion.top +
                                         gfx::ScaledOffset(d, side, portion.Height()))] = 1;
        }
        if (g + 1 == kMapGroupRows) {
            continue;
        }
        // What the next band takes over from this one: the rows its scroll moves up to rows
        // it uses, or, without a scroll, every row it uses. Rows a scroll does not fill are
        // blanked and drawn afresh.
        const std::vector<std::uint8_t>& after = rows[static_cast<std::size_t>(g) + 1];
        const bool scrolled = scrolls[static_cast<std::size_t>(g) + 1];
        for (int y = 0; y < kStripHeight; ++y) {
            if (after[static_cast<std::size_t>(y)] == 0) {
                continue;
            }
            if (!scrolled) {
                use[static_cast<std::size_t>(y)] = 1;
            } else if (y + kBandHeight < kStripHeight) {
                use[static_cast<std::size_t>(y + kBandHeight)] = 1;
            }
        }
    }
    return rows;
}

MainMap::MainMap() = default;

MainMap::~MainMap() {
    Release();
}

bool MainMap::LoadTileArt(gfx::Surface& tileArt) {
    // Without the record the names stay empty: every slot then takes its Blank bitmap.
    if (const auto names = BuiltInTerrainTypes()) {
        TerrainTypeNames = *names;
    }
    return FillTileArtSurface(tileArt, TerrainTypeNames);
}

bool MainMap::CreateMapTexture(const MapTextureContext& context) {
    Clock& clock = context.clock != nullptr ? *context.clock : SystemClock();
    const std::uint32_t started = clock.TickCount();
    if (context.progress) {
        context.progress(0);
    }
    if (!MapMesh) {
        // The mesh is made by the large map's set-up before its textures; without it no
        // group can be added.
        return FatalGfxFailure(gfx::D3DRMERR_BADOBJECT, "Unable to Add Group to Main Map Mesh");
    }
    gfx::DirectDraw& directDraw = *context.directDraw;
    gfx::rm::Root& root = *context.root;
    const int side = context.textureResolution;

    for (int g = 0; g < kMapGroupRows; ++g) {
        for (int h = 0; h < kMapGroupColumns; ++h) {
            gfx::SurfaceDesc desc;
            desc.caps = gfx::DDSCAPS_OFFSCREENPLAIN | gfx::DDSCAPS_SYSTEMMEMORY;
            desc.width = side;
            desc.height = side;
            if (gfx::Result r = directDraw.CreateSurface(desc, TextureSurfaces[g][h]);
                r != gfx::DD_OK) {
                return FatalGfxFailure(r, "Unable to create Map Texture Surface");
            }
            if (gfx::Result r = TextureSurfaces[g][h]->QueryInterface(gfx::Iid::DirectDrawSurface3);
                r != gfx::DD_OK) {
                return FatalGfxFailure(r, "Unable to upgrade Map Texture Surface");
            }
            if (gfx::Result r =
                    root.CreateTextureFromSurface(TextureSurfaces[g][h], Textures[g][h]);
                r != gfx::DD_OK) {
                return FatalGfxFailure(r, "Unable to create large map texture");
            }
        }
    }

    if (!PrepareStrip(directDraw)) {
        return false;
    }
    Vertices = ComputeVertexGrid();
    gfx::SurfaceDesc stripDesc;
    if (gfx::Result r = LargeMapTextureSurface->GetSurfaceDesc(stripDesc); r != gfx::DD_OK) {
        return FatalGfxFailure(r, "GetSurfaceDesc failure in texture mapping assignment");
    }
    const int stripWidth = stripDesc.width;
    NextTileRow = 0;
    CursorY = 0;

    // The textures sample only some of the strip's rows (at T = 50 one in five): the others
    // are neither drawn nor edge-filled.
    auto rowsInUse = StripRowsInUse(side);
    const gfx::Rect whole{0, 0, side, side};
    for (int g = 0; g < kMapGroupRows; ++g) {
        LargeMapTextureSurface->LimitQueuedRows(std::move(rowsInUse[static_cast<std::size_t>(g)]));
        if (!ComposeBand(*context.world, *context.tileArt, context.progress)) {
            return false;
        }
        for (int h = 0; h < kMapGroupColumns; ++h) {
            const gfx::Rect portion = PortionRect(g, h, stripWidth);
            if (gfx::Result r = TextureSurfaces[g][h]->Blt(&whole, LargeMapTextureSurface.get(),
                                                           &portion, gfx::DDBLT_WAIT);
                r != gfx::DD_OK) {
                return FatalGfxFailure(r, "Unable to BltFast Texture Portion for Main Map Texture");
            }
            gfx::rm::GroupIndex group = 0;
            if (gfx::Result r =
                    MapMesh->AddGroup(kGroupVertexCount, kGroupFaceCount, 3, kGroupFaces, group);
                r != gfx::D3DRM_OK) {
                return FatalGfxFailure(r, "Unable to Add Group to Main Map Mesh");
            }
            const auto vertices = GroupVertices(Vertices, g, h);
            if (gfx::Result r = MapMesh->SetVertices(group, 0, vertices); r != gfx::D3DRM_OK) {
                return FatalGfxFailure(r, "Unable to Set Main Map Mesh Group Vertices");
            }
            if (gfx::Result r = MapMesh->SetGroupQuality(group, kMapGroupQuality);
                r != gfx::D3DRM_OK) {
                return FatalGfxFailure(r, "Unable to Set Main Map Mesh Group Quality");
            }
            if (gfx::Result r = MapMesh->SetGroupTexture(group, Textures[g][h]);
                r != gfx::D3DRM_OK) {
                return FatalGfxFailure(r, "Unable to Set Main Map Mesh Group Texture");
            }
        }
    }

    ReleaseStrip();
    CreationTime = static_cast<std::int32_t>(clock.TickCount() - started);
    if (context.showCreationTime) {
        context.showCreationTime(CreationTimeText(CreationTime));
    }
    return true;
}

void MainMap::Release() {
    for (int g = 0; g < kMapGroupRows; ++g) {
        for (int h = 0; h < kMapGroupColumns; ++h) {
            TextureSurfaces[g][h].reset();
            Textures[g][h].reset();
        }
    }
    AmbientLight.reset();
    MapMesh.reset();
    MapFrame.reset();
    CameraFrame.reset();
    SceneFrame.reset();
    MapViewport.reset();
    ReleaseStrip();
}
