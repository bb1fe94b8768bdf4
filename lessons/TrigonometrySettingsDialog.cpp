// Settings dialog (TForm6) of the trigonometry window: colours, steps, print size and saving.
#include "lessons/TrigonometrySettingsDialog.h"

#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/MultiLineButton.h"
#include "core/Settings.h"
#include "core/SettingsRules.h"
#include "core/TrigonometrySettings.h"
#include "core/UnitCircle.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace kurvex {

namespace {

struct ColourRow {
    const char* caption;
    const char* formName;
    TColor* variable;
};

// In the order of the dialog, top to bottom; the last two sit in the group "Koord.system".
const std::array<ColourRow, 8> kColourRows{{
    {"Sinus", "ColorButton1", &SinColor},
    {"Cosinus", "ColorButton2", &CosColor},
    {"Tangens", "ColorButton3", &TanColor},
    {"Cotangens", "ColorButton4", &CotColor},
    {"Bogen", "ColorButton5", &ArcColor},
    {"Winkel", "ColorButton6", &AngleColor},
    {"Hintergrund", "ColorButton7", &BackgroundColor},
    {"Gitternetz", "ColorButton8", &GridColor},
}};

constexpr int kGroupRow = 6;

int rowTop(std::size_t row)
{
    const int top = 8 + static_cast<int>(row) * 26;
    return row >= kGroupRow ? top + 26 : top;
}

} // namespace

TrigonometrySettingsDialog::TrigonometrySettingsDialog(QWidget* owner, std::function<void()> redrawOwner)
    : SettingsDialogBase(owner, QSize(400, 246)), redrawOwner_(std::move(redrawOwner))
{
    buildControls();
    connectControls();
}

void TrigonometrySettingsDialog::buildControls()
{
    for (std::size_t i = 0; i < kColourRows.size(); ++i) {
        placeLabel(QString::fromUtf8(kColourRows[i].caption), 8, rowTop(i) + 4);
        colourButtons_[i] = placeColourButton(kColourRows[i].formName, 110, rowTop(i));
    }
    placeLabel(QStringLiteral("Koord.system"), 8, rowTop(kGroupRow) - 22);

    placeLabel(QStringLiteral("Animationsschritte"), 176, 12);
    stepsEdit_ = placeEdit("Edit7", 306, 8, 34, 3);
    placeLabel(QStringLiteral("* 90"), 346, 12);
    placeLabel(QStringLiteral("Ausdruck"), 176, 42);
    printSizeEdit_ = placeEdit("Edit1", 306, 38, 34, 3);
    placeLabel(QStringLiteral("%"), 346, 42);
    placePrinterSetupButton("SpeedButton1", 176, 70, 214);

    connect(placeMultiLineButton("Button2", QStringLiteral("Aktuelle Einstellungen und Eingaben speichern"),
                                 QRect(176, 104, 214, 34)),
            &QPushButton::clicked, this, &TrigonometrySettingsDialog::save);
    connect(placeMultiLineButton("Button3", QStringLiteral("Defaultwerte setzen und speichern"),
                                 QRect(176, 144, 214, 34)),
            &QPushButton::clicked, this, &TrigonometrySettingsDialog::setDefaultsAndSave);
    connect(placeButton("Button1", QStringLiteral("OK"), QRect(176, 208, 214, 28)), &QPushButton::clicked,
            this, &QDialog::accept);
}

void TrigonometrySettingsDialog::connectControls()
{
    for (std::size_t i = 0; i < kColourRows.size(); ++i) {
        ColorButton* button = colourButtons_[i];
        TColor* variable = kColourRows[i].variable;
        connect(button, &ColorButton::changed, this, [this, button, variable] {
            *variable = button->SelectionColor();
            redrawOwner();
        });
    }
    ConnectEditExit(stepsEdit_, this, [this] {
        readIntegerEdit(stepsEdit_, TrigAnimationSteps, TrigAnimationStepsFromText);
        redrawOwner();
    });
    ConnectEditExit(printSizeEdit_, this,
                    [this] { readIntegerEdit(printSizeEdit_, PrintSizePercent, PrintSizePercentFromText); });
}

void TrigonometrySettingsDialog::showEvent(QShowEvent* event)
{
    SettingsDialogBase::showEvent(event);
    fillFromSettings();
    redrawOwner();
}

void TrigonometrySettingsDialog::fillFromSettings()
{
    for (std::size_t i = 0; i < kColourRows.size(); ++i) {
        // Showing a colour is no change of it.
        const QSignalBlocker quiet(colourButtons_[i]);
        colourButtons_[i]->setSelectionColor(*kColourRows[i].variable);
    }
    showInteger(stepsEdit_, TrigAnimationSteps);
    showInteger(printSizeEdit_, PrintSizePercent);
}

void TrigonometrySettingsDialog::redrawOwner() const
{
    if (redrawOwner_) {
        redrawOwner_();
    }
}

void TrigonometrySettingsDialog::save()
{
    // The file gets the other lessons' window, never the fixed one of this lesson.
    reportSaveFailure(SaveSettingsWithWorld(SavedWorld(), kTrigWorld));
}

void TrigonometrySettingsDialog::setDefaultsAndSave()
{
    SetTrigDefaultColors();
    save();
    fillFromSettings();
    redrawOwner();
}

} // namespace kurvex
