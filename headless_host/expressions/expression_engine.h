// Evaluates control expressions with one JavaScript heap, kept for the
// engine's life: each distinct source is compiled once.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "headless_host/expressions/expression_value.h"

namespace knotwell::expressions {

struct ExpressionLimits {
    // Bytecode instructions one evaluation may run, counting the
    // expressions it reads through effect(); checked every 262144.
    long long max_steps = 10'000'000;
    // Expressions reading controls that have expressions themselves.
    int max_depth = 16;
    std::size_t max_heap_bytes = std::size_t{64} << 20;
};

class ExpressionEngine {
public:
    explicit ExpressionEngine(ExpressionLimits limits = {});
    ~ExpressionEngine();
    ExpressionEngine(const ExpressionEngine&) = delete;
    ExpressionEngine& operator=(const ExpressionEngine&) = delete;

    // Runs `source` with `time` (seconds), `value` (the control's value
    // before expressions), Math and effect(name)(control), served by
    // `read_control`. The result has the kind of `value`. Throws
    // ExpressionError for anything else; read_control may call Evaluate
    // again, up to the depth limit.
    ExpressionValue Evaluate(std::string_view source, double time, const ExpressionValue& value,
                             const ControlReader& read_control);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace knotwell::expressions
