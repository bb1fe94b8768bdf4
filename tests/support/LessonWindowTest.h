// Helpers of the lesson-window tests on top of the fixture: a fixture that opens one window type,
// short names for the kit's helpers, and opening a lesson from the launcher.
#pragma once

#include "app/LessonRegistry.h"
#include "app/SettingsDialog.h"
#include "lesson/LessonWindow.h"
#include "support/LessonFixture.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

namespace kurvex::test {

// The window's control of that form name; a missing one fails the test.
template <class T> T* Control(const QWidget& window, const char* name)
{
    auto* w = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

inline void TypeInto(QLineEdit* edit, const QString& text)
{
    typeInto(edit, text);
}

inline void ClickBox(BitCheckBox* box)
{
    clickBox(box);
}

inline void DragOnPlot(PlotBox* box, QPoint from, QPoint to)
{
    dragOnPlot(box, from, to);
}

inline void DragOnPlot(LessonWindow& window, QPoint from, QPoint to)
{
    dragOnPlot(window.plotBox(), from, to);
}

inline RecordingCanvas RecordPicture(LessonWindow& window)
{
    return recordPicture(window);
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

// A window of type W opened in the fixture's own program folder (no settings file or example
// list unless the test writes one); every shared variable comes back afterwards.
template <class W> class WindowFixture : public ProgramWindowFixture {
protected:
    void SetUp() override
    {
        InstallApplicationDialogs();
        AnimationDelay = 0;
    }
    void TearDown() override { window.reset(); }

    void open()
    {
        window = std::make_unique<W>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class T> T* control(const char* name) const { return Control<T>(*window, name); }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }

    void writeFile(const char* name, const char* bytes) const
    {
        writeProgramFile(QString::fromLatin1(name), bytes);
    }
    QByteArray readFile(const char* name) const
    {
        QFile f(programDir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::vector<std::string>& messages = syntaxMessages;
    std::unique_ptr<W> window;
};

} // namespace kurvex::test
