#include "search/ScoreFiles.h"

#include <algorithm>
#include <iterator>

ScoreRecordList ScoreFiles(1);

namespace {
ScoreRecordList::Storage g_setAside;
}

void ResetScoreFiles()
{
    ScoreFiles = ScoreRecordList(1);
}

void ResetScoreFilesLater()
{
    ScoreRecordList::Storage earlier = ScoreFiles.takeAll();
    if (g_setAside.empty())
        g_setAside.swap(earlier);
    else
        std::move(earlier.begin(), earlier.end(), std::back_inserter(g_setAside));
    ScoreFiles.resize(1);
}

bool DiscardSetAsideRecords(qsizetype count)
{
    if (count < 0 || std::size_t(count) >= g_setAside.size()) {
        ScoreRecordList::Storage().swap(g_setAside);
        return false;
    }
    for (qsizetype i = 0; i < count; ++i)
        g_setAside.pop_front();
    return true;
}

ScoreRecord &SingleFileSlot()
{
    return ScoreFiles.last();
}
