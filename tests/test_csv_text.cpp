// The CSV text of the ranking table and the choice of a saved file's format.

#include "export/CsvText.h"
#include "export/SaveText.h"
#include "score/Report.h"

#include <QTest>

namespace {

RankRow Row(const QString &rank, const QString &name)
{
    const QStringList cells{rank,   name, "987", "345", "400",
                            "100",  "10", "1",   "0",   "512",
                            "2.5x", "3x", " A",  "○",   "Hi Su -- Rn -- -- -- -- 4D"};
    RankRow row;
    for (int c = 0; c < kRankColumnCount; ++c)
        row[c] = cells[c];
    return row;
}

const QString kTail = QStringLiteral(",987,345,400,100,10,1,0,512,2.5x,3x, A,○,Hi Su -- Rn -- -- -- -- 4D");

} // namespace

class TestCsvText : public QObject {
    Q_OBJECT

  private slots:
    void lines()
    {
        const QString csv = MakeCsv({Row(" 1st", "ABC"), Row(" 2nd", "ゆきの")});
        QCOMPARE(csv, QStringLiteral(" 1st,ABC") + kTail + QStringLiteral("\r\n 2nd,ゆきの") + kTail +
                          QStringLiteral("\r\n"));
        for (const QString &line : csv.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            QCOMPARE(line.split(QLatin1Char(',')).size(), 15);
    }

    void emptyTable() { QCOMPARE(MakeCsv({}), QStringLiteral("\r\n")); }

    // Names holding a comma, a quote, CR or LF are quoted (RFC 4180) so the
    // line keeps its 15 fields; every other field is written as it stands.
    void quoting_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("field");
        // clang-format off
        QTest::newRow("plain") << "ABC" << "ABC";
        QTest::newRow("leading and trailing spaces") << " A B " << " A B ";
        QTest::newRow("comma") << "A,B" << "\"A,B\"";
        QTest::newRow("double quote") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
        QTest::newRow("carriage return") << "A\rB" << "\"A\rB\"";
        QTest::newRow("line feed") << "A\nB" << "\"A\nB\"";
        QTest::newRow("lone quote") << "\"" << "\"\"\"\"";
        QTest::newRow("empty") << "" << "";
        // clang-format on
    }
    void quoting()
    {
        QFETCH(QString, name);
        QFETCH(QString, field);
        QCOMPARE(CsvField(name), field);
        const QString csv = MakeCsv({Row(" 1st", name)});
        QCOMPARE(csv, QStringLiteral(" 1st,") + field + kTail + QStringLiteral("\r\n"));
    }

    void formatForName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("csv");
        // clang-format off
        QTest::newRow(".csv") << "/home/u/chart.csv" << true;
        QTest::newRow(".CSV") << "chart.CSV" << true;
        QTest::newRow(".Csv") << "chart.Csv" << true;
        QTest::newRow("only .csv") << ".csv" << true;
        QTest::newRow(".txt") << "chart.txt" << false;
        QTest::newRow("no extension") << "chart" << false;
        QTest::newRow(".csv.txt") << "chart.csv.txt" << false;
        QTest::newRow("csv without a dot") << "chartcsv" << false;
        QTest::newRow("three characters") << "csv" << false;
        QTest::newRow("empty") << "" << false;
        // clang-format on
    }
    void formatForName()
    {
        QFETCH(QString, name);
        QFETCH(bool, csv);
        QCOMPARE(FormatForName(name), csv ? SaveFormat::Csv : SaveFormat::Text);
    }

    void saveText()
    {
        const QString summary = QStringLiteral("/s.rkf\r\n[× NOT CLEARED] PlayCount:3回");
        const QList<RankRow> rows{Row(" 1st", "ABC")};
        Failure failure{99, {}};
        QCOMPARE(SaveText(SaveFormat::Text, summary, rows, &failure),
                 MakeReport(summary, rows) + QStringLiteral("\r\n"));
        QCOMPARE(failure.Number, 0);
        QCOMPARE(SaveText(SaveFormat::Csv, summary, rows, &failure), MakeCsv(rows));
        QCOMPARE(SaveText(SaveFormat::Text, summary, {}), summary + QStringLiteral("\r\n\r\n") +
                                                              QString(81, QLatin1Char('-')) +
                                                              QStringLiteral("\r\n"));

        // A report failure leaves nothing to write; CSV never parses cells.
        RankRow bad = Row(" 1st", "ABC");
        bad[ColScore] = QStringLiteral("abc");
        QCOMPARE(SaveText(SaveFormat::Text, summary, {bad}, &failure), QString());
        QCOMPARE(failure.Number, 13);
        QVERIFY(!SaveText(SaveFormat::Csv, summary, {bad}, &failure).isEmpty());
        QCOMPARE(failure.Number, 0);
    }
};

QTEST_APPLESS_MAIN(TestCsvText)
#include "test_csv_text.moc"
