#pragma once

#include <QByteArray>
#include <QList>

namespace platform {

// Picks the toolkit's window-system plugin for the application object about
// to be made, unless the user has picked one (QT_QPA_PLATFORM, or "-platform"
// among the arguments). Where an X display is named, X11 comes first, on a
// Wayland desktop through its Xwayland: there a window can be kept above the
// others. Wayland itself is the fallback, and the choice where only a Wayland
// display is named. The choice is handed over as QT_QPA_PLATFORM.
void ChooseWindowSystem(const QList<QByteArray> &arguments);

// Once the application object is made: takes back the QT_QPA_PLATFORM that
// ChooseWindowSystem set, so that no program started later inherits it.
void ForgetWindowSystemChoice();

// Whether the window system in use lets a window keep itself above all
// others. Wayland has no such request.
bool CanKeepWindowAbove();

} // namespace platform
