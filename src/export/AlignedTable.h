#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QTemporaryFile>
#include <functional>
#include <memory>
#include <vector>

// A plain-text table whose columns are as wide as their widest cell, built
// row by row from cells already in their output encoding. The width of every
// column is known only after the last row, so the rows are kept until then:
// in memory up to a limit, beyond it in a temporary file, so that a table of
// any length holds only a bounded amount of memory.
class AlignedTable {
  public:
    // One entry per column: true for a right-aligned column (numbers).
    explicit AlignedTable(std::vector<bool> rightAligned, qsizetype memoryLimit = qsizetype(1) << 22);
    ~AlignedTable();
    AlignedTable(const AlignedTable &) = delete;
    AlignedTable &operator=(const AlignedTable &) = delete;

    // A row: one cell per column and the display width of each.
    void addRow(const QByteArrayView *cells, const int *widths);
    // A line of hyphens as wide as each column.
    void addRule();

    // Appends the rows to out in order: the columns apart by two spaces, a
    // cell padded with spaces on the left when its column is right-aligned,
    // on the right otherwise (not the last column: no trailing spaces), every
    // line ended by CR LF. drain is called after each line, so the caller can
    // pass the text on. A failure to keep the rows in the temporary file
    // stops the table with that failure.
    Failure write(QByteArray &out, const std::function<void()> &drain);

    int columnWidth(int column) const { return m_widths[std::size_t(column)]; }
    bool spilled() const { return bool(m_file); }

  private:
    void spill();
    qsizetype writeRows(const char *data, qsizetype size, QByteArray &out,
                        const std::function<void()> &drain);

    std::vector<bool> m_right;
    std::vector<int> m_widths;
    qsizetype m_limit;
    QByteArray m_rows; // rows not yet in the file
    std::unique_ptr<QTemporaryFile> m_file;
    Failure m_failure;
};
