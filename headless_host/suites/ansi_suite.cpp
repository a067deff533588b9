// "PF ANSI Suite" 1 and the ANSI callbacks of in_data->utils: the standard
// library functions of those names. The text functions refuse to write
// past the end of return_msg or of a host block: the text is cut to fit
// and the overrun recorded as a fault.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {

namespace {

template <std::size_t N>
struct CallName {
    constexpr CallName(const char (&text)[N]) { std::copy_n(text, N, value); }
    char value[N];
};

template <CallName Name, auto Function>
A_FpLong Unary(A_FpLong x) {
    Host::Active().calls().Enter(Name.value);
    return Function(x);
}

template <CallName Name, auto Function>
A_FpLong Binary(A_FpLong x, A_FpLong y) {
    Host::Active().calls().Enter(Name.value);
    return Function(x, y);
}

int WriteText(Host& host, const char* call, A_char* dst, const char* text, std::size_t length) {
    const std::size_t room = host.TextRoomAt(dst);
    if (room != 0 && length + 1 > room) {
        host.ledger().RecordFault(std::string(call) + ": " + std::to_string(length) +
                                  " characters do not fit the " + std::to_string(room) +
                                  " bytes at the destination");
        length = room - 1;
    }
    std::memmove(dst, text, length);
    dst[length] = '\0';
    return static_cast<int>(length);
}

int Sprintf(A_char* dst, const A_char* format, ...) {
    Host& host = Host::Active();
    host.calls().Enter("sprintf");
    if (!dst || !format) return -1;
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::vector<char> text(static_cast<std::size_t>(std::max(length, 0)) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    if (length < 0) return length;
    return WriteText(host, "sprintf", dst, text.data(), static_cast<std::size_t>(length));
}

A_char* Strcpy(A_char* dst, const A_char* src) {
    Host& host = Host::Active();
    host.calls().Enter("strcpy");
    if (dst && src) WriteText(host, "strcpy", dst, src, std::strlen(src));
    return dst;
}

}  // namespace

const PF_ANSICallbacks& AnsiCallbacks() {
    static const PF_ANSICallbacks callbacks{
        Unary<"atan", [](A_FpLong x) { return std::atan(x); }>,
        Binary<"atan2", [](A_FpLong y, A_FpLong x) { return std::atan2(y, x); }>,
        Unary<"ceil", [](A_FpLong x) { return std::ceil(x); }>,
        Unary<"cos", [](A_FpLong x) { return std::cos(x); }>,
        Unary<"exp", [](A_FpLong x) { return std::exp(x); }>,
        Unary<"fabs", [](A_FpLong x) { return std::fabs(x); }>,
        Unary<"floor", [](A_FpLong x) { return std::floor(x); }>,
        Binary<"fmod", [](A_FpLong x, A_FpLong y) { return std::fmod(x, y); }>,
        Binary<"hypot", [](A_FpLong x, A_FpLong y) { return std::hypot(x, y); }>,
        Unary<"log", [](A_FpLong x) { return std::log(x); }>,
        Unary<"log10", [](A_FpLong x) { return std::log10(x); }>,
        Binary<"pow", [](A_FpLong x, A_FpLong y) { return std::pow(x, y); }>,
        Unary<"sin", [](A_FpLong x) { return std::sin(x); }>,
        Unary<"sqrt", [](A_FpLong x) { return std::sqrt(x); }>,
        Unary<"tan", [](A_FpLong x) { return std::tan(x); }>,
        Sprintf,
        Strcpy,
        Unary<"asin", [](A_FpLong x) { return std::asin(x); }>,
        Unary<"acos", [](A_FpLong x) { return std::acos(x); }>,
    };
    return callbacks;
}

}  // namespace knotwell::host
