// Knotwell's controls as a fresh instance declares them, in both interface
// generations: the index table the maker and the baker rely on.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>

#include "tests/vertex_editor/knotwell_scene.h"

namespace knotwell {
namespace {

using host::Generation;
using test::KnotwellScene;

constexpr PF_ParamFlags kStatic = 0x22;
constexpr PF_ParamFlags kAnimated = 0x20;

struct Declared {
    const char* name;
    PF_ParamType type;
    PF_ParamFlags flags;
    std::array<double, 4> range;  // valid min and max, slider min and max (sliders only)
    double dephault;              // points: both coordinates
};

const Declared kDeclared[] = {
    {"Index", PF_Param_SLIDER, kStatic, {-1, 10000, -1, 10}, -1},
    {"No", PF_Param_SLIDER, kStatic, {0, 10000, 0, 10}, 0},
    {"Point", PF_Param_POINT, kAnimated, {}, 0},
    {"Coordinate", PF_Param_POPUP, kStatic, {}, 1},
    {"Tan In", PF_Param_POINT, kAnimated, {}, 0},
    {"Tan Out", PF_Param_POINT, kAnimated, {}, 0},
    {"Tan In Radius", PF_Param_FLOAT_SLIDER, kAnimated, {0, 30000, 0, 10}, 0},
    {"Tan In Angle", PF_Param_ANGLE, kAnimated, {}, 0},
    {"Tan Out Radius", PF_Param_FLOAT_SLIDER, kAnimated, {0, 30000, 0, 10}, 0},
    {"Tan Out Angle", PF_Param_ANGLE, kAnimated, {}, 0},
    {"Symmetric", PF_Param_CHECKBOX, kStatic, {}, 0},
    {"", PF_Param_CHECKBOX, kStatic, {}, 0},
};

std::array<double, 4> RangeOf(const PF_ParamDef& def) {
    if (def.param_type == PF_Param_SLIDER) {
        return {static_cast<double>(def.u.sd.valid_min), static_cast<double>(def.u.sd.valid_max),
                static_cast<double>(def.u.sd.slider_min), static_cast<double>(def.u.sd.slider_max)};
    }
    if (def.param_type == PF_Param_FLOAT_SLIDER) {
        return {def.u.fs_d.valid_min, def.u.fs_d.valid_max, def.u.fs_d.slider_min, def.u.fs_d.slider_max};
    }
    return {};
}

class DeclarationsTest : public ::testing::TestWithParam<Generation> {};

TEST_P(DeclarationsTest, TwelveControlsWithTheirNamesRangesDefaultsAndFlags) {
    KnotwellScene scene(GetParam());
    host::EffectInstance& fx = scene.fx();
    ASSERT_EQ(fx.setup_replies().at(0).err, PF_Err_NONE);
    EXPECT_EQ(fx.setup_replies()[0].out.num_params, 13);
    ASSERT_EQ(fx.num_params(), 13);

    for (PF_ParamIndex i = kKnotwellIndex; i < kKnotwellParamCount; ++i) {
        const Declared& want = kDeclared[i - 1];
        SCOPED_TRACE(i);
        const PF_ParamDef& def = fx.Definition(i);
        EXPECT_EQ(std::string(def.name), want.name);
        EXPECT_EQ(def.param_type, want.type);
        EXPECT_EQ(def.flags, want.flags);
        EXPECT_EQ(def.uu.id, i);
        EXPECT_EQ(def.ui_flags, 0);
        EXPECT_EQ(def.ui_width, 0);
        EXPECT_EQ(def.ui_height, 0);
        EXPECT_EQ(RangeOf(def), want.range);
        if (want.type == PF_Param_POINT) {
            const AEGP_TwoDVal point = scene.Point(i);
            EXPECT_EQ(point.x, want.dephault);
            EXPECT_EQ(point.y, want.dephault);
            EXPECT_FALSE(def.u.td.restrict_bounds);
        } else {
            EXPECT_EQ(scene.Number(i), want.dephault);
        }
    }

    const PF_ParamDef& coordinate = fx.Definition(kKnotwellCoordinate);
    EXPECT_EQ(coordinate.u.pd.num_choices, 2);
    EXPECT_STREQ(coordinate.u.pd.u.namesptr, "Cartesian|Polar");
    for (const PF_ParamIndex radius : {kKnotwellTanInRadius, kKnotwellTanOutRadius}) {
        EXPECT_EQ(fx.Definition(radius).u.fs_d.precision, 2);
        EXPECT_FLOAT_EQ(fx.Definition(radius).u.fs_d.curve_tolerance, 0.05f);
    }
    EXPECT_STREQ(fx.Definition(kKnotwellSymmetric).u.bd.u.nameptr, "");
    EXPECT_STREQ(fx.Definition(kKnotwellOn).u.bd.u.nameptr, "ON");
    EXPECT_EQ(scene.Finish(), "");
}

TEST_P(DeclarationsTest, OnlyTheGeometryControlsTakeKeys) {
    KnotwellScene scene(GetParam());
    host::EffectInstance& fx = scene.fx();
    for (PF_ParamIndex i = kKnotwellIndex; i < kKnotwellParamCount; ++i) {
        SCOPED_TRACE(i);
        const bool time_invariant = (kDeclared[i - 1].flags & PF_ParamFlag_CANNOT_TIME_VARY) != 0;
        const project::StreamValue value = fx.Control(i, 0);
        if (time_invariant) {
            EXPECT_THROW(fx.SetKeyframe(i, 5, value), std::invalid_argument);
            EXPECT_FALSE(fx.Stream(i).IsKeyframed());
        } else {
            EXPECT_NO_THROW(fx.SetKeyframe(i, 5, value));
            EXPECT_TRUE(fx.Stream(i).IsKeyframed());
        }
    }
    EXPECT_EQ(scene.Finish(), "");
}

INSTANTIATE_TEST_SUITE_P(Generations, DeclarationsTest,
                         ::testing::Values(Generation::kCurrent, Generation::kLegacy), test::GenerationName);

}  // namespace
}  // namespace knotwell
