#include "window/RankingTable.h"

#include <QTreeWidget>

namespace {

Qt::Alignment ColumnAlignment(int column)
{
    return (RankColumns()[column].rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

} // namespace

void AddRankColumnsTo(QTreeWidget *table)
{
    const auto &columns = RankColumns();
    auto *header = new QTreeWidgetItem;
    for (int c = 0; c < kRankColumnCount; ++c) {
        header->setText(c, QString::fromUtf8(columns[c].header));
        header->setTextAlignment(c, ColumnAlignment(c));
    }
    table->setColumnCount(kRankColumnCount);
    table->setHeaderItem(header);
    for (int c = 0; c < kRankColumnCount; ++c)
        table->setColumnWidth(c, columns[c].width);
}

void AppendRankRow(QTreeWidget *table, const RankRow &row)
{
    auto *item = new QTreeWidgetItem;
    for (int c = 0; c < kRankColumnCount; ++c) {
        item->setText(c, row[c]);
        item->setTextAlignment(c, ColumnAlignment(c));
    }
    table->addTopLevelItem(item);
}

QList<RankRow> RankRowsOf(const QTreeWidget *table)
{
    QList<RankRow> rows;
    rows.reserve(table->topLevelItemCount());
    for (int i = 0; i < table->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = table->topLevelItem(i);
        RankRow row;
        for (int c = 0; c < kRankColumnCount; ++c)
            row[c] = item->text(c);
        rows.append(row);
    }
    return rows;
}
