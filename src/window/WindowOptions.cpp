#include "window/frmMain.h"

#include "platform/gui/WindowSystem.h"
#include "support/gui/ExitProgram.h"
#include "window/frmLibrary.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QWindow>

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
    m_storedAlwaysOnTop = settings.AlwaysOnTop;
    m_alwaysOnTopWorks = platform::CanKeepWindowAbove();
    if (!m_alwaysOnTopWorks) {
        // No tick that does nothing: the item is off and says why.
        menuOptZOrder->setChecked(false);
        menuOptZOrder->setEnabled(false);
        menuOptZOrder->setToolTip(QStringLiteral(
            "Wayland ではウィンドウを常に最前面に置けません（X11 のデスクトップでは使えます）"));
        menuOption->setToolTipsVisible(true);
    } else {
        menuOptZOrder->setChecked(settings.AlwaysOnTop);
        if (settings.AlwaysOnTop)
            SetAlwaysOnTop(true);
    }
    LastReadDir = settings.LastReadDir;
    menuOptRefresh->setChecked(settings.AutoRefresh);
    LibraryGeometry = settings.LibraryGeometry;
    LibraryColumns = settings.LibraryColumns;
}

Settings frmMain::CurrentSettings() const
{
    // Where the option cannot work, it is kept as stored for a start where it can.
    const bool onTop = m_alwaysOnTopWorks ? menuOptZOrder->isChecked() : m_storedAlwaysOnTop;
    Settings settings{menuOptTop->isChecked(), onTop, LastReadDir};
    settings.AutoRefresh = menuOptRefresh->isChecked();
    settings.LibraryGeometry = Library ? Library->KeptGeometry() : LibraryGeometry;
    settings.LibraryColumns = Library ? Library->ColumnWidths() : LibraryColumns;
    return settings;
}

void frmMain::RegisterSettingsSource()
{
    SetSettingsSource([this] { return CurrentSettings(); });
    settingsWindow = this;
}

void frmMain::SetAlwaysOnTop(bool on)
{
    // A window already on screen keeps its place, size and state: the flag is
    // handed to its native window directly, which the window system applies
    // without unmapping it. Setting it through the widget would hide the
    // window and show it anew, losing a maximized window's state. Like the
    // placement it stands for, the call shows a window not yet shown.
    QWindow *native = windowHandle();
    if (isVisible() && native) {
        const Qt::WindowFlags flags =
            on ? windowFlags() | Qt::WindowStaysOnTopHint : windowFlags() & ~Qt::WindowStaysOnTopHint;
        overrideWindowFlags(flags);
        native->setFlags(flags);
        return;
    }
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
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
