// ReferenceTable: the opaque references the AEGP suites hand out (effect
// refs, mask refs, streams, mask outline values, keyframe batches). Each
// is the address of a record the table keeps for good, so a disposed
// address is never reused and a second dispose is always recognised. Every
// open reference is open in the ledger under its kind; a reference that is
// unknown, of another kind or already disposed is refused with a recorded
// fault instead of being followed.
#pragma once

#include <any>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "headless_host/core/ledger.h"

namespace knotwell::host {

inline constexpr std::string_view kEffectRefKind = "effect ref";
inline constexpr std::string_view kMaskRefKind = "mask ref";
inline constexpr std::string_view kStreamKind = "stream";
inline constexpr std::string_view kStreamValueKind = "stream value";
inline constexpr std::string_view kKeyframeBatchKind = "keyframe batch";

class ReferenceTable {
public:
    explicit ReferenceTable(Ledger& ledger) : ledger_(ledger) {}

    template <class Record>
    void* Open(std::string_view kind, Record record, std::string_view origin_call) {
        auto entry = std::make_unique<Entry>(Entry{std::string(kind), std::move(record), true});
        void* ref = entry.get();
        entries_.emplace(ref, std::move(entry));
        ledger_.Open(kind, ref, origin_call);
        return ref;
    }

    // The record of an open reference of `kind`; null with a recorded fault
    // otherwise.
    template <class Record>
    Record* Find(const void* ref, std::string_view kind, std::string_view call) {
        Entry* entry = Check(ref, kind, call);
        return entry ? std::any_cast<Record>(&entry->record) : nullptr;
    }

    // The record of any reference of `kind` this table made, open or not,
    // without a fault: for values that outlive their references.
    template <class Record>
    Record* Peek(const void* ref, std::string_view kind) {
        const auto found = entries_.find(ref);
        if (found == entries_.end() || found->second->kind != kind) return nullptr;
        return std::any_cast<Record>(&found->second->record);
    }

    // False with a recorded fault when `ref` is no open reference of `kind`.
    bool Close(const void* ref, std::string_view kind, std::string_view call);

private:
    struct Entry {
        std::string kind;
        std::any record;
        bool open;
    };
    Entry* Check(const void* ref, std::string_view kind, std::string_view call);

    Ledger& ledger_;
    std::map<const void*, std::unique_ptr<Entry>> entries_;
};

}  // namespace knotwell::host
