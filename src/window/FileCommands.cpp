#include "window/frmMain.h"

#include "platform/FileNames.h"
#include "score/LoadScoreFile.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"
#include "search/StatusCaptions.h"
#include "support/AppGlobals.h"
#include "support/gui/ExitProgram.h"
#include "window/FileListView.h"

#include <QPlainTextEdit>

// The file command, loading and the found-file click. While a folder search runs,
// the load commands are refused: a load would overwrite records being filled.

void frmMain::menuOpenFile_Click()
{
    if (SearchRunning())
        return;
    const QString file = Dialogs.chooseScoreFile(this);
    if (file.isEmpty())
        return;
    LoadSingleFile(platform::NativeFileName(file));
}

bool frmMain::StartLoading()
{
    if (SearchRunning())
        return false;
    // Nothing loaded yet: the box still shows the start-up prompt.
    if (windowTitle() == AppTitle)
        txtScore->clear();
    setWindowTitle(LoadingCaption());
    return true;
}

void frmMain::LoadSingleFile(const QByteArray &path)
{
    if (!StartLoading())
        return;
    // The slot is emptied first, so nothing of the file before remains.
    ScoreRecord &slot = SingleFileSlot();
    const Failure failure = LoadScoreFile(path, slot);
    if (failure.failed())
        ExitProgram(failure.Number, failure.Description, QStringLiteral("ReadRKF"));
    DisplayRKF(slot);
    setWindowTitle(LoadCompleteCaption());
}

void frmMain::lstBMS_Click()
{
    // The record read when the folder was searched; the disk is not read.
    const int i = lstBMS->selectedRow();
    if (i < 0 || SearchRunning())
        return;
    // Only found files have rows; the single-file slot, the last element,
    // belongs to none.
    if (i < 0 || i >= ScoreFiles.size() - 1)
        return;
    DisplayRKF(ScoreFiles[i]);
}
