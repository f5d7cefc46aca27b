#pragma once

#include "export/AlignedTable.h"
#include "platform/CodePage.h"
#include "score/Overview.h"
#include "score/ScoreRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <vector>

// Writes the overview line of score records straight to bytes in the chosen
// encoding, as CSV lines or as rows of an aligned text table. The texts of the
// cells are those of the ranking table: the path as the summary's first line,
// "○"/"×" for the chart and the first place, the class and option texts.
// Without a shown place the cells of the first place are empty.
class OverviewWriter {
  public:
    OverviewWriter(platform::Encoding encoding, bool topOnly);

    // Which columns of the text table are right-aligned.
    static std::vector<bool> RightAligned();

    // The header line and the record's line as CSV, each ended by CR LF.
    void appendCsvHeader(QByteArray &out) const;
    void appendCsv(QByteArray &out, const ScoreRecord &record);

    // The header with a rule under it, and the record's row, for the text
    // table. Control characters (in a name or a path) show as U+FFFD, so
    // every row stays one line.
    void addHeader(AlignedTable &table) const;
    void addRow(AlignedTable &table, const ScoreRecord &record);

    // The record's cells as addRow puts them into the table; valid until
    // the next call on this writer.
    const std::array<QByteArrayView, kOverviewColumnCount> &tableCells(const ScoreRecord &record);

    // The text of a cell in the table's encoding, control characters
    // replaced, and its display width: in code page 932 its byte count (a
    // double-byte character is double-width there), else by Utf8Width.
    QByteArray tableText(const QString &text, int *width) const;

  private:
    QByteArray encode(const QString &text) const;
    // Fills m_views and m_widths (text) with the record's cells.
    void makeCells(const ScoreRecord &record, bool csv);

    platform::Encoding m_encoding;
    bool m_topOnly;
    std::array<QByteArray, 2> m_mark;                 // "×", "○"
    std::array<QByteArray, kOverviewClasses> m_class; // class texts, the last one empty
    QByteArray m_scratch;
    QByteArray m_path;
    QByteArray m_name;
    QByteArray m_option;
    std::array<QByteArrayView, kOverviewColumnCount> m_views;
    std::array<int, kOverviewColumnCount> m_widths{};
};
