// Bytes as a score file: read from disk like a single-file load, then the
// table's cells, the summary, the text report, the saved text and the CSV
// (the table's own and the fast row writer's, in both encodings) are made and
// checked against each other.
#include "FuzzSupport.h"

#include "export/CsvRowWriter.h"
#include "export/CsvText.h"
#include "export/SaveText.h"
#include "platform/CodePage.h"
#include "score/LoadScoreFile.h"
#include "score/RankingText.h"
#include "score/ReadRKF.h"
#include "score/Report.h"

#include <QFile>
#include <cstdint>
#include <cstring>

namespace {

// The file's name is chosen by the byte after the 448 the reader reads, so
// plain, UTF-8, code page 932 and control-character names all come by.
QByteArray FileName(const std::uint8_t *data, std::size_t size)
{
    static const QByteArray names[] = {
        "chart.rkf",
        QStringLiteral("譜面.rkf").toUtf8(),
        platform::EncodeAnsi(u"譜面.rkf"),
        "line\nfeed.rkf",
        "tab\tand\rreturn.rkf",
        "\xff\xfe.rkf",
    };
    const std::size_t count = sizeof names / sizeof names[0];
    return names[size > std::size_t(kScoreFileSize) ? data[kScoreFileSize] % count : 0];
}

QByteArray WriteFile(const std::uint8_t *data, std::size_t size)
{
    const QByteArray path = QFile::encodeName(fuzz::ScratchFolder()) + '/' + FileName(data, size);
    FILE *file = std::fopen(path.constData(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        fuzz::Fail("cannot write the score file");
    return path;
}

// The CSV lines of the rows built field by field, each led by lead.
QByteArray JoinCsv(const QByteArray &lead, const QList<RankRow> &rows, bool cp932)
{
    const auto encode = [cp932](const QString &text) {
        return cp932 ? platform::EncodeAnsi(text) : text.toUtf8();
    };
    QByteArray bytes;
    for (const RankRow &row : rows) {
        QString line;
        for (int c = 0; c < kRankColumnCount; ++c)
            line += (c ? QStringLiteral(",") : QString()) + CsvField(row[c]);
        bytes += lead + encode(line + QStringLiteral("\r\n"));
    }
    if (rows.isEmpty())
        bytes = lead + "\r\n";
    return bytes;
}

void CheckTable(const ScoreRecord &record, bool topOnly)
{
    const QList<RankRow> rows = MakeRankRows(record, topOnly);
    fuzz::Check(rows.size() <= (topOnly ? 1 : ScoreRecord::kPlaces), "row count");
    for (qsizetype k = 0; k < rows.size(); ++k) {
        fuzz::CheckEqual(RankLabel(int(k + 1)), rows[k][ColRank], "rank label");
        fuzz::Check(record.Score[k] != 0 || record.JPts[k] != 0, "a row without score and J-PTS");
    }

    const QString summary = MakeSummary(record);
    const qsizetype lineEnd = summary.indexOf(QStringLiteral("\r\n"));
    fuzz::Check(lineEnd >= 0, "summary has two lines", summary);
    for (qsizetype i = 0; i < lineEnd; ++i)
        fuzz::Check(summary[i].unicode() >= 0x20 && summary[i].unicode() != 0x7F,
                    "no control character in the summary's path line", summary);

    Failure failure;
    const QString report = MakeReport(summary, rows, &failure);
    fuzz::Check(!failure.failed(), "the report of a read record", failure.Description);
    fuzz::Check(report.startsWith(summary + QStringLiteral("\r\n\r\n")), "report starts with the summary",
                summary, report);
    fuzz::Check(report.endsWith(QStringLiteral("\r\n") + QString(81, QLatin1Char('-'))),
                "report ends with its closing line", QString(), report);
    fuzz::CheckEqual(report + QStringLiteral("\r\n"), SaveText(SaveFormat::Text, summary, rows),
                     "saved text");

    const QString csv = MakeCsv(rows);
    fuzz::CheckEqual(JoinCsv(QByteArray(), rows, false), csv.toUtf8(), "CSV text");
    fuzz::CheckEqual(csv, SaveText(SaveFormat::Csv, summary, rows), "saved CSV");

    // The fast row writer gives the same bytes; it is kept from input to input
    // as a report over many files keeps it. The code page 932 rows have the
    // path in front.
    static CsvRowWriter writers[2][2] = {
        {{platform::Encoding::Utf8, false}, {platform::Encoding::Utf8, true}},
        {{platform::Encoding::Cp932, false}, {platform::Encoding::Cp932, true}}};
    for (const bool cp932 : {false, true}) {
        CsvRowWriter &writer = writers[cp932][topOnly];
        const QByteArray lead = cp932 ? writer.field(record.FilePath()) + ',' : QByteArray();
        QByteArray out = "before\r\n";
        writer.append(out, record, lead);
        fuzz::CheckEqual("before\r\n" + JoinCsv(lead, rows, cp932), out, "rows of the CSV writer");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray path = WriteFile(data, size);
    ScoreRecord record;
    const Failure failure = LoadScoreFile(path, record);
    if (failure.failed()) {
        fuzz::Check(failure.Number == kErrOverflow, "only an out-of-range score fails", failure.Description);
        return 0;
    }

    // The same bytes decoded in memory give the same record.
    char bytes[kScoreFileSize] = {};
    std::memcpy(bytes, data, std::min(size, sizeof bytes));
    ScoreRecord decoded;
    SetRecordPath(decoded, record.NativePath);
    fuzz::Check(!DecodeRKF(bytes, decoded).failed(), "decoding in memory");
    fuzz::CheckEqual(MakeSummary(record), MakeSummary(decoded), "summary of the decoded record");
    fuzz::CheckEqual(MakeCsv(MakeRankRows(record, false)), MakeCsv(MakeRankRows(decoded, false)),
                     "rows of the decoded record");

    CheckTable(record, false);
    CheckTable(record, true);
    return 0;
}
