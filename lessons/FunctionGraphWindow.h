// Function-graph window (TForm1) "Funktionsgraphen": five graph families with parameters a to d,
// tangent, slope triangle, derivative, vertex, animations, colour spectrum and fixed curves.
#pragma once

#include "core/term/Term.h"
#include "lesson/LessonWindow.h"

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QSlider;
class QTabBar;
class QToolButton;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class FixedObjectButtons;
class LineWidthComboBox;
class TermField;
class ToggleSwitch;
class ValueRow;

// Dragging the plot moves the vertex of the parabola (tabs 1 and 2 only).
inline bool VertexDrag = false;

class FunctionGraphWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit FunctionGraphWindow(QWidget* owner = nullptr);
    ~FunctionGraphWindow() override;

    static LessonVariant windowVariant();

    // Ranges without room replaced by their start ranges, every row shown and its bar set from
    // its value without the guard, so the values snap to the bar grid.
    void checkRanges();

    ValueRow& row(int index) const { return *rows_.at(static_cast<std::size_t>(index)); }
    bool tangentShown() const { return showTangent_; }
    bool slopeTriangleShown() const { return showSlopeTriangle_; }
    bool vertexMarked() const { return markVertex_; }

protected:
    void paintBackground(int pane) override;
    void paintForeground(int pane) override;
    std::optional<double> curveValue(double x) override;
    void refreshControls() override;
    void beforeSettings() override;
    void plotMove(QMouseEvent* event) override;
    bool plotDragAvailable() const override;
    bool panelRightClick(QMouseEvent* event) override;

private:
    // FunctionGraphLayout.cpp
    void buildTopRow();
    void buildTermRow();
    void buildParameterRows();
    void buildPointPanel();
    void buildVertexAndObjects();
    void connectControls();

    // Handlers
    void onTabChanged();
    // With the spectrum on, the curve takes the colour of the row's value.
    void takeSpectrumColour(int row);
    // After a parameter moved by its bar or its animation.
    void redrawParameterStep();
    void onPointEntered();
    void onResetPoint();
    void onDecorationsToggled();
    void onVertexDragToggled();
    void onPointAnimation();
    void onSpectrumToggled();
    void onFixObject();
    void onDeleteLastObject();
    void onDeleteAllObjects();

    // Visibility, kind, captions and term of the chosen tab; no redraw.
    void applyTab();
    TermField& tabTermField(int tab) const;
    void updateObjectButtons();
    // Fixes the current curve and traces it into the background.
    void traceCurrentCurve();
    void addFamilyCurve();

    // FunctionGraphDrawing.cpp
    // The curve of CurveKind from xFrom to xTo, after the vertex mark and slope triangle that go
    // with every curve drawn.
    void drawKindCurve(double xFrom, double xTo);
    void drawVertexMark();
    void drawSlopeTriangle();
    // Tangent segment at CurrentX in colour, half the length given by lengthFactor along the line.
    void drawTangent(TColor color, double lengthFactor, bool withSilverLine);
    void updateVertexLabel();

    bool showTangent_ = false;
    bool showSlopeTriangle_ = false;
    bool markVertex_ = false;

    QTabBar* tabs_ = nullptr;
    QLabel* tabCaption_ = nullptr;
    ColorButton* curveColourButton_ = nullptr;
    LineWidthComboBox* lineWidthBox_ = nullptr;
    QLabel* termCaption_ = nullptr;
    TermField* generalTerm_ = nullptr;
    TermField* shiftedTerm_ = nullptr;
    std::array<ValueRow*, 4> rows_{};
    QWidget* pointPanel_ = nullptr;
    BitCheckBox* slopeTriangleBox_ = nullptr;
    QSlider* stepWidthBar_ = nullptr;
    BitCheckBox* tangentBox_ = nullptr;
    BitCheckBox* derivativeBox_ = nullptr;
    QLineEdit* pointEdit_ = nullptr;
    QToolButton* resetPointButton_ = nullptr;
    ToggleSwitch* pointSwitch_ = nullptr;
    QToolButton* pointDirectionButton_ = nullptr;
    BitCheckBox* vertexDragBox_ = nullptr;
    BitCheckBox* markVertexBox_ = nullptr;
    QLabel* vertexLabel_ = nullptr;
    FixedObjectButtons* objectButtons_ = nullptr;
    BitCheckBox* fixFamilyBox_ = nullptr;
    BitCheckBox* spectrumBox_ = nullptr;
    QSlider* spectrumBar_ = nullptr;
};

} // namespace kurvex
