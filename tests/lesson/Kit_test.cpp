// The lesson kit through real widgets: a value row keeps bar and value in step both ways, a term
// field reports a wrong term once however often the window redraws, the fixed-object buttons.
#include "lesson/TestLessonWindow.h"

#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"
#include "support/LessonFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
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

} // namespace
} // namespace kurvex
