// Polynomial window (TForm17): its controls, their layout and their connections.
#include "lessons/PolynomialWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/Glyphs.h"
#include "controls/StyleComboBoxes.h"
#include "core/GridSnap.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/CurvePointRows.h"
#include "lesson/GridModeButtons.h"
#include "lesson/TermLabel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

namespace kurvex {

namespace {

QToolButton* checkableButton(const QString& objectName, const QString& hint, const QIcon& icon,
                             QWidget* parent)
{
    auto* b = MakeGlyphButton({}, objectName, hint, parent, QSize(26, 26));
    b->setIcon(icon);
    b->setIconSize(QSize(kConditionGlyphSize, kConditionGlyphSize));
    b->setCheckable(true);
    return b;
}

LineWidthComboBox* widthBox(const char* name, QWidget* parent)
{
    auto* box = new LineWidthComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(60);
    return box;
}

} // namespace

void PolynomialWindow::buildKindButtons()
{
    rightPanel()->setMinimumWidth(300);
    const QString hints[kConditionKindCount] = {QStringLiteral("Punkt"),
                                                QStringLiteral("Punkt und Steigung"),
                                                QStringLiteral("Extrempunkt"),
                                                QStringLiteral("Wendepunkt"),
                                                QStringLiteral("Wendepunkt und Steigung"),
                                                QStringLiteral("Terrassenpunkt")};
    kindGroup_ = new QButtonGroup(this);
    kindGroup_->setExclusive(true);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    for (int k = 0; k < kConditionKindCount; ++k) {
        auto* b = checkableButton(QStringLiteral("KindButton%1").arg(k), hints[k],
                                  ConditionGlyph(static_cast<ConditionKind>(k)), rightPanel());
        kindGroup_->addButton(b, k);
        row->addWidget(b);
    }
    row->addStretch(1);
    kindGroup_->button(0)->setChecked(true);
    lessonArea()->addLayout(row);
}

void PolynomialWindow::buildConditionEdits()
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setHorizontalSpacing(4);
    edits_.slope = MakeNumberEdit(QStringLiteral("Edit1"), rightPanel());
    edits_.x = MakeNumberEdit(QStringLiteral("Edit2"), rightPanel());
    edits_.y = MakeNumberEdit(QStringLiteral("Edit3"), rightPanel());
    grid->addWidget(
        MakeLabel(QStringLiteral("SlopeCaption"), QStringLiteral("Steigung der Tangente"), rightPanel()), 0,
        0, 1, 3);
    grid->addWidget(edits_.slope, 0, 3);
    grid->addWidget(MakeLabel(QStringLiteral("XCaption"), QStringLiteral("x ="), rightPanel()), 1, 0);
    grid->addWidget(edits_.x, 1, 1);
    grid->addWidget(MakeLabel(QStringLiteral("YCaption"), QStringLiteral("y ="), rightPanel()), 1, 2,
                    Qt::AlignRight);
    grid->addWidget(edits_.y, 1, 3);
    grid->setColumnStretch(2, 1);
    lessonArea()->addLayout(grid);
}

void PolynomialWindow::buildSnapRow()
{
    // The caption sits under the track bar's thumb, so the label moves with the position.
    auto* box = new QWidget(rightPanel());
    box->setFixedSize(4 * 30 + 40, 38);
    snap_.bar = MakeTrackBar(QStringLiteral("TrackBar1"), QStringLiteral("Punktfangraster einstellen"), 1,
                             kSnapModeCount, box);
    snap_.bar->setGeometry(0, 0, 4 * 30 + 18, 20);
    snap_.caption = MakeLabel(QStringLiteral("Label5"), QString::fromStdString(SnapModeText(1)), box);
    snap_.caption->move(4, 20);
    lessonArea()->addWidget(box);

    auto* row = new QHBoxLayout;
    auto* deformButton = new QRadioButton(QStringLiteral("Kurve verformen"), rightPanel());
    deformButton->setObjectName(QStringLiteral("RadioButton6"));
    deformButton->setChecked(true);
    shiftButton_ = new QRadioButton(QStringLiteral("Kurve verschieben"), rightPanel());
    shiftButton_->setObjectName(QStringLiteral("RadioButton7"));
    row->addWidget(deformButton);
    row->addWidget(shiftButton_);
    row->addStretch(1);
    lessonArea()->addLayout(row);
}

void PolynomialWindow::buildCurveRows()
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 6, 0, 0);
    grid->setHorizontalSpacing(4);
    const struct {
        const char* box;
        QString caption;
        const char* colour;
        const char* width;
    } names[] = {{"PolynomialBox", {}, "ColorButton1", "LineWidthComboBox1"},
                 {"FirstDerivativeBox", QStringLiteral("f' "), "ColorButton6", "LineWidthComboBox3"},
                 {"SecondDerivativeBox", QStringLiteral("f'' "), "ColorButton7", "LineWidthComboBox4"}};
    for (std::size_t n = 0; n < curves_.size(); ++n) {
        CurveRow& row = curves_[n];
        row.box = MakeCheckBox(QString::fromLatin1(names[n].box), names[n].caption, rightPanel());
        row.box->setChecked(row.shown);
        row.colourButton = MakeColorButton(QString::fromLatin1(names[n].colour), {}, rightPanel());
        row.colourButton->setSelectionColor(n == 0 ? GraphColor : row.color);
        row.widthBox = widthBox(names[n].width, rightPanel());
        row.widthBox->setLineWidth(n == 0 ? LineWidth : row.width);
        grid->addWidget(row.box, static_cast<int>(n), 0);
        grid->addWidget(row.colourButton, static_cast<int>(n), 1);
        grid->addWidget(row.widthBox, static_cast<int>(n), 2, Qt::AlignLeft);
    }
    slopeLinesBox_ =
        MakeCheckBox(QStringLiteral("SlopeLinesBox"), QStringLiteral("Tangente zeichnen"), rightPanel());
    fractionBox_ =
        MakeCheckBox(QStringLiteral("FractionBox"), QStringLiteral(" Bruchdarstellung "), rightPanel());
    grid->addWidget(slopeLinesBox_, 0, 3);
    grid->addWidget(fractionBox_, 1, 3);
    grid->setColumnStretch(3, 1);
    lessonArea()->addLayout(grid);
}

void PolynomialWindow::buildPointRows()
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 6, 0, 0);
    grid->setHorizontalSpacing(4);
    pointRows_ =
        new CurvePointRows({{{"HighPointsBox", QStringLiteral(" Hochpunkte "), "ColorButton4"},
                             {"LowPointsBox", QStringLiteral(" Tiefpunkte "), "ColorButton3"},
                             {"InflectionPointsBox", QStringLiteral(" Wendepunkte "), "ColorButton2"}}},
                           {0x008000, 0x008000, 0xFF0000, 4}, rightPanel());
    pointColourButton_ =
        MakeColorButton(QStringLiteral("ColorButton5"), QStringLiteral("Punktfarbe"), rightPanel());
    pointColourButton_->setSelectionColor(pointColor_);
    selectedColourButton_ =
        MakeColorButton(QStringLiteral("ColorButton8"), QStringLiteral("Ausgewählter Punkt"), rightPanel());
    selectedColourButton_->setSelectionColor(selectedPointColor_);
    grid->addWidget(pointRows_, 0, 0, 3, 1);
    grid->addWidget(pointColourButton_, 0, 1);
    grid->addWidget(
        MakeLabel(QStringLiteral("PointColourCaption"), QStringLiteral("Punktfarbe"), rightPanel()), 0, 2);
    grid->addWidget(selectedColourButton_, 1, 1);
    grid->addWidget(MakeLabel(QStringLiteral("SelectedColourCaption"), QStringLiteral("Ausgewählter Punkt"),
                              rightPanel()),
                    1, 2);
    grid->setColumnStretch(2, 1);
    lessonArea()->addLayout(grid);
}

void PolynomialWindow::buildGridAndListButtons()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 6, 0, 0);
    row->setSpacing(2);
    gridButtons_ = new GridModeButtons(rightPanel());
    row->addWidget(gridButtons_);
    row->addStretch(1);
    auto* deleteButton = MakeGlyphButton(QStringLiteral("Entf"), QStringLiteral("SpeedButton1"), {},
                                         rightPanel(), QSize(44, 24));
    auto* newButton = MakeGlyphButton(QStringLiteral("Neu"), QStringLiteral("SpeedButton5"),
                                      QStringLiteral("alle Punkte löschen"), rightPanel(), QSize(44, 24));
    row->addWidget(deleteButton);
    row->addWidget(newButton);
    connect(deleteButton, &QToolButton::clicked, this, [this] { deleteSelected(); });
    connect(newButton, &QToolButton::clicked, this, [this] { deleteAll(); });
    lessonArea()->addLayout(row);

    refusedLabel_ = MakeLabel(QStringLiteral("RefusedLabel"), {}, rightPanel());
    refusedLabel_->setWordWrap(true);
    QPalette red = refusedLabel_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    refusedLabel_->setPalette(red);
    lessonArea()->addWidget(refusedLabel_);
}

void PolynomialWindow::buildTermPanel()
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    term_.button =
        MakeGlyphButton(QStringLiteral("f(x) = "), QStringLiteral("SpeedButton2"), {}, this, QSize(54, 24));
    term_.button->setCheckable(true);
    term_.button->setChecked(true);
    term_.text = new TermLabel(this);
    term_.text->setObjectName(QStringLiteral("Label1"));
    term_.text->setFont(TermFont());
    term_.text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long term breaks between its summands instead of widening the window; two lines are kept
    // for it, so the plot keeps its size whatever the term.
    term_.text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    term_.text->setFixedHeight(2 * term_.text->fontMetrics().lineSpacing() + 4);
    // Hidden by "f(x) =", it keeps its room: the button and the plot stay where they are.
    QSizePolicy keepRoom = term_.text->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    term_.text->setSizePolicy(keepRoom);
    row->addWidget(term_.button);
    row->addWidget(term_.text, 1);
    bottomArea()->addLayout(row);
}

void PolynomialWindow::connectControls()
{
    ConnectEditExit(edits_.slope, this, [this] { onEditLeft(); });
    ConnectEditExit(edits_.x, this, [this] { onEditLeft(); });
    ConnectEditExit(edits_.y, this, [this] { onEditLeft(); });
    connect(snap_.bar, &QSlider::valueChanged, this, [this](int mode) { onSnapModeChanged(mode); });
    connect(shiftButton_, &QRadioButton::toggled, this,
            [this] { shiftAllPoints_ = shiftButton_->isChecked(); });
    connect(term_.button, &QToolButton::toggled, this, [this](bool down) {
        term_.text->setVisible(down);
        drawPicture();
    });
    connect(gridButtons_, &GridModeButtons::changed, this, [this] { fullRedraw(); });
    connect(pointRows_, &CurvePointRows::shownChanged, this, [this] { drawPicture(); });
    connect(pointRows_, &CurvePointRows::coloursChanged, this, [this] { fullRedraw(); });
    connectCurveControls();
}

void PolynomialWindow::connectCurveControls()
{
    const RedrawBinding draw(this, [this] { drawPicture(); });
    const RedrawBinding redraw(this, [this] { fullRedraw(); });
    for (std::size_t n = 0; n < curves_.size(); ++n) {
        CurveRow& row = curves_[n];
        draw.flag(row.box, row.shown);
        // f's pen is the shared curve colour and width.
        redraw.colour(row.colourButton, n == 0 ? GraphColor : row.color);
        redraw.lineWidth(row.widthBox, n == 0 ? LineWidth : row.width);
    }
    for (BitCheckBox* box : {slopeLinesBox_, fractionBox_}) {
        connect(box, &BitCheckBox::clicked, this, [this] {
            showSlopeLines_ = slopeLinesBox_->Checked();
            fractionMode_ = fractionBox_->Checked();
            updateTermLabel();
            drawPicture();
        });
    }
    for (ColorButton* button : {pointColourButton_, selectedColourButton_}) {
        connect(button, &ColorButton::changed, this, [this] {
            pointColor_ = pointColourButton_->SelectionColor();
            selectedPointColor_ = selectedColourButton_->SelectionColor();
            fullRedraw();
        });
    }
}

} // namespace kurvex
