#include <gtest/gtest.h>

#include "headless_host/core/world.h"
#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {
namespace {

class CopyTest : public ::testing::TestWithParam<PF_PixelFormat> {};

TEST_P(CopyTest, CopiesTheWholeImagePixelExact) {
    Host host;
    World src(13, 7, GetParam());
    World dst(13, 7, GetParam());
    FillPattern(src, 1);
    FillPattern(dst, 2);
    ASSERT_FALSE(SamePixels(src.effect_world(), dst.effect_world()));

    EXPECT_EQ(UtilCallbacks().copy(nullptr, src.get(), dst.get(), nullptr, nullptr), PF_Err_NONE);
    EXPECT_TRUE(SamePixels(src.effect_world(), dst.effect_world()));

    PF_PixelFormat format = PF_PixelFormat_INVALID;
    EXPECT_EQ(WorldSuite().PF_GetPixelFormat(dst.get(), &format), PF_Err_NONE);
    EXPECT_EQ(format, GetParam());
}

TEST_P(CopyTest, RefusesAnotherSizeOrFormat) {
    Host host;
    World src(4, 4, GetParam());
    World wider(5, 4, GetParam());
    World other_format(4, 4, GetParam() == PF_PixelFormat_ARGB32 ? PF_PixelFormat_ARGB64
                                                                  : PF_PixelFormat_ARGB32);
    EXPECT_EQ(UtilCallbacks().copy(nullptr, src.get(), wider.get(), nullptr, nullptr),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(UtilCallbacks().copy(nullptr, src.get(), other_format.get(), nullptr, nullptr),
              PF_Err_BAD_CALLBACK_PARAM);
}

INSTANTIATE_TEST_SUITE_P(Depths, CopyTest,
                         ::testing::Values(PF_PixelFormat_ARGB32, PF_PixelFormat_ARGB64,
                                           PF_PixelFormat_ARGB128));

TEST(Copy, SixteenBitChannelsStayWithinTheHostRange) {
    World world(8, 8, PF_PixelFormat_ARGB64);
    FillPattern(world, 3);
    const auto* channels = static_cast<const A_u_short*>(world.effect_world().data);
    for (int i = 0; i < 8 * 4; ++i) EXPECT_LE(channels[i], 32768);
}

TEST(Copy, UnknownFormatsAndForeignWorldsAreRefused) {
    Host host;
    World odd(2, 2, 0x78797A7A);
    PF_EffectWorld foreign = odd.effect_world();
    foreign.platform_ref = &foreign;
    PF_PixelFormat format = PF_PixelFormat_ARGB32;

    EXPECT_EQ(WorldSuite().PF_GetPixelFormat(odd.get(), &format), PF_Err_NONE);
    EXPECT_EQ(format, 0x78797A7A);
    EXPECT_EQ(UtilCallbacks().copy(nullptr, odd.get(), odd.get(), nullptr, nullptr),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(WorldSuite().PF_GetPixelFormat(&foreign, &format), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(format, PF_PixelFormat_INVALID);
}

}  // namespace
}  // namespace knotwell::host
