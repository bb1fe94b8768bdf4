// Polynomial window (TForm17): its controls, their glyphs, their layout and their connections.
#include "lessons/PolynomialWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "core/GridSnap.h"
#include "core/Settings.h"
#include "lesson/ControlFactory.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

#include <cmath>

namespace kurvex {

namespace {

constexpr int kGlyphSize = 22;

// The shape a condition kind gives the curve near its point, with the point and, where the kind
// sets the slope, the tangent.
QIcon kindGlyph(ConditionKind kind)
{
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kGlyphSize / 2.0, kGlyphSize / 2.0);
    QPainterPath curve;
    const auto plot = [&](double (*f)(double)) {
        for (int i = 0; i <= 16; ++i) {
            const double u = -1.0 + i / 8.0;
            const QPointF at(centre.x() + 8 * u, centre.y() - 8 * f(u));
            i == 0 ? curve.moveTo(at) : curve.lineTo(at);
        }
    };
    double tangentSlope = std::nan("");
    switch (kind) {
    case ConditionKind::Point:
        break;
    case ConditionKind::PointSlope:
        tangentSlope = 0.8;
        break;
    case ConditionKind::Extremum:
        plot([](double u) { return 0.2 - 0.8 * u * u; });
        tangentSlope = 0.0;
        break;
    case ConditionKind::Inflection:
    case ConditionKind::InflectionSlope:
        plot([](double u) { return 0.4 * u - 0.6 * u * u * u; });
        if (kind == ConditionKind::InflectionSlope) {
            tangentSlope = 0.4;
        }
        break;
    case ConditionKind::Terrace:
        plot([](double u) { return 0.9 * u * u * u; });
        tangentSlope = 0.0;
        break;
    }
    p.setPen(QPen(Qt::darkGray, 1.2));
    p.drawPath(curve);
    if (!std::isnan(tangentSlope)) {
        p.setPen(QPen(Qt::darkGreen, 1.2));
        p.drawLine(centre + QPointF(-9, 9 * tangentSlope), centre + QPointF(9, -9 * tangentSlope));
    }
    const double dotY = kind == ConditionKind::Extremum ? centre.y() - 1.6 : centre.y();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(centre.x(), dotY), 2.6, 2.6);
    return QIcon(pixmap);
}

// Axes alone, a dotted grid, a solid grid: the three values of GridMode.
QIcon gridGlyph(int mode)
{
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (mode > 1) {
        p.setPen(QPen(Qt::gray, 1, mode == 2 ? Qt::DotLine : Qt::SolidLine));
        for (int v = 3; v < kGlyphSize; v += 4) {
            p.drawLine(v, 2, v, kGlyphSize - 3);
            p.drawLine(2, v, kGlyphSize - 3, v);
        }
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(kGlyphSize / 2, 1, kGlyphSize / 2, kGlyphSize - 2);
    p.drawLine(1, kGlyphSize / 2, kGlyphSize - 2, kGlyphSize / 2);
    return QIcon(pixmap);
}

QToolButton* checkableButton(const QString& objectName, const QString& hint, const QIcon& icon,
                             QWidget* parent)
{
    auto* b = MakeGlyphButton({}, objectName, hint, parent, QSize(26, 26));
    b->setIcon(icon);
    b->setIconSize(QSize(kGlyphSize, kGlyphSize));
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
                                  kindGlyph(static_cast<ConditionKind>(k)), rightPanel());
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
    slopeEdit_ = MakeNumberEdit(QStringLiteral("Edit1"), rightPanel());
    xEdit_ = MakeNumberEdit(QStringLiteral("Edit2"), rightPanel());
    yEdit_ = MakeNumberEdit(QStringLiteral("Edit3"), rightPanel());
    grid->addWidget(
        MakeLabel(QStringLiteral("SlopeCaption"), QStringLiteral("Steigung der Tangente"), rightPanel()), 0,
        0, 1, 3);
    grid->addWidget(slopeEdit_, 0, 3);
    grid->addWidget(MakeLabel(QStringLiteral("XCaption"), QStringLiteral("x ="), rightPanel()), 1, 0);
    grid->addWidget(xEdit_, 1, 1);
    grid->addWidget(MakeLabel(QStringLiteral("YCaption"), QStringLiteral("y ="), rightPanel()), 1, 2,
                    Qt::AlignRight);
    grid->addWidget(yEdit_, 1, 3);
    grid->setColumnStretch(2, 1);
    lessonArea()->addLayout(grid);
}

void PolynomialWindow::buildSnapRow()
{
    // The caption sits under the track bar's thumb, so the label moves with the position.
    auto* box = new QWidget(rightPanel());
    box->setFixedSize(4 * 30 + 40, 38);
    snapBar_ = MakeTrackBar(QStringLiteral("TrackBar1"), QStringLiteral("Punktfangraster einstellen"), 1,
                            kSnapModeCount, box);
    snapBar_->setGeometry(0, 0, 4 * 30 + 18, 20);
    snapLabel_ = MakeLabel(QStringLiteral("Label5"), QString::fromStdString(SnapModeText(1)), box);
    snapLabel_->move(4, 20);
    lessonArea()->addWidget(box);

    auto* row = new QHBoxLayout;
    deformButton_ = new QRadioButton(QStringLiteral("Kurve verformen"), rightPanel());
    deformButton_->setObjectName(QStringLiteral("RadioButton6"));
    deformButton_->setChecked(true);
    shiftButton_ = new QRadioButton(QStringLiteral("Kurve verschieben"), rightPanel());
    shiftButton_->setObjectName(QStringLiteral("RadioButton7"));
    row->addWidget(deformButton_);
    row->addWidget(shiftButton_);
    row->addStretch(1);
    lessonArea()->addLayout(row);
}

void PolynomialWindow::buildCurveRows()
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 6, 0, 0);
    grid->setHorizontalSpacing(4);
    polynomialBox_ = MakeCheckBox(QStringLiteral("PolynomialBox"), {}, rightPanel());
    polynomialBox_->setChecked(true);
    firstDerivativeBox_ =
        MakeCheckBox(QStringLiteral("FirstDerivativeBox"), QStringLiteral("f' "), rightPanel());
    secondDerivativeBox_ =
        MakeCheckBox(QStringLiteral("SecondDerivativeBox"), QStringLiteral("f'' "), rightPanel());
    curveColourButton_ = MakeColorButton(QStringLiteral("ColorButton1"), {}, rightPanel());
    curveColourButton_->setSelectionColor(GraphColor);
    firstDerivativeColourButton_ = MakeColorButton(QStringLiteral("ColorButton6"), {}, rightPanel());
    firstDerivativeColourButton_->setSelectionColor(firstDerivativeColor_);
    secondDerivativeColourButton_ = MakeColorButton(QStringLiteral("ColorButton7"), {}, rightPanel());
    secondDerivativeColourButton_->setSelectionColor(secondDerivativeColor_);
    lineWidthBox_ = widthBox("LineWidthComboBox1", rightPanel());
    lineWidthBox_->setLineWidth(LineWidth);
    firstDerivativeWidthBox_ = widthBox("LineWidthComboBox3", rightPanel());
    secondDerivativeWidthBox_ = widthBox("LineWidthComboBox4", rightPanel());
    const struct {
        BitCheckBox* box;
        ColorButton* colour;
        LineWidthComboBox* width;
    } rows[] = {{polynomialBox_, curveColourButton_, lineWidthBox_},
                {firstDerivativeBox_, firstDerivativeColourButton_, firstDerivativeWidthBox_},
                {secondDerivativeBox_, secondDerivativeColourButton_, secondDerivativeWidthBox_}};
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(rows[r].box, r, 0);
        grid->addWidget(rows[r].colour, r, 1);
        grid->addWidget(rows[r].width, r, 2, Qt::AlignLeft);
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
    highBox_ = MakeCheckBox(QStringLiteral("HighPointsBox"), QStringLiteral(" Hochpunkte "), rightPanel());
    lowBox_ = MakeCheckBox(QStringLiteral("LowPointsBox"), QStringLiteral(" Tiefpunkte "), rightPanel());
    inflectionBox_ =
        MakeCheckBox(QStringLiteral("InflectionPointsBox"), QStringLiteral(" Wendepunkte "), rightPanel());
    highColourButton_ = MakeColorButton(QStringLiteral("ColorButton4"), {}, rightPanel());
    highColourButton_->setSelectionColor(highColor_);
    lowColourButton_ = MakeColorButton(QStringLiteral("ColorButton3"), {}, rightPanel());
    lowColourButton_->setSelectionColor(lowColor_);
    inflectionColourButton_ = MakeColorButton(QStringLiteral("ColorButton2"), {}, rightPanel());
    inflectionColourButton_->setSelectionColor(inflectionColor_);
    pointColourButton_ =
        MakeColorButton(QStringLiteral("ColorButton5"), QStringLiteral("Punktfarbe"), rightPanel());
    pointColourButton_->setSelectionColor(pointColor_);
    selectedColourButton_ =
        MakeColorButton(QStringLiteral("ColorButton8"), QStringLiteral("Ausgewählter Punkt"), rightPanel());
    selectedColourButton_->setSelectionColor(selectedPointColor_);
    grid->addWidget(highColourButton_, 0, 0);
    grid->addWidget(highBox_, 0, 1);
    grid->addWidget(lowColourButton_, 1, 0);
    grid->addWidget(lowBox_, 1, 1);
    grid->addWidget(inflectionColourButton_, 2, 0);
    grid->addWidget(inflectionBox_, 2, 1);
    grid->addWidget(pointColourButton_, 0, 2);
    grid->addWidget(
        MakeLabel(QStringLiteral("PointColourCaption"), QStringLiteral("Punktfarbe"), rightPanel()), 0, 3);
    grid->addWidget(selectedColourButton_, 1, 2);
    grid->addWidget(MakeLabel(QStringLiteral("SelectedColourCaption"), QStringLiteral("Ausgewählter Punkt"),
                              rightPanel()),
                    1, 3);
    grid->setColumnStretch(3, 1);
    lessonArea()->addLayout(grid);
}

void PolynomialWindow::buildGridAndListButtons()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 6, 0, 0);
    row->setSpacing(2);
    auto* gridGroup = new QButtonGroup(this);
    const char* names[] = {"SpeedButton50", "SpeedButton52", "SpeedButton53"};
    for (int i = 0; i < 3; ++i) {
        gridButtons_[static_cast<std::size_t>(i)] =
            checkableButton(QString::fromLatin1(names[i]), {}, gridGlyph(i + 1), rightPanel());
        gridGroup->addButton(gridButtons_[static_cast<std::size_t>(i)], i + 1);
        row->addWidget(gridButtons_[static_cast<std::size_t>(i)]);
    }
    row->addStretch(1);
    deleteButton_ = MakeGlyphButton(QStringLiteral("Entf"), QStringLiteral("SpeedButton1"), {}, rightPanel(),
                                    QSize(44, 24));
    newButton_ = MakeGlyphButton(QStringLiteral("Neu"), QStringLiteral("SpeedButton5"),
                                 QStringLiteral("alle Punkte löschen"), rightPanel(), QSize(44, 24));
    row->addWidget(deleteButton_);
    row->addWidget(newButton_);
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
    termButton_ =
        MakeGlyphButton(QStringLiteral("f(x) = "), QStringLiteral("SpeedButton2"), {}, this, QSize(54, 24));
    termButton_->setCheckable(true);
    termButton_->setChecked(true);
    termLabel_ = MakeLabel(QStringLiteral("Label1"), {}, this);
    termLabel_->setFont(TermFont());
    termLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long term wraps instead of widening the window; two lines are kept for it, so the plot
    // keeps its size whatever the term.
    termLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    termLabel_->setWordWrap(true);
    termLabel_->setFixedHeight(2 * termLabel_->fontMetrics().lineSpacing() + 4);
    row->addWidget(termButton_);
    row->addWidget(termLabel_, 1);
    bottomArea()->addLayout(row);
}

void PolynomialWindow::connectControls()
{
    ConnectEditExit(slopeEdit_, this, [this] { onEditLeft(); });
    ConnectEditExit(xEdit_, this, [this] { onEditLeft(); });
    ConnectEditExit(yEdit_, this, [this] { onEditLeft(); });
    connect(snapBar_, &QSlider::valueChanged, this, [this](int mode) { onSnapModeChanged(mode); });
    connect(shiftButton_, &QRadioButton::toggled, this,
            [this] { shiftAllPoints_ = shiftButton_->isChecked(); });
    connect(termButton_, &QToolButton::toggled, this, [this](bool down) {
        termLabel_->setVisible(down);
        drawPicture();
    });
    connect(deleteButton_, &QToolButton::clicked, this, [this] { deleteSelected(); });
    connect(newButton_, &QToolButton::clicked, this, [this] { deleteAll(); });
    for (int i = 0; i < 3; ++i) {
        connect(gridButtons_[static_cast<std::size_t>(i)], &QToolButton::clicked, this, [this, i] {
            GridMode = i + 1;
            fullRedraw();
        });
    }
    connectCurveControls();
}

void PolynomialWindow::connectCurveControls()
{
    const struct {
        BitCheckBox* box;
        bool* flag;
    } boxes[] = {{polynomialBox_, &showPolynomial_},
                 {firstDerivativeBox_, &showFirstDerivative_},
                 {secondDerivativeBox_, &showSecondDerivative_},
                 {slopeLinesBox_, &showSlopeLines_},
                 {fractionBox_, &fractionMode_},
                 {highBox_, &showHigh_},
                 {lowBox_, &showLow_},
                 {inflectionBox_, &showInflection_}};
    for (const auto& b : boxes) {
        connect(b.box, &BitCheckBox::clicked, this, [this, b] {
            *b.flag = b.box->Checked();
            updateTermLabel();
            drawPicture();
        });
    }
    const struct {
        ColorButton* button;
        TColor* color;
    } colours[] = {{curveColourButton_, &GraphColor},
                   {firstDerivativeColourButton_, &firstDerivativeColor_},
                   {secondDerivativeColourButton_, &secondDerivativeColor_},
                   {highColourButton_, &highColor_},
                   {lowColourButton_, &lowColor_},
                   {inflectionColourButton_, &inflectionColor_},
                   {pointColourButton_, &pointColor_},
                   {selectedColourButton_, &selectedPointColor_}};
    for (const auto& c : colours) {
        connect(c.button, &ColorButton::changed, this, [this, c] {
            *c.color = c.button->SelectionColor();
            fullRedraw();
        });
    }
    const struct {
        LineWidthComboBox* box;
        int* width;
    } widths[] = {{lineWidthBox_, &LineWidth},
                  {firstDerivativeWidthBox_, &firstDerivativeWidth_},
                  {secondDerivativeWidthBox_, &secondDerivativeWidth_}};
    for (const auto& w : widths) {
        connect(w.box, &LineWidthComboBox::changed, this, [this, w] {
            *w.width = w.box->LineWidth();
            fullRedraw();
        });
    }
}

} // namespace kurvex
