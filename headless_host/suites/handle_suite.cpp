// "PF Handle Suite" (versions 1 and 2 share the table) and the same
// functions in in_data->utils.
#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {

namespace {

PF_Handle NewHandle(A_u_longlong size) {
    Host& host = Host::Active();
    if (host.calls().Enter("host_new_handle").Refused() || host.faults().no_memory) return nullptr;
    return host.handles().New(static_cast<std::size_t>(size), "host_new_handle");
}

void* LockHandle(PF_Handle handle) {
    Host& host = Host::Active();
    if (host.calls().Enter("host_lock_handle").Refused()) return nullptr;
    return host.handles().Lock(handle, "host_lock_handle");
}

void UnlockHandle(PF_Handle handle) {
    Host& host = Host::Active();
    host.calls().Enter("host_unlock_handle");
    host.handles().Unlock(handle, "host_unlock_handle");
}

void DisposeHandle(PF_Handle handle) {
    Host& host = Host::Active();
    host.calls().Enter("host_dispose_handle");
    host.handles().Dispose(handle, "host_dispose_handle");
}

A_u_longlong GetHandleSize(PF_Handle handle) {
    Host& host = Host::Active();
    host.calls().Enter("host_get_handle_size");
    const auto size = host.handles().SizeOf(handle);
    if (!size) {
        host.ledger().RecordFault("host_get_handle_size: handle " + Ledger::IdOf(handle) +
                                  " is not alive");
    }
    return size.value_or(0);
}

}  // namespace

const PF_HandleSuite& HandleSuite() {
    static const PF_HandleSuite suite{NewHandle, LockHandle, UnlockHandle, DisposeHandle,
                                      GetHandleSize};
    return suite;
}

}  // namespace knotwell::host
