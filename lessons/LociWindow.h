// Loci window (TForm16) "Ortskurven": a family of curves over t, the high, low and inflection points
// of each member, their trails kept in the object list, and a locus term drawn over them.
#pragma once

#include "core/Loci.h"
#include "lesson/LessonWindow.h"

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class FixedObjectButtons;
class LineWidthComboBox;
class CurvePointRows;
class TermField;
class ToggleSwitch;
class ValueRow;

class LociWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit LociWindow(QWidget* owner = nullptr);
    ~LociWindow() override;

    static LessonVariant windowVariant();

    ValueRow& tRow() const { return *tRow_; }
    int tSteps() const { return tSteps_; }
    // The colour the current member is drawn in: the spectrum's for its t, or GraphColor.
    TColor memberColor() const { return memberColor_; }
    // Fixes the current state (as "Objekt einfügen") and traces it; false when the list is full.
    bool fixCurrentState();

protected:
    void paintBackground(int pane) override;
    void paintForeground(int pane) override;
    std::optional<double> curveValue(double x) override;
    void refreshControls() override;

private:
    // LociLayout.cpp
    void buildTermRow();
    void buildParameterRows();
    void buildStyleRows();
    void buildPointRows();
    void buildLocusRows();
    void connectControls();

    // Handlers
    void onFamilyTermChanged();
    void onLocusTermChanged();
    // After t took a bar position or an animation step: spectrum, frame, and a fixed state while a
    // fix box is on.
    void onTStep();
    void onRangeEntered();
    void onStepsEntered();
    void onAnimation();
    void onSpectrumToggled();
    void onSpectrumChosen(int index);
    void onFixBoxesClicked();
    void onDeleteLastObject();
    void onDeleteAllObjects();
    void takeSpectrumColour();
    void updateObjectButtons();

    // LociDrawing.cpp
    // The member t's curve and special points in the given colour and width.
    void drawMember(double t, bool curve, bool points, TColor color, int width);
    void drawLocusCurve();
    void showSpectrumPreview();

    // Window state
    bool fixPoints_ = false;
    bool fixCurve_ = false;
    bool showLocus_ = false;
    TColor memberColor_ = 0;
    int tSteps_ = kDefaultTSteps;
    // The last range of t the user gave that has room; a typed bound that leaves none is refused.
    double validTMin_ = -4.0;
    double validTMax_ = 4.0;
    // Set while a state is fixed: the foreground pass then traces the member into the background.
    bool tracing_ = false;
    // The locus term as typed; the edit opens empty.
    std::string locusTerm_;

    TermField* familyTerm_ = nullptr;
    ValueRow* tRow_ = nullptr;
    ToggleSwitch* tSwitch_ = nullptr;
    QToolButton* directionButton_ = nullptr;
    QLineEdit* stepsEdit_ = nullptr;
    ColorButton* curveColourButton_ = nullptr;
    LineWidthComboBox* lineWidthBox_ = nullptr;
    // The spectrum's switch, its choice and its preview.
    struct {
        BitCheckBox* box = nullptr;
        QSlider* choice = nullptr;
        QLabel* preview = nullptr;
    } spectrum_;
    BitCheckBox* fixCurveBox_ = nullptr;
    CurvePointRows* pointRows_ = nullptr;
    BitCheckBox* fixPointsBox_ = nullptr;
    // The locus term: its switch, its edit, its colour and width.
    struct {
        BitCheckBox* box = nullptr;
        TermField* field = nullptr;
        ColorButton* colour = nullptr;
        LineWidthComboBox* width = nullptr;
    } locus_;
    FixedObjectButtons* objectButtons_ = nullptr;
};

} // namespace kurvex
