// knotwell_pipl: writes the property list of one plug-in library.
//   knotwell_pipl <current|legacy> <display name> <match name> <output file>
// The build runs it for every plug-in and generation, natively and for the
// Windows resources alike, so both carry the same bytes.
#include <exception>
#include <fstream>
#include <iostream>

#include "resources/plugin_property_list.h"
#include "resources/property_list_writer.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: knotwell_pipl <current|legacy> <display name> <match name> "
                     "<output file>\n";
        return 2;
    }
    const auto generation = knotwell::pipl::ParseGeneration(argv[1]);
    if (!generation) {
        std::cerr << "knotwell_pipl: unknown generation \"" << argv[1] << "\"\n";
        return 2;
    }
    try {
        const auto bytes = knotwell::pipl::WritePropertyList(
            knotwell::pipl::PluginPropertyList(argv[2], argv[3], *generation));
        std::ofstream out(argv[4], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::cerr << "knotwell_pipl: cannot write " << argv[4] << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "knotwell_pipl: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
