// A headless host with the real plug-ins of one interface generation and
// one layer to work on, and short ways to read back what the maker and the
// baker did to the project.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "baker/params.h"
#include "headless_host/driving/effect_instance.h"
#include "headless_host/driving/effect_type.h"
#include "headless_host/evaluation/dump.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/host.h"
#include "maker/params.h"
#include "tests/support/plugins.h"
#include "vertex_editor/params.h"

namespace knotwell::test {

using host::EffectInstance;
using host::Generation;
using project::MaskOutline;
using project::Ticks;

inline constexpr std::string_view kMaker = "Knotwell Maker";
inline constexpr std::string_view kBaker = "Knotwell Baker";
inline constexpr std::string_view kKnotwell = "Knotwell";
inline constexpr double kExecute = 2.0;
inline constexpr double kIdle = 1.0;

// A closed outline of 4 segments whose in tangents point up, right, up-left
// and nowhere.
inline MaskOutline ClosedFour() {
    return {{{10, 10, 0, -10, 0, 10}, {50, 10, 10, 0, -10, 0}, {50, 50, -10, -10, 10, 10}, {10, 50, 0, 0, 0, 0}},
            false};
}

// An open outline of 4 segments, so 5 vertices.
inline MaskOutline OpenFive() {
    return {{{0, 0, 0, 0, 3, 0}, {8, 4, -3, 0, 3, 0}, {16, 0, -3, 0, 3, 0}, {24, 4, -3, 0, 3, 0}, {32, 0, -3, 0, 0, 0}},
            true};
}

// Largest difference of any vertex component; infinite when the outlines
// differ in vertex count or openness.
inline double MaxDifference(const MaskOutline& a, const MaskOutline& b) {
    if (a.open != b.open || a.vertices.size() != b.vertices.size()) return std::numeric_limits<double>::infinity();
    double largest = 0.0;
    for (std::size_t i = 0; i < a.vertices.size(); ++i) {
        const AEGP_MaskVertex& u = a.vertices[i];
        const AEGP_MaskVertex& v = b.vertices[i];
        for (const double d : {u.x - v.x, u.y - v.y, u.tan_in_x - v.tan_in_x, u.tan_in_y - v.tan_in_y,
                               u.tan_out_x - v.tan_out_x, u.tan_out_y - v.tan_out_y}) {
            largest = std::max(largest, std::abs(d));
        }
    }
    return largest;
}

inline double Number(const EffectInstance& fx, PF_ParamIndex index, Ticks time = 0) {
    return std::get<double>(fx.Control(index, time));
}

inline AEGP_TwoDVal Point(const EffectInstance& fx, PF_ParamIndex index, Ticks time = 0) {
    return std::get<AEGP_TwoDVal>(fx.Control(index, time));
}

inline MaskOutline ShapeAt(const project::Mask& mask, Ticks time) {
    return std::get<MaskOutline>(mask.outline.ValueAt(time));
}

// The frame of the effect at `effect_index` in the first pass of a render.
inline const host::FrameReply& FrameOf(const host::RenderResult& render, std::size_t effect_index) {
    for (const host::EffectFrame& e : render.effects) {
        if (e.pass == 1 && e.effect_index == effect_index) return e.frame;
    }
    throw std::out_of_range("effect " + std::to_string(effect_index) + " did not render");
}

inline constexpr std::string_view kAllPlugins[] = {"Knotwell", "KnotwellMaker", "KnotwellBaker"};

class Scene {
public:
    explicit Scene(Generation generation = Generation::kCurrent,
                   std::span<const std::string_view> plugins = kAllPlugins, Ticks duration = 10)
        : host(generation) {
        // Set up as when the host starts, not on the first application.
        for (const std::string_view name : plugins) host.Load(PluginPath(name, generation)).GlobalSetup();
        layer_ = &project().AddLayer({.name = "Solid", .duration = duration});
    }

    host::Host host;

    host::Project& project() { return host.project(); }
    project::Layer& layer() { return *layer_; }
    project::Mask& mask(std::size_t index) { return layer_->masks.at(index); }

    project::Mask& AddMask(const MaskOutline& outline, bool roto_bezier = false) {
        return project().AddMask(*layer_, outline, roto_bezier);
    }
    EffectInstance& Apply(std::string_view display_name) { return project().ApplyEffect(*layer_, display_name); }
    EffectInstance& Effect(std::size_t index) { return project().Instance(*layer_, index); }
    std::size_t EffectCount() const { return layer_->effects.size(); }

    // The effects of the layer in order, by display name.
    std::vector<std::string> EffectNames() const {
        std::vector<std::string> names;
        for (const project::Effect& e : layer_->effects) names.push_back(e.name);
        return names;
    }
    std::vector<EffectInstance*> Instances(std::string_view display_name) {
        std::vector<EffectInstance*> found;
        for (std::size_t i = 0; i < EffectCount(); ++i) {
            if (layer_->effects[i].name == display_name) found.push_back(&Effect(i));
        }
        return found;
    }
    static bool Active(const EffectInstance& fx) { return (fx.effect().flags & AEGP_EffectFlags_ACTIVE) != 0; }

    // A maker with its controls set as the user would, "Make" left idle.
    EffectInstance& ApplyMaker(double index, bool all, bool baker = true) {
        EffectInstance& maker = Apply(kMaker);
        maker.SetControl(kMakerIndex, index);
        maker.SetControl(kMakerAll, all ? 1 : 0);
        maker.SetControl(kMakerBaker, baker ? 1 : 0);
        return maker;
    }
    EffectInstance& ApplyBaker(double index, bool all) {
        EffectInstance& baker = Apply(kBaker);
        baker.SetControl(kBakerIndex, index);
        baker.SetControl(kBakerAll, all ? 1 : 0);
        return baker;
    }
    // A Knotwell instance driving vertex `vertex` of mask `mask_index` from
    // the controls the test sets afterwards.
    EffectInstance& ApplyDriver(double mask_index, double vertex) {
        EffectInstance& fx = Apply(kKnotwell);
        fx.SetNumber(kKnotwellIndex, mask_index);
        fx.SetNumber(kKnotwellNo, vertex);
        fx.SetNumber(kKnotwellOn, 1);
        return fx;
    }

    host::RenderResult Render(Ticks time = 0) { return project().RenderFrame(*layer_, time); }

    // Everything the user could see of the layer, masks at every frame.
    std::string Dump() { return host::DumpLayerState(project(), *layer_, 0, {.mask_frames = true}); }

    std::string LeakReportAfterShutdown() {
        host.Shutdown();
        return host.LeakReport();
    }

private:
    project::Layer* layer_ = nullptr;
};

}  // namespace knotwell::test
