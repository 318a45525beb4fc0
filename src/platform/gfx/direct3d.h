// Device enumeration and creation. The layer has one renderer, the software rasteriser; it is
// offered as the RGB device and as the ramp device, and there is no hardware device.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/result.h"
#include "platform/gfx/surface.h"

namespace gfx {

// Render depth bits of a device description, with their published values.
inline constexpr std::uint32_t DDBD_1 = 0x00004000;
inline constexpr std::uint32_t DDBD_2 = 0x00002000;
inline constexpr std::uint32_t DDBD_4 = 0x00001000;
inline constexpr std::uint32_t DDBD_8 = 0x00000800;
inline constexpr std::uint32_t DDBD_16 = 0x00000400;
inline constexpr std::uint32_t DDBD_24 = 0x00000200;
inline constexpr std::uint32_t DDBD_32 = 0x00000100;

// Colour models of a device description (0: none, the description is empty).
inline constexpr std::uint32_t D3DCOLOR_MONO = 1;
inline constexpr std::uint32_t D3DCOLOR_RGB = 2;

enum class DeviceClass { Hardware, Rgb, Ramp };

struct DeviceDescription {
    std::uint32_t colorModel = 0;
    std::uint32_t renderBitDepths = 0;
};

struct DeviceInfo {
    DeviceClass deviceClass = DeviceClass::Rgb;
    std::string description;
    std::string name;
    DeviceDescription hardware;
    DeviceDescription software;
};

// The DDBD_ bit of a bit depth (0 for depths no description can list).
std::uint32_t BitDepthFlag(int bitsPerPixel);

// A device of the Direct3D object: renders into a target surface.
class Direct3DDevice {
public:
    Direct3DDevice(DeviceClass deviceClass, std::shared_ptr<Surface> target)
        : deviceClass_(deviceClass), target_(std::move(target)) {}
    DeviceClass Class() const { return deviceClass_; }
    const std::shared_ptr<Surface>& Target() const { return target_; }

private:
    DeviceClass deviceClass_;
    std::shared_ptr<Surface> target_;
};

class Direct3D {
public:
    explicit Direct3D(std::shared_ptr<DisplayState> display) : display_(std::move(display)) {}

    Result QueryInterface(Iid iid);
    // Calls visit for each device until it returns false. The software devices list render
    // depths 16, 24 and 32 bits in their software description.
    Result EnumDevices(const std::function<bool(const DeviceInfo&)>& visit);
    // A device of the class rendering into target: a system-memory surface made with
    // DDSCAPS_3DDEVICE (DDERR_INVALIDSURFACETYPE otherwise). The hardware class fails with
    // DDERR_UNSUPPORTED.
    Result CreateDevice(DeviceClass deviceClass, std::shared_ptr<Surface> target,
                        std::shared_ptr<Direct3DDevice>& device);

    const std::shared_ptr<DisplayState>& Display() const { return display_; }

private:
    std::shared_ptr<DisplayState> display_;
};

}  // namespace gfx
