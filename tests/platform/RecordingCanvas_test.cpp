// Tests of the recording canvas: the state kept with each call and the fixed text measure.
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace kurvex {
namespace {

TEST(RecordingCanvas, KeepsTheStateInForceAtEachCallAndMeasuresByCharacters)
{
    RecordingCanvas c;
    c.setPenColor(clRed);
    c.moveTo(1, 2);
    c.lineTo(5, 6);
    c.setPenStyle(PenStyle::Dot);
    c.setClipRect({0, 0, 10, 10});
    c.setWindowOrigin(4, 5);
    c.polyline({{0, 0}, {1, 1}});

    const auto lines = c.callsOf(CanvasOp::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<Point>{{1, 2}, {5, 6}}));
    EXPECT_EQ(lines[0].pen.style, PenStyle::Solid);
    EXPECT_FALSE(lines[0].hasClip);
    const CanvasCall poly = c.callsOf(CanvasOp::Polyline).at(0);
    EXPECT_EQ(poly.pen.style, PenStyle::Dot);
    EXPECT_EQ(poly.clip, (Rect{0, 0, 10, 10}));
    EXPECT_EQ(poly.origin, (Point{4, 5}));
    EXPECT_EQ(c.count(CanvasOp::SetClipRect) + c.count(CanvasOp::SetWindowOrigin), 2u);
    EXPECT_EQ(c.penPos(), (Point{5, 6})); // a polyline does not move the current position

    EXPECT_EQ(c.textWidth("0,5π"), 4 * RecordingCanvas::kCharWidth); // π is one character of two bytes
    c.setFontHeight(26);
    EXPECT_EQ(c.textHeight("X"), 26);
    c.textOut(3, 4, "ä");
    EXPECT_EQ(c.texts(), (std::vector<std::string>{"ä"}));
    c.clear();
    EXPECT_TRUE(c.calls().empty());
}

} // namespace
} // namespace kurvex
