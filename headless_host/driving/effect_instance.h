// EffectInstance: one application of an effect on a layer of the project,
// as the host keeps it: the definitions the plug-in declared with
// add_param, their UI state, the sequence data and the input image; and the
// commands the host sends to an instance, a frame's render among them.
//
// The parameter values live on the streams of the instance's effect record
// (project::Effect), in project units: numbers as the user sees them,
// angles in degrees, points in full-resolution layer pixels. ParamAt(index,
// time) is the one read point that turns them into checked-out units.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frame/host/pf_smart_render.h"
#include "headless_host/core/world.h"
#include "headless_host/driving/reply.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/project/composition.h"

namespace knotwell::host {

class EffectType;
class Host;

// The PF_InData values that describe time and resolution.
struct InDataSettings {
    A_long current_time = 0;  // layer time
    A_long time_step = 1;
    A_long total_time = 300;  // the layer's duration
    A_u_long time_scale = 30;
    PF_RationalScale downsample_x{1, 1};
    PF_RationalScale downsample_y{1, 1};
};

// How a parameter is shown: set at add_param, changed by PF_UpdateParamUI
// (name, ui_flags) and by the dynamic stream flags (hidden).
struct ParamUi {
    std::string name;
    PF_ParamUIFlags ui_flags = 0;
    bool hidden = false;
};

class EffectInstance {
public:
    EffectInstance(Host& host, EffectType& type, A_long serial, project::Layer& layer,
                   project::Effect& effect);
    ~EffectInstance();
    EffectInstance(const EffectInstance&) = delete;
    EffectInstance& operator=(const EffectInstance&) = delete;

    EffectType& type() { return type_; }
    PF_ProgPtr effect_ref() { return reinterpret_cast<PF_ProgPtr>(this); }
    project::Layer& layer() { return layer_; }
    project::Effect& effect() { return effect_; }
    const project::Effect& effect() const { return effect_; }
    // From the layer, the composition and the project's current time.
    InDataSettings settings() const;

    // Replies of PARAMS_SETUP and SEQUENCE_SETUP when the instance was made.
    const std::vector<Reply>& setup_replies() const { return setup_replies_; }

    // Parameters, the input layer at index 0.
    A_long num_params() const { return static_cast<A_long>(params_.size()); }
    // The definition with its value after expressions at layer time `time`,
    // in checked-out units: sliders, popups and checkboxes as integers,
    // angles as 16.16 degrees, float sliders as doubles, points as 16.16
    // render-resolution coordinates.
    PF_ParamDef ParamAt(PF_ParamIndex index, A_long time) const;
    const PF_ParamDef& Definition(PF_ParamIndex index) const;
    // The stream of parameter 1 and up; std::out_of_range otherwise.
    project::Stream& Stream(PF_ParamIndex index);
    const project::Stream& Stream(PF_ParamIndex index) const;
    StreamTarget Target(PF_ParamIndex index);
    // The value before expressions at layer time `time`, in project units.
    project::StreamValue Control(PF_ParamIndex index, A_long time) const;

    // Sets the number of a slider, float slider, angle (degrees), checkbox
    // or popup parameter at the current time, without telling the plug-in;
    // std::invalid_argument for a value of another kind.
    void SetNumber(PF_ParamIndex index, double number);
    // As a user does: the value at the current time (a key there on a
    // keyframed stream), then USER_CHANGED_PARAM and UPDATE_PARAMS_UI.
    // Returns the replies of the two commands.
    std::vector<Reply> SetControl(PF_ParamIndex index, double number);
    std::vector<Reply> SetControl(PF_ParamIndex index, double x, double y);
    // A key at layer time `time` (points in full-resolution pixels);
    // std::invalid_argument when the stream refuses it.
    void SetKeyframe(PF_ParamIndex index, A_long time, const project::StreamValue& value);
    void SetExpression(PF_ParamIndex index, project::Expression expression);

    ParamUi& ui(PF_ParamIndex index) { return ui_.at(static_cast<std::size_t>(index)); }
    const ParamUi& ui(PF_ParamIndex index) const { return ui_.at(static_cast<std::size_t>(index)); }

    PF_Handle sequence_data() const { return sequence_data_; }
    void set_sequence_data(PF_Handle handle) { sequence_data_ = handle; }

    // The input layer's image (8 bits, 64 x 64 until replaced) and the
    // output image of the commands (null until the first command after the
    // input was set).
    World& input() { return *input_; }
    void SetInput(A_long width, A_long height, PF_PixelFormat format);
    World* output() { return output_.get(); }
    // The output image, made like the input when there is none yet.
    World& OutputWorld();

    // Commands.
    Reply Send(PF_Cmd cmd, void* extra = nullptr);
    Reply SequenceResetup() { return Send(PF_Cmd_SEQUENCE_RESETUP); }
    Reply UserChangedParam() { return Send(PF_Cmd_USER_CHANGED_PARAM); }
    Reply UpdateParamsUi() { return Send(PF_Cmd_UPDATE_PARAMS_UI); }
    // SMART_PRE_RENDER then, if it succeeded, SMART_RENDER at layer time
    // `time` (which becomes the project's current time); then the plug-in's
    // delete_pre_render_data_func, as the host calls it once the frame is
    // done. This instance only: Project::RenderFrame renders the layer.
    FrameReply Render(A_long time);

    // --- The host side of the plug-in's callbacks. ---
    PF_Err AddParam(PF_ParamIndex index, const PF_ParamDef& def);
    void CheckParamCount(A_long declared_by_plugin);
    PF_Err CheckoutParam(PF_ParamIndex index, A_long time, PF_ParamDef* param);
    PF_Err UpdateParamUi(PF_ParamIndex index, const PF_ParamDef& def);
    PF_State CurrentState() const;
    PF_Err HasChangedSince(const PF_State& state, PF_ParamIndex index, PF_Boolean* changed) const;
    PF_Err CheckoutLayer(PF_ParamIndex index, A_long checkout_id, PF_CheckoutResult* result);
    PF_Err CheckoutLayerPixels(A_long checkout_id, PF_EffectWorld** pixels);
    PF_Err CheckoutOutput(PF_EffectWorld** output);

    // The parameter array of a command: values at the current time (a
    // failing expression gives the value before it and is recorded).
    std::vector<PF_ParamDef> ParamValues() const;
    // Counts a change of the parameter for PF_HasParamChanged.
    void ParamChanged(PF_ParamIndex index);

private:
    // PARAMS_SETUP and SEQUENCE_SETUP, run by the type that makes us.
    void SetUp();
    bool InCommand(PF_Cmd cmd) const;
    std::vector<Reply> UserChange(PF_ParamIndex index, const project::StreamValue& value);

    Host& host_;
    EffectType& type_;
    A_long serial_;
    project::Layer& layer_;
    project::Effect& effect_;
    std::vector<Reply> setup_replies_;
    std::vector<PF_ParamDef> params_;
    std::vector<ParamUi> ui_;
    std::deque<std::string> texts_;  // copies of the plug-in's popup and checkbox texts
    // The parameter state: a change counter and, per parameter, the count
    // of its last change.
    A_long changes_ = 0;
    std::vector<A_long> changed_at_;
    PF_Handle sequence_data_ = nullptr;
    std::unique_ptr<World> input_;
    std::unique_ptr<World> output_;
    std::map<A_long, PF_ParamIndex> layer_checkouts_;

    friend class EffectType;
};

}  // namespace knotwell::host
