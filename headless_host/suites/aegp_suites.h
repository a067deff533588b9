// The AEGP suites through which the plug-ins work on the host's project.
// Each function enters through the host's CallGuard under its own name;
// every reference it hands out is tracked in the ledger by kind.
#pragma once

#include "frame/host/aegp_suites.h"
#include "headless_host/suites/suite_registry.h"

namespace knotwell::host {

const AEGP_PFInterfaceSuite1& PFInterfaceSuite();
const AEGP_LayerMaskSuite5& LayerMaskSuite();
const AEGP_MaskOutlineSuite3& MaskOutlineSuite();
const AEGP_StreamSuite& StreamSuite();
const AEGP_DynamicStreamSuite& DynamicStreamSuite();
const AEGP_EffectSuite& EffectSuite();
const AEGP_KeyframeSuite& KeyframeSuite();

// Registers them under the names and versions each generation requests.
void RegisterProjectSuites(SuiteRegistry& registry);

}  // namespace knotwell::host
