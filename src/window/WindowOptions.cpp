#include "window/frmMain.h"

#include "support/gui/ExitProgram.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>

namespace {

// The window whose settings are saved on exit.
const frmMain *settingsWindow = nullptr;

} // namespace

frmMain::~frmMain()
{
    // Nothing is saved for a window that is gone.
    if (settingsWindow == this) {
        SetSettingsSource(nullptr);
        settingsWindow = nullptr;
    }
}

void frmMain::ApplyConfig(const Settings &settings)
{
    menuOptTop->setChecked(settings.TopOnly);
    menuOptZOrder->setChecked(settings.AlwaysOnTop);
    if (settings.AlwaysOnTop)
        SetAlwaysOnTop(true);
    LastReadDir = settings.LastReadDir;
}

Settings frmMain::CurrentSettings() const
{
    return Settings{menuOptTop->isChecked(), menuOptZOrder->isChecked(), LastReadDir};
}

void frmMain::RegisterSettingsSource()
{
    SetSettingsSource([this] { return CurrentSettings(); });
    settingsWindow = this;
}

void frmMain::SetAlwaysOnTop(bool on)
{
    // Changing the flag hides the window; it comes back as it was. It is
    // shown again at its normal size and place and only then maximized anew,
    // so that restoring it later returns to that size and place. Like the
    // placement it stands for, the call shows a window not yet shown.
    const bool wasVisible = isVisible();
    const Qt::WindowStates state = windowState();
    const QRect normal = normalGeometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (wasVisible) {
        setWindowState(state & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        setGeometry(normal);
    }
    show();
    if (wasVisible && windowState() != state) {
        // The window system's answers to the steps above come first, so that
        // none of them lands on the maximized window as its normal size.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        setWindowState(state);
    }
}

void frmMain::menuOptZOrder_Click(bool ticked)
{
    SetAlwaysOnTop(ticked);
}

void frmMain::menuEnd_Click()
{
    ExitProgram(0, QString(), QString());
}

void frmMain::Form_Unload()
{
    ExitProgram(0, QString(), QString());
}

void frmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    ExitProgram(0, QString(), QString());
}
