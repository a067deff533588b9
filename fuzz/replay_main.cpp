// Replays the committed inputs of a fuzz target without libFuzzer: every
// file in the folders given, in name order. A failing input aborts, as
// under the fuzzer.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "fuzz/fuzz_target.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!fs::is_directory(argv[i])) continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(argv[i])) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        std::cout << "replaying " << input.string() << std::endl;
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::cout << "replayed " << inputs.size() << " inputs" << std::endl;
    return inputs.empty() ? 1 : 0;
}
