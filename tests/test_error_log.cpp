#include "support/ErrorLog.h"
#include "support/TestFiles.h"

#include <QtTest>

class TestErrorLog : public QObject {
    Q_OBJECT
    const QDateTime m_may6{QDate(2003, 5, 6), QTime(7, 8, 9)};

  private slots:
    void logLine()
    {
        QCOMPARE(ErrorLogLine(m_may6, -5, "D", "Main"), "2003/05/06 07:08:09 ErrorNo.-5 D @Main\r\n");
        QCOMPARE(ErrorLogLine(m_may6, 75, "a\r\nb\nc", "DoFind"), // each entry stays one line
                 "2003/05/06 07:08:09 ErrorNo.75 a b c @DoFind\r\n");
    }

    void appendInOrderInCodePage932()
    {
        QTemporaryDir dir;
        const QString appPath = dir.path() + u'/';
        AppendErrorLog(appPath, ErrorLogLine(m_may6, 53, QString::fromUtf8("ファイル"), "ReadRKF"));
        AppendErrorLog(appPath, "second\r\n");
        QCOMPARE(ReadTestFile(appPath + "error.txt"),
                 "2003/05/06 07:08:09 ErrorNo.53 \x83\x74\x83\x40\x83\x43\x83\x8B @ReadRKF\r\nsecond\r\n");
    }

    void messageText()
    {
        QCOMPARE(ExitMessageText("ReadRKF"),
                 QString::fromUtf8("ReadRKFでエラーが発生したので強制終了しました。\r"
                                   "エラーの詳細はerror.txtを参照してください。"));
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
