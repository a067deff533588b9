#include "headless_host/project/stream_value.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <type_traits>

namespace knotwell::project {
namespace {

double Lerp(double a, double b, double f) {
    return a + (b - a) * f;
}

AEGP_TwoDVal Lerp(const AEGP_TwoDVal& a, const AEGP_TwoDVal& b, double f) {
    return {Lerp(a.x, b.x, f), Lerp(a.y, b.y, f)};
}

AEGP_MaskVertex Lerp(const AEGP_MaskVertex& a, const AEGP_MaskVertex& b, double f) {
    return {Lerp(a.x, b.x, f),
            Lerp(a.y, b.y, f),
            Lerp(a.tan_in_x, b.tan_in_x, f),
            Lerp(a.tan_in_y, b.tan_in_y, f),
            Lerp(a.tan_out_x, b.tan_out_x, f),
            Lerp(a.tan_out_y, b.tan_out_y, f)};
}

MaskOutline Lerp(const MaskOutline& a, const MaskOutline& b, double f) {
    if (a.vertices.size() != b.vertices.size()) {
        return a;
    }
    MaskOutline result{{}, a.open};
    result.vertices.reserve(a.vertices.size());
    for (std::size_t i = 0; i < a.vertices.size(); ++i) {
        result.vertices.push_back(Lerp(a.vertices[i], b.vertices[i], f));
    }
    return result;
}

bool Finite(double number) { return std::isfinite(number); }
bool Finite(const AEGP_TwoDVal& point) { return Finite(point.x) && Finite(point.y); }
bool Finite(const MaskOutline& outline) {
    return std::all_of(outline.vertices.begin(), outline.vertices.end(), [](const AEGP_MaskVertex& v) {
        return Finite(v.x) && Finite(v.y) && Finite(v.tan_in_x) && Finite(v.tan_in_y) && Finite(v.tan_out_x) &&
               Finite(v.tan_out_y);
    });
}

}  // namespace

bool IsFinite(const StreamValue& value) {
    return std::visit([](const auto& held) { return Finite(held); }, value);
}

A_long NumSegments(const MaskOutline& outline) {
    const auto count = static_cast<A_long>(outline.vertices.size());
    return outline.open ? std::max<A_long>(count - 1, 0) : count;
}

bool SameKind(const StreamValue& a, const StreamValue& b) {
    return a.index() == b.index();
}

bool SameValue(const StreamValue& a, const StreamValue& b) {
    if (!SameKind(a, b)) {
        return false;
    }
    if (const auto* one_d = std::get_if<double>(&a)) {
        return *one_d == std::get<double>(b);
    }
    if (const auto* two_d = std::get_if<AEGP_TwoDVal>(&a)) {
        const auto& other = std::get<AEGP_TwoDVal>(b);
        return two_d->x == other.x && two_d->y == other.y;
    }
    const auto& x = std::get<MaskOutline>(a);
    const auto& y = std::get<MaskOutline>(b);
    return x.open == y.open &&
           std::equal(x.vertices.begin(), x.vertices.end(), y.vertices.begin(), y.vertices.end(),
                      [](const AEGP_MaskVertex& v, const AEGP_MaskVertex& w) {
                          return v.x == w.x && v.y == w.y && v.tan_in_x == w.tan_in_x &&
                                 v.tan_in_y == w.tan_in_y && v.tan_out_x == w.tan_out_x &&
                                 v.tan_out_y == w.tan_out_y;
                      });
}

StreamValue Interpolate(const StreamValue& a, const StreamValue& b, double f) {
    return std::visit(
        [&b, f](const auto& from) -> StreamValue {
            return Lerp(from, std::get<std::decay_t<decltype(from)>>(b), f);
        },
        a);
}

}  // namespace knotwell::project
