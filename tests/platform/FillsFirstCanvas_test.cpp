// Fills under lines for printer and metafile on a single layer: the order the target gets the calls
// in.
#include "platform/FillsFirstCanvas.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kurvex {
namespace {

// What the target drew, in order: rectangles by their brush, lines by their row.
std::vector<std::string> drawnOn(const RecordingCanvas& target)
{
    std::vector<std::string> out;
    for (const CanvasCall& c : target.calls()) {
        if (c.op == CanvasOp::LineTo) {
            out.push_back("line at " + std::to_string(c.points.front().y));
        } else if (c.op == CanvasOp::Rectangle) {
            const BrushStyle s = c.brush.style;
            out.push_back(s == BrushStyle::FDiagonal ? "hatch"
                          : s == BrushStyle::Solid   ? "solid"
                                                     : "outline");
        } else if (c.op != CanvasOp::MoveTo && c.op != CanvasOp::SetClipRect && c.op != CanvasOp::ClearClip &&
                   c.op != CanvasOp::SetWindowOrigin) {
            out.push_back("something else");
        }
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

    EXPECT_EQ(drawnOn(target),
              (std::vector<std::string>{"hatch", "line at 10", "solid", "line at 300", "outline"}));
}

} // namespace
} // namespace kurvex
