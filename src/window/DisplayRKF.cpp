#include "window/frmMain.h"

#include "score/LoadScoreFile.h"
#include "score/RankingText.h"
#include "search/CommandLine.h"
#include "search/ScoreFiles.h"
#include "search/ShownFileRefresh.h"
#include "support/AppGlobals.h"
#include "support/Failure.h"
#include "support/gui/ExitProgram.h"
#include "window/RankingTable.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTreeWidget>

void frmMain::DisplayRKF(const ScoreRecord &record)
{
    lstScore->clear();
    cdlgSave.InitDir = record.FolderPath;
    txtScore->setPlainText(MakeSummary(record));
    for (const RankRow &row : MakeRankRows(record, menuOptTop->isChecked()))
        AppendRankRow(lstScore, row);
    // Rows take their place in the order of the last header click.
    if (SortColumn != 0)
        lstScore->sortItems(m_sortKey, m_sortOrder);
    LastReadDir = record.FolderPath;

    // The proposed save name is the file name less its extension; a name too
    // short to have one is an invalid argument.
    if (record.FileName.size() < 4) {
        const Failure failure = MakeFailure(kErrInvalidArgument);
        ExitProgram(failure.Number, failure.Description, QStringLiteral("DisplayRKF"));
    }
    cdlgSave.FileName = record.FileName.left(record.FileName.size() - 4);
    Refresh->follow(ScoreFiles.indexOf(&record), record);
}

void frmMain::GetCmdLine(const QList<QByteArray> &arguments)
{
    const std::optional<QByteArray> file = FindCmdLineFile(arguments);
    if (!file || ScoreFiles.isEmpty())
        return;
    // Nothing loaded yet: the box still shows the start-up prompt.
    if (windowTitle() == AppTitle)
        txtScore->clear();
    ScoreRecord &target = ScoreFiles[0];
    const Failure failure = LoadScoreFile(*file, target);
    if (failure.failed())
        ExitProgram(failure.Number, failure.Description, QStringLiteral("ReadRKF"));
    DisplayRKF(target);
}
