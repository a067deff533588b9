// KnotwellMaker's make, played through the headless host with the real
// plug-ins.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/scene.h"

namespace knotwell::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<double> MaskIndices(const std::vector<EffectInstance*>& instances) {
    std::vector<double> indices;
    for (const EffectInstance* fx : instances) indices.push_back(Number(*fx, kKnotwellIndex));
    return indices;
}

bool operator==(const PF_LRect& a, const PF_LRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(MakeTest, MakeAndIndexDecideWhatIsMade) {
    struct Case {
        const char* what;
        int masks;
        double index;
        bool all;
        bool execute;
        double index_after;
        std::vector<double> made;  // "Index" of each Knotwell applied, in order
        bool baker;                // a baker applied, with "Index" baker_index
        double baker_index;
        bool refresh;
    };
    const Case cases[] = {
        {"idle, index in range", 2, 1, false, false, 1, {}, false, 0, false},
        {"idle, index past the masks", 2, 5, false, false, 1, {}, false, 0, false},
        {"index past the masks", 2, 5, false, true, 1, {1, 1, 1, 1, 1}, true, 1, true},
        {"no masks", 0, 3, false, true, -1, {}, false, 0, true},
        {"index -1, all off", 2, -1, false, true, -1, {}, false, 0, true},
        {"index -1, all on", 2, -1, true, true, -1, {0, 0, 0, 0, 1, 1, 1, 1, 1}, true, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s;
        if (c.masks > 0) {
            s.AddMask(ClosedFour());
            s.AddMask(OpenFive());
        }
        EffectInstance& maker = s.ApplyMaker(c.index, c.all);
        if (c.execute) maker.SetControl(kMakerMake, kExecute);
        const std::string before = s.Dump();

        const host::RenderResult render = s.Render();
        const host::FrameReply& frame = FrameOf(render, 0);
        EXPECT_EQ(frame.err(), PF_Err_NONE);
        EXPECT_EQ(frame.pre_render.return_msg(), "");
        EXPECT_EQ((frame.pre_render.out.out_flags & PF_OutFlag_REFRESH_UI) != 0, c.refresh);
        EXPECT_TRUE(frame.pre_render_output.result_rect == (PF_LRect{0, 0, 64, 64}));
        EXPECT_TRUE(frame.pre_render_output.max_result_rect == (PF_LRect{0, 0, 64, 64}));
        EXPECT_EQ(Number(maker, kMakerIndex), c.index_after);
        EXPECT_EQ(Number(maker, kMakerMake), kIdle);
        EXPECT_THAT(MaskIndices(s.Instances(kKnotwell)), ElementsAreArray(c.made));
        const std::vector<EffectInstance*> bakers = s.Instances(kBaker);
        ASSERT_EQ(bakers.size(), c.baker ? 1u : 0u);
        if (c.baker) {
            EXPECT_EQ(s.EffectNames().back(), kBaker);
            EXPECT_EQ(Number(*bakers[0], kBakerIndex), c.baker_index);
            EXPECT_EQ(Number(*bakers[0], kBakerAll), c.all ? 1 : 0);
            EXPECT_EQ(Number(*bakers[0], kBakerBake), kIdle);
        }
        if (!c.execute && c.index == c.index_after) {
            EXPECT_EQ(s.Dump(), before) << "nothing is written";
        }
        EXPECT_EQ(s.LeakReportAfterShutdown(), "");
    }
}

TEST(MakeTest, MissingEffectsAreNoticedWithoutAnError) {
    struct Case {
        const char* what;
        std::vector<std::string_view> plugins;
        bool baker;
        const char* notice;
        std::size_t knotwells;
        std::size_t bakers;
    };
    const Case cases[] = {
        {"no Knotwell", {"KnotwellMaker", "KnotwellBaker"}, true, "No Knotwell", 0, 0},
        {"neither", {"KnotwellMaker"}, true, "No Knotwell Baker", 0, 0},
        {"no baker", {"Knotwell", "KnotwellMaker"}, true, "No Knotwell Baker", 4, 0},
        {"no baker, none asked for", {"Knotwell", "KnotwellMaker"}, false, "", 4, 0},
        {"baker installed, none asked for", {"Knotwell", "KnotwellMaker", "KnotwellBaker"}, false, "", 4, 0},
        {"both installed", {"Knotwell", "KnotwellMaker", "KnotwellBaker"}, true, "", 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s(Generation::kCurrent, c.plugins);
        s.AddMask(ClosedFour());
        EffectInstance& maker = s.ApplyMaker(0, false, c.baker);
        maker.SetControl(kMakerMake, kExecute);

        const host::RenderResult render = s.Render();
        const host::FrameReply& frame = FrameOf(render, 0);
        EXPECT_EQ(frame.err(), PF_Err_NONE);
        EXPECT_EQ(frame.pre_render.return_msg(), c.notice);
        const bool made = c.knotwells > 0;
        // Without Knotwell the button stays on "Execute" and nothing changes.
        EXPECT_EQ(frame.pre_render.out.out_flags, made ? PF_OutFlag_REFRESH_UI : 0);
        EXPECT_EQ(Number(maker, kMakerMake), made ? kIdle : kExecute);
        EXPECT_EQ(s.Instances(kKnotwell).size(), c.knotwells);
        EXPECT_EQ(s.EffectCount(), 1 + c.knotwells + c.bakers);
        EXPECT_EQ(s.LeakReportAfterShutdown(), "");
    }
}

TEST(MakeTest, EachInstanceReproducesItsVertexInBothTangentForms) {
    Scene s;
    s.AddMask(ClosedFour());
    s.AddMask(OpenFive());
    s.ApplyMaker(-1, true).SetControl(kMakerMake, kExecute);
    const host::RenderResult render = s.Render();
    EXPECT_EQ(render.FirstError(), PF_Err_NONE);
    EXPECT_TRUE(render.settled);

    const std::vector<EffectInstance*> instances = s.Instances(kKnotwell);
    ASSERT_EQ(instances.size(), 9u);
    std::size_t next = 0;
    for (std::size_t k = 0; k < 2; ++k) {
        const MaskOutline outline = k == 0 ? ClosedFour() : OpenFive();
        for (std::size_t v = 0; v < outline.vertices.size(); ++v) {
            SCOPED_TRACE("mask " + std::to_string(k) + " vertex " + std::to_string(v));
            const EffectInstance& fx = *instances[next++];
            const AEGP_MaskVertex& vertex = outline.vertices[v];
            EXPECT_EQ(Number(fx, kKnotwellIndex), static_cast<double>(k));
            EXPECT_EQ(Number(fx, kKnotwellNo), static_cast<double>(v));
            EXPECT_EQ(Point(fx, kKnotwellPoint).x, vertex.x);
            EXPECT_EQ(Point(fx, kKnotwellPoint).y, vertex.y);
            EXPECT_EQ(Point(fx, kKnotwellTanIn).x, vertex.tan_in_x);
            EXPECT_EQ(Point(fx, kKnotwellTanIn).y, vertex.tan_in_y);
            EXPECT_EQ(Point(fx, kKnotwellTanOut).x, vertex.tan_out_x);
            EXPECT_EQ(Point(fx, kKnotwellTanOut).y, vertex.tan_out_y);
            EXPECT_EQ(Number(fx, kKnotwellCoordinate), kKnotwellCartesian);
            EXPECT_EQ(Number(fx, kKnotwellSymmetric), 0);
            EXPECT_EQ(Number(fx, kKnotwellOn), 1);
        }
    }
    // The polar form of the closed mask's tangents: up, right, up-left, none.
    struct Polar {
        double in_radius, in_angle, out_radius, out_angle;
    };
    const Polar polar[] = {{10, 0, 10, 180}, {10, 90, 10, 270}, {std::sqrt(200.0), -45, std::sqrt(200.0), 135},
                           {0, 0, 0, 0}};
    for (std::size_t v = 0; v < 4; ++v) {
        SCOPED_TRACE("vertex " + std::to_string(v));
        const EffectInstance& fx = *instances[v];
        EXPECT_NEAR(Number(fx, kKnotwellTanInRadius), polar[v].in_radius, 1e-12);
        EXPECT_NEAR(Number(fx, kKnotwellTanInAngle), polar[v].in_angle, 1e-12);
        EXPECT_NEAR(Number(fx, kKnotwellTanOutRadius), polar[v].out_radius, 1e-12);
        EXPECT_NEAR(Number(fx, kKnotwellTanOutAngle), polar[v].out_angle, 1e-12);
    }
    ASSERT_EQ(render.info.size(), 2u);
    EXPECT_EQ(render.info[0].line1, "Index:0");
    EXPECT_EQ(render.info[0].line2, "Vertex:0-3");
    EXPECT_EQ(render.info[1].line1, "Index:1");
    EXPECT_EQ(render.info[1].line2, "Vertex:0-4");
    // Switched on, the instances hold the masks where they were.
    EXPECT_EQ(MaxDifference(ShapeAt(s.mask(0), 0), ClosedFour()), 0.0);
    EXPECT_EQ(MaxDifference(ShapeAt(s.mask(1), 0), OpenFive()), 0.0);
    EXPECT_EQ(s.LeakReportAfterShutdown(), "");
}

TEST(MakeTest, MakingTheSameMaskTwiceAddsASecondSet) {
    Scene s;
    s.AddMask(ClosedFour());
    EffectInstance& maker = s.ApplyMaker(0, false);
    for (int make = 0; make < 2; ++make) {
        maker.SetControl(kMakerMake, kExecute);
        EXPECT_EQ(s.Render().FirstError(), PF_Err_NONE);
    }
    const std::string k(kKnotwell);
    const std::string b(kBaker);
    EXPECT_THAT(s.EffectNames(), ElementsAre(std::string(kMaker), k, k, k, k, b, k, k, k, k, b));
    std::vector<double> numbers;
    for (const EffectInstance* fx : s.Instances(kKnotwell)) numbers.push_back(Number(*fx, kKnotwellNo));
    EXPECT_THAT(numbers, ElementsAre(0, 1, 2, 3, 0, 1, 2, 3));
}

TEST(MakeTest, AFailureDuringTheFirstMaskIsReturnedAndTheInfoPanelStillShowsEveryMask) {
    struct Case {
        const char* call;
        long occurrence;
        const char* first_range;  // the Info panel's vertex range of mask 0
        std::size_t applied;
    };
    const Case cases[] = {
        {"AEGP_GetNewMaskStream", 1, "Vertex:0--1", 0},
        {"AEGP_GetMaskOutlineVertexInfo", 2, "Vertex:0-3", 2},
    };
    constexpr PF_Err kCode = 1234;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        Scene s;
        s.AddMask(ClosedFour());
        s.AddMask(OpenFive());
        s.ApplyMaker(-1, true).SetControl(kMakerMake, kExecute);
        s.host.faults().fail_occurrence.push_back({c.call, c.occurrence, kCode});

        const host::RenderResult render = s.Render();
        EXPECT_EQ(FrameOf(render, 0).err(), kCode);
        ASSERT_EQ(render.info.size(), 2u);
        EXPECT_EQ(render.info[0].line1, "Index:0");
        EXPECT_EQ(render.info[0].line2, c.first_range);
        EXPECT_EQ(render.info[1].line1, "Index:1");
        EXPECT_EQ(render.info[1].line2, "Vertex:0--1");
        EXPECT_EQ(s.Instances(kKnotwell).size(), c.applied);
        EXPECT_TRUE(s.Instances(kBaker).empty());
        EXPECT_EQ(s.LeakReportAfterShutdown(), "");
    }
}

}  // namespace
}  // namespace knotwell::test
