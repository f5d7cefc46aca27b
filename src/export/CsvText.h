#pragma once

#include "score/RankingText.h"

#include <QList>
#include <QString>

// The ranking table as comma-separated values: one line of 15 fields per row
// in table order, each line ended by CR LF; an empty table gives a single
// CR LF. A field holding a comma, a double quote, CR or LF is enclosed in
// double quotes with inner quotes doubled; every other field is written as
// the table shows it, leading spaces included.
QString MakeCsv(const QList<RankRow> &rows);

// One field as written to the CSV text.
QString CsvField(const QString &cell);
