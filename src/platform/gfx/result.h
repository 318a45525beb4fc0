// Result codes of the graphics layer, their published names, and the fault plan that lets
// tests make any call of the layer fail.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace gfx {

// Every operation of the layer returns 0 for success or one of the codes below.
using Result = std::int32_t;

namespace detail {
// Codes of the surface and scene families share one facility; the low word is the code.
constexpr Result MakeCode(std::uint32_t code) {
    return static_cast<Result>(0x88760000u | code);
}
}  // namespace detail

inline constexpr Result DD_OK = 0;
inline constexpr Result D3DRM_OK = 0;

// Codes that ErrorName shows by name.
inline constexpr Result DDERR_UNSUPPORTED = static_cast<Result>(0x80004001u);
inline constexpr Result DDERR_GENERIC = static_cast<Result>(0x80004005u);
inline constexpr Result DDERR_INVALIDPARAMS = static_cast<Result>(0x80070057u);
inline constexpr Result DDERR_INVALIDCLIPLIST = detail::MakeCode(110);
inline constexpr Result DDERR_INVALIDOBJECT = detail::MakeCode(130);
inline constexpr Result DDERR_INVALIDRECT = detail::MakeCode(150);
inline constexpr Result DDERR_NOCLIPLIST = detail::MakeCode(205);
inline constexpr Result DDERR_SURFACELOST = detail::MakeCode(450);
inline constexpr Result DDERR_WASSTILLDRAWING = detail::MakeCode(540);
inline constexpr Result DDERR_INVALIDSURFACETYPE = detail::MakeCode(592);
inline constexpr Result DDERR_DCALREADYCREATED = detail::MakeCode(620);
inline constexpr Result D3DRMERR_BADOBJECT = detail::MakeCode(781);
inline constexpr Result D3DRMERR_BADTYPE = detail::MakeCode(782);
inline constexpr Result D3DRMERR_BADALLOC = detail::MakeCode(783);
inline constexpr Result D3DRMERR_FACEUSED = detail::MakeCode(784);
inline constexpr Result D3DRMERR_NOTFOUND = detail::MakeCode(785);
inline constexpr Result D3DRMERR_NOTDONEYET = detail::MakeCode(786);
inline constexpr Result D3DRMERR_FILENOTFOUND = detail::MakeCode(787);
inline constexpr Result D3DRMERR_BADFILE = detail::MakeCode(788);
inline constexpr Result D3DRMERR_BADDEVICE = detail::MakeCode(789);
inline constexpr Result D3DRMERR_BADVALUE = detail::MakeCode(790);
inline constexpr Result D3DRMERR_BADMAJORVERSION = detail::MakeCode(791);
inline constexpr Result D3DRMERR_BADMINORVERSION = detail::MakeCode(792);
inline constexpr Result D3DRMERR_UNABLETOEXECUTE = detail::MakeCode(793);
inline constexpr Result D3DRMERR_LIBRARYNOTFOUND = detail::MakeCode(794);
inline constexpr Result D3DRMERR_INVALIDLIBRARY = detail::MakeCode(795);
inline constexpr Result D3DRMERR_PENDING = detail::MakeCode(796);
inline constexpr Result D3DRMERR_NOTENOUGHDATA = detail::MakeCode(797);
inline constexpr Result D3DRMERR_REQUESTTOOLARGE = detail::MakeCode(798);
inline constexpr Result D3DRMERR_REQUESTTOOSMALL = detail::MakeCode(799);
inline constexpr Result D3DRMERR_CONNECTIONLOST = detail::MakeCode(800);
inline constexpr Result D3DRMERR_LOADABORTED = detail::MakeCode(801);
inline constexpr Result D3DRMERR_NOINTERNET = detail::MakeCode(802);
inline constexpr Result D3DRMERR_BADCACHEFILE = detail::MakeCode(803);
inline constexpr Result D3DRMERR_BOXNOTSET = detail::MakeCode(804);
inline constexpr Result D3DRMERR_BADPMDATA = detail::MakeCode(805);

// Codes the layer also returns; they carry their published values but ErrorName shows them as
// "Undefined DX Error", like every code outside its list.
inline constexpr Result DDERR_OUTOFMEMORY = static_cast<Result>(0x8007000Eu);
inline constexpr Result DDERR_SURFACEBUSY = detail::MakeCode(430);
inline constexpr Result DDERR_NOTLOCKED = detail::MakeCode(584);
inline constexpr Result DDERR_NOTFOUND = detail::MakeCode(255);

// The name of a code as failure messages show it; "Undefined DX Error" for any code outside
// the list of named codes (success included).
std::string_view ErrorName(Result code);

// The operations of the layer, one per call that a caller can see fail.
enum class Op : std::uint8_t {
    DirectDrawCreate,
    SetCooperativeLevel,
    QueryInterface,
    CreateSurface,
    CreateClipper,
    Lock,
    Unlock,
    GetPixelFormat,
    GetSurfaceDesc,
    BltFast,
    Blt,
    SetColorKey,
    GetColorKey,
    GetDC,
    ReleaseDC,
    Restore,
    SetClipper,
    SetClipList,
    GetClipList,
    SetHWnd,
    EnumDevices,
    CreateDevice,
    Direct3DRMCreate,
    CreateDeviceFromD3D,
    CreateDeviceFromSurface,
    CreateFrame,
    SetPosition,
    GetPosition,
    SetRotation,
    SetOrientation,
    GetOrientation,
    Move,
    AddVisual,
    DeleteVisual,
    AddLight,
    CreateMesh,
    AddGroup,
    SetVertices,
    SetGroupQuality,
    SetGroupTexture,
    SetGroupColorRGB,
    CreateMeshBuilder,
    Load,
    SetColorRGB,
    SetTexture,
    SetPerspective,
    SetQuality,
    CreateWrap,
    Apply,
    CreateTextureFromSurface,
    CreateLight,
    CreateLightRGB,
    CreateViewport,
    SetBack,
    SetFront,
    SetField,
    Clear,
    Render,
    Update,
    Count_,
};

inline constexpr std::size_t kOpCount = static_cast<std::size_t>(Op::Count_);

// The operation's name as tests and the fault plan spell it ("CreateSurface", "Lock", ...).
std::string_view OpName(Op op);
// The operation of a name; false for an unknown name.
bool OpFromName(std::string_view name, Op& op);

// Says which calls of which operations fail, and counts every call. The layer's two roots
// (DirectDraw and the retained-mode root) take a plan when they are created and hand it to
// every object they make; an object made without a plan never fails on purpose. Calls are
// counted per operation from the plan's creation (or its last Reset), starting at 1.
class FaultPlan {
public:
    // The nth call of the named operation fails with code. False for an unknown name, an n
    // below 1 or a code of 0.
    bool FailCall(std::string_view operation, int nth, Result code);
    // Every call of the named operation from the nth on fails with code.
    bool FailFrom(std::string_view operation, int nth, Result code);
    // Counts one call of op and says how it ends: 0 or the planned code.
    Result Check(Op op);
    // Calls of the named operation counted so far (0 for an unknown name).
    int Calls(std::string_view operation) const;
    int Calls(Op op) const { return counts_[static_cast<std::size_t>(op)]; }
    // Forgets the planned failures and the counts.
    void Reset();

private:
    struct Planned {
        Op op;
        int first;
        bool onwards;
        Result code;
    };
    std::array<int, kOpCount> counts_{};
    std::array<bool, kOpCount> anyPlanned_{};
    std::vector<Planned> planned_;
};

// Consults an optional plan: 0 when there is none.
inline Result Check(FaultPlan* plan, Op op) {
    return plan != nullptr ? plan->Check(op) : DD_OK;
}

}  // namespace gfx
