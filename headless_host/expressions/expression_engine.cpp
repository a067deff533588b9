#include "headless_host/expressions/expression_engine.h"

#include <climits>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "duktape.h"
#include "headless_host/expressions/heap_budget.h"

// Duktape reports errors by longjmp. Every entry into the engine therefore
// goes through duk_safe_call, and the functions that run inside the engine
// (the Run* and native functions below) hold no C++ objects with
// destructors while they call into it: the only C++ work they do happens in
// ReadControl, which catches everything.

namespace knotwell::expressions {

namespace {

constexpr long long kStepsPerInterrupt = 256 * 1024;  // Duktape's interrupt interval

#define KNOTWELL_KEY(name) DUK_HIDDEN_SYMBOL("knotwell." name)

// Trusted set-up, run once per heap: drop the engine's own `Duktape` object
// (its finalizer hook would let a script run outside an evaluation) and
// freeze the built-ins and their global names, so that no expression can
// change what the next one sees.
constexpr char kLockDown[] = R"js(
(function (global) {
    'use strict';
    delete global.Duktape;
    var names = Object.getOwnPropertyNames(global);
    for (var i = 0; i < names.length; i++) {
        var thing = global[names[i]];
        if (thing !== global && thing !== null && (typeof thing === 'object' || typeof thing === 'function')) {
            if (typeof thing === 'function' && thing.prototype) Object.freeze(thing.prototype);
            Object.freeze(thing);
        }
        Object.defineProperty(global, names[i], { writable: false, configurable: false });
    }
})(this)
)js";

// What one evaluation asks for and, when it succeeds, gives back.
struct RunArgs {
    const char* source;
    std::size_t source_size;
    bool point;
    double result[2];
};

struct ControlQuery {
    const char* effect;
    std::size_t effect_size;
    const char* name;  // null when the control is asked for by index
    std::size_t name_size;
    int index;
};

const char* Describe(duk_context* ctx, duk_idx_t at) {
    switch (duk_get_type(ctx, at)) {
    case DUK_TYPE_UNDEFINED: return "undefined";
    case DUK_TYPE_NULL: return "null";
    case DUK_TYPE_BOOLEAN: return "a boolean";
    case DUK_TYPE_NUMBER: return "a number";
    case DUK_TYPE_STRING: return "a string";
    default: break;
    }
    if (duk_is_array(ctx, at)) return "an array";
    if (duk_is_function(ctx, at)) return "a function";
    return "an object";
}

// Throws an error that the expression may catch, reported as `text` alone:
// the engine's own messages need neither an error name nor a line number
// (which would be ours, not the expression's).
[[noreturn]] void ThrowPlain(duk_context* ctx, duk_errcode_t code, const char* text) {
    duk_push_error_object(ctx, code, "%s", text);
    duk_push_string(ctx, text);
    duk_put_prop_string(ctx, -2, KNOTWELL_KEY("plain"));
    duk_throw_raw(ctx);
    std::abort();  // not reached: duk_throw_raw longjmps, though its declaration does not say so
}

[[noreturn]] __attribute__((format(printf, 3, 4))) void ThrowPlainf(duk_context* ctx, duk_errcode_t code,
                                                                    const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    ThrowPlain(ctx, code, text);
}

// Leaves the number at `at` in *out, or throws an error naming what the
// result was instead.
void TakeFinite(duk_context* ctx, duk_idx_t at, const char* what, double* out) {
    if (!duk_is_number(ctx, at)) {
        ThrowPlainf(ctx, DUK_ERR_TYPE_ERROR, "%s must be a number, not %s", what, Describe(ctx, at));
    }
    *out = duk_get_number(ctx, at);
    if (!std::isfinite(*out)) {
        ThrowPlainf(ctx, DUK_ERR_RANGE_ERROR, "%s must be a finite number, not %s", what,
                    std::isnan(*out) ? "NaN" : "Infinity");
    }
}

void TakeResult(duk_context* ctx, RunArgs* args) {
    const duk_idx_t result = duk_get_top_index(ctx);
    if (!args->point) {
        TakeFinite(ctx, result, "the result", &args->result[0]);
        return;
    }
    if (!duk_is_array(ctx, result) || duk_get_length(ctx, result) != 2) {
        ThrowPlainf(ctx, DUK_ERR_TYPE_ERROR, "the result must be an array of two numbers [x, y], not %s%s",
                    Describe(ctx, result), duk_is_array(ctx, result) ? " of another length" : "");
    }
    for (duk_uarridx_t i = 0; i < 2; ++i) {
        duk_get_prop_index(ctx, result, i);
        TakeFinite(ctx, -1, i == 0 ? "the result's x" : "the result's y", &args->result[i]);
        duk_pop(ctx);
    }
}

// [] -> [result]: the source's compiled function, from the cache or newly
// compiled into it, called with no arguments.
duk_ret_t RunProtected(duk_context* ctx, void* udata) {
    RunArgs* args = static_cast<RunArgs*>(udata);
    duk_require_stack(ctx, 8);
    duk_push_global_stash(ctx);
    duk_get_prop_string(ctx, -1, KNOTWELL_KEY("compiled"));
    if (!duk_get_prop_lstring(ctx, -1, args->source, args->source_size)) {  // [stash cache function?]
        duk_pop(ctx);
        duk_push_lstring(ctx, args->source, args->source_size);
        duk_push_string(ctx, "expression");
        // The compiler's message already names the line.
        if (duk_pcompile(ctx, DUK_COMPILE_EVAL) != 0) {
            ThrowPlain(ctx, DUK_ERR_SYNTAX_ERROR, duk_safe_to_string(ctx, -1));
        }
        duk_dup_top(ctx);
        duk_put_prop_lstring(ctx, -3, args->source, args->source_size);
    }
    duk_call(ctx, 0);
    TakeResult(ctx, args);
    return 1;
}

// [error] -> [error, message]: the error as a line of text, with the line
// of the expression it came from when the engine knows it.
duk_ret_t DescribeError(duk_context* ctx, void*) {
    duk_require_stack(ctx, 4);
    const duk_idx_t error = duk_get_top_index(ctx);
    if (!duk_is_error(ctx, error)) {
        duk_push_string(ctx, "threw ");
        duk_dup(ctx, error);
        duk_safe_to_string(ctx, -1);
        duk_concat(ctx, 2);
        return 1;
    }
    if (duk_get_prop_string(ctx, error, KNOTWELL_KEY("plain"))) return 1;
    duk_pop(ctx);
    duk_dup(ctx, error);
    duk_safe_to_string(ctx, -1);
    duk_get_prop_string(ctx, error, "lineNumber");
    if (duk_is_number(ctx, -1) && duk_get_number(ctx, -1) > 0) {
        duk_push_sprintf(ctx, "%s (line %ld)", duk_get_string(ctx, -2), static_cast<long>(duk_get_number(ctx, -1)));
        duk_replace(ctx, -3);
    }
    duk_pop(ctx);
    return 1;
}

// [] -> []: deletes the globals an expression made, whether by `var` or by
// assigning to an undeclared name, so that the next one does not see them.
// The globals that stay are neither enumerable nor deletable, which keeps
// the walk short.
duk_ret_t ForgetNewGlobals(duk_context* ctx, void*) {
    duk_require_stack(ctx, 6);
    const duk_idx_t global = duk_get_top(ctx);
    duk_push_global_object(ctx);
    duk_enum(ctx, global, DUK_ENUM_OWN_PROPERTIES_ONLY);
    while (duk_next(ctx, global + 1, 0)) {  // [global enum key]
        // Deleting what cannot be deleted throws; such a global stays.
        duk_dup_top(ctx);
        duk_get_prop_desc(ctx, global, 0);
        const bool configurable = duk_get_prop_string(ctx, -1, "configurable") && duk_get_boolean(ctx, -1);
        duk_pop_2(ctx);
        if (configurable) {
            duk_del_prop(ctx, global);
        } else {
            duk_pop(ctx);
        }
    }
    return 0;
}

[[noreturn]] void OnFatal(void*, const char* message) {
    // Unreachable while every call is protected; nothing sane is left to do.
    std::fprintf(stderr, "knotwell: the JavaScript engine failed: %s\n", message ? message : "");
    std::abort();
}

}  // namespace

struct ExpressionEngine::Impl {
    struct Frame {
        double time;
        const ExpressionValue* value;
        const ControlReader* read_control;
    };

    ExpressionLimits limits;
    HeapBudget budget;
    duk_context* ctx = nullptr;
    std::vector<Frame> frames;
    std::string control_error;  // read by ReadControlFunction after ReadControl fails

    explicit Impl(ExpressionLimits given);
    ~Impl() { duk_destroy_heap(ctx); }

    ExpressionValue Evaluate(std::string_view source, double time, const ExpressionValue& value,
                             const ControlReader& read_control);
    std::string TakeErrorMessage();
    bool ReadControl(const ControlQuery& query, ExpressionValue* out) noexcept;

    static Impl* Of(duk_context* ctx);
    static duk_ret_t TimeGetter(duk_context* ctx);
    static duk_ret_t ValueGetter(duk_context* ctx);
    static duk_ret_t EffectFunction(duk_context* ctx);
    static duk_ret_t ReadControlFunction(duk_context* ctx);
    static void PushValue(duk_context* ctx, const ExpressionValue& value);
};

ExpressionEngine::Impl::Impl(ExpressionLimits given) : limits(given) {
    budget.bytes_limit = limits.max_heap_bytes;
    ctx = duk_create_heap(&BudgetAlloc, &BudgetRealloc, &BudgetFree, &budget, &OnFatal);
    if (!ctx) throw ExpressionError("the JavaScript engine could not start");
    budget.interrupts_left = LLONG_MAX;
    // Set-up is trusted code: a failure here is a broken engine, not a broken expression.
    duk_push_global_stash(ctx);
    duk_push_pointer(ctx, this);
    duk_put_prop_string(ctx, -2, KNOTWELL_KEY("engine"));
    duk_push_bare_object(ctx);
    duk_put_prop_string(ctx, -2, KNOTWELL_KEY("compiled"));
    if (duk_peval_lstring(ctx, kLockDown, sizeof kLockDown - 1) != 0) {
        const std::string message = TakeErrorMessage();
        duk_destroy_heap(ctx);
        throw ExpressionError("the JavaScript engine could not be set up: " + message);
    }
    duk_pop_2(ctx);

    duk_push_global_object(ctx);
    duk_push_string(ctx, "time");
    duk_push_c_function(ctx, &TimeGetter, 0);
    duk_def_prop(ctx, -3, DUK_DEFPROP_HAVE_GETTER | DUK_DEFPROP_CLEAR_CONFIGURABLE | DUK_DEFPROP_CLEAR_ENUMERABLE);
    duk_push_string(ctx, "value");
    duk_push_c_function(ctx, &ValueGetter, 0);
    duk_def_prop(ctx, -3, DUK_DEFPROP_HAVE_GETTER | DUK_DEFPROP_CLEAR_CONFIGURABLE | DUK_DEFPROP_CLEAR_ENUMERABLE);
    duk_push_string(ctx, "effect");
    duk_push_c_function(ctx, &EffectFunction, 1);
    duk_def_prop(ctx, -3, DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_CLEAR_WEC);
    duk_pop(ctx);
}

ExpressionEngine::Impl* ExpressionEngine::Impl::Of(duk_context* ctx) {
    duk_push_global_stash(ctx);
    duk_get_prop_string(ctx, -1, KNOTWELL_KEY("engine"));
    Impl* impl = static_cast<Impl*>(duk_get_pointer(ctx, -1));
    duk_pop_2(ctx);
    if (impl->frames.empty()) ThrowPlain(ctx, DUK_ERR_ERROR, "no expression is being evaluated");
    return impl;
}

void ExpressionEngine::Impl::PushValue(duk_context* ctx, const ExpressionValue& value) {
    if (const double* number = std::get_if<double>(&value)) {
        duk_push_number(ctx, *number);
        return;
    }
    const auto& point = std::get<std::array<double, 2>>(value);
    duk_push_array(ctx);
    for (duk_uarridx_t i = 0; i < 2; ++i) {
        duk_push_number(ctx, point[i]);
        duk_put_prop_index(ctx, -2, i);
    }
}

duk_ret_t ExpressionEngine::Impl::TimeGetter(duk_context* ctx) {
    duk_push_number(ctx, Of(ctx)->frames.back().time);
    return 1;
}

duk_ret_t ExpressionEngine::Impl::ValueGetter(duk_context* ctx) {
    PushValue(ctx, *Of(ctx)->frames.back().value);
    return 1;
}

// effect(name): a function of the control, remembering the effect's name.
duk_ret_t ExpressionEngine::Impl::EffectFunction(duk_context* ctx) {
    if (!duk_is_string(ctx, 0)) {
        ThrowPlainf(ctx, DUK_ERR_TYPE_ERROR, "effect() takes the effect's name, not %s", Describe(ctx, 0));
    }
    duk_push_c_function(ctx, &ReadControlFunction, 1);
    duk_dup(ctx, 0);
    duk_put_prop_string(ctx, -2, KNOTWELL_KEY("effect"));
    return 1;
}

// effect(name)(control): the control's value, by name or 1-based index.
duk_ret_t ExpressionEngine::Impl::ReadControlFunction(duk_context* ctx) {
    ControlQuery query{};
    duk_push_current_function(ctx);
    duk_get_prop_string(ctx, -1, KNOTWELL_KEY("effect"));
    query.effect = duk_get_lstring(ctx, -1, &query.effect_size);
    if (duk_is_string(ctx, 0)) {
        query.name = duk_get_lstring(ctx, 0, &query.name_size);
    } else if (duk_is_number(ctx, 0)) {
        const double index = duk_get_number(ctx, 0);
        if (!(index >= 1 && index <= INT_MAX && index == std::floor(index))) {
            ThrowPlainf(ctx, DUK_ERR_RANGE_ERROR, "effect(\"%s\")(): a control index is a whole number from 1, not %g",
                        query.effect, index);
        }
        query.index = static_cast<int>(index);
    } else {
        ThrowPlainf(ctx, DUK_ERR_TYPE_ERROR, "effect(\"%s\")() takes a control's name or index, not %s",
                    query.effect, Describe(ctx, 0));
    }
    Impl* impl = Of(ctx);
    ExpressionValue value;
    if (!impl->ReadControl(query, &value)) ThrowPlain(ctx, DUK_ERR_ERROR, impl->control_error.c_str());
    PushValue(ctx, value);
    return 1;
}

bool ExpressionEngine::Impl::ReadControl(const ControlQuery& query, ExpressionValue* out) noexcept {
    try {
        const std::string_view effect(query.effect, query.effect_size);
        const ControlRef control = query.name ? ControlRef(std::string(query.name, query.name_size))
                                              : ControlRef(query.index);
        std::string error;
        std::optional<ExpressionValue> value = (*frames.back().read_control)(effect, control, &error);
        if (value) {
            *out = *value;
            return true;
        }
        control_error = error.empty() ? "effect(\"" + std::string(effect) + "\") has no such control" : error;
    } catch (const std::exception& e) {
        control_error = e.what();
    } catch (...) {
        control_error = "reading another control failed";
    }
    return false;
}

std::string ExpressionEngine::Impl::TakeErrorMessage() {
    std::string message = "an error that cannot be described";
    if (duk_check_stack(ctx, 4)) {
        if (duk_safe_call(ctx, &DescribeError, nullptr, 0, 1) == DUK_EXEC_SUCCESS) {
            duk_size_t size = 0;
            const char* text = duk_get_lstring(ctx, -1, &size);
            if (text) message.assign(text, size);
        }
        duk_pop(ctx);  // the description
    }
    duk_pop(ctx);  // the error
    return message;
}

ExpressionValue ExpressionEngine::Impl::Evaluate(std::string_view source, double time, const ExpressionValue& value,
                                                 const ControlReader& read_control) {
    if (static_cast<int>(frames.size()) >= limits.max_depth) {
        throw ExpressionError("expressions read one another more than " + std::to_string(limits.max_depth) +
                              " levels deep; do they form a cycle?");
    }
    if (!duk_check_stack(ctx, 4)) throw ExpressionError("the JavaScript engine ran out of stack");
    const bool outermost = frames.empty();
    if (outermost) {
        budget.interrupts_left = (limits.max_steps + kStepsPerInterrupt - 1) / kStepsPerInterrupt;
        budget.exhausted_memory = false;
    }
    RunArgs args{source.data(), source.size(), std::holds_alternative<std::array<double, 2>>(value), {0, 0}};
    frames.push_back(Frame{time, &value, &read_control});
    const duk_int_t status = duk_safe_call(ctx, &RunProtected, &args, 0, 1);
    frames.pop_back();

    std::string failure;
    if (status == DUK_EXEC_SUCCESS) {
        duk_pop(ctx);
    } else {
        failure = TakeErrorMessage();  // may run the thrown value's toString, within the budget
        if (budget.interrupts_left < 0) {
            failure = "stopped after running too long (over " + std::to_string(limits.max_steps) + " steps)";
        } else if (budget.exhausted_memory) {
            failure = "stopped for using over " + std::to_string(limits.max_heap_bytes >> 20) + " MiB of memory";
        }
    }
    if (outermost) {
        budget.interrupts_left = LLONG_MAX;  // the clean-up must not be cut short
        (void)duk_safe_call(ctx, &ForgetNewGlobals, nullptr, 0, 1);
        duk_pop(ctx);
    }
    if (!failure.empty()) throw ExpressionError(failure);
    if (args.point) return std::array<double, 2>{args.result[0], args.result[1]};
    return args.result[0];
}

ExpressionEngine::ExpressionEngine(ExpressionLimits limits) : impl_(std::make_unique<Impl>(limits)) {}

ExpressionEngine::~ExpressionEngine() = default;

ExpressionValue ExpressionEngine::Evaluate(std::string_view source, double time, const ExpressionValue& value,
                                           const ControlReader& read_control) {
    return impl_->Evaluate(source, time, value, read_control);
}

}  // namespace knotwell::expressions
