#include "window/frmMain.h"

#include "search/FolderSearch.h"
#include "search/LibraryModel.h"
#include "search/ScoreFiles.h"
#include "search/ShownFileRefresh.h"
#include "window/FileListView.h"
#include "window/frmLibrary.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

// The library window ("一覧") and the shown ranking kept live ("自動更新").

void frmMain::CreateLibraryMenus()
{
    menuOptRefresh = menuOption->addAction(QStringLiteral("自動更新(&R)"));
    menuOptRefresh->setObjectName(QStringLiteral("menuOptRefresh"));
    menuOptRefresh->setCheckable(true);
    menuOptRefresh->setChecked(true);
    Refresh = new ShownFileRefresh(this);
    connect(menuOptRefresh, &QAction::toggled, Refresh, &ShownFileRefresh::setEnabled);
    connect(Refresh, &ShownFileRefresh::refreshed, this, &frmMain::ShownFileRefreshed);

    menuView = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    menuView->setObjectName(QStringLiteral("menuView"));
    menuViewList = menuView->addAction(QStringLiteral("一覧(&L)"));
    menuViewList->setObjectName(QStringLiteral("menuViewList"));
    menuViewList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    menuViewList->setEnabled(false); // until the found-file list has names
    connect(menuViewList, &QAction::triggered, this, &frmMain::menuViewList_Click);
}

void frmMain::menuViewList_Click()
{
    if (!menuViewList->isEnabled())
        return;
    if (!Library) {
        Library = new frmLibrary(this, LibraryGeometry, LibraryColumns);
        connect(Library, &frmLibrary::chartChosen, this, &frmMain::ShowFoundFile);
        Library->SearchEnded(lstBMS->count());
    }
    Library->show();
    Library->raise();
    Library->activateWindow();
}

void frmMain::ShowFoundFile(int i)
{
    if (SearchRunning() || i < 0 || i >= lstBMS->count())
        return;
    // The list's selection follows; selecting shows the file.
    if (lstBMS->selectedRow() == i)
        lstBMS_Click();
    else
        lstBMS->setCurrentRow(i);
}

void frmMain::LibrarySearchStarting()
{
    menuViewList->setEnabled(false);
    // The records are about to go: nothing may be shown from them.
    if (Library)
        Library->SearchStarting();
    Refresh->detach();
}

void frmMain::LibrarySearchEnded()
{
    menuViewList->setEnabled(lstBMS->count() > 0);
    if (Library)
        Library->SearchEnded(lstBMS->count());
}

void frmMain::ShownFileRefreshed(qsizetype index)
{
    DisplayRKF(index >= 0 ? ScoreFiles[index] : Refresh->record());
    if (Library && index >= 0)
        Library->model()->recordChanged(index);
}
