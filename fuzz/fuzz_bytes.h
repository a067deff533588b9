// Turns a fuzzer's bytes into the choices of a test case. Used-up bytes
// read as the smallest choice, so every input, even an empty one, is a case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace knotwell::fuzz {

class FuzzBytes {
public:
    explicit FuzzBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // A number from `low` to `high`, both included (low <= high).
    long Int(long low, long high) {
        const auto span = static_cast<std::uint64_t>(high - low);
        std::uint64_t value = 0;
        for (std::uint64_t room = span; room > 0 && next_ < bytes_.size(); room >>= 8) {
            value = (value << 8) | bytes_[next_++];
        }
        return low + static_cast<long>(value % (span + 1));
    }
    bool Bool() { return Int(0, 1) == 1; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t next_ = 0;
};

}  // namespace knotwell::fuzz
