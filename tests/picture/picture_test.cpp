#include "headless_host/picture/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "headless_host/picture/svg_text.h"

namespace knotwell::picture {
namespace {

// Whether every element is closed in order and every attribute value is
// quoted: enough of XML to catch broken output.
bool WellFormed(const std::string& xml) {
    std::vector<std::string> open;
    std::size_t at = 0;
    while ((at = xml.find('<', at)) != std::string::npos) {
        const std::size_t end = xml.find('>', at);
        if (end == std::string::npos) return false;
        const std::string tag = xml.substr(at + 1, end - at - 1);
        at = end + 1;
        if (tag.front() == '?') continue;
        if (std::count(tag.begin(), tag.end(), '"') % 2 != 0 || tag.find('<') != std::string::npos) return false;
        const std::string name = tag.substr(tag.front() == '/', tag.find_first_of(" />", 1) - (tag.front() == '/'));
        if (tag.front() == '/') {
            if (open.empty() || open.back() != name) return false;
            open.pop_back();
        } else if (tag.back() != '/') {
            open.push_back(name);
        }
    }
    return open.empty() && xml.find("nan") == std::string::npos && xml.find("inf") == std::string::npos;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

// A square of four vertices breathing over `frames` frames; vertex 0 driven.
PictureMask Square(const char* name, int frames, double size) {
    PictureMask mask{name, false, {}, {true, false, false, false}};
    for (int f = 0; f < frames; ++f) {
        const double s = size * (1 + 0.3 * std::sin(f * std::numbers::pi / 12));
        const double k = 0.4 * s;
        mask.frames.push_back({{200 - s, 150 - s, 0, k, k, 0}, {200 + s, 150 - s, 0, 0, 0, 0},
                               {200 + s, 150 + s, 0, 0, 0, 0}, {200 - s, 150 + s, 0, 0, 0, 0}});
    }
    return mask;
}

Picture TwoPanels(int frames) {
    Picture picture{"Layer \"Solid\" <after bake>", 400, 300, {}, {}};
    for (int f = 0; f < frames; ++f) picture.frame_numbers.push_back(f);
    PictureMask open_mask = Square("Mask & 2", frames, 40);
    open_mask.open = true;
    picture.panels = {{"Live (instances driving)", {Square("Mask 1", frames, 100), open_mask}},
                      {"Baked (keyframes)", {Square("Mask 1", frames, 100), open_mask}}};
    picture.panels[1].masks[0].driven.clear();
    return picture;
}

TEST(PictureTest, DrawsEveryPanelAtTheSameFramesAtMostTenOfThem) {
    for (const auto& [frames, shown] : {std::pair{3, 3}, std::pair{25, 10}}) {
        const std::string svg = WriteSvg(TwoPanels(frames));
        EXPECT_TRUE(WellFormed(svg));
        EXPECT_EQ(Count(svg, "class=\"frame\""), 2u * shown);
        EXPECT_EQ(Count(svg, "class=\"mask-path\""), 4u * shown);
        EXPECT_EQ(Count(svg, ">frame 0<"), 2u);
        EXPECT_EQ(Count(svg, ">frame " + std::to_string(frames - 1) + "<"), 2u);
        EXPECT_NE(svg.find("Layer &quot;Solid&quot; &lt;after bake&gt;"), std::string::npos);
    }
    // Two handles of the one driven vertex, per frame, for both masks live
    // but only for the open mask once baked.
    EXPECT_EQ(Count(WriteSvg(TwoPanels(3)), "class=\"handle\""), 3u * 2 * 3);
}

TEST(PictureTest, SurvivesDegenerateInput) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Picture picture{"", nan, -1, {7}, {{"\x01 broken \xff name", {}}}};
    picture.panels[0].masks = {
        {"none", false, {{}}, {}},
        {"one", false, {{{10, 10, 0, 0, 0, 0}}}, {true}},
        {"far", false, {{{1e300, -1e300, 0, 0, 0, 0}, {0, 0, nan, 0, 0, 0}, {5, 5, 0, 0, 1e308, 0}}}, {true, true, true}},
    };
    for (const Picture& p : {picture, Picture{}}) {
        const std::string svg = WriteSvg(p);
        EXPECT_TRUE(WellFormed(svg)) << svg;
    }
    EXPECT_NE(WriteSvg(picture).find("? broken ? name"), std::string::npos);
}

TEST(SvgTextTest, EscapesMarkupAndWhatXmlCannotHold) {
    EXPECT_EQ(EscapeXml("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
    EXPECT_EQ(EscapeXml("Maske \xc3\xa4 \xe2\x82\xac\t"), "Maske \xc3\xa4 \xe2\x82\xac\t");
    EXPECT_EQ(EscapeXml("\x01\xc0\xaf\xed\xa0\x80x"), "??????x");  // control, overlong, surrogate
    EXPECT_EQ(SvgNumber(1.0), "1");
    EXPECT_EQ(SvgNumber(-0.001), "0");
    EXPECT_EQ(SvgNumber(2.345), "2.35");
}

}  // namespace
}  // namespace knotwell::picture
