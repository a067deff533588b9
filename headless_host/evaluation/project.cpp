#include "headless_host/evaluation/project.h"

#include <stdexcept>
#include <string>

#include "headless_host/driving/effect_type.h"
#include "headless_host/host.h"

namespace knotwell::host {

using project::StreamStatus;
using project::Ticks;

PF_Err RenderResult::FirstError() const {
    for (const EffectFrame& effect : effects) {
        if (effect.frame.err() != PF_Err_NONE) return effect.frame.err();
    }
    return PF_Err_NONE;
}

project::Layer& Project::AddLayer(const LayerSettings& settings) {
    project::Layer& layer = comp_.layers.emplace_back();
    layer.name = settings.name;
    layer.width = settings.width;
    layer.height = settings.height;
    layer.start = settings.start;
    layer.duration = settings.duration;
    return layer;
}

project::Layer& Project::DefaultLayer() {
    return comp_.layers.empty() ? AddLayer({}) : comp_.layers.front();
}

bool Project::Contains(const project::Layer* layer) const {
    for (const project::Layer& kept : comp_.layers) {
        if (&kept == layer) return true;
    }
    return false;
}

project::Mask& Project::AddMask(project::Layer& layer, const project::MaskOutline& outline,
                                bool roto_bezier) {
    project::Mask& mask = layer.masks.emplace_back();
    mask.name = "Mask " + std::to_string(layer.masks.size());
    mask.roto_bezier = roto_bezier;
    mask.outline.SetValue(0, outline);
    NoteChange();
    return mask;
}

project::Mask& Project::AddMask(project::Layer& layer, const std::map<Ticks, project::MaskOutline>& keys,
                                bool roto_bezier) {
    project::Mask& mask = AddMask(layer, project::MaskOutline{}, roto_bezier);
    for (const auto& [time, outline] : keys) mask.outline.SetKey(time, outline);
    return mask;
}

EffectInstance& Project::ApplyEffect(project::Layer& layer, std::string_view display_name) {
    EffectType* type = host_.TypeNamed(display_name);
    if (!type) throw std::out_of_range("no loaded effect is named \"" + std::string(display_name) + "\"");
    EffectInstance& instance = type->NewInstance(layer);
    NoteChange();
    if (const PF_Err failed = type->WithdrawIfSetupFailed(instance)) {
        throw std::runtime_error(std::string(display_name) + ": the effect's setup failed with " +
                                 std::to_string(failed));
    }
    return instance;
}

EffectInstance* Project::InstanceOf(const project::Effect& effect) const {
    const auto found = instances_.find(&effect);
    return found == instances_.end() ? nullptr : found->second;
}

EffectInstance& Project::Instance(project::Layer& layer, std::size_t effect_index) const {
    EffectInstance* instance = InstanceOf(layer.effects.at(effect_index));
    if (!instance) throw std::out_of_range("effect " + std::to_string(effect_index) + " has been set down");
    return *instance;
}

Ticks Project::LayerTimeNow(const project::Layer& layer) const {
    return project::LayerTime(layer, current_time_);
}

namespace {

// A set that leaves the stream as it was is no change: the plug-ins write
// their controls on every pre-render, and only a real change re-renders.
template <class Set>
StreamStatus Change(const StreamTarget& target, Ticks time, Set&& set, Project& project) {
    project::Stream& stream = *target.stream;
    const project::StreamValue before = stream.ValueAt(time);
    const std::size_t keys = stream.Keys().size();
    const StreamStatus status = set(stream);
    if (status != StreamStatus::kOk) return status;
    if (keys != stream.Keys().size() || !project::SameValue(before, stream.ValueAt(time))) {
        project.NoteChange();
        if (target.instance) target.instance->ParamChanged(target.index);
    }
    return status;
}

}  // namespace

StreamStatus Project::SetValue(const StreamTarget& target, Ticks time, const project::StreamValue& value) {
    return Change(target, time, [&](project::Stream& stream) { return stream.SetValue(time, value); }, *this);
}

StreamStatus Project::SetKey(const StreamTarget& target, Ticks time, const project::StreamValue& value) {
    return Change(target, time, [&](project::Stream& stream) { return stream.SetKey(time, value); }, *this);
}

RenderResult Project::RenderFrame(project::Layer& layer, Ticks time) {
    RenderResult result;
    result.time = time;
    const std::size_t first_message = host_.messages().size();
    const std::size_t first_info = host_.info_panel().size();
    while (!result.settled && result.passes < kMaxPasses) {
        ++result.passes;
        const long changes_before = changes_;
        // Effects applied during the pass render from the next pass on.
        const std::size_t count = layer.effects.size();
        for (std::size_t i = 0; i < count; ++i) {
            if ((layer.effects[i].flags & AEGP_EffectFlags_ACTIVE) == 0) continue;
            EffectInstance* instance = InstanceOf(layer.effects[i]);
            if (!instance) continue;
            result.effects.push_back({result.passes, i, instance->Render(time)});
        }
        result.settled = changes_ == changes_before;
    }
    result.messages.assign(host_.messages().begin() + static_cast<std::ptrdiff_t>(first_message),
                           host_.messages().end());
    result.info.assign(host_.info_panel().begin() + static_cast<std::ptrdiff_t>(first_info),
                       host_.info_panel().end());
    return result;
}

std::vector<RenderResult> Project::RenderFrames(project::Layer& layer, Ticks from, Ticks to) {
    if (comp_.time_step <= 0) throw std::invalid_argument("the composition has no frame step");
    std::vector<RenderResult> frames;
    for (Ticks time = from; time < to; time += comp_.time_step) frames.push_back(RenderFrame(layer, time));
    return frames;
}

std::vector<RenderResult> Project::RenderAllFrames(project::Layer& layer) {
    return RenderFrames(layer, 0, layer.duration);
}

void Project::Attach(const project::Effect& effect, EffectInstance& instance) {
    instances_[&effect] = &instance;
}

void Project::Detach(const project::Effect& effect) { instances_.erase(&effect); }

}  // namespace knotwell::host
