#include "headless_host/core/reference_table.h"

namespace knotwell::host {

ReferenceTable::Entry* ReferenceTable::Check(const void* ref, std::string_view kind,
                                             std::string_view call) {
    const std::string prefix = std::string(call) + ": " + std::string(kind) + " " + Ledger::IdOf(ref);
    const auto found = entries_.find(ref);
    if (found == entries_.end()) {
        ledger_.RecordFault(prefix + (ref ? " was never handed out" : " is null"));
        return nullptr;
    }
    Entry& entry = *found->second;
    if (entry.kind != kind) {
        ledger_.RecordFault(prefix + " is a " + entry.kind + ", not a " + std::string(kind));
        return nullptr;
    }
    if (!entry.open) {
        ledger_.RecordFault(prefix + " was already disposed");
        return nullptr;
    }
    return &entry;
}

bool ReferenceTable::Close(const void* ref, std::string_view kind, std::string_view call) {
    Entry* entry = Check(ref, kind, call);
    if (!entry) return false;
    entry->open = false;
    ledger_.Close(kind, ref, call);
    return true;
}

}  // namespace knotwell::host
