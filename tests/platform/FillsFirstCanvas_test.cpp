// Fills under lines for printer and metafile on a single layer: the order the target gets the calls
// in.
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

} // namespace
} // namespace kurvex
