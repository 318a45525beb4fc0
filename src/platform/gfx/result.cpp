#include "platform/gfx/result.h"

#include <algorithm>

namespace gfx {

namespace {

struct NamedCode {
    Result code;
    std::string_view name;
};

constexpr NamedCode kNamedCodes[] = {
    {DDERR_UNSUPPORTED, "DDERR_UNSUPPORTED"},
    {DDERR_GENERIC, "DDERR_GENERIC"},
    {DDERR_INVALIDPARAMS, "DDERR_INVALIDPARAMS"},
    {DDERR_INVALIDCLIPLIST, "DDERR_INVALIDCLIPLIST"},
    {DDERR_INVALIDOBJECT, "DDERR_INVALIDOBJECT"},
    {DDERR_INVALIDRECT, "DDERR_INVALIDRECT"},
    {DDERR_NOCLIPLIST, "DDERR_NOCLIPLIST"},
    {DDERR_SURFACELOST, "DDERR_SURFACELOST"},
    {DDERR_WASSTILLDRAWING, "DDERR_WASSTILLDRAWING"},
    {DDERR_INVALIDSURFACETYPE, "DDERR_INVALIDSURFACETYPE"},
    {DDERR_DCALREADYCREATED, "DDERR_DCALREADYCREATED"},
    {D3DRMERR_BADOBJECT, "D3DRMERR_BADOBJECT"},
    {D3DRMERR_BADTYPE, "D3DRMERR_BADTYPE"},
    {D3DRMERR_BADALLOC, "D3DRMERR_BADALLOC"},
    {D3DRMERR_FACEUSED, "D3DRMERR_FACEUSED"},
    {D3DRMERR_NOTFOUND, "D3DRMERR_NOTFOUND"},
    {D3DRMERR_NOTDONEYET, "D3DRMERR_NOTDONEYET"},
    {D3DRMERR_FILENOTFOUND, "D3DRMERR_FILENOTFOUND"},
    {D3DRMERR_BADFILE, "D3DRMERR_BADFILE"},
    {D3DRMERR_BADDEVICE, "D3DRMERR_BADDEVICE"},
    {D3DRMERR_BADVALUE, "D3DRMERR_BADVALUE"},
    {D3DRMERR_BADMAJORVERSION, "D3DRMERR_BADMAJORVERSION"},
    {D3DRMERR_BADMINORVERSION, "D3DRMERR_BADMINORVERSION"},
    {D3DRMERR_UNABLETOEXECUTE, "D3DRMERR_UNABLETOEXECUTE"},
    {D3DRMERR_LIBRARYNOTFOUND, "D3DRMERR_LIBRARYNOTFOUND"},
    {D3DRMERR_INVALIDLIBRARY, "D3DRMERR_INVALIDLIBRARY"},
    {D3DRMERR_PENDING, "D3DRMERR_PENDING"},
    {D3DRMERR_NOTENOUGHDATA, "D3DRMERR_NOTENOUGHDATA"},
    {D3DRMERR_REQUESTTOOLARGE, "D3DRMERR_REQUESTTOOLARGE"},
    {D3DRMERR_REQUESTTOOSMALL, "D3DRMERR_REQUESTTOOSMALL"},
    {D3DRMERR_CONNECTIONLOST, "D3DRMERR_CONNECTIONLOST"},
    {D3DRMERR_LOADABORTED, "D3DRMERR_LOADABORTED"},
    {D3DRMERR_NOINTERNET, "D3DRMERR_NOINTERNET"},
    {D3DRMERR_BADCACHEFILE, "D3DRMERR_BADCACHEFILE"},
    {D3DRMERR_BOXNOTSET, "D3DRMERR_BOXNOTSET"},
    {D3DRMERR_BADPMDATA, "D3DRMERR_BADPMDATA"},
};

constexpr std::string_view kOpNames[] = {
    "DirectDrawCreate",
    "SetCooperativeLevel",
    "QueryInterface",
    "CreateSurface",
    "CreateClipper",
    "Lock",
    "Unlock",
    "GetPixelFormat",
    "GetSurfaceDesc",
    "BltFast",
    "Blt",
    "SetColorKey",
    "GetColorKey",
    "GetDC",
    "ReleaseDC",
    "Restore",
    "SetClipper",
    "SetClipList",
    "GetClipList",
    "SetHWnd",
    "EnumDevices",
    "CreateDevice",
    "Direct3DRMCreate",
    "CreateDeviceFromD3D",
    "CreateDeviceFromSurface",
    "CreateFrame",
    "SetPosition",
    "GetPosition",
    "SetRotation",
    "SetOrientation",
    "GetOrientation",
    "Move",
    "AddVisual",
    "DeleteVisual",
    "AddLight",
    "CreateMesh",
    "AddGroup",
    "SetVertices",
    "SetGroupQuality",
    "SetGroupTexture",
    "SetGroupColorRGB",
    "CreateMeshBuilder",
    "Load",
    "SetColorRGB",
    "SetTexture",
    "SetPerspective",
    "SetQuality",
    "CreateWrap",
    "Apply",
    "CreateTextureFromSurface",
    "CreateLight",
    "CreateLightRGB",
    "CreateViewport",
    "SetBack",
    "SetFront",
    "SetField",
    "Clear",
    "Render",
    "Update",
};
static_assert(std::size(kOpNames) == kOpCount, "every operation has a name");

}  // namespace

std::string_view ErrorName(Result code) {
    for (const NamedCode& named : kNamedCodes) {
        if (named.code == code) {
            return named.name;
        }
    }
    return "Undefined DX Error";
}

std::string_view OpName(Op op) {
    const auto index = static_cast<std::size_t>(op);
    return index < kOpCount ? kOpNames[index] : std::string_view{};
}

bool OpFromName(std::string_view name, Op& op) {
    for (std::size_t i = 0; i < kOpCount; ++i) {
        if (kOpNames[i] == name) {
            op = static_cast<Op>(i);
            return true;
        }
    }
    return false;
}

bool FaultPlan::FailCall(std::string_view operation, int nth, Result code) {
    Op op{};
    if (!OpFromName(operation, op) || nth < 1 || code == DD_OK) {
        return false;
    }
    planned_.push_back({op, nth, false, code});
    anyPlanned_[static_cast<std::size_t>(op)] = true;
    return true;
}

bool FaultPlan::FailFrom(std::string_view operation, int nth, Result code) {
    Op op{};
    if (!OpFromName(operation, op) || nth < 1 || code == DD_OK) {
        return false;
    }
    planned_.push_back({op, nth, true, code});
    anyPlanned_[static_cast<std::size_t>(op)] = true;
    return true;
}

Result FaultPlan::Check(Op op) {
    const auto index = static_cast<std::size_t>(op);
    const int call = ++counts_[index];
    if (!anyPlanned_[index]) {
        return DD_OK;
    }
    for (const Planned& planned : planned_) {
        if (planned.op == op &&
            (planned.first == call || (planned.onwards && call >= planned.first))) {
            return planned.code;
        }
    }
    return DD_OK;
}

int FaultPlan::Calls(std::string_view operation) const {
    Op op{};
    return OpFromName(operation, op) ? Calls(op) : 0;
}

void FaultPlan::Reset() {
    counts_.fill(0);
    anyPlanned_.fill(false);
    planned_.clear();
}

}  // namespace gfx
