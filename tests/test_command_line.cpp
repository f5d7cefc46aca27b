// Which command-line argument the viewer loads.

#include "search/CommandLine.h"

#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT

  private slots:
    void chooseArgument_data();
    void chooseArgument();
    void rawBytesKept_data();
    void rawBytesKept();
};

void TestCommandLine::chooseArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("chosen");

    QTest::newRow("no arguments") << QStringList() << -1;
    QTest::newRow("empty argument") << QStringList{QString()} << -1;
    QTest::newRow("absolute score file") << QStringList{"/home/a/chart.rkf"} << 0;
    QTest::newRow("upper-case extension") << QStringList{"/home/a/CHART.RKF"} << 0;
    QTest::newRow("mixed-case extension") << QStringList{"/home/a/chart.Rkf"} << 0;
    QTest::newRow("no dot before rkf") << QStringList{"/home/a/chartxrkf"} << 0;
    QTest::newRow("spaces inside the path") << QStringList{"/home/a b/my chart.rkf"} << 0;
    QTest::newRow("relative path skipped") << QStringList{"chart.rkf", "/x/y.rkf"} << 1;
    QTest::newRow("dot-relative path skipped") << QStringList{"./chart.rkf"} << -1;
    QTest::newRow("home-relative path skipped") << QStringList{"~/chart.rkf"} << -1;
    QTest::newRow("windows drive path skipped") << QStringList{"C:\\bms\\chart.rkf"} << -1;
    QTest::newRow("other extension skipped") << QStringList{"/x/chart.bms", "/x/chart.rkf"} << 1;
    QTest::newRow("extension followed by blank") << QStringList{"/x/chart.rkf "} << -1;
    QTest::newRow("folder without the letters") << QStringList{"/x/scores/"} << -1;
    QTest::newRow("folder ending in the letters") << QStringList{"/x/scores.rkf"} << 0;
    QTest::newRow("first of two qualifying") << QStringList{"/x/first.rkf", "/x/second.rkf"} << 0;
    QTest::newRow("shorter than three characters") << QStringList{"/f"} << -1;
    QTest::newRow("root only") << QStringList{"/"} << -1;
    QTest::newRow("full-width letters") << QStringList{QStringLiteral("/x/chart.ｒｋｆ")} << -1;
}

void TestCommandLine::chooseArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, chosen);
    QCOMPARE(ChooseCmdLineArgument(arguments), qsizetype(chosen));
}

void TestCommandLine::rawBytesKept_data()
{
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<QByteArray>("expected"); // empty: nothing chosen

    QTest::newRow("utf-8 name") << QList<QByteArray>{"rel.rkf", "/x/\xe8\xad\x9c\xe9\x9d\xa2.rkf"}
                                << QByteArray("/x/\xe8\xad\x9c\xe9\x9d\xa2.rkf");
    // Shift_JIS bytes, not valid UTF-8: the bytes themselves come back.
    QTest::newRow("shift_jis name") << QList<QByteArray>{"/x/\x95\x88\x96\xca.rkf"}
                                    << QByteArray("/x/\x95\x88\x96\xca.rkf");
    QTest::newRow("invalid utf-8 relative") << QList<QByteArray>{"\xff.rkf"} << QByteArray();
    QTest::newRow("none qualifies") << QList<QByteArray>{"-v", "/x/readme.txt"} << QByteArray();
}

void TestCommandLine::rawBytesKept()
{
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(QByteArray, expected);
    const std::optional<QByteArray> chosen = FindCmdLineFile(arguments);
    QCOMPARE(chosen.has_value(), !expected.isEmpty());
    if (chosen)
        QCOMPARE(*chosen, expected);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
