#include "window/frmMain.h"

#include "window/FileListView.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

void frmMain::Form_Resize()
{
    // A minimized window has no client area to lay out; the rule runs again
    // when it is restored.
    if (isMinimized())
        return;

    // Never smaller than the design client area: grow the window by what the
    // client area lacks (the frame and menu bar stay as they are).
    const QWidget *client = centralWidget();
    if (client->height() < kDesignClientHeight)
        resize(width(), height() + kDesignClientHeight - client->height());
    if (client->width() < kDesignClientWidth)
        resize(width() + kDesignClientWidth - client->width(), height());

    const int W = client->width();
    const int H = client->height();
    cmdOpenDir->move(cmdOpenDir->x(), H - 40);
    cmdCopy->move(cmdCopy->x(), H - 40);
    cmdClear->move(cmdClear->x(), H - 40);
    lstBMS->setHeightInWholeRows(H - 5);
    lstBMS->move(W - 162, lstBMS->y());
    lstScore->resize(lstScore->width(), H - 77);
    lstScore->resize(W - 177, lstScore->height());
    txtScore->move(txtScore->x(), H - 74);
    txtScore->resize(W - 177, txtScore->height());
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}
