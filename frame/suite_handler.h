// SuiteHandler: the per-command suite cache. A handler makes one on the
// stack and asks it for suites as it needs them; each suite is acquired at
// its first use and everything acquired is given back, under the name and
// version it was acquired with, when the cache goes out of scope. A suite
// that cannot be had throws PF_Err_BAD_CALLBACK_PARAM, which EntryPointFunc
// turns into the command's result.
#pragma once

#include <array>

#include "frame/host/sp_basic_suite.h"
#include "frame/interface_generation.h"

namespace knotwell {

class SuiteHandler {
public:
    explicit SuiteHandler(SPBasicSuite* basic);  // throws 516 when basic is null
    ~SuiteHandler();
    SuiteHandler(const SuiteHandler&) = delete;
    SuiteHandler& operator=(const SuiteHandler&) = delete;

    const AEGP_StreamSuite* StreamSuite();
    const AEGP_DynamicStreamSuite* DynamicStreamSuite();
    const AEGP_KeyframeSuite* KeyframeSuite();
    const AEGP_PFInterfaceSuite1* PFInterfaceSuite();
    const PF_ParamUtilsSuite* ParamUtilsSuite();
    const PF_AdvAppSuite2* AdvAppSuite();
    const AEGP_EffectSuite* EffectSuite2();
    const AEGP_EffectSuite* EffectSuite3();
    const AEGP_LayerMaskSuite5* LayerMaskSuite();
    const AEGP_MaskOutlineSuite3* MaskOutlineSuite();
    const AEGP_UtilitySuite7* UtilitySuite();
    const PF_ANSISuite1* ANSISuite();
    const PF_HandleSuite* HandleSuite();

private:
    const void* Acquire(std::size_t slot);

    SPBasicSuite* basic_;
    std::array<const void*, 13> slots_{};
};

}  // namespace knotwell
