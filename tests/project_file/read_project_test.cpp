#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "headless_host/cli/project_file/read_project.h"
#include "tests/project_file/example_project.h"

namespace knotwell::project_file {
namespace {

constexpr const char* kComp =
    R"("composition": {"width": 100, "height": 80, "frame_rate": 30, "duration": 10})";

// A one-layer project (layer "Solid", 10 frames) with the layer's fields
// and the top-level fields given.
std::string Project(const std::string& layer_fields, const std::string& top_fields = "") {
    return std::string("{") + kComp + R"(, "layers": [{"name": "Solid")" +
           (layer_fields.empty() ? "" : ", " + layer_fields) + "}]" +
           (top_fields.empty() ? "" : ", " + top_fields) + "}";
}

std::string WithComp(const std::string& comp_fields) {
    return R"({"composition": {)" + comp_fields + R"(}, "layers": [{}]})";
}

std::string WithControl(const std::string& control) {
    return Project(R"("effects": [{"effect": "Knotwell", "controls": {)" + control + "}}]");
}

std::string WithStep(const std::string& step) { return Project("", R"("steps": [)" + step + "]"); }

struct BadInput {
    std::string text;
    std::string path;
    std::string message_part;
};

class ReadProjectRefuses : public ::testing::TestWithParam<BadInput> {};

TEST_P(ReadProjectRefuses, NamingThePlace) {
    const auto result = ReadProject(GetParam().text);
    ASSERT_FALSE(result.ok()) << GetParam().text;
    EXPECT_EQ(result.error().path, GetParam().path) << result.error().message;
    EXPECT_NE(result.error().message.find(GetParam().message_part), std::string::npos)
        << result.error().message;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadProjectRefuses,
    ::testing::Values(
        // Not JSON at all.
        BadInput{"{\"composition\": {\n  \"width\": 1,\n}", "", "line 3, column 1: syntax error"},
        BadInput{"", "", "line 1, column 0"},
        BadInput{Project(R"("width": 1e400)"), "", "number overflow"},
        BadInput{Project(R"("width": 5, "width": 6)"), "layers[0].width", "given twice"},
        // Fields and shapes.
        BadInput{Project("", R"("colour": 1)"), "colour", "unknown field"},
        BadInput{R"({"layers": [{}]})", "", "missing field \"composition\""},
        BadInput{"[]", "", "expected an object {...}, got a list of 0"},
        BadInput{WithComp(R"("width": -5, "height": 8, "frame_rate": 30, "duration": 10)"),
                 "composition.width", "from 1 to 30000, got the number -5"},
        BadInput{WithComp(R"("width": 5, "height": 8, "frame_rate": 2.5, "duration": 10)"),
                 "composition.frame_rate", "whole number"},
        BadInput{WithComp(R"("width": 5, "height": 8, "frame_rate": {"time_scale": 30000, "time_step": 100000}, "duration": 100000)"),
                 "composition.duration", "time range"},
        BadInput{std::string("{") + kComp + R"(, "layers": []})", "layers", "at least one layer"},
        BadInput{std::string("{") + kComp + R"(, "layers": [{"name": "A"}, {"name": "A"}]})",
                 "layers[1].name", "another layer is named \"A\""},
        // Masks.
        BadInput{Project(R"("masks": [{"vertices": [{"x": 0, "y": 0}, {"x": 1, "y": 1, "in": [1]}]}])"),
                 "layers[0].masks[0].vertices[1].in", "expected a point [x, y], got a list of 1"},
        BadInput{Project(R"("masks": [{"vertices": [{"x": "0", "y": 0}]}])"),
                 "layers[0].masks[0].vertices[0].x", "expected a number, got the text \"0\""},
        BadInput{Project(R"("masks": [{"name": ""}])"), "layers[0].masks[0].name", "cannot be empty"},
        BadInput{Project(R"("masks": [{}])"), "layers[0].masks[0]", "missing field \"vertices\""},
        BadInput{Project(R"("masks": [{"vertices": [], "keyframes": []}])"),
                 "layers[0].masks[0].keyframes", "not both"},
        BadInput{Project(R"("masks": [{"keyframes": [{"frame": 10, "vertices": []}]}])"),
                 "layers[0].masks[0].keyframes[0].frame", "from 0 to 9"},
        BadInput{Project(R"("masks": [{"keyframes": [{"frame": 4, "vertices": []}, {"frame": 4, "vertices": []}]}])"),
                 "layers[0].masks[0].keyframes[1].frame", "increasing frame order"},
        // Effects and controls.
        BadInput{Project(R"("effects": [{"name": "A"}])"), "layers[0].effects[0]", "missing field \"effect\""},
        BadInput{Project(R"("effects": [{"effect": "Knotwell", "name": "A"}, {"effect": "Knotwell", "name": "A"}])"),
                 "layers[0].effects[1].name", "another effect on this layer is named \"A\""},
        BadInput{WithControl(R"("0": 1)"), "layers[0].effects[0].controls[\"0\"]", "from 1 to 1000"},
        BadInput{WithControl(R"("Point": null)"), "layers[0].effects[0].controls.Point", "expected a number, a point"},
        BadInput{WithControl(R"("Point": {"vaule": 1})"), "layers[0].effects[0].controls.Point.vaule",
                 "unknown field"},
        BadInput{WithControl(R"("Point": {"value": [0, 0], "keyframes": []})"),
                 "layers[0].effects[0].controls.Point.keyframes", "not both"},
        BadInput{WithControl(R"("Tan In": {"keyframes": [{"frame": 0, "value": [1, 2, 3]}]})"),
                 "layers[0].effects[0].controls[\"Tan In\"].keyframes[0].value", "point [x, y]"},
        BadInput{WithControl(R"("Point": {})"), "layers[0].effects[0].controls.Point", "give a \"value\""},
        // Steps.
        BadInput{std::string("{") + kComp + R"(, "layers": [{}, {}], "steps": [{"render": "all"}]})",
                 "steps[0]", "name the step's \"layer\": the project has 2 layers"},
        BadInput{WithStep(R"({"render": "all", "layer": "Other"})"), "steps[0].layer", "no layer is named"},
        BadInput{WithStep(R"({"render": "all", "execute": 0})"), "steps[0]", "not both"},
        BadInput{WithStep(R"({"layer": 0})"), "steps[0]", "needs one of"},
        BadInput{WithStep(R"({"render": {"frame": 10}})"), "steps[0].render.frame", "from 0 to 9"},
        BadInput{WithStep(R"({"render": {"from": 5, "to": 4}})"), "steps[0].render.to", "before"},
        BadInput{WithStep(R"({"render": "some"})"), "steps[0].render", "expected \"all\""},
        BadInput{WithStep(R"({"set": {"effect": "A", "control": 3}})"), "steps[0].set", "give a \"value\""},
        BadInput{WithStep(R"({"set": {"effect": "A", "control": 3, "value": 1, "ui": {}}})"),
                 "steps[0].set.ui", "unknown field"},
        BadInput{WithStep(R"({"execute": {"effect": 0}})"), "steps[0].execute", "instance name"},
        BadInput{Project(R"("effects": [{"effect": "Knotwell", "name": "A"}])",
                         R"("steps": [{"apply": {"effect": "Knotwell", "name": "A"}}])"),
                 "steps[0].apply.name", "another effect"},
        // Result sections.
        BadInput{Project("", R"("host_calls": {"total": -1})"), "host_calls.total", "from 0"},
        BadInput{Project("", R"("messages": [{"command": "PF_Cmd_RENDER"}])"), "messages[0]",
                 "missing field \"text\""}));

TEST(ReadProject, ReadsTheDocumentedExample) {
    const auto result = ReadProject(testing::DocumentedExample());
    ASSERT_TRUE(result.ok()) << ToString(result.error());
    EXPECT_EQ(result.value(), testing::ExpectedExample());
}

TEST(ReadProject, KeepsThePathOfEveryItemForLaterErrors) {
    const auto result = ReadProject(testing::DocumentedExample());
    ASSERT_TRUE(result.ok()) << ToString(result.error());
    const ProjectDescription& p = result.value();
    const EffectDescription& tip = p.layers[0].effects[0];
    EXPECT_EQ(p.layers[0].path.text, "layers[0]");
    EXPECT_EQ(p.layers[0].masks[1].path.text, "layers[0].masks[1]");
    EXPECT_EQ(tip.path.text, "layers[0].effects[0]");
    EXPECT_EQ(tip.controls[3].path.text, "layers[0].effects[0].controls[\"Tan In Radius\"]");
    EXPECT_EQ(tip.controls[1].keyframes[1].path.text, "layers[0].effects[0].controls.Point.keyframes[1]");
    EXPECT_EQ(std::get<ApplyStep>(p.steps[1].action).effect.path.text, "steps[1].apply");
    EXPECT_EQ(std::get<SetStep>(p.steps[3].action).setting.path.text, "steps[3].set");
}

TEST(ReadProject, FillsDefaultsAndReadsFrameRatesAndResolutions) {
    const auto result = ReadProject(std::string("{") +
        R"("composition": {"width": 100, "height": 80, "frame_rate": {"time_scale": 30000, "time_step": 1001},
                           "duration": 10, "downsample": [2, 1]},
           "layers": [{"start": -3, "masks": [{"vertices": []}]}, {"width": 5, "duration": 4}],
           "steps": [{"render": "all", "layer": "Layer 2"}, {"execute": 1, "layer": 0}],
           "leaks": []})");
    ASSERT_TRUE(result.ok()) << ToString(result.error());
    const ProjectDescription& p = result.value();
    EXPECT_EQ(p.composition, (CompositionDescription{"Comp 1", 100, 80, 30000, 1001, 10, 2, 1}));
    EXPECT_EQ(p.layers[0].name, "Layer 1");
    EXPECT_EQ(p.layers[0].masks[0].name, "Mask 1");
    EXPECT_EQ(p.layers[0].start, -3);
    EXPECT_EQ(p.layers[0].duration, 10);
    EXPECT_EQ(p.layers[1].width, 5);
    EXPECT_EQ(p.layers[1].height, 80);
    EXPECT_EQ(p.steps[0].layer, 1);
    EXPECT_EQ(p.steps[1].layer, 0);
    EXPECT_EQ(p.report, RunReport{});
}

TEST(ReadProject, ReadsEveryExample) {
    for (const auto& entry : std::filesystem::directory_iterator(KNOTWELL_EXAMPLES_DIR)) {
        std::stringstream text;
        text << std::ifstream(entry.path()).rdbuf();
        const auto result = ReadProject(text.str());
        EXPECT_TRUE(result.ok()) << entry.path() << ": " << ToString(result.error());
    }
}

}  // namespace
}  // namespace knotwell::project_file
