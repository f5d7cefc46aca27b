#pragma once

// Helpers for the load and save tests: folders of score files, dialogs that
// answer from a script, drops delivered the way the window system does, and
// the captions a window shows.

#include "gui/ViewerTestSupport.h"
#include "support/AppGlobals.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QWindow>
#include <fcntl.h>
#include <unistd.h>

// Creates entries under root, with the folders on their way: a name ending
// in "/" is a folder; a name ending in ".rkf" (any case) a score file whose
// first place is named after the file (its name up to the first dot, at most
// 8 bytes); anything else a text file. Names are bytes, so a name need not
// be valid UTF-8 (its folders must be).
inline void MakeEntries(const QString &root, const QList<QByteArray> &names)
{
    const QByteArray base = QFile::encodeName(root) + '/';
    for (const QByteArray &name : names) {
        const QByteArray path = base + name;
        if (name.endsWith('/')) {
            QDir().mkpath(QFile::decodeName(path));
            continue;
        }
        const QByteArray leaf = name.mid(name.lastIndexOf('/') + 1);
        QDir().mkpath(QFile::decodeName(path.left(path.size() - leaf.size())));
        QByteArray bytes = "text";
        if (leaf.right(4).toUpper() == ".RKF") {
            const QByteArray stem = leaf.left(leaf.indexOf('.', 1));
            bytes = RkfBytes().playCount(1).name(0, stem).score(0, 100).jpts(0, 10).bytes();
        }
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            qFatal("cannot write %s", path.constData());
        ::close(fd);
    }
}

// The texts of a list box, top to bottom.
inline QStringList ListTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

// Answers the window's dialogs from queues (an empty answer is a cancel) and
// counts how often each was shown.
struct DialogScript {
    explicit DialogScript(frmMain &window)
    {
        window.Dialogs.chooseFolder = [this](QWidget *) { return next(folders, folderCalls); };
        window.Dialogs.chooseScoreFile = [this](QWidget *) { return next(files, fileCalls); };
        window.Dialogs.chooseSaveFile = [this](QWidget *, const SaveDialogState &state) {
            saveState = state;
            return next(saves, saveCalls);
        };
    }

    QStringList folders, files, saves;
    int folderCalls = 0, fileCalls = 0, saveCalls = 0;
    SaveDialogState saveState; // as the save dialog was given it last

  private:
    static QString next(QStringList &answers, int &calls)
    {
        ++calls;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// The window's captions from now on, each as the text after AppTitle.
struct CaptionLog {
    explicit CaptionLog(frmMain &window)
    {
        QObject::connect(&window, &QWidget::windowTitleChanged, &window,
                         [this](const QString &title) { captions.append(title.mid(AppTitle.size())); });
    }
    QStringList captions;
};

// A point of the window's client area that no control covers.
inline QPoint FormPoint(const frmMain &window)
{
    const QRect clear = window.cmdClear->geometry();
    return window.centralWidget()->mapTo(&window, QPoint(clear.right() + 20, clear.center().y()));
}

// Delivers a drag over and a drop at the point of the window (window
// coordinates) through the window system's entry, so the window picks the
// target itself. Returns whether the drag was accepted there.
inline bool DropAt(frmMain &window, const QPoint &at, const QMimeData &data)
{
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(window.windowHandle(), &leave);
        return false;
    }
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

// The local files as a drop carries them: URLs of their bytes.
inline void SetDroppedFiles(QMimeData &data, const QList<QByteArray> &paths)
{
    QList<QUrl> urls;
    for (const QByteArray &path : paths)
        urls.append(QUrl::fromEncoded("file://" + path.toPercentEncoding("/")));
    data.setUrls(urls);
}
