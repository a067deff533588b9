// The example projects run end to end through the command line, their
// results checked by what they show, and every result read back as a
// project builds itself again.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <string>

#include "headless_host/cli/progress.h"
#include "headless_host/cli/project_file/read_project.h"
#include "headless_host/cli/run_command.h"
#include "tests/cli/scratch_folder.h"

namespace knotwell::test {
namespace {

namespace pf = project_file;

const std::filesystem::path kExamples = KNOTWELL_EXAMPLES_DIR;

pf::ProjectDescription ReadProjectFile(const std::filesystem::path& path) {
    pf::Result<pf::ProjectDescription, pf::FileError> project = pf::ReadProject(ReadFile(path));
    if (!project.ok()) ADD_FAILURE() << path << ": " << pf::ToString(project.error());
    return project.ok() ? std::move(project).value() : pf::ProjectDescription{};
}

// Runs the project file through the command line; its result.json read.
pf::ProjectDescription RunFile(const ScratchFolder& folder, const std::filesystem::path& project,
                               const std::string& out = "out") {
    const CommandResult run = RunKnotwellHost({"run", project.string(), "--out", (folder.path() / out).string()});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(folder.path() / out / "picture.svg"));
    return ReadProjectFile(folder.path() / out / "result.json");
}

const pf::EffectDescription& Effect(const pf::LayerDescription& layer, const std::string& name) {
    for (const pf::EffectDescription& effect : layer.effects) {
        if (effect.instance_name == name) return effect;
    }
    throw std::out_of_range("no instance " + name);
}

const pf::ControlSetting& Control(const pf::EffectDescription& effect, const pf::ControlRef& ref) {
    for (const pf::ControlSetting& setting : effect.controls) {
        if (setting.control == ref) return setting;
    }
    throw std::out_of_range("no control");
}

pf::Point PointValue(const pf::EffectDescription& effect, const std::string& control) {
    return std::get<pf::Point>(*Control(effect, control).value);
}

void ExpectVertex(const pf::Vertex& vertex, pf::Vertex expected, double tolerance = 1e-4) {
    const double got[] = {vertex.position.x, vertex.position.y, vertex.in.x, vertex.in.y, vertex.out.x, vertex.out.y};
    const double want[] = {expected.position.x, expected.position.y, expected.in.x,
                           expected.in.y,       expected.out.x,      expected.out.y};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "component " << i;
}

void ExpectReportClean(const pf::ProjectDescription& result) {
    ASSERT_TRUE(result.report);
    EXPECT_EQ(result.report->leaks, std::vector<std::string>{});
    EXPECT_EQ(result.report->messages, std::vector<pf::Message>{});
    EXPECT_GT(result.report->host_calls.total, 0);
}

TEST(Examples, DemoMakesOneControllerPerVertexAndBakesEveryFrame) {
    const ScratchFolder folder;
    const pf::ProjectDescription result = RunFile(folder, kExamples / "demo.json");
    ExpectReportClean(result);
    EXPECT_EQ(result.report->info_panel, (std::vector<std::string>{"Index:0", "Vertex:0-9", "Index:1", "Vertex:0-2"}));

    const pf::LayerDescription& layer = result.layers.at(0);
    ASSERT_EQ(layer.masks.size(), 2u);
    std::size_t knotwells = 0;
    for (const pf::EffectDescription& effect : layer.effects) {
        if (effect.display_name != "Knotwell") continue;
        ++knotwells;
        EXPECT_FALSE(effect.active) << effect.instance_name << " still drives its vertex after the bake";
    }
    EXPECT_EQ(knotwells, 10u + 3u);
    EXPECT_EQ(layer.effects.back().instance_name, "Knotwell Baker");
    EXPECT_EQ(Control(Effect(layer, "Knotwell Baker"), "Bake").value, pf::ControlValue{"----------"});
    EXPECT_EQ(Control(Effect(layer, "Knotwell Maker"), "Make").value, pf::ControlValue{"----------"});
    EXPECT_EQ(Control(Effect(layer, "Knotwell 12"), "Point").expression,
              "[value[0], value[1] + 20 * Math.sin(time * 6)]");

    for (const pf::MaskDescription& mask : layer.masks) {
        ASSERT_EQ(mask.keyframes.size(), 30u) << mask.name;
        for (int frame = 0; frame < 30; ++frame) EXPECT_EQ(mask.keyframes[frame].frame, frame);
    }
    // The keyframed "Point" of "Knotwell" took the star's tip from y 30 to 5.
    EXPECT_NEAR(layer.masks[0].keyframes[29].vertices[0].position.y, 5, 1e-4);
    // The expression on the stroke's middle vertex, at frame 10 (1/3 s).
    EXPECT_NEAR(layer.masks[1].keyframes[10].vertices[1].position.y, 200 + 20 * std::sin(2.0), 1e-4);
    // "Knotwell 3": polar, symmetric, radius 30, its angle turning from 0
    // to 360 degrees; at frame 0 the in tangent points up.
    ExpectVertex(layer.masks[0].keyframes[0].vertices[2], {{245.6, 92.19}, {0, -30}, {0, 30}});
}

// The Knotwell instances drive their vertices from checked-out values,
// 16.16 fixed point, while the baker samples the controls' stream values:
// the two agree to one step of the fixed point.
constexpr double kFixedPointStep = 1.0 / 65536;

TEST(Examples, DemoBakesTheShapesThatWereRendered) {
    cli::Progress quiet(std::cerr, false);
    const cli::RunOutcome outcome =
        cli::RunProject(ReadProjectFile(kExamples / "demo.json"), std::string(KNOTWELL_PLUGIN_DIR) + "/current", quiet);
    const picture::Picture& picture = outcome.pictures.at(0);
    ASSERT_EQ(picture.panels.size(), 2u);
    const picture::PicturePanel& live = picture.panels[0];
    const pf::LayerDescription& layer = outcome.result.layers.at(0);
    ASSERT_EQ(picture.frame_numbers.size(), 30u);
    for (std::size_t m = 0; m < layer.masks.size(); ++m) {
        for (std::size_t f = 0; f < picture.frame_numbers.size(); ++f) {
            const auto& shape = live.masks[m].frames[f];
            const auto& key = layer.masks[m].keyframes.at(static_cast<std::size_t>(picture.frame_numbers[f]));
            ASSERT_EQ(shape.size(), key.vertices.size());
            for (std::size_t v = 0; v < shape.size(); ++v) {
                ExpectVertex(key.vertices[v],
                             {{shape[v].x, shape[v].y},
                              {shape[v].tan_in_x, shape[v].tan_in_y},
                              {shape[v].tan_out_x, shape[v].tan_out_y}},
                             kFixedPointStep);
            }
        }
    }
}

TEST(Examples, DriverMovesItsVertexAndFollowerReadsItsOwn) {
    const ScratchFolder folder;
    const pf::ProjectDescription result = RunFile(folder, kExamples / "drive_and_follow.json");
    ExpectReportClean(result);
    const pf::LayerDescription& layer = result.layers.at(0);
    // The still square ends where the driver's last keyframe put vertex 2.
    ExpectVertex(layer.masks[0].vertices.at(2), {{150, 140}, {0, -25}, {-25, 0}});
    // The follower holds the animated wave's vertex 1 at the last frame.
    const pf::EffectDescription& follower = Effect(layer, "Follower");
    EXPECT_EQ(PointValue(follower, "Point"), (pf::Point{220, 140}));
    EXPECT_EQ(PointValue(follower, "Tan In"), (pf::Point{-20, 30}));
    EXPECT_EQ(layer.masks[1].keyframes.size(), 2u);
}

TEST(Examples, PolarSymmetricTangentTurnsAndMirrors) {
    const ScratchFolder folder;
    const pf::ProjectDescription result = RunFile(folder, kExamples / "polar_symmetric.json");
    ExpectReportClean(result);
    const pf::LayerDescription& layer = result.layers.at(0);
    // At the last frame the in tangent points right (90 degrees), the out
    // tangent mirrors it.
    ExpectVertex(layer.masks[0].vertices.at(1), {{170, 100}, {40, 0}, {-40, 0}});
    const pf::EffectDescription& twist = Effect(layer, "Twist");
    EXPECT_TRUE(Control(twist, "Tan In").ui->greyed);
    EXPECT_FALSE(Control(twist, "Tan In Radius").ui->greyed);
}

TEST(Examples, ExpressionsReadAnotherInstancesPoint) {
    const ScratchFolder folder;
    const pf::ProjectDescription result = RunFile(folder, kExamples / "expression_point.json");
    ExpectReportClean(result);
    const pf::LayerDescription& layer = result.layers.at(0);
    const std::vector<pf::Vertex>& bar = layer.masks[0].vertices;
    EXPECT_NEAR(bar.at(0).position.y, 120, 1e-4);      // the leader's last keyframe
    EXPECT_NEAR(bar.at(2).position.y, 160 - 120, 1e-4);  // its echo, mirrored
    EXPECT_NEAR(bar.at(1).position.y, 80 + 30 * std::sin(2 * M_PI * 29 / 30), 1e-4);
    // Values before expressions stay as given.
    EXPECT_EQ(PointValue(Effect(layer, "Echo"), "Point"), (pf::Point{210, 80}));
}

class ResultTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ResultTest, ReadBackAsAProjectBuildsItself) {
    const ScratchFolder folder;
    const pf::ProjectDescription first = RunFile(folder, kExamples / GetParam(), "first");
    const pf::ProjectDescription second = RunFile(folder, folder.path() / "first" / "result.json", "second");
    EXPECT_EQ(second.composition, first.composition);
    EXPECT_EQ(second.layers, first.layers);
}

INSTANTIATE_TEST_SUITE_P(Examples, ResultTest,
                         ::testing::Values("demo.json", "drive_and_follow.json", "polar_symmetric.json",
                                           "expression_point.json"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace knotwell::test
