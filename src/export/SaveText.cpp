#include "export/SaveText.h"

#include "export/CsvText.h"
#include "score/Report.h"

SaveFormat FormatForName(const QString &fileName)
{
    return fileName.right(4).toUpper() == QLatin1String(".CSV") ? SaveFormat::Csv : SaveFormat::Text;
}

QString SaveText(SaveFormat format, const QString &summary, const QList<RankRow> &rows, Failure *failure)
{
    if (format == SaveFormat::Csv) {
        if (failure)
            *failure = {};
        return MakeCsv(rows);
    }
    Failure reportFailure;
    const QString report = MakeReport(summary, rows, &reportFailure);
    if (failure)
        *failure = reportFailure;
    return reportFailure.failed() ? QString() : report + QLatin1String("\r\n");
}
