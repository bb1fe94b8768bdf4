// Upper-and-lower-sums window (TForm21) "Unter- und Obersumme": f on [a, b] cut into n strips,
// the strips of the upper sum, the lower sum, both or the band between them, and the sums.
#pragma once

#include "core/StripSums.h"
#include "lesson/LessonWindow.h"

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kurvex {

// The term the sums window last drew in this run: it opens with it again, though the launcher and
// the window reload the settings file before; empty until the window first had a term.
inline std::string StripSumsTerm;

class ColorButton;
class FillStyleComboBox;
class LineWidthComboBox;
class TermField;
class ValueRow;

class StripSumsWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit StripSumsWindow(QWidget* owner = nullptr);

    static LessonVariant windowVariant();

    double stripCount() const { return stripCount_; }
    ValueRow& stripRow() const { return *stripRow_; }
    // The sums of the picture last drawn on screen.
    const StripSums& sums() const { return sums_; }

protected:
    void paintForeground(int pane) override;
    std::optional<double> curveValue(double x) override;
    void refreshControls() override;
    bool panelRightClick(QMouseEvent* event) override;

private:
    // StripSumsLayout.cpp
    void buildCurveRows();
    void buildIntervalRow();
    void buildStripRow();
    void buildKindRows();
    void buildResultLabels();
    void connectControls();

    void onStripCountEntered();
    void onIntervalEntered(QLineEdit* edit, double& end);
    // A term that compiled becomes the one the window opens with next time.
    void rememberTerm();

    // The display kind of the checked radio button: 1 upper sum, 2 lower sum, 3 both, 4 the band
    // between them.
    int kind() const;
    void drawStrips(const StripSums& sums);
    void showSums(const StripSums& sums);

    double intervalA_ = -2.0;
    double intervalB_ = 2.0;
    double stripCount_ = 1.0;
    // The animation's range of n.
    double stripMin_ = 1.0;
    double stripMax_ = 128.0;
    StripSums sums_;

    LineWidthComboBox* lineWidthBox_ = nullptr;
    ColorButton* curveColourButton_ = nullptr;
    TermField* termField_ = nullptr;
    QLineEdit* aEdit_ = nullptr;
    QLineEdit* bEdit_ = nullptr;
    ValueRow* stripRow_ = nullptr;
    std::array<QRadioButton*, 4> kindButtons_{};
    // Upper sum, lower sum, the band between them.
    std::array<ColorButton*, 3> fillColourButtons_{};
    std::array<FillStyleComboBox*, 3> fillStyleBoxes_{};
    std::array<QLabel*, 4> resultLabels_{};
};

} // namespace kurvex
