#include "headless_host/suites/aegp_suites.h"

namespace knotwell::host {

void RegisterProjectSuites(SuiteRegistry& registry) {
    registry.Register(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &PFInterfaceSuite());
    registry.Register(kAEGPLayerMaskSuite, kAEGPLayerMaskSuiteVersion5, &LayerMaskSuite());
    registry.Register(kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion3, &MaskOutlineSuite());
    registry.Register(kAEGPStreamSuite, kAEGPStreamSuiteVersion9, &StreamSuite());
    registry.Register(kAEGPStreamSuite, kAEGPStreamSuiteVersion7, &StreamSuite(), Offer::kLegacyOnly);
    registry.Register(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion5, &DynamicStreamSuite());
    registry.Register(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2, &DynamicStreamSuite(),
                      Offer::kLegacyOnly);
    registry.Register(kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4, &KeyframeSuite());
    registry.Register(kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion3, &KeyframeSuite(), Offer::kLegacyOnly);
    registry.Register(kAEGPEffectSuite, kAEGPEffectSuiteVersion3, &EffectSuite());
    registry.Register(kAEGPEffectSuite, kAEGPEffectSuiteVersion2, &EffectSuite());
}

}  // namespace knotwell::host
