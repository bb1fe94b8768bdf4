// Which window each launcher item opens, and the modes switched on around a lesson.
#pragma once

#include <QWidget>

#include <functional>
#include <span>

namespace kurvex {

enum class LessonMode { None, Sequence, NumberLine };

// Opens a lesson window modally with the launcher as owner and returns when it has closed.
using LessonOpener = void (*)(QWidget* owner);

struct LessonEntry {
    const char* caption; // UTF-8, shown as it stands, double blanks included
    int imageIndex;
    const char* windowName;
    LessonMode mode;
    LessonOpener open; // nullptr while the lesson window does not exist yet
};

// Creates a Window owned by the launcher and shows it modally; the window frees itself when it
// closes. A lesson adds its instantiation to the table.
template <class Window> void OpenLessonWindow(QWidget* owner)
{
    auto* window = new Window(owner); // owned by the launcher until it deletes itself on close
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->exec();
}

// The "Analysis" list and the "Funktionsgraphen" list, in display order.
std::span<const LessonEntry> AnalysisLessons();
std::span<const LessonEntry> FunctionGraphLessons();

// Reloads the settings, sets the lesson's mode, opens its window and clears the mode again however
// the window closes. An unknown image index opens nothing.
void OpenAnalysisLesson(int imageIndex, QWidget* owner);
// Sets StartTab to imageIndex - 1 and opens the function-graph window (which loads the settings
// itself).
void OpenFunctionGraph(int imageIndex, QWidget* owner);

// Tests replace the creation of lesson windows; an empty hook restores the real windows.
using LessonHook = std::function<void(const LessonEntry& entry, QWidget* owner)>;
void SetLessonHook(LessonHook hook);

} // namespace kurvex
