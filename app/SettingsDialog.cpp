// Settings dialog "Einstellungen": colours, line and animation settings, axes, ticks and saving.
#include "app/SettingsDialog.h"

#include "app/HelpWindow.h"
#include "lesson/FrameDialogs.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/MultiLineButton.h"
#include "controls/StyleComboBoxes.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/SettingsRules.h"
#include "lesson/ApplicationPrinter.h"
#include "lesson/PrintExportHooks.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// Grid glyphs: axes only, dotted grid, solid grid; label glyphs: axes with and without a "1".
QIcon gridGlyph(int mode)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::white);
    QPainter p(&pm);
    if (mode > 1) {
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, mode == 2 ? Qt::DotLine : Qt::SolidLine));
        for (int i = 2; i < 16; i += 4) {
            p.drawLine(i, 0, i, 15);
            p.drawLine(0, i, 15, i);
        }
    }
    p.setPen(Qt::black);
    p.drawLine(0, 8, 15, 8);
    p.drawLine(8, 0, 8, 15);
    return QIcon(pm);
}

QIcon scaleGlyph(bool labelled)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawLine(0, 4, 15, 4);
    p.drawLine(4, 0, 4, 15);
    p.drawLine(10, 3, 10, 5);
    if (labelled) {
        QFont f = p.font();
        f.setPixelSize(9);
        p.setFont(f);
        p.drawText(QRect(7, 6, 8, 10), Qt::AlignCenter, QStringLiteral("1"));
    }
    return QIcon(pm);
}

QLabel* label(QWidget* parent, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->adjustSize();
    l->move(x, y);
    return l;
}

QLineEdit* edit(QWidget* parent, int x, int y, int width, int maxLength = 0)
{
    auto* e = new QLineEdit(parent);
    e->setGeometry(x, y, width, 21);
    if (maxLength > 0) {
        e->setMaxLength(maxLength);
    }
    return e;
}

ColorButton* colorButton(QWidget* parent, int x, int y)
{
    auto* b = new ColorButton(parent);
    b->setFlat(true);
    b->setGeometry(x, y, 45, 22);
    return b;
}

QToolButton* speedButton(QWidget* parent, const QIcon& icon, int x, int y)
{
    auto* b = new QToolButton(parent);
    b->setIcon(icon);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setGeometry(x, y, 25, 25);
    return b;
}

constexpr const char* kReversedAxisMessage =
    "Der Anfang einer Achse (von) muss kleiner sein als ihr Ende (bis).";

void showInteger(QLineEdit* e, int value)
{
    e->setText(QString::number(value));
}

} // namespace

SettingsDialog::SettingsDialog(QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Einstellungen"));
    setWindowFlag(Qt::Tool);
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(424, 454);

    buildLeftColumn();
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    divider->setGeometry(210, 6, 4, 442);
    buildRightColumn();
    connectControls();
}

void SettingsDialog::Execute(QWidget* owner, const std::function<void()>& curveColourChanged)
{
    SettingsDialog dialog(owner);
    if (curveColourChanged) {
        connect(&dialog, &SettingsDialog::graphColorChanged, &dialog, curveColourChanged);
    }
    dialog.exec();
}

void InstallApplicationDialogs()
{
    FrameDialogs dialogs;
    dialogs.settings = [](QWidget* owner, const std::function<void()>& curveColourChanged) {
        SettingsDialog::Execute(owner, curveColourChanged);
    };
    dialogs.help = [](QWidget* owner) { ShowHelpWindow(owner); };
    InstallFrameDialogs(std::move(dialogs));
}

void SettingsDialog::buildLeftColumn()
{
    label(this, QStringLiteral("f"), 8, 12);
    ColorButton1 = colorButton(this, 156, 8);
    label(this, QStringLiteral("f '  Ableitungsfunktion"), 8, 36);
    ColorButton6 = colorButton(this, 156, 32);
    label(this, QStringLiteral("f '' "), 8, 60);
    ColorButton7 = colorButton(this, 156, 56);
    label(this, QStringLiteral("F   Integralfunktion"), 8, 84);
    ColorButton8 = colorButton(this, 156, 80);
    label(this, QStringLiteral("Fläche"), 8, 110);
    FillStyleComboBox1 = new FillStyleComboBox(this);
    FillStyleComboBox1->setGeometry(96, 106, 105, 23);
    label(this, QStringLiteral("Sekante"), 8, 138);
    ColorButton9 = colorButton(this, 156, 134);
    label(this, QStringLiteral("Steigungsdreieck"), 8, 162);
    ColorButton4 = colorButton(this, 156, 158);
    label(this, QStringLiteral("Tangente"), 8, 186);
    ColorButton5 = colorButton(this, 70, 182);
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setRange(1, 8);
    TrackBar1->setTickPosition(QSlider::NoTicks);
    TrackBar1->setToolTip(QStringLiteral("Linienlänge"));
    TrackBar1->setGeometry(120, 182, 84, 22);
    label(this, QStringLiteral("Linienbreite"), 8, 212);
    LineWidthComboBox1 = new LineWidthComboBox(this);
    LineWidthComboBox1->setGeometry(96, 208, 105, 23);
    label(this, QStringLiteral("ε, δ   max ="), 8, 242);
    Edit11 = edit(this, 110, 238, 60);

    label(this, QStringLiteral("Animation"), 8, 268);
    label(this, QStringLiteral("Schritte"), 8, 292);
    Edit7 = edit(this, 62, 288, 34, 4);
    label(this, QStringLiteral("Delay"), 100, 292);
    Edit9 = edit(this, 142, 288, 36, 4);
    label(this, QStringLiteral("ms"), 182, 292);

    label(this, QStringLiteral("Funktionsanpassung"), 8, 318);
    label(this, QStringLiteral("Genauigkeit"), 8, 342);
    Edit12 = edit(this, 90, 338, 30);
    label(this, QStringLiteral("NkSt"), 126, 342);
    label(this, QStringLiteral("Eingabe"), 8, 368);
    Edit10 = edit(this, 90, 364, 30);
    label(this, QStringLiteral("NkSt"), 126, 368);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(QStringLiteral("Drucker-Einstellungen"));
    SpeedButton1->setGeometry(8, 394, 150, 24);
    label(this, QStringLiteral("Ausdruck"), 8, 428);
    Edit8 = edit(this, 70, 424, 36, 3);
    label(this, QStringLiteral("%"), 110, 428);
}

void SettingsDialog::buildRightColumn()
{
    label(this, QStringLiteral("Koordinatensystem"), 220, 12);
    label(this, QStringLiteral("Hintergrund"), 220, 36);
    ColorButton2 = colorButton(this, 310, 32);
    label(this, QStringLiteral("Gitternetz"), 220, 60);
    ColorButton3 = colorButton(this, 310, 56);
    SpeedButton50 = speedButton(this, gridGlyph(1), 220, 84);
    SpeedButton52 = speedButton(this, gridGlyph(2), 247, 84);
    SpeedButton53 = speedButton(this, gridGlyph(3), 274, 84);
    auto* gridGroup = new QButtonGroup(this);
    gridGroup->addButton(SpeedButton50, 1);
    gridGroup->addButton(SpeedButton52, 2);
    gridGroup->addButton(SpeedButton53, 3);
    label(this, QStringLiteral("Beschriftung"), 220, 118);
    SpeedButton60 = speedButton(this, scaleGlyph(true), 310, 112);
    SpeedButton61 = speedButton(this, scaleGlyph(false), 337, 112);
    auto* scaleGroup = new QButtonGroup(this);
    scaleGroup->addButton(SpeedButton60);
    scaleGroup->addButton(SpeedButton61);

    label(this, QStringLiteral("x - Achse"), 220, 144);
    label(this, QStringLiteral("von"), 220, 168);
    Edit1 = edit(this, 246, 164, 64);
    label(this, QStringLiteral("bis"), 318, 168);
    Edit2 = edit(this, 340, 164, 64);
    label(this, QStringLiteral("y - Achse"), 220, 192);
    label(this, QStringLiteral("von"), 220, 216);
    Edit3 = edit(this, 246, 212, 64);
    label(this, QStringLiteral("bis"), 318, 216);
    Edit4 = edit(this, 340, 212, 64);

    label(this, QStringLiteral("Skalierung"), 220, 242);
    BitCheckBox1 = new BitCheckBox(QStringLiteral("automatisch"), this);
    BitCheckBox1->setGeometry(220, 260, 140, 17);
    BitCheckBox2 = new BitCheckBox(QStringLiteral("x-Einheit k* pi"), this);
    BitCheckBox2->setGeometry(220, 280, 160, 17);
    label(this, QStringLiteral("x-Einheit"), 220, 306);
    Edit5 = edit(this, 300, 302, 70);
    label(this, QStringLiteral("y-Einheit"), 220, 330);
    Edit6 = edit(this, 300, 326, 70);

    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setAutoDefault(false);
    Button1->setGeometry(220, 356, 196, 25);
    Button2 = new MultiLineButton(QStringLiteral("&Aktuelle Einstellungen und Eingaben speichern"), this);
    Button2->setGeometry(220, 386, 196, 30);
    Button3 = new MultiLineButton(QStringLiteral("&Defaultwerte setzen und speichern"), this);
    Button3->setGeometry(220, 420, 196, 30);
}

void SettingsDialog::connectControls()
{
    auto colour = [this](ColorButton* button, TColor& variable) {
        connect(button, &ColorButton::changed, this,
                [button, &variable] { variable = button->SelectionColor(); });
    };
    connect(ColorButton1, &ColorButton::changed, this, [this] {
        GraphColor = ColorButton1->SelectionColor();
        emit graphColorChanged();
    });
    colour(ColorButton6, Deriv1Color);
    colour(ColorButton7, Deriv2Color);
    connect(ColorButton8, &ColorButton::changed, this, [this] {
        AreaColor = ColorButton8->SelectionColor();
        FillStyleComboBox1->setBrushColor(AreaColor);
    });
    colour(ColorButton9, SecantColor);
    colour(ColorButton4, TriangleColor);
    colour(ColorButton5, TangentLineColor);
    colour(ColorButton2, BackgroundColor);
    colour(ColorButton3, GridColor);

    connect(FillStyleComboBox1, &StyleComboBoxBase::changed, this,
            [this] { AreaFillStyle = FillStyleOf(FillStyleComboBox1->FillStyle()); });
    connect(LineWidthComboBox1, &StyleComboBoxBase::changed, this,
            [this] { LineWidth = LineWidthComboBox1->LineWidth(); });
    connect(TrackBar1, &QSlider::valueChanged, this, [](int position) { TangentLength = position; });

    ConnectEditExit(Edit11, this, [this] { ReadNumberEdit(Edit11, EpsDeltaMaxRadius); });
    ConnectEditExit(Edit7, this, [this] { integerEditExit(Edit7, AnimationSteps, AnimationStepsFromText); });
    ConnectEditExit(Edit9, this, [this] { integerEditExit(Edit9, AnimationDelay, AnimationDelayFromText); });
    ConnectEditExit(Edit12, this, [this] {
        integerEditExit(Edit12, ResultDigits,
                        [](std::string_view t) { return ResultDigitsFromText(t, ResultDigits); });
    });
    ConnectEditExit(Edit10, this, [this] { integerEditExit(Edit10, Decimals, DecimalsFromText); });
    ConnectEditExit(Edit8, this,
                    [this] { integerEditExit(Edit8, PrintSizePercent, PrintSizePercentFromText); });

    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { CurrentPrintExportHooks().setupPrinter(this, ApplicationPrinter()); });
    connect(SpeedButton50, &QToolButton::clicked, this, [] { GridMode = 1; });
    connect(SpeedButton52, &QToolButton::clicked, this, [] { GridMode = 2; });
    connect(SpeedButton53, &QToolButton::clicked, this, [] { GridMode = 3; });
    connect(SpeedButton60, &QToolButton::clicked, this, [] { ShowScale = true; });
    connect(SpeedButton61, &QToolButton::clicked, this, [] { ShowScale = false; });

    ConnectEditExit(Edit1, this, [this] { axisEditExit(Edit1, XMin, XMin, XMax); });
    ConnectEditExit(Edit2, this, [this] { axisEditExit(Edit2, XMax, XMin, XMax); });
    ConnectEditExit(Edit3, this, [this] { axisEditExit(Edit3, YMin, YMin, YMax); });
    ConnectEditExit(Edit4, this, [this] { axisEditExit(Edit4, YMax, YMin, YMax); });

    connect(BitCheckBox1, &BitCheckBox::clicked, this, &SettingsDialog::BitCheckBox1Click);
    connect(BitCheckBox2, &BitCheckBox::clicked, this, [this] { PiAxis = BitCheckBox2->Checked(); });
    ConnectEditExit(Edit5, this, [this] { tickEditExit(true); });
    ConnectEditExit(Edit6, this, [this] { tickEditExit(false); });

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &SettingsDialog::save);
    connect(Button3, &QPushButton::clicked, this, &SettingsDialog::setDefaultsAndSave);
}

void SettingsDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
}

void SettingsDialog::FormShow()
{
    ShowNumber(Edit1, XMin);
    ShowNumber(Edit2, XMax);
    ShowNumber(Edit3, YMin);
    ShowNumber(Edit4, YMax);
    ShowNumber(Edit11, EpsDeltaMaxRadius);
    showInteger(Edit10, Decimals);
    showInteger(Edit12, ResultDigits);
    showInteger(Edit8, PrintSizePercent);
    showInteger(Edit7, AnimationSteps);
    LineWidthComboBox1->setLineWidth(LineWidth);
    BitCheckBox2->setChecked(PiAxis);
    BitCheckBox1->setChecked(AutoTicks);
    Edit5->setEnabled(!AutoTicks);
    Edit6->setEnabled(!AutoTicks);
    ShowNumber(Edit5, AutoTicks ? XTickStep : UserXTickStep);
    ShowNumber(Edit6, AutoTicks ? YTickStep : UserYTickStep);
    ColorButton1->setSelectionColor(GraphColor);
    ColorButton2->setSelectionColor(BackgroundColor);
    ColorButton3->setSelectionColor(GridColor);
    ColorButton4->setSelectionColor(TriangleColor);
    ColorButton5->setSelectionColor(TangentLineColor);
    ColorButton6->setSelectionColor(Deriv1Color);
    ColorButton7->setSelectionColor(Deriv2Color);
    ColorButton8->setSelectionColor(AreaColor);
    ColorButton9->setSelectionColor(SecantColor);
    FillStyleComboBox1->setFillStyle(FillStyleIndex(AreaFillStyle));
    FillStyleComboBox1->setBrushColor(AreaColor);
    QToolButton* grid = GridMode == 1 ? SpeedButton50 : GridMode == 3 ? SpeedButton53 : SpeedButton52;
    grid->setChecked(GridMode >= 1 && GridMode <= 3);
    {
        // Showing the bar must not round the stored tangent length.
        const QSignalBlocker block(TrackBar1);
        const double length = std::isfinite(TangentLength) ? std::clamp(TangentLength, 1.0, 8.0) : 1.0;
        TrackBar1->setValue(static_cast<int>(std::nearbyint(length)));
    }
    (ShowScale ? SpeedButton60 : SpeedButton61)->setChecked(true);
    showInteger(Edit9, AnimationDelay);
}

void SettingsDialog::integerEditExit(QLineEdit* e, int& variable,
                                     const std::function<int(std::string_view)>& rule)
{
    variable = rule(e->text().toStdString());
    showInteger(e, variable);
}

void SettingsDialog::axisEditExit(QLineEdit* e, double& end, const double& lower, const double& upper)
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

void SettingsDialog::done(int result)
{
    // Alt+O or Esc close the dialog without the focus leaving the edit, so its exit has not run.
    if (auto* typing = qobject_cast<QLineEdit*>(focusWidget()); typing != nullptr && typing->isModified()) {
        typing->clearFocus();
        if (typing->hasFocus()) {
            return; // refused: the edit took the focus back with its message
        }
    }
    QDialog::done(result);
}

void SettingsDialog::BitCheckBox1Click()
{
    if (!BitCheckBox1->Checked()) {
        AutoTicks = false;
        Edit5->setEnabled(true);
        Edit6->setEnabled(true);
        // The automatic step itself, not the shown one: that may be rounded to 0 or carry the
        // pi/2 factor of the last drawing.
        ComputeXTickStep();
        ComputeYTickStep();
        acceptTickStep(true, AutoXTickStep);
        acceptTickStep(false, AutoYTickStep);
        ShowNumber(Edit5, UserXTickStep);
        ShowNumber(Edit6, UserYTickStep);
        return;
    }
    AutoTicks = true;
    Edit5->setEnabled(false);
    Edit6->setEnabled(false);
    ComputeXTickStep();
    ComputeYTickStep();
    ShowNumber(Edit5, XTickStep);
    ShowNumber(Edit6, YTickStep);
}

void SettingsDialog::tickEditExit(bool xAxis)
{
    double step = xAxis ? UserXTickStep : UserYTickStep;
    ReadNumberEdit(xAxis ? Edit5 : Edit6, step);
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
    ShowNumber(xAxis ? Edit5 : Edit6, user);
}

void SettingsDialog::save()
{
    const std::string failure = SaveSettings();
    if (!failure.empty()) {
        CurrentPrintExportHooks().showError(this, QString::fromStdString(failure));
    }
}

void SettingsDialog::setDefaultsAndSave()
{
    SetDefaultSettings();
    save();
    // Stale texts would be read back into the variables at the next exit.
    FormShow();
}

} // namespace kurvex
