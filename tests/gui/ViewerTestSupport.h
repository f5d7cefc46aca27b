#pragma once

// Helpers for the window tests: start the viewer in a folder of its own,
// write score files, read the table, and catch the program's exit.

#include "support/RkfBytes.h"
#include "support/TestFiles.h"
#include "support/gui/ExitProgram.h"
#include "window/Main.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

// Starts the viewer as the program does, with dir as the program's folder
// (its settings file and error log go there), and waits until it is shown.
inline std::unique_ptr<frmMain> StartViewer(const QTemporaryDir &dir, const QList<QByteArray> &arguments = {})
{
    std::unique_ptr<frmMain> window = Main(dir.path(), arguments);
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the window was not exposed");
    return window;
}

// A score file of the given places: each place k gets the name, score and
// J-PTS given (the other fields 0). Returns its path.
struct Place {
    QByteArray name;
    float score;
    float jpts;
};
inline QString WriteScoreFile(const QTemporaryDir &dir, const QString &name, const QList<Place> &places,
                              int playCount = 3, bool cleared = true)
{
    RkfBytes bytes;
    bytes.playCount(playCount).trailer(cleared ? 1 : 0);
    for (int k = 0; k < places.size(); ++k)
        bytes.name(k, places[k].name).score(k, places[k].score).jpts(k, places[k].jpts);
    return WriteTestFile(dir.path(), name, bytes.bytes());
}

// The texts of one column, top to bottom.
inline QStringList ColumnTexts(const QTreeWidget *table, int column)
{
    QStringList texts;
    for (int i = 0; i < table->topLevelItemCount(); ++i)
        texts.append(table->topLevelItem(i)->text(column));
    return texts;
}

// Thrown in place of ending the process.
struct ProgramEnded {
    int status;
};

// While alive, the program's exit throws ProgramEnded instead of ending the
// process, and stop messages are recorded instead of shown.
class ExitCatcher {
  public:
    ExitCatcher()
    {
        SetProcessEndForTest([](int status) { throw ProgramEnded{status}; });
        SetStopMessageForTest(
            [this](const QString &title, const QString &text) { messages.append(title + "|" + text); });
    }
    ~ExitCatcher()
    {
        SetProcessEndForTest({});
        SetStopMessageForTest({});
    }
    ExitCatcher(const ExitCatcher &) = delete;
    ExitCatcher &operator=(const ExitCatcher &) = delete;

    // Runs the step and returns the exit status it ended the program with, or
    // -1 when it returned.
    template <typename Step> int statusOf(Step step)
    {
        try {
            step();
        } catch (const ProgramEnded &ended) {
            return ended.status;
        }
        return -1;
    }

    QStringList messages; // "title|text"
};
