// Tests of the recording canvas: the state kept with each call and the fixed text measure.
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace kurvex {
namespace {

TEST(RecordingCanvas, KeepsTheStateInForceAtEachCall)
{
    RecordingCanvas c;
    c.setPenColor(clRed);
    c.setPenWidth(3);
    c.moveTo(1, 2);
    c.lineTo(5, 6);
    c.setPenStyle(PenStyle::Dot);
    c.setBrushColor(clBlue);
    c.setClipRect({0, 0, 10, 10});
    c.setWindowOrigin(4, 5);
    c.rectangle(0, 0, 3, 3);
    c.polyline({{0, 0}, {1, 1}});

    const auto lines = c.callsOf(CanvasOp::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{1, 2}, {5, 6}}));
    EXPECT_EQ(lines[0].pen.color, clRed);
    EXPECT_EQ(lines[0].pen.width, 3);
    EXPECT_EQ(lines[0].pen.style, PenStyle::Solid);
    EXPECT_FALSE(lines[0].hasClip);
    EXPECT_EQ(c.penPos(), (Point{5, 6}));

    const auto rects = c.callsOf(CanvasOp::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].pen.style, PenStyle::Dot);
    EXPECT_EQ(rects[0].brush.color, clBlue);
    EXPECT_TRUE(rects[0].hasClip);
    EXPECT_EQ(rects[0].clip, (Rect{0, 0, 10, 10}));
    EXPECT_EQ(rects[0].origin, (Point{4, 5}));
    EXPECT_EQ(c.count(CanvasOp::SetClipRect), 1u);
    EXPECT_EQ(c.count(CanvasOp::SetWindowOrigin), 1u);
    EXPECT_EQ(c.penPos(), (Point{5, 6})); // a polyline does not move the current position

    c.clear();
    EXPECT_TRUE(c.calls().empty());
}

TEST(RecordingCanvas, MeasuresTextByCharactersAndFontHeight)
{
    RecordingCanvas c;
    EXPECT_EQ(c.textWidth("1,5"), 21);
    EXPECT_EQ(c.textWidth("0,5π"), 28); // π is one character of two bytes
    EXPECT_EQ(c.textWidth(""), 0);
    Font f;
    f.pixelHeight = 26;
    c.setFont(f);
    EXPECT_EQ(c.textHeight("X"), 26);
    c.textOut(3, 4, "ä");
    EXPECT_EQ(c.texts(), (std::vector<std::string>{"ä"}));
    EXPECT_EQ(c.callsOf(CanvasOp::TextOut)[0].font.pixelHeight, 26);
    EXPECT_EQ(utf8Length("Größe"), 5);
}

} // namespace
} // namespace kurvex
