// knotwell-host: the headless host as a command-line tool.
#include <iostream>
#include <string>
#include <vector>

#include "headless_host/cli/command_line.h"

int main(int argc, char** argv) {
    return knotwell::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), KNOTWELL_PLUGIN_DIR,
                                         std::cout, std::cerr);
}
