// Mappings window (TForm12) "Zuordnungen": x ↦ f(x) as arrows from an x rail to an f(x) rail, the
// Cartesian view above them, fixed arrows, an animated x and the guess-the-term game.
#pragma once

#include "core/NumberRails.h"
#include "lesson/LessonWindow.h"

#include <optional>

class QLabel;
class QSlider;
class QToolButton;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class ExampleListPanel;
class FixedObjectButtons;
class GuessTermGame;
class TermField;
class ToggleSwitch;
class ValueRow;

class MappingsWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit MappingsWindow(QWidget* owner = nullptr);
    ~MappingsWindow() override;

    static LessonVariant windowVariant();

    const Rails& rails() const { return rails_; }
    double mappingStep() const { return mappingStep_; }
    ValueRow& xRow() const { return *xRow_; }
    GuessTermGame& game() const { return *game_; }
    TermField& termField() const { return *termField_; }

    // The print keeps the screen's proportions: its height follows its width.
    void adjustPrintLayout(PrintLayout& layout) const override;

protected:
    void paintCoordinateSystem(int pane) override;
    void paintForeground(int pane) override;
    std::optional<double> curveValue(double x) override;
    void refreshControls() override;
    void plotPress(QMouseEvent* event) override;
    void plotMove(QMouseEvent* event) override;
    void plotRelease(QMouseEvent* event) override;
    void closing() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MappingsLayout.cpp
    void buildTermPanel();
    void buildGamePanel();
    void buildXControls();
    void buildSwitches();
    void buildRailPanels();
    struct RailPanelSetup;
    // A rail's panel with its colour button and its value label.
    struct RailPanel {
        QWidget* panel = nullptr;
        ColorButton* colour = nullptr;
        QLabel* value = nullptr;
    };
    RailPanel buildRailPanel(const RailPanelSetup& setup);
    // Panel4 and Panel2 beside their rails (20/21 and 5/6 of the plot's height).
    void placeRailPanels();
    void connectControls();

    // MappingsWindow.cpp
    void onAnimation();
    void onFixArrow();
    void onDeleteArrow();
    void onClearArrows();
    void onGuessModeClicked();
    // A rail halved or doubled: the rails checked as a world window, the step and bar renewed.
    void changeRail(RailRange Rails::*rail, RailRange (*change)(const RailRange&));
    void resetRail(RailRange Rails::*rail);
    void afterRailChange();
    void setXFromColumn(double column);
    void updateArrowButtons();

    // MappingsDrawing.cpp
    std::optional<double> valueAt(double x) const;
    // Height of the whole picture, the rails' fifth included.
    int pictureHeight() const;
    void drawCartesianMapping(double x, double y);
    // Both number lines, the x rail at 20/21 and the f(x) rail at 5/6 of the picture's height.
    void drawRails();
    void drawRailMapping(double x, std::optional<double> y);
    void showValueLabels(double x, std::optional<double> y);

    Rails rails_;
    TColor xRailColour_ = clRed;
    TColor fRailColour_ = clBlue;
    bool showArrows_ = false;
    bool showGraph_ = false;
    bool showCartesian_ = false;
    // Signed step of the animated x before the speed divides it.
    double mappingStep_ = 0.0;
    int speedDivisor_ = 1;

    // Panel5 (term and examples) and Panel6 (the game), one shown at a time.
    QWidget* termPanel_ = nullptr;
    TermField* termField_ = nullptr;
    ExampleListPanel* examples_ = nullptr;
    GuessTermGame* game_ = nullptr;
    BitCheckBox* guessBox_ = nullptr;
    // x and its animation.
    ValueRow* xRow_ = nullptr;
    ToggleSwitch* animationSwitch_ = nullptr;
    QToolButton* directionButton_ = nullptr;
    QSlider* speedBar_ = nullptr;
    // What the picture shows.
    BitCheckBox* arrowsBox_ = nullptr;
    FixedObjectButtons* arrowButtons_ = nullptr;
    BitCheckBox* graphBox_ = nullptr;
    BitCheckBox* cartesianBox_ = nullptr;
    // The column beside the plot that holds Panel4 (x rail) and Panel2 (f(x) rail).
    QWidget* railColumn_ = nullptr;
    RailPanel xRail_;
    RailPanel fRail_;
};

} // namespace kurvex
