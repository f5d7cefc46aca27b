// The aligned text report, built from the table's cell texts.

#include "score/Report.h"

#include <QLocale>
#include <QTest>
#include <limits>

namespace {

const QString kClosing(81, QLatin1Char('-'));

// A table row as the window shows it; cells not given are those of the
// worked example (ABC, 987, 345, 2.5x, 3x, 512, " A", "○", 400/100/10/1/0).
RankRow Row(const QString &name, const QString &score = QStringLiteral("987"),
            const QString &jpts = QStringLiteral("345"))
{
    RankRow row;
    const QStringList cells{" 1st", name, score, jpts, "400",
                            "100",  "10", "1",   "0",  "512",
                            "2.5x", "3x", " A",  "○",  "-- -- -- -- -- -- -- -- --"};
    for (int c = 0; c < kRankColumnCount; ++c)
        row[c] = cells[c];
    return row;
}

// The first line of each reported row: every other line after the empty
// line that follows the summary, up to the closing line.
QStringList FirstLines(const QString &report)
{
    const QStringList lines = report.split(QStringLiteral("\r\n"));
    QStringList first;
    for (qsizetype i = lines.indexOf(QString()) + 1; i + 1 < lines.size(); i += 2)
        first << lines[i];
    return first;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void padName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("padded");
        // clang-format off
        QTest::newRow("empty") << "" << "        ";
        QTest::newRow("three letters") << "ABC" << "     ABC";
        QTest::newRow("eight letters") << "ABCDEFGH" << "ABCDEFGH";
        QTest::newRow("nine letters never cut") << "ABCDEFGHI" << "ABCDEFGHI";
        QTest::newRow("four double-byte characters") << "ＡＢＣＤ" << "    ＡＢＣＤ";
        // clang-format on
    }
    void padName()
    {
        QFETCH(QString, name);
        QFETCH(QString, padded);
        QCOMPARE(PadName(name), padded);
    }

    // The width aligns the integer part of the floor, sign not counted.
    void formatNum_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("oneDecimal");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("987 width 6") << "C" << 987.0f << 6 << 0 << "   987";
        QTest::newRow("0 width 6") << "C" << 0.0f << 6 << 0 << "     0";
        QTest::newRow("-5 width 6 is seven wide") << "C" << -5.0f << 6 << 0 << "     -5";
        QTest::newRow("-9.5 floors to -10") << "C" << -9.5f << 6 << 0 << "    -9.5";
        QTest::newRow("never cut") << "C" << 1234567.0f << 4 << 0 << "1234567";
        QTest::newRow("ten million in exponent form") << "C" << 1e7f << 6 << 0 << " 1E+07";
        QTest::newRow("seven digits of 12345678") << "C" << 12345678.0f << 6 << 0 << "1.234568E+07";
        QTest::newRow("HS 10 fills width 2") << "C" << 10.0f << 2 << 1 << "10.0";
        QTest::newRow("RHS 12.5 over width 1") << "C" << 12.5f << 1 << 1 << "12.5";
        QTest::newRow("9.96 pads for the floor 9") << "C" << 9.96f << 2 << 1 << " 10.0";
        QTest::newRow("NaN unpadded") << "C" << std::numeric_limits<float>::quiet_NaN() << 6 << 0 << "NaN";
        QTest::newRow("-Inf unpadded") << "C" << -std::numeric_limits<float>::infinity() << 6 << 0 << "-Inf";
        QTest::newRow("German one decimal") << "de_DE" << 2.5f << 2 << 1 << " 2,5";
        QTest::newRow("German exponent") << "de_DE" << 12345678.0f << 6 << 0 << "1,234568E+07";
        // clang-format on
    }
    void formatNum()
    {
        QFETCH(QString, locale);
        QFETCH(float, value);
        QFETCH(int, width);
        QFETCH(int, oneDecimal);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(FormatNum(value, std::int16_t(width), std::int16_t(oneDecimal)), text);
    }

    void workedExample()
    {
        const QString summary = QStringLiteral("/scores/chart.rkf\r\n[○ CLEARED] PlayCount:12回");
        Failure failure{99, QStringLiteral("stale")};
        const QString report = MakeReport(summary, {Row(QStringLiteral("ABC"))}, &failure);
        QCOMPARE(failure.Number, 0);
        QCOMPARE(report,
                 summary +
                     QStringLiteral("\r\n\r\n"
                                    " 1st :      ABC :    987 :    345 :  2.5x : 3.0x :  512 :  A : ○\r\n"
                                    "Perfect  400 Great  100 Good   10 Bad    1 Poor    0 : "
                                    "-- -- -- -- -- -- -- -- --\r\n") +
                     kClosing);
    }

    void emptyTable()
    {
        QCOMPARE(MakeReport(QStringLiteral("start-up text"), {}),
                 QStringLiteral("start-up text\r\n\r\n") + kClosing);
    }

    // Labels follow the table order, not the place a row came from: ten rows
    // given last place first are labelled 1st to 10th.
    void labels()
    {
        const QStringList labels{" 1st : ", " 2nd : ", " 3rd : ", " 4th : ", " 5th : ",
                                 " 6th : ", " 7th : ", " 8th : ", " 9th : ", "10th : "};
        QList<RankRow> table;
        for (int place = 10; place >= 1; --place)
            table << Row(QStringLiteral("P%1").arg(place));
        const QString report = MakeReport(QStringLiteral("s"), table);
        QCOMPARE(report.count(QStringLiteral("\r\n")), 2 + 2 * 10);
        const QStringList first = FirstLines(report);
        QCOMPARE(first.size(), 10);
        for (int p = 0; p < 10; ++p)
            QCOMPARE(first[p].left(15), labels[p] + PadName(QStringLiteral("P%1").arg(10 - p)));
    }

    // A row whose Score and J-PTS cells both read 0 ends the report; the
    // cells after it are never read.
    void stopRow_data()
    {
        QTest::addColumn<QString>("score");
        QTest::addColumn<QString>("jpts");
        QTest::addColumn<int>("reported");
        // clang-format off
        QTest::newRow("0 and 0 stop") << "0" << "0" << 1;
        QTest::newRow("0 and 5 go on") << "0" << "5" << 3;
        QTest::newRow("5 and 0 go on") << "5" << "0" << 3;
        // clang-format on
    }
    void stopRow()
    {
        QFETCH(QString, score);
        QFETCH(QString, jpts);
        QFETCH(int, reported);
        RankRow garbage = Row(QStringLiteral("C"));
        garbage[ColPerfect] = QStringLiteral("n/a");
        const QList<RankRow> rows{Row(QStringLiteral("A")), Row(QStringLiteral("B"), score, jpts),
                                  reported == 1 ? garbage : Row(QStringLiteral("C"))};
        Failure failure;
        QCOMPARE(FirstLines(MakeReport(QStringLiteral("s"), rows, &failure)).size(), reported);
        QCOMPARE(failure.Number, 0);
    }

    // Numeric cells are read back as float32 with the locale and written in
    // the general format; a cell that is not a number fails the report (13).
    void cells_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("piece"); // empty: a type mismatch
        // clang-format off
        QTest::newRow("ten million") << "C" << int(ColScore) << "10000000" << " :  1E+07 : ";
        QTest::newRow("eight digits") << "C" << int(ColScore) << "12345678" << " : 1.234568E+07 : ";
        QTest::newRow("-0 as 0") << "C" << int(ColJPts) << "-0" << " :      0 : ";
        QTest::newRow("German HS") << "de_DE" << int(ColHS) << "2,25x" << " :  2,3x : ";
        QTest::newRow("NaN HS unpadded") << "C" << int(ColHS) << "NaNx" << " : NaNx : ";
        QTest::newRow("score letters") << "C" << int(ColScore) << "abc" << "";
        QTest::newRow("empty J-PTS") << "C" << int(ColJPts) << "" << "";
        QTest::newRow("HS with only its x") << "C" << int(ColHS) << "x" << "";
        QTest::newRow("Poor with a unit") << "C" << int(ColPoor) << "3 times" << "";
        QTest::newRow("German comma in a C table") << "C" << int(ColHS) << "2,5x" << "";
        // clang-format on
    }
    void cells()
    {
        QFETCH(QString, locale);
        QFETCH(int, column);
        QFETCH(QString, cell);
        QFETCH(QString, piece);
        QLocale::setDefault(QLocale(locale));
        RankRow row = Row(QStringLiteral("B"));
        row[column] = cell;
        Failure failure;
        const QString report = MakeReport(QStringLiteral("s"), {row}, &failure);
        QCOMPARE(failure.Number, piece.isEmpty() ? 13 : 0);
        QCOMPARE(report.isEmpty(), piece.isEmpty());
        QVERIFY2(report.contains(piece), qPrintable(report));
    }
};

QTEST_APPLESS_MAIN(TestReport)
#include "test_report.moc"
