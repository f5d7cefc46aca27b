#include "window/frmMain.h"

#include "search/DropChoice.h"
#include "search/DroppedPaths.h"
#include "search/FolderSearch.h"
#include "window/FileListView.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTreeWidget>

// Files and folders dropped on the window, the found-file list, the summary
// box or the ranking table all go to LoadDropped. The three controls would
// otherwise handle drops their own way (the summary box inserting dropped
// text), so their drag events are taken before they see them.

void frmMain::AcceptFileDrops()
{
    setAcceptDrops(true);
    const QList<QAbstractScrollArea *> targets{lstBMS, txtScore, lstScore};
    for (QAbstractScrollArea *target : targets) {
        for (QWidget *widget : {static_cast<QWidget *>(target), target->viewport()}) {
            widget->setAcceptDrops(true);
            widget->installEventFilter(this);
        }
    }
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        HandleDrag(static_cast<QDropEvent *>(event));
        return true;
    case QEvent::DragLeave:
        return true;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    HandleDrag(event);
}

void frmMain::dragMoveEvent(QDragMoveEvent *event)
{
    HandleDrag(event);
}

void frmMain::dropEvent(QDropEvent *event)
{
    HandleDrag(event);
}

void frmMain::HandleDrag(QDropEvent *event)
{
    // Only a list of local files is taken, and never as a move, which would
    // let the drag source delete what was dropped. During a search nothing
    // is taken, and the pointer says so.
    const Qt::DropActions actions = event->possibleActions();
    const Qt::DropAction action = (actions & Qt::CopyAction)   ? Qt::CopyAction
                                  : (actions & Qt::LinkAction) ? Qt::LinkAction
                                                               : Qt::IgnoreAction;
    if (SearchRunning() || action == Qt::IgnoreAction ||
        LocalDropPaths(event->mimeData()->urls()).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    if (event->type() == QEvent::Drop)
        LoadDropped(event->mimeData());
}

void frmMain::LoadDropped(const QMimeData *data)
{
    const DropChoice choice = ChooseDroppedItem(LocalDropPaths(data->urls()));
    if (choice.kind == DropChoice::ScoreFile)
        LoadSingleFile(choice.path);
    else if (choice.kind == DropChoice::Folder)
        SearchFolder(choice.path);
}
