// The keys of a varied bake, bit for bit, against a record kept beside this
// file: a change to how the bake reads the host must not move a single bit
// of what it writes. Every component is written as a hexadecimal float, so
// the text is exact.
//
// When the keys differ, the keys of this run are left in
// bake_record.actual.txt in the working folder, ready to compare.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/scene.h"

namespace knotwell::test {
namespace {

constexpr Ticks kFrames = 12;

std::string Hex(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

// One line per vertex of every key of every mask.
std::string KeysText(Scene& s) {
    std::ostringstream text;
    for (std::size_t m = 0; m < s.layer().masks.size(); ++m) {
        for (const auto& [time, key] : s.mask(m).outline.Keys()) {
            const MaskOutline& outline = std::get<MaskOutline>(key);
            for (std::size_t v = 0; v < outline.vertices.size(); ++v) {
                const AEGP_MaskVertex& x = outline.vertices[v];
                text << "mask " << m << " t " << time << " vertex " << v << (outline.open ? " open" : " closed");
                for (const double c : {x.x, x.y, x.tan_in_x, x.tan_in_y, x.tan_out_x, x.tan_out_y}) {
                    text << ' ' << Hex(c);
                }
                text << '\n';
            }
        }
    }
    return text.str();
}

EffectInstance& Polar(Scene& s, double mask, double vertex, double in_radius, double in_angle) {
    EffectInstance& fx = s.ApplyDriver(mask, vertex);
    fx.SetNumber(kKnotwellCoordinate, kKnotwellPolar);
    fx.SetNumber(kKnotwellTanInRadius, in_radius);
    fx.SetNumber(kKnotwellTanInAngle, in_angle);
    return fx;
}

EffectInstance& Cartesian(Scene& s, double mask, double vertex, AEGP_TwoDVal tan_in, AEGP_TwoDVal tan_out) {
    EffectInstance& fx = s.ApplyDriver(mask, vertex);
    fx.SetNumber(kKnotwellCoordinate, kKnotwellCartesian);
    fx.SetControl(kKnotwellTanIn, tan_in.x, tan_in.y);
    fx.SetControl(kKnotwellTanOut, tan_out.x, tan_out.y);
    return fx;
}

// A closed mask, an open one and a RotoBezier one whose own shape moves;
// Cartesian, polar and symmetric instances; keyframed points and angles;
// an expression on a point; two instances on one vertex.
void ArrangeVariedProject(Scene& s) {
    s.AddMask(ClosedFour());
    s.AddMask(OpenFive());
    MaskOutline moved = ClosedFour();
    for (AEGP_MaskVertex& v : moved.vertices) {
        v.x += 3.3;
        v.tan_in_y -= 1.7;
        v.tan_out_x *= 0.9;
    }
    s.project().AddMask(s.layer(), {{0, ClosedFour()}, {kFrames - 1, moved}}, true);

    EffectInstance& a = Cartesian(s, 0, 0, {-4.25, 1.1}, {3.3, -0.7});
    a.SetKeyframe(kKnotwellPoint, 0, AEGP_TwoDVal{10, 10});
    a.SetKeyframe(kKnotwellPoint, kFrames - 1, AEGP_TwoDVal{30.7, -5.3});
    EffectInstance& b = Polar(s, 0, 1, 12.5, 0);
    b.SetControl(kKnotwellPoint, 50.1, 9.9);
    b.SetNumber(kKnotwellTanOutRadius, 7.1);
    b.SetNumber(kKnotwellTanOutAngle, 33.3);
    b.SetKeyframe(kKnotwellTanInAngle, 0, 0.0);
    b.SetKeyframe(kKnotwellTanInAngle, kFrames - 1, 400.0);
    EffectInstance& c = Polar(s, 0, 2, 10, 45.5);
    c.SetNumber(kKnotwellSymmetric, 1);
    c.SetNumber(kKnotwellTanOutRadius, 99);  // ignored: symmetric
    c.SetControl(kKnotwellPoint, 49.5, 51.25);
    Cartesian(s, 0, 3, {1, 2}, {3, 4}).SetControl(kKnotwellPoint, 1, 2);  // loses vertex 3 to the next
    EffectInstance& d = Polar(s, 0, 3, 6.6, 271.3);
    d.SetControl(kKnotwellPoint, 11.1, 48.8);
    d.SetExpression(kKnotwellPoint, [](Ticks time, const project::StreamValue& value) -> project::StreamValue {
        const auto p = std::get<AEGP_TwoDVal>(value);
        return AEGP_TwoDVal{p.x + 0.37 * static_cast<double>(time), p.y + 5 * std::sin(0.6 * static_cast<double>(time))};
    });

    EffectInstance& e = Cartesian(s, 1, 0, {0.1, 0.2}, {-0.3, 0.4});
    e.SetNumber(kKnotwellSymmetric, 1);  // Cartesian: "Tan Out" as it stands
    e.SetControl(kKnotwellPoint, 0.5, -0.5);
    EffectInstance& f = Polar(s, 1, 4, 3.75, 90);
    f.SetKeyframe(kKnotwellPoint, 0, AEGP_TwoDVal{32, 0});
    f.SetKeyframe(kKnotwellPoint, 5, AEGP_TwoDVal{35.5, 2.25});
    f.SetKeyframe(kKnotwellPoint, kFrames - 1, AEGP_TwoDVal{31, -7});
    f.SetKeyframe(kKnotwellTanOutAngle, 0, -30.0);
    f.SetKeyframe(kKnotwellTanOutAngle, kFrames - 1, 150.0);
    f.SetNumber(kKnotwellTanOutRadius, 2.2);

    EffectInstance& g = Polar(s, 2, 1, 8, 120);  // RotoBezier: the tangents stay the mask's
    g.SetKeyframe(kKnotwellPoint, 0, AEGP_TwoDVal{55, 5});
    g.SetKeyframe(kKnotwellPoint, kFrames - 1, AEGP_TwoDVal{45, 15});
    Cartesian(s, 2, 3, {5, 5}, {6, 6}).SetControl(kKnotwellPoint, 12.25, 47.75);
}

std::string Recorded() {
    std::ifstream file(KNOTWELL_BAKE_RECORD);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(BakeRecordTest, TheKeysOfAVariedBakeAreThoseOnRecord) {
    Scene s(Generation::kCurrent, kAllPlugins, kFrames);
    ArrangeVariedProject(s);
    EffectInstance& baker = s.ApplyBaker(0, true);
    baker.SetControl(kBakerBake, kExecute);
    ASSERT_EQ(baker.Render(0).err(), PF_Err_NONE);

    for (std::size_t m = 0; m < 3; ++m) EXPECT_EQ(s.mask(m).outline.Keys().size(), std::size_t{kFrames});
    const std::string keys = KeysText(s);
    if (keys != Recorded()) {
        std::ofstream("bake_record.actual.txt") << keys;
        ADD_FAILURE() << "the keys differ from " << KNOTWELL_BAKE_RECORD
                      << "; this run's keys are in bake_record.actual.txt";
    }
    EXPECT_EQ(s.LeakReportAfterShutdown(), "");
}

}  // namespace
}  // namespace knotwell::test
