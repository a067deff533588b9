#include "headless_host/driving/effect_instance.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>

#include "headless_host/driving/callbacks.h"
#include "headless_host/driving/effect_type.h"
#include "headless_host/evaluation/expression_guard.h"
#include "headless_host/host.h"

namespace knotwell::host {

namespace {

constexpr A_long kDefaultSize = 64;
// PF_State as this host fills it: a tag, the instance, the change count
// and a check word, so that a foreign or damaged record is recognised.
constexpr A_long kStateTag = 0x4B575354;  // "KWST"
constexpr A_long kStateCheck = 0x5A5A5A5A;

A_short BitDepthOf(PF_PixelFormat format) {
    switch (format) {
        case PF_PixelFormat_ARGB64: return 16;
        case PF_PixelFormat_ARGB128: return 32;
        default: return 8;
    }
}

double Ratio(const PF_RationalScale& scale) {
    return scale.den == 0 ? 1.0 : static_cast<double>(scale.num) / static_cast<double>(scale.den);
}

// A checked-out number: a value beyond the 32-bit range is held at its
// edge rather than wrapped around to another place.
A_long Whole(double number) {
    constexpr double kLow = std::numeric_limits<A_long>::min();
    constexpr double kHigh = std::numeric_limits<A_long>::max();
    return static_cast<A_long>(std::lround(std::clamp(number, kLow, kHigh)));
}
PF_Fixed Fixed(double number) { return Whole(number * PF_Fixed_ONE); }

// The value a definition declares at setup, in project units; none for a
// type this host keeps no stream for.
std::optional<project::StreamValue> DeclaredValue(const PF_ParamDef& def) {
    switch (def.param_type) {
        case PF_Param_SLIDER: return static_cast<double>(def.u.sd.value);
        case PF_Param_FLOAT_SLIDER: return def.u.fs_d.value;
        case PF_Param_ANGLE: return static_cast<double>(def.u.ad.value) / PF_Fixed_ONE;
        case PF_Param_CHECKBOX: return static_cast<double>(def.u.bd.value);
        case PF_Param_POPUP: return static_cast<double>(def.u.pd.value);
        case PF_Param_POINT:
            return AEGP_TwoDVal{static_cast<double>(def.u.td.x_value) / PF_Fixed_ONE,
                                static_cast<double>(def.u.td.y_value) / PF_Fixed_ONE};
        default: return std::nullopt;
    }
}

// Writes a project value into a definition in checked-out units.
void StoreValue(const project::StreamValue& value, const InDataSettings& settings, PF_ParamDef& def) {
    // Streams hold none, but an expression may compute one: refused as a
    // broken expression is.
    if (!project::IsFinite(value)) throw std::domain_error("the value is not a finite number");
    if (const auto* point = std::get_if<AEGP_TwoDVal>(&value)) {
        def.u.td.x_value = Fixed(point->x * Ratio(settings.downsample_x));
        def.u.td.y_value = Fixed(point->y * Ratio(settings.downsample_y));
        return;
    }
    const double number = std::get<double>(value);
    switch (def.param_type) {
        case PF_Param_SLIDER: def.u.sd.value = Whole(number); break;
        case PF_Param_FLOAT_SLIDER: def.u.fs_d.value = number; break;
        case PF_Param_ANGLE: def.u.ad.value = Fixed(number); break;
        case PF_Param_CHECKBOX: def.u.bd.value = Whole(number) != 0; break;
        case PF_Param_POPUP: def.u.pd.value = Whole(number); break;
        default: break;
    }
}

}  // namespace

EffectInstance::EffectInstance(Host& host, EffectType& type, A_long serial, project::Layer& layer,
                               project::Effect& effect)
    : host_(host), type_(type), serial_(serial), layer_(layer), effect_(effect) {
    SetInput(layer.width > 0 ? layer.width : kDefaultSize, layer.height > 0 ? layer.height : kDefaultSize,
             PF_PixelFormat_ARGB32);
    PF_ParamDef input{};
    input.param_type = PF_Param_LAYER;
    params_.push_back(input);
    ui_.push_back({});
    changed_at_.push_back(0);
    host_.AddInstance(*this);
    host_.project().Attach(effect_, *this);
}

EffectInstance::~EffectInstance() {
    host_.project().Detach(effect_);
    host_.RemoveInstance(*this);
}

InDataSettings EffectInstance::settings() const {
    const Project& project = host_.project();
    const project::Composition& comp = project.composition();
    return {project.LayerTimeNow(layer_), comp.time_step, layer_.duration, comp.time_scale,
            comp.downsample_x, comp.downsample_y};
}

const PF_ParamDef& EffectInstance::Definition(PF_ParamIndex index) const {
    return params_.at(static_cast<std::size_t>(index));
}

PF_ParamDef EffectInstance::ParamAt(PF_ParamIndex index, A_long time) const {
    PF_ParamDef def = Definition(index);
    if (index == 0) {
        def.u.ld = input_->effect_world();
    } else {
        const project::Stream& stream = effect_.params.at(static_cast<std::size_t>(index - 1)).stream;
        StoreValue(stream.ValueAfterExpressionAt(time), settings(), def);
    }
    return def;
}

project::Stream& EffectInstance::Stream(PF_ParamIndex index) {
    return const_cast<project::Stream&>(std::as_const(*this).Stream(index));
}

const project::Stream& EffectInstance::Stream(PF_ParamIndex index) const {
    if (index < 1 || index >= num_params()) {
        throw std::out_of_range(type_.display_name() + " has no parameter " + std::to_string(index));
    }
    return effect_.params[static_cast<std::size_t>(index - 1)].stream;
}

StreamTarget EffectInstance::Target(PF_ParamIndex index) {
    return {&layer_, &Stream(index), this, index};
}

project::StreamValue EffectInstance::Control(PF_ParamIndex index, A_long time) const {
    return Stream(index).ValueAt(time);
}

void EffectInstance::SetNumber(PF_ParamIndex index, double number) {
    Project& project = host_.project();
    if (project.SetValue(Target(index), project.LayerTimeNow(layer_), number) != project::StreamStatus::kOk) {
        throw std::invalid_argument("parameter " + std::to_string(index) + " holds no single number");
    }
}

std::vector<Reply> EffectInstance::UserChange(PF_ParamIndex index, const project::StreamValue& value) {
    Project& project = host_.project();
    if (project.SetValue(Target(index), project.LayerTimeNow(layer_), value) != project::StreamStatus::kOk) {
        throw std::invalid_argument("parameter " + std::to_string(index) + " refuses the value");
    }
    return {UserChangedParam(), UpdateParamsUi()};
}

std::vector<Reply> EffectInstance::SetControl(PF_ParamIndex index, double number) {
    return UserChange(index, number);
}

std::vector<Reply> EffectInstance::SetControl(PF_ParamIndex index, double x, double y) {
    return UserChange(index, AEGP_TwoDVal{x, y});
}

void EffectInstance::SetKeyframe(PF_ParamIndex index, A_long time, const project::StreamValue& value) {
    if (host_.project().SetKey(Target(index), time, value) != project::StreamStatus::kOk) {
        throw std::invalid_argument("parameter " + std::to_string(index) + " refuses a key");
    }
}

void EffectInstance::SetExpression(PF_ParamIndex index, project::Expression expression) {
    Stream(index).SetExpression(std::move(expression));
    ParamChanged(index);
    host_.project().NoteChange();
}

void EffectInstance::ParamChanged(PF_ParamIndex index) {
    changed_at_.at(static_cast<std::size_t>(index)) = ++changes_;
}

void EffectInstance::SetInput(A_long width, A_long height, PF_PixelFormat format) {
    input_ = std::make_unique<World>(width, height, format);
    output_.reset();
}

std::vector<PF_ParamDef> EffectInstance::ParamValues() const {
    const A_long now = settings().current_time;
    std::vector<PF_ParamDef> values;
    for (A_long index = 0; index < num_params(); ++index) {
        try {
            values.push_back(ParamAt(index, now));
        } catch (const std::exception& failed) {
            // As After Effects does with a broken expression: the value
            // before it, and the error kept for the user.
            host_.RecordExpressionError(failed.what());
            PF_ParamDef def = Definition(index);
            StoreValue(Control(index, now), settings(), def);
            values.push_back(def);
        }
    }
    return values;
}

Reply EffectInstance::Send(PF_Cmd cmd, void* extra) { return type_.Send(cmd, extra, this); }

void EffectInstance::SetUp() {
    setup_replies_.push_back(Send(PF_Cmd_PARAMS_SETUP));
    setup_replies_.push_back(Send(PF_Cmd_SEQUENCE_SETUP));
}

World& EffectInstance::OutputWorld() {
    const PF_EffectWorld& in = input_->effect_world();
    if (!output_) output_ = std::make_unique<World>(in.width, in.height, input_->format());
    return *output_;
}

FrameReply EffectInstance::Render(A_long time) {
    host_.project().SetCurrentTime(layer_.start + time);
    layer_checkouts_.clear();
    const PF_EffectWorld& in = input_->effect_world();

    FrameReply frame;
    PF_PreRenderInput pre_input{};
    pre_input.output_request.rect = {0, 0, in.width, in.height};
    pre_input.output_request.channel_mask = 0xF;
    pre_input.bitdepth = BitDepthOf(input_->format());
    PF_PreRenderExtra pre_extra{&pre_input, &frame.pre_render_output, &PreRenderCallbacks()};
    frame.pre_render = Send(PF_Cmd_SMART_PRE_RENDER, &pre_extra);

    if (frame.pre_render.err == PF_Err_NONE) {
        PF_SmartRenderInput input{pre_input.output_request, pre_input.bitdepth,
                                  frame.pre_render_output.pre_render_data};
        PF_SmartRenderExtra extra{&input, &SmartRenderCallbacks()};
        frame.render = Send(PF_Cmd_SMART_RENDER, &extra);
        frame.rendered = true;
    }
    if (frame.pre_render_output.delete_pre_render_data_func) {
        frame.pre_render_output.delete_pre_render_data_func(frame.pre_render_output.pre_render_data);
    }
    return frame;
}

bool EffectInstance::InCommand(PF_Cmd cmd) const {
    const Command* command = host_.CurrentCommand();
    return command && command->instance == this && command->cmd == cmd;
}

PF_Err EffectInstance::AddParam(PF_ParamIndex index, const PF_ParamDef& def) {
    if (!InCommand(PF_Cmd_PARAMS_SETUP)) return PF_Err_INVALID_CALLBACK;
    if ((index != -1 && index != num_params()) || num_params() >= PF_MAX_EFFECT_PARAMS) {
        return PF_Err_INVALID_INDEX;
    }
    const std::optional<project::StreamValue> value = DeclaredValue(def);
    if (!value) return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    PF_ParamDef copy = def;
    // The texts may live on the plug-in's stack: keep our own copies.
    if (copy.param_type == PF_Param_POPUP && copy.u.pd.u.namesptr) {
        copy.u.pd.u.namesptr = texts_.emplace_back(copy.u.pd.u.namesptr).c_str();
    } else if (copy.param_type == PF_Param_CHECKBOX && copy.u.bd.u.nameptr) {
        copy.u.bd.u.nameptr = texts_.emplace_back(copy.u.bd.u.nameptr).c_str();
    }
    params_.push_back(copy);
    const std::string name(def.name, strnlen(def.name, sizeof def.name));
    ui_.push_back({name, def.ui_flags, false});
    changed_at_.push_back(0);
    const bool can_vary = (def.flags & PF_ParamFlag_CANNOT_TIME_VARY) == 0;
    effect_.params.push_back({name, project::Stream(*value, can_vary)});
    return PF_Err_NONE;
}

void EffectInstance::CheckParamCount(A_long declared_by_plugin) {
    if (declared_by_plugin != num_params()) {
        host_.ledger().RecordFault("PARAMS_SETUP: num_params " + std::to_string(declared_by_plugin) +
                                   " but " + std::to_string(num_params()) +
                                   " parameters added (with the input layer)");
    }
}

PF_Err EffectInstance::CheckoutParam(PF_ParamIndex index, A_long time, PF_ParamDef* param) {
    if (!param) return PF_Err_BAD_CALLBACK_PARAM;
    if (index < 0 || index >= num_params()) return PF_Err_INVALID_INDEX;
    return GuardExpression(host_, [&] { *param = ParamAt(index, time); });
}

PF_Err EffectInstance::UpdateParamUi(PF_ParamIndex index, const PF_ParamDef& def) {
    if (index < 0 || index >= num_params()) return PF_Err_INVALID_INDEX;
    if (def.param_type != params_[static_cast<std::size_t>(index)].param_type) {
        host_.ledger().RecordFault("PF_UpdateParamUI: parameter " + std::to_string(index) +
                                   " given with type " + std::to_string(def.param_type) +
                                   ", declared " +
                                   std::to_string(params_[static_cast<std::size_t>(index)].param_type));
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    ParamUi& shown = ui(index);
    shown.name.assign(def.name, strnlen(def.name, sizeof def.name));
    shown.ui_flags = def.ui_flags;
    return PF_Err_NONE;
}

PF_State EffectInstance::CurrentState() const {
    return PF_State{{kStateTag, serial_, changes_, kStateTag ^ serial_ ^ changes_ ^ kStateCheck}};
}

PF_Err EffectInstance::HasChangedSince(const PF_State& state, PF_ParamIndex index,
                                       PF_Boolean* changed) const {
    const A_long* word = state.reserved;
    if (!changed) return PF_Err_BAD_CALLBACK_PARAM;
    // A cleared record stands for "no state taken yet": everything changed.
    if (word[0] == 0 && word[1] == 0 && word[2] == 0 && word[3] == 0) {
        *changed = true;
        return PF_Err_NONE;
    }
    if (word[0] != kStateTag || word[1] != serial_ || word[2] > changes_ ||
        word[3] != (word[0] ^ word[1] ^ word[2] ^ kStateCheck)) {
        host_.ledger().RecordFault("PF_HasParamChanged: the PF_State was not made by "
                                   "PF_GetCurrentState for this instance");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    if (index == PF_ParamIndex_CHECK_ALL) {
        *changed = word[2] != changes_;
    } else if (index >= 0 && index < num_params()) {
        *changed = changed_at_[static_cast<std::size_t>(index)] > word[2];
    } else {
        return PF_Err_INVALID_INDEX;
    }
    return PF_Err_NONE;
}

PF_Err EffectInstance::CheckoutLayer(PF_ParamIndex index, A_long checkout_id,
                                     PF_CheckoutResult* result) {
    if (!InCommand(PF_Cmd_SMART_PRE_RENDER) || !result) return PF_Err_BAD_CALLBACK_PARAM;
    // Only the input layer: the effects have no layer parameters of their own.
    if (index != 0) return PF_Err_INVALID_INDEX;
    layer_checkouts_[checkout_id] = index;
    const PF_EffectWorld& in = input_->effect_world();
    *result = {};
    result->result_rect = {0, 0, in.width, in.height};
    result->max_result_rect = result->result_rect;
    result->par = {1, 1};
    result->ref_width = in.width;
    result->ref_height = in.height;
    return PF_Err_NONE;
}

PF_Err EffectInstance::CheckoutLayerPixels(A_long checkout_id, PF_EffectWorld** pixels) {
    if (!InCommand(PF_Cmd_SMART_RENDER) || !pixels || !layer_checkouts_.contains(checkout_id)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *pixels = input_->get();
    return PF_Err_NONE;
}

PF_Err EffectInstance::CheckoutOutput(PF_EffectWorld** output) {
    if (!InCommand(PF_Cmd_SMART_RENDER) || !output) return PF_Err_BAD_CALLBACK_PARAM;
    *output = OutputWorld().get();
    return PF_Err_NONE;
}

}  // namespace knotwell::host
