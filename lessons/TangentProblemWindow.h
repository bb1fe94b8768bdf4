// Tangent-problem window (TForm8): secants through P and Q turning into the tangent.
#pragma once

#include "core/SecantTangent.h"
#include "lesson/LessonWindow.h"

#include <QString>

#include <optional>
#include <string>

class QLabel;
class QVBoxLayout;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class ExampleListPanel;
class FixedObjectButtons;
class TermField;
class ValueRow;

// What the frame draws besides the points and secants.
struct TangentDisplay {
    bool tangent = false;
    bool tangentTriangle = false;
    bool secantTriangle = false;
    bool pointLabels = false;
    bool helpLines = false;
};

// The window and the base of its twin, the differentiability window, which changes the term row,
// the function, the graph and the example lines.
class TangentProblemWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit TangentProblemWindow(QWidget* owner = nullptr);
    ~TangentProblemWindow() override;

    static LessonVariant windowVariant();

    const TangentDisplay& display() const { return display_; }
    // Check boxes and flags together; no frame.
    void setDisplay(const TangentDisplay& display);
    ValueRow& pointRowP() const { return *rowP_; }
    ValueRow& pointRowQ() const { return *rowQ_; }
    ExampleListPanel& examplePanel() const { return *examplePanel_; }
    // The texts of the secant's and the tangent's slope labels.
    QString secantSlopeText() const;
    QString tangentSlopeText() const;

    // "Sekante fixieren", "Sekante löschen", "Liste löschen".
    void fixSecant();
    void deleteNewestSecant();
    void deleteAllSecants();

protected:
    // What the twin has of its own besides its hooks.
    struct WindowTexts {
        QString title;
        std::string exampleFile;
        std::string defaultExample;
    };
    // Builds everything but the term row, whose place termArea() keeps at the top of the panel.
    TangentProblemWindow(const WindowTexts& texts, QWidget* owner);
    QVBoxLayout* termArea() const { return termArea_; }
    // A term edit bound to its variable; once left, its term goes into shared as well, and a frame
    // follows (after a wrong term only when redrawAfterError).
    TermField* addTermField(const char* editName, std::string& term, TermTree& shared, bool redrawAfterError,
                            QWidget* parent);
    // A small letter set low after the first chars characters of a caption ("x" with "P").
    static QLabel* attachSubscript(QLabel* caption, int chars, const char* name, const QString& letter);

    // ---- The twin's hooks ----
    // f at x, nothing where it is undefined.
    virtual std::optional<double> functionValue(double x) const;
    // The graph of f over the window.
    virtual void drawGraph();
    // The list line of the terms in the edits, and the terms of a fetched line (compiled and kept).
    virtual std::string exampleText() const;
    virtual void applyExampleText(const std::string& text);

    // The term whose derivative at P is the tangent's slope (f here, the left piece in the twin).
    TermField* termField_ = nullptr;

    // ---- LessonWindow ----
    void paintCoordinateSystem(int pane) override;
    void paintForeground(int pane) override;
    std::optional<double> curveValue(double x) override;
    void refreshControls() override;
    void checkWorld() override;
    void worldChanged(WorldChange how) override;
    void plotPress(QMouseEvent* event) override;
    void plotMove(QMouseEvent* event) override;
    void closing() override;

private:
    // TangentProblemLayout.cpp
    void buildTermRow();
    void buildExamples(const WindowTexts& texts);
    void buildPointRows();
    void buildSecantControls();
    void buildSlopeLabels();
    void connectControls();

    // Handlers
    void onDisplayBoxClicked();
    void onFetchExample(int index);
    void onAddExample();
    // The bars take the range of the current window; a position beyond it moves P or Q.
    void updateBarRanges();
    void updateSecantButtons();

    // TangentProblemDrawing.cpp
    struct SlopeTexts {
        std::string secant;
        std::string tangent;
    };
    // tangentCovered: a later pass draws the same tangent over this one's.
    SlopeTexts drawSecantPass(const SecantPass& pass, bool tangentCovered);
    void drawHelpLegs(const SlopeTriangle& legs);
    // The tangent at P if f' is defined there; its slope text, or "?".
    std::string drawTangent();
    // A straight line through the plotter as curve kind 6, leaving its slope and intercept in
    // ParamA and ParamB.
    void drawLine(const StraightLine& line);

    TangentDisplay display_;
    QVBoxLayout* termArea_ = nullptr;
    ExampleListPanel* examplePanel_ = nullptr;
    ValueRow* rowP_ = nullptr;
    ValueRow* rowQ_ = nullptr;
    FixedObjectButtons* secantButtons_ = nullptr;
    ColorButton* secantColourButton_ = nullptr;
    BitCheckBox* pointLabelBox_ = nullptr;
    BitCheckBox* secantTriangleBox_ = nullptr;
    BitCheckBox* helpLineBox_ = nullptr;
    BitCheckBox* tangentBox_ = nullptr;
    BitCheckBox* tangentTriangleBox_ = nullptr;
    QLabel* secantSlopeLabel_ = nullptr;
    QLabel* tangentSlopeLabel_ = nullptr;
};

} // namespace kurvex
