// Examples of a term with a remark through real widgets: add with the duplicate rule, fetch into
// term field and remark edit, lines without ";", a fetched wrong or too long term, saving.
#include "lesson/TermRemarkExamples.h"

#include "controls/EditRoutines.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/PrintExportHooks.h"
#include "lesson/TermField.h"
#include "support/RestoreShared.h"
#include "support/TestTempDir.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class TermRemarkExamplesTest : public ::testing::Test {
protected:
    TermRemarkExamplesTest()
    {
        ProgramDir = dir.path().string() + "/";
        SetSyntaxErrorHandler([this](int, const std::string& text, int) { messages.push_back(text); });
    }
    ~TermRemarkExamplesTest() override { SetSyntaxErrorHandler(nullptr); }

    void open(const std::string& fileBytes)
    {
        WriteBytes(dir.file("Bsp1.txt"), fileBytes);
        window = std::make_unique<QDialog>();
        auto* column = new QVBoxLayout(window.get());
        field = new TermField(QStringLiteral("f(x) ="), "Label5", "Edit1", TermText, window.get());
        examples = new TermRemarkExamples("Bsp1.txt", *field, "Label6", window.get());
        column->addWidget(field);
        column->addWidget(examples);
        QObject::connect(field, &TermField::termChanged, [this] { ++changes; });
        window->show();
        field->load();
        list = examples->findChild<QListWidget*>(QStringLiteral("ListBox1"));
    }
    void fetch(int row)
    {
        list->setCurrentRow(row);
        QTest::mouseClick(examples->findChild<QToolButton*>(QStringLiteral("SpeedButton1")), Qt::LeftButton);
    }
    void add(const QString& term, const QString& remark)
    {
        field->edit()->setText(term);
        examples->remarkEdit()->setText(remark);
        QTest::mouseClick(examples->findChild<QToolButton*>(QStringLiteral("SpeedButton4")), Qt::LeftButton);
    }

    test::TempDir dir;
    RestoreShared<std::string, std::string, TermTree> restore{ProgramDir, TermText, ParsedTerm};
    std::vector<std::string> messages;
    int changes = 0;
    std::unique_ptr<QDialog> window;
    TermField* field = nullptr;
    TermRemarkExamples* examples = nullptr;
    QListWidget* list = nullptr;
};

TEST_F(TermRemarkExamplesTest, FetchPutsTermAndRemarkBackAndTakesTheTerm)
{
    open("x^2;  Normalparabel\r\nx^3\r\nsin(x);Welle  \r\n");
    struct Case {
        int row;
        const char* term;
        const char* remark;
        double valueAtTwo;
    };
    const Case cases[] = {
        {0, "x^2", "Normalparabel", 4},
        {1, "x^3", "", 8}, // a line without ";" is a term with no remark
        {2, "sin(x)", "Welle", std::sin(2.0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term);
        const int before = changes;
        fetch(c.row);
        EXPECT_EQ(field->edit()->text().toStdString(), c.term);
        EXPECT_EQ(examples->remarkEdit()->text().toStdString(), c.remark);
        EXPECT_EQ(TermText, c.term);
        EXPECT_EQ(changes, before + 1);
        EXPECT_NEAR(EvaluateTerm(field->tree(), 2, 0, 0, 0, 0, 0, 0), c.valueAtTwo, 1e-12);
        EXPECT_TRUE(field->edit()->hasFocus() || !window->isActiveWindow());
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(TermRemarkExamplesTest, AddRefusesATermAlreadyThereWhateverItsRemarkAndSaves)
{
    open("x^2;  Normalparabel\r\n");
    add(QStringLiteral("x^2"), QStringLiteral("andere Bemerkung"));
    add(QStringLiteral("x^3-3x"), QStringLiteral("kubische Parabel"));
    add(QStringLiteral("x^3-3x"), QString());
    add(QStringLiteral("2\u03C0x"), QStringLiteral("mit Pi, ähnlich"));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("x^3-3x;  kubische Parabel"));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("2\u03C0x;  mit Pi, ähnlich"));
    ASSERT_TRUE(examples->save());
    EXPECT_EQ(ReadBytes(dir.file("Bsp1.txt")),
              "x^2;  Normalparabel\r\nx^3-3x;  kubische Parabel\r\n2\xF0x;  mit Pi, \xE4hnlich\r\n");
}

TEST_F(TermRemarkExamplesTest, FetchedWrongTermIsReportedOnceAndTooLongOneNotCut)
{
    const std::string longTerm(125, 'x');
    open("2*(x+;  falsch\r\n" + longTerm + ";  lang\r\n");
    field->edit()->setMaxLength(static_cast<int>(kMaxTermLength));
    fetch(0);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(TermText, "2*(x+");
    EXPECT_EQ(EvaluateTerm(field->tree(), 2, 0, 0, 0, 0, 0, 0), 0.0);

    fetch(1);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(TermText, "2*(x+");
    EXPECT_NE(field->edit()->text().toStdString(), longTerm.substr(0, kMaxTermLength));
}

} // namespace
} // namespace kurvex
