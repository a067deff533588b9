#include "headless_host/expressions/stream_expression.h"

#include <gtest/gtest.h>

#include <map>

namespace knotwell::expressions {
namespace {

using project::Stream;
using project::StreamValue;

// Two controls of effect "Knotwell 1", as streams: "Point" and "No".
class StreamExpressionTest : public ::testing::Test {
protected:
    void Express(Stream& stream, std::string source, std::string where) {
        stream.SetExpression(MakeStreamExpression(engine_, std::move(source), timing_, reader_, std::move(where)));
    }

    std::shared_ptr<ExpressionEngine> engine_ = std::make_shared<ExpressionEngine>();
    ExpressionTiming timing_{30, 60};  // the layer starts 2 s into the composition
    std::map<std::string, Stream> controls_;
    StreamControlReader reader_ = [this](project::Ticks time, std::string_view effect, const ControlRef& control,
                                         std::string* error) -> std::optional<StreamValue> {
        const auto found = controls_.find(std::get<std::string>(control));
        if (effect != "Knotwell 1" || found == controls_.end()) {
            *error = "nothing to read";
            return std::nullopt;
        }
        return found->second.ValueAfterExpressionAt(time);
    };
};

TEST_F(StreamExpressionTest, KeepsValuesBeforeAndAfterExpressionsApart) {
    Stream& point = controls_.emplace("Point", Stream(AEGP_TwoDVal{0, 0})).first->second;
    point.SetKey(0, AEGP_TwoDVal{0, 10});
    point.SetKey(30, AEGP_TwoDVal{30, 10});
    Express(point, "[value[0] + time, value[1]]", "Point");

    const StreamValue before = point.ValueAt(15);
    const StreamValue after = point.ValueAfterExpressionAt(15);
    EXPECT_EQ(std::get<AEGP_TwoDVal>(before).x, 15.0);
    EXPECT_EQ(std::get<AEGP_TwoDVal>(after).x, 15.0 + 2.5);  // composition time, in seconds
    EXPECT_EQ(std::get<AEGP_TwoDVal>(after).y, 10.0);
}

TEST_F(StreamExpressionTest, ReadsOtherControlsAfterTheirExpressions) {
    Stream& no = controls_.emplace("No", Stream(3.0)).first->second;
    Stream& point = controls_.emplace("Point", Stream(AEGP_TwoDVal{1, 2})).first->second;
    Express(no, "value * 2", "No");
    Express(point, R"(var p = value; [p[0] * effect("Knotwell 1")("No"), p[1]])", "Point");
    EXPECT_EQ(std::get<AEGP_TwoDVal>(point.ValueAfterExpressionAt(0)).x, 6.0);
}

TEST_F(StreamExpressionTest, FailuresNameTheirControl) {
    Stream& no = controls_.emplace("No", Stream(3.0)).first->second;
    Stream& point = controls_.emplace("Point", Stream(AEGP_TwoDVal{1, 2})).first->second;
    Express(no, "oops", "layer \"Solid\", effect \"Knotwell 1\", control \"No\"");
    Express(point, R"([effect("Knotwell 1")("No"), 0])", "layer \"Solid\", effect \"Knotwell 1\", control \"Point\"");
    try {
        point.ValueAfterExpressionAt(0);
        FAIL();
    } catch (const ExpressionError& e) {
        EXPECT_STREQ(e.what(),
                     "layer \"Solid\", effect \"Knotwell 1\", control \"Point\": "
                     "layer \"Solid\", effect \"Knotwell 1\", control \"No\": "
                     "ReferenceError: identifier 'oops' undefined (line 1)");
    }
}

TEST_F(StreamExpressionTest, MaskPathsTakeNoExpressions) {
    Stream outline(project::MaskOutline{});
    Express(outline, "value", "Mask 1");
    EXPECT_THROW(outline.ValueAfterExpressionAt(0), ExpressionError);
}

}  // namespace
}  // namespace knotwell::expressions
