#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {
namespace {

struct SuiteCase {
    const char* name;
    A_long version;
    Generation generation;
    bool offered;
};

std::string CaseName(const ::testing::TestParamInfo<SuiteCase>& info) {
    std::string name = std::string(NameOf(info.param.generation)) + "_" + info.param.name + "_" +
                       std::to_string(info.param.version);
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

class BasicSuiteTest : public ::testing::TestWithParam<SuiteCase> {};

TEST_P(BasicSuiteTest, OffersExactlyTheKnownNamesAndVersions) {
    const SuiteCase& c = GetParam();
    Host host(c.generation);
    const void* table = reinterpret_cast<const void*>(1);
    const SPErr err = BasicSuite().AcquireSuite(c.name, c.version, &table);

    EXPECT_EQ(err == kSPNoError, c.offered);
    EXPECT_EQ(table != nullptr, c.offered);
    if (c.offered) {
        EXPECT_EQ(BasicSuite().ReleaseSuite(c.name, c.version), kSPNoError);
        EXPECT_TRUE(host.refused_suites().empty());
    } else {
        EXPECT_EQ(host.refused_suites(), std::vector<std::string>{SuiteKey(c.name, c.version)});
    }
    EXPECT_EQ(host.LeakReport(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Suites, BasicSuiteTest,
    ::testing::Values(SuiteCase{"PF Handle Suite", 2, Generation::kCurrent, true},
                      SuiteCase{"PF Handle Suite", 1, Generation::kCurrent, false},
                      SuiteCase{"PF Handle Suite", 1, Generation::kLegacy, true},
                      SuiteCase{"PF Handle Suite", 3, Generation::kLegacy, false},
                      SuiteCase{"PF Param Utils Suite", 1, Generation::kLegacy, true},
                      SuiteCase{"PF World Suite", 2, Generation::kCurrent, true},
                      SuiteCase{"AEGP Utility Suite", 7, Generation::kCurrent, true},
                      SuiteCase{"AEGP Utility Suite", 6, Generation::kCurrent, false},
                      SuiteCase{"pf handle suite", 2, Generation::kCurrent, false},
                      SuiteCase{"No Such Suite", 1, Generation::kCurrent, false}),
    CaseName);

TEST(BasicSuite, ReleaseOfASuiteNotHeldIsAFault) {
    Host host;
    EXPECT_NE(BasicSuite().ReleaseSuite("PF Handle Suite", 2), kSPNoError);
    EXPECT_NE(host.LeakReport().find("suite PF Handle Suite v2 is not open"), std::string::npos);
}

TEST(BasicSuite, ReleaseMustUseTheVersionAcquired) {
    Host host(Generation::kLegacy);
    const void* table = nullptr;
    ASSERT_EQ(BasicSuite().AcquireSuite("PF Param Utils Suite", 1, &table), kSPNoError);
    BasicSuite().ReleaseSuite("PF Param Utils Suite", 2);

    const std::string report = host.LeakReport();
    EXPECT_NE(report.find("PF Param Utils Suite v2 is not open"), std::string::npos);
    EXPECT_NE(report.find("leaked suite PF Param Utils Suite v1 from AcquireSuite"), std::string::npos);
}

}  // namespace
}  // namespace knotwell::host
