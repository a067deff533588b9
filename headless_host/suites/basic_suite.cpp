// SPBasicSuite: suites by exact name and version, each acquisition counted
// in the ledger until it is released under the same name and version.
#include <cstring>
#include <string>

#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {

namespace {

constexpr const char* kSuite = "suite";

SPErr AcquireSuite(const char* name, A_long version, const void** suite) {
    Host& host = Host::Active();
    const CallVerdict verdict = host.calls().Enter("AcquireSuite");
    if (suite) *suite = nullptr;
    if (!name || !suite) return kSPSuiteNotFoundError;
    if (verdict.error != PF_Err_NONE) return verdict.error;
    if (verdict.null_result) return kSPNoError;

    const std::string key = SuiteKey(name, version);
    const void* table = host.faults().withheld_suites.contains({name, version})
                            ? nullptr
                            : host.suites().Find(name, version, host.generation());
    if (!table) {
        host.RecordRefusedSuite(key);
        return kSPSuiteNotFoundError;
    }
    host.ledger().Open(kSuite, key, "AcquireSuite");
    *suite = table;
    return kSPNoError;
}

SPErr ReleaseSuite(const char* name, A_long version) {
    Host& host = Host::Active();
    const CallVerdict verdict = host.calls().Enter("ReleaseSuite");
    if (!name) return kSPSuiteNotFoundError;
    // Given back even when the release is made to fail: the plug-in did its part.
    const bool held = host.ledger().Close(kSuite, SuiteKey(name, version), "ReleaseSuite");
    if (verdict.error != PF_Err_NONE) return verdict.error;
    return held ? kSPNoError : kSPSuiteNotFoundError;
}

A_Boolean IsEqual(const char* token1, const char* token2) {
    Host::Active().calls().Enter("IsEqual");
    return token1 && token2 && std::strcmp(token1, token2) == 0;
}

// The block functions are not part of what this host offers.
SPErr NotOffered(const char* name) {
    Host& host = Host::Active();
    host.calls().Enter(name);
    host.ledger().RecordFault(std::string(name) + ": not offered by this host");
    return kSPSuiteNotFoundError;
}

SPErr AllocateBlock(size_t, void** block) {
    if (block) *block = nullptr;
    return NotOffered("AllocateBlock");
}
SPErr FreeBlock(void*) { return NotOffered("FreeBlock"); }
SPErr ReallocateBlock(void*, size_t, void** new_block) {
    if (new_block) *new_block = nullptr;
    return NotOffered("ReallocateBlock");
}
SPErr Undefined() { return NotOffered("Undefined"); }

}  // namespace

SPBasicSuite& BasicSuite() {
    static SPBasicSuite suite{AcquireSuite, ReleaseSuite, IsEqual, AllocateBlock,
                              FreeBlock,    ReallocateBlock, Undefined};
    return suite;
}

}  // namespace knotwell::host
