#include "headless_host/suites/suite_registry.h"

#include "headless_host/suites/aegp_suites.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {

void SuiteRegistry::Register(std::string_view name, A_long version, const void* table, Offer offer) {
    entries_[{std::string(name), version}] = {table, offer};
}

const void* SuiteRegistry::Find(std::string_view name, A_long version, Generation generation) const {
    const auto found = entries_.find({std::string(name), version});
    if (found == entries_.end()) return nullptr;
    if (found->second.offer == Offer::kLegacyOnly && generation != Generation::kLegacy) return nullptr;
    return found->second.table;
}

std::string SuiteKey(std::string_view name, A_long version) {
    return std::string(name) + " v" + std::to_string(version);
}

void RegisterHostSuites(SuiteRegistry& registry) {
    registry.Register(kPFHandleSuite, kPFHandleSuiteVersion2, &HandleSuite());
    registry.Register(kPFHandleSuite, kPFHandleSuiteVersion1, &HandleSuite(), Offer::kLegacyOnly);
    registry.Register(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion2, &ParamUtilsSuite());
    registry.Register(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion1, &ParamUtilsSuite(),
                      Offer::kLegacyOnly);
    registry.Register(kPFANSISuite, kPFANSISuiteVersion1, &AnsiCallbacks());
    registry.Register(kPFWorldSuite, kPFWorldSuiteVersion2, &WorldSuite());
    registry.Register(kPFAdvAppSuite, kPFAdvAppSuiteVersion2, &AdvAppSuite());
    registry.Register(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion7, &UtilitySuite());
    RegisterProjectSuites(registry);
}

}  // namespace knotwell::host
