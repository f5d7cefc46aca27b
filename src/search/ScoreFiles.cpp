#include "search/ScoreFiles.h"

QList<ScoreRecord> ScoreFiles(1);

void ResetScoreFiles()
{
    ScoreFiles = QList<ScoreRecord>(1);
}

ScoreRecord &SingleFileSlot()
{
    return ScoreFiles.last();
}
