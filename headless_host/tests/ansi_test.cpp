#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {
namespace {

TEST(Ansi, SprintfFormatsLikeTheStandardLibrary) {
    Host host;
    char text[64] = {};
    const int length = AnsiCallbacks().sprintf(text, "%s, v%d.%d%d\r%s", "Knotwell", 1, 0, 0,
                                               "Imagination!");
    EXPECT_STREQ(text, "Knotwell, v1.00\rImagination!");
    EXPECT_EQ(length, static_cast<int>(std::strlen(text)));
    EXPECT_EQ(host.calls().CallsOf("sprintf"), 1);
}

TEST(Ansi, StrcpyCopiesWithTheTerminator) {
    Host host;
    char text[8];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(AnsiCallbacks().strcpy(text, "ERROR"), text);
    EXPECT_STREQ(text, "ERROR");
}

TEST(Ansi, TextLongerThanItsHostBlockIsCutAndReported) {
    Host host;
    PF_Handle handle = UtilCallbacks().host_new_handle(4);
    auto* block = static_cast<char*>(*handle);
    AnsiCallbacks().strcpy(block, "Knotwell");
    EXPECT_STREQ(block, "Kno");
    UtilCallbacks().host_dispose_handle(handle);
    ASSERT_EQ(host.ledger().Faults().size(), 1u);
    EXPECT_NE(host.ledger().Faults()[0].find("strcpy: 8 characters do not fit"), std::string::npos);
}

TEST(Ansi, MathIsTheStandardLibrarys) {
    Host host;
    const PF_ANSICallbacks& ansi = AnsiCallbacks();
    EXPECT_DOUBLE_EQ(ansi.hypot(3, 4), 5);
    EXPECT_DOUBLE_EQ(ansi.atan2(1, 1), std::atan2(1.0, 1.0));
    EXPECT_DOUBLE_EQ(ansi.fmod(7.5, 2), 1.5);
    EXPECT_EQ(host.calls().total(), 3);
}

}  // namespace
}  // namespace knotwell::host
