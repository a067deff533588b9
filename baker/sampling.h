// Sampling one mask into mask-path keyframes: at every frame of the layer,
// the mask's own shape with its driven vertices set as their Knotwell
// instances say at that time.
#pragma once

#include "baker/drivers.h"
#include "frame/action_context.h"

namespace knotwell {

// One keyframe per frame from layer time 0 up to, not including, the
// layer's duration, committed in one batch; a failure leaves the mask's
// keyframes as they were. Needs a positive time_step.
PF_Err SampleMask(const ActionContext& action, AEGP_StreamRefH outline_stream,
                  DriverTable& drivers, bool roto_bezier);

}  // namespace knotwell
