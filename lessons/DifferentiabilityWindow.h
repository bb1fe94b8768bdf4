// Differentiability window (TForm20): secants of a function pieced together at P, and the tangent of
// its left piece.
#pragma once

#include "lessons/TangentProblemWindow.h"

namespace kurvex {

// The tangent-problem window with f = f1 at and left of xP and f = f2 right of it; everything not
// overridden here is the tangent-problem window's.
class DifferentiabilityWindow : public TangentProblemWindow {
    Q_OBJECT
public:
    explicit DifferentiabilityWindow(QWidget* owner = nullptr);

    TermField& firstPiece() const { return *termField_; }
    TermField& secondPiece() const { return *secondPiece_; }

protected:
    std::optional<double> functionValue(double x) const override;
    // Two runs, so that a jump at xP is not joined by a line.
    void drawGraph() override;
    // "f1;f2"
    std::string exampleText() const override;
    void applyExampleText(const std::string& text) override;

private:
    void buildPieceRows();

    TermField* secondPiece_ = nullptr;
};

} // namespace kurvex
