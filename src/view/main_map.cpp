#include "view/main_map.h"

#include "platform/os/clock.h"
#include "view/view_failure.h"

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

    const gfx::Rect whole{0, 0, side, side};
    for (int g = 0; g < kMapGroupRows; ++g) {
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
