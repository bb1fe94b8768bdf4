// The whole program from the launcher: every entry opens its window, which draws, takes one change
// as a user makes it, exports WMF and EMF that independent readers render, prints to PDF and
// closes, leaving the settings file and the example lists on disk as they were and Qt silent.
#include "lesson/LessonWindow.h"
#include "lesson/PrintExportHooks.h"
#include "support/LauncherEntries.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileConverters.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kurvex {
namespace {

// What both metafile readers must show of an entry's picture: its axis labels and the points of its
// longest stroke. Entries not named here show "x" and "y" and a curve of at least 20 points.
struct ReaderExpectation {
    const char* caption;
    std::vector<const char*> labels;
    int curvePoints = 20;
};

const ReaderExpectation kReaderExpectations[] = {
    {"Folgen -  Grenzwert", {"n", "a(n)"}, 0}, // points, no curve
    {"f  F    Integralfunktion", {"x"}},       {"Zuordnungen", {"x"}}, {"sin cos    tan cot", {"y"}},
    {"Lineare Regression", {"x", "y"}, 2}, // lines
};

ReaderExpectation readerExpectation(const char* caption)
{
    for (const ReaderExpectation& e : kReaderExpectations) {
        if (std::string(e.caption) == caption) {
            return e;
        }
    }
    return {caption, {"x", "y"}};
}

// Every file of the folder with its bytes.
std::map<QString, QByteArray> filesIn(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        QFile f(QDir(folder).filePath(name));
        files[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    return files;
}

// Qt's messages while a window runs; its notices about the offscreen platform are no fault.
std::vector<QString>* recorded = nullptr;
void recordMessage(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (recorded != nullptr && !message.contains(QStringLiteral("propagateSizeHints"))) {
        recorded->push_back(message);
    }
}

class EndToEndTest : public test::LauncherEntryTest {
protected:
    void SetUp() override
    {
        test::LauncherEntryTest::SetUp();
        before = filesIn(programDir.path());

        PrintExportHooks hooks;
        hooks.chooseFile = [this](QWidget*) { return std::optional<SaveChoice>(choice); };
        hooks.confirmReplace = [](QWidget*, const QString&) { return true; };
        hooks.showError = [this](QWidget*, const QString& m) { errors.push_back(m); };
        // A page smaller than the picture asks before printing it smaller; no one is there to answer.
        hooks.confirmFitToPage = [](QWidget*, const QString&) { return true; };
        hooks.setupPrinter = [this](QWidget*, QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out.filePath(QStringLiteral("druck.pdf")));
            return true;
        };
        scopedHooks = std::make_unique<ScopedPrintExportHooks>(hooks);
        recorded = &messages;
        previousHandler = qInstallMessageHandler(recordMessage);
    }
    void TearDown() override
    {
        qInstallMessageHandler(previousHandler);
        recorded = nullptr;
        scopedHooks.reset();
    }

    QPushButton* frameButton(LessonWindow& w, const char* text) const
    {
        for (QPushButton* b : w.findChildren<QPushButton*>()) {
            if (b->text() == QString::fromUtf8(text)) {
                return b;
            }
        }
        ADD_FAILURE() << "no button " << text;
        return nullptr;
    }

    // What the test does inside the open window.
    void useWindow(LessonWindow& w, const test::LauncherEntry& entry)
    {
        const ReaderExpectation c = readerExpectation(entry.caption);
        entry.action(w);
        for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
            const bool wmf = kind == MetafileKind::Wmf;
            SCOPED_TRACE(wmf ? "wmf" : "emf");
            choice = {out.filePath(wmf ? QStringLiteral("bild.wmf") : QStringLiteral("bild.emf")), kind};
            frameButton(w, "WMF - Datei")->click();
            const test::SvgRendering r = test::RenderMetafileAsSvg(choice.path, kind);
            ASSERT_EQ(r.error.toStdString(), "");
            EXPECT_GE(test::LongestStroke(r.svg, QStringLiteral("stroke")),
                      c.curvePoints); // a curve, not only axes
            const QString text = test::SvgText(r.svg);
            for (const char* label : c.labels) {
                EXPECT_TRUE(text.contains(QString::fromUtf8(label)))
                    << label << " not in " << text.toStdString();
            }
        }
        frameButton(w, "Drucken")->click();
        QFile pdf(out.filePath(QStringLiteral("druck.pdf")));
        EXPECT_TRUE(pdf.open(QIODevice::ReadOnly));
        EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
        EXPECT_GT(pdf.size(), 1000);
        w.reject();
    }

    QTemporaryDir out;
    SaveChoice choice;
    std::vector<QString> errors;
    std::vector<QString> messages;
    std::map<QString, QByteArray> before;
    std::unique_ptr<ScopedPrintExportHooks> scopedHooks;
    QtMessageHandler previousHandler = nullptr;
};

TEST_P(EndToEndTest, EntryOpensDrawsExportsPrintsAndCloses)
{
    const bool used = test::UseEntryWindow(GetParam(), [&](LessonWindow& w) { useWindow(w, GetParam()); });

    EXPECT_TRUE(used) << "no lesson window opened";
    EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
    // The settings file and every example list as they were.
    EXPECT_EQ(filesIn(programDir.path()), before);
    for (const QString& m : messages) {
        ADD_FAILURE() << "Qt said: " << m.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Launcher, EndToEndTest, ::testing::ValuesIn(test::LauncherEntries()),
                         test::EntryParamName);

} // namespace
} // namespace kurvex
