// Tests of the edit routines: term and number edits, the exit event and its guard, the message box.
#include "controls/EditRoutines.h"

#include "core/Settings.h"
#include "core/term/Term.h"
#include "support/SharedState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kurvex {
namespace {

// Three edits in a shown, active window; syntax messages are recorded instead of shown.
class EditFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Decimals = 2;
        SequenceMode = false;
        IntegrandMode = false;
        SetSyntaxErrorHandler([this](int code, const std::string& text, int) {
            messages.push_back(text);
            codes.push_back(code);
            if (onMessage) {
                onMessage();
            }
        });
        auto* layout = new QVBoxLayout(&window);
        for (QLineEdit** edit : {&a, &b, &c}) {
            *edit = new QLineEdit(&window);
            layout->addWidget(*edit);
        }
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // The recorder's targets outlive the window, whose edits may still report while it goes.
    test::SharedStateScope shared;
    std::vector<std::string> messages;
    std::vector<int> codes;
    std::function<void()> onMessage;
    QWidget window;
    QLineEdit* a = nullptr;
    QLineEdit* b = nullptr;
    QLineEdit* c = nullptr;
};

using TermEditTest = EditFixture;

TEST_F(TermEditTest, NormalisedTextIsWrittenBackAndCompiled)
{
    a->setText(QString::fromUtf8("X^2 + 2.5X {Fläche A}"));
    ASSERT_TRUE(CheckTermEdit(a));
    EXPECT_EQ(a->text(), QString::fromUtf8("x^2+2,5x{Fläche A}"));
    EXPECT_DOUBLE_EQ(EvaluateTerm(ParsedTerm, 2, 0, 0, 0, 0, 0, 0), 9.0);

    // "pi" and "phi" show as Greek letters; a typed π reads as pi.
    b->setText(QString::fromUtf8("π*sin(x) + Pi + PHI(0)"));
    ASSERT_TRUE(CheckTermEdit2(b));
    EXPECT_EQ(b->text(), QString::fromUtf8("π*sin(x)+π+Φ(0)"));
    EXPECT_NEAR(EvaluateTerm(ParsedTerm2, 0, 0, 0, 0, 0, 0, 0), 3.141592653589793 + 0.5, 1e-9);
    EXPECT_TRUE(messages.empty());
}

using EditExitTest = EditFixture;

// Focus-out to another control and Enter are exits; the focus going to another window is none.
TEST_F(EditExitTest, FocusOutAndEnterFireTheExitOnce)
{
    int exits = 0;
    ConnectEditExit(a, &window, [&] { ++exits; });
    a->setFocus();
    b->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(exits, 1);

    a->setFocus();
    QTest::keyClick(a, Qt::Key_Return);
    EXPECT_EQ(exits, 2);
    EXPECT_TRUE(b->hasFocus()); // Enter moved the focus on

    a->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(exits, 2);
}

TEST_F(EditExitTest, WrongTermLeftByTabGivesOneMessageAndKeepsTheFocus)
{
    ConnectEditExit(a, &window, [this] { CheckTermEdit(a); });
    ConnectEditExit(b, &window, [this] { CheckTermEdit2(b); });
    // The message takes the focus into a modal dialog, as the real message box does.
    onMessage = [this] {
        QDialog box(&window);
        box.setModal(true);
        auto* label = new QLabel(QStringLiteral("Syntaxfehler"), &box);
        label->setFocusPolicy(Qt::StrongFocus);
        QTimer::singleShot(20, &box, &QDialog::accept);
        box.exec();
    };
    b->setText(QStringLiteral("sin(")); // a wrong term also waits in b
    type(a, QStringLiteral("2*-3"));
    QTest::keyClick(a, Qt::Key_Tab);
    QTest::qWait(50);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(codes[0], kSyntaxUnknownSymbol);
    EXPECT_EQ(window.focusWidget(), a);
    EXPECT_EQ(a->cursorPosition(), 3);
    // The window coming back to the front gives the focus to the wrong edit without a new check.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(a->hasFocus());
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(EditExitTest, TwoWrongEditsDoNotBounce)
{
    ConnectEditExit(a, &window, [this] { CheckTermEdit(a); });
    ConnectEditExit(b, &window, [this] { CheckTermEdit2(b); });
    b->setText(QStringLiteral("sin("));
    type(a, QStringLiteral("x+1)"));
    QTest::keyClick(a, Qt::Key_Return); // moves on to b, whose focus-out must not check b
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(codes[0], kSyntaxExtraCloseParen);
    EXPECT_TRUE(a->hasFocus());
    EXPECT_EQ(a->cursorPosition(), 4);
    EXPECT_EQ(a->text(), QStringLiteral("x+1)"));
    EXPECT_EQ(b->text(), QStringLiteral("sin("));
    // The wrong term leaves "0" compiled and EvalOk cleared.
    EXPECT_FALSE(EvalOk);
    EXPECT_DOUBLE_EQ(EvaluateTerm(ParsedTerm, 5, 0, 0, 0, 0, 0, 0), 0.0);
}

using NumberEditTest = EditFixture;

struct NumberCase {
    const char* typed;
    const char* shown;
    double value;
};

TEST_F(NumberEditTest, ExpressionsAreEvaluatedAndShownWithDecimals)
{
    const NumberCase cases[] = {
        {"1/3", "0,33", 1.0 / 3}, {"pi", "3,14", 3.141592653589793},  {"2^0,5", "1,41", 1.4142135623730951},
        {"a+1", "1,00", 1.0},     {"2pi", "6,28", 6.283185307179586}, {"1/0", "5,00", 5.0},
    };
    for (const NumberCase& nc : cases) {
        double value = 5.0;
        a->setText(QString::fromUtf8(nc.typed));
        a->setModified(true);
        ReadNumberEdit(a, value);
        EXPECT_EQ(a->text(), QString::fromUtf8(nc.shown)) << nc.typed;
        EXPECT_NEAR(value, nc.value, 1e-9) << nc.typed;
    }
    EXPECT_TRUE(messages.empty());
}

// With 4 decimals a small value is wider than a narrow edit; its first digits must show, not
// the tail of its exponent.
TEST_F(NumberEditTest, NumberWiderThanItsEditShowsItsStart)
{
    Decimals = 4;
    a->setFixedWidth(50);
    double value = 0;
    a->setText(QStringLiteral("-1/75"));
    a->setModified(true);
    ReadNumberEdit(a, value);
    ASSERT_GT(a->fontMetrics().horizontalAdvance(a->text()), a->width());
    EXPECT_EQ(a->cursorPosition(), 0);
    Decimals = 2;
}

TEST_F(NumberEditTest, RoundedTextDoesNotReplaceTheExactValue)
{
    double value = 0;
    ConnectEditExit(a, &window, [&] { ReadNumberEdit(a, value); });
    type(a, QStringLiteral("1/3"));
    b->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(a->text(), QStringLiteral("0,33"));
    EXPECT_DOUBLE_EQ(value, 1.0 / 3);
    a->setFocus();
    b->setFocus(Qt::TabFocusReason);
    EXPECT_DOUBLE_EQ(value, 1.0 / 3); // unchanged text is not read again
    type(a, QStringLiteral("0,5"));
    b->setFocus(Qt::TabFocusReason);
    EXPECT_DOUBLE_EQ(value, 0.5);
    double forced = 0;
    ReadNumberEdit(a, forced, NumberRead::Always);
    EXPECT_DOUBLE_EQ(forced, 0.5);
}

TEST_F(NumberEditTest, LongPasteIsCutToTheFieldLengthAndReadQuickly)
{
    double value = 0;
    ConnectEditExit(a, &window, [&] { ReadNumberEdit(a, value); });
    a->setFocus();
    a->insert(QString(32000, QLatin1Char('x')));
    EXPECT_EQ(a->text().size(), 255);
    b->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(messages.size(), 1u); // x is no number; one message, and the call returned
}

TEST_F(NumberEditTest, VariableIsRefusedWithMessageAndCaret)
{
    double value = 7.0;
    b->setFocus();
    a->setText(QStringLiteral("2*x"));
    a->setModified(true);
    EXPECT_FALSE(ReadNumberEdit(a, value));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_DOUBLE_EQ(value, 7.0);
    EXPECT_EQ(a->text(), QStringLiteral("2*x"));
    EXPECT_TRUE(a->hasFocus());
    EXPECT_EQ(a->cursorPosition(), SyntaxErrorPos);
}

TEST(SyntaxMessageBoxTest, ShowsTheGermanMessageWithOk)
{
    const test::SharedStateScope shared; // removes the message box again, also when a check fails
    QWidget window;
    window.show();
    InstallSyntaxMessageBox(&window);
    QString shownText;
    QString buttonText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        buttonText = box->button(QMessageBox::Ok)->text();
        box->accept();
    });
    TermTree tree;
    EXPECT_FALSE(CompileTerm(tree, "sin(", true));
    EXPECT_EQ(shownText, QString::fromUtf8("Syntaxfehler: unvollständig "));
    EXPECT_EQ(buttonText, QStringLiteral("OK"));
}

} // namespace
} // namespace kurvex
