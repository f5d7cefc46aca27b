// The two options of the Settings menu and the three ways the window ends the
// program. Ending the program is run in a child process, the test program
// itself started again with RKFVIEW_TEST_CHILD naming what it does.

#include "gui/ViewerTestSupport.h"
#include "score/LoadScoreFile.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>

namespace {

const QList<Place> kThree{{"A", 30, 1}, {"B", 20, 1}, {"C", 10, 1}};

ScoreRecord Load(const QTemporaryDir &dir, const QString &name)
{
    ScoreRecord record;
    if (LoadScoreFile(QFile::encodeName(WriteScoreFile(dir, name, kThree)), record).failed())
        qFatal("cannot read %s", qPrintable(name));
    return record;
}

// The child: starts the viewer in dir, ticks both options when asked, remembers
// a folder, then ends the program the way mode says. Returning means the
// program did not end: status 3.
int RunChild(const QString &mode, const QString &dir)
{
    const std::unique_ptr<frmMain> window = Main(dir, {});
    if (!mode.endsWith("-unticked")) {
        window->menuOptTop->trigger();
        window->menuOptZOrder->trigger();
    }
    window->LastReadDir = "/scores/bms/";
    if (mode.startsWith("close"))
        window->close();
    else if (mode.startsWith("menuEnd"))
        window->menuEnd->trigger();
    else if (mode.startsWith("quit")) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }
    return 3;
}

} // namespace

class TestWindowOptions : public QObject {
    Q_OBJECT

  private slots:
    void alwaysOnTopTwice();
    void showTopOnlyAtNextDisplay();
    void currentSettings();
    void programEnds_data();
    void programEnds();
    void endedViaExitProgramSeam();
};

void TestWindowOptions::alwaysOnTopTwice()
{
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->move(120, 80);
    const QRect place = window->geometry();

    for (const bool ticked : {true, false}) {
        window->menuOptZOrder->trigger();
        QCOMPARE(window->menuOptZOrder->isChecked(), ticked);
        QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), ticked);
        QVERIFY(window->isVisible());
        QCOMPARE(window->geometry(), place);
        QCOMPARE(window->lstScore->columnCount(), 15);
    }
}

void TestWindowOptions::showTopOnlyAtNextDisplay()
{
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    const ScoreRecord record = Load(dir, "chart.rkf");
    window->DisplayRKF(record);
    QCOMPARE(window->lstScore->topLevelItemCount(), 3);

    window->menuOptTop->trigger();
    QVERIFY(window->menuOptTop->isChecked());
    QCOMPARE(window->lstScore->topLevelItemCount(), 3); // nothing redrawn
    window->DisplayRKF(record);
    QCOMPARE(ColumnTexts(window->lstScore, 0), QStringList{" 1st"});

    window->menuOptTop->trigger();
    QVERIFY(!window->menuOptTop->isChecked());
    window->DisplayRKF(record);
    QCOMPARE(window->lstScore->topLevelItemCount(), 3);
}

void TestWindowOptions::currentSettings()
{
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->menuOptZOrder->trigger();
    window->DisplayRKF(Load(dir, "sub/chart.rkf"));
    const Settings settings = window->CurrentSettings();
    QCOMPARE(settings.TopOnly, false);
    QCOMPARE(settings.AlwaysOnTop, true);
    QCOMPARE(settings.LastReadDir, dir.path() + "/sub/");
}

void TestWindowOptions::programEnds_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("close box") << "close" << true;
    QTest::newRow("close box, options off") << "close-unticked" << false;
    QTest::newRow("exit command") << "menuEnd" << true;
    QTest::newRow("application quits") << "quit" << true;
}

void TestWindowOptions::programEnds()
{
    QFETCH(QString, mode);
    QFETCH(bool, ticked);

    QTemporaryDir dir;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RKFVIEW_TEST_CHILD", mode);
    env.insert("RKFVIEW_TEST_DIR", dir.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);

    // The settings were saved; a normal end logs nothing.
    const QByteArray ini = ReadTestFile(dir.path() + "/rkfview.ini");
    const QByteArray flag = ticked ? "True" : "False";
    QVERIFY2(ini.contains("\r\nTopOnly=" + flag + "\r\n"), ini.constData());
    QVERIFY2(ini.contains("\r\nAlwaysOnTop=" + flag + "\r\n"), ini.constData());
    QVERIFY2(ini.contains("\r\nLastReadDir=\"/scores/bms/\"\r\n"), ini.constData());
    QVERIFY(!QFile::exists(dir.path() + "/error.txt"));

    // The next start comes up as the last one ended.
    const auto window = StartViewer(dir);
    QCOMPARE(window->menuOptTop->isChecked(), ticked);
    QCOMPARE(window->menuOptZOrder->isChecked(), ticked);
    QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), ticked);
    QCOMPARE(window->cdlgSave.InitDir, QStringLiteral("/scores/bms/"));
}

void TestWindowOptions::endedViaExitProgramSeam()
{
    // The exit command in-process: status 0, no message, settings saved.
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->menuOptTop->trigger();
    ExitCatcher exit;
    QCOMPARE(exit.statusOf([&] { window->menuEnd_Click(); }), 0);
    QVERIFY(exit.messages.isEmpty());
    QVERIFY(ReadTestFile(dir.path() + "/rkfview.ini").contains("\r\nTopOnly=True\r\n"));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString mode = qEnvironmentVariable("RKFVIEW_TEST_CHILD");
    if (!mode.isEmpty())
        return RunChild(mode, qEnvironmentVariable("RKFVIEW_TEST_DIR"));
    TestWindowOptions test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_options.moc"
