#include "search/ScoreFiles.h"

#include <algorithm>

ScoreRecordList ScoreFiles(1);

namespace {
ScoreRecordList g_setAside;
}

void ResetScoreFiles()
{
    ScoreFiles = ScoreRecordList(1);
}

void ResetScoreFilesLater()
{
    // Whatever an unfinished discard left goes now; the list before is set aside.
    g_setAside = std::move(ScoreFiles);
    ScoreFiles.resize(1);
}

bool DiscardSetAsideRecords(qsizetype count)
{
    // The order records are destroyed in does not matter; from the end, each
    // emptied block is freed at once.
    const qsizetype left = count < 0 ? 0 : std::max<qsizetype>(0, g_setAside.size() - count);
    g_setAside.resize(left);
    return left > 0;
}

ScoreRecord &SingleFileSlot()
{
    return ScoreFiles.last();
}
