// Project: the composition the headless host keeps, and what a user does
// with it: layers and masks are built, effects applied by display name,
// controls changed and frames rendered. The AEGP suites reach the same
// project through the host, so a change a plug-in makes from its
// pre-render is seen by the next render.
//
//   Host host;
//   host.Load(knotwell_path);
//   Project& project = host.project();
//   project::Layer& layer = project.AddLayer({.name = "Solid", .duration = 10});
//   project.AddMask(layer, square);
//   EffectInstance& fx = project.ApplyEffect(layer, "Knotwell");
//   fx.SetControl(1, 0);  // the user picks mask 0
//   RenderResult frame = project.RenderFrame(layer, 0);
//   EXPECT_TRUE(frame.settled);
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host/pf_effect.h"
#include "headless_host/driving/reply.h"
#include "headless_host/project/composition.h"

namespace knotwell::host {

class EffectInstance;
class EffectType;
class Host;
struct Message;
struct InfoText;

struct LayerSettings {
    std::string name = "Layer";
    A_long width = 64;
    A_long height = 64;
    project::Ticks start = 0;      // composition time of layer time 0
    project::Ticks duration = 300;  // in layer time
};

// A stream as the suites and the user address it: on its layer, and for an
// effect parameter, its instance and index (0 for a mask stream).
struct StreamTarget {
    project::Layer* layer = nullptr;
    project::Stream* stream = nullptr;
    EffectInstance* instance = nullptr;
    PF_ParamIndex index = 0;
};

// One effect's frame within a pass of the render loop.
struct EffectFrame {
    int pass = 0;
    std::size_t effect_index = 0;  // in the layer's effect order
    FrameReply frame;
};

struct RenderResult {
    project::Ticks time = 0;  // layer time
    int passes = 0;
    // False when the project still changed in the last allowed pass.
    bool settled = false;
    std::vector<EffectFrame> effects;
    std::vector<Message> messages;
    std::vector<InfoText> info;

    // The first error of any pre-render or render, else PF_Err_NONE.
    PF_Err FirstError() const;
};

class Project {
public:
    // Passes of one frame's render loop before it counts as unsettled.
    static constexpr int kMaxPasses = 10;

    explicit Project(Host& host) : host_(host) {}
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    project::Composition& composition() { return comp_; }
    const project::Composition& composition() const { return comp_; }

    project::Layer& AddLayer(const LayerSettings& settings);
    // The first layer, made with the default settings when there is none:
    // where instances made without a layer live.
    project::Layer& DefaultLayer();
    bool Contains(const project::Layer* layer) const;

    project::Mask& AddMask(project::Layer& layer, const project::MaskOutline& outline,
                           bool roto_bezier = false);
    // A mask whose outline has a key at each of the layer times given.
    project::Mask& AddMask(project::Layer& layer,
                           const std::map<project::Ticks, project::MaskOutline>& keys,
                           bool roto_bezier = false);

    // Applies the loaded effect with that display name (std::out_of_range
    // when none is loaded) after the layer's other effects: PARAMS_SETUP
    // and SEQUENCE_SETUP, as the host does. When a setup fails the effect
    // is not applied: std::runtime_error with its error.
    EffectInstance& ApplyEffect(project::Layer& layer, std::string_view display_name);
    // The instance behind an effect record, null when it has been set down.
    EffectInstance* InstanceOf(const project::Effect& effect) const;
    EffectInstance& Instance(project::Layer& layer, std::size_t effect_index) const;

    // The time indicator, in composition time; commands see it in the
    // layer time of their instance.
    project::Ticks current_time() const { return current_time_; }
    void SetCurrentTime(project::Ticks comp_time) { current_time_ = comp_time; }
    project::Ticks LayerTimeNow(const project::Layer& layer) const;

    // Sets a value as the host does at `time` (a key there on a keyframed
    // stream, else the static value), or adds a key. A real change counts
    // for the render loop and for the instance's parameter state.
    project::StreamStatus SetValue(const StreamTarget& target, project::Ticks time,
                                   const project::StreamValue& value);
    project::StreamStatus SetKey(const StreamTarget& target, project::Ticks time,
                                 const project::StreamValue& value);
    // Anything that makes the host render a frame again.
    void NoteChange() { ++changes_; }
    long changes() const { return changes_; }

    // Every active effect of the layer, in layer order, gets SMART_PRE_RENDER
    // and SMART_RENDER at layer time `time`; the frame is rendered again
    // while a pass changed the project, up to kMaxPasses passes.
    RenderResult RenderFrame(project::Layer& layer, project::Ticks time);
    // Frames from `from` up to, not including, `to`, one per time_step.
    std::vector<RenderResult> RenderFrames(project::Layer& layer, project::Ticks from,
                                           project::Ticks to);
    std::vector<RenderResult> RenderAllFrames(project::Layer& layer);

    // --- For the instances. ---
    void Attach(const project::Effect& effect, EffectInstance& instance);
    void Detach(const project::Effect& effect);

private:
    Host& host_;
    project::Composition comp_;
    project::Ticks current_time_ = 0;
    long changes_ = 0;
    std::map<const project::Effect*, EffectInstance*> instances_;
};

}  // namespace knotwell::host
