// Linear-regression window (TForm40): its controls, their layout and their connections.
#include "fitting/RegressionWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "fitting/PointEditor.h"
#include "lesson/ControlFactory.h"
#include "lesson/GridModeButtons.h"
#include "lesson/ValueRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kurvex {

namespace {

// Start colours of the squares, the regression line, the user's line and the deviation lines.
constexpr TColor kSquareColour = 0xFFBBBB;
constexpr TColor kRegressionColour = 0x008000;
constexpr TColor kUserLineColour = 0x000000;
constexpr TColor kDeviationColour = 0x0000FF;

} // namespace

void RegressionWindow::buildHeading()
{
    rightPanel()->setMinimumWidth(280);
    QLabel* heading = MakeBoldLabel(QStringLiteral("Label11"), QStringLiteral("Finde die Regressionsgerade!"),
                                    rightPanel());
    heading->setToolTip(QStringLiteral("Welche Gerade passt am besten zu den Daten?"));
    lessonArea()->addWidget(heading);
}

void RegressionWindow::buildPointControls()
{
    lessonArea()->addWidget(points_);
    auto* row = new QHBoxLayout;
    gridButtons_ = new GridModeButtons(rightPanel());
    deleteButton_ = MakeGlyphButton({}, QStringLiteral("SpeedButton27"), QStringLiteral("Punkt löschen"),
                                    rightPanel(), QSize(28, 24));
    deleteButton_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    row->addWidget(gridButtons_);
    row->addWidget(deleteButton_);
    row->addStretch(1);
    lessonArea()->addLayout(row);
}

ValueRow* RegressionWindow::addLineRow(const QString& caption, const ValueRowNames& names, double& value,
                                       double& min, double& max)
{
    ValueRowBinding b;
    b.value = &value;
    b.min = &min;
    b.max = &max;
    b.barGrid = LineValueBar;
    // The bar moves as the user would move it; a typed value keeps its digits while the bar stays.
    b.snapTypedValue = true;
    b.keepValueInRange = true;
    b.refuseEmptyRange = true;
    auto* row = new ValueRow(*this, caption, names, std::move(b), rightPanel());
    lessonArea()->addWidget(row);
    return row;
}

void RegressionWindow::buildLineRows()
{
    lessonArea()->addSpacing(4);
    slopeRow_ =
        addLineRow(QStringLiteral("m ="), {"Label9", "Edit8", nullptr, "ScrollBar1", "Edit1", "Edit4"},
                   slope_, slopeMin_, slopeMax_);
    interceptRow_ =
        addLineRow(QStringLiteral("c ="), {"Label15", "Edit5", nullptr, "ScrollBar2", "Edit6", "Edit7"},
                   intercept_, interceptMin_, interceptMax_);
}

void RegressionWindow::buildDisplayOptions()
{
    QWidget* panel = rightPanel();
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    int row = 0;
    const auto option = [&](const char* boxName, const QString& text, const char* colourName, TColor colour,
                            BitCheckBox*& box, ColorButton*& button) {
        box = MakeCheckBox(QString::fromLatin1(boxName), text, panel);
        button = MakeColorButton(QString::fromLatin1(colourName), {}, panel);
        // Set once: a colour the user picks holds until the window closes.
        button->setSelectionColor(colour);
        grid->addWidget(box, row, 0);
        grid->addWidget(button, row, 1);
        ++row;
    };
    option("BitCheckBox3", QStringLiteral("Gerade y = m x + c  einzeichnen"), "ColorButton4", kUserLineColour,
           userLineBox_, userLineColour_);
    option("BitCheckBox1", QStringLiteral("Abweichungen anzeigen"), "ColorButton3", kDeviationColour,
           deviationsBox_, deviationColour_);
    option("BitCheckBox4", QStringLiteral("Abweichungsquadrate anzeigen"), "ColorButton2", kSquareColour,
           squaresBox_, squareColour_);
    option("BitCheckBox2", QStringLiteral("Regressionsgerade einzeichnen"), "ColorButton1", kRegressionColour,
           regressionBox_, regressionColour_);
    regressionBox_->setToolTip(QStringLiteral("Lösung anzeigen"));
    userLineBox_->setChecked(true);
    squaresBox_->setChecked(true);
    grid->setColumnStretch(2, 1);
    lessonArea()->addSpacing(4);
    lessonArea()->addLayout(grid);
}

void RegressionWindow::buildSums()
{
    QWidget* panel = rightPanel();
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(MakeLabel(QStringLiteral("Label12"), QStringLiteral("Summe der Fehlerquadrate ="), panel),
                    0, 0);
    QLabel* minimumCaption =
        MakeLabel(QStringLiteral("Label16"), QStringLiteral("Minimum (Zielsumme) ="), panel);
    minimumCaption->setToolTip(QStringLiteral("Minimum der Summe der Fehlerquadrate"));
    grid->addWidget(minimumCaption, 1, 0);
    userSumLabel_ = MakeBoldLabel(QStringLiteral("Label13"), {}, panel);
    minimumSumLabel_ = MakeBoldLabel(QStringLiteral("Label14"), {}, panel);
    grid->addWidget(userSumLabel_, 0, 1);
    grid->addWidget(minimumSumLabel_, 1, 1);
    grid->setColumnStretch(2, 1);
    lessonArea()->addSpacing(4);
    lessonArea()->addLayout(grid);
}

void RegressionWindow::buildResultLabel()
{
    resultLabel_ = MakeBoldLabel(QStringLiteral("Label1"), {}, this);
    resultLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long term must not widen the window and with it the plot.
    resultLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    resultLabel_->setMinimumWidth(1);
    bottomArea()->addWidget(resultLabel_);
}

void RegressionWindow::connectControls()
{
    connect(points_, &PointEditor::pointsChanged, this, &RegressionWindow::drawPicture);
    connect(points_, &PointEditor::coloursChanged, this, &RegressionWindow::fullRedraw);
    // Deletes the selected point, as "Entf" does.
    connect(deleteButton_, &QToolButton::clicked, points_, &PointEditor::deleteSelected);
    for (ValueRow* row : {slopeRow_, interceptRow_}) {
        connect(row, &ValueRow::barMoved, this, &RegressionWindow::drawPicture);
        connect(row, &ValueRow::valueEntered, this, &RegressionWindow::drawPicture);
        connect(row, &ValueRow::rangeEntered, this, [this, row] {
            row->setBarFromValue(ValueRow::BarSync::Snap);
            drawPicture();
        });
    }
    for (BitCheckBox* box : {userLineBox_, deviationsBox_, squaresBox_, regressionBox_}) {
        connect(box, &BitCheckBox::clicked, this, &RegressionWindow::drawPicture);
    }
    for (ColorButton* b : {userLineColour_, deviationColour_, squareColour_, regressionColour_}) {
        connect(b, &ColorButton::changed, this, &RegressionWindow::fullRedraw);
    }
    connect(gridButtons_, &GridModeButtons::changed, this, &RegressionWindow::fullRedraw);
}

} // namespace kurvex
