#include "search/LibraryModel.h"

#include "export/OverviewFile.h"
#include "search/ScoreFiles.h"

#include <algorithm>
#include <numeric>

LibraryModel::LibraryModel(QObject *parent)
    : QAbstractTableModel(parent), m_writer(platform::Encoding::Utf8, false)
{
}

int LibraryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int LibraryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kOverviewColumnCount;
}

QVariant LibraryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::int32_t found = m_shown[std::size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (m_cellsOf != found) {
            const auto &cells = m_writer.tableCells(ScoreFiles[found]);
            for (int c = 0; c < kOverviewColumnCount; ++c)
                m_cells[std::size_t(c)] = QString::fromUtf8(cells[std::size_t(c)]);
            m_cellsOf = found;
        }
        return m_cells[std::size_t(column)];
    case Qt::TextAlignmentRole:
        return int(OverviewColumns()[std::size_t(column)].number ? Qt::AlignRight | Qt::AlignVCenter
                                                                 : Qt::AlignLeft | Qt::AlignVCenter);
    case LampRole:
        if (column == OvCleared)
            return ScoreFiles[found].Cleared == -1 ? 1 : 0;
        if (column == OvClass)
            return FirstPlaceClass(ScoreFiles[found]);
        return {};
    }
    return {};
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kOverviewColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(OverviewColumns()[std::size_t(section)].header);
    if (role == Qt::InitialSortOrderRole) {
        const bool text = section == OvPath || section == OvName || section == OvOption;
        return int(text ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
    return {};
}

void LibraryModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= kOverviewColumnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::int32_t> foundOf;
    foundOf.reserve(std::size_t(before.size()));
    for (const QModelIndex &index : before)
        foundOf.push_back(m_shown[std::size_t(index.row())]);

    SortLibraryRows(m_order, ScoreFiles, column, order);
    collectShown();

    if (!before.isEmpty()) {
        std::vector<std::int32_t> rowOf(m_passes.size(), -1);
        for (std::size_t row = 0; row < m_shown.size(); ++row)
            rowOf[std::size_t(m_shown[row])] = std::int32_t(row);
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            after << index(rowOf[std::size_t(foundOf[std::size_t(i)])], before[i].column());
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LibraryModel::fill(qsizetype count)
{
    beginResetModel();
    m_cellsOf = -1;
    m_order.resize(std::size_t(count));
    std::iota(m_order.begin(), m_order.end(), 0);
    m_passes.assign(std::size_t(count), true);
    if (m_sortColumn >= 0)
        SortLibraryRows(m_order, ScoreFiles, m_sortColumn, m_sortOrder);
    applyFilter(false);
    endResetModel();
}

void LibraryModel::clear()
{
    fill(0);
}

void LibraryModel::setFilter(const LibraryFilter &filter)
{
    const bool narrowing = filter.narrows(m_filter);
    m_filter = filter;
    beginResetModel();
    applyFilter(narrowing);
    endResetModel();
}

void LibraryModel::applyFilter(bool narrowing)
{
    // The records are looked at in found order, the order they lie in memory
    // (see SortLibraryRows); narrowing, only those shown so far.
    LibraryFilter pass = m_filter;
    m_totals = OverviewTotals();
    for (std::size_t found = 0; found < m_passes.size(); ++found) {
        if (narrowing && !m_passes[found])
            continue;
        const ScoreRecord &record = ScoreFiles[qsizetype(found)];
        const bool passes = pass.acceptsAll() || pass.accepts(record);
        m_passes[found] = passes;
        if (passes)
            m_totals.add(record);
    }
    collectShown();
}

void LibraryModel::collectShown()
{
    m_shown.clear();
    for (const std::int32_t found : m_order) {
        if (m_passes[std::size_t(found)])
            m_shown.push_back(found);
    }
}

void LibraryModel::countTotals()
{
    m_totals = OverviewTotals();
    for (std::size_t found = 0; found < m_passes.size(); ++found) {
        if (m_passes[found])
            m_totals.add(ScoreFiles[qsizetype(found)]);
    }
}

void LibraryModel::recordChanged(qsizetype found)
{
    if (found < 0 || found >= qsizetype(m_passes.size()))
        return;
    m_cellsOf = -1;
    if (!m_passes[std::size_t(found)])
        return;
    countTotals();
    const auto at = std::find(m_shown.begin(), m_shown.end(), std::int32_t(found));
    const int row = int(at - m_shown.begin());
    emit dataChanged(index(row, 0), index(row, kOverviewColumnCount - 1));
}

QString LibraryModel::countText() const
{
    return QStringLiteral("%1 / %2").arg(m_shown.size()).arg(m_order.size());
}

QString LibraryModel::totalsText() const
{
    return OverviewTotalsText(m_totals);
}

QString LibraryModel::copyText(const QList<int> &rows) const
{
    QString text;
    for (int c = 0; c < kOverviewColumnCount; ++c)
        text += (c != 0 ? QLatin1String("\t") : QLatin1String()) +
                QLatin1String(OverviewColumns()[std::size_t(c)].header);
    text += QLatin1String("\r\n");
    for (const int row : rows) {
        const auto &cells = m_writer.tableCells(ScoreFiles[m_shown[std::size_t(row)]]);
        for (int c = 0; c < kOverviewColumnCount; ++c) {
            if (c != 0)
                text += QLatin1Char('\t');
            text += QString::fromUtf8(cells[std::size_t(c)]);
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

Failure LibraryModel::saveBytes(SaveFormat format, QByteArray &out) const
{
    return OverviewFileBytes(
        format, qsizetype(m_shown.size()),
        [this](qsizetype i) -> const ScoreRecord & { return ScoreFiles[m_shown[std::size_t(i)]]; }, out);
}
