#include "window/frmMain.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction *AddItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    return item;
}

} // namespace

void frmMain::CreateMenus()
{
    menuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    menuOpenFile = AddItem(menuFile, "menuOpenFile", QStringLiteral("ファイルを開く(&O)"));
    menuOpenFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    menuOpenFolder = AddItem(menuFile, "menuOpenFolder", QStringLiteral("フォルダを開く(&F)"));
    menuOpenFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    menuFileSave = AddItem(menuFile, "menuFileSave", QStringLiteral("名前を付けて保存(&S)"));
    menuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menuFileLine = menuFile->addSeparator();
    menuFileLine->setObjectName(QStringLiteral("menuFileLine"));
    menuEnd = AddItem(menuFile, "menuEnd", QStringLiteral("終了(&X)"));

    menuOption = menuBar()->addMenu(QStringLiteral("設定(&O)"));
    menuOption->setObjectName(QStringLiteral("menuOption"));
    // A checkable item ticks and unticks itself when chosen; its tick is the
    // option.
    menuOptTop = AddItem(menuOption, "menuOptTop", QStringLiteral("トップのみ表示(&T)"));
    menuOptTop->setCheckable(true);
    menuOptZOrder = AddItem(menuOption, "menuOptZOrder", QStringLiteral("常に最前面に表示(&A)"));
    menuOptZOrder->setCheckable(true);

    connect(menuOpenFile, &QAction::triggered, this, &frmMain::menuOpenFile_Click);
    connect(menuOpenFolder, &QAction::triggered, this, &frmMain::BrowseFolder);
    connect(menuFileSave, &QAction::triggered, this, &frmMain::menuFileSave_Click);
    connect(menuEnd, &QAction::triggered, this, &frmMain::menuEnd_Click);
    connect(menuOptZOrder, &QAction::triggered, this, &frmMain::menuOptZOrder_Click);
}
