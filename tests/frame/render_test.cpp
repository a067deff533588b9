// The pass-through render every plug-in shares, in both interface
// generations, and the rectangle union every pre-render reports with.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "frame/rect_union.h"
#include "headless_host/core/world.h"
#include "headless_host/driving/effect_instance.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/host.h"
#include "tests/support/plugins.h"

namespace knotwell {
namespace {

using host::EffectInstance;
using host::FrameReply;
using host::Generation;
using host::Host;

class RenderTest : public ::testing::TestWithParam<Generation> {
protected:
    void SetUp() override {
        host_ = std::make_unique<Host>(GetParam());
        host_->Load(test::PluginPath("Knotwell", GetParam()));
        instance_ = &host_->project().ApplyEffect(host_->project().DefaultLayer(), "Knotwell");
    }
    void TearDown() override {
        host_->Shutdown();
        EXPECT_EQ(host_->LeakReport(), "");
    }

    std::unique_ptr<Host> host_;
    EffectInstance* instance_ = nullptr;
};

TEST_P(RenderTest, CopiesTheInputPixelForPixelAtEveryDepth) {
    for (const PF_PixelFormat format : {PF_PixelFormat_ARGB32, PF_PixelFormat_ARGB64, PF_PixelFormat_ARGB128}) {
        instance_->SetInput(13, 7, format);
        host::FillPattern(instance_->input(), 5);
        const FrameReply frame = instance_->Render(0);
        EXPECT_EQ(frame.err(), PF_Err_NONE);
        ASSERT_TRUE(frame.rendered);
        EXPECT_EQ(frame.render.return_msg(), "");
        ASSERT_NE(instance_->output(), nullptr);
        EXPECT_TRUE(host::SamePixels(instance_->input().effect_world(), instance_->output()->effect_world()));
        // The pre-render reports the input's rectangles as its own.
        EXPECT_EQ(frame.pre_render_output.result_rect.right, 13);
        EXPECT_EQ(frame.pre_render_output.max_result_rect.bottom, 7);
    }
}

// How a render fails, what it returns and what the user sees; in every
// case every suite goes back and nothing is copied.
struct RenderFault {
    const char* what;
    void (*arrange)(Host&);
    PF_Err expected;
    const char* message;
};

const RenderFault kRenderFaults[] = {
    {"pre-render record cannot be locked",
     [](Host& h) {
         // The frame's second lock is the render's.
         h.faults().fail_occurrence.push_back({"host_lock_handle", h.calls().CallsOf("host_lock_handle") + 2, 1});
     },
     PF_Err_BAD_CALLBACK_PARAM, ""},
    {"input checkout fails", [](Host& h) { h.faults().fail_named["checkout_layer_pixels"] = 7; }, 7, ""},
    {"output checkout fails", [](Host& h) { h.faults().fail_named["checkout_output"] = 8; }, 8, ""},
    {"world suite withheld", [](Host& h) { h.faults().withheld_suites.insert({"PF World Suite", 2}); },
     PF_Err_BAD_CALLBACK_PARAM, "Couldn't load suite."},
    {"pixel format query fails", [](Host& h) { h.faults().fail_named["PF_GetPixelFormat"] = 9; }, 9, ""},
    {"copy fails", [](Host& h) { h.faults().fail_named["copy"] = 11; }, 11, ""},
};

TEST_P(RenderTest, FailuresKeepTheFailingStepsCodeAndReleaseEverything) {
    for (const RenderFault& fault : kRenderFaults) {
        SCOPED_TRACE(fault.what);
        const long copies = host_->calls().CallsOf("copy");
        fault.arrange(*host_);
        const FrameReply frame = instance_->Render(0);
        host_->faults() = {};
        EXPECT_EQ(frame.pre_render.err, PF_Err_NONE);
        EXPECT_EQ(frame.render.err, fault.expected);
        EXPECT_EQ(frame.render.return_msg(), fault.message);
        EXPECT_EQ(frame.render.shows_error(), *fault.message != '\0');
        EXPECT_EQ(host_->ledger().OpenCount("suite"), 0u);
        EXPECT_LE(host_->calls().CallsOf("copy") - copies, fault.expected == 11 ? 1 : 0);
    }
}

TEST_P(RenderTest, UnlockableRecordStopsBeforeAnyCheckout) {
    const long checkouts = host_->calls().CallsOf("checkout_layer_pixels");
    kRenderFaults[0].arrange(*host_);
    EXPECT_EQ(instance_->Render(0).render.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host_->calls().CallsOf("checkout_layer_pixels"), checkouts);
}

TEST_P(RenderTest, AnUnsupportedFormatIsRefusedAndTheOutputLeftAlone) {
    instance_->SetInput(4, 4, PF_PixelFormat_INVALID);
    const long copies = host_->calls().CallsOf("copy");
    const FrameReply frame = instance_->Render(0);
    EXPECT_EQ(frame.render.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(frame.render.return_msg(), "");
    EXPECT_EQ(host_->calls().CallsOf("copy"), copies);
    EXPECT_EQ(host_->ledger().OpenCount("suite"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Generations, RenderTest, ::testing::Values(Generation::kCurrent, Generation::kLegacy),
                         [](const auto& info) { return std::string(host::NameOf(info.param)); });

TEST(RectUnionTest, Table) {
    struct Case {
        PF_LRect dst, src, expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 20, 8}, {0, 0, 20, 10}},    // bounding rectangle
        {{3, 3, 3, 9}, {1, 2, 4, 5}, {1, 2, 4, 5}},         // empty target takes the source
        {{3, 3, 3, 9}, {7, 7, 1, 1}, {7, 7, 1, 1}},         // ... even an empty one
        {{0, 0, 10, 10}, {5, 5, 5, 20}, {0, 0, 10, 10}},    // empty source changes nothing
        {{0, 0, 10, 10}, {-4, 2, 3, 30}, {-4, 0, 10, 30}},  // grows on every side it must
        {{2, 9, 8, 4}, {0, 0, 1, 1}, {0, 0, 1, 1}},         // top >= bottom is empty too
    };
    for (const Case& c : cases) {
        PF_LRect dst = c.dst;
        UnionRect(c.src, dst);
        EXPECT_EQ(dst.left, c.expected.left);
        EXPECT_EQ(dst.top, c.expected.top);
        EXPECT_EQ(dst.right, c.expected.right);
        EXPECT_EQ(dst.bottom, c.expected.bottom);
    }
}

}  // namespace
}  // namespace knotwell
