#pragma once

#include "search/ScoreRecordList.h"

#include <QString>
#include <Qt>
#include <cstdint>
#include <vector>

// The order and the choice of the rows of the library list: each row is the
// index of a found file in ScoreFiles, and its cells are those of the
// overview (OverviewColumn).

// Sorts rows by the value of an overview column, keeping rows of equal value
// in the order they had (so one sort after another sorts within the first).
// Numbers sort as numbers; the chart's and the first place's marks cleared
// above not cleared; the class from SS down to E, then none; names and
// options as text, letter case aside; Path by found order, which lists a
// folder's files before its sub-folders', each by name. A file without a
// shown place sorts below every value in the first place's columns.
void SortLibraryRows(std::vector<std::int32_t> &rows, const ScoreRecordList &records, int column,
                     Qt::SortOrder order);

enum class ClearedFilter { All, Cleared, NotCleared };

// Which records the list shows: those whose path holds the text, letter case
// aside, and whose chart is cleared or not as chosen.
class LibraryFilter {
  public:
    LibraryFilter() = default;
    LibraryFilter(const QString &text, ClearedFilter cleared);

    bool acceptsAll() const { return m_text.isEmpty() && m_cleared == ClearedFilter::All; }

    // Whether every record this filter accepts is accepted by before too, so
    // that only the rows before shows need to be looked at.
    bool narrows(const LibraryFilter &before) const;

    // Looks at records one after another; the records of a folder share their
    // folder's text, so its answer is kept while they follow each other.
    bool accepts(const ScoreRecord &record);

  private:
    QString m_text;
    ClearedFilter m_cleared = ClearedFilter::All;
    // The folder looked at last (a shared copy, so its text stays where it
    // is), whether it holds the text, and its end, where the text may begin
    // and run on into the file name.
    QString m_folder;
    bool m_folderHolds = false;
    QString m_folderEnd;
    QString m_buffer;
};
