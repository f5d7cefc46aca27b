#include "export/OverviewFile.h"

#include "export/AlignedTable.h"
#include "export/OverviewWriter.h"
#include "platform/CodePage.h"
#include "score/Overview.h"

Failure OverviewFileBytes(SaveFormat format, qsizetype count,
                          const std::function<const ScoreRecord &(qsizetype i)> &record, QByteArray &out)
{
    out.clear();
    OverviewWriter writer(platform::Encoding::Cp932, false);
    if (format == SaveFormat::Csv) {
        writer.appendCsvHeader(out);
        for (qsizetype i = 0; i < count; ++i)
            writer.appendCsv(out, record(i));
        return {};
    }
    AlignedTable table(OverviewWriter::RightAligned());
    OverviewTotals totals;
    writer.addHeader(table);
    for (qsizetype i = 0; i < count; ++i) {
        writer.addRow(table, record(i));
        totals.add(record(i));
    }
    const Failure failure = table.write(out, [] {});
    if (failure.failed()) {
        out.clear();
        return failure;
    }
    out += platform::EncodeAnsi(QLatin1String("\r\n") + OverviewTotalsText(totals));
    return {};
}
