// Function-graph window "Funktionsgraphen": five graph families with parameters a to d, tangent,
// slope triangle, derivative, vertex, animations, colour spectrum and fixed curves.
#pragma once

#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/LessonWindow.h"

#include <QPointer>

#include <array>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QScrollBar;
class QSlider;
class QTabBar;
class QToolButton;

namespace kurvex {

class ColorButton;
class LineWidthComboBox;

// Dragging the plot moves the vertex of the parabola (tabs 1 and 2 only).
inline bool VertexDrag = false;

// One parameter row (a, b, c or d): value, reset, bar, range, animation switch, direction.
struct ParameterRow {
    QWidget* box = nullptr;
    QLabel* caption = nullptr;
    QLineEdit* value = nullptr;
    QToolButton* reset = nullptr;
    QScrollBar* bar = nullptr;
    QLineEdit* min = nullptr;
    QLineEdit* max = nullptr;
    ToggleSwitch* toggle = nullptr;
    QToolButton* direction = nullptr;
    // The shared variables the row shows, and its start values in IniSettings.
    double* param = nullptr;
    double* paramMin = nullptr;
    double* paramMax = nullptr;
    double IniSettingsRecord::*startValue = nullptr;
    double IniSettingsRecord::*startMin = nullptr;
    double IniSettingsRecord::*startMax = nullptr;
};

class FunctionGraphWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit FunctionGraphWindow(QWidget* owner = nullptr);
    ~FunctionGraphWindow() override;

    // The window's row of the lesson-window variants.
    static LessonVariant formVariant();

    // Decorations that are on (vertex mark, slope triangle with f' marker), then the curve.
    void DrawCurve(double xLeft, double xRight, double xFrom, double xTo);
    // Ranges without room replaced by their start ranges, the twelve parameter edits shown, the
    // bars set from the values (without the guard, so the values snap to the bar grid).
    void checkRanges();

    // ---- Handlers, also driven by the tests ----
    void TabControl1Change();
    void ScrollBarChange(int row, int position);
    void ValueEditExit(int row);
    void RangeEditExit(int row, bool upper);
    void ResetRowClick(int row);
    void Edit1Exit();
    void Edit12Exit();
    void Edit11Exit();
    void SpeedButton13Click();
    void TrackBar1Change(int position);
    void BitCheckBox2Click();
    void BitCheckBox3Click();
    void BitCheckBox6Click();
    void ColorButton1Change();
    void LineWidthComboBox1Change();
    // Animations of a parameter row and of the current point's x.
    void ParameterSwitchClick(int row);
    void Switch4Click();
    void SpeedButton24Click() { reverseAnimation(); }
    void TrackBar2Change(int position);
    void BitCheckBox9Click();
    void BitCheckBox10Click();
    void SpeedButton6Click();
    void SpeedButton12Click();
    void SpeedButton5Click();

    // ---- Window state ----
    bool ShowTangent = false;
    bool ShowSlopeTriangle = false;
    bool MarkVertex = false;
    // Set while an edit moves a bar, so that the typed value keeps its digits.
    bool ScrollSyncGuard = false;

    // ---- Controls (object names as in the layout: Edit2, ScrollBar1, Switch1, ...) ----
    QTabBar* TabControl1 = nullptr;
    QLabel* Label8 = nullptr;
    ColorButton* ColorButton1 = nullptr;
    LineWidthComboBox* LineWidthComboBox1 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit12 = nullptr;
    std::array<ParameterRow, 4> rows;
    QWidget* Panel4 = nullptr;
    BitCheckBox* BitCheckBox2 = nullptr; // "Steigungsdreieck"
    QSlider* TrackBar1 = nullptr;
    BitCheckBox* BitCheckBox4 = nullptr; // "Tangente"
    BitCheckBox* BitCheckBox1 = nullptr; // "f' Ableitungsfunktion"
    QLineEdit* Edit11 = nullptr;
    QToolButton* SpeedButton13 = nullptr;
    ToggleSwitch* Switch4 = nullptr;
    QToolButton* SpeedButton27 = nullptr;
    BitCheckBox* BitCheckBox3 = nullptr; // "Scheitel verschieben"
    BitCheckBox* BitCheckBox6 = nullptr; // "Scheitel markieren"
    QLabel* Label5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;  // "Objekt einfügen"
    QToolButton* SpeedButton12 = nullptr; // "Letztes Objekt in der Liste löschen"
    QToolButton* SpeedButton5 = nullptr;  // "alle Objekte löschen"
    BitCheckBox* BitCheckBox10 = nullptr; // "Kurvenschar fixieren"
    BitCheckBox* BitCheckBox9 = nullptr;  // spectrum on
    QSlider* TrackBar2 = nullptr;

protected:
    void paintBackground() override;
    void paintForeground() override;
    std::optional<double> curveValue(double x) override;
    void refreshControls() override;
    void beforeSettings() override;
    void plotMove(QMouseEvent* event) override;
    void updatePlotCursor() override;
    void showEvent(QShowEvent* event) override;
    bool panelRightClick(QMouseEvent* event) override;

private:
    // Construction (FunctionGraphLayout.cpp).
    void buildTopRow();
    void buildTermRow();
    void buildParameterRows();
    void buildPointPanel();
    void buildVertexAndObjects();
    void connectControls();

    // Steps 1 to 4 of the tab change: visibility, kind, captions, term; no redraw.
    void applyTab();
    // ParsedTerm := the term of the tab's edit, compiled once when the window first needs it.
    void loadTabTerm(int tab);
    // Edit1 and Edit12: compile a changed term (its message shows once) and keep its text.
    void termEditExit(QLineEdit* edit, std::optional<TermTree>& tree, std::string& term);
    // The bar's maximum and its position from the value; without the guard the value snaps.
    void setBarFromValue(ParameterRow& row);
    void showRow(const ParameterRow& row);
    void updateObjectButtons();
    // Fixes the current curve and traces it into the background.
    void traceCurrentCurve();
    void addFamilyCurve();

    // Drawing (FunctionGraphDrawing.cpp).
    void drawVertexMark();
    void drawSlopeTriangle();
    // Tangent segment at CurrentX in colour, half the length given by lengthFactor along the line.
    void drawTangent(TColor color, double lengthFactor, bool withSilverLine);
    void updateVertexLabel();

    bool firstShow_ = true;
    // The compiled terms of Edit1 and Edit12 once loaded or left.
    std::optional<TermTree> generalTerm_;
    std::optional<TermTree> shiftedTerm_;
};

inline QPointer<FunctionGraphWindow> OpenedFunctionGraphWindow;

} // namespace kurvex
