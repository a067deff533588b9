// The mask shapes the user saw: after each rendered frame has settled, the
// outline of every mask of the layer at that frame and which vertices the
// active Knotwell instances drive. A bake ends the live shapes of its
// layer: what follows is the baked keyframes' business.
#pragma once

#include <map>
#include <vector>

#include "headless_host/evaluation/project.h"

namespace knotwell::cli {

struct MaskShot {
    project::MaskOutline outline;
    std::vector<bool> driven;  // per vertex
};

class FrameCaptures {
public:
    // The layer's masks at layer frame `frame` as they are now, unless the
    // layer has been baked; a frame rendered again replaces its shapes.
    void Capture(const host::Project& project, const project::Layer& layer, int frame);
    void MarkBaked(const project::Layer& layer) { layers_[&layer].baked = true; }
    bool Baked(const project::Layer& layer) const;
    // Frame by frame, each with the shots of every mask in mask order.
    const std::map<int, std::vector<MaskShot>>& Frames(const project::Layer& layer) const;

private:
    struct LayerCaptures {
        bool baked = false;
        std::map<int, std::vector<MaskShot>> frames;
    };
    std::map<const project::Layer*, LayerCaptures> layers_;
};

// Per mask of the layer, per vertex: whether an active Knotwell instance
// with "ON" set links it at layer time `time`.
std::vector<std::vector<bool>> DrivenVertices(const host::Project& project, const project::Layer& layer,
                                              project::Ticks time);

}  // namespace knotwell::cli
