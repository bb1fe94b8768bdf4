// Sequences window (TForm15) "Folgen - Grenzwert": the points of a(n), the estimated limit g, the
// ε band around it and the index n0 from which the terms stay inside the band.
#pragma once

#include "core/SequenceLimit.h"
#include "lesson/LessonWindow.h"
#include "platform/Canvas.h"

#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QWidget;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class ExampleListPanel;
class TermField;
class ValueRow;

class SequenceWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit SequenceWindow(QWidget* owner = nullptr);

    static LessonVariant windowVariant();

    bool limitFound() const { return limitFound_; }
    std::optional<int> n0() const { return n0_; }
    double epsilon() const { return epsilon_; }
    double epsilonMax() const { return epsilonMax_; }

protected:
    // The ε band lies under the axes, so it is drawn before them.
    void paintCoordinateSystem(int pane) override;
    void setAxisCaptions(int pane) override;
    void paintForeground(int pane) override;
    void refreshControls() override;
    void initWorld() override;
    void checkWorld() override;
    void closing() override;

private:
    // SequenceLayout.cpp
    void buildTermRow();
    void buildExampleList();
    void buildEpsilonRow();
    void buildLimitRow();
    void buildN0Panel();
    void connectControls();

    // Handlers
    void onTermChanged();
    void onLimitEntered();
    void onEpsilonMaxEntered();
    void onFindLimitToggled();

    // a(n) of the compiled term.
    SequenceFunction sequence() const;
    // The terms of the compiled term, read by the picture and the n0 search.
    void fillTable();
    // The limit estimate into SequenceLimit and limitFound_.
    void estimateLimit();
    // The limit's edit: g, or "?" while the limit is sought and none was accepted.
    void showLimit();
    void updateN0();
    // n0 and its label, then the picture.
    void redraw();

    // SequenceDrawing.cpp
    void drawEpsilonBand();
    void drawLimitLine();
    void drawN0Mark();
    void drawPoints();
    void drawPointMarker(Point p);
    // a(n) from the table; nothing where it is undefined or beyond the table.
    std::optional<double> term(int n) const;

    double epsilon_ = 1.0;
    double epsilonMax_ = 1.0;
    TColor pointColor_ = clBlack;
    bool findLimit_ = false;
    bool limitFound_ = false;
    bool connectPoints_ = false;
    bool findN0_ = false;
    bool markLimit_ = false;
    bool numberLineMarks_ = false;
    std::vector<std::optional<double>> table_;
    std::optional<int> n0_;

    TermField* termField_ = nullptr;
    ColorButton* pointColourButton_ = nullptr;
    BitCheckBox* connectBox_ = nullptr;
    BitCheckBox* numberLineBox_ = nullptr;
    ExampleListPanel* examples_ = nullptr;
    ValueRow* epsilonRow_ = nullptr;
    ColorButton* bandColourButton_ = nullptr;
    QLineEdit* epsilonMaxEdit_ = nullptr;
    BitCheckBox* findLimitBox_ = nullptr;
    QLineEdit* limitEdit_ = nullptr;
    QWidget* n0Panel_ = nullptr;
    BitCheckBox* markLimitBox_ = nullptr;
    BitCheckBox* findN0Box_ = nullptr;
    QLabel* n0Label_ = nullptr;
};

} // namespace kurvex
