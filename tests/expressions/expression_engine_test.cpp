#include "headless_host/expressions/expression_engine.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace knotwell::expressions {
namespace {

using Point = std::array<double, 2>;

// One effect, "Knotwell 1", with "Index" (parameter 1) and "Point" (parameter 3).
std::optional<ExpressionValue> ReadKnotwell(std::string_view effect, const ControlRef& control, std::string* error) {
    if (effect != "Knotwell 1") {
        *error = "no effect named \"" + std::string(effect) + "\"";
        return std::nullopt;
    }
    const std::string* name = std::get_if<std::string>(&control);
    const int* index = std::get_if<int>(&control);
    if ((name && *name == "Index") || (index && *index == 1)) return 2.0;
    if ((name && *name == "Point") || (index && *index == 3)) return Point{10, 20};
    *error = "no such control";
    return std::nullopt;
}

double Number(const ExpressionValue& value) { return std::get<double>(value); }

class ExpressionEngineTest : public ::testing::Test {
protected:
    ExpressionValue Run(std::string_view source, double time = 0, ExpressionValue value = 0.0) {
        return engine_.Evaluate(source, time, value, controls_);
    }

    ExpressionEngine engine_{ExpressionLimits{.max_steps = 1'000'000}};
    ControlReader controls_ = ReadKnotwell;
};

TEST_F(ExpressionEngineTest, SeesTimeValueAndMath) {
    EXPECT_EQ(Number(Run("time * 2 + value", 1.5, 4.0)), 7.0);
    EXPECT_DOUBLE_EQ(Number(Run("Math.sin(Math.PI / 2) + Math.max(value, 3)", 0, 1.0)), 4.0);
    EXPECT_EQ(Number(Run("amp = 10; var freq = 2; amp * freq")), 20.0);
}

TEST_F(ExpressionEngineTest, PointsComeAndGoAsArrays) {
    EXPECT_EQ(std::get<Point>(Run("[value[0] + time, value[1] * 2]", 1, Point{3, 4})), (Point{4, 8}));
}

TEST_F(ExpressionEngineTest, ReadsOtherControlsByNameAndIndex) {
    EXPECT_EQ(Number(Run(R"(effect("Knotwell 1")("Index") * 100 + effect("Knotwell 1")(1))")), 202.0);
    EXPECT_EQ(std::get<Point>(Run(R"(var p = effect("Knotwell 1")("Point"); [p[1], effect("Knotwell 1")(3)[0]])",
                                  0, Point{0, 0})),
              (Point{20, 10}));
}

TEST_F(ExpressionEngineTest, ExpressionsDoNotSeeWhatEarlierOnesLeft) {
    Run("leaked = 5; var declared = 6; this.assigned = 7; Math.PI = 0; Math.sin = null; Object = null; 0");
    EXPECT_EQ(Number(Run("[typeof leaked, typeof declared, typeof assigned].join() == "
                         "'undefined,undefined,undefined' ? Math.PI + Math.sin(0) + Object.keys({}).length : -1")),
              3.141592653589793);
}

struct Failure {
    const char* source;
    bool point;
    const char* message;
};

class ExpressionFailureTest : public ExpressionEngineTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(ExpressionFailureTest, IsAnExpressionErrorSayingWhy) {
    const Failure& failure = GetParam();
    try {
        Run(failure.source, 0, failure.point ? ExpressionValue(Point{1, 2}) : ExpressionValue(1.0));
        FAIL() << "no error from " << failure.source;
    } catch (const ExpressionError& e) {
        EXPECT_NE(std::string(e.what()).find(failure.message), std::string::npos) << e.what();
    }
    // The engine carries on.
    EXPECT_EQ(Number(Run("value + 1", 0, 1.0)), 2.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExpressionFailureTest,
    ::testing::Values(
        Failure{"1 +", false, "SyntaxError"},
        Failure{"'unterminated", false, "SyntaxError"},
        Failure{"throw new Error('boom')", false, "Error: boom (line 1)"},
        Failure{"throw 42", false, "threw 42"},
        Failure{"\n\nnothing + 1", false, "ReferenceError: identifier 'nothing' undefined (line 3)"},
        Failure{"'12'", false, "the result must be a number, not a string"},
        Failure{"[1, 2]", false, "the result must be a number, not an array"},
        Failure{"", false, "the result must be a number, not undefined"},
        Failure{"0 / 0", false, "the result must be a finite number, not NaN"},
        Failure{"-1 / 0", false, "the result must be a finite number, not Infinity"},
        Failure{"value[0]", true, "the result must be an array of two numbers [x, y], not a number"},
        Failure{"[1, 2, 3]", true, "not an array of another length"},
        Failure{"[1, 'a']", true, "the result's y must be a number, not a string"},
        Failure{"[NaN, 1]", true, "the result's x must be a finite number, not NaN"},
        Failure{"({ length: 2, 0: 1, 1: 2 })", true, "not an object"},
        Failure{R"(effect("Nothing")("Point"))", false, "no effect named \"Nothing\""},
        Failure{R"(effect("Knotwell 1")("Nothing"))", false, "no such control"},
        Failure{R"(effect("Knotwell 1")(0))", false, "a control index is a whole number from 1, not 0"},
        Failure{R"(effect("Knotwell 1")(1.5))", false, "a control index is a whole number from 1"},
        Failure{R"(effect("Knotwell 1")(null))", false, "takes a control's name or index, not null"},
        Failure{"effect(1)", false, "effect() takes the effect's name, not a number"},
        Failure{"while (true) {}", false, "running too long"},
        Failure{"for (;;) { try { while (true) {} } catch (e) {} }", false, "running too long"},
        Failure{"function f() { return 1 + f(); } f()", false, "RangeError"},
        Failure{"var s = 'x'; for (;;) s += s;", false, "memory"}));

TEST_F(ExpressionEngineTest, ControlsWithExpressionsAreReadThroughTheEngineBoundedInDepth) {
    int depth = 0;
    const ControlReader nested = [&](std::string_view, const ControlRef& control, std::string*) {
        ++depth;
        const char* source = std::get<std::string>(control) == "Doubled" ? "value * 2" : R"(effect("A")("Loop"))";
        return std::optional(engine_.Evaluate(source, 0, 21.0, nested));
    };
    EXPECT_EQ(Number(engine_.Evaluate(R"(effect("A")("Doubled") + 1)", 0, 0.0, nested)), 43.0);

    depth = 0;
    try {
        engine_.Evaluate(R"(effect("A")("Loop"))", 0, 0.0, nested);
        FAIL();
    } catch (const ExpressionError& e) {
        EXPECT_STREQ(e.what(), "expressions read one another more than 16 levels deep; do they form a cycle?");
    }
    EXPECT_EQ(depth, ExpressionLimits{}.max_depth);
}

TEST_F(ExpressionEngineTest, AReaderThatThrowsEndsInAnExpressionError) {
    const ControlReader throwing = [](std::string_view, const ControlRef&, std::string*)
        -> std::optional<ExpressionValue> { throw std::runtime_error("project is gone"); };
    EXPECT_THROW(
        {
            try {
                engine_.Evaluate(R"(effect("A")(1))", 0, 0.0, throwing);
            } catch (const ExpressionError& e) {
                EXPECT_STREQ(e.what(), "project is gone");
                throw;
            }
        },
        ExpressionError);
}

TEST_F(ExpressionEngineTest, OneHeapServesManyEvaluations) {
    const char* sources[] = {"value + time", "var t = time; value + t", "Math.floor(value) + time"};
    for (int i = 0; i < 20000; ++i) {
        if (i % 1000 == 0) {
            EXPECT_THROW(Run("while (true) {}"), ExpressionError);
        }
        const double value = i;
        ASSERT_EQ(Number(Run(sources[i % 3], 0.5, value)), i + 0.5);
    }
}

}  // namespace
}  // namespace knotwell::expressions
