// The command line and every way a run is refused: one line naming the
// place, a non-zero exit code, and nothing written.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/cli/scratch_folder.h"

namespace knotwell::test {
namespace {

// A project of one layer with one two-vertex mask, the given effects and
// steps.
std::string Project(const std::string& effects, const std::string& steps = "") {
    return R"({"composition": {"width": 100, "height": 80, "frame_rate": 30, "duration": 5},
               "layers": [{"masks": [{"vertices": [{"x": 10, "y": 20}, {"x": 60, "y": 20}]}],
                           "effects": [)" +
           effects + R"(]}], "steps": [)" + steps + "]}";
}

struct Case {
    const char* name;
    std::vector<std::string> args;  // "{dir}" stands for the scratch folder
    std::string project;            // written to {dir}/p.json when given
    int exit_code;
    std::string message;  // the error line, without "knotwell-host: "; empty for none
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const std::string kKnotwell = R"({"effect": "Knotwell", "controls": {"Index": 0, "12": true}})";
const std::vector<std::string> kRun = {"run", "{dir}/p.json", "--out", "{dir}/out"};

std::vector<std::string> Run(std::vector<std::string> extra) {
    std::vector<std::string> args = kRun;
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

const Case kCases[] = {
    {"help", {"--help"}, "", 0, ""},
    {"run_help", {"run", "--help"}, "", 0, ""},
    {"no_command", {}, "", 2, "give a command, run or list (see knotwell-host --help)"},
    {"bad_command", {"bogus"}, "", 2, "The following argument was not expected: bogus (see knotwell-host --help)"},
    {"no_project", {"run"}, "", 2, "PROJECT is required (see knotwell-host --help)"},
    {"missing_file", kRun, "", 1, "cannot read {dir}/p.json: no such file"},
    {"malformed_json", kRun, "{\n  \"composition\": }", 1,
     "{dir}/p.json: line 2, column 18: syntax error while parsing value - unexpected '}'; expected '[', '{', or a "
     "literal"},
    {"unknown_field", kRun, R"({"colour": 1})", 1,
     "{dir}/p.json: colour: unknown field; known here: composition, layers, steps, messages, info_panel, "
     "host_calls, leaks"},
    {"vertex_shape", kRun,
     R"({"composition": {"width": 9, "height": 9, "frame_rate": 30, "duration": 5},
         "layers": [{"masks": [{"vertices": [{"x": 1, "y": 2, "in": [1, 2, 3]}]}]}]})",
     1, "{dir}/p.json: layers[0].masks[0].vertices[0].in: expected a point [x, y], got a list of 3"},
    {"unknown_effect", kRun, Project(R"({"effect": "Knotwel"})"), 1,
     "layers[0].effects[0].effect: no installed effect is named \"Knotwel\"; installed: Knotwell, Knotwell "
     "Baker, Knotwell Maker"},
    {"unknown_control", kRun, Project(R"({"effect": "Knotwell", "controls": {"Pont": [1, 2]}})"), 1,
     "layers[0].effects[0].controls.Pont: Knotwell has no control named \"Pont\""},
    {"control_index_out_of_range", kRun, Project(R"({"effect": "Knotwell", "controls": {"13": true}})"), 1,
     "layers[0].effects[0].controls[\"13\"]: Knotwell has controls 1 to 12, not 13"},
    {"value_shape", kRun, Project(R"({"effect": "Knotwell", "controls": {"Point": 3}})"), 1,
     "layers[0].effects[0].controls.Point: expected a point [x, y], got the number 3"},
    {"value_out_of_range", kRun, Project(R"({"effect": "Knotwell", "controls": {"Index": -2}})"), 1,
     "layers[0].effects[0].controls.Index: expected a whole number from -1 to 10000, got the number -2"},
    {"popup_item", kRun, Project(R"({"effect": "Knotwell", "controls": {"Coordinate": "Polr"}})"), 1,
     "layers[0].effects[0].controls.Coordinate: expected an item number from 1 to 2 or one of \"Cartesian\", "
     "\"Polar\", got the text \"Polr\""},
    {"keyframes_on_still_control", kRun,
     Project(R"({"effect": "Knotwell", "controls": {"No": {"keyframes": [{"frame": 0, "value": 1}]}}})"), 1,
     "layers[0].effects[0].controls.No.keyframes: \"No\" holds one value for the whole layer and cannot have "
     "keyframes"},
    {"effect_position_out_of_range", kRun, Project(kKnotwell, R"({"set": {"effect": 1, "control": 2, "value": 1}})"),
     1, "steps[0].set.effect: layer \"Layer 1\" has 1 effect; positions go from 0 to 0"},
    {"unknown_instance", kRun, Project(kKnotwell, R"({"execute": "Knotwell 2"})"), 1,
     "steps[0].execute: no effect on layer \"Layer 1\" is named \"Knotwell 2\""},
    {"nothing_to_execute", kRun, Project(kKnotwell, R"({"execute": "Knotwell"})"), 1,
     "steps[0].execute: \"Knotwell\" has no control with an \"Execute\" item"},
    {"broken_expression", kRun,
     Project(kKnotwell, R"({"set": {"effect": 0, "control": "Point", "expression": "value +* 2"}},
                           {"render": "all"})"),
     1,
     "steps[0]: layer \"Layer 1\", effect \"Knotwell\", control \"Point\": SyntaxError: parse error (line 1, end of "
     "input)"},
    {"expression_cycle", kRun,
     Project(kKnotwell, R"js({"set": {"effect": 0, "control": 3, "expression": "effect(\"Knotwell\")(3)"}},
                             {"render": {"frame": 0}})js"),
     1,
     "steps[0]: layer \"Layer 1\", effect \"Knotwell\", control \"Point\": effect(\"Knotwell\")(\"Point\") is "
     "itself waiting for this expression: the expressions read one another in a cycle"},
    {"missing_plugin_folder", Run({"--plugins", "{dir}/none"}), Project(kKnotwell), 1,
     "no plug-in folder {dir}/none"},
    {"unwritable_output_folder", {"run", "{dir}/p.json", "--out", "{dir}/p.json/out"}, Project(kKnotwell), 1,
     "cannot make the output folder {dir}/p.json/out: Not a directory"},
};

std::string Expand(std::string text, const std::string& dir) {
    for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;) text.replace(at, 5, dir);
    return text;
}

class CommandLineTest : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTest, ExitsWithOneClearLineAndWritesNothingOnFailure) {
    const Case& c = GetParam();
    const ScratchFolder folder;
    const std::string dir = folder.path().string();
    if (!c.project.empty()) folder.Write("p.json", c.project);
    std::vector<std::string> args;
    for (const std::string& arg : c.args) args.push_back(Expand(arg, dir));

    const CommandResult result = RunKnotwellHost(args);

    EXPECT_EQ(result.exit_code, c.exit_code);
    if (c.message.empty()) {
        EXPECT_EQ(result.err, "");
        EXPECT_NE(result.out.find("Usage:"), std::string::npos);
    } else {
        EXPECT_EQ(result.err, "knotwell-host: " + Expand(c.message, dir) + "\n");
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out" / "result.json"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out" / "picture.svg"));
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(CommandLine, ListsTheInstalledEffectsOfAFolder) {
    const CommandResult result = RunKnotwellHost({"list", "--plugins", std::string(KNOTWELL_PLUGIN_DIR) + "/legacy"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.err, "");
    for (const char* name : {"Knotwell ", "Knotwell Maker", "Knotwell Baker"}) {
        EXPECT_NE(result.out.find(name), std::string::npos) << name;
    }
    EXPECT_NE(result.out.find("12.10 (legacy)"), std::string::npos);
}

}  // namespace
}  // namespace knotwell::test
