// The CSV text of the ranking table, the saved file's format by its name, and the fast CSV writer of
// rkfreport, which must give the very bytes of the table's CSV text.

#include "export/CsvRowWriter.h"
#include "export/CsvText.h"
#include "export/SaveText.h"
#include "platform/CodePage.h"

#include <QRandomGenerator>
#include <QTest>
#include <bit>
#include <limits>

namespace {

QString Format(const QString &name)
{
    return FormatForName(name) == SaveFormat::Csv ? "CSV" : "text";
}

// Random places: names with commas, quotes, line ends and characters outside the code page, any int32
// score, any float bits as multipliers, codes in and out of range, now and then an empty place.
ScoreRecord Random(QRandomGenerator &rng)
{
    static const QStringList names{"kaz", "ＡＢＣＤ", "ｱｲｳｴｵｶｷｸ", "a,b", "\"q\"", "x\r\ny", "한국", ""};
    const auto n = [&](int bound) { return int(rng.bounded(bound)); };
    ScoreRecord r;
    for (int k = 0; k < ScoreRecord::kPlaces; ++k) {
        r.Name[k] = n(3) ? names[n(8)] : QString::number(rng.generate(), 36);
        r.Score[k] = n(8) ? int(rng.generate()) : 0;
        r.JPts[k] = n(8) ? n(100000) - 500 : 0;
        r.HS[k] = n(4) ? 0.25f * n(20) : std::bit_cast<float>(rng.generate());
        r.RHS[k] = n(4) ? 0.5f * n(8) : std::bit_cast<float>(rng.generate());
        r.ClassCode[k] = n(260);
        r.ClearMark[k] = std::int16_t(n(3) - 1);
        for (auto *count : {&r.MaxCombo, &r.Perfect, &r.Great, &r.Good, &r.Bad, &r.Poor})
            (*count)[k] = n(65536) - 32768;
        for (auto *option : {&r.Option1, &r.Option2, &r.Option3, &r.Option4, &r.Option5})
            (*option)[k] = std::int16_t(n(2) ? n(6) : n(256));
    }
    return r;
}

} // namespace

class TestCsvText : public QObject {
    Q_OBJECT

  private slots:
    void texts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const RankRow row{" 1st", "A,B", "987", "345", "400",
                          "100",  "10",  "1",   "0",   "512",
                          "2.5x", "3x",  " A",  "○",   "Hi Su -- Rn -- -- -- -- 4D"};
        // clang-format off
        QTest::newRow("comma in a name quoted, 15 fields, CR LF") << MakeCsv({row, row}) << QString(" 1st,\"A,B\",987,345,400,100,10,1,0,512,2.5x,3x, A,○,Hi Su -- Rn -- -- -- -- 4D\r\n").repeated(2);
        QTest::newRow("empty table") << MakeCsv({}) << "\r\n";
        QTest::newRow("quote doubled") << CsvField("say \"hi\"") << "\"say \"\"hi\"\"\"";
        QTest::newRow("CR LF quoted") << CsvField("A\r\nB") << "\"A\r\nB\"";
        QTest::newRow("spaces kept, not quoted") << CsvField(" A B ") << " A B ";
        QTest::newRow("/u/a.Csv") << Format("/u/a.Csv") << "CSV";
        QTest::newRow("a.csv.txt") << Format("a.csv.txt") << "text";
        // clang-format on
    }
    void texts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void writerGivesTheTableBytes()
    {
        constexpr float kInf = std::numeric_limits<float>::infinity();
        ScoreRecord edge; // what the random batch hardly ever draws
        edge.Score = {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 1, 1, 1, 1, 1};
        edge.HS = {-0.0f, 1e7f, 1e-5f, 0.0001f, std::numeric_limits<float>::quiet_NaN(), kInf, -kInf};
        QRandomGenerator rng(20240607);
        QList<ScoreRecord> records{ScoreRecord(), edge};
        for (int i = 0; i < 400; ++i)
            records << Random(rng);
        for (int mode = 0; mode < 4; ++mode) {
            const bool cp932 = mode & 1, topOnly = mode & 2;
            CsvRowWriter writer(cp932 ? platform::Encoding::Cp932 : platform::Encoding::Utf8, topOnly);
            QByteArray actual, expected;
            for (int i = 0; i < records.size(); ++i) {
                const QString lead = i % 2 ? "\"/a,b/c.rkf\"," : "";
                writer.append(actual, records[i], lead.toUtf8());
                const QList<RankRow> rows = MakeRankRows(records[i], topOnly);
                QString text = rows.isEmpty() ? lead + MakeCsv(rows) : QString();
                for (const RankRow &row : rows)
                    text += lead + MakeCsv({row});
                expected += cp932 ? platform::EncodeAnsi(text) : text.toUtf8();
            }
            QCOMPARE(actual, expected);
        }
    }
};

QTEST_APPLESS_MAIN(TestCsvText)
#include "test_csv_text.moc"
