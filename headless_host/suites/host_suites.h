// The function tables this host implements itself. Each function enters
// through the host's CallGuard, under the host interface's own name.
#pragma once

#include "frame/host/aegp_suites.h"
#include "frame/host/pf_suites.h"
#include "frame/host/sp_basic_suite.h"

namespace knotwell::host {

SPBasicSuite& BasicSuite();
const PF_HandleSuite& HandleSuite();
const PF_ANSICallbacks& AnsiCallbacks();
const PF_WorldSuite2& WorldSuite();
const PF_ParamUtilsSuite& ParamUtilsSuite();
const PF_AdvAppSuite2& AdvAppSuite();
const AEGP_UtilitySuite7& UtilitySuite();
// in_data->utils: the image copy, the handle functions and the ANSI table.
PF_UtilCallbacks& UtilCallbacks();

}  // namespace knotwell::host
