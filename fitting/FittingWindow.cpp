// Fitting window (TForm30): variant, start state, and the handlers of models, degrees, value
// table, point files and start-value dialog.
#include "fitting/FittingWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/StyleComboBoxes.h"
#include "core/PointFiles.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "fitting/PointEditor.h"
#include "fitting/PointFileDialogs.h"
#include "fitting/SineStartDialog.h"
#include "fitting/ValueTablePanel.h"
#include "lesson/GridModeButtons.h"
#include "lesson/PlotBox.h"
#include "numeric/SineFit.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QSpinBox>

namespace kurvex {

LessonVariant FittingWindow::windowVariant()
{
    LessonVariant v;
    v.delay = DelayKind::A;
    // Fitted curves leave the plot steeply; jumps are drawn far beyond the usual limits.
    v.curve = CurveVariant{2, 20000000.0, 2000000.0};
    v.metafileScale = 4.0;
    v.fontFactor = 1.2;
    v.rubberBand = RubberBandMode::WithZoomBox;
    v.arrowKeys = ArrowKeys::Own;
    v.helpButton = false;
    v.picture.backgroundLayer = true;
    v.picture.aspect = PlotAspect::Square;
    v.dragCursorSlot = 7;
    return v;
}

FittingWindow::FittingWindow(QWidget* owner) : PointPlotWindow(windowVariant(), owner)
{
    setWindowTitle(QStringLiteral("Dynamische Funktionsanpassung"));
    LoadSettings();
    LineWidth = 1;
    buildModelPanel();
    buildPointPanel();
    buildDisplayOptions();
    buildResultLabel();
    connectControls();
    RegModel = kRegLine;
}

FittingWindow::~FittingWindow() = default;

int FittingWindow::selectedModel() const
{
    const int id = models_->checkedId();
    return id >= 0 ? id : kRegLine;
}

FitDegrees FittingWindow::degrees() const
{
    return {polynomialDegree_->value(), numeratorDegree_->value(), denominatorDegree_->value()};
}

void FittingWindow::refreshControls()
{
    const QSignalBlocker blockPolynomial(polynomialDegree_);
    const QSignalBlocker blockNumerator(numeratorDegree_);
    const QSignalBlocker blockDenominator(denominatorDegree_);
    polynomialDegree_->setValue(PolyDegree);
    numeratorDegree_->setValue(NumeratorDegree);
    denominatorDegree_->setValue(DenominatorDegree);
    // The spin boxes keep a degree within their range; the globals follow them.
    PolyDegree = polynomialDegree_->value();
    NumeratorDegree = numeratorDegree_->value();
    DenominatorDegree = denominatorDegree_->value();
    points_->resetMarkerStyle();
    gridButtons_->showMode();
    curveColour_->setSelectionColor(GraphColor);
    curveWidth_->setLineWidth(LineWidth);
}

void FittingWindow::onModelClicked()
{
    // A new model starts the sine fit from its automatic start values again.
    NewModel = true;
    drawPicture();
}

void FittingWindow::onDegreeChanged()
{
    PolyDegree = polynomialDegree_->value();
    NumeratorDegree = numeratorDegree_->value();
    DenominatorDegree = denominatorDegree_->value();
    drawPicture();
}

void FittingWindow::openStartValues()
{
    SineStartDialog dialog(this);
    dialog.exec();
    refresh();
}

void FittingWindow::showValueTable()
{
    table_->fill(SortedByX(points_->points()));
    table_->showCentred();
}

void FittingWindow::takeValueTable()
{
    table_->hide();
    const std::vector<DataPoint> rows = table_->rows();
    points_->setPoints(rows, static_cast<int>(rows.size()) - 1);
}

void FittingWindow::saveValueTable()
{
    const std::vector<PlotPoint>& points = points_->points();
    if (points.empty()) {
        return;
    }
    const PointFileDialogs& dialogs = CurrentPointFileDialogs();
    const auto choice = dialogs.chooseSaveFile(this);
    if (!choice) {
        return;
    }
    const std::string chosen = choice->path.toStdString();
    const std::string target = PointFileTarget(chosen, choice->format);
    const QString targetName = QString::fromStdString(target);
    // The dialog asked about the name chosen; a file the suffix leads to is asked about here.
    if (target != chosen && QFileInfo::exists(targetName) &&
        !dialogs.confirmReplace(
            this, QStringLiteral("Die Datei \"%1\" ist bereits vorhanden.\nSoll sie ersetzt werden?")
                      .arg(targetName))) {
        return;
    }
    const std::string error = WritePointFile(target, SortedByX(points), choice->format);
    if (!error.empty()) {
        dialogs.showMessage(this, QString::fromStdString(error));
    }
}

void FittingWindow::loadValueTable()
{
    const PointFileDialogs& dialogs = CurrentPointFileDialogs();
    const auto path = dialogs.chooseOpenFile(this);
    if (!path) {
        return;
    }
    const PointFileContent content = ReadPointFile(path->toStdString());
    if (!content.error.empty()) {
        dialogs.showMessage(this, QString::fromStdString(content.error));
        return;
    }
    if (content.points.empty()) {
        return;
    }
    {
        // One redraw, after the world window fits the new points.
        const QSignalBlocker block(points_);
        points_->setPoints(content.points, std::nullopt);
    }
    setWorld(WidenedDataBox(content.points));
    checkWorld();
    fullRedraw();
    if (!content.notice.empty()) {
        dialogs.showMessage(this, QString::fromStdString(content.notice));
    }
}

} // namespace kurvex
