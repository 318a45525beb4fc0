#include "platform/gfx/direct3d.h"

namespace gfx {

std::uint32_t BitDepthFlag(int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
            return DDBD_1;
        case 2:
            return DDBD_2;
        case 4:
            return DDBD_4;
        case 8:
            return DDBD_8;
        case 16:
            return DDBD_16;
        case 24:
            return DDBD_24;
        case 32:
            return DDBD_32;
        default:
            return 0;
    }
}

Result Direct3D::QueryInterface(Iid iid) {
    if (Result r = Check(display_->faults.get(), Op::QueryInterface); r != DD_OK) {
        return r;
    }
    return iid == Iid::Direct3D || iid == Iid::Direct3D2 || iid == Iid::DirectDraw ||
                   iid == Iid::DirectDraw2
               ? DD_OK
               : E_NOINTERFACE;
}

Result Direct3D::EnumDevices(const std::function<bool(const DeviceInfo&)>& visit) {
    if (Result r = Check(display_->faults.get(), Op::EnumDevices); r != DD_OK) {
        return r;
    }
    if (!visit) {
        return DDERR_INVALIDPARAMS;
    }
    const DeviceDescription software{D3DCOLOR_RGB, DDBD_16 | DDBD_24 | DDBD_32};
    const DeviceInfo devices[] = {
        {DeviceClass::Rgb, "Software RGB device", "RGB Emulation", DeviceDescription{}, software},
        {DeviceClass::Ramp, "Software ramp device", "Ramp Emulation", DeviceDescription{},
         DeviceDescription{D3DCOLOR_MONO, DDBD_16 | DDBD_24 | DDBD_32}},
    };
    for (const DeviceInfo& info : devices) {
        if (!visit(info)) {
            break;
        }
    }
    return DD_OK;
}

Result Direct3D::CreateDevice(DeviceClass deviceClass, std::shared_ptr<Surface> target,
                              std::shared_ptr<Direct3DDevice>& device) {
    if (Result r = Check(display_->faults.get(), Op::CreateDevice); r != DD_OK) {
        return r;
    }
    if (deviceClass == DeviceClass::Hardware) {
        return DDERR_UNSUPPORTED;
    }
    if (!target) {
        return DDERR_INVALIDPARAMS;
    }
    if (target->IsPrimary() || (target->Caps() & DDSCAPS_3DDEVICE) == 0) {
        return DDERR_INVALIDSURFACETYPE;
    }
    device = std::make_shared<Direct3DDevice>(deviceClass, std::move(target));
    return DD_OK;
}

}  // namespace gfx
