#include "frame/rect_union.h"

#include <algorithm>

namespace knotwell {
namespace {

bool IsEmpty(const PF_LRect& r) { return r.left >= r.right || r.top >= r.bottom; }

}  // namespace

void UnionRect(const PF_LRect& src, PF_LRect& dst) {
    if (IsEmpty(dst)) {
        dst = src;
    } else if (!IsEmpty(src)) {
        dst.left = std::min(dst.left, src.left);
        dst.top = std::min(dst.top, src.top);
        dst.right = std::max(dst.right, src.right);
        dst.bottom = std::max(dst.bottom, src.bottom);
    }
}

}  // namespace knotwell
