#include "headless_host/core/world.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace knotwell::host {

namespace {

// Live platform records, so that a foreign platform_ref is refused rather
// than read.
std::set<const void*>& LiveWorlds() {
    static std::set<const void*> live;
    return live;
}

constexpr A_long kRowPadding = 16;

PF_Rect Whole(const PF_EffectWorld& world) { return {0, 0, world.width, world.height}; }

bool Inside(const PF_Rect& rect, const PF_EffectWorld& world) {
    return rect.left >= 0 && rect.top >= 0 && rect.left <= rect.right && rect.top <= rect.bottom &&
           rect.right <= world.width && rect.bottom <= world.height;
}

const std::byte* Row(const PF_EffectWorld& world, A_long y) {
    return static_cast<const std::byte*>(world.data) + static_cast<std::ptrdiff_t>(y) * world.rowbytes;
}

}  // namespace

struct WorldStorage {
    PF_PixelFormat format;
    std::vector<std::byte> pixels;
};

World::World(A_long width, A_long height, PF_PixelFormat format)
    : storage_(std::make_unique<WorldStorage>()) {
    const std::size_t pixel = std::max<std::size_t>(BytesPerPixel(format), 4);
    storage_->format = format;
    world_.width = width;
    world_.height = height;
    world_.rowbytes = static_cast<A_long>(static_cast<std::size_t>(width) * pixel) + kRowPadding;
    storage_->pixels.resize(static_cast<std::size_t>(world_.rowbytes) * static_cast<std::size_t>(height));
    world_.data = storage_->pixels.data();
    world_.world_flags = PF_WorldFlag_WRITEABLE | (format == PF_PixelFormat_ARGB64 ? PF_WorldFlag_DEEP : 0);
    world_.extent_hint = Whole(world_);
    world_.pix_aspect_ratio = {1, 1};
    world_.platform_ref = storage_.get();
    LiveWorlds().insert(storage_.get());
}

World::~World() { LiveWorlds().erase(storage_.get()); }

PF_PixelFormat World::format() const { return storage_->format; }

std::size_t BytesPerPixel(PF_PixelFormat format) {
    switch (format) {
        case PF_PixelFormat_ARGB32: return 4;
        case PF_PixelFormat_ARGB64: return 8;
        case PF_PixelFormat_ARGB128: return 16;
        default: return 0;
    }
}

std::optional<PF_PixelFormat> PixelFormatOf(const PF_EffectWorld* world) {
    if (!world || !LiveWorlds().contains(world->platform_ref)) return std::nullopt;
    return static_cast<const WorldStorage*>(world->platform_ref)->format;
}

void FillPattern(World& world, unsigned salt) {
    PF_EffectWorld& w = *world.get();
    for (A_long y = 0; y < w.height; ++y) {
        std::byte* row = static_cast<std::byte*>(w.data) + static_cast<std::ptrdiff_t>(y) * w.rowbytes;
        for (A_long x = 0; x < w.width; ++x) {
            for (int channel = 0; channel < 4; ++channel) {
                const std::uint32_t v = (static_cast<std::uint32_t>(x) * 73856093u) ^
                                        (static_cast<std::uint32_t>(y) * 19349663u) ^
                                        (static_cast<std::uint32_t>(channel) * 83492791u) ^ (salt * 2654435761u);
                switch (world.format()) {
                    case PF_PixelFormat_ARGB64: {
                        const std::uint16_t value = static_cast<std::uint16_t>(v % 32769u);
                        std::memcpy(row + (x * 4 + channel) * 2, &value, sizeof value);
                        break;
                    }
                    case PF_PixelFormat_ARGB128: {
                        const float value = static_cast<float>(v % 20001u) / 10000.0f - 0.5f;
                        std::memcpy(row + (x * 4 + channel) * 4, &value, sizeof value);
                        break;
                    }
                    default:
                        row[x * 4 + channel] = static_cast<std::byte>(v & 0xFF);
                }
            }
        }
    }
}

bool SamePixels(const PF_EffectWorld& a, const PF_EffectWorld& b) {
    const auto format = PixelFormatOf(&a);
    if (!format || format != PixelFormatOf(&b) || a.width != b.width || a.height != b.height) {
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(a.width) * BytesPerPixel(*format);
    for (A_long y = 0; y < a.height; ++y) {
        if (std::memcmp(Row(a, y), Row(b, y), bytes) != 0) return false;
    }
    return true;
}

PF_Err CopyWorld(const PF_EffectWorld* src, PF_EffectWorld* dst, const PF_Rect* src_rect,
                 const PF_Rect* dst_rect) {
    const auto format = PixelFormatOf(src);
    if (!format || format != PixelFormatOf(dst) || BytesPerPixel(*format) == 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const PF_Rect from = src_rect ? *src_rect : Whole(*src);
    const PF_Rect to = dst_rect ? *dst_rect : Whole(*dst);
    if (!Inside(from, *src) || !Inside(to, *dst) || from.right - from.left != to.right - to.left ||
        from.bottom - from.top != to.bottom - to.top) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const std::size_t pixel = BytesPerPixel(*format);
    const std::size_t bytes = static_cast<std::size_t>(from.right - from.left) * pixel;
    for (A_long row = 0; row < from.bottom - from.top; ++row) {
        std::memmove(static_cast<std::byte*>(dst->data) +
                         static_cast<std::ptrdiff_t>(to.top + row) * dst->rowbytes +
                         static_cast<std::ptrdiff_t>(to.left) * static_cast<std::ptrdiff_t>(pixel),
                     Row(*src, from.top + row) + static_cast<std::ptrdiff_t>(from.left) * static_cast<std::ptrdiff_t>(pixel),
                     bytes);
    }
    return PF_Err_NONE;
}

}  // namespace knotwell::host
