#include "headless_host/core/handle_store.h"

#include <string>

namespace knotwell::host {

namespace {
constexpr std::string_view kHandle = "handle";
}

PF_Handle HandleStore::New(std::size_t size, std::string_view origin_call) {
    auto block = std::make_unique<Block>();
    // One byte at least, so that even an empty block has its own address.
    block->bytes = std::make_unique<std::byte[]>(size == 0 ? 1 : size);
    block->size = size;
    block->master = block->bytes.get();
    const PF_Handle handle = &block->master;
    ledger_.Open(kHandle, handle, origin_call);
    Describe(*block);
    blocks_.emplace(handle, std::move(block));
    return handle;
}

HandleStore::Block* HandleStore::Find(PF_Handle handle, std::string_view call) {
    const auto found = blocks_.find(handle);
    if (found != blocks_.end()) return found->second.get();
    ledger_.RecordFault(std::string(call) + ": handle " + Ledger::IdOf(handle) +
                        " is not alive (disposed, or never handed out)");
    return nullptr;
}

void* HandleStore::Lock(PF_Handle handle, std::string_view call) {
    Block* block = Find(handle, call);
    if (!block) return nullptr;
    ++block->locks;
    Describe(*block);
    return block->master;
}

void HandleStore::Unlock(PF_Handle handle, std::string_view call) {
    Block* block = Find(handle, call);
    if (!block) return;
    if (block->locks == 0) {
        ledger_.RecordFault(std::string(call) + ": handle " + Ledger::IdOf(handle) +
                            " is not locked");
        return;
    }
    --block->locks;
    Describe(*block);
}

void HandleStore::Dispose(PF_Handle handle, std::string_view call) {
    const auto found = blocks_.find(handle);
    // The ledger reports a dispose of a handle that is not open.
    if (!ledger_.Close(kHandle, handle, call) || found == blocks_.end()) return;
    std::unique_ptr<Block> block = std::move(found->second);
    blocks_.erase(found);
    block->bytes.reset();
    block->master = nullptr;
    retired_.push_back(std::move(block));
}

std::optional<std::size_t> HandleStore::SizeOf(PF_Handle handle) const {
    const auto found = blocks_.find(handle);
    if (found == blocks_.end()) return std::nullopt;
    return found->second->size;
}

std::optional<std::size_t> HandleStore::BytesAvailableAt(const void* address) const {
    const auto* byte = static_cast<const std::byte*>(address);
    for (const auto& [handle, block] : blocks_) {
        const std::byte* begin = block->bytes.get();
        if (byte >= begin && byte < begin + (block->size == 0 ? 1 : block->size)) {
            return block->size - static_cast<std::size_t>(byte - begin);
        }
    }
    return std::nullopt;
}

void HandleStore::Describe(const Block& block) {
    std::string detail = std::to_string(block.size) + " bytes";
    if (block.locks > 0) detail += ", locked " + std::to_string(block.locks) + "x";
    ledger_.SetDetail(kHandle, &block.master, std::move(detail));
}

}  // namespace knotwell::host
