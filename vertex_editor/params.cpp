#include "vertex_editor/params.h"

#include "frame/effect.h"
#include "frame/param_setup.h"

namespace knotwell::effect {
namespace {

constexpr FloatSliderRange kRadiusRange{0, 30000, 0, 10};
constexpr A_short kRadiusPrecision = 2;

}  // namespace

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
    PF_Err err = AddSlider(in_data, kKnotwellIndex, "Index", kStaticParamFlags,
                           {-1, 10000, -1, 10}, -1);
    if (!err) {
        err = AddSlider(in_data, kKnotwellNo, "No", kStaticParamFlags, {0, 10000, 0, 10}, 0);
    }
    if (!err) {
        err = AddPoint(in_data, kKnotwellPoint, "Point", kAnimatedParamFlags);
    }
    if (!err) {
        err = AddPopup(in_data, kKnotwellCoordinate, "Coordinate", kStaticParamFlags,
                       "Cartesian|Polar", 2, kKnotwellCartesian);
    }
    if (!err) {
        err = AddPoint(in_data, kKnotwellTanIn, "Tan In", kAnimatedParamFlags);
    }
    if (!err) {
        err = AddPoint(in_data, kKnotwellTanOut, "Tan Out", kAnimatedParamFlags);
    }
    if (!err) {
        err = AddFloatSlider(in_data, kKnotwellTanInRadius, "Tan In Radius", kAnimatedParamFlags,
                             kRadiusRange, kRadiusPrecision, 0);
    }
    if (!err) {
        err = AddAngle(in_data, kKnotwellTanInAngle, "Tan In Angle", kAnimatedParamFlags);
    }
    if (!err) {
        err = AddFloatSlider(in_data, kKnotwellTanOutRadius, "Tan Out Radius",
                             kAnimatedParamFlags, kRadiusRange, kRadiusPrecision, 0);
    }
    if (!err) {
        err = AddAngle(in_data, kKnotwellTanOutAngle, "Tan Out Angle", kAnimatedParamFlags);
    }
    if (!err) {
        err = AddCheckbox(in_data, kKnotwellSymmetric, "Symmetric", kStaticParamFlags, "", false);
    }
    if (!err) {
        err = AddCheckbox(in_data, kKnotwellOn, "", kStaticParamFlags, "ON", false);
    }
    if (!err) {
        out_data->num_params = kKnotwellParamCount;
    }
    return err;
}

}  // namespace knotwell::effect
