// What an expression works with: the values of controls, the way it names
// another control, and the error it ends in when it cannot give a value.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace knotwell::expressions {

// A 1-D control's number, or a point control's [x, y].
using ExpressionValue = std::variant<double, std::array<double, 2>>;

// A control of an effect, by its name or by its 1-based parameter index.
using ControlRef = std::variant<std::string, int>;

// Answers effect(effect)(control) with that control's value at the time
// being evaluated, or with nothing and a message in *error.
using ControlReader = std::function<std::optional<ExpressionValue>(
    std::string_view effect, const ControlRef& control, std::string* error)>;

// An expression that gives no usable value. The message says why; whoever
// knows the layer, effect and control puts them in front.
class ExpressionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace knotwell::expressions
