#pragma once

#include "score/RankingText.h"

#include <QList>

class QTreeWidget;

// lstScore's cells, copied in from and read back as the core's row texts.

// Adds the fifteen columns: header texts, widths and alignments.
void AddRankColumnsTo(QTreeWidget *table);

// Appends one row, each cell aligned like its column.
void AppendRankRow(QTreeWidget *table, const RankRow &row);

// The cell texts of every row, in the table's current order.
QList<RankRow> RankRowsOf(const QTreeWidget *table);
