// The project-file reader on any text: it refuses with a message, or reads
// a project that is written and read back as the same project.
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "fuzz/fuzz_target.h"
#include "headless_host/cli/project_file/read_project.h"
#include "headless_host/cli/project_file/write_project.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace pf = knotwell::project_file;
    const auto read = pf::ReadProject(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.ok()) {
        if (read.error().message.empty()) {
            std::cerr << "refused without a message\n";
            std::abort();
        }
        return 0;
    }
    const std::string written = pf::WriteProject(read.value());
    const auto again = pf::ReadProject(written);
    if (!again.ok() || !(again.value() == read.value())) {
        std::cerr << "written back as another project:\n" << written << "\n";
        if (!again.ok()) std::cerr << pf::ToString(again.error()) << "\n";
        std::abort();
    }
    return 0;
}
