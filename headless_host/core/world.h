// Images (PF_EffectWorld) as the host makes them, in the three depths the
// plug-ins accept (and any other format code, for tests of refusals). The
// host keeps the pixel format behind platform_ref; rows are padded so that
// code ignoring rowbytes shows up.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "frame/host/pf_effect.h"

namespace knotwell::host {

struct WorldStorage;

class World {
public:
    World(A_long width, A_long height, PF_PixelFormat format);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    PF_EffectWorld* get() { return &world_; }
    const PF_EffectWorld& effect_world() const { return world_; }
    PF_PixelFormat format() const;

private:
    std::unique_ptr<WorldStorage> storage_;
    PF_EffectWorld world_{};
};

// 4, 8 or 16 for the three accepted formats, 0 for any other.
std::size_t BytesPerPixel(PF_PixelFormat format);

// The format of a world this host made, or none for a foreign record.
std::optional<PF_PixelFormat> PixelFormatOf(const PF_EffectWorld* world);

// Fills every channel with a value that depends on the pixel, the channel
// and `salt`, within the channel range of the depth (16-bit: 0 to 32768).
void FillPattern(World& world, unsigned salt);

// Pixel-exact comparison of two worlds of one format and size.
bool SamePixels(const PF_EffectWorld& a, const PF_EffectWorld& b);

// The whole (null rectangles) or a part of src into dst: same format, same
// size of the two rectangles, both inside their images.
PF_Err CopyWorld(const PF_EffectWorld* src, PF_EffectWorld* dst, const PF_Rect* src_rect,
                 const PF_Rect* dst_rect);

}  // namespace knotwell::host
