// Point editing of the fitting and regression windows.
#include "fitting/PointEditor.h"

#include "controls/ColorButton.h"
#include "controls/Cursors.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "core/Decorations.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "lesson/ControlFactory.h"
#include "lesson/LessonWindow.h"
#include "lesson/PlotBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// Cursor slots of the plot: a point under the pointer, the free plot, and "Entf" done.
constexpr int kOverPointCursor = 6;
constexpr int kFreeCursor = 7;
constexpr int kDeletedCursor = 1;
constexpr int kNewPointStyle = 1;
// Pixels between the snap captions under the track bar's five positions.
constexpr int kSnapCaptionStep = 30;
constexpr TColor kStartSelectedColour = 0x0000FF;

QString coordinateText(double v)
{
    return QString::fromStdString(FormatNumberShort(ResultDigits, v)).trimmed();
}

} // namespace

PointEditor::PointEditor(LessonWindow& window, QWidget* parent) : QWidget(parent), window_(window)
{
    buildControls();
}

void PointEditor::buildControls()
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);

    auto* colours = new QGridLayout;
    colours->setHorizontalSpacing(4);
    colours->setVerticalSpacing(2);
    pointColour_ = MakeColorButton(QStringLiteral("ColorButton5"), QStringLiteral("Punktfarbe"), this);
    pointColour_->setSelectionColor(clBlack);
    selectedColour_ =
        MakeColorButton(QStringLiteral("ColorButton8"), QStringLiteral("Ausgewählter Punkt"), this);
    selectedColour_->setSelectionColor(kStartSelectedColour);
    markerStyle_ = new LineStyleComboBox(this);
    markerStyle_->setObjectName(QStringLiteral("LineStyleComboBox1"));
    markerStyle_->setFixedWidth(50);
    markerStyle_->setMaxLineStyle(7);
    markerStyle_->setLineStyle(kNewPointStyle);
    colours->addWidget(MakeLabel(QStringLiteral("Label2"), QStringLiteral("Punktfarbe"), this), 0, 0);
    colours->addWidget(pointColour_, 0, 1);
    colours->addWidget(markerStyle_, 0, 2);
    colours->addWidget(MakeLabel(QStringLiteral("Label3"), QStringLiteral("Ausgewählter Punkt"), this), 1, 0);
    colours->addWidget(selectedColour_, 1, 1);
    colours->setColumnStretch(3, 1);
    column->addLayout(colours);

    snapBar_ = MakeTrackBar(QStringLiteral("TrackBar1"), QStringLiteral("Punktfangraster einstellen"),
                            kSnapModeFirst, kSnapModeLast, this);
    snapBar_->setFixedWidth(4 * kSnapCaptionStep + 24);
    snapBar_->setPageStep(1);
    snapBar_->setTickPosition(QSlider::TicksBelow);
    // The caption moves along under the position it names.
    auto* captionRow = new QWidget(this);
    captionRow->setFixedSize(snapBar_->width(), 16);
    snapCaption_ = new QLabel(captionRow);
    snapCaption_->setObjectName(QStringLiteral("Label5"));
    column->addWidget(snapBar_);
    column->addWidget(captionRow);

    auto* coordinates = new QHBoxLayout;
    coordinates->setSpacing(2);
    xEdit_ = MakeNumberEdit(QStringLiteral("Edit2"), this);
    yEdit_ = MakeNumberEdit(QStringLiteral("Edit3"), this);
    // Room for a coordinate in years or in exponent form ("2,000 E+3").
    deleteButton_ = MakeGlyphButton(QStringLiteral("Entf"), QStringLiteral("SpeedButton1"),
                                    QStringLiteral("Punkt löschen"), this, QSize(36, 22));
    clearButton_ = MakeGlyphButton(QStringLiteral("Neu"), QStringLiteral("SpeedButton5"),
                                   QStringLiteral("alle Punkte löschen"), this, QSize(36, 22));
    coordinates->addWidget(MakeLabel(QStringLiteral("Label6"), QStringLiteral("P("), this));
    coordinates->addWidget(xEdit_);
    coordinates->addWidget(MakeLabel(QStringLiteral("Label7"), QStringLiteral("|"), this));
    coordinates->addWidget(yEdit_);
    coordinates->addWidget(MakeLabel(QStringLiteral("Label8"), QStringLiteral(")"), this));
    coordinates->addSpacing(6);
    coordinates->addWidget(deleteButton_);
    coordinates->addWidget(clearButton_);
    coordinates->addStretch(1);
    column->addLayout(coordinates);

    connect(pointColour_, &ColorButton::changed, this, &PointEditor::coloursChanged);
    connect(selectedColour_, &ColorButton::changed, this, &PointEditor::coloursChanged);
    connect(snapBar_, &QSlider::valueChanged, this, &PointEditor::onSnapMode);
    connect(deleteButton_, &QToolButton::clicked, this, &PointEditor::deleteSelected);
    connect(clearButton_, &QToolButton::clicked, this, &PointEditor::deleteAll);
    ConnectEditExit(xEdit_, this, [this] { onCoordinatesEntered(); });
    ConnectEditExit(yEdit_, this, [this] { onCoordinatesEntered(); });
    snapBar_->setValue(kSnapModeFirst);
    onSnapMode(kSnapModeFirst);
}

bool PointEditor::hasSelection() const
{
    return selected_ >= 0 && selected_ < static_cast<int>(points_.size());
}

TColor PointEditor::pointColor() const
{
    return pointColour_->SelectionColor();
}

TColor PointEditor::selectedPointColor() const
{
    return selectedColour_->SelectionColor();
}

void PointEditor::onSnapMode(int mode)
{
    snapMode_ = std::clamp(mode, kSnapModeFirst, kSnapModeLast);
    snapCaption_->setText(QString::fromUtf8(SnapCaption(snapMode_).data(),
                                            static_cast<qsizetype>(SnapCaption(snapMode_).size())));
    snapCaption_->adjustSize();
    snapCaption_->move((snapMode_ - 1) * kSnapCaptionStep + 4, 0);
}

bool PointEditor::addPoint(double x, double y)
{
    if (points_.size() >= kMaxPlotPoints) {
        return false;
    }
    PlotPoint p;
    p.x = SnapValue(x, snapMode_, XTickStep);
    p.y = SnapValue(y, snapMode_, YTickStep);
    p.color = pointColor();
    p.style = markerStyle_->LineStyle() & 127;
    points_.push_back(p);
    selected_ = static_cast<int>(points_.size()) - 1;
    showCoordinates();
    emit pointsChanged();
    return true;
}

void PointEditor::setPoints(const std::vector<DataPoint>& points, std::optional<int> select)
{
    points_.clear();
    for (const DataPoint& d : points) {
        points_.push_back({d.x, d.y, pointColor(), markerStyle_->LineStyle() & 127});
    }
    if (select) {
        selected_ = *select;
    }
    if (hasSelection()) {
        showCoordinates();
    }
    emit pointsChanged();
}

void PointEditor::deleteSelected()
{
    if (!hasSelection()) {
        return;
    }
    points_.erase(points_.begin() + selected_);
    if (selected_ > 0) {
        --selected_;
    }
    if (hasSelection()) {
        showCoordinates();
    }
    window_.plotBox()->setCursor(ProgramCursor(kDeletedCursor));
    emit pointsChanged();
}

void PointEditor::deleteAll()
{
    points_.clear();
    emit pointsChanged();
}

int PointEditor::pointAt(QPointF pixel) const
{
    const int x = static_cast<int>(std::floor(pixel.x()));
    const int y = static_cast<int>(std::floor(pixel.y()));
    for (int i = static_cast<int>(points_.size()) - 1; i >= 0; --i) {
        const PlotPoint& p = points_[static_cast<std::size_t>(i)];
        if (HitTestPoint(x, y, PixelOf(p.x, p.y))) {
            return i;
        }
    }
    return -1;
}

void PointEditor::setHoverCursor(bool overPoint)
{
    window_.plotBox()->setCursor(ProgramCursor(overPoint ? kOverPointCursor : kFreeCursor));
}

void PointEditor::press(QMouseEvent* event)
{
    const int hit = pointAt(event->position());
    dragging_ = hit >= 0;
    if (dragging_) {
        selected_ = hit;
        showCoordinates();
        emit pointsChanged();
        return;
    }
    const WorldPoint w = window_.worldAt(event->position());
    addPoint(w.x, w.y);
}

void PointEditor::move(QMouseEvent* event)
{
    if (!dragging_) {
        setHoverCursor(pointAt(event->position()) >= 0);
        return;
    }
    if (!hasSelection()) {
        return;
    }
    // The point goes where the pointer is now, so it never trails behind it.
    const WorldPoint w = window_.worldAt(event->position());
    PlotPoint& p = points_[static_cast<std::size_t>(selected_)];
    p.x = SnapValue(w.x, snapMode_, XTickStep);
    p.y = SnapValue(w.y, snapMode_, YTickStep);
    showCoordinates();
    emit pointsChanged();
}

void PointEditor::release()
{
    dragging_ = false;
    emit pointsChanged();
}

bool PointEditor::key(QKeyEvent* event)
{
    if (!window_.plotBox()->hasFocus()) {
        return false;
    }
    const int key = event->key();
    if (key == Qt::Key_Delete) {
        deleteSelected();
        return true;
    }
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) {
        return false;
    }
    if (!hasSelection()) {
        return true;
    }
    PlotPoint& p = points_[static_cast<std::size_t>(selected_)];
    const double sx = ArrowStep(snapMode_, XTickStep);
    const double sy = ArrowStep(snapMode_, YTickStep);
    switch (key) {
    case Qt::Key_Left:
        p.x -= sx;
        break;
    case Qt::Key_Right:
        p.x += sx;
        break;
    case Qt::Key_Up:
        p.y += sy;
        break;
    default:
        p.y -= sy;
        break;
    }
    showCoordinates();
    emit pointsChanged();
    return true;
}

void PointEditor::showCoordinates()
{
    if (!hasSelection()) {
        return;
    }
    const PlotPoint& p = points_[static_cast<std::size_t>(selected_)];
    for (auto [edit, v] : {std::pair{xEdit_, p.x}, std::pair{yEdit_, p.y}}) {
        edit->setText(coordinateText(v));
        edit->setCursorPosition(0);
        edit->setModified(false);
    }
}

void PointEditor::onCoordinatesEntered()
{
    if (!hasSelection()) {
        return;
    }
    PlotPoint& p = points_[static_cast<std::size_t>(selected_)];
    double x = p.x;
    double y = p.y;
    ReadNumberEdit(xEdit_, x);
    ReadNumberEdit(yEdit_, y);
    p.x = x;
    p.y = y;
    // An edit with a syntax error keeps its text and caret for the correction.
    if (!xEdit_->isModified() && !yEdit_->isModified()) {
        showCoordinates();
    }
    emit pointsChanged();
}

void PointEditor::paint(const std::function<void(const PlotPoint&, Point)>& after) const
{
    if (DrawCanvas == nullptr) {
        return;
    }
    Canvas& c = *DrawCanvas;
    const int radius = 4 * ScaledSize(1);
    const int penWidth = ScaledSize(LineWidth);
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const PlotPoint& p = points_[i];
        const TColor colour = static_cast<int>(i) == selected_ ? selectedPointColor() : p.color;
        c.setPen({colour, penWidth, PenStyle::Solid, PenMode::Copy});
        c.setBrush({colour, BrushStyle::Solid});
        const Point pixel = PixelOf(p.x, p.y);
        DrawPointMarker(c, pixel, p.style, radius, penWidth);
        if (after) {
            after(p, pixel);
        }
    }
}

void PointEditor::resetMarkerStyle()
{
    markerStyle_->setLineStyle(kNewPointStyle);
}

} // namespace kurvex
