#include "headless_host/cli/frame_captures.h"

#include <cmath>

#include "headless_host/driving/effect_instance.h"
#include "vertex_editor/params.h"

namespace knotwell::cli {
namespace {

constexpr std::string_view kKnotwell = "Knotwell";

const std::map<int, std::vector<MaskShot>> kNoFrames;

long Whole(const host::EffectInstance& instance, PF_ParamIndex index, project::Ticks time) {
    return std::lround(std::get<double>(instance.Control(index, time)));
}

}  // namespace

void FrameCaptures::Capture(const host::Project& project, const project::Layer& layer, int frame) {
    LayerCaptures& captures = layers_[&layer];
    if (captures.baked) return;
    const project::Ticks time = frame * project.composition().time_step;
    const std::vector<std::vector<bool>> driven = DrivenVertices(project, layer, time);
    std::vector<MaskShot>& shots = captures.frames[frame];
    shots.clear();
    for (std::size_t m = 0; m < layer.masks.size(); ++m) {
        shots.push_back({std::get<project::MaskOutline>(layer.masks[m].outline.ValueAt(time)), driven[m]});
    }
}

bool FrameCaptures::Baked(const project::Layer& layer) const {
    const auto found = layers_.find(&layer);
    return found != layers_.end() && found->second.baked;
}

const std::map<int, std::vector<MaskShot>>& FrameCaptures::Frames(const project::Layer& layer) const {
    const auto found = layers_.find(&layer);
    return found == layers_.end() ? kNoFrames : found->second.frames;
}

std::vector<std::vector<bool>> DrivenVertices(const host::Project& project, const project::Layer& layer,
                                              project::Ticks time) {
    std::vector<std::vector<bool>> driven;
    for (const project::Mask& mask : layer.masks) {
        driven.emplace_back(std::get<project::MaskOutline>(mask.outline.ValueAt(time)).vertices.size(), false);
    }
    for (const project::Effect& effect : layer.effects) {
        const host::EffectInstance* instance = project.InstanceOf(effect);
        if (effect.name != kKnotwell || (effect.flags & AEGP_EffectFlags_ACTIVE) == 0 || instance == nullptr ||
            instance->num_params() <= kKnotwellOn || Whole(*instance, kKnotwellOn, time) == 0) {
            continue;
        }
        const long mask = Whole(*instance, kKnotwellIndex, time);
        const long vertex = Whole(*instance, kKnotwellNo, time);
        if (mask >= 0 && mask < static_cast<long>(driven.size()) && vertex >= 0 &&
            vertex < static_cast<long>(driven[static_cast<std::size_t>(mask)].size())) {
            driven[static_cast<std::size_t>(mask)][static_cast<std::size_t>(vertex)] = true;
        }
    }
    return driven;
}

}  // namespace knotwell::cli
