// Fitting window (TForm30): its controls, their layout and their connections.
#include "fitting/FittingWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/StyleComboBoxes.h"
#include "core/Settings.h"
#include "fitting/PointEditor.h"
#include "fitting/ReportPanel.h"
#include "fitting/ValueTablePanel.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/GridModeButtons.h"
#include "lesson/PlotBox.h"
#include "lesson/TermLabel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kurvex {

namespace {

constexpr QSize kModelButtonSize(150, 26);

// A degree that changes only through its arrow buttons: typed keys are dropped, the keys that move
// between the fields and close the window still work.
class DegreeSpinBox : public QSpinBox {
public:
    DegreeSpinBox(const QString& objectName, int min, int max, QWidget* parent) : QSpinBox(parent)
    {
        setObjectName(objectName);
        setRange(min, max);
        setContextMenuPolicy(Qt::NoContextMenu);
        setFixedWidth(44);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->ignore();
            return;
        default:
            event->accept();
        }
    }
};

struct ModelButton {
    const char* name;
    const char* caption;
    const char* hint;
    int model;
};

// In the order the window reads them; captions of our own where the button shows a formula.
constexpr std::array<ModelButton, 10> kModelButtons{{
    {"SpeedButtonlinF", "y = mx + c", "Regressionsgerade", kRegLine},
    {"SpeedButtonProF", "y = mx", "Regressionsgerade", kRegProportional},
    {"SpeedButtonexpfkt", "y = a\u00B7e^(bx)", "Exponentialfunktion", kRegExponential},
    {"SpeedButtongebrR", "Gebr. rat. Fkt", "", kRegRational},
    {"SpeedButtonbeschrW", "y = c \u2212 a\u00B7e^(bx)", "Beschränktes Wachstum", kRegBoundedGrowth},
    {"SpeedButtonPotfkt", "y = a\u00B7x^z", "Potenzfunktion", kRegPower},
    {"SpeedButtonlogW", "y = a/(1+e^(bx+c))", "Logistisches Wachstum", kRegLogistic},
    {"SpeedButtonganzR", "Ganzrationale Funktion", "", kRegPolynomial},
    {"SpeedButtonQuadFkt", "y = ax\u00B2 + bx + c", "Quadratische Funktion", kRegQuadratic},
    {"SpeedButtonSinFit", "y = a sin(bx+c)+d", "Sinusförmige Regression", kRegSine},
}};

QToolButton* makeModelButton(const ModelButton& m, QWidget* parent)
{
    auto* b = MakeGlyphButton(QString::fromUtf8(m.caption), QString::fromLatin1(m.name),
                              QString::fromUtf8(m.hint), parent, kModelButtonSize);
    b->setCheckable(true);
    return b;
}

} // namespace

void FittingWindow::buildModelPanel()
{
    QVBoxLayout* column = leftArea();
    column->setSpacing(3);
    models_ = new QButtonGroup(this);
    models_->setExclusive(true);
    for (const ModelButton& m : kModelButtons) {
        QToolButton* b = makeModelButton(m, this);
        models_->addButton(b, m.model);
        column->addWidget(b);
        if (m.model == kRegRational) {
            numeratorDegree_ = new DegreeSpinBox(QStringLiteral("SpinEdit4"), 1, 4, this);
            denominatorDegree_ = new DegreeSpinBox(QStringLiteral("SpinEdit3"), 1, 4, this);
            auto* row = new QHBoxLayout;
            row->addWidget(MakeLabel(QStringLiteral("Label13"), QStringLiteral("Zähler"), this));
            row->addWidget(numeratorDegree_);
            row->addWidget(MakeLabel(QStringLiteral("Label14"), QStringLiteral("Nenner"), this));
            row->addWidget(denominatorDegree_);
            row->addStretch(1);
            column->addLayout(row);
        } else if (m.model == kRegPolynomial) {
            polynomialDegree_ = new DegreeSpinBox(QStringLiteral("SpinEdit1"), 3, 6, this);
            auto* row = new QHBoxLayout;
            row->addWidget(polynomialDegree_);
            row->addWidget(MakeLabel(QStringLiteral("Label12"), QStringLiteral(". Grades"), this));
            row->addStretch(1);
            column->addLayout(row);
        } else if (m.model == kRegSine) {
            startValuesButton_ = MakeGlyphButton(QStringLiteral("\u2026"), QStringLiteral("SpeedButton26"),
                                                 QStringLiteral("Startwerte und Einstellungen"), this);
            startValuesButton_->setEnabled(false);
            column->addWidget(startValuesButton_);
        }
    }
    models_->button(kRegLine)->setChecked(true);
    column->addStretch(1);
}

void FittingWindow::buildPointPanel()
{
    rightPanel()->setMinimumWidth(280);
    lessonArea()->addWidget(points_);

    auto* files = new QHBoxLayout;
    files->setSpacing(2);
    tableButton_ = MakeGlyphButton(QStringLiteral("Wertetabelle"), QStringLiteral("SpeedButton12"), {},
                                   rightPanel(), QSize(90, 24));
    saveButton_ = MakeGlyphButton({}, QStringLiteral("SpeedButton16"),
                                  QStringLiteral("Wertetabelle speichern"), rightPanel(), QSize(28, 24));
    saveButton_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    loadButton_ = MakeGlyphButton({}, QStringLiteral("SpeedButton2"), QStringLiteral("Wertetabelle holen"),
                                  rightPanel(), QSize(28, 24));
    loadButton_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    reportButton_ = MakeGlyphButton({}, QStringLiteral("SpeedButton4"),
                                    QStringLiteral("Auswertungsprotokoll"), rightPanel(), QSize(28, 24));
    reportButton_->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    files->addWidget(tableButton_);
    files->addWidget(saveButton_);
    files->addWidget(loadButton_);
    files->addWidget(reportButton_);
    files->addStretch(1);
    lessonArea()->addLayout(files);

    table_ = new ValueTablePanel(plotBox());
    report_ = new ReportPanel(plotBox());
}

void FittingWindow::buildDisplayOptions()
{
    QWidget* panel = rightPanel();
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    const auto width = [panel](const char* name) {
        auto* box = new LineWidthComboBox(panel);
        box->setObjectName(QString::fromLatin1(name));
        box->setFixedWidth(70);
        return box;
    };
    const auto colour = [panel](const char* name, TColor c, const QString& hint = {}) {
        ColorButton* b = MakeColorButton(QString::fromLatin1(name), hint, panel);
        b->setSelectionColor(c);
        return b;
    };
    curveColour_ = colour("ColorButton1", GraphColor, QStringLiteral("Linienfarbe"));
    curveWidth_ = width("LineWidthComboBox1");
    grid->addWidget(curveColour_, 0, 1);
    grid->addWidget(curveWidth_, 0, 2);

    firstDerivativeBox_ = MakeCheckBox(QStringLiteral("BitCheckBox6"), QStringLiteral("f' "), panel);
    firstDerivativeColour_ = colour("ColorButton6", 0x008000);
    firstDerivativeWidth_ = width("LineWidthComboBox3");
    secondDerivativeBox_ = MakeCheckBox(QStringLiteral("BitCheckBox8"), QStringLiteral("f'' "), panel);
    secondDerivativeColour_ = colour("ColorButton7", 0xFF0000);
    secondDerivativeWidth_ = width("LineWidthComboBox4");
    grid->addWidget(firstDerivativeBox_, 1, 0);
    grid->addWidget(firstDerivativeColour_, 1, 1);
    grid->addWidget(firstDerivativeWidth_, 1, 2);
    grid->addWidget(secondDerivativeBox_, 2, 0);
    grid->addWidget(secondDerivativeColour_, 2, 1);
    grid->addWidget(secondDerivativeWidth_, 2, 2);

    highPointsBox_ = MakeCheckBox(QStringLiteral("BitCheckBox3"), QStringLiteral(" Hochpunkte "), panel);
    highPointColour_ = colour("ColorButton4", 0x008000);
    lowPointsBox_ = MakeCheckBox(QStringLiteral("BitCheckBox2"), QStringLiteral(" Tiefpunkte "), panel);
    lowPointColour_ = colour("ColorButton3", 0x008000);
    inflectionPointsBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox1"), QStringLiteral(" Wendepunkte "), panel);
    inflectionPointColour_ = colour("ColorButton2", 0xFF0000);
    grid->addWidget(highPointsBox_, 3, 0);
    grid->addWidget(highPointColour_, 3, 1);
    grid->addWidget(lowPointsBox_, 4, 0);
    grid->addWidget(lowPointColour_, 4, 1);
    grid->addWidget(inflectionPointsBox_, 5, 0);
    grid->addWidget(inflectionPointColour_, 5, 1);
    grid->setColumnStretch(3, 1);
    lessonArea()->addSpacing(6);
    lessonArea()->addLayout(grid);

    deviationsBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox4"), QStringLiteral("Abweichungen anzeigen"), panel);
    lessonArea()->addWidget(deviationsBox_);
    gridButtons_ = new GridModeButtons(panel);
    lessonArea()->addWidget(gridButtons_);
}

void FittingWindow::buildResultLabel()
{
    resultLabel_ = new TermLabel(this);
    resultLabel_->setObjectName(QStringLiteral("Label1"));
    QFont bold = resultLabel_->font();
    bold.setBold(true);
    resultLabel_->setFont(bold);
    resultLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long term must not widen the window and with it the plot: it breaks between its summands,
    // with r below it. Three lines are kept, so the plot keeps its size whatever the fit.
    resultLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    resultLabel_->setMinimumWidth(1);
    resultLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    resultLabel_->setFixedHeight(3 * resultLabel_->fontMetrics().lineSpacing() + 2);
    bottomArea()->addWidget(resultLabel_);
}

void FittingWindow::connectControls()
{
    connect(models_, &QButtonGroup::idClicked, this, &FittingWindow::onModelClicked);
    for (QSpinBox* s : {polynomialDegree_, numeratorDegree_, denominatorDegree_}) {
        connect(s, &QSpinBox::valueChanged, this, &FittingWindow::onDegreeChanged);
    }
    connect(startValuesButton_, &QToolButton::clicked, this, &FittingWindow::openStartValues);
    connect(tableButton_, &QToolButton::clicked, this, &FittingWindow::showValueTable);
    connect(saveButton_, &QToolButton::clicked, this, &FittingWindow::saveValueTable);
    connect(loadButton_, &QToolButton::clicked, this, &FittingWindow::loadValueTable);
    connect(table_, &ValueTablePanel::backRequested, this, &FittingWindow::takeValueTable);
    connect(reportButton_, &QToolButton::clicked, this, &FittingWindow::showReport);
    connect(report_, &ReportPanel::documentRequested, this, &FittingWindow::exportReportDocument);
    connect(points_, &PointEditor::pointsChanged, this, &FittingWindow::drawPicture);
    connect(points_, &PointEditor::coloursChanged, this, &FittingWindow::fullRedraw);
    for (BitCheckBox* box : {firstDerivativeBox_, secondDerivativeBox_, highPointsBox_, lowPointsBox_,
                             inflectionPointsBox_, deviationsBox_}) {
        connect(box, &BitCheckBox::clicked, this, &FittingWindow::drawPicture);
    }
    const RedrawBinding redraw(this, [this] { fullRedraw(); });
    redraw.colour(curveColour_, GraphColor);
    redraw.lineWidth(curveWidth_, LineWidth);
    for (ColorButton* b : {firstDerivativeColour_, secondDerivativeColour_, highPointColour_, lowPointColour_,
                           inflectionPointColour_}) {
        connect(b, &ColorButton::changed, this, &FittingWindow::fullRedraw);
    }
    for (LineWidthComboBox* box : {firstDerivativeWidth_, secondDerivativeWidth_}) {
        connect(box, &LineWidthComboBox::changed, this, &FittingWindow::fullRedraw);
    }
    connect(gridButtons_, &GridModeButtons::changed, this, &FittingWindow::fullRedraw);
}

} // namespace kurvex
