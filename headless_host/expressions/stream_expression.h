// Puts an expression on a project stream: the engine evaluates the source
// on every read after expressions.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "headless_host/expressions/expression_engine.h"
#include "headless_host/project/stream.h"

namespace knotwell::expressions {

// Where the stream's layer sits: streams count layer time, while `time` in
// an expression is composition time in seconds.
struct ExpressionTiming {
    A_u_long time_scale = 1;
    project::Ticks layer_start = 0;
};

// Answers effect(effect)(control) for a stream's expression: that control's
// value at layer time `time`, after its own expression, or nothing and a
// message in *error. It may throw ExpressionError.
using StreamControlReader = std::function<std::optional<project::StreamValue>(
    project::Ticks time, std::string_view effect, const ControlRef& control, std::string* error)>;

// The stream's Expression. It throws ExpressionError, its message led by
// `where` (such as the layer, effect and control names), when the source
// fails or the stream holds mask outlines.
project::Expression MakeStreamExpression(std::shared_ptr<ExpressionEngine> engine, std::string source,
                                         ExpressionTiming timing, StreamControlReader read_control,
                                         std::string where);

}  // namespace knotwell::expressions
