// The rectangle union every pre-render reports its rectangles with.
#include <gtest/gtest.h>

#include "frame/rect_union.h"

namespace knotwell {
namespace {

bool operator==(const PF_LRect& a, const PF_LRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(RectUnionTest, Table) {
    struct Case {
        PF_LRect dst, src, expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 20, 8}, {0, 0, 20, 10}},   // bounding rectangle
        {{3, 3, 3, 9}, {1, 2, 4, 5}, {1, 2, 4, 5}},        // empty target takes the source
        {{3, 3, 3, 9}, {7, 7, 1, 1}, {7, 7, 1, 1}},        // ... even an empty one
        {{0, 0, 10, 10}, {5, 5, 5, 20}, {0, 0, 10, 10}},   // empty source changes nothing
        {{0, 0, 10, 10}, {-4, 2, 3, 30}, {-4, 0, 10, 30}}, // grows on every side it must
        {{2, 9, 8, 4}, {0, 0, 1, 1}, {0, 0, 1, 1}},        // top >= bottom is empty too
    };
    for (const Case& c : cases) {
        PF_LRect dst = c.dst;
        UnionRect(c.src, dst);
        EXPECT_TRUE(dst == c.expected) << dst.left << "," << dst.top << "," << dst.right << "," << dst.bottom;
    }
}

}  // namespace
}  // namespace knotwell
