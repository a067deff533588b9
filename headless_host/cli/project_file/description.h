// A project as a file describes it: the composition, its layers with masks
// and effects, the steps a user takes, and after a run what the user saw.
// Plain data, independent of the host; knotwell-host maps it onto the host
// and resolves effect and control names against the installed effects.
//
// Frames count in the composition's frame duration: a layer's start is a
// composition frame, every other frame is a layer frame (0 is the layer's
// first frame).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace knotwell::project_file {

// Where an item was read ("layers[0].effects[1]"), so that errors found
// after reading name the place. Not part of the item's value: two paths
// always compare equal, and a description made in code has none.
struct SourcePath {
    std::string text;
    friend bool operator==(const SourcePath&, const SourcePath&) { return true; }
};

struct FileError {
    std::string path;  // empty when the text is not JSON at all
    std::string message;

    bool operator==(const FileError&) const = default;
};

// "path: message", or the message alone.
inline std::string ToString(const FileError& error) {
    return error.path.empty() ? error.message : error.path + ": " + error.message;
}

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

// Tangents are relative to the position, in layer pixels.
struct Vertex {
    Point position;
    Point in;
    Point out;
    bool operator==(const Vertex&) const = default;
};

struct MaskKeyframe {
    int frame = 0;
    std::vector<Vertex> vertices;
    bool operator==(const MaskKeyframe&) const = default;
};

// A mask holds either a still outline (vertices) or keyframes.
struct MaskDescription {
    std::string name;
    bool open = false;
    bool roto_bezier = false;
    std::vector<Vertex> vertices;
    std::vector<MaskKeyframe> keyframes;
    SourcePath path;
    bool operator==(const MaskDescription&) const = default;
};

// A control by its 1-based parameter index or by its name.
using ControlRef = std::variant<int, std::string>;

// A number (sliders, angles, a popup item by number), a point, a check box,
// or a popup item by its text.
using ControlValue = std::variant<double, Point, bool, std::string>;

struct ControlKeyframe {
    int frame = 0;
    ControlValue value;
    SourcePath path;
    bool operator==(const ControlKeyframe&) const = default;
};

// How the Effect Controls panel shows a control after a run.
struct ControlUi {
    std::string shown_name;
    bool greyed = false;
    bool hidden = false;
    bool operator==(const ControlUi&) const = default;
};

// What is given for one control: a value or keyframes, and/or an
// expression (an empty one removes the control's expression).
struct ControlSetting {
    ControlRef control;
    std::optional<ControlValue> value;
    std::vector<ControlKeyframe> keyframes;
    std::optional<std::string> expression;
    std::optional<ControlUi> ui;  // results only
    SourcePath path;
    bool operator==(const ControlSetting&) const = default;
};

struct EffectDescription {
    std::string display_name;   // the installed effect's name
    std::string instance_name;  // empty: none given
    bool active = true;
    std::vector<ControlSetting> controls;  // in the order given
    SourcePath path;
    bool operator==(const EffectDescription&) const = default;
};

struct LayerDescription {
    std::string name;
    int width = 0;
    int height = 0;
    int start = 0;  // composition frame of the layer's frame 0
    int duration = 0;
    std::vector<MaskDescription> masks;
    std::vector<EffectDescription> effects;
    SourcePath path;
    bool operator==(const LayerDescription&) const = default;
};

struct CompositionDescription {
    std::string name;
    int width = 0;
    int height = 0;
    // Frame rate time_scale / time_step; one frame lasts time_step ticks.
    int time_scale = 30;
    int time_step = 1;
    int duration = 0;  // frames
    // Render resolution: 1/downsample_x of the width, 1/downsample_y of the
    // height.
    int downsample_x = 1;
    int downsample_y = 1;
    bool operator==(const CompositionDescription&) const = default;
};

// An effect instance on the step's layer: its instance name or its 0-based
// position in the layer's effect order.
using EffectRef = std::variant<int, std::string>;

struct ApplyStep {
    EffectDescription effect;
    bool operator==(const ApplyStep&) const = default;
};

// Changes one control of an existing instance, as the user does.
struct SetStep {
    EffectRef effect;
    ControlSetting setting;
    bool operator==(const SetStep&) const = default;
};

// Frames first to last, both included; `all` renders every frame of the
// layer.
struct RenderStep {
    bool all = false;
    int first = 0;
    int last = 0;
    bool operator==(const RenderStep&) const = default;
};

// Picks "Execute" on the instance's one-shot popup ("Make" or "Bake").
struct ExecuteStep {
    EffectRef effect;
    bool operator==(const ExecuteStep&) const = default;
};

struct Step {
    int layer = 0;  // index into ProjectDescription::layers
    std::variant<ApplyStep, SetStep, RenderStep, ExecuteStep> action;
    SourcePath path;
    bool operator==(const Step&) const = default;
};

struct Message {
    std::string command;
    std::string text;
    bool is_error = false;
    bool operator==(const Message&) const = default;
};

struct HostCalls {
    long long total = 0;
    std::map<std::string, long long> by_name;
    bool operator==(const HostCalls&) const = default;
};

// What a run showed the user and how it treated the host.
struct RunReport {
    std::vector<Message> messages;
    std::vector<std::string> info_panel;
    HostCalls host_calls;
    std::vector<std::string> leaks;
    bool operator==(const RunReport&) const = default;
};

struct ProjectDescription {
    CompositionDescription composition;
    std::vector<LayerDescription> layers;
    std::vector<Step> steps;
    std::optional<RunReport> report;  // results only
    bool operator==(const ProjectDescription&) const = default;
};

}  // namespace knotwell::project_file
