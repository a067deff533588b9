#include "headless_host/core/ledger.h"

#include <cstdio>

namespace knotwell::host {

std::string Ledger::IdOf(const void* id) {
    char text[2 + 2 * sizeof(void*) + 1];
    std::snprintf(text, sizeof text, "%p", id);
    return text;
}

void Ledger::Open(std::string_view kind, std::string_view id, std::string_view origin_call) {
    auto& items = open_.try_emplace(std::string(kind)).first->second;
    Item& item = items.try_emplace(std::string(id)).first->second;
    if (item.count++ == 0) item.origin = origin_call;
}

void Ledger::Open(std::string_view kind, const void* id, std::string_view origin_call) {
    Open(kind, IdOf(id), origin_call);
}

bool Ledger::Close(std::string_view kind, std::string_view id, std::string_view closing_call) {
    const auto items = open_.find(kind);
    if (items != open_.end()) {
        const auto item = items->second.find(id);
        if (item != items->second.end()) {
            if (--item->second.count == 0) items->second.erase(item);
            return true;
        }
    }
    RecordFault(std::string(closing_call.empty() ? "release" : closing_call) + ": " +
                std::string(kind) + " " + std::string(id) +
                " is not open (released twice, or never handed out)");
    return false;
}

bool Ledger::Close(std::string_view kind, const void* id, std::string_view closing_call) {
    return Close(kind, IdOf(id), closing_call);
}

bool Ledger::IsOpen(std::string_view kind, std::string_view id) const {
    const auto items = open_.find(kind);
    return items != open_.end() && items->second.find(id) != items->second.end();
}

bool Ledger::IsOpen(std::string_view kind, const void* id) const { return IsOpen(kind, IdOf(id)); }

std::size_t Ledger::OpenCount(std::string_view kind) const {
    const auto items = open_.find(kind);
    return items == open_.end() ? 0 : items->second.size();
}

void Ledger::SetDetail(std::string_view kind, const void* id, std::string detail) {
    const auto items = open_.find(kind);
    if (items == open_.end()) return;
    const auto item = items->second.find(IdOf(id));
    if (item != items->second.end()) item->second.detail = std::move(detail);
}

void Ledger::RecordFault(std::string line) { faults_.push_back(std::move(line)); }

std::string Ledger::LeakReport() const {
    std::string report;
    for (const std::string& fault : faults_) report += "fault: " + fault + "\n";
    for (const auto& [kind, items] : open_) {
        for (const auto& [id, item] : items) {
            report += "leaked " + kind + " " + id + " from " + item.origin;
            if (item.count > 1) report += " (x" + std::to_string(item.count) + ")";
            if (!item.detail.empty()) report += " [" + item.detail + "]";
            report += "\n";
        }
    }
    return report;
}

}  // namespace knotwell::host
