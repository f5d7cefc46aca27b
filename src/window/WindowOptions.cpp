#include "window/frmMain.h"

#include "support/gui/ExitProgram.h"

#include <QAction>
#include <QCloseEvent>

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
    // Changing the flag hides the window; it comes back as it was. A window
    // in its normal state is put back where it was; a maximized one stays
    // maximized and keeps its normal size and place for when it is restored.
    // Like the placement it stands for, the call shows a window not yet shown.
    const bool wasVisible = isVisible();
    const bool normalState =
        !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
    const QRect place = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (wasVisible && normalState)
        setGeometry(place);
    show();
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
