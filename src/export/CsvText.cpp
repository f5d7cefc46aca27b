#include "export/CsvText.h"

QString CsvField(const QString &cell)
{
    const bool needsQuotes = cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"')) ||
                             cell.contains(QLatin1Char('\r')) || cell.contains(QLatin1Char('\n'));
    if (!needsQuotes)
        return cell;
    QString quoted = cell;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString MakeCsv(const QList<RankRow> &rows)
{
    QString text;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i != 0)
            text += QLatin1String("\r\n");
        const RankRow &row = rows[i];
        for (int c = 0; c < kRankColumnCount; ++c) {
            if (c != 0)
                text += QLatin1Char(',');
            text += CsvField(row[c]);
        }
    }
    return text + QLatin1String("\r\n");
}
