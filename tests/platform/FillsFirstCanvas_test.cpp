// Fills under lines for printer and metafile: the order the target gets the calls in, and the state
// each call is drawn with.
#include "platform/FillsFirstCanvas.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace kurvex {
namespace {

// The drawing calls the target got, in order, without moves and state changes.
std::vector<CanvasCall> drawn(const RecordingCanvas& target)
{
    std::vector<CanvasCall> out;
    for (const CanvasCall& c : target.calls()) {
        if (c.op != CanvasOp::MoveTo && c.op != CanvasOp::SetClipRect && c.op != CanvasOp::ClearClip &&
            c.op != CanvasOp::SetWindowOrigin) {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<CanvasOp> ops(const std::vector<CanvasCall>& calls)
{
    std::vector<CanvasOp> out;
    for (const CanvasCall& c : calls) {
        out.push_back(c.op);
    }
    return out;
}

TEST(FillsFirstCanvasTest, EveryFillOfALayeredPictureGoesUnderEveryLineWithItsOwnState)
{
    RecordingCanvas target;
    target.setWindowOrigin(10, 20);
    FillsFirstCanvas c(target, FillsFirstCanvas::Fills::All);
    EXPECT_EQ(c.windowOrigin(), (Point{10, 20}));
    // The background pass: an axis and its label.
    c.setPen({clBlack, 2, PenStyle::Solid});
    c.moveTo(0, 50);
    c.lineTo(100, 50);
    c.textOut(90, 55, "x");
    // The foreground pass, in the lower pane: a solid area over the axis, then a curve.
    c.setWindowOrigin(10, 120);
    c.setClipRect({0, 0, 100, 100});
    c.setPen({clYellow, 1, PenStyle::Solid});
    c.setBrush({clYellow, BrushStyle::Solid});
    c.polygon({{10, 40}, {60, 40}, {60, 60}});
    c.setPen({clRed, 1, PenStyle::Solid});
    c.lineTo(80, 10);
    c.finish();

    const std::vector<CanvasCall> calls = drawn(target);
    ASSERT_EQ(ops(calls), (std::vector<CanvasOp>{CanvasOp::Polygon, CanvasOp::LineTo, CanvasOp::TextOut,
                                                 CanvasOp::LineTo}));
    EXPECT_EQ(std::pair(calls[0].origin, calls[0].hasClip), std::pair(Point{10, 120}, true));
    EXPECT_EQ(calls[0].brush.color, clYellow);
    EXPECT_EQ(std::pair(calls[1].origin, calls[1].hasClip), std::pair(Point{10, 20}, false));
    EXPECT_EQ(calls[1].points, (std::vector<Point>{{0, 50}, {100, 50}}));
    EXPECT_EQ(calls[1].pen.color, clBlack);
    // The curve goes on from where the pen stood, in the pane it was drawn in.
    EXPECT_EQ(calls[3].points, (std::vector<Point>{{100, 50}, {80, 10}}));
    EXPECT_EQ(std::pair(calls[3].origin, calls[3].clip), std::pair(Point{10, 120}, Rect{0, 0, 100, 100}));
}

TEST(FillsFirstCanvasTest, OnOneLayerAHatchGoesUnderTheLinesAndASolidFillCoversTheLinesItLiesOn)
{
    RecordingCanvas target;
    FillsFirstCanvas c(target, FillsFirstCanvas::Fills::Hatched);
    const auto line = [&c](int y) {
        c.moveTo(0, y);
        c.lineTo(100, y);
    };
    line(10);  // under the strips
    line(300); // far from them
    c.setBrush({clGreen, BrushStyle::FDiagonal});
    c.rectangle(0, 0, 100, 50);
    c.setBrush({clWhite, BrushStyle::Solid});
    c.rectangle(0, 0, 100, 50);
    // An outline without fill is a line.
    c.setBrush({clWhite, BrushStyle::Clear});
    c.rectangle(0, 0, 100, 50);
    c.finish();

    const std::vector<CanvasCall> calls = drawn(target);
    ASSERT_EQ(ops(calls), (std::vector<CanvasOp>{CanvasOp::Rectangle, CanvasOp::LineTo, CanvasOp::Rectangle,
                                                 CanvasOp::LineTo, CanvasOp::Rectangle}));
    EXPECT_EQ(calls[0].brush.style, BrushStyle::FDiagonal);
    EXPECT_EQ(calls[1].points.front().y, 10);
    EXPECT_EQ(calls[2].brush.style, BrushStyle::Solid);
    EXPECT_EQ(calls[3].points.front().y, 300);
    EXPECT_EQ(calls[4].brush.style, BrushStyle::Clear);
}

TEST(FillsFirstCanvasTest, AnAxisCoveredAtItsEndByItsArrowheadStaysOverTheHatchesThatFollow)
{
    RecordingCanvas target;
    FillsFirstCanvas c(target, FillsFirstCanvas::Fills::Hatched);
    // The x-axis from 0 to 200 and its solid arrowhead over its last ten pixels.
    c.moveTo(0, 100);
    c.lineTo(200, 100);
    c.setBrush({clBlack, BrushStyle::Solid});
    c.polygon({{190, 95}, {200, 100}, {190, 105}});
    // A hatched strip standing on the axis at x 20 to 60.
    c.setBrush({clGreen, BrushStyle::FDiagonal});
    c.rectangle(20, 40, 60, 101);
    c.finish();

    const std::vector<CanvasCall> calls = drawn(target);
    ASSERT_EQ(ops(calls), (std::vector<CanvasOp>{CanvasOp::LineTo, CanvasOp::Polygon, CanvasOp::Rectangle,
                                                 CanvasOp::LineTo}));
    // Under the arrowhead the axis from where its box begins (one pixel for the pens' reach);
    // the rest of it over the strip.
    EXPECT_EQ(calls[0].points, (std::vector<Point>{{188, 100}, {200, 100}}));
    EXPECT_EQ(calls[3].points, (std::vector<Point>{{0, 100}, {188, 100}}));
}

} // namespace
} // namespace kurvex
