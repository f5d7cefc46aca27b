#include "support/ErrorLog.h"
#include "support/TestFiles.h"

#include <QtTest>

class TestErrorLog : public QObject {
    Q_OBJECT
    const QDateTime m_may6{QDate(2003, 5, 6), QTime(7, 8, 9)};

  private slots:
    void logLine_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("line");
        // clang-format off
        QTest::newRow("two-digit month and day, hour without zero") << m_may6 << -5 << "D" << "2003/05/06 7:08:09 ErrorNo.-5 D @Main\r\n";
        QTest::newRow("midnight: hour 0") << QDateTime(QDate(2024, 12, 31), QTime(0, 0, 5)) << 1 << "D" << "2024/12/31 0:00:05 ErrorNo.1 D @Main\r\n";
        QTest::newRow("line breaks in the description: each entry stays one line") << m_may6 << 75 << "a\r\nb\nc" << "2003/05/06 7:08:09 ErrorNo.75 a b c @Main\r\n";
        // clang-format on
    }

    void logLine()
    {
        QFETCH(QDateTime, when);
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, line);
        QCOMPARE(ErrorLogLine(when, number, description, "Main"), line);
    }

    void appendInOrderInCodePage932()
    {
        QTemporaryDir dir;
        const QString appPath = dir.path() + u'/';
        AppendErrorLog(appPath, ErrorLogLine(m_may6, 53, QString::fromUtf8("ファイル"), "ReadRKF"));
        AppendErrorLog(appPath, "second\r\n");
        QCOMPARE(ReadTestFile(appPath + "error.txt"),
                 "2003/05/06 7:08:09 ErrorNo.53 \x83\x74\x83\x40\x83\x43\x83\x8B @ReadRKF\r\nsecond\r\n");
    }

    void appendCreatesAMissingStateFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/.local/state/rkfview/";
        AppendErrorLog(folder, "line\r\n");
        QCOMPARE(ReadTestFile(folder + "error.txt"), "line\r\n");
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    }

    void messageText_data()
    {
        QTest::addColumn<QString>("logShownAs");
        QTest::addColumn<QString>("text");
        const QString text = QString::fromUtf8(
            "ReadRKFでエラーが発生したので強制終了しました。\rエラーの詳細は%1を参照してください。");
        const QString full = "/home/user/.local/state/rkfview/error.txt";
        QTest::newRow("log beside the program: its bare name") << "error.txt" << text.arg("error.txt");
        QTest::newRow("log in the user's state folder: its full path") << full << text.arg(full);
    }

    void messageText()
    {
        QFETCH(QString, logShownAs);
        QFETCH(QString, text);
        QCOMPARE(ExitMessageText("ReadRKF", logShownAs), text);
        if (logShownAs == "error.txt")
            QCOMPARE(ExitMessageText("ReadRKF"), text);
    }

    void reportedOnlyWithNumberAndBothTexts()
    {
        QVERIFY(IsReportedFailure(-5, "D", "Main"));
        QVERIFY(!IsReportedFailure(0, "D", "Main") && !IsReportedFailure(53, "", "ReadRKF") &&
                !IsReportedFailure(53, "D", ""));
    }
};

QTEST_GUILESS_MAIN(TestErrorLog)
#include "test_error_log.moc"
