#include "support/ErrorLog.h"
#include "support/TestFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestErrorLog : public QObject {
    Q_OBJECT

  private slots:
    void logLine_data();
    void logLine();
    void appendKeepsOlderLinesFirst();
    void appendWritesCodePage932();
    void appendFailureIgnored();
    void messageText();
    void isReportedFailure_data();
    void isReportedFailure();
};

void TestErrorLog::logLine_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<QString>("expected");

    const QDateTime may6(QDate(2003, 5, 6), QTime(7, 8, 9));
    const QDateTime newYearsEve(QDate(2024, 12, 31), QTime(23, 59, 58));

    QTest::newRow("file not found in ReadRKF") << may6 << 53 << "D"
                                               << "ReadRKF"
                                               << "2003/05/06 07:08:09 ErrorNo.53 D @ReadRKF\r\n";
    QTest::newRow("negative number keeps its minus sign") << may6 << -5 << "D"
                                                          << "Main"
                                                          << "2003/05/06 07:08:09 ErrorNo.-5 D @Main\r\n";
    QTest::newRow("largest and evening time") << newYearsEve << 2147483647 << "x y"
                                              << "DoFind"
                                              << "2024/12/31 23:59:58 ErrorNo.2147483647 x y @DoFind\r\n";
    QTest::newRow("Japanese description")
        << may6 << 53 << QString::fromUtf8("ファイルが見つかりません。") << "SubFind"
        << QString::fromUtf8("2003/05/06 07:08:09 ErrorNo.53 ファイルが見つかりません。 @SubFind\r\n");
    QTest::newRow("line breaks in the description stay on one line")
        << may6 << 75 << "a\r\nb\nc\rd"
        << "GetCmdLine"
        << "2003/05/06 07:08:09 ErrorNo.75 a b c d @GetCmdLine\r\n";
}

void TestErrorLog::logLine()
{
    QFETCH(QDateTime, when);
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, procedure);
    QFETCH(QString, expected);

    QCOMPARE(ErrorLogLine(when, number, description, procedure), expected);
}

void TestErrorLog::appendKeepsOlderLinesFirst()
{
    QTemporaryDir dir;
    const QString appPath = dir.path() + QLatin1Char('/');
    const QString logPath = appPath + QStringLiteral("error.txt");

    AppendErrorLog(appPath, QStringLiteral("first\r\n"));
    QCOMPARE(ReadTestFile(logPath), QByteArray("first\r\n"));
    AppendErrorLog(appPath, QStringLiteral("second\r\n"));
    QCOMPARE(ReadTestFile(logPath), QByteArray("first\r\nsecond\r\n"));
}

void TestErrorLog::appendWritesCodePage932()
{
    QTemporaryDir dir;
    const QString appPath = dir.path() + QLatin1Char('/');
    WriteTestFile(dir.path(), QStringLiteral("error.txt"), "old\r\n");

    AppendErrorLog(appPath, ErrorLogLine(QDateTime(QDate(2003, 5, 6), QTime(7, 8, 9)), 53,
                                         QString::fromUtf8("ファイル"), QStringLiteral("ReadRKF")));
    QCOMPARE(
        ReadTestFile(appPath + QStringLiteral("error.txt")),
        QByteArray("old\r\n2003/05/06 07:08:09 ErrorNo.53 \x83\x74\x83\x40\x83\x43\x83\x8B @ReadRKF\r\n"));
}

void TestErrorLog::appendFailureIgnored()
{
    QTemporaryDir dir;
    WriteTestFile(dir.path(), QStringLiteral("plain"), "x");
    const QString appPath = dir.filePath(QStringLiteral("plain/"));

    AppendErrorLog(appPath, QStringLiteral("line\r\n"));
    QCOMPARE(ReadTestFile(dir.filePath(QStringLiteral("plain"))), QByteArray("x"));
    QVERIFY(!QFileInfo::exists(appPath + QStringLiteral("error.txt")));
}

void TestErrorLog::messageText()
{
    const QString text = ExitMessageText(QStringLiteral("ReadRKF"));
    QCOMPARE(text, QString::fromUtf8("ReadRKFでエラーが発生したので強制終了しました。\r"
                                     "エラーの詳細はerror.txtを参照してください。"));
    QVERIFY(!text.contains(QLatin1Char('\n')));
}

void TestErrorLog::isReportedFailure_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<bool>("reported");

    QTest::newRow("normal exit") << 0 << ""
                                 << "" << false;
    QTest::newRow("number 0 with both texts") << 0 << "D"
                                              << "Main" << false;
    QTest::newRow("failure with empty description") << 53 << ""
                                                    << "ReadRKF" << false;
    QTest::newRow("failure with empty procedure") << 53 << "D"
                                                  << "" << false;
    QTest::newRow("real failure") << 53 << "D"
                                  << "ReadRKF" << true;
    QTest::newRow("negative number") << -5 << "D"
                                     << "Main" << true;
}

void TestErrorLog::isReportedFailure()
{
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, procedure);
    QFETCH(bool, reported);

    QCOMPARE(IsReportedFailure(number, description, procedure), reported);
}

QTEST_GUILESS_MAIN(TestErrorLog)
#include "test_error_log.moc"
