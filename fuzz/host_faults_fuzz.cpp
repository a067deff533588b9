// A small project drawn from the bytes, played on the real plug-ins while
// the host fails calls the bytes pick: whatever fails, nothing crashes, no
// sanitizer speaks, and the plug-ins give back everything they obtained.
#include <array>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "baker/params.h"
#include "fuzz/fuzz_bytes.h"
#include "fuzz/fuzz_target.h"
#include "headless_host/driving/effect_instance.h"
#include "headless_host/driving/effect_type.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/host.h"
#include "headless_host/loading/dynamic_library.h"
#include "maker/params.h"
#include "tests/support/fault_oracle.h"
#include "tests/support/plugins.h"
#include "vertex_editor/params.h"

namespace knotwell::fuzz {
namespace {

using host::EffectInstance;

constexpr std::array<std::string_view, 3> kEffects = {"Knotwell", "Knotwell Maker", "Knotwell Baker"};
constexpr std::array<PF_Err, 4> kCodes = {1234, PF_Err_OUT_OF_MEMORY, PF_Err_INTERNAL_STRUCT_DAMAGED,
                                          PF_Err_BAD_CALLBACK_PARAM};
// Calls worth failing at a chosen occurrence, beyond the one numbered call.
constexpr std::array<std::string_view, 8> kNamedCalls = {
    "AcquireSuite",          "host_new_handle",        "host_lock_handle",   "checkout_param",
    "AEGP_GetNewStreamValue", "AEGP_SetStreamValue", "AEGP_ApplyEffect", "AEGP_AddKeyframes"};

host::FaultPlan DrawFaults(FuzzBytes& bytes) {
    host::FaultPlan plan;
    plan.fail_nth = bytes.Int(0, 2000);
    plan.fail_nth_code = kCodes[static_cast<std::size_t>(bytes.Int(0, kCodes.size() - 1))];
    plan.null_nth = bytes.Int(0, 2000);
    if (bytes.Bool()) {
        plan.fail_occurrence.push_back({std::string(kNamedCalls[static_cast<std::size_t>(
                                            bytes.Int(0, kNamedCalls.size() - 1))]),
                                        bytes.Int(1, 20), kCodes[static_cast<std::size_t>(bytes.Int(0, 3))]});
    }
    return plan;
}

project::MaskOutline DrawOutline(FuzzBytes& bytes, long count) {
    project::MaskOutline outline{{}, bytes.Bool()};
    for (long i = 0; i < count; ++i) {
        auto c = [&] { return static_cast<double>(bytes.Int(-64, 128)); };
        outline.vertices.push_back({c(), c(), c() / 4, c() / 4, c() / 4, c() / 4});
    }
    return outline;
}

void DrawMasks(FuzzBytes& bytes, host::Project& project, project::Layer& layer) {
    for (long m = bytes.Int(0, 3); m > 0; --m) {
        const long count = bytes.Int(0, 6);
        const bool roto_bezier = bytes.Bool();
        if (bytes.Bool()) {
            project.AddMask(layer, DrawOutline(bytes, count), roto_bezier);
        } else {
            project.AddMask(layer, {{0, DrawOutline(bytes, count)}, {layer.duration - 1, DrawOutline(bytes, count)}},
                            roto_bezier);
        }
    }
}

// A user's change of one control of one instance, with a value the
// control may well refuse.
void ChangeControl(FuzzBytes& bytes, EffectInstance& instance) {
    if (instance.num_params() < 2) return;
    const auto index = static_cast<PF_ParamIndex>(bytes.Int(1, instance.num_params() - 1));
    const double x = static_cast<double>(bytes.Int(-3, 12));
    if (instance.Definition(index).param_type == PF_Param_POINT) {
        instance.SetControl(index, x * 8, static_cast<double>(bytes.Int(-3, 12)) * 8);
    } else {
        instance.SetControl(index, x);
    }
}

// "Execute" on a maker's or baker's one-shot popup, the link box toggled
// on a Knotwell instance.
void Act(EffectInstance& instance) {
    const std::string& name = instance.type().display_name();
    if (name == kEffects[1]) {
        instance.SetControl(kMakerMake, 2);
    } else if (name == kEffects[2]) {
        instance.SetControl(kBakerBake, 2);
    } else {
        instance.SetControl(kKnotwellOn, 1);
    }
}

void Play(FuzzBytes& bytes, host::Host& host, project::Layer& layer) {
    host::Project& project = host.project();
    for (long step = bytes.Int(0, 10); step > 0; --step) {
        const long kind = bytes.Int(0, 3);
        // Refusals of the user's actions (a value of the wrong kind, a
        // failed setup) are the host's answer, not a fault.
        try {
            if (kind == 0) {
                project.ApplyEffect(layer, kEffects[static_cast<std::size_t>(bytes.Int(0, kEffects.size() - 1))]);
                continue;
            }
            if (kind == 3 || layer.effects.empty()) {
                project.RenderFrame(layer, static_cast<project::Ticks>(bytes.Int(0, layer.duration - 1)));
                continue;
            }
            EffectInstance* instance = project.InstanceOf(
                layer.effects[static_cast<std::size_t>(bytes.Int(0, static_cast<long>(layer.effects.size()) - 1))]);
            if (!instance) continue;
            if (kind == 1) {
                ChangeControl(bytes, *instance);
            } else {
                Act(*instance);
            }
        } catch (const std::exception&) {
        }
    }
}

// libFuzzer keeps the coverage counters of every library it has seen, so
// the plug-ins stay loaded for the whole process, although each host
// unloads them when it shuts down.
void KeepPluginsLoaded() {
    static const auto kept = [] {
        std::vector<std::unique_ptr<host::DynamicLibrary>> libraries;
        for (const host::Generation generation : {host::Generation::kCurrent, host::Generation::kLegacy}) {
            for (const std::string_view name : test::kPluginNames) {
                std::string error;
                libraries.push_back(host::DynamicLibrary::Open(test::PluginPath(name, generation), &error));
                if (!libraries.back()) {
                    std::cerr << error << "\n";
                    std::abort();
                }
            }
        }
        return libraries;
    }();
}

}  // namespace
}  // namespace knotwell::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace knotwell;
    fuzz::KeepPluginsLoaded();
    fuzz::FuzzBytes bytes({data, size});
    const host::Generation generation = bytes.Bool() ? host::Generation::kLegacy : host::Generation::kCurrent;
    host::Host host(generation);
    host.faults() = fuzz::DrawFaults(bytes);
    for (const std::string_view name : test::kPluginNames) host.Load(test::PluginPath(name, generation)).GlobalSetup();
    project::Layer& layer = host.project().AddLayer({.name = "Solid", .duration = static_cast<project::Ticks>(bytes.Int(1, 6))});
    fuzz::DrawMasks(bytes, host.project(), layer);
    fuzz::Play(bytes, host, layer);
    host.Shutdown();
    if (const std::string leaks = test::UnexcusedLeaks(host); !leaks.empty()) {
        std::cerr << "the plug-ins left this behind:\n" << leaks;
        for (const std::string& line : host.calls().injected()) std::cerr << "  injected: " << line << "\n";
        std::abort();
    }
    return 0;
}
