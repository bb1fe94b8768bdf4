// Limit-and-continuity window (TForm11) "Grenzwert - Stetigkeit": a function in two pieces, the ε
// strip around f(x0), the δ neighbourhood of x0 and the image of each of its halves.
#pragma once

#include "core/EpsilonDelta.h"
#include "lesson/LessonWindow.h"

class QLineEdit;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class ExampleListPanel;
class TermField;
class ValueRow;

class LimitWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit LimitWindow(QWidget* owner = nullptr);

    static LessonVariant windowVariant();

    double epsilon() const { return epsilon_; }
    double delta() const { return delta_; }

protected:
    void paintCoordinateSystem(int pane) override;
    void paintForeground(int pane) override;
    void refreshControls() override;
    void worldChanged(WorldChange how) override;
    void closing() override;

private:
    // LimitWindow.cpp
    void buildPieces();
    void buildRows();
    void buildOptions();
    void connectControls();
    void onTermChanged();
    void onAddExample();
    void onFetchExample(int index);

    // LimitDrawing.cpp
    CurveValueFunction piece(NeighbourhoodSide side) const;
    void drawEpsilonStrip();
    void drawPieces();
    // Help lines, the δ half on the x axis and its image on the y axis.
    void drawHalf(NeighbourhoodSide side);
    void drawStripLines();
    void drawMarkers();
    // Without f(x0) there is no strip to draw: the picture says why.
    void drawUndefinedValueNote();
    void drawLetters();

    double epsilon_ = 1.0;
    double delta_ = 1.0;
    bool showStripLabels_ = false;

    // The two pieces, left and right of x0.
    TermField* term1_ = nullptr;
    TermField* term2_ = nullptr;
    // x0, ε and δ, with the colours of the strip, the δ halves and their images.
    ValueRow* pointRow_ = nullptr;
    ValueRow* epsilonRow_ = nullptr;
    ValueRow* deltaRow_ = nullptr;
    ColorButton* epsilonColour_ = nullptr;
    ColorButton* deltaColour_ = nullptr;
    ColorButton* imageColour_ = nullptr;
    BitCheckBox* labelsBox_ = nullptr;
    ExampleListPanel* examples_ = nullptr;
};

} // namespace kurvex
