#include <algorithm>
#include <cmath>
#include <string>

#include "headless_host/picture/picture.h"
#include "headless_host/picture/svg_text.h"

namespace knotwell::picture {

namespace {

constexpr double kCellWidth = 200;
constexpr double kMaxCellHeight = 320;
constexpr double kGap = 14;
constexpr double kMargin = 20;
constexpr double kFarOut = 1e5;  // cell pixels; beyond it the clip hides everything anyway
constexpr const char* kAccent = "#f76707";
constexpr const char* kPalette[] = {"#1c7ed6", "#2f9e44", "#ae3ec9", "#e03131",
                                    "#0c8599", "#5c940d", "#d6336c", "#495057"};

const char* MaskColour(std::size_t mask) { return kPalette[mask % std::size(kPalette)]; }

bool Finite(const AEGP_MaskVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.tan_in_x) && std::isfinite(v.tan_in_y) &&
           std::isfinite(v.tan_out_x) && std::isfinite(v.tan_out_y);
}

struct Box {
    double left, top, right, bottom;
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
};

// Maps layer pixels into one cell, the same for every cell so that frames
// and panels compare at a glance.
struct View {
    Box layer;  // the layer's bounds
    Box box;    // what a cell shows
    double scale;
    double width, height;  // of a cell

    std::string X(double x) const { return SvgNumber(std::clamp((x - box.left) * scale, -kFarOut, kFarOut)); }
    std::string Y(double y) const { return SvgNumber(std::clamp((y - box.top) * scale, -kFarOut, kFarOut)); }
    std::string Point(double x, double y) const { return X(x) + "," + Y(y); }
};

// The layer with a margin for tangents that reach past it, grown to take
// in the outlines though never far beyond the layer.
View MakeView(const Picture& picture) {
    Box bounds{0, 0, picture.layer_width, picture.layer_height};
    if (!(std::isfinite(bounds.right) && std::isfinite(bounds.bottom) && bounds.right > 0 && bounds.bottom > 0)) {
        bounds = {0, 0, 100, 100};
    }
    const double reach = 0.5 * std::max(bounds.Width(), bounds.Height());
    const Box limit{bounds.left - reach, bounds.top - reach, bounds.right + reach, bounds.bottom + reach};
    Box view = bounds;
    for (const PicturePanel& panel : picture.panels) {
        for (const PictureMask& mask : panel.masks) {
            for (const auto& frame : mask.frames) {
                for (const AEGP_MaskVertex& v : frame) {
                    if (!Finite(v)) continue;
                    view.left = std::max(limit.left, std::min(view.left, v.x));
                    view.top = std::max(limit.top, std::min(view.top, v.y));
                    view.right = std::min(limit.right, std::max(view.right, v.x));
                    view.bottom = std::min(limit.bottom, std::max(view.bottom, v.y));
                }
            }
        }
    }
    const double pad = 0.06 * std::max(view.Width(), view.Height());
    view = {view.left - pad, view.top - pad, view.right + pad, view.bottom + pad};
    const double scale = std::min(kCellWidth / view.Width(), kMaxCellHeight / view.Height());
    return View{bounds, view, scale, kCellWidth, view.Height() * scale};
}

// Evenly spaced frame positions, first and last included.
std::vector<std::size_t> ChooseFrames(std::size_t count) {
    std::vector<std::size_t> chosen;
    const std::size_t shown = std::min(count, kMaxFrameColumns);
    for (std::size_t i = 0; i < shown; ++i) {
        chosen.push_back(shown == 1 ? 0 : static_cast<std::size_t>(std::llround(
                                              static_cast<double>(i) * (count - 1) / (shown - 1))));
    }
    return chosen;
}

std::size_t FrameCount(const Picture& picture) {
    std::size_t count = picture.frame_numbers.size();
    for (const PicturePanel& panel : picture.panels) {
        for (const PictureMask& mask : panel.masks) count = std::max(count, mask.frames.size());
    }
    return count;
}

int FrameNumber(const Picture& picture, std::size_t frame) {
    return frame < picture.frame_numbers.size() ? picture.frame_numbers[frame] : static_cast<int>(frame);
}

std::string FrameLabel(const Picture& picture, std::size_t frame) {
    return "frame " + std::to_string(FrameNumber(picture, frame));
}

// Vertex, out tangent, the next vertex's in tangent, the next vertex;
// a closed outline goes back to its first vertex.
std::string PathData(const View& view, const std::vector<const AEGP_MaskVertex*>& vertices, bool open) {
    std::string d = "M";
    d += view.Point(vertices[0]->x, vertices[0]->y);
    const std::size_t segments = open ? vertices.size() - 1 : vertices.size();
    for (std::size_t i = 0; i < segments; ++i) {
        const AEGP_MaskVertex& a = *vertices[i];
        const AEGP_MaskVertex& b = *vertices[(i + 1) % vertices.size()];
        d += " C" + view.Point(a.x + a.tan_out_x, a.y + a.tan_out_y) + " " +
             view.Point(b.x + b.tan_in_x, b.y + b.tan_in_y) + " " + view.Point(b.x, b.y);
    }
    return open ? d : d + " Z";
}

void DrawHandles(std::string& svg, const View& view, const AEGP_MaskVertex& v) {
    for (const auto& [dx, dy] : {std::pair{v.tan_in_x, v.tan_in_y}, std::pair{v.tan_out_x, v.tan_out_y}}) {
        if (dx == 0 && dy == 0) continue;
        svg += "<line class=\"handle\" x1=\"" + view.X(v.x) + "\" y1=\"" + view.Y(v.y) + "\" x2=\"" + view.X(v.x + dx) +
               "\" y2=\"" + view.Y(v.y + dy) + "\"/>";
        svg += "<circle cx=\"" + view.X(v.x + dx) + "\" cy=\"" + view.Y(v.y + dy) + "\" r=\"2.2\"/>";
    }
}

void DrawMask(std::string& svg, const View& view, const PictureMask& mask, std::size_t index,
              std::size_t frame, const std::string& label) {
    if (frame >= mask.frames.size()) return;
    std::vector<const AEGP_MaskVertex*> vertices;
    std::vector<bool> driven;
    for (std::size_t i = 0; i < mask.frames[frame].size(); ++i) {
        if (!Finite(mask.frames[frame][i])) continue;
        vertices.push_back(&mask.frames[frame][i]);
        driven.push_back(i < mask.driven.size() && mask.driven[i]);
    }
    if (vertices.empty()) return;
    const char* colour = MaskColour(index);
    svg += "<g class=\"mask\" stroke=\"" + std::string(colour) + "\" fill=\"" + colour + "\"><title>" +
           EscapeXml(mask.name) + ", " + label + "</title>";
    if (vertices.size() > 1) {
        svg += "<path class=\"mask-path\" stroke-width=\"1.6\" fill-opacity=\"" +
               std::string(mask.open ? "0" : "0.12") + "\" d=\"" + PathData(view, vertices, mask.open) + "\"/>";
    }
    svg += "<g stroke=\"" + std::string(kAccent) + "\" fill=\"" + kAccent + "\" stroke-width=\"1\">";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        if (driven[i]) DrawHandles(svg, view, *vertices[i]);
    }
    svg += "</g><g stroke=\"none\">";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const std::string centre = "cx=\"" + view.X(vertices[i]->x) + "\" cy=\"" + view.Y(vertices[i]->y) + "\"";
        if (driven[i]) svg += "<circle " + centre + " r=\"4.2\" fill=\"" + kAccent + "\"/>";
        svg += "<circle " + centre + " r=\"2.8\"/>";
    }
    svg += "</g></g>";
}

std::string Text(double x, double y, double size, const char* colour, std::string_view text,
                 const char* extra = "") {
    return "<text x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(y) + "\" font-size=\"" + SvgNumber(size) +
           "\" fill=\"" + colour + "\"" + extra + ">" + EscapeXml(text) + "</text>";
}

void DrawCell(std::string& svg, const Picture& picture, const PicturePanel& panel, const View& view,
              std::size_t frame, double x, double y) {
    const std::string label = FrameLabel(picture, frame);
    svg += "<g class=\"frame\" transform=\"translate(" + SvgNumber(x) + "," + SvgNumber(y) + ")\">";
    svg += "<rect width=\"" + SvgNumber(view.width) + "\" height=\"" + SvgNumber(view.height) +
           "\" fill=\"#fff\" stroke=\"#ced4da\"/>";
    svg += "<g clip-path=\"url(#cell)\">";
    svg += "<rect x=\"" + view.X(view.layer.left) + "\" y=\"" + view.Y(view.layer.top) + "\" width=\"" +
           SvgNumber(view.layer.Width() * view.scale) + "\" height=\"" + SvgNumber(view.layer.Height() * view.scale) +
           "\" fill=\"#f1f3f5\" stroke=\"#adb5bd\" stroke-dasharray=\"4 3\"/>";
    for (std::size_t m = 0; m < panel.masks.size(); ++m) DrawMask(svg, view, panel.masks[m], m, frame, label);
    svg += "</g>" + Text(view.width / 2, view.height + 15, 11, "#495057", label, " text-anchor=\"middle\"") + "</g>";
}

// A rough width of a text line, enough to lay out the legend.
double TextWidth(std::string_view text, double font_size) { return 0.58 * font_size * text.size(); }

std::string Subtitle(const Picture& picture, const View& view, const std::vector<std::size_t>& frames,
                     std::size_t count) {
    std::string text = "Layer " + SvgNumber(view.layer.Width()) + " \u00d7 " + SvgNumber(view.layer.Height());
    if (frames.empty()) return text + " \u00b7 no frames";
    text += " \u00b7 frames " + std::to_string(FrameNumber(picture, 0)) + " to " +
            std::to_string(FrameNumber(picture, count - 1));
    return text + (frames.size() < count ? " \u00b7 " + std::to_string(frames.size()) + " of " +
                                               std::to_string(count) + " frames shown, evenly spaced"
                                         : "");
}

// Mask colours by index, then the two marks; returns the height used.
double DrawLegend(std::string& svg, const Picture& picture, double y, double width) {
    const PicturePanel* widest = nullptr;
    for (const PicturePanel& panel : picture.panels) {
        if (!widest || panel.masks.size() > widest->masks.size()) widest = &panel;
    }
    double x = kMargin;
    double row = y;
    const auto place = [&](double item_width) {
        if (x > kMargin && x + item_width > width - kMargin) {
            x = kMargin;
            row += 18;
        }
        const double at = x;
        x += item_width + 18;
        return at;
    };
    for (std::size_t m = 0; widest && m < widest->masks.size(); ++m) {
        const std::string& name = widest->masks[m].name;
        const double at = place(26 + TextWidth(name, 12));
        svg += "<line x1=\"" + SvgNumber(at) + "\" y1=\"" + SvgNumber(row - 4) + "\" x2=\"" + SvgNumber(at + 18) +
               "\" y2=\"" + SvgNumber(row - 4) + "\" stroke=\"" + MaskColour(m) + "\" stroke-width=\"3\"/>";
        svg += Text(at + 24, row, 12, "#212529", name);
    }
    const double handles = place(26 + TextWidth("driven vertex and its tangent handles", 12));
    svg += "<g stroke=\"" + std::string(kAccent) + "\" fill=\"" + kAccent + "\"><line x1=\"" + SvgNumber(handles) +
           "\" y1=\"" + SvgNumber(row - 4) + "\" x2=\"" + SvgNumber(handles + 18) + "\" y2=\"" +
           SvgNumber(row - 4) + "\"/><circle cx=\"" + SvgNumber(handles) + "\" cy=\"" + SvgNumber(row - 4) +
           "\" r=\"2.2\"/><circle cx=\"" + SvgNumber(handles + 18) + "\" cy=\"" + SvgNumber(row - 4) +
           "\" r=\"2.2\"/><circle cx=\"" + SvgNumber(handles + 9) + "\" cy=\"" + SvgNumber(row - 4) +
           "\" r=\"4.2\"/></g><circle cx=\"" + SvgNumber(handles + 9) + "\" cy=\"" + SvgNumber(row - 4) +
           "\" r=\"2.8\" fill=\"#495057\"/>";
    svg += Text(handles + 24, row, 12, "#212529", "driven vertex and its tangent handles");
    return row - y + 18;
}

}  // namespace

std::string WriteSvg(const Picture& picture) {
    const View view = MakeView(picture);
    const std::size_t count = FrameCount(picture);
    const std::vector<std::size_t> frames = ChooseFrames(count);
    const double columns = static_cast<double>(std::max<std::size_t>(frames.size(), 1));
    const double width = std::max(560.0, 2 * kMargin + columns * view.width + (columns - 1) * kGap);

    std::string body = Text(kMargin, kMargin + 16, 18, "#212529", picture.title, " font-weight=\"bold\"");
    body += Text(kMargin, kMargin + 36, 12, "#868e96", Subtitle(picture, view, frames, count));
    double y = kMargin + 60;
    y += DrawLegend(body, picture, y, width) + 8;
    for (const PicturePanel& panel : picture.panels) {
        body += "<g class=\"panel\">" +
                Text(kMargin, y + 14, 14, "#212529", panel.title, " font-weight=\"bold\"");
        y += 24;
        for (std::size_t column = 0; column < frames.size(); ++column) {
            DrawCell(body, picture, panel, view, frames[column], kMargin + column * (view.width + kGap), y);
        }
        if (frames.empty()) body += Text(kMargin, y + 14, 12, "#868e96", "Nothing to show.");
        body += "</g>";
        y += (frames.empty() ? 20 : view.height + 22) + 16;
    }
    const double height = y + kMargin - 16;

    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + SvgNumber(width) + "\" height=\"" +
           SvgNumber(height) + "\" viewBox=\"0 0 " + SvgNumber(width) + " " + SvgNumber(height) +
           "\" font-family=\"DejaVu Sans, Helvetica, Arial, sans-serif\">\n"
           "<defs><clipPath id=\"cell\"><rect width=\"" + SvgNumber(view.width) + "\" height=\"" +
           SvgNumber(view.height) + "\"/></clipPath></defs>\n"
           "<rect width=\"100%\" height=\"100%\" fill=\"#f8f9fa\"/>\n" + body + "\n</svg>\n";
}

}  // namespace knotwell::picture
