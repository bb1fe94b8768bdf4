// The installed settings and help dialogs of the lesson frame.
#include "lesson/FrameDialogs.h"

#include <utility>

namespace kurvex {

namespace {

FrameDialogs& installed()
{
    static FrameDialogs dialogs;
    return dialogs;
}

} // namespace

const FrameDialogs& InstalledFrameDialogs()
{
    return installed();
}

void InstallFrameDialogs(FrameDialogs dialogs)
{
    installed() = std::move(dialogs);
}

} // namespace kurvex
