#pragma once

#include "export/OverviewWriter.h"
#include "export/SaveText.h"
#include "score/Overview.h"
#include "search/LibraryOrder.h"
#include "support/Failure.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <array>
#include <cstdint>
#include <vector>

// Every found file of the last search as a table, one row per file with the
// cells of the overview, sorted and filtered. The records stay in ScoreFiles;
// the model keeps only the found indices in the order shown and which of them
// the filter lets through, and makes a cell's text when it is asked for.
class LibraryModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // For the Cleared and Class cells: the chart's clear state (1 cleared,
    // 0 not) and the first place's class slot (0 SS ... 6 E, 7 none).
    static constexpr int LampRole = Qt::UserRole + 1;

    explicit LibraryModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // The column headers; a first sort descending for numbers and marks
    // (the best first), ascending for texts.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Sorts the rows by the column, stably; the selection follows its rows.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The found files 0 to count-1 of ScoreFiles, in the last sort and filter.
    void fill(qsizetype count);
    // No rows: the records are about to go.
    void clear();
    void setFilter(const LibraryFilter &filter);
    // The found file's record was read again: its cells and the totals follow.
    void recordChanged(qsizetype found);

    // The found file a row shows.
    qsizetype foundIndex(int row) const { return m_shown[std::size_t(row)]; }

    // "N / M": the files shown and the files found.
    QString countText() const;
    // The overview's totals block for the files shown.
    QString totalsText() const;
    // The rows (in the order given) as lines of tab-separated cells under
    // the header line, as the table shows them, every line ended by CR LF.
    QString copyText(const QList<int> &rows) const;
    // The rows shown, in their order, as a saved overview in code page 932:
    // CSV, or the aligned text table with the totals under it.
    Failure saveBytes(SaveFormat format, QByteArray &out) const;

  private:
    // Makes m_shown from m_order and the filter, and the totals.
    void applyFilter(bool narrowing);
    // m_shown: the rows of m_order the filter lets through.
    void collectShown();
    void countTotals();

    std::vector<std::int32_t> m_order; // every found file, in the order sorted
    std::vector<std::int32_t> m_shown; // the ones the filter lets through, in that order
    std::vector<bool> m_passes;        // by found index: let through
    LibraryFilter m_filter;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    OverviewTotals m_totals;

    // The cells of the row asked for last: a view paints a row's cells in turn.
    mutable OverviewWriter m_writer;
    mutable std::int32_t m_cellsOf = -1;
    mutable std::array<QString, kOverviewColumnCount> m_cells;
};
