#include "headless_host/cli/picture_builder.h"

namespace knotwell::cli {
namespace {

picture::PictureMask EmptyMask(const project::Mask& mask) {
    const project::MaskOutline outline = std::get<project::MaskOutline>(mask.outline.ValueAt(0));
    return {mask.name, outline.open, {}, std::vector<bool>(outline.vertices.size(), false)};
}

// Marks the vertices driven at any of the frames.
void AddDriven(std::vector<bool>& marks, const std::vector<bool>& driven) {
    if (marks.size() < driven.size()) marks.resize(driven.size(), false);
    for (std::size_t v = 0; v < driven.size(); ++v) marks[v] = marks[v] || driven[v];
}

picture::PicturePanel LivePanel(const project::Layer& layer, const std::map<int, std::vector<MaskShot>>& frames) {
    picture::PicturePanel panel{"Live (as rendered)", {}};
    for (std::size_t m = 0; m < layer.masks.size(); ++m) {
        picture::PictureMask mask = EmptyMask(layer.masks[m]);
        for (const auto& [frame, shots] : frames) {
            mask.frames.push_back(shots.at(m).outline.vertices);
            AddDriven(mask.driven, shots.at(m).driven);
        }
        panel.masks.push_back(std::move(mask));
    }
    return panel;
}

// The masks as the project holds them now, at each of the frames.
picture::PicturePanel ProjectPanel(const host::Project& project, const project::Layer& layer,
                                   const std::vector<int>& frames, std::string title) {
    picture::PicturePanel panel{std::move(title), {}};
    for (const project::Mask& mask : layer.masks) panel.masks.push_back(EmptyMask(mask));
    const project::Ticks step = project.composition().time_step;
    for (const int frame : frames) {
        const std::vector<std::vector<bool>> driven = DrivenVertices(project, layer, frame * step);
        for (std::size_t m = 0; m < layer.masks.size(); ++m) {
            panel.masks[m].frames.push_back(
                std::get<project::MaskOutline>(layer.masks[m].outline.ValueAt(frame * step)).vertices);
            AddDriven(panel.masks[m].driven, driven[m]);
        }
    }
    return panel;
}

}  // namespace

picture::Picture BuildPicture(const host::Project& project, const project::Layer& layer,
                              const FrameCaptures& captures, const std::string& title) {
    picture::Picture picture{title, static_cast<double>(layer.width), static_cast<double>(layer.height), {}, {}};
    const std::map<int, std::vector<MaskShot>>& live = captures.Frames(layer);
    if (live.empty()) {
        const project::Ticks step = project.composition().time_step;
        for (int frame = 0; frame * step < layer.duration; ++frame) picture.frame_numbers.push_back(frame);
        picture.panels.push_back(ProjectPanel(project, layer, picture.frame_numbers, "Masks (not rendered)"));
        return picture;
    }
    for (const auto& entry : live) picture.frame_numbers.push_back(entry.first);
    picture.panels.push_back(LivePanel(layer, live));
    if (captures.Baked(layer)) {
        picture.panels.push_back(ProjectPanel(project, layer, picture.frame_numbers, "Baked (mask keyframes)"));
    }
    return picture;
}

}  // namespace knotwell::cli
