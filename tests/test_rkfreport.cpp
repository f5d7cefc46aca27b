// The rkfreport command, run as a user runs it.

#include "support/Failure.h"
#include "support/RkfBytes.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A cleared chart played 12 times: two places shown, then an empty place,
// then a place that must never be shown.
QByteArray Chart()
{
    RkfBytes b;
    b.playCount(12).trailer(1);
    b.clearMark(0, -1).name(0, "\x82\x60\x82\x61").score(0, 1845).jpts(0, 1290).hs(0, 2.5f).rhs(0, 3);
    b.maxCombo(0, 812).classCode(0, 0).judge(0, 700, 90, 12, 2, 1);
    b.option(0, 1, 3).option(0, 2, 1).option(0, 5, 1);
    b.name(1, "kaz").score(1, 987).jpts(1, 345).hs(1, 0.75f).rhs(1, 1.75f).maxCombo(1, 512).classCode(1, 2);
    b.judge(1, 400, 100, 10, 1, 0);
    b.name(3, "HIDDEN").score(3, 5).jpts(3, 5);
    return b.bytes();
}

const QString kFirstRow =
    QStringLiteral(" 1st :       ＡＢ :   1845 :   1290 :  2.5x : 3.0x :  812 : SS : ○\r\n"
                   "Perfect  700 Great   90 Good   12 Bad    2 Poor    1 : "
                   "Hi Su -- Rn -- -- -- -- 4D\r\n");
const QString kSecondRow =
    QStringLiteral(" 2nd :      kaz :    987 :    345 :  0.8x : 1.8x :  512 :  A : ×\r\n"
                   "Perfect  400 Great  100 Good   10 Bad    1 Poor    0 : "
                   "-- -- -- -- -- -- -- -- --\r\n");
const QString kCsv =
    QStringLiteral(" 1st,ＡＢ,1845,1290,700,90,12,2,1,812,2.5x,3x,SS,○,Hi Su -- Rn -- -- -- -- 4D\r\n"
                   " 2nd,kaz,987,345,400,100,10,1,0,512,0.75x,1.75x, A,×,-- -- -- -- -- -- -- -- --\r\n");

QString Report(const QString &path, const QString &rows)
{
    return path + QStringLiteral("\r\n[○ CLEARED] PlayCount:12回\r\n\r\n") + rows +
           QString(81, QLatin1Char('-')) + QStringLiteral("\r\n");
}

// The code page 932 bytes of the text, from a table of the few non-ASCII
// characters used here written out by hand, so that the expectation does not
// come from the converter under test.
QByteArray Cp932(const QString &text)
{
    static const QHash<QChar, QByteArray> pairs{{u'Ａ', "\x82\x60"},
                                                {u'Ｂ', "\x82\x61"},
                                                {u'○', "\x81\x9B"},
                                                {u'×', "\x81\x7E"},
                                                {u'回', "\x89\xF1"}};
    QByteArray bytes;
    for (QChar c : text)
        bytes += c.unicode() < 0x80 ? QByteArray(1, char(c.unicode())) : pairs.value(c, "<missing>");
    return bytes;
}

} // namespace

class TestRkfreport : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_dir; // canonical, as the program sees its current folder
    QString m_chart;

    Run Start(const QStringList &args)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir);
        process.start(QStringLiteral(RKFREPORT_PATH), args);
        Run run;
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.exitCode = process.exitCode();
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

  private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_dir = QDir(m_tmp.path()).canonicalPath();
        m_chart = WriteTestFile(m_dir, QStringLiteral("chart.rkf"), Chart());
    }

    void output_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("cp932");
        const QString both = Report(m_dir + QStringLiteral("/chart.rkf"), kFirstRow + kSecondRow);
        const QString top = Report(m_dir + QStringLiteral("/chart.rkf"), kFirstRow);
        const QString csvTop = kCsv.section(QStringLiteral("\r\n"), 0, 0) + QStringLiteral("\r\n");
        // clang-format off
        QTest::newRow("report, UTF-8") << QStringList{} << both << false;
        QTest::newRow("report, --encoding utf-8") << QStringList{"--encoding", "utf-8"} << both << false;
        QTest::newRow("report, cp932") << QStringList{"--encoding", "cp932"} << both << true;
        QTest::newRow("report, top only") << QStringList{"--top-only"} << top << false;
        QTest::newRow("CSV") << QStringList{"--csv"} << kCsv << false;
        QTest::newRow("CSV, cp932, top only") << QStringList{"--csv", "--top-only", "--encoding=cp932"} << csvTop << true;
        // clang-format on
    }
    void output()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, text);
        QFETCH(bool, cp932);
        const Run run = Start(options << m_chart);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, cp932 ? Cp932(text) : text.toUtf8());
    }

    // The first line of the summary is the absolute path of a relative name.
    void relativePath()
    {
        const Run run = Start({QStringLiteral("chart.rkf")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, Report(m_dir + QStringLiteral("/chart.rkf"), kFirstRow + kSecondRow).toUtf8());
    }

    // A file that cannot be read is named on standard error; the others are
    // still reported, in order.
    void missingFileAmongGoodOnes()
    {
        const Run run = Start({m_chart, QStringLiteral("missing.rkf"), m_chart});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, "rkfreport: missing.rkf: " + MakeFailure(53).Description.toUtf8() + '\n');
        const QByteArray one = Report(m_chart, kFirstRow + kSecondRow).toUtf8();
        QCOMPARE(run.out, one + one);
    }

    void endOfOptions()
    {
        const Run run = Start({QStringLiteral("--"), QStringLiteral("--csv")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.startsWith("rkfreport: --csv: "));
        QCOMPARE(run.out, QByteArray());
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        // clang-format off
        QTest::newRow("no file") << QStringList{};
        QTest::newRow("options but no file") << QStringList{"--csv", "--top-only"};
        QTest::newRow("unknown option") << QStringList{"--bogus", "chart.rkf"};
        QTest::newRow("unknown encoding") << QStringList{"--encoding", "latin1", "chart.rkf"};
        QTest::newRow("encoding without value") << QStringList{"chart.rkf", "--encoding"};
        // clang-format on
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        const Run run = Start(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("usage: rkfreport"), run.err.constData());
        QCOMPARE(run.out, QByteArray());
    }

    void help()
    {
        const Run run = Start({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("usage: rkfreport"));
        QCOMPARE(run.err, QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestRkfreport)
#include "test_rkfreport.moc"
