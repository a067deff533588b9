// SuiteRegistry: the function tables the basic suite hands out, by exact
// name and version. Suites of the project model register here too, when
// that model provides them.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "frame/host/ae_types.h"
#include "headless_host/generation.h"

namespace knotwell::host {

enum class Offer {
    kAllGenerations,  // offered to current and legacy plug-ins
    kLegacyOnly       // an older version only the legacy host offered
};

class SuiteRegistry {
public:
    void Register(std::string_view name, A_long version, const void* table,
                  Offer offer = Offer::kAllGenerations);
    // The table for a plug-in of `generation`, or null.
    const void* Find(std::string_view name, A_long version, Generation generation) const;

private:
    struct Entry {
        const void* table;
        Offer offer;
    };
    std::map<std::pair<std::string, A_long>, Entry> entries_;
};

// "PF Handle Suite v2": how suites are named in the ledger and in reports.
std::string SuiteKey(std::string_view name, A_long version);

// Registers every suite this host implements itself.
void RegisterHostSuites(SuiteRegistry& registry);

}  // namespace knotwell::host
