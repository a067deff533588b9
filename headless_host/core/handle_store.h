// HandleStore: the host's memory blocks behind PF_Handle. A handle points
// to the block's master pointer, so *handle is the block. Blocks start
// zero-filled. Every live handle is open in the ledger as a "handle"; a
// disposed handle's master pointer is kept (set to null) so that a later
// block never reuses its address and a second dispose is always caught.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "frame/host/ae_types.h"
#include "headless_host/core/ledger.h"

namespace knotwell::host {

class HandleStore {
public:
    explicit HandleStore(Ledger& ledger) : ledger_(ledger) {}

    PF_Handle New(std::size_t size, std::string_view origin_call);
    // Lock and unlock count; a dispose drops the locks. Calls on a handle
    // that is not alive record a fault and do nothing (Lock gives null).
    void* Lock(PF_Handle handle, std::string_view call);
    void Unlock(PF_Handle handle, std::string_view call);
    void Dispose(PF_Handle handle, std::string_view call);

    bool IsAlive(PF_Handle handle) const { return blocks_.contains(handle); }
    std::optional<std::size_t> SizeOf(PF_Handle handle) const;
    // Bytes from `address` to the end of the live block holding it, or none
    // when the address lies in no block of this store.
    std::optional<std::size_t> BytesAvailableAt(const void* address) const;

private:
    struct Block {
        void* master = nullptr;
        std::unique_ptr<std::byte[]> bytes;
        std::size_t size = 0;
        int locks = 0;
    };
    Block* Find(PF_Handle handle, std::string_view call);
    void Describe(const Block& block);

    Ledger& ledger_;
    std::map<PF_Handle, std::unique_ptr<Block>> blocks_;
    std::vector<std::unique_ptr<Block>> retired_;
};

}  // namespace knotwell::host
