// Values shared by the retained-mode scene objects: render qualities, colours, light and wrap
// kinds.
#pragma once

#include <algorithm>
#include <cstdint>

namespace gfx::rm {

// A render quality is a shade mode, a lighting mode and a fill mode added together.
using Quality = std::uint32_t;

inline constexpr Quality D3DRMSHADE_FLAT = 0;
inline constexpr Quality D3DRMSHADE_GOURAUD = 1;
inline constexpr Quality D3DRMSHADE_PHONG = 2;
inline constexpr Quality D3DRMSHADE_MASK = 7;
inline constexpr Quality D3DRMLIGHT_OFF = 0;
inline constexpr Quality D3DRMLIGHT_ON = 8;
inline constexpr Quality D3DRMLIGHT_MASK = 56;
inline constexpr Quality D3DRMFILL_POINTS = 0;
inline constexpr Quality D3DRMFILL_WIREFRAME = 64;
inline constexpr Quality D3DRMFILL_SOLID = 128;
inline constexpr Quality D3DRMFILL_MASK = 448;

// Solid, Gouraud-shaded and lit: the quality of new meshes, groups and mesh builders.
inline constexpr Quality D3DRMRENDER_GOURAUD = D3DRMFILL_SOLID | D3DRMLIGHT_ON | D3DRMSHADE_GOURAUD;

// True when every part of the quality is one of the modes above.
inline bool IsValidQuality(Quality quality) {
    return (quality & ~(D3DRMSHADE_MASK | D3DRMLIGHT_MASK | D3DRMFILL_MASK)) == 0 &&
           (quality & D3DRMSHADE_MASK) <= D3DRMSHADE_PHONG &&
           (quality & D3DRMLIGHT_MASK) <= D3DRMLIGHT_ON &&
           (quality & D3DRMFILL_MASK) <= D3DRMFILL_SOLID;
}

// What is drawn is never better than the device allows: each part is the lesser of the two.
inline Quality EffectiveQuality(Quality device, Quality object) {
    const auto part = [&](Quality mask) { return std::min(device & mask, object & mask); };
    return part(D3DRMSHADE_MASK) | part(D3DRMLIGHT_MASK) | part(D3DRMFILL_MASK);
}

// A colour with channels from 0 to 1.
struct ColorF {
    float red = 1;
    float green = 1;
    float blue = 1;
    bool operator==(const ColorF&) const = default;
};

inline float ClampUnit(float value) {
    return value > 1.0f ? 1.0f : (value > 0.0f ? value : 0.0f);
}

// A packed colour: alpha, red, green and blue bytes from most to least significant. Channels
// are clamped to 0..1 first, so 255.0 counts as 1.0.
inline std::uint32_t CreateColorRGB(float red, float green, float blue) {
    const auto byte = [](float v) {
        return static_cast<std::uint32_t>(ClampUnit(v) * 255.0f + 0.5f);
    };
    return 0xFF000000u | (byte(red) << 16) | (byte(green) << 8) | byte(blue);
}

inline ColorF ColorFromPacked(std::uint32_t color) {
    return {((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
            (color & 0xFF) / 255.0f};
}

enum class LightType { Ambient = 0, Point = 1, Spot = 2, Directional = 3, ParallelPoint = 4 };

enum class WrapType { Flat = 0, Cylinder = 1, Sphere = 2, Chrome = 3 };

}  // namespace gfx::rm
