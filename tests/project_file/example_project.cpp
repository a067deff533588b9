#include "tests/project_file/example_project.h"

#include <fstream>
#include <sstream>
#include <utility>

namespace knotwell::project_file::testing {

std::string DocumentedExample() {
    std::ifstream file(KNOTWELL_FORMAT_DOC);
    std::stringstream text;
    text << file.rdbuf();
    const std::string doc = text.str();
    const std::string open = "```json\n";
    const auto start = doc.find(open);
    const auto end = doc.find("```", start + open.size());
    if (start == std::string::npos || end == std::string::npos) return "";
    return doc.substr(start + open.size(), end - start - open.size());
}

ControlSetting Control(ControlRef control, std::optional<ControlValue> value) {
    ControlSetting setting;
    setting.control = std::move(control);
    setting.value = std::move(value);
    return setting;
}

Step MakeStep(int layer, decltype(Step::action) action) {
    Step step;
    step.layer = layer;
    step.action = std::move(action);
    return step;
}

ProjectDescription ExpectedExample() {
    ProjectDescription p;
    p.composition.name = "Demo";
    p.composition.width = 320;
    p.composition.height = 240;
    p.composition.duration = 30;

    LayerDescription& layer = p.layers.emplace_back();
    layer.name = "Solid";
    layer.width = 320;
    layer.height = 240;
    layer.duration = 30;

    MaskDescription& triangle = layer.masks.emplace_back();
    triangle.name = "Triangle";
    triangle.vertices = {{{160, 40}, {}, {}}, {{260, 200}, {20, -10}, {-20, 10}}, {{60, 200}, {}, {}}};
    MaskDescription& stroke = layer.masks.emplace_back();
    stroke.name = "Stroke";
    stroke.open = true;
    stroke.keyframes = {{0, {{{40, 120}, {}, {}}, {{280, 120}, {}, {}}}},
                        {29, {{{40, 60}, {}, {}}, {{280, 180}, {}, {}}}}};

    EffectDescription& tip = layer.effects.emplace_back();
    tip.display_name = "Knotwell";
    tip.instance_name = "Tip";
    ControlSetting point = Control("Point", std::nullopt);
    point.keyframes = {{0, Point{160, 40}, {}}, {29, Point{160, 10}, {}}};
    ControlSetting angle = Control("Tan In Angle", 90.0);
    angle.expression = "time * 36";
    tip.controls = {Control("Index", 0.0), point, Control("Coordinate", std::string("Polar")),
                    Control("Tan In Radius", 25.5), angle, Control(12, true)};

    ApplyStep apply;
    apply.effect.display_name = "Knotwell Maker";
    apply.effect.controls = {Control("All", true)};
    ControlSetting no_expression = Control(3, std::nullopt);
    no_expression.expression = "";
    p.steps = {
        MakeStep(0, RenderStep{false, 0, 0}),
        MakeStep(0, apply),
        MakeStep(0, ExecuteStep{"Knotwell Maker"}),
        MakeStep(0, SetStep{"Tip", Control("Symmetric", true)}),
        MakeStep(0, SetStep{0, no_expression}),
        MakeStep(0, RenderStep{false, 0, 9}),
        MakeStep(0, RenderStep{true, 0, 0}),
    };
    return p;
}

}  // namespace knotwell::project_file::testing
