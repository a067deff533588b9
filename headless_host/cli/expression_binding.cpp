#include "headless_host/cli/expression_binding.h"

#include <algorithm>
#include <utility>

#include "headless_host/cli/controls.h"
#include "headless_host/expressions/stream_expression.h"

namespace knotwell::cli {
namespace {

AnyControlRef ToAnyRef(const expressions::ControlRef& ref) {
    if (const int* index = std::get_if<int>(&ref)) return *index;
    return std::get<std::string>(ref);
}

// Keeps `stream` on the list of streams being evaluated while `expression`
// runs, so that a cycle is reported as one.
project::Expression Tracked(RunState& state, const project::Stream& stream, project::Expression expression) {
    return [&state, &stream, expression = std::move(expression)](project::Ticks time,
                                                                 const project::StreamValue& value) {
        state.evaluating.push_back(&stream);
        struct Pop {
            std::vector<const project::Stream*>& evaluating;
            ~Pop() { evaluating.pop_back(); }
        } pop{state.evaluating};
        return expression(time, value);
    };
}

}  // namespace

void BindExpression(RunState& state, host::EffectInstance& instance, PF_ParamIndex index,
                    const std::string& source) {
    project::Stream& stream = instance.Stream(index);
    if (source.empty()) {
        state.expressions.erase(&stream);
        instance.SetExpression(index, {});
        return;
    }
    project::Layer& layer = instance.layer();
    const expressions::ExpressionTiming timing{state.project.composition().time_scale, layer.start};
    // Names are looked up when the expression runs: instances the maker
    // applies later can be read too.
    expressions::StreamControlReader read = [&state, &layer](project::Ticks time, std::string_view effect_name,
                                                             const expressions::ControlRef& control,
                                                             std::string* error) -> std::optional<project::StreamValue> {
        const project::Effect* effect = state.names.Find(layer, effect_name);
        host::EffectInstance* other = effect ? state.project.InstanceOf(*effect) : nullptr;
        if (other == nullptr) {
            *error = "no effect on layer \"" + layer.name + "\" is named \"" + std::string(effect_name) + "\"";
            return std::nullopt;
        }
        const std::optional<PF_ParamIndex> found = FindControl(*other, ToAnyRef(control), error);
        if (!found) return std::nullopt;
        const project::Stream& read = other->Stream(*found);
        if (std::find(state.evaluating.begin(), state.evaluating.end(), &read) != state.evaluating.end()) {
            *error = "effect(\"" + std::string(effect_name) + "\")(\"" + ControlLabel(*other, *found) +
                     "\") is itself waiting for this expression: the expressions read one another in a cycle";
            return std::nullopt;
        }
        return read.ValueAfterExpressionAt(time);
    };
    const std::string where = "layer \"" + layer.name + "\", effect \"" + state.names.Of(instance.effect()) +
                              "\", control \"" + ControlLabel(instance, index) + "\"";
    state.expressions[&stream] = source;
    instance.SetExpression(index, Tracked(state, stream,
                                          expressions::MakeStreamExpression(state.engine, source, timing,
                                                                            std::move(read), where)));
}

}  // namespace knotwell::cli
