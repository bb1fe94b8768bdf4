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
#include <string>
#include <tuple>
#include <vector>

namespace kurvex {
namespace {

// Every shared variable the dialog, SetDefaultSettings or LoadSettings may write.
auto sharedVariables()
{
    return std::tie(BackgroundColor, GraphColor, GridColor, TangentLineColor, SecantColor, TriangleColor,
                    Deriv1Color, Deriv2Color, SinColor, CosColor, TanColor, CotColor, AreaColor, ArcColor,
                    AngleColor, EpsilonColor, DeltaColor, FOfDeltaColor, PrintSizePercent, TangentLength,
                    Decimals, ParamA, ParamAMin, ParamAMax, ParamB, ParamBMin, ParamBMax, ParamC, ParamCMin,
                    ParamCMax, ParamD, ParamDMin, ParamDMax, ParamT, ParamTMin, ParamTMax, PointXP, PointXQ,
                    SequenceLimit, EpsDeltaMaxRadius, XMin, XMax, YMin, YMax, TermGeneral, TermText, TermOfT,
                    TermShifted, TermPiece1, TermPiece2, TermCovariation, TermBisection, TermSequence,
                    AnimationSteps, TrigAnimationSteps, AnimationDelay, ShowScale, GridMode, IniSettings,
                    CurrentX, LineWidth, TraceMode, ShowDerivative, UseSpectrum, FixFamily, AreaFillStyle,
                    AutoTicks, PiAxis, UserXTickStep, UserYTickStep, ResultDigits, ProgramDir, DrawScale,
                    XTickStep, YTickStep, AutoXTickStep, AutoYTickStep, TrigTicks);
}

template <typename... T> std::tuple<T...> copyOf(const std::tuple<T&...>& variables)
{
    return variables;
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ProgramDir = dir.path().toStdString() + "/";
        SetDefaultSettings();
        AutoTicks = true;
        PiAxis = false;
        TrigTicks = false;
        UserXTickStep = UserYTickStep = 0.0;
        ResultDigits = 3;
        AnimationDelay = 0;
        TangentLength = 1.0;
        AreaFillStyle = BrushStyle::Solid;
        SetSyntaxErrorHandler([this](int, const std::string& text, int) { messages.push_back(text); });
        PrintExportHooks hooks;
        hooks.showError = [this](QWidget*, const QString& text) { saveMessages.push_back(text); };
        hooks.setupPrinter = [this](QWidget*, QPrinter& printer) {
            setupPrinter = &printer;
            return true;
        };
        scopedHooks = std::make_unique<ScopedPrintExportHooks>(hooks);
    }
    void TearDown() override
    {
        dialog.reset();
        SetSyntaxErrorHandler(nullptr);
        sharedVariables() = saved; // the next test finds the settings it left
    }

    void open()
    {
        dialog = std::make_unique<SettingsDialog>();
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Types text into an edit and presses Enter, which leaves the edit.
    void enter(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    const decltype(copyOf(sharedVariables())) saved = copyOf(sharedVariables());
    QTemporaryDir dir;
    std::unique_ptr<SettingsDialog> dialog;
    std::vector<std::string> messages;
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
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("-7,50"));
    EXPECT_EQ(dialog->Edit4->text(), QStringLiteral("0,33"));
    EXPECT_EQ(dialog->Edit7->text(), QStringLiteral("200"));
    EXPECT_EQ(dialog->Edit9->text(), QStringLiteral("40"));
    EXPECT_EQ(dialog->Edit10->text(), QStringLiteral("2"));
    EXPECT_TRUE(dialog->SpeedButton53->isChecked());
    EXPECT_TRUE(dialog->SpeedButton61->isChecked());
    EXPECT_EQ(dialog->TrackBar1->value(), 2); // halves to even
    EXPECT_DOUBLE_EQ(TangentLength, 2.5);     // showing it does not round the variable
    EXPECT_EQ(dialog->ColorButton1->SelectionColor(), 0x0000FFu);
    EXPECT_EQ(dialog->FillStyleComboBox1->FillStyle(), 6);
    EXPECT_EQ(dialog->FillStyleComboBox1->BrushColor(), 0x00FF00u);
    EXPECT_EQ(dialog->LineWidthComboBox1->LineWidth(), 3);
    EXPECT_TRUE(dialog->BitCheckBox1->Checked());
    EXPECT_FALSE(dialog->Edit5->isEnabled());
    EXPECT_DOUBLE_EQ(YMax, 1.0 / 3);
}

struct IntegerEditCase {
    QLineEdit* SettingsDialog::*edit;
    int* variable;
    const char* typed;
    int expected;
};

// One text per edit that only its own rule answers this way; the rules themselves are tested in core.
TEST_F(SettingsDialogTest, IntegerEditsApplyTheirLimits)
{
    open();
    const IntegerEditCase cases[] = {
        {&SettingsDialog::Edit7, &AnimationSteps, "3001", 200},
        {&SettingsDialog::Edit8, &PrintSizePercent, "250", 100},
        {&SettingsDialog::Edit9, &AnimationDelay, "5000", 1000},
        {&SettingsDialog::Edit10, &Decimals, "7", 4},
        {&SettingsDialog::Edit10, &Decimals, "x", 2},
        {&SettingsDialog::Edit12, &ResultDigits, "x", 3},
    };
    for (const IntegerEditCase& c : cases) {
        QLineEdit* edit = dialog.get()->*c.edit;
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
    QTest::mouseClick(dialog->BitCheckBox1, Qt::LeftButton, {}, QPoint(5, 8));
    ASSERT_FALSE(AutoTicks);
    ASSERT_TRUE(dialog->Edit5->isEnabled());
    const TickCase cases[] = {
        {"0,5", false, 1.0},
        {"5", true, 5.0},
        {"0", false, 1.0},
        {"-1", false, 1.0},
        {"pi", true, 3.141592653589793},
    };
    for (const TickCase& c : cases) {
        UserXTickStep = 2.0;
        enter(dialog->Edit5, QString::fromUtf8(c.typed));
        EXPECT_NEAR(UserXTickStep, c.step, 1e-12) << c.typed;
        EXPECT_FALSE(AutoTicks) << c.typed;
        EXPECT_FALSE(dialog->BitCheckBox1->Checked());
        if (!c.accepted) {
            EXPECT_EQ(dialog->Edit5->text(), QStringLiteral("1,00")) << c.typed;
        }
    }
    enter(dialog->Edit6, QStringLiteral("0"));
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
    EXPECT_TRUE(dialog->BitCheckBox2->Checked());
    QTest::mouseClick(dialog->BitCheckBox1, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_FALSE(AutoTicks);
    EXPECT_DOUBLE_EQ(UserXTickStep, 0.5);
    EXPECT_DOUBLE_EQ(UserYTickStep, 0.5);
    // Leaving the rounded text untouched keeps the exact step.
    dialog->Edit5->setFocus();
    dialog->Edit6->setFocus(Qt::TabFocusReason);
    EXPECT_DOUBLE_EQ(UserXTickStep, 0.5);

    QTest::mouseClick(dialog->BitCheckBox1, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(AutoTicks);
    EXPECT_FALSE(dialog->Edit5->isEnabled());
}

TEST_F(SettingsDialogTest, AxisEditsReadExpressionsAndRefuseReversedEnds)
{
    open();
    enter(dialog->Edit2, QStringLiteral("2pi"));
    EXPECT_NEAR(XMax, 6.283185307179586, 1e-12);
    EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("6,28"));
    enter(dialog->Edit2, QStringLiteral("1/0"));
    EXPECT_NEAR(XMax, 6.283185307179586, 1e-12);
    EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("6,28"));
    enter(dialog->Edit1, QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(XMin, -7.0);
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("-7,00"));
    enter(dialog->Edit3, QStringLiteral("7"));
    EXPECT_DOUBLE_EQ(YMin, -7.0);
    enter(dialog->Edit4, QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(YMax, 3.0);
    EXPECT_TRUE(messages.empty());
    enter(dialog->Edit11, QStringLiteral("x"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_DOUBLE_EQ(EpsDeltaMaxRadius, 2.0);
    EXPECT_TRUE(dialog->Edit11->hasFocus());
}

TEST_F(SettingsDialogTest, ReversedAxisIsRefusedWithAMessageOnEveryWayOut)
{
    open();
    enter(dialog->Edit1, QStringLiteral("5"));
    EXPECT_DOUBLE_EQ(XMin, 5.0);
    enter(dialog->Edit2, QStringLiteral("-5"));
    EXPECT_DOUBLE_EQ(XMax, 7.0);
    ASSERT_EQ(saveMessages.size(), 1u);
    EXPECT_EQ(saveMessages[0],
              QStringLiteral("Der Anfang einer Achse (von) muss kleiner sein als ihr Ende (bis)."));
    EXPECT_TRUE(dialog->Edit2->hasFocus());

    // Esc (or Alt+O) closes without the edit losing its focus: the typed end is still checked,
    // and a refused one keeps the dialog open.
    dialog->Edit4->setFocus();
    dialog->Edit4->selectAll();
    QTest::keyClicks(dialog->Edit4, QStringLiteral("-9"));
    QTest::keyClick(dialog->Edit4, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_DOUBLE_EQ(YMax, 7.0);
    EXPECT_EQ(saveMessages.size(), 2u);
    // A sound value typed and closed at once is kept.
    dialog->Edit4->selectAll();
    QTest::keyClicks(dialog->Edit4, QStringLiteral("9"));
    QTest::keyClick(dialog->Edit4, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_DOUBLE_EQ(YMax, 9.0);
}

TEST_F(SettingsDialogTest, ControlsWriteTheirVariablesAtOnce)
{
    open();
    QSignalSpy redraw(dialog.get(), &SettingsDialog::graphColorChanged);
    dialog->ColorButton1->setSelectionColor(0x00FF00);
    EXPECT_EQ(GraphColor, 0x00FF00u);
    EXPECT_EQ(redraw.count(), 1);
    dialog->ColorButton8->setSelectionColor(0xFF0000);
    EXPECT_EQ(AreaColor, 0xFF0000u);
    EXPECT_EQ(dialog->FillStyleComboBox1->BrushColor(), 0xFF0000u);
    dialog->ColorButton3->setSelectionColor(0x123456);
    EXPECT_EQ(GridColor, 0x123456u);
    QTest::mouseClick(dialog->SpeedButton53, Qt::LeftButton);
    EXPECT_EQ(GridMode, 3);
    QTest::mouseClick(dialog->SpeedButton61, Qt::LeftButton);
    EXPECT_FALSE(ShowScale);
    dialog->TrackBar1->setValue(5);
    EXPECT_DOUBLE_EQ(TangentLength, 5.0);
    emit dialog->FillStyleComboBox1->activated(4);
    EXPECT_EQ(AreaFillStyle, BrushStyle::FDiagonal);
    emit dialog->LineWidthComboBox1->activated(2);
    EXPECT_EQ(LineWidth, 3);
    QTest::mouseClick(dialog->BitCheckBox2, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(PiAxis);
}

TEST_F(SettingsDialogTest, DefaultsButtonSavesAndRefreshesTheControls)
{
    XMin = -3;
    GridMode = 3;
    Decimals = 3;
    open();
    QTest::mouseClick(dialog->Button3, Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::exists(SettingsFilePath()));
    EXPECT_TRUE(saveMessages.empty());
    EXPECT_DOUBLE_EQ(XMin, -7.0);
    EXPECT_EQ(GridMode, 1);
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("-7,00"));
    EXPECT_EQ(dialog->Edit10->text(), QStringLiteral("2"));
    EXPECT_TRUE(dialog->SpeedButton50->isChecked());
    // Walking through the edits afterwards keeps the defaults.
    enter(dialog->Edit1, dialog->Edit1->text());
    enter(dialog->Edit10, dialog->Edit10->text());
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
    dialog->ColorButton2->setSelectionColor(0x00FFFF);
    QTest::mouseClick(dialog->Button2, Qt::LeftButton);
    EXPECT_TRUE(saveMessages.empty());
    BackgroundColor = 0;
    LoadSettings();
    EXPECT_EQ(BackgroundColor, 0x00FFFFu);

    ProgramDir = dir.path().toStdString() + "/missing/folder/";
    QTest::mouseClick(dialog->Button2, Qt::LeftButton);
    ASSERT_EQ(saveMessages.size(), 1u);
    EXPECT_TRUE(saveMessages[0].contains(QStringLiteral("konnte nicht gespeichert werden")));
}

TEST_F(SettingsDialogTest, PrinterSetupUsesTheApplicationPrinter)
{
    open();
    QTest::mouseClick(dialog->SpeedButton1, Qt::LeftButton);
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

TEST_F(SettingsDialogTest, EscapeClosesWithoutSaving)
{
    open();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath()));
}

} // namespace
} // namespace kurvex
