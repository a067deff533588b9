#include "headless_host/expressions/stream_expression.h"

#include <utility>

namespace knotwell::expressions {

namespace {

std::optional<ExpressionValue> ToExpressionValue(const project::StreamValue& value) {
    if (const double* number = std::get_if<double>(&value)) return *number;
    if (const AEGP_TwoDVal* point = std::get_if<AEGP_TwoDVal>(&value)) {
        return std::array<double, 2>{point->x, point->y};
    }
    return std::nullopt;  // a mask outline
}

project::StreamValue ToStreamValue(const ExpressionValue& value) {
    if (const double* number = std::get_if<double>(&value)) return *number;
    const auto& point = std::get<std::array<double, 2>>(value);
    return AEGP_TwoDVal{point[0], point[1]};
}

std::string Describe(std::string_view effect, const ControlRef& control) {
    std::string text = "effect(\"" + std::string(effect) + "\")(";
    if (const int* index = std::get_if<int>(&control)) return text + std::to_string(*index) + ")";
    return text + "\"" + std::get<std::string>(control) + "\")";
}

}  // namespace

project::Expression MakeStreamExpression(std::shared_ptr<ExpressionEngine> engine, std::string source,
                                         ExpressionTiming timing, StreamControlReader read_control,
                                         std::string where) {
    const std::string lead = where.empty() ? std::string() : where + ": ";
    return [engine = std::move(engine), source = std::move(source), timing, read_control = std::move(read_control),
            lead](project::Ticks time, const project::StreamValue& pre_expression) -> project::StreamValue {
        const std::optional<ExpressionValue> value = ToExpressionValue(pre_expression);
        if (!value) throw ExpressionError(lead + "expressions on mask paths are not supported");
        const ControlReader read = [&](std::string_view effect, const ControlRef& control,
                                       std::string* error) -> std::optional<ExpressionValue> {
            const std::optional<project::StreamValue> read_value = read_control(time, effect, control, error);
            if (!read_value) return std::nullopt;
            std::optional<ExpressionValue> converted = ToExpressionValue(*read_value);
            if (!converted) *error = Describe(effect, control) + " is a mask path, which expressions cannot read";
            return converted;
        };
        const double seconds = (static_cast<double>(time) + timing.layer_start) / timing.time_scale;
        try {
            return ToStreamValue(engine->Evaluate(source, seconds, *value, read));
        } catch (const ExpressionError& e) {
            throw ExpressionError(lead + e.what());
        }
    };
}

}  // namespace knotwell::expressions
