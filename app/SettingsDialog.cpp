// Settings dialog (TForm2) "Einstellungen": colours, line and animation settings, axes, ticks and saving.
#include "app/SettingsDialog.h"

#include "app/HelpWindow.h"
#include "lesson/FrameDialogs.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/Glyphs.h"
#include "controls/MultiLineButton.h"
#include "controls/StyleComboBoxes.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/SettingsRules.h"
#include "lesson/PrintExportHooks.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

QToolButton* glyphButton(QWidget* parent, const char* formName, const QIcon& icon, int x, int y)
{
    auto* b = Named(new QToolButton(parent), formName);
    b->setIcon(icon);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setGeometry(x, y, 25, 25);
    return b;
}

constexpr const char* kReversedAxisMessage =
    "Der Anfang einer Achse (von) muss kleiner sein als ihr Ende (bis).";

} // namespace

SettingsDialog::SettingsDialog(QWidget* owner) : SettingsDialogBase(owner, QSize(424, 454))
{
    buildLeftColumn();
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    divider->setGeometry(210, 6, 4, 442);
    buildRightColumn();
    connectControls();
}

void SettingsDialog::openModal(QWidget* owner, const std::function<void()>& curveColourChanged)
{
    SettingsDialog dialog(owner);
    if (curveColourChanged) {
        connect(&dialog, &SettingsDialog::curveColourChanged, &dialog, curveColourChanged);
    }
    dialog.exec();
}

void InstallApplicationDialogs()
{
    FrameDialogs dialogs;
    dialogs.settings = [](QWidget* owner, const std::function<void()>& curveColourChanged) {
        SettingsDialog::openModal(owner, curveColourChanged);
    };
    dialogs.help = [](QWidget* owner) { ShowHelpWindow(owner); };
    InstallFrameDialogs(std::move(dialogs));
}

void SettingsDialog::buildLeftColumn()
{
    placeLabel(QStringLiteral("f"), 8, 12);
    curveColourButton_ = placeColourButton("ColorButton1", 156, 8);
    placeLabel(QStringLiteral("f '  Ableitungsfunktion"), 8, 36);
    firstDerivativeColourButton_ = placeColourButton("ColorButton6", 156, 32);
    placeLabel(QStringLiteral("f '' "), 8, 60);
    secondDerivativeColourButton_ = placeColourButton("ColorButton7", 156, 56);
    placeLabel(QStringLiteral("F   Integralfunktion"), 8, 84);
    areaColourButton_ = placeColourButton("ColorButton8", 156, 80);
    placeLabel(QStringLiteral("Fläche"), 8, 110);
    areaFillStyleBox_ = Named(new FillStyleComboBox(this), "FillStyleComboBox1");
    areaFillStyleBox_->setGeometry(96, 106, 105, 23);
    placeLabel(QStringLiteral("Sekante"), 8, 138);
    secantColourButton_ = placeColourButton("ColorButton9", 156, 134);
    placeLabel(QStringLiteral("Steigungsdreieck"), 8, 162);
    slopeTriangleColourButton_ = placeColourButton("ColorButton4", 156, 158);
    placeLabel(QStringLiteral("Tangente"), 8, 186);
    tangentColourButton_ = placeColourButton("ColorButton5", 70, 182);
    tangentLengthSlider_ = Named(new QSlider(Qt::Horizontal, this), "TrackBar1");
    tangentLengthSlider_->setRange(1, 8);
    tangentLengthSlider_->setTickPosition(QSlider::NoTicks);
    tangentLengthSlider_->setToolTip(QStringLiteral("Linienlänge"));
    tangentLengthSlider_->setGeometry(120, 182, 84, 22);
    placeLabel(QStringLiteral("Linienbreite"), 8, 212);
    lineWidthBox_ = Named(new LineWidthComboBox(this), "LineWidthComboBox1");
    lineWidthBox_->setGeometry(96, 208, 105, 23);
    placeLabel(QStringLiteral("ε, δ   max ="), 8, 242);
    epsDeltaRadiusEdit_ = placeEdit("Edit11", 110, 238, 60);

    placeLabel(QStringLiteral("Animation"), 8, 268);
    placeLabel(QStringLiteral("Schritte"), 8, 292);
    animationStepsEdit_ = placeEdit("Edit7", 62, 288, 34, 4);
    placeLabel(QStringLiteral("Delay"), 100, 292);
    animationDelayEdit_ = placeEdit("Edit9", 142, 288, 36, 4);
    placeLabel(QStringLiteral("ms"), 182, 292);

    placeLabel(QStringLiteral("Funktionsanpassung"), 8, 318);
    placeLabel(QStringLiteral("Genauigkeit"), 8, 342);
    resultDigitsEdit_ = placeEdit("Edit12", 90, 338, 30);
    placeLabel(QStringLiteral("NkSt"), 126, 342);
    placeLabel(QStringLiteral("Eingabe"), 8, 368);
    decimalsEdit_ = placeEdit("Edit10", 90, 364, 30);
    placeLabel(QStringLiteral("NkSt"), 126, 368);

    printerSetupButton_ = placePrinterSetupButton("SpeedButton1", 8, 394, 150);
    placeLabel(QStringLiteral("Ausdruck"), 8, 428);
    printSizeEdit_ = placeEdit("Edit8", 70, 424, 36, 3);
    placeLabel(QStringLiteral("%"), 110, 428);
}

void SettingsDialog::buildRightColumn()
{
    placeLabel(QStringLiteral("Koordinatensystem"), 220, 12);
    placeLabel(QStringLiteral("Hintergrund"), 220, 36);
    backgroundColourButton_ = placeColourButton("ColorButton2", 310, 32);
    placeLabel(QStringLiteral("Gitternetz"), 220, 60);
    gridColourButton_ = placeColourButton("ColorButton3", 310, 56);
    axesOnlyButton_ = glyphButton(this, "SpeedButton50", GridGlyph(1, 16), 220, 84);
    dottedGridButton_ = glyphButton(this, "SpeedButton52", GridGlyph(2, 16), 247, 84);
    solidGridButton_ = glyphButton(this, "SpeedButton53", GridGlyph(3, 16), 274, 84);
    auto* gridGroup = new QButtonGroup(this);
    gridGroup->addButton(axesOnlyButton_, 1);
    gridGroup->addButton(dottedGridButton_, 2);
    gridGroup->addButton(solidGridButton_, 3);
    placeLabel(QStringLiteral("Beschriftung"), 220, 118);
    scaleLabelsOnButton_ = glyphButton(this, "SpeedButton60", ScaleGlyph(true), 310, 112);
    scaleLabelsOffButton_ = glyphButton(this, "SpeedButton61", ScaleGlyph(false), 337, 112);
    auto* scaleGroup = new QButtonGroup(this);
    scaleGroup->addButton(scaleLabelsOnButton_);
    scaleGroup->addButton(scaleLabelsOffButton_);

    placeLabel(QStringLiteral("x - Achse"), 220, 144);
    placeLabel(QStringLiteral("von"), 220, 168);
    xFromEdit_ = placeEdit("Edit1", 246, 164, 64);
    placeLabel(QStringLiteral("bis"), 318, 168);
    xToEdit_ = placeEdit("Edit2", 340, 164, 64);
    placeLabel(QStringLiteral("y - Achse"), 220, 192);
    placeLabel(QStringLiteral("von"), 220, 216);
    yFromEdit_ = placeEdit("Edit3", 246, 212, 64);
    placeLabel(QStringLiteral("bis"), 318, 216);
    yToEdit_ = placeEdit("Edit4", 340, 212, 64);

    placeLabel(QStringLiteral("Skalierung"), 220, 242);
    automaticTicksBox_ = Named(new BitCheckBox(QStringLiteral("automatisch"), this), "BitCheckBox1");
    automaticTicksBox_->setGeometry(220, 260, 140, 17);
    piAxisBox_ = Named(new BitCheckBox(QStringLiteral("x-Einheit k* pi"), this), "BitCheckBox2");
    piAxisBox_->setGeometry(220, 280, 160, 17);
    placeLabel(QStringLiteral("x-Einheit"), 220, 306);
    xTickStepEdit_ = placeEdit("Edit5", 300, 302, 70);
    placeLabel(QStringLiteral("y-Einheit"), 220, 330);
    yTickStepEdit_ = placeEdit("Edit6", 300, 326, 70);

    okButton_ = placeButton("Button1", QStringLiteral("&OK"), QRect(220, 356, 196, 25));
    saveButton_ =
        placeMultiLineButton("Button2", QStringLiteral("&Aktuelle Einstellungen und Eingaben speichern"),
                             QRect(220, 386, 196, 30));
    defaultsButton_ = placeMultiLineButton("Button3", QStringLiteral("&Defaultwerte setzen und speichern"),
                                           QRect(220, 420, 196, 30));
}

void SettingsDialog::connectControls()
{
    auto colour = [this](ColorButton* button, TColor& variable) {
        connect(button, &ColorButton::changed, this,
                [button, &variable] { variable = button->SelectionColor(); });
    };
    connect(curveColourButton_, &ColorButton::changed, this, [this] {
        GraphColor = curveColourButton_->SelectionColor();
        emit curveColourChanged();
    });
    colour(firstDerivativeColourButton_, Deriv1Color);
    colour(secondDerivativeColourButton_, Deriv2Color);
    connect(areaColourButton_, &ColorButton::changed, this, [this] {
        AreaColor = areaColourButton_->SelectionColor();
        areaFillStyleBox_->setBrushColor(AreaColor);
    });
    colour(secantColourButton_, SecantColor);
    colour(slopeTriangleColourButton_, TriangleColor);
    colour(tangentColourButton_, TangentLineColor);
    colour(backgroundColourButton_, BackgroundColor);
    colour(gridColourButton_, GridColor);

    connect(areaFillStyleBox_, &StyleComboBoxBase::changed, this,
            [this] { AreaFillStyle = FillStyleOf(areaFillStyleBox_->FillStyle()); });
    connect(lineWidthBox_, &StyleComboBoxBase::changed, this,
            [this] { LineWidth = lineWidthBox_->LineWidth(); });
    connect(tangentLengthSlider_, &QSlider::valueChanged, this,
            [](int position) { TangentLength = position; });

    ConnectEditExit(epsDeltaRadiusEdit_, this,
                    [this] { ReadNumberEdit(epsDeltaRadiusEdit_, EpsDeltaMaxRadius); });
    ConnectEditExit(animationStepsEdit_, this,
                    [this] { readIntegerEdit(animationStepsEdit_, AnimationSteps, AnimationStepsFromText); });
    ConnectEditExit(animationDelayEdit_, this,
                    [this] { readIntegerEdit(animationDelayEdit_, AnimationDelay, AnimationDelayFromText); });
    ConnectEditExit(resultDigitsEdit_, this, [this] {
        readIntegerEdit(resultDigitsEdit_, ResultDigits,
                        [](std::string_view t) { return ResultDigitsFromText(t, ResultDigits); });
    });
    ConnectEditExit(decimalsEdit_, this,
                    [this] { readIntegerEdit(decimalsEdit_, Decimals, DecimalsFromText); });
    ConnectEditExit(printSizeEdit_, this,
                    [this] { readIntegerEdit(printSizeEdit_, PrintSizePercent, PrintSizePercentFromText); });

    connect(axesOnlyButton_, &QToolButton::clicked, this, [] { GridMode = 1; });
    connect(dottedGridButton_, &QToolButton::clicked, this, [] { GridMode = 2; });
    connect(solidGridButton_, &QToolButton::clicked, this, [] { GridMode = 3; });
    connect(scaleLabelsOnButton_, &QToolButton::clicked, this, [] { ShowScale = true; });
    connect(scaleLabelsOffButton_, &QToolButton::clicked, this, [] { ShowScale = false; });

    ConnectEditExit(xFromEdit_, this, [this] { readAxisEdit(xFromEdit_, XMin, XMin, XMax); });
    ConnectEditExit(xToEdit_, this, [this] { readAxisEdit(xToEdit_, XMax, XMin, XMax); });
    ConnectEditExit(yFromEdit_, this, [this] { readAxisEdit(yFromEdit_, YMin, YMin, YMax); });
    ConnectEditExit(yToEdit_, this, [this] { readAxisEdit(yToEdit_, YMax, YMin, YMax); });

    connect(automaticTicksBox_, &BitCheckBox::clicked, this, &SettingsDialog::onAutomaticTicksToggled);
    connect(piAxisBox_, &BitCheckBox::clicked, this, [this] { PiAxis = piAxisBox_->Checked(); });
    ConnectEditExit(xTickStepEdit_, this, [this] { readTickStepEdit(true); });
    ConnectEditExit(yTickStepEdit_, this, [this] { readTickStepEdit(false); });

    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(saveButton_, &QPushButton::clicked, this, &SettingsDialog::save);
    connect(defaultsButton_, &QPushButton::clicked, this, &SettingsDialog::setDefaultsAndSave);
}

void SettingsDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    fillFromSettings();
}

void SettingsDialog::fillFromSettings()
{
    ShowNumber(xFromEdit_, XMin);
    ShowNumber(xToEdit_, XMax);
    ShowNumber(yFromEdit_, YMin);
    ShowNumber(yToEdit_, YMax);
    ShowNumber(epsDeltaRadiusEdit_, EpsDeltaMaxRadius);
    showInteger(decimalsEdit_, Decimals);
    showInteger(resultDigitsEdit_, ResultDigits);
    showInteger(printSizeEdit_, PrintSizePercent);
    showInteger(animationStepsEdit_, AnimationSteps);
    lineWidthBox_->setLineWidth(LineWidth);
    piAxisBox_->setChecked(PiAxis);
    automaticTicksBox_->setChecked(AutoTicks);
    xTickStepEdit_->setEnabled(!AutoTicks);
    yTickStepEdit_->setEnabled(!AutoTicks);
    ShowNumber(xTickStepEdit_, AutoTicks ? XTickStep : UserXTickStep);
    ShowNumber(yTickStepEdit_, AutoTicks ? YTickStep : UserYTickStep);
    curveColourButton_->setSelectionColor(GraphColor);
    backgroundColourButton_->setSelectionColor(BackgroundColor);
    gridColourButton_->setSelectionColor(GridColor);
    slopeTriangleColourButton_->setSelectionColor(TriangleColor);
    tangentColourButton_->setSelectionColor(TangentLineColor);
    firstDerivativeColourButton_->setSelectionColor(Deriv1Color);
    secondDerivativeColourButton_->setSelectionColor(Deriv2Color);
    areaColourButton_->setSelectionColor(AreaColor);
    secantColourButton_->setSelectionColor(SecantColor);
    areaFillStyleBox_->setFillStyle(FillStyleIndex(AreaFillStyle));
    areaFillStyleBox_->setBrushColor(AreaColor);
    QToolButton* grid = GridMode == 1   ? axesOnlyButton_
                        : GridMode == 3 ? solidGridButton_
                                        : dottedGridButton_;
    grid->setChecked(GridMode >= 1 && GridMode <= 3);
    {
        // Showing the bar must not round the stored tangent length.
        const QSignalBlocker block(tangentLengthSlider_);
        const double length = std::isfinite(TangentLength) ? std::clamp(TangentLength, 1.0, 8.0) : 1.0;
        tangentLengthSlider_->setValue(static_cast<int>(std::nearbyint(length)));
    }
    (ShowScale ? scaleLabelsOnButton_ : scaleLabelsOffButton_)->setChecked(true);
    showInteger(animationDelayEdit_, AnimationDelay);
}

void SettingsDialog::readAxisEdit(QLineEdit* e, double& end, const double& lower, const double& upper)
{
    double value = end;
    if (!ReadNumberEdit(e, value)) {
        return;
    }
    const bool isLower = &end == &lower;
    if (AxisRangeAccepted(isLower ? value : lower, isLower ? upper : value)) {
        end = value;
        return;
    }
    // Equal or reversed ends would leave no window to draw in; a silent refusal would leave the
    // user with a picture of a range they did not ask for.
    ShowNumber(e, end);
    CurrentPrintExportHooks().showError(this, QString::fromUtf8(kReversedAxisMessage));
    e->setFocus(Qt::OtherFocusReason);
    e->selectAll();
}

void SettingsDialog::onAutomaticTicksToggled()
{
    if (!automaticTicksBox_->Checked()) {
        AutoTicks = false;
        xTickStepEdit_->setEnabled(true);
        yTickStepEdit_->setEnabled(true);
        // The automatic step itself, not the shown one: that may be rounded to 0 or carry the
        // pi/2 factor of the last drawing.
        ComputeXTickStep();
        ComputeYTickStep();
        acceptTickStep(true, AutoXTickStep);
        acceptTickStep(false, AutoYTickStep);
        ShowNumber(xTickStepEdit_, UserXTickStep);
        ShowNumber(yTickStepEdit_, UserYTickStep);
        return;
    }
    AutoTicks = true;
    xTickStepEdit_->setEnabled(false);
    yTickStepEdit_->setEnabled(false);
    ComputeXTickStep();
    ComputeYTickStep();
    ShowNumber(xTickStepEdit_, XTickStep);
    ShowNumber(yTickStepEdit_, YTickStep);
}

void SettingsDialog::readTickStepEdit(bool xAxis)
{
    double step = xAxis ? UserXTickStep : UserYTickStep;
    ReadNumberEdit(xAxis ? xTickStepEdit_ : yTickStepEdit_, step);
    acceptTickStep(xAxis, step);
}

void SettingsDialog::acceptTickStep(bool xAxis, double candidate)
{
    const double span = xAxis ? XMax - XMin : YMax - YMin;
    double& user = xAxis ? UserXTickStep : UserYTickStep;
    if (TickStepAccepted(span, candidate)) {
        user = candidate;
        return;
    }
    const bool wasAuto = AutoTicks;
    AutoTicks = true;
    if (xAxis) {
        ComputeXTickStep();
    } else {
        ComputeYTickStep();
    }
    user = xAxis ? AutoXTickStep : AutoYTickStep;
    AutoTicks = wasAuto;
    ShowNumber(xAxis ? xTickStepEdit_ : yTickStepEdit_, user);
}

void SettingsDialog::save()
{
    reportSaveFailure(SaveSettings());
}

void SettingsDialog::setDefaultsAndSave()
{
    SetDefaultSettings();
    save();
    // Stale texts would be read back into the variables at the next exit.
    fillFromSettings();
}

} // namespace kurvex
