#pragma once

#include "export/AlignedTable.h"
#include "export/CsvRowWriter.h"
#include "score/Overview.h"
#include "score/ScoreRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Writes the overview line of score records straight to bytes in the chosen
// encoding, as CSV lines or as rows of an aligned text table. The texts of the
// cells are those of the ranking table: the path as the summary's first line,
// "○"/"×" for the chart and the first place, the class and option texts.
// Without a shown place the cells of the first place are empty.
class OverviewWriter {
  public:
    using Encoding = CsvRowWriter::Encoding;

    OverviewWriter(Encoding encoding, bool topOnly);

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
    struct Cached {
        const QChar *data = nullptr;
        qsizetype size = -1;
        QString text;
        QByteArray csv;
        QByteArray table;
        int width = 0;
    };

    QByteArray encode(const QString &text) const;
    const Cached &name(const QString &text);
    const Cached &options(const ScoreRecord &record);
    // Fills m_views and m_widths (text) with the record's cells.
    void makeCells(const ScoreRecord &record, bool csv);

    Encoding m_encoding;
    bool m_topOnly;
    std::array<QByteArray, 2> m_mark;                 // "×", "○"
    std::array<QByteArray, kOverviewClasses> m_class; // class texts, the last one empty
    std::array<Cached, 64> m_names;
    std::array<Cached, 64> m_options;
    std::array<std::uint64_t, 64> m_optionKeys{};
    QByteArray m_scratch;
    QByteArray m_path;
    std::array<QByteArrayView, kOverviewColumnCount> m_views;
    std::array<int, kOverviewColumnCount> m_widths{};
};
