// The host interface generation a build speaks, chosen by one compile-time
// switch: KNOTWELL_LEGACY_INTERFACE selects the older 32-bit host (12.10),
// otherwise the current 64-bit host (13.0). Suite versions differ between
// the two; everything else is the same source.
#pragma once

#include "frame/host/aegp_suites.h"
#include "frame/host/pf_suites.h"

namespace knotwell {

#if defined(KNOTWELL_LEGACY_INTERFACE) && KNOTWELL_LEGACY_INTERFACE
inline constexpr bool kLegacyInterface = true;
inline constexpr A_long kHandleSuiteVersion = kPFHandleSuiteVersion1;
inline constexpr A_long kParamUtilsSuiteVersion = kPFParamUtilsSuiteVersion1;
inline constexpr A_long kStreamSuiteVersion = kAEGPStreamSuiteVersion7;
inline constexpr A_long kDynamicStreamSuiteVersion = kAEGPDynamicStreamSuiteVersion2;
inline constexpr A_long kKeyframeSuiteVersion = kAEGPKeyframeSuiteVersion3;
#else
inline constexpr bool kLegacyInterface = false;
inline constexpr A_long kHandleSuiteVersion = kPFHandleSuiteVersion2;
inline constexpr A_long kParamUtilsSuiteVersion = kPFParamUtilsSuiteVersion2;
inline constexpr A_long kStreamSuiteVersion = kAEGPStreamSuiteVersion9;
inline constexpr A_long kDynamicStreamSuiteVersion = kAEGPDynamicStreamSuiteVersion5;
inline constexpr A_long kKeyframeSuiteVersion = kAEGPKeyframeSuiteVersion4;
#endif

}  // namespace knotwell
