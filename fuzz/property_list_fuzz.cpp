// The property-list reader on any bytes: it refuses with a reason or reads
// a list that the writer turns back into exactly the same bytes, since the
// reader accepts only the one layout the writer makes.
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>

#include "fuzz/fuzz_target.h"
#include "headless_host/loading/property_list.h"
#include "resources/property_list_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    std::string error;
    const std::optional<knotwell::host::PropertyList> list = knotwell::host::ParsePropertyList(bytes, &error);
    if (!list) {
        if (error.empty()) {
            std::cerr << "refused without a reason\n";
            std::abort();
        }
        return 0;
    }
    if (!std::ranges::equal(knotwell::pipl::WritePropertyList(*list), bytes)) {
        std::cerr << "read a list that is written back differently\n";
        std::abort();
    }
    return 0;
}
