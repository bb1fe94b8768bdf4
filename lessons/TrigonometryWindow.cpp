// Trigonometry window (TForm5): layout, the angle's bars, drag and animation, the options, the own
// settings dialog with the world swap, and the own print scale.
#include "lessons/TrigonometryWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ToggleSwitch.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/TrigonometrySettings.h"
#include "core/UnitCircle.h"
#include "lesson/ControlFactory.h"
#include "lesson/PlotBox.h"
#include "lessons/TrigonometrySettingsDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// Height of the panel with the two bars below the plot.
constexpr int kBarsPanelHeight = 52;

} // namespace

LessonVariant TrigonometryWindow::windowVariant()
{
    // A fixed world window: no zoom, pad, rubber band or help; a plot 137 wide to 80 high.
    return {.delay = DelayKind::A,
            .curve = {1, 20000, 20000},
            .metafileScale = 4.0,
            .fontFactor = 1.2,
            .printClipToPage = false,
            .rubberBand = RubberBandMode::None,
            .arrowKeys = ArrowKeys::None,
            .helpButton = false,
            .zoomPad = false,
            .picture = {.backgroundLayer = false,
                        .panes = 1,
                        .share = PlotShare::WholeBox,
                        .aspect = PlotAspect::Given,
                        .widthPerHeight = 137.0 / 80.0},
            .worldLimits = {},
            .dragCursorSlot = 4,
            .setsModuleOpen = true};
}

TrigonometryWindow::TrigonometryWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    TrigTicks = true;
    angle_ = std::numbers::pi / 6.0;
    graphPenColor_ = GraphColor;
    graphPenWidth_ = LineWidth;
    SavedXMin = XMin;
    SavedXMax = XMax;
    SavedYMin = YMin;
    SavedYMax = YMax;
    setWorld(kTrigWorld);

    setWindowTitle(QStringLiteral("Sinus, Tangens"));
    buildControls();
    buildAngleBars();
    connectControls();
    resize(1180, 640);
}

// ---------------------------------------------------------------------------------------------
// Layout

void TrigonometryWindow::buildControls()
{
    auto* heading = MakeLabel(QStringLiteral("Label1"), QStringLiteral("Trigonometrische Funktionen"), this);
    QFont big = heading->font();
    big.setPixelSize(18);
    big.setBold(true);
    heading->setFont(big);
    heading->setAlignment(Qt::AlignCenter);
    topArea()->addWidget(heading);

    QWidget* panel = rightPanel();
    auto* functions = new QHBoxLayout;
    options_.sine = new QRadioButton(QStringLiteral("sin"), panel);
    options_.sine->setObjectName(QStringLiteral("RadioButton1"));
    options_.sine->setChecked(true);
    options_.tangent = new QRadioButton(QStringLiteral("tan"), panel);
    options_.tangent->setObjectName(QStringLiteral("RadioButton2"));
    functions->addWidget(options_.sine);
    functions->addWidget(options_.tangent);
    functions->addStretch(1);
    lessonArea()->addLayout(functions);

    options_.cosine = MakeCheckBox(QStringLiteral("BitCheckBox1"), QStringLiteral("cos einblenden"), panel);
    options_.cotangent =
        MakeCheckBox(QStringLiteral("BitCheckBox3"), QStringLiteral("cot einblenden"), panel);
    options_.radians = MakeCheckBox(QStringLiteral("BitCheckBox2"), QStringLiteral("Bogenmaß"), panel);
    options_.radians->setChecked(true);
    lessonArea()->addWidget(options_.cosine);
    lessonArea()->addWidget(options_.cotangent);
    lessonArea()->addWidget(options_.radians);

    auto* animation = new QHBoxLayout;
    auto* reset = MakeGlyphButton(QStringLiteral("\u21BA"), QStringLiteral("SpeedButton2"),
                                  QStringLiteral("Anfangswerte setzen"), panel);
    animationSwitch_ = MakeAnimationSwitch(QStringLiteral("Switch1"), panel);
    auto* direction = MakeGlyphButton(QStringLiteral("\u21C4"), QStringLiteral("SpeedButton24"), {}, panel);
    connect(reset, &QToolButton::clicked, this, &TrigonometryWindow::onReset);
    connect(direction, &QToolButton::clicked, this, [this] { direction_ = -direction_; });
    animation->addWidget(reset);
    animation->addWidget(animationSwitch_);
    animation->addWidget(direction);
    animation->addStretch(1);
    lessonArea()->addLayout(animation);
    registerAnimationSwitch(animationSwitch_);
}

void TrigonometryWindow::buildAngleBars()
{
    barsPanel_ = new QWidget(this);
    barsPanel_->setFixedHeight(kBarsPanelHeight);
    bottomArea()->addWidget(barsPanel_);
    degreeBar_ = new QScrollBar(Qt::Horizontal, barsPanel_);
    degreeBar_->setObjectName(QStringLiteral("ScrollBar1"));
    degreeBar_->setToolTip(QStringLiteral("1° Schrittweite"));
    degreeBar_->setRange(kDegreeBarMin, kDegreeBarMax);
    degreeBar_->setPageStep(1);
    degreeBar_->setValue(30);
    stepBar_ = MakeTrackBar(QStringLiteral("TrackBar1"), QStringLiteral("15° Schrittweite"), kStepBarMin,
                            kStepBarMax, barsPanel_);
    stepBar_->setTickPosition(QSlider::TicksBelow);
    stepBar_->setTickInterval(1);
    stepBar_->setValue(2);
}

void TrigonometryWindow::placeAngleBars()
{
    // Both bars lie under the graph's -π..2π, whatever the plot's width.
    const int plotLeft = plotBox()->mapTo(this, QPoint(0, 0)).x() - barsPanel_->mapTo(this, QPoint(0, 0)).x();
    const int w = plotBox()->width();
    const auto place = [&](QWidget* bar, double start, double share, int top, int height) {
        const int left = plotLeft + static_cast<int>(std::lround(start * w));
        const int width = std::min(static_cast<int>(std::lround(share * w)), barsPanel_->width() - left);
        bar->setGeometry(left, top, std::max(1, width), height);
    };
    place(degreeBar_, 0.25, 0.76, 2, 18);
    place(stepBar_, 0.26, 0.74, 24, 26);
}

void TrigonometryWindow::connectControls()
{
    connect(plotBox(), &PlotBox::resized, this, &TrigonometryWindow::placeAngleBars);
    connect(degreeBar_, &QScrollBar::valueChanged, this, &TrigonometryWindow::onDegreeBar);
    connect(stepBar_, &QSlider::valueChanged, this, &TrigonometryWindow::onStepBar);
    for (QRadioButton* b : {options_.sine, options_.tangent}) {
        connect(b, &QRadioButton::clicked, this, &TrigonometryWindow::onOptionsChanged);
    }
    for (BitCheckBox* box : {options_.cosine, options_.cotangent, options_.radians}) {
        connect(box, &BitCheckBox::clicked, this, &TrigonometryWindow::onOptionsChanged);
    }
    connect(animationSwitch_, &ToggleSwitch::clicked, this, &TrigonometryWindow::onAnimation);
}

void TrigonometryWindow::refreshControls()
{
    placeAngleBars();
    (tangentMode_ ? options_.tangent : options_.sine)->setChecked(true);
    options_.cosine->setChecked(showCosine_);
    options_.cotangent->setChecked(showCotangent_);
    options_.radians->setChecked(radianMode_);
}

// ---------------------------------------------------------------------------------------------
// The angle and the options

void TrigonometryWindow::onDegreeBar(int position)
{
    angle_ = AngleOfDegreeBar(position);
    drawPicture();
}

void TrigonometryWindow::onStepBar(int position)
{
    angle_ = AngleOfStepBar(position);
    drawPicture();
}

void TrigonometryWindow::setBarsQuietly(int degreePosition, int stepPosition)
{
    const QSignalBlocker quietDegrees(degreeBar_);
    const QSignalBlocker quietSteps(stepBar_);
    degreeBar_->setValue(degreePosition);
    stepBar_->setValue(stepPosition);
}

void TrigonometryWindow::onOptionsChanged()
{
    tangentMode_ = options_.tangent->isChecked();
    showCosine_ = options_.cosine->Checked();
    showCotangent_ = options_.cotangent->Checked();
    radianMode_ = options_.radians->Checked();
    drawPicture();
}

void TrigonometryWindow::onReset()
{
    angle_ = 0.0;
    direction_ = 1;
    setBarsQuietly(0, 0);
    drawPicture();
}

void TrigonometryWindow::plotMove(QMouseEvent* event)
{
    if (!mouseDragActive()) {
        return;
    }
    // The graph's x under the mouse; the bars stay where they were.
    angle_ = worldAt(event->position()).x;
    drawPicture();
}

void TrigonometryWindow::onAnimation()
{
    AnimationTrack track;
    track.toggle = animationSwitch_;
    track.frame = [this] {
        drawPicture();
        direction_ = TurnAround(angle_, direction_);
        angle_ += direction_ * AnimationAngleStep(TrigAnimationSteps);
    };
    // The bars take the angle as a user's move would: the one that changes last sets its grid.
    track.finished = [this] {
        degreeBar_->setValue(DegreeBarPosition(angle_));
        stepBar_->setValue(StepBarPosition(angle_));
    };
    runAnimation(std::move(track), 0.0);
}

// ---------------------------------------------------------------------------------------------
// World window, settings, print, close

void TrigonometryWindow::initWorld()
{
    setWorld(kTrigWorld);
}

void TrigonometryWindow::checkWorld()
{
    setWorld(kTrigWorld);
}

void TrigonometryWindow::showSettingsDialog()
{
    // The dialog sees the other lessons' window; this one gets its own back however it closes.
    setWorld(SavedWorld());
    const auto fixedAgain = qScopeGuard([] { setWorld(kTrigWorld); });
    TrigonometrySettingsDialog dialog(this, [this] { fullRedraw(); });
    dialog.exec();
}

void TrigonometryWindow::adjustPrintLayout(PrintLayout& layout) const
{
    const QSize plot = PlotWidth > 0 && PlotHeight > 0 ? QSize(PlotWidth, PlotHeight) : plotSize();
    ApplyTrigPrintScale(layout, {plot.width(), plot.height(), PlotLeft, PlotTop, PrintSizePercent,
                                 AutoXTickStep, AutoYTickStep, std::abs(YMax - YMin)});
}

void TrigonometryWindow::closing()
{
    TrigTicks = false;
}

} // namespace kurvex
