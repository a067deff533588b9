#include "headless_host/project/stream.h"

#include <gtest/gtest.h>

namespace knotwell::project {
namespace {

MaskOutline Square(double size) {
    return {{{0, 0, 0, 0, 0, 0}, {size, 0, 0, 0, 0, 0}, {size, size, -1, 0, 1, 0},
             {0, size, 0, 0, 0, 0}},
            false};
}

double OneD(const StreamValue& value) {
    return std::get<double>(value);
}

TEST(NumSegmentsTest, CountsOneFewerForOpenOutlines) {
    struct Case {
        std::size_t vertices;
        bool open;
        A_long segments;
    };
    for (const Case& c : {Case{4, false, 4}, Case{4, true, 3}, Case{0, true, 0}}) {
        const MaskOutline outline{std::vector<AEGP_MaskVertex>(c.vertices), c.open};
        EXPECT_EQ(NumSegments(outline), c.segments) << c.vertices << (c.open ? " open" : " closed");
    }
}

TEST(StreamTest, StaticValueHoldsAtEveryTime) {
    const Stream stream(7.0);
    EXPECT_FALSE(stream.IsKeyframed());
    EXPECT_EQ(OneD(stream.ValueAt(-5)), 7.0);
    EXPECT_EQ(OneD(stream.ValueAt(1000)), 7.0);
}

TEST(StreamTest, InterpolatesBetweenKeysAndHoldsOutsideThem) {
    Stream stream(0.0);
    ASSERT_EQ(stream.SetKey(10, 2.0), StreamStatus::kOk);
    ASSERT_EQ(stream.SetKey(20, 102.0), StreamStatus::kOk);
    struct Case {
        Ticks time;
        double value;
    };
    for (const Case& c : {Case{0, 2}, Case{10, 2}, Case{15, 52}, Case{19, 92}, Case{20, 102},
                          Case{30, 102}}) {
        EXPECT_DOUBLE_EQ(OneD(stream.ValueAt(c.time)), c.value) << "at " << c.time;
    }
}

TEST(StreamTest, InterpolatesPointsPerComponent) {
    Stream stream(AEGP_TwoDVal{0, 0});
    ASSERT_EQ(stream.SetKey(0, AEGP_TwoDVal{0, 10}), StreamStatus::kOk);
    ASSERT_EQ(stream.SetKey(4, AEGP_TwoDVal{8, -10}), StreamStatus::kOk);
    const auto mid = std::get<AEGP_TwoDVal>(stream.ValueAt(1));
    EXPECT_DOUBLE_EQ(mid.x, 2);
    EXPECT_DOUBLE_EQ(mid.y, 5);
}

TEST(StreamTest, InterpolatesOutlinesVertexWise) {
    Stream stream{MaskOutline{}};
    ASSERT_EQ(stream.SetKey(0, Square(10)), StreamStatus::kOk);
    MaskOutline later = Square(20);
    later.vertices[2].tan_out_x = 3;
    ASSERT_EQ(stream.SetKey(10, later), StreamStatus::kOk);

    const auto mid = std::get<MaskOutline>(stream.ValueAt(5));
    ASSERT_EQ(mid.vertices.size(), 4u);
    EXPECT_FALSE(mid.open);
    EXPECT_DOUBLE_EQ(mid.vertices[2].x, 15);
    EXPECT_DOUBLE_EQ(mid.vertices[2].y, 15);
    EXPECT_DOUBLE_EQ(mid.vertices[2].tan_in_x, -1);
    EXPECT_DOUBLE_EQ(mid.vertices[2].tan_out_x, 2);
}

TEST(StreamTest, HoldsTheEarlierOutlineWhenVertexCountsDiffer) {
    Stream stream{MaskOutline{}};
    MaskOutline triangle = Square(20);
    triangle.vertices.pop_back();
    ASSERT_EQ(stream.SetKey(0, Square(10)), StreamStatus::kOk);
    ASSERT_EQ(stream.SetKey(10, triangle), StreamStatus::kOk);

    EXPECT_EQ(std::get<MaskOutline>(stream.ValueAt(9)).vertices[1].x, 10);
    EXPECT_EQ(std::get<MaskOutline>(stream.ValueAt(10)).vertices.size(), 3u);
}

TEST(StreamTest, SetValueOnKeyframedStreamChangesOrAddsTheKeyAtThatTime) {
    Stream stream(0.0);
    ASSERT_EQ(stream.SetKey(0, 0.0), StreamStatus::kOk);
    ASSERT_EQ(stream.SetKey(10, 10.0), StreamStatus::kOk);

    EXPECT_EQ(stream.SetValue(10, 50.0), StreamStatus::kOk);
    EXPECT_EQ(stream.SetValue(5, -1.0), StreamStatus::kOk);

    ASSERT_EQ(stream.Keys().size(), 3u);
    EXPECT_EQ(OneD(stream.Keys().at(10)), 50.0);
    EXPECT_EQ(OneD(stream.ValueAt(5)), -1.0);
    EXPECT_DOUBLE_EQ(OneD(stream.ValueAt(7)), 19.4);
}

TEST(StreamTest, SetValueOnStaticStreamReplacesTheValue) {
    Stream stream(AEGP_TwoDVal{1, 2});
    EXPECT_EQ(stream.SetValue(30, AEGP_TwoDVal{3, 4}), StreamStatus::kOk);
    EXPECT_FALSE(stream.IsKeyframed());
    EXPECT_EQ(std::get<AEGP_TwoDVal>(stream.ValueAt(0)).y, 4);
}

TEST(StreamTest, TimeInvariantStreamRefusesKeysButTakesValues) {
    Stream stream(-1.0, false);
    EXPECT_EQ(stream.SetKey(0, 3.0), StreamStatus::kTimeInvariant);
    EXPECT_FALSE(stream.IsKeyframed());
    EXPECT_EQ(stream.SetValue(0, 3.0), StreamStatus::kOk);
    EXPECT_EQ(OneD(stream.ValueAt(99)), 3.0);
}

TEST(StreamTest, RefusesValuesOfAnotherKind) {
    Stream stream(0.0);
    EXPECT_EQ(stream.SetValue(0, AEGP_TwoDVal{1, 1}), StreamStatus::kWrongKind);
    EXPECT_EQ(stream.SetKey(0, MaskOutline{}), StreamStatus::kWrongKind);
    EXPECT_FALSE(stream.IsKeyframed());
}

TEST(StreamTest, ExpressionAppliesOnlyToReadsAfterExpressions) {
    Stream stream(0.0);
    ASSERT_EQ(stream.SetKey(0, 0.0), StreamStatus::kOk);
    ASSERT_EQ(stream.SetKey(10, 10.0), StreamStatus::kOk);
    stream.SetExpression([](Ticks time, const StreamValue& pre) -> StreamValue {
        return std::get<double>(pre) * 2 + time;
    });

    EXPECT_TRUE(stream.HasExpression());
    EXPECT_EQ(OneD(stream.ValueAt(4)), 4.0);
    EXPECT_EQ(OneD(stream.ValueAfterExpressionAt(4)), 12.0);

    stream.SetExpression({});
    EXPECT_EQ(OneD(stream.ValueAfterExpressionAt(4)), 4.0);
}

}  // namespace
}  // namespace knotwell::project
