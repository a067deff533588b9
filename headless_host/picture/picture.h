// A picture of a layer's masks over time, as the command-line tool shows
// what the plug-ins did: panels of the same frames one above the other,
// for instance the live shapes above the baked ones.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frame/host/aegp_suites.h"

namespace knotwell::picture {

struct PictureMask {
    std::string name;
    bool open = false;
    // The outline at each of the picture's frames, in layer pixels; a
    // missing frame or an empty outline draws nothing.
    std::vector<std::vector<AEGP_MaskVertex>> frames;
    // Per vertex: whether an instance drives it, which marks its tangent
    // handles.
    std::vector<bool> driven;
};

struct PicturePanel {
    std::string title;  // e.g. "Live (instances driving)", "Baked (keyframes)"
    std::vector<PictureMask> masks;  // the same mask at the same index in every panel
};

struct Picture {
    std::string title;
    double layer_width = 0;
    double layer_height = 0;
    std::vector<int> frame_numbers;  // the frames every mask's outlines stand for
    std::vector<PicturePanel> panels;
};

// A self-contained SVG document: a filmstrip of at most kMaxFrameColumns
// frames, evenly spaced, per panel, with a legend of the masks.
inline constexpr std::size_t kMaxFrameColumns = 10;
std::string WriteSvg(const Picture& picture);

}  // namespace knotwell::picture
