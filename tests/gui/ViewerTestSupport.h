#pragma once

// Window-test helpers: start the viewer, write and read score files, read the table, catch the exit.

#include "RkfBytes.h"
#include "score/LoadScoreFile.h"
#include "support/TestFiles.h"
#include "support/gui/ExitProgram.h"
#include "window/Main.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// The viewer started and shown with dir as its program folder (settings and error log go there).
inline std::unique_ptr<frmMain> StartViewer(const QTemporaryDir &dir, const QList<QByteArray> &arguments = {})
{
    std::unique_ptr<frmMain> window = Main(dir.path(), arguments);
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the window was not exposed");
    return window;
}

struct Place {
    QByteArray name;
    float score, jpts;
};

// Writes a score file whose place k has places[k]'s name, score and J-PTS; returns its path.
inline QString WriteScoreFile(const QTemporaryDir &dir, const QString &name, const QList<Place> &places)
{
    RkfBytes bytes;
    for (int k = 0; k < places.size(); ++k)
        bytes.name(k, places[k].name).score(k, places[k].score).jpts(k, places[k].jpts);
    return WriteTestFile(dir.path(), name, bytes.playCount(3).trailer(1).bytes());
}

// The same file as the core reads it.
inline ScoreRecord ReadRecord(const QTemporaryDir &dir, const QString &name, const QList<Place> &places)
{
    ScoreRecord record;
    if (LoadScoreFile(QFile::encodeName(WriteScoreFile(dir, name, places)), record).failed())
        qFatal("cannot read %s", qPrintable(name));
    return record;
}

// The texts of a column of a table or list, top to bottom.
inline QStringList ColumnTexts(const QAbstractItemView *view, int column = 0)
{
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        texts << view->model()->index(row, column).data().toString();
    return texts;
}

// While alive, ending the program throws its status and stop messages are kept as "title|text".
struct ExitCatcher {
    ExitCatcher()
    {
        SetProcessEndForTest([](int status) { throw status; });
        SetStopMessageForTest(
            [this](const QString &title, const QString &text) { messages << title + "|" + text; });
    }
    ~ExitCatcher() { SetProcessEndForTest({}), SetStopMessageForTest({}); }
    // The status the step ended the program with, or -1 when it returned.
    template <typename Step> int statusOf(Step step)
    {
        try {
            step();
        } catch (int status) {
            return status;
        }
        return -1;
    }
    QStringList messages;
};
