#include "frame/suite_handler.h"

#include "frame/host/pf_suites.h"

namespace knotwell {
namespace {

struct SuiteEntry {
    const char* name;
    A_long version;
};

// The suites the plug-ins reach through the cache, in the order they are
// given back. Slot i of a SuiteHandler holds the table of entry i.
constexpr std::array<SuiteEntry, 13> kCatalogue{{
    {kAEGPStreamSuite, kStreamSuiteVersion},
    {kAEGPDynamicStreamSuite, kDynamicStreamSuiteVersion},
    {kAEGPKeyframeSuite, kKeyframeSuiteVersion},
    {kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1},
    {kPFParamUtilsSuite, kParamUtilsSuiteVersion},
    {kPFAdvAppSuite, kPFAdvAppSuiteVersion2},
    {kAEGPEffectSuite, kAEGPEffectSuiteVersion2},
    {kAEGPEffectSuite, kAEGPEffectSuiteVersion3},
    {kAEGPLayerMaskSuite, kAEGPLayerMaskSuiteVersion5},
    {kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion3},
    {kAEGPUtilitySuite, kAEGPUtilitySuiteVersion7},
    {kPFANSISuite, kPFANSISuiteVersion1},
    {kPFHandleSuite, kHandleSuiteVersion},
}};

enum Slot : std::size_t {
    kStream,
    kDynamicStream,
    kKeyframe,
    kPFInterface,
    kParamUtils,
    kAdvApp,
    kEffect2,
    kEffect3,
    kLayerMask,
    kMaskOutline,
    kUtility,
    kANSI,
    kHandle,
};

}  // namespace

SuiteHandler::SuiteHandler(SPBasicSuite* basic) : basic_(basic) {
    if (!basic_) throw static_cast<PF_Err>(PF_Err_BAD_CALLBACK_PARAM);
}

SuiteHandler::~SuiteHandler() {
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        if (slots_[i]) basic_->ReleaseSuite(kCatalogue[i].name, kCatalogue[i].version);
    }
}

const void* SuiteHandler::Acquire(std::size_t slot) {
    if (slots_[slot]) return slots_[slot];
    const void* table = nullptr;
    const SPErr err = basic_->AcquireSuite(kCatalogue[slot].name, kCatalogue[slot].version, &table);
    if (err != kSPNoError || !table) throw static_cast<PF_Err>(PF_Err_BAD_CALLBACK_PARAM);
    slots_[slot] = table;
    return table;
}

// clang-format off
const AEGP_StreamSuite* SuiteHandler::StreamSuite() { return static_cast<const AEGP_StreamSuite*>(Acquire(kStream)); }
const AEGP_DynamicStreamSuite* SuiteHandler::DynamicStreamSuite() { return static_cast<const AEGP_DynamicStreamSuite*>(Acquire(kDynamicStream)); }
const AEGP_KeyframeSuite* SuiteHandler::KeyframeSuite() { return static_cast<const AEGP_KeyframeSuite*>(Acquire(kKeyframe)); }
const AEGP_PFInterfaceSuite1* SuiteHandler::PFInterfaceSuite() { return static_cast<const AEGP_PFInterfaceSuite1*>(Acquire(kPFInterface)); }
const PF_ParamUtilsSuite* SuiteHandler::ParamUtilsSuite() { return static_cast<const PF_ParamUtilsSuite*>(Acquire(kParamUtils)); }
const PF_AdvAppSuite2* SuiteHandler::AdvAppSuite() { return static_cast<const PF_AdvAppSuite2*>(Acquire(kAdvApp)); }
const AEGP_EffectSuite* SuiteHandler::EffectSuite2() { return static_cast<const AEGP_EffectSuite*>(Acquire(kEffect2)); }
const AEGP_EffectSuite* SuiteHandler::EffectSuite3() { return static_cast<const AEGP_EffectSuite*>(Acquire(kEffect3)); }
const AEGP_LayerMaskSuite5* SuiteHandler::LayerMaskSuite() { return static_cast<const AEGP_LayerMaskSuite5*>(Acquire(kLayerMask)); }
const AEGP_MaskOutlineSuite3* SuiteHandler::MaskOutlineSuite() { return static_cast<const AEGP_MaskOutlineSuite3*>(Acquire(kMaskOutline)); }
const AEGP_UtilitySuite7* SuiteHandler::UtilitySuite() { return static_cast<const AEGP_UtilitySuite7*>(Acquire(kUtility)); }
const PF_ANSISuite1* SuiteHandler::ANSISuite() { return static_cast<const PF_ANSISuite1*>(Acquire(kANSI)); }
const PF_HandleSuite* SuiteHandler::HandleSuite() { return static_cast<const PF_HandleSuite*>(Acquire(kHandle)); }
// clang-format on

}  // namespace knotwell
