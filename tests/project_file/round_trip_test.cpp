#include <gtest/gtest.h>

#include "headless_host/cli/project_file/read_project.h"
#include "headless_host/cli/project_file/write_project.h"
#include "tests/project_file/example_project.h"

namespace knotwell::project_file {
namespace {

// A result as knotwell-host writes it: two layers, values of every kind,
// UI states, a steps list and the report sections.
ProjectDescription ResultLike() {
    using testing::Control;
    ProjectDescription p = testing::ExpectedExample();
    p.composition.time_scale = 2997;
    p.composition.time_step = 100;
    p.composition.downsample_x = p.composition.downsample_y = 2;

    LayerDescription& other = p.layers.emplace_back();
    other.name = "Other";
    other.width = 10;
    other.height = 20;
    other.start = 5;
    other.duration = 3;

    EffectDescription& baker = p.layers[0].effects.emplace_back();
    baker.display_name = "Knotwell Baker";
    baker.active = false;
    baker.controls = {Control("Index", 0.1), Control(12, false), Control("Bake", 1.0)};
    baker.controls[0].ui = ControlUi{"Index", true, false};
    baker.controls[1].ui = ControlUi{"", false, true};
    baker.controls[2].ui = ControlUi{"Bake", false, false};

    p.steps.push_back(testing::MakeStep(1, RenderStep{false, 1, 1}));
    RunReport& report = p.report.emplace();
    report.messages = {{"PF_Cmd_USER_CHANGED_PARAM", "ERROR", true},
                       {"PF_Cmd_SMART_PRE_RENDER", "No Knotwell", false}};
    report.info_panel = {"Index:0", "Vertex:0-2"};
    report.host_calls.total = 12;
    report.host_calls.by_name = {{"AEGP_GetNewStreamValue", 7}, {"PF_UpdateParamUI", 5}};
    return p;
}

TEST(RoundTrip, AWrittenProjectReadsBackEqual) {
    for (const ProjectDescription& p : {testing::ExpectedExample(), ResultLike()}) {
        const std::string text = WriteProject(p);
        const auto back = ReadProject(text);
        ASSERT_TRUE(back.ok()) << ToString(back.error()) << "\n" << text;
        EXPECT_EQ(back.value(), p) << text;
        EXPECT_EQ(WriteProject(back.value()), text);
    }
}

TEST(RoundTrip, WritesReportSectionsOnlyForResults) {
    EXPECT_EQ(WriteProject(testing::ExpectedExample()).find("\"leaks\""), std::string::npos);
    EXPECT_NE(WriteProject(ResultLike()).find("\"leaks\": []"), std::string::npos);
}

}  // namespace
}  // namespace knotwell::project_file
