#include "headless_host/project/dump.h"

#include <charconv>
#include <cstddef>

namespace knotwell::project {
namespace {

// Shortest text that reads back as the same double.
void Append(std::string& out, double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void Append(std::string& out, double x, double y) {
    out += '(';
    Append(out, x);
    out += ", ";
    Append(out, y);
    out += ')';
}

void AppendValue(std::string& out, const StreamValue& value, const std::string& indent) {
    if (const auto* one_d = std::get_if<double>(&value)) {
        Append(out, *one_d);
    } else if (const auto* two_d = std::get_if<AEGP_TwoDVal>(&value)) {
        Append(out, two_d->x, two_d->y);
    } else {
        const auto& outline = std::get<MaskOutline>(value);
        out += outline.open ? "open, " : "closed, ";
        out += std::to_string(outline.vertices.size()) + " vertices";
        for (std::size_t i = 0; i < outline.vertices.size(); ++i) {
            const AEGP_MaskVertex& v = outline.vertices[i];
            out += '\n';
            out += indent;
            out += "vertex " + std::to_string(i) + ": ";
            Append(out, v.x, v.y);
            out += " in ";
            Append(out, v.tan_in_x, v.tan_in_y);
            out += " out ";
            Append(out, v.tan_out_x, v.tan_out_y);
        }
    }
}

}  // namespace

std::string DumpStream(const Stream& stream, Ticks time, const std::string& indent) {
    std::string out;
    if (stream.IsKeyframed()) {
        out += '[';
        out += std::to_string(stream.Keys().size());
        out += " keys] ";
    }
    AppendValue(out, stream.ValueAt(time), indent);
    if (stream.HasExpression()) {
        out += " -> expression ";
        AppendValue(out, stream.ValueAfterExpressionAt(time), indent);
    }
    out += '\n';
    return out;
}

std::string DumpMasks(const Layer& layer, Ticks time, const std::string& indent) {
    std::string out;
    for (std::size_t i = 0; i < layer.masks.size(); ++i) {
        const Mask& mask = layer.masks[i];
        out += indent + "mask " + std::to_string(i) + " \"" + mask.name + "\"";
        out += mask.roto_bezier ? " RotoBezier: " : ": ";
        out += DumpStream(mask.outline, time, indent + "  ");
    }
    return out;
}

std::string DumpLayer(const Layer& layer, Ticks time) {
    std::string out = "layer \"" + layer.name + "\" at " + std::to_string(time) + '\n';
    out += DumpMasks(layer, time, "  ");
    for (std::size_t i = 0; i < layer.effects.size(); ++i) {
        const Effect& effect = layer.effects[i];
        out += "  effect " + std::to_string(i) + " \"" + effect.name + "\"";
        out += (effect.flags & AEGP_EffectFlags_ACTIVE) ? "\n" : " off\n";
        for (std::size_t p = 0; p < effect.params.size(); ++p) {
            out += "    " + std::to_string(p + 1) + " \"" + effect.params[p].name + "\": ";
            out += DumpStream(effect.params[p].stream, time, "      ");
        }
    }
    return out;
}

std::string DumpLayerFrames(const Composition& comp, const Layer& layer) {
    std::string out;
    if (comp.time_step <= 0) {
        return DumpLayer(layer, 0);  // no frame grid to walk
    }
    for (Ticks t = 0; t < layer.duration; t += comp.time_step) {
        out += DumpLayer(layer, t);
    }
    return out;
}

}  // namespace knotwell::project
