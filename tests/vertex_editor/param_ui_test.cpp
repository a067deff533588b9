// Knotwell's parameter handler through the headless host, in both interface
// generations: which tangent controls are greyed out or hidden for each
// form and mask, on both commands that reach it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vertex_editor/knotwell_scene.h"

namespace knotwell {
namespace {

using host::Generation;
using test::KnotwellScene;
using test::Outline;

// Parameters 4 to 11 in index order ("Coordinate", "Tan In", "Tan Out",
// "Tan In Radius", "Tan In Angle", "Tan Out Radius", "Tan Out Angle",
// "Symmetric"), each '.' shown, 'G' greyed out or 'H' greyed out and hidden.
std::string Appearance(const host::EffectInstance& fx) {
    std::string shown;
    for (PF_ParamIndex i = kKnotwellCoordinate; i <= kKnotwellSymmetric; ++i) {
        const host::ParamUi& ui = fx.ui(i);
        const bool greyed = (ui.ui_flags & PF_PUI_DISABLED) != 0;
        shown += ui.hidden ? (greyed ? 'H' : '?') : (greyed ? 'G' : '.');
    }
    return shown;
}

struct UiCase {
    const char* what;
    double index;
    double coordinate;
    double symmetric;
    const char* shown;
};

// Run in order on one instance, so each row also undoes the one before.
// Mask 0 is an ordinary mask, mask 1 a RotoBezier mask.
const UiCase kUiCases[] = {
    {"fresh: Cartesian, no mask", -1, kKnotwellCartesian, 0, "...GGGGG"},
    {"polar", -1, kKnotwellPolar, 0, ".GG....."},
    {"polar with Symmetric on", -1, kKnotwellPolar, 1, ".GG..GG."},
    {"Cartesian with Symmetric on greys Symmetric too", 0, kKnotwellCartesian, 1, "...GGGGG"},
    {"RotoBezier mask", 1, kKnotwellPolar, 0, "HHHHHHHH"},
    {"an ordinary mask shows them again", 0, kKnotwellPolar, 0, ".GG....."},
    {"Index past the last mask: the last decides", 7, kKnotwellCartesian, 0, "HHHHHHHH"},
    {"no mask addressed again", -1, kKnotwellCartesian, 0, "...GGGGG"},
};

class ParamUiTest : public ::testing::TestWithParam<Generation> {};

TEST_P(ParamUiTest, GreysOutAndHidesByFormAndMaskWithoutChangingAValue) {
    KnotwellScene scene(GetParam());
    scene.AddMask(Outline(3));
    scene.AddMask(Outline(3), true);
    host::EffectInstance& fx = scene.fx();
    for (const UiCase& c : kUiCases) {
        SCOPED_TRACE(c.what);
        scene.Set(kKnotwellIndex, c.index);
        scene.Set(kKnotwellCoordinate, c.coordinate);
        scene.Set(kKnotwellSymmetric, c.symmetric);
        std::vector<project::StreamValue> before;
        for (PF_ParamIndex i = kKnotwellIndex; i < kKnotwellParamCount; ++i) before.push_back(fx.Control(i, 0));

        for (const auto command : {&host::EffectInstance::UserChangedParam, &host::EffectInstance::UpdateParamsUi}) {
            const host::Reply reply = (fx.*command)();
            EXPECT_EQ(reply.err, PF_Err_NONE);
            EXPECT_EQ(reply.out.out_flags, PF_OutFlag_REFRESH_UI);
            EXPECT_EQ(Appearance(fx), c.shown);
        }
        for (PF_ParamIndex i = kKnotwellIndex; i < kKnotwellParamCount; ++i) {
            EXPECT_TRUE(project::SameValue(fx.Control(i, 0), before[static_cast<std::size_t>(i - 1)])) << i;
            EXPECT_EQ(fx.ui(i).name, fx.Definition(i).name) << i;
        }
        for (const PF_ParamIndex always_shown : {kKnotwellIndex, kKnotwellNo, kKnotwellPoint, kKnotwellOn}) {
            EXPECT_EQ(fx.ui(always_shown).ui_flags, 0) << always_shown;
            EXPECT_FALSE(fx.ui(always_shown).hidden) << always_shown;
        }
    }
    EXPECT_EQ(scene.Finish(), "");
}

INSTANTIATE_TEST_SUITE_P(Generations, ParamUiTest,
                         ::testing::Values(Generation::kCurrent, Generation::kLegacy), test::GenerationName);

}  // namespace
}  // namespace knotwell
