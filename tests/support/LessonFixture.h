// Test helper for window tests: a fixture with its own program directory and shared state, and helpers
// that find controls, type, click, drag and record the picture.
#pragma once

#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/DeviceStateGuard.h"
#include "lesson/FrameDialogs.h"
#include "lesson/PictureSource.h"
#include "lesson/PlotBox.h"
#include "platform/RecordingCanvas.h"
#include "support/SharedState.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace kurvex::test {

// The control of type T named name (its form's component name) in window; a missing one stops the
// test with both names instead of crashing it on a null pointer.
template <class T> T* child(const QWidget* window, const char* name)
{
    T* const found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no ") + T::staticMetaObject.className() + " named \"" + name +
                                 "\" in " + window->metaObject()->className());
    return found;
}

// Focus, select all, type, Enter: the edit's exit runs as when a user typed the text.
inline void typeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// A left click on the box's square.
inline void clickBox(BitCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// Press at from, move to to with the button held, release there.
inline void dragOnPlot(PlotBox* box, QPoint from, QPoint to)
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

// Lets windows and layouts finish what a size change or a click started.
inline void settle()
{
    for (int i = 0; i < 6; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// The window's passes drawn onto a recording canvas as for printing (Printing set, screen plot
// size and scale); the screen state comes back and the screen picture is rebuilt afterwards.
inline RecordingCanvas recordPicture(PictureSource& source)
{
    RecordingCanvas canvas;
    {
        const DeviceStateGuard keep;
        DrawCanvas = &canvas;
        Printing = true;
        source.paintPicture();
    }
    source.refresh();
    return canvas;
}

// Puts the frame's installed dialogs back when it goes (window tests install the application's).
class SavedFrameDialogs {
public:
    SavedFrameDialogs() = default;
    ~SavedFrameDialogs() { InstallFrameDialogs(saved_); }
    SavedFrameDialogs(const SavedFrameDialogs&) = delete;
    SavedFrameDialogs& operator=(const SavedFrameDialogs&) = delete;

private:
    FrameDialogs saved_ = InstalledFrameDialogs();
};

// Base of the lesson-window tests. Each test gets the shared state back afterwards, a fresh empty
// ProgramDir (no settings file: the built-in defaults), and its syntax messages recorded instead of
// shown. Windows declared in a derived fixture go before the state is restored.
class LessonWindowFixture : public ::testing::Test {
protected:
    LessonWindowFixture()
    {
        EXPECT_TRUE(programDir.isValid()) << programDir.errorString().toStdString();
        ProgramDir = programDir.path().toStdString() + "/";
        SetSyntaxErrorHandler([this](int, const std::string& text, int) { syntaxMessages.push_back(text); });
    }

    // Writes bytes (a settings file, an example list) as name into ProgramDir.
    void writeProgramFile(const QString& name, std::string_view bytes) const
    {
        QFile f(programDir.filePath(name));
        const bool written =
            f.open(QIODevice::WriteOnly) &&
            f.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
        EXPECT_TRUE(written) << "could not write " << f.fileName().toStdString();
    }

private:
    // Declared first, so they restore last.
    SharedStateScope shared_;
    SavedFrameDialogs frameDialogs_;

protected:
    QTemporaryDir programDir;
    // Syntax messages in Windows-1252, as the core hands them to the handler.
    std::vector<std::string> syntaxMessages;
};

} // namespace kurvex::test
