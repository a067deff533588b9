// The entry function of every fuzz target, as libFuzzer calls it; the
// replay program calls the same function with the committed inputs.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
