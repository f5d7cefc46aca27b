// Table cells of any text, as a sorted table hands them over: the text report
// either fails with a type mismatch and no text or is complete, and the CSV
// text reads back, field by field, as the cells it was made from.
#include "FuzzSupport.h"

#include "export/CsvText.h"
#include "platform/NumberText.h"
#include "score/RankingText.h"
#include "score/Report.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

namespace {

QString Text(FuzzedDataProvider &input, std::size_t maxBytes)
{
    return QString::fromUtf8(input.ConsumeRandomLengthString(maxBytes));
}

// A cell: mostly what a table holds (numbers, multipliers), sometimes any text.
QString Cell(FuzzedDataProvider &input, int column)
{
    const QString x = column == ColHS || column == ColRHS ? QStringLiteral("x") : QString();
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return Text(input, 24);
    case 1:
        return QString::number(input.ConsumeIntegral<std::int32_t>());
    case 2:
        return platform::GeneralNumber(input.ConsumeFloatingPoint<float>()) + x;
    default:
        return platform::GeneralNumber(float(input.ConsumeIntegralInRange(-1000, 1000)) / 8) + x;
    }
}

// Reads CSV text back into fields: quoted fields with doubled quotes, lines
// ended by CR LF.
QList<QStringList> ParseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList fields;
    QString field;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == QLatin1Char('"')) {
            ++i;
            for (;;) {
                fuzz::Check(i < text.size(), "closing quote", QString(), text);
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
        }
        if (text.sliced(i).startsWith(QStringLiteral("\r\n"))) {
            fields.append(field);
            rows.append(fields);
            fields.clear();
            field.clear();
            i += 2;
        } else if (text[i] == QLatin1Char(',')) {
            fields.append(field);
            field.clear();
            ++i;
        } else {
            fuzz::Check(text[i] != QLatin1Char('"') && text[i] != QLatin1Char('\r') &&
                            text[i] != QLatin1Char('\n'),
                        "quote or line break outside a quoted field", QString(), text);
            field += text[i++];
        }
    }
    fuzz::Check(fields.isEmpty() && field.isEmpty(), "CSV text ends with a line end", QString(), text);
    return rows;
}

// The rows before the first one whose score and J-PTS are both 0.
qsizetype PrintedRows(const QList<RankRow> &rows)
{
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (platform::ParseNumber(rows[r][ColScore]) == 0.0f &&
            platform::ParseNumber(rows[r][ColJPts]) == 0.0f)
            return r;
    }
    return rows.size();
}

// Whether the report can be made: every numeric cell parses, up to the first
// row whose score and J-PTS are both 0 (checked before its other cells).
bool ReportParses(const QList<RankRow> &rows)
{
    static const int order[] = {ColScore,   ColJPts,  ColHS,   ColRHS, ColMaxCombo,
                                ColPerfect, ColGreat, ColGood, ColBad, ColPoor};
    for (const RankRow &row : rows) {
        float score = 0;
        for (int i = 0; i < 10; ++i) {
            QStringView cell = row[order[i]];
            if (order[i] == ColHS || order[i] == ColRHS)
                cell.chop(1);
            const auto value = platform::ParseNumber(cell);
            if (!value)
                return false;
            if (i == 0)
                score = *value;
            if (i == 1 && score == 0 && *value == 0)
                return true;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString summary = Text(input, 64);
    QList<RankRow> rows(input.ConsumeIntegralInRange(0, 10));
    for (RankRow &row : rows) {
        for (int c = 0; c < kRankColumnCount; ++c)
            row[c] = Cell(input, c);
    }

    const QString csv = MakeCsv(rows);
    const QList<QStringList> parsed = ParseCsv(csv);
    if (rows.isEmpty()) {
        fuzz::CheckEqual(QStringLiteral("\r\n"), csv, "CSV of an empty table");
    } else {
        fuzz::Check(parsed.size() == rows.size(), "one CSV line per row", QString(), csv);
        for (qsizetype r = 0; r < rows.size(); ++r) {
            fuzz::Check(parsed[r].size() == kRankColumnCount, "fifteen fields per line", QString(), csv);
            for (int c = 0; c < kRankColumnCount; ++c)
                fuzz::CheckEqual(rows[r][c], parsed[r][c], "a CSV field reads back as its cell");
        }
    }

    Failure failure;
    const QString report = MakeReport(summary, rows, &failure);
    if (!ReportParses(rows)) {
        fuzz::Check(failure.Number == kErrTypeMismatch, "type mismatch for a cell that is not a number");
        fuzz::Check(report.isEmpty(), "no report text after a failure", QString(), report);
        return 0;
    }
    fuzz::Check(!failure.failed(), "report of numeric cells", failure.Description);
    fuzz::Check(report.startsWith(summary + QStringLiteral("\r\n\r\n")), "report starts with the summary",
                summary, report);
    fuzz::Check(report.endsWith(QStringLiteral("\r\n") + QString(81, QLatin1Char('-'))),
                "report ends with its closing line", QString(), report);
    const QString head = summary + QStringLiteral("\r\n\r\n");
    if (PrintedRows(rows) == 0) {
        fuzz::CheckEqual(head + QString(81, QLatin1Char('-')), report, "report without rows");
    } else {
        const QString first =
            head + RankLabel(1) + QStringLiteral(" : ") + PadName(rows[0][ColName]) + QStringLiteral(" : ");
        fuzz::Check(report.startsWith(first), "first row of the report", first, report);
    }
    return 0;
}
