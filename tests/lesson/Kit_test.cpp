// The lesson kit through real widgets: a value row keeps bar and value in step both ways, a term
// field reports a wrong term once however often the window redraws, the fixed-object and grid
// buttons, the bindings of controls and example lists.
#include "lesson/TestLessonWindow.h"

#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "controls/ToggleSwitch.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/GridModeButtons.h"
#include "lesson/TermField.h"
#include "lesson/TermLabel.h"
#include "lesson/ValueRow.h"
#include "support/LessonFixture.h"
#include "support/WholeTexts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kurvex {
namespace {

class KitTest : public test::LessonWindowFixture {
protected:
    void SetUp() override
    {
        AnimationSteps = 200;
        AnimationDelay = 0;
        Decimals = 2;
        value = 1.0;
        low = -4.0;
        high = 4.0;
        window = std::make_unique<TestLessonWindow>();
    }
    void TearDown() override { window.reset(); }

    ValueRow* makeRow()
    {
        ValueRowBinding b;
        b.value = &value;
        b.min = &low;
        b.max = &high;
        b.startValue = [] { return 0.5; };
        b.startRange = [] { return ParamRange{-2, 2}; };
        auto* row = new ValueRow(
            *window, QStringLiteral("a ="),
            {"Label1", "Edit2", "SpeedButton1", "ScrollBar1", "Edit3", "Edit4", "Switch1", "SpeedButton24"},
            std::move(b), window.get());
        row->showValues();
        row->setBarFromValue(ValueRow::BarSync::Keep);
        window->show();
        return row;
    }

    // A row of a count on low..high that steps by 1 per frame, starting upwards.
    ValueRowBinding wholeStepBinding()
    {
        ValueRowBinding b;
        b.value = &value;
        b.min = &low;
        b.max = &high;
        b.startValue = [] { return 1.0; };
        b.barGrid = [](double min, double max) { return ValueBar{min, max, 0, static_cast<int>(max - min)}; };
        b.wholeStep = 1.0;
        return b;
    }

    static void typeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    double value = 1.0;
    double low = -4.0;
    double high = 4.0;
    std::vector<std::string>& messages = syntaxMessages;
    std::unique_ptr<TestLessonWindow> window;
};

TEST_F(KitTest, ValueRowKeepsBarAndValueInStepBothWays)
{
    ValueRow* row = makeRow();
    int moved = 0;
    QObject::connect(row, &ValueRow::barMoved, [&] { ++moved; });
    EXPECT_EQ(row->bar()->value(), 125); // (1 + 4) * 200 / 8

    // The bar moves the value onto its grid and the edit shows it.
    row->bar()->setValue(126);
    EXPECT_DOUBLE_EQ(value, 1.04);
    EXPECT_EQ(row->valueEdit()->text(), QStringLiteral("1,04"));
    EXPECT_EQ(moved, 1);

    // A typed value keeps its digits; the bar goes to the nearest position without moving it.
    typeInto(row->valueEdit(), QStringLiteral("0,501"));
    EXPECT_DOUBLE_EQ(value, 0.501);
    EXPECT_EQ(row->bar()->value(), 113);
    EXPECT_EQ(moved, 1);

    // Snapping puts the value on the grid, as a bar moved from code does; a bar that stays where
    // it is leaves the value alone.
    value = 0.565;
    row->setBarFromValue(ValueRow::BarSync::Snap);
    EXPECT_DOUBLE_EQ(value, 0.56);
    value = 0.571;
    row->setBarFromValue(ValueRow::BarSync::Snap);
    EXPECT_DOUBLE_EQ(value, 0.571);

    // A typed value beyond the range stops the bar at its end and keeps the value.
    typeInto(row->valueEdit(), QStringLiteral("100"));
    EXPECT_DOUBLE_EQ(value, 100.0);
    EXPECT_EQ(row->bar()->value(), 200);
}

TEST_F(KitTest, ValueRowWhoseTypedValuesSnapMovesThemOntoTheGridOnlyWhenTheBarMoves)
{
    ValueRowBinding b;
    b.value = &value;
    b.min = &low;
    b.max = &high;
    b.snapTypedValue = true;
    auto* row = new ValueRow(*window, QStringLiteral("x ="), {"Label1", "Edit2", nullptr, "ScrollBar1"},
                             std::move(b), window.get());
    row->setBarFromValue(ValueRow::BarSync::Keep);
    window->show();
    int moved = 0;
    int entered = 0;
    QObject::connect(row, &ValueRow::barMoved, [&] { ++moved; });
    QObject::connect(row, &ValueRow::valueEntered, [&] { ++entered; });

    typeInto(row->valueEdit(), QStringLiteral("0,501"));
    EXPECT_DOUBLE_EQ(value, 0.52); // position 113 of 200 over -4..4
    EXPECT_EQ(row->valueEdit()->text(), QStringLiteral("0,52"));
    EXPECT_EQ(std::pair(moved, entered), std::pair(1, 1));

    // The same position: the typed value keeps its digits.
    typeInto(row->valueEdit(), QStringLiteral("0,515"));
    EXPECT_DOUBLE_EQ(value, 0.515);
    EXPECT_EQ(std::pair(moved, entered), std::pair(1, 2));

    // Beyond the range the bar stops at its end and the value becomes that end.
    typeInto(row->valueEdit(), QStringLiteral("1e12"));
    EXPECT_DOUBLE_EQ(value, 4.0);
    EXPECT_EQ(row->bar()->value(), 200);
}

TEST_F(KitTest, ValueRowRangeResetAndAGridWithoutSteps)
{
    ValueRow* row = makeRow();
    int ranges = 0;
    QObject::connect(row, &ValueRow::rangeEntered, [&] { ++ranges; });
    typeInto(row->maxEdit(), QStringLiteral("-5"));
    EXPECT_EQ(ranges, 1);
    row->checkRange();
    EXPECT_EQ(std::pair(low, high), std::pair(-2.0, 2.0)); // no room: the start range

    QTest::mouseClick(row->resetButton(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(value, 0.5);
    EXPECT_EQ(row->minEdit()->text(), QStringLiteral("-2,00"));

    // No steps at all never divides by zero, and the bar keeps a position.
    AnimationSteps = 0;
    row->setBarFromValue(ValueRow::BarSync::Keep);
    EXPECT_EQ(row->bar()->maximum(), 1);
    EXPECT_TRUE(std::isfinite(row->grid().value(1)));
}

TEST_F(KitTest, ValueRowCanKeepItsValueInRangeAndRefuseARangeWithoutRoom)
{
    ValueRowBinding b;
    b.value = &value;
    b.min = &low;
    b.max = &high;
    b.snapTypedValue = true;
    b.keepValueInRange = true;
    b.refuseEmptyRange = true;
    auto* row = new ValueRow(*window, QStringLiteral("m ="),
                             {"Label1", "Edit2", nullptr, "ScrollBar1", "Edit3", "Edit4"}, std::move(b),
                             window.get());
    row->showValues();
    row->setBarFromValue(ValueRow::BarSync::Keep);
    window->show();
    int ranges = 0;
    QObject::connect(row, &ValueRow::rangeEntered, [&] { ++ranges; });

    const struct {
        const char* name;
        QLineEdit* edit;
        const char* typed;
        double value;
        double low;
        double high;
        bool entered;
    } steps[] = {
        {"a maximum below the minimum is refused", row->maxEdit(), "-5", 1.0, -4.0, 4.0, false},
        {"a maximum equal to the minimum is refused", row->maxEdit(), "-4", 1.0, -4.0, 4.0, false},
        {"a minimum above the maximum is refused", row->minEdit(), "7", 1.0, -4.0, 4.0, false},
        {"a typed value above the range is pulled to its end", row->valueEdit(), "50", 4.0, -4.0, 4.0, false},
        {"a typed value below the range is pulled in and snapped by the bar", row->valueEdit(), "-50", -3.96,
         -4.0, 4.0, false},
        {"a range that leaves the value outside pulls it in", row->minEdit(), "1", 1.0, 1.0, 4.0, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        const int before = ranges;
        typeInto(s.edit, QString::fromLatin1(s.typed));
        EXPECT_DOUBLE_EQ(value, s.value);
        EXPECT_EQ(std::pair(low, high), std::pair(s.low, s.high));
        EXPECT_EQ(ranges > before, s.entered);
        EXPECT_EQ(row->valueEdit()->text(), NumberText(value));
        EXPECT_EQ(row->minEdit()->text(), NumberText(low));
        EXPECT_EQ(row->maxEdit()->text(), NumberText(high));
    }
}

// A row whose reset must give exactly its start value: the bar follows without snapping it.
TEST_F(KitTest, ValueRowResetCanKeepItsStartValueOffTheGrid)
{
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "snapped");
        ValueRowBinding b;
        b.value = &value;
        b.min = &low;
        b.max = &high;
        b.startValue = [] { return 0.013; };
        b.resetKeepsValue = keep;
        auto* row =
            new ValueRow(*window, QStringLiteral("x ="), {"Label1", "Edit2", "SpeedButton1", "ScrollBar1"},
                         std::move(b), window.get());
        value = 3;
        row->setBarFromValue(ValueRow::BarSync::Keep);
        QTest::mouseClick(row->resetButton(), Qt::LeftButton);
        EXPECT_EQ(row->bar()->value(), 100); // 0.013 lies nearest the middle of -4..4
        EXPECT_DOUBLE_EQ(value, keep ? 0.013 : 0.0);
        delete row;
    }
}

TEST_F(KitTest, ValueRowAnimationAdvancesTheValueAndSnapsItAtTheEnd)
{
    ValueRow* row = makeRow();
    int steps = 0;
    row->afterAnimationStep = [&] {
        if (++steps == 5) {
            row->toggle()->setChecked(false);
        }
    };
    row->toggle()->setChecked(true);
    emit row->toggle()->clicked();
    EXPECT_EQ(steps, 5);
    EXPECT_NEAR(value, 1.0 + 5 * 0.04, 1e-9);
    EXPECT_EQ(row->valueEdit()->text(), QStringLiteral("1,20"));
    EXPECT_EQ(row->bar()->value(), 130);
}

TEST_F(KitTest, NumberEditsShowEveryNumberWhole)
{
    // Each value at every number of decimals the settings allow, and as the condition edits show
    // it (three decimals, no padding): "7,0000 E-2", "-1,040 E-2" and "1,000 E+10" were cut.
    const double values[] = {-1.04e-2, 1.04e-2, 7e-2, 1e10, -1e10, -99.9999, -0.123456, 4.5e-11, 123456.0};
    QWidget panel;
    QLineEdit* edit = MakeNumberEdit(QStringLiteral("Edit1"), &panel);
    panel.show();
    for (const double v : values) {
        for (int decimals = 0; decimals <= 4; ++decimals) {
            Decimals = decimals;
            ShowNumber(edit, v);
            EXPECT_EQ(test::CutText(*edit), "") << "decimals " << decimals;
        }
        edit->setText(QString::fromStdString(FormatNumberShort(3, v)).trimmed());
        EXPECT_EQ(test::CutText(*edit), "");
    }
}

TEST(TermLabelSummands, BreakOnlyBeforeTheSignOfASummand)
{
    const struct {
        const char* line;
        QStringList pieces;
    } cases[] = {
        {" -  3,904 E-3 x^6 +  0,191", {" -  3,904 E-3 x^6", " +  0,191"}},
        {"f(x) = -1,234+ 5,678x^1-1,862 E+2x^2", {"f(x) = -1,234", "+ 5,678x^1", "-1,862 E+2x^2"}},
        {"f(x) = ( 1,2+ 3,4x^1)/(1-2,0x^1)", {"f(x) = ( 1,2", "+ 3,4x^1)/(1", "-2,0x^1)"}},
        {"f(x) = 2,000*exp(-0,500*x)", {"f(x) = 2,000*exp(-0,500*x)"}},
        {"Korrelationskoeffizient: r = -0,998", {"Korrelationskoeffizient: r = -0,998"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TermLabel::summands(QString::fromLatin1(c.line)), c.pieces) << c.line;
    }
}

TEST_F(KitTest, TermFieldReportsAWrongTermOnceHoweverOftenTheWindowRedraws)
{
    TermText = "2*(x+";
    auto* field = new TermField(QStringLiteral("f(x) ="), "Label2", "Edit1", TermText, window.get());
    window->show();
    field->load();
    field->load();
    ASSERT_EQ(messages.size(), 1u);
    for (int i = 0; i < 5; ++i) {
        field->use();
        window->fullRedraw();
    }
    // Leaving the untouched edit, or drawing, never compiles again.
    field->edit()->setFocus();
    QTest::keyClick(field->edit(), Qt::Key_Return);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(EvaluateTerm(field->tree(), 2, 0, 0, 0, 0, 0, 0), 0.0); // "0" drawn instead

    int changed = 0;
    QObject::connect(field, &TermField::termChanged, [&] { ++changed; });
    typeInto(field->edit(), QStringLiteral("x^2"));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(TermText, "x^2");
    EXPECT_EQ(EvaluateTerm(field->tree(), 3, 0, 0, 0, 0, 0, 0), 9.0);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(KitTest, TermFieldTakesAFetchedTermAsIfTypedAndSaysWhetherItCompiled)
{
    TermText = "x";
    auto* field = new TermField({}, nullptr, "Edit1", TermText, window.get());
    window->show();
    field->load();
    EXPECT_TRUE(field->valid());
    int changed = 0;
    QObject::connect(field, &TermField::termChanged, [&] { ++changed; });

    field->enter("sin(\xF0x)");
    EXPECT_TRUE(field->valid());
    EXPECT_EQ(field->edit()->text(), QStringLiteral("sin(\u03C0x)"));
    EXPECT_EQ(TermText, "sin(\xF0x)");
    EXPECT_NEAR(EvaluateTerm(field->tree(), 0.5, 0, 0, 0, 0, 0, 0), 1.0, 1e-15);
    EXPECT_EQ(changed, 1);

    field->enter("2*(x+");
    EXPECT_FALSE(field->valid());
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(TermText, "2*(x+"); // kept for mending, drawn as "0"
    EXPECT_EQ(EvaluateTerm(field->tree(), 3, 0, 0, 0, 0, 0, 0), 0.0);
    EXPECT_EQ(changed, 2);
    // Leaving the untouched wrong term says nothing again.
    QTest::keyClick(field->edit(), Qt::Key_Return);
    EXPECT_EQ(messages.size(), 1u);
}

// A whole step per frame (a count) moves the value by it and turns at the ends, whatever side of
// the range the value starts on; the bar follows the value once the loop ends.
TEST_F(KitTest, ValueRowWholeStepAnimationCountsAndComesBackIntoItsRange)
{
    struct Case {
        const char* name;
        double start;
        int frames;
        std::vector<double> last; // the values of the last frames
    };
    const Case cases[] = {
        {"up to the maximum and back", 2.0, 3, {3.0, 4.0, 3.0}},
        {"typed below the minimum climbs back", -7.0, 4, {-5.0, -4.0, -3.0}},
        // The turn sets the direction's sign: the value never swaps between 11 and 10.
        {"typed far above comes back", 10.0, 9, {5.0, 4.0, 3.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        low = -4.0;
        high = 4.0;
        ValueRowBinding binding = wholeStepBinding();
        auto* row = new ValueRow(*window, QStringLiteral("n ="),
                                 {"Label11", "Edit13", "SpeedButton16", "ScrollBar4", nullptr, nullptr,
                                  "Switch5", "SpeedButton29"},
                                 std::move(binding), window.get());
        value = c.start;
        std::vector<double> seen;
        row->afterAnimationStep = [&] {
            seen.push_back(value);
            if (static_cast<int>(seen.size()) == c.frames) {
                row->toggle()->setChecked(false);
            }
        };
        row->toggle()->setChecked(true);
        emit row->toggle()->clicked();
        ASSERT_GE(seen.size(), c.last.size());
        EXPECT_EQ(std::vector<double>(seen.end() - static_cast<long>(c.last.size()), seen.end()), c.last);
        EXPECT_EQ(row->bar()->value(), row->grid().position(value));
        delete row;
    }
}

// A row deleted while its window stays open takes its switch out of the window's animation loop, so
// the next animation (which turns every other switch off) never reaches the deleted one.
TEST_F(KitTest, DeletedValueRowLeavesTheAnimationLoop)
{
    const int windowSwitches = window->animationSwitchCount();
    ValueRow* first = makeRow();
    auto* second = new ValueRow(
        *window, QStringLiteral("n ="),
        {"Label11", "Edit13", "SpeedButton16", "ScrollBar4", nullptr, nullptr, "Switch5", "SpeedButton29"},
        wholeStepBinding(), window.get());
    EXPECT_EQ(window->animationSwitchCount(), windowSwitches + 2);
    delete first;
    EXPECT_EQ(window->animationSwitchCount(), windowSwitches + 1);

    int frames = 0;
    second->afterAnimationStep = [&] {
        if (++frames == 2) {
            second->toggle()->setChecked(false);
        }
    };
    second->toggle()->setChecked(true);
    emit second->toggle()->clicked();
    EXPECT_EQ(frames, 2);
    EXPECT_FALSE(window->animationLoopActive());
    delete second;
    EXPECT_EQ(window->animationSwitchCount(), windowSwitches);
}

// An entry fetched from a list is taken as a typed term: compiled, reported once when wrong.
TEST_F(KitTest, TermFieldTakesAnEnteredTextAsTypedAndLeft)
{
    TermText = "x";
    auto* field = new TermField(QStringLiteral("f(x) ="), "Label2", "Edit1", TermText, window.get());
    window->show();
    field->load();
    int changed = 0;
    QObject::connect(field, &TermField::termChanged, [&] { ++changed; });
    field->enter("x^3");
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(TermText, "x^3");
    EXPECT_EQ(EvaluateTerm(field->tree(), 2, 0, 0, 0, 0, 0, 0), 8.0);
    // The same text again is taken again (a fetch of the term shown).
    field->enter("x^3");
    EXPECT_EQ(changed, 2);
    EXPECT_TRUE(messages.empty());
    field->enter("x^");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(EvaluateTerm(field->tree(), 2, 0, 0, 0, 0, 0, 0), 0.0);
}

TEST_F(KitTest, TermFieldTakesAFetchedTermWithOneMessageForAWrongOne)
{
    TermText = "x";
    auto* field = new TermField(QStringLiteral("f(x) ="), "Label2", "Edit1", TermText, window.get());
    field->load();
    int changed = 0;
    QObject::connect(field, &TermField::termChanged, [&] { ++changed; });

    field->setTerm("x^3");
    EXPECT_EQ(TermText, "x^3");
    EXPECT_EQ(field->edit()->text(), QStringLiteral("x^3"));
    EXPECT_EQ(EvaluateTerm(field->tree(), 2, 0, 0, 0, 0, 0, 0), 8.0);

    field->setTerm("sin(");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(TermText, "sin(");
    EXPECT_EQ(EvaluateTerm(field->tree(), 2, 0, 0, 0, 0, 0, 0), 0.0);
    // The fetched text counts as unchanged: leaving the edit neither compiles nor reports again.
    window->show();
    field->edit()->setFocus();
    QTest::keyClick(field->edit(), Qt::Key_Return);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(changed, 0);
}

TEST_F(KitTest, TermFieldTakesAGivenTermWithoutMovingTheFocus)
{
    TermText = "x";
    auto* other = new QLineEdit(window.get());
    auto* field = new TermField(QStringLiteral("f(x) ="), "Label2", "Edit1", TermText, window.get());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    field->load();
    other->setFocus();
    int changed = 0;
    QObject::connect(field, &TermField::termChanged, [&] { ++changed; });

    EXPECT_TRUE(field->enter("0.5 X^2"));
    EXPECT_EQ(field->edit()->text(), QStringLiteral("0,5x^2")); // shown as leaving the edit shows it
    EXPECT_EQ(TermText, "0,5x^2");
    EXPECT_EQ(EvaluateTerm(field->tree(), 2, 0, 0, 0, 0, 0, 0), 2.0);

    // A wrong term is reported once and "0" drawn, also while the edit is hidden; the focus stays.
    field->hide();
    EXPECT_FALSE(field->enter("2*(x+"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(EvaluateTerm(field->tree(), 2, 0, 0, 0, 0, 0, 0), 0.0);
    EXPECT_EQ(TermText, "2*(x+");
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_EQ(changed, 2);

    // Too long for the variable: reported, and the term drawn so far stays.
    EXPECT_FALSE(field->enter("x+" + std::string(130, '1')));
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(TermText, "2*(x+");
    EXPECT_EQ(changed, 2);
}

TEST_F(KitTest, FixedObjectButtonsDeleteOnlyWhileTheListHoldsObjects)
{
    FixedObjectNames names;
    names.insert = "SpeedButton6";
    names.insertHint = QStringLiteral("Sekante fixieren");
    names.deleteLast = "SpeedButton7";
    names.deleteLastHint = QStringLiteral("Sekante löschen");
    names.clearAll = "SpeedButton8";
    names.clearAllHint = QStringLiteral("Liste löschen");
    FixedObjectButtons buttons(names, nullptr);
    EXPECT_TRUE(buttons.insertButton()->isEnabled());
    EXPECT_FALSE(buttons.deleteLastButton()->isEnabled());
    EXPECT_FALSE(buttons.clearAllButton()->isEnabled());
    EXPECT_EQ(buttons.clearAllButton()->toolTip(), QStringLiteral("Liste löschen"));
    buttons.setListFilled(true);
    EXPECT_TRUE(buttons.deleteLastButton()->isEnabled());
    EXPECT_TRUE(buttons.clearAllButton()->isEnabled());
}

TEST_F(KitTest, GridModeButtonsSetTheGridAndShowTheOneSetElsewhere)
{
    GridMode = 2;
    GridModeButtons buttons(nullptr);
    const auto button = [&buttons](const char* name) {
        return buttons.findChild<QToolButton*>(QString::fromLatin1(name));
    };
    EXPECT_TRUE(button("SpeedButton52")->isChecked());
    int changed = 0;
    QObject::connect(&buttons, &GridModeButtons::changed, [&changed] { ++changed; });

    QTest::mouseClick(button("SpeedButton53"), Qt::LeftButton);
    EXPECT_EQ(GridMode, 3);
    EXPECT_EQ(changed, 1);
    EXPECT_FALSE(button("SpeedButton52")->isChecked());

    // The settings dialog set the grid: the buttons follow without reporting a change.
    GridMode = 1;
    buttons.showMode();
    EXPECT_TRUE(button("SpeedButton50")->isChecked());
    EXPECT_FALSE(button("SpeedButton53")->isChecked());
    EXPECT_EQ(changed, 1);
}

// The windows' tests click the bound check boxes; none sets a colour or a line width.
TEST_F(KitTest, RedrawBindingSetsTheVariableBeforeEachRedraw)
{
    TColor colour = 0;
    int width = 1;
    std::vector<std::pair<TColor, int>> redraws;
    auto* colourButton = MakeColorButton(QStringLiteral("ColorButton1"), {}, window.get());
    auto* widthBox = new LineWidthComboBox(window.get());
    const RedrawBinding bind(window.get(), [&] { redraws.emplace_back(colour, width); });
    bind.colour(colourButton, colour);
    bind.lineWidth(widthBox, width);
    window->show();

    colourButton->setSelectionColor(0x00FF00);
    emit widthBox->activated(2);
    EXPECT_EQ(redraws, (std::vector<std::pair<TColor, int>>{{0x00FF00, 1}, {0x00FF00, 3}}));
}

// The windows' tests add and fetch examples; none looks where the focus goes.
TEST_F(KitTest, TermExamplesLeaveTheFocusOnTheTermEditAfterAFetchAndADelete)
{
    writeProgramFile(QStringLiteral("Bsp9.txt"), "x^2\r\nsin(x)\r\n");
    TermText = "x";
    auto* field = new TermField({}, nullptr, "Edit1", TermText, window.get());
    auto* panel = new ExampleListPanel("Bsp9.txt", ExampleFormat{}, window.get());
    auto* other = new QLineEdit(window.get());
    BindTermExamples(panel, field);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    field->load();
    const auto button = [panel](const char* name) {
        return panel->findChild<QToolButton*>(QString::fromLatin1(name));
    };

    other->setFocus();
    panel->listBox()->setCurrentRow(0);
    button("SpeedButton1")->click();
    EXPECT_EQ(field->edit()->text(), QStringLiteral("x^2"));
    EXPECT_EQ(QApplication::focusWidget(), field->edit());

    other->setFocus();
    panel->listBox()->setCurrentRow(1);
    button("SpeedButton5")->click();
    EXPECT_EQ(panel->examples().size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), field->edit());
}

} // namespace
} // namespace kurvex
