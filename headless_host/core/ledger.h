// Ledger: everything the host hands out to a plug-in and expects back.
// Each kind ("handle", "suite", later "effect ref", "stream", ...) keeps its
// open items with the call that opened them. Closing an item that is not
// open is a fault of the plug-in (double release or a foreign item) and is
// recorded, never acted on.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace knotwell::host {

class Ledger {
public:
    // Items are counted: opening an open item again needs as many closes.
    void Open(std::string_view kind, std::string_view id, std::string_view origin_call);
    void Open(std::string_view kind, const void* id, std::string_view origin_call);
    // False (and a recorded fault) when the item is not open.
    bool Close(std::string_view kind, std::string_view id, std::string_view closing_call = {});
    bool Close(std::string_view kind, const void* id, std::string_view closing_call = {});

    bool IsOpen(std::string_view kind, std::string_view id) const;
    bool IsOpen(std::string_view kind, const void* id) const;
    std::size_t OpenCount(std::string_view kind) const;

    // Extra text shown with an open item in the report (size, locks, ...).
    void SetDetail(std::string_view kind, const void* id, std::string detail);

    void RecordFault(std::string line);
    const std::vector<std::string>& Faults() const { return faults_; }

    // One line per fault and per item still open; empty when clean.
    std::string LeakReport() const;

    static std::string IdOf(const void* id);

private:
    struct Item {
        std::size_t count = 0;
        std::string origin;
        std::string detail;
    };
    std::map<std::string, std::map<std::string, Item, std::less<>>, std::less<>> open_;
    std::vector<std::string> faults_;
};

}  // namespace knotwell::host
