// Tests of the settings dialog: filling, the typed limits, tick units, axis ends and saving.
#include "app/SettingsDialog.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/MultiLineButton.h"
#include "controls/StyleComboBoxes.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/ApplicationPrinter.h"
#include "lesson/PrintExportHooks.h"

#include "support/WindowsState.h"
#include <QDialogButtonBox>

#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace kurvex {
namespace {

class SettingsDialogTest : public test::ProgramWindowFixture {
protected:
    void SetUp() override
    {
        SetDefaultSettings();
        AutoTicks = true;
        PiAxis = false;
        TrigTicks = false;
        UserXTickStep = UserYTickStep = 0.0;
        ResultDigits = 3;
        AnimationDelay = 0;
        TangentLength = 1.0;
        AreaFillStyle = BrushStyle::Solid;
        PrintExportHooks hooks;
        hooks.showError = [this](QWidget*, const QString& text) { saveMessages.push_back(text); };
        hooks.setupPrinter = [this](QWidget*, QPrinter& printer) {
            setupPrinter = &printer;
            return true;
        };
        scopedHooks = std::make_unique<ScopedPrintExportHooks>(hooks);
    }
    void TearDown() override { dialog.reset(); }

    void open()
    {
        dialog = std::make_unique<SettingsDialog>();
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    // A control of the open dialog by its form name; the test stops when it is missing.
    template <class Control> Control* control(const char* formName) const
    {
        auto* found = dialog->findChild<Control*>(QString::fromLatin1(formName));
        if (found == nullptr) {
            ADD_FAILURE() << "no control " << formName;
            throw std::runtime_error(formName);
        }
        return found;
    }

    // Types text into an edit and presses Enter, which leaves the edit.
    void enter(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    std::unique_ptr<SettingsDialog> dialog;
    std::vector<std::string>& messages = syntaxMessages;
    std::vector<QString> saveMessages;
    QPrinter* setupPrinter = nullptr;
    std::unique_ptr<ScopedPrintExportHooks> scopedHooks;
};

TEST_F(SettingsDialogTest, ShowFillsEveryControlFromTheVariables)
{
    XMin = -7.5;
    YMax = 1.0 / 3;
    GridMode = 3;
    ShowScale = false;
    TangentLength = 2.5;
    GraphColor = 0x0000FF;
    AreaColor = 0x00FF00;
    AreaFillStyle = BrushStyle::Cross;
    LineWidth = 3;
    AnimationDelay = 40;
    open();
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("-7,50"));
    EXPECT_EQ(control<QLineEdit>("Edit4")->text(), QStringLiteral("0,33"));
    EXPECT_EQ(control<QLineEdit>("Edit7")->text(), QStringLiteral("200"));
    EXPECT_EQ(control<QLineEdit>("Edit9")->text(), QStringLiteral("40"));
    EXPECT_EQ(control<QLineEdit>("Edit10")->text(), QStringLiteral("2"));
    EXPECT_TRUE(control<QToolButton>("SpeedButton53")->isChecked());
    EXPECT_TRUE(control<QToolButton>("SpeedButton61")->isChecked());
    EXPECT_EQ(control<QSlider>("TrackBar1")->value(), 2); // halves to even
    EXPECT_DOUBLE_EQ(TangentLength, 2.5);                 // showing it does not round the variable
    EXPECT_EQ(control<ColorButton>("ColorButton1")->SelectionColor(), 0x0000FFu);
    EXPECT_EQ(control<FillStyleComboBox>("FillStyleComboBox1")->FillStyle(), 6);
    EXPECT_EQ(control<FillStyleComboBox>("FillStyleComboBox1")->BrushColor(), 0x00FF00u);
    EXPECT_EQ(control<LineWidthComboBox>("LineWidthComboBox1")->LineWidth(), 3);
    EXPECT_TRUE(control<BitCheckBox>("BitCheckBox1")->Checked());
    EXPECT_FALSE(control<QLineEdit>("Edit5")->isEnabled());
    EXPECT_DOUBLE_EQ(YMax, 1.0 / 3);
}

struct IntegerEditCase {
    const char* edit; // form name
    int* variable;
    const char* typed;
    int expected;
};

// One text per edit that only its own rule answers this way; the rules themselves are tested in core.
TEST_F(SettingsDialogTest, IntegerEditsApplyTheirLimits)
{
    open();
    const IntegerEditCase cases[] = {
        {"Edit7", &AnimationSteps, "3001", 200},
        {"Edit8", &PrintSizePercent, "250", 100},
        {"Edit9", &AnimationDelay, "5000", 1000},
        {"Edit10", &Decimals, "7", 4},
        {"Edit10", &Decimals, "x", 2},
        {"Edit12", &ResultDigits, "x", 3},
    };
    for (const IntegerEditCase& c : cases) {
        QLineEdit* edit = control<QLineEdit>(c.edit);
        enter(edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(*c.variable, c.expected) << c.typed;
        EXPECT_EQ(edit->text(), QString::number(c.expected)) << c.typed;
    }
}

struct TickCase {
    const char* typed;
    bool accepted;
    double step;
};

TEST_F(SettingsDialogTest, TickUnitsOutsideThreeToTwentyOneStepsAreReplaced)
{
    open();
    QTest::mouseClick(control<BitCheckBox>("BitCheckBox1"), Qt::LeftButton, {}, QPoint(5, 8));
    ASSERT_FALSE(AutoTicks);
    ASSERT_TRUE(control<QLineEdit>("Edit5")->isEnabled());
    const TickCase cases[] = {
        {"0,5", false, 1.0},
        {"5", true, 5.0},
        {"0", false, 1.0},
        {"-1", false, 1.0},
        {"pi", true, 3.141592653589793},
    };
    for (const TickCase& c : cases) {
        UserXTickStep = 2.0;
        enter(control<QLineEdit>("Edit5"), QString::fromUtf8(c.typed));
        EXPECT_NEAR(UserXTickStep, c.step, 1e-12) << c.typed;
        EXPECT_FALSE(AutoTicks) << c.typed;
        EXPECT_FALSE(control<BitCheckBox>("BitCheckBox1")->Checked());
        if (!c.accepted) {
            EXPECT_EQ(control<QLineEdit>("Edit5")->text(), QStringLiteral("1,00")) << c.typed;
        }
    }
    enter(control<QLineEdit>("Edit6"), QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(UserYTickStep, 1.0);
}

TEST_F(SettingsDialogTest, UncheckingAutomaticTakesTheAutomaticStepItself)
{
    Decimals = 0;
    XMin = -2;
    XMax = 2;
    YMin = -2;
    YMax = 2;
    PiAxis = true;
    ComputeXTickStep();
    ComputeYTickStep();
    XTickStep *= 3.141592653589793 / 2; // as the last drawing left it
    open();
    EXPECT_TRUE(control<BitCheckBox>("BitCheckBox2")->Checked());
    QTest::mouseClick(control<BitCheckBox>("BitCheckBox1"), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_FALSE(AutoTicks);
    EXPECT_DOUBLE_EQ(UserXTickStep, 0.5);
    EXPECT_DOUBLE_EQ(UserYTickStep, 0.5);
    // Leaving the rounded text untouched keeps the exact step.
    control<QLineEdit>("Edit5")->setFocus();
    control<QLineEdit>("Edit6")->setFocus(Qt::TabFocusReason);
    EXPECT_DOUBLE_EQ(UserXTickStep, 0.5);

    QTest::mouseClick(control<BitCheckBox>("BitCheckBox1"), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(AutoTicks);
    EXPECT_FALSE(control<QLineEdit>("Edit5")->isEnabled());
}

TEST_F(SettingsDialogTest, AxisEditsReadExpressionsAndRefuseReversedEnds)
{
    open();
    enter(control<QLineEdit>("Edit2"), QStringLiteral("2pi"));
    EXPECT_NEAR(XMax, 6.283185307179586, 1e-12);
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("6,28"));
    enter(control<QLineEdit>("Edit2"), QStringLiteral("1/0"));
    EXPECT_NEAR(XMax, 6.283185307179586, 1e-12);
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("6,28"));
    enter(control<QLineEdit>("Edit1"), QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(XMin, -7.0);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("-7,00"));
    enter(control<QLineEdit>("Edit3"), QStringLiteral("7"));
    EXPECT_DOUBLE_EQ(YMin, -7.0);
    enter(control<QLineEdit>("Edit4"), QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(YMax, 3.0);
    EXPECT_TRUE(messages.empty());
    enter(control<QLineEdit>("Edit11"), QStringLiteral("x"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_DOUBLE_EQ(EpsDeltaMaxRadius, 2.0);
    EXPECT_TRUE(control<QLineEdit>("Edit11")->hasFocus());
}

TEST_F(SettingsDialogTest, ReversedAxisIsRefusedWithAMessageOnEveryWayOut)
{
    open();
    enter(control<QLineEdit>("Edit1"), QStringLiteral("5"));
    EXPECT_DOUBLE_EQ(XMin, 5.0);
    enter(control<QLineEdit>("Edit2"), QStringLiteral("-5"));
    EXPECT_DOUBLE_EQ(XMax, 7.0);
    ASSERT_EQ(saveMessages.size(), 1u);
    EXPECT_EQ(saveMessages[0],
              QStringLiteral("Der Anfang einer Achse (von) muss kleiner sein als ihr Ende (bis)."));
    EXPECT_TRUE(control<QLineEdit>("Edit2")->hasFocus());

    // Esc (or Alt+O) closes without the edit losing its focus: the typed end is still checked,
    // and a refused one keeps the dialog open.
    control<QLineEdit>("Edit4")->setFocus();
    control<QLineEdit>("Edit4")->selectAll();
    QTest::keyClicks(control<QLineEdit>("Edit4"), QStringLiteral("-9"));
    QTest::keyClick(control<QLineEdit>("Edit4"), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_DOUBLE_EQ(YMax, 7.0);
    EXPECT_EQ(saveMessages.size(), 2u);
    // A sound value typed and closed at once is kept.
    control<QLineEdit>("Edit4")->selectAll();
    QTest::keyClicks(control<QLineEdit>("Edit4"), QStringLiteral("9"));
    QTest::keyClick(control<QLineEdit>("Edit4"), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_DOUBLE_EQ(YMax, 9.0);
}

TEST_F(SettingsDialogTest, ControlsWriteTheirVariablesAtOnce)
{
    open();
    QSignalSpy redraw(dialog.get(), &SettingsDialog::curveColourChanged);
    control<ColorButton>("ColorButton1")->setSelectionColor(0x00FF00);
    EXPECT_EQ(GraphColor, 0x00FF00u);
    EXPECT_EQ(redraw.count(), 1);
    control<ColorButton>("ColorButton8")->setSelectionColor(0xFF0000);
    EXPECT_EQ(AreaColor, 0xFF0000u);
    EXPECT_EQ(control<FillStyleComboBox>("FillStyleComboBox1")->BrushColor(), 0xFF0000u);
    control<ColorButton>("ColorButton3")->setSelectionColor(0x123456);
    EXPECT_EQ(GridColor, 0x123456u);
    QTest::mouseClick(control<QToolButton>("SpeedButton53"), Qt::LeftButton);
    EXPECT_EQ(GridMode, 3);
    QTest::mouseClick(control<QToolButton>("SpeedButton61"), Qt::LeftButton);
    EXPECT_FALSE(ShowScale);
    control<QSlider>("TrackBar1")->setValue(5);
    EXPECT_DOUBLE_EQ(TangentLength, 5.0);
    emit control<FillStyleComboBox>("FillStyleComboBox1")->activated(4);
    EXPECT_EQ(AreaFillStyle, BrushStyle::FDiagonal);
    emit control<LineWidthComboBox>("LineWidthComboBox1")->activated(2);
    EXPECT_EQ(LineWidth, 3);
    QTest::mouseClick(control<BitCheckBox>("BitCheckBox2"), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(PiAxis);
}

TEST_F(SettingsDialogTest, DefaultsButtonSavesAndRefreshesTheControls)
{
    XMin = -3;
    GridMode = 3;
    Decimals = 3;
    open();
    QTest::mouseClick(control<MultiLineButton>("Button3"), Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::exists(SettingsFilePath()));
    EXPECT_TRUE(saveMessages.empty());
    EXPECT_DOUBLE_EQ(XMin, -7.0);
    EXPECT_EQ(GridMode, 1);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("-7,00"));
    EXPECT_EQ(control<QLineEdit>("Edit10")->text(), QStringLiteral("2"));
    EXPECT_TRUE(control<QToolButton>("SpeedButton50")->isChecked());
    // Walking through the edits afterwards keeps the defaults.
    enter(control<QLineEdit>("Edit1"), control<QLineEdit>("Edit1")->text());
    enter(control<QLineEdit>("Edit10"), control<QLineEdit>("Edit10")->text());
    EXPECT_DOUBLE_EQ(XMin, -7.0);
    EXPECT_EQ(Decimals, 2);
    EXPECT_EQ(GridMode, 1);

    LoadSettings();
    EXPECT_EQ(GridMode, 1);
    EXPECT_EQ(GridColor, 0xCCCCCCu);
}

TEST_F(SettingsDialogTest, SaveWritesTheFileAndAFailureIsReported)
{
    open();
    control<ColorButton>("ColorButton2")->setSelectionColor(0x00FFFF);
    QTest::mouseClick(control<MultiLineButton>("Button2"), Qt::LeftButton);
    EXPECT_TRUE(saveMessages.empty());
    BackgroundColor = 0;
    LoadSettings();
    EXPECT_EQ(BackgroundColor, 0x00FFFFu);

    ProgramDir = programDir.path().toStdString() + "/missing/folder/";
    QTest::mouseClick(control<MultiLineButton>("Button2"), Qt::LeftButton);
    ASSERT_EQ(saveMessages.size(), 1u);
    EXPECT_TRUE(saveMessages[0].contains(QStringLiteral("konnte nicht gespeichert werden")));
}

TEST_F(SettingsDialogTest, PrinterSetupUsesTheApplicationPrinter)
{
    open();
    QTest::mouseClick(control<QToolButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(setupPrinter, &ApplicationPrinter());
    // The real dialog sets the printer up; it must not say that it prints.
    const std::unique_ptr<QPrintDialog> setup = MakePrinterSetupDialog(ApplicationPrinter(), dialog.get());
    EXPECT_EQ(setup->windowTitle(), QStringLiteral("Drucker einrichten"));
    const auto* buttons = setup->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Übernehmen"));
}

TEST_F(SettingsDialogTest, BoldLabelsLeaveTheirControlsFree)
{
    open();
    const auto labels = dialog->findChildren<QLabel*>();
    for (const QWidget* other : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        for (const QLabel* l : labels) {
            if (other != l && other->isVisible()) {
                // A gap of a few pixels, so that no label touches its edit.
                const QRect around = l->geometry().adjusted(-3, 0, 3, 0);
                EXPECT_FALSE(around.intersects(other->geometry())) << l->text().toStdString();
            }
        }
    }
}

// The form's component names stay on the controls, so each one can be traced to the form.
TEST_F(SettingsDialogTest, EveryControlCarriesItsFormName)
{
    open();
    for (const char* name : {"ColorButton1", "ColorButton2", "ColorButton3", "ColorButton4", "ColorButton5",
                             "ColorButton6", "ColorButton7", "ColorButton8", "ColorButton9"}) {
        EXPECT_NE(dialog->findChild<ColorButton*>(QString::fromLatin1(name)), nullptr) << name;
    }
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
                             "Edit10", "Edit11", "Edit12"}) {
        EXPECT_NE(dialog->findChild<QLineEdit*>(QString::fromLatin1(name)), nullptr) << name;
    }
    for (const char* name : {"SpeedButton1", "SpeedButton50", "SpeedButton52", "SpeedButton53",
                             "SpeedButton60", "SpeedButton61"}) {
        EXPECT_NE(dialog->findChild<QToolButton*>(QString::fromLatin1(name)), nullptr) << name;
    }
    for (const char* name : {"BitCheckBox1", "BitCheckBox2"}) {
        EXPECT_NE(dialog->findChild<BitCheckBox*>(QString::fromLatin1(name)), nullptr) << name;
    }
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        EXPECT_NE(dialog->findChild<QPushButton*>(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_NE(dialog->findChild<FillStyleComboBox*>(QStringLiteral("FillStyleComboBox1")), nullptr);
    EXPECT_NE(dialog->findChild<LineWidthComboBox*>(QStringLiteral("LineWidthComboBox1")), nullptr);
    EXPECT_NE(dialog->findChild<QSlider*>(QStringLiteral("TrackBar1")), nullptr);
}

TEST_F(SettingsDialogTest, EscapeClosesWithoutSaving)
{
    open();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath()));
}

} // namespace
} // namespace kurvex
