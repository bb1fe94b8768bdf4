// Helpers of the lesson-window tests: a fixture with its own program folder, controls found by
// their form names, typing into edits, clicking check boxes, dragging on the plot and recording
// the picture as printing draws it.
#pragma once

#include "app/LessonRegistry.h"
#include "app/SettingsDialog.h"
#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/LessonWindow.h"
#include "lesson/PlotBox.h"
#include "platform/RecordingCanvas.h"
#include "support/RestoreShared.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace kurvex::test {

// The window's control of that form name; a missing one fails the test.
template <class T> T* Control(const QWidget& window, const char* name)
{
    auto* w = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Replaces the edit's text as typed and leaves the edit with Enter.
inline void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

inline void ClickBox(BitCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// A left-button drag from one pixel of the plot to another.
inline void DragOnPlot(PlotBox* box, QPoint from, QPoint to)
{
    const std::tuple<QEvent::Type, QPoint, Qt::MouseButton, Qt::MouseButtons> steps[] = {
        {QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton},
        {QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton},
        {QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton}};
    for (const auto& [type, at, button, held] : steps) {
        QMouseEvent e(type, at, box->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(box, &e);
    }
}

// The window's picture drawn onto a recording canvas through the passes printing uses; the
// screen is drawn again afterwards, as after a print.
inline RecordingCanvas RecordPicture(LessonWindow& window)
{
    RecordingCanvas canvas;
    DrawCanvas = &canvas;
    Printing = true;
    window.paintPicture();
    Printing = false;
    window.refresh();
    return canvas;
}

// Opens the "Analysis" lesson of that caption as the launcher does, hands the window shown to
// check and closes it; true when a W was shown and freed on closing.
template <class W> bool OpenFromLauncher(const char* caption, const std::function<void(W&)>& check)
{
    const LessonEntry* entry = nullptr;
    for (const LessonEntry& e : AnalysisLessons()) {
        entry = std::string(e.caption) == caption ? &e : entry;
    }
    if (entry == nullptr) {
        return false;
    }
    QPointer<W> shown;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<W*>(QApplication::activeModalWidget());
        if (shown) {
            check(*shown);
            shown->reject();
        }
    });
    OpenAnalysisLesson(entry->imageIndex, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return shown.isNull() && entry->open != nullptr;
}

// A window of type W opened in a temporary program folder (no settings file or example list
// unless the test writes one), with the parser's messages recorded instead of shown.
template <class W> class LessonWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ProgramDir = dir.path().toStdString() + "/";
        SetSyntaxErrorHandler([this](int, const std::string& text, int) { messages.push_back(text); });
        InstallApplicationDialogs();
        AnimationDelay = 0;
    }

    void TearDown() override
    {
        window.reset();
        SetSyntaxErrorHandler(nullptr);
        DrawCanvas = nullptr;
    }

    void open()
    {
        window = std::make_unique<W>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class T> T* control(const char* name) const { return Control<T>(*window, name); }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }

    void writeFile(const char* name, const char* bytes)
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const char* name) const
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    RestoreShared<std::string, int, double, bool> restoreFixture{ProgramDir, AnimationDelay, DrawScale,
                                                                 Printing};
    QTemporaryDir dir;
    std::vector<std::string> messages;
    std::unique_ptr<W> window;
};

} // namespace kurvex::test
