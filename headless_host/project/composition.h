// The project the headless host keeps: one composition with its layers,
// each layer with its masks and effect instances. Pure data; the host's
// suites reach it through references to these records.
//
// Layers, masks, effects and parameters live in deques: appending (applying
// an effect while the plug-in holds references to others) keeps every
// reference handed out valid.
#pragma once

#include <deque>
#include <string>

#include "headless_host/project/stream.h"

namespace knotwell::project {

struct Mask {
    std::string name;
    bool roto_bezier = false;
    Stream outline{MaskOutline{}};
};

struct EffectParam {
    std::string name;
    Stream stream;
};

struct Effect {
    std::string name;  // display name of the installed effect
    AEGP_InstalledEffectKey key = AEGP_InstalledEffectKey_NONE;
    AEGP_EffectFlags flags = AEGP_EffectFlags_ACTIVE;
    // Parameter i is params[i - 1]: parameter 0, the input layer, has no
    // stream of its own.
    std::deque<EffectParam> params;
};

struct Layer {
    std::string name;
    A_long width = 0;
    A_long height = 0;
    Ticks start = 0;     // composition time of layer time 0
    Ticks duration = 0;  // in layer time
    std::deque<Mask> masks;
    std::deque<Effect> effects;
};

// Frame rate is time_scale / time_step; every time in the project is in
// time_scale units.
struct Composition {
    std::string name;
    A_long width = 0;
    A_long height = 0;
    A_u_long time_scale = 30;
    A_long time_step = 1;
    Ticks duration = 0;
    PF_RationalScale downsample_x{1, 1};  // render resolution
    PF_RationalScale downsample_y{1, 1};
    std::deque<Layer> layers;
};

inline Ticks LayerTime(const Layer& layer, Ticks comp_time) {
    return comp_time - layer.start;
}

}  // namespace knotwell::project
