// The settings and help dialogs a lesson window opens; they belong to the application above the
// frame, which installs them at start (tests install their own).
#pragma once

#include <functional>

class QWidget;

namespace kurvex {

struct FrameDialogs {
    // Opens the program's settings dialog modally over owner; curveColourChanged runs whenever the
    // dialog changes the curve colour while it is open, so the window can show it at once.
    std::function<void(QWidget* owner, const std::function<void()>& curveColourChanged)> settings;
    // Opens the help window modally over owner.
    std::function<void(QWidget* owner)> help;
};

// The installed dialogs; empty functions until the application installs them.
const FrameDialogs& InstalledFrameDialogs();
void InstallFrameDialogs(FrameDialogs dialogs);

} // namespace kurvex
