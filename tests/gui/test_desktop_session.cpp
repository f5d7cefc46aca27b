// The viewer as a desktop session meets it, on display servers of its own: asked to stop by a signal
// or by the X session manager, started with standard error closed, and on Wayland (weston, headless),
// where always on top cannot work. The real viewer runs on Xvfb from a folder of its own (a hard
// link), so its settings file is the test's.

#include "Version.h"
#include "VirtualDisplay.h"
#include "gui/ViewerTestSupport.h"
#include "platform/TerminationSignals.h"
#include "platform/gui/WindowSystem.h"
#include "window/AppIdentity.h"

#include <QtWidgets>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

const QByteArray kStoredIni = "[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=True\r\nAlwaysOnTop=True\r\n"
                              "LastReadDir=\"/old/\"\r\n";

// Child: the window as the viewer starts it, window system chosen likewise. Prints the platform,
// whether always on top is enabled and ticked, and whether QT_QPA_PLATFORM is left set; then exits.
int RunWindowChild(int argc, char **argv)
{
    platform::ChooseWindowSystem({});
    new QApplication(argc, argv); // ended by the program's exit
    platform::ForgetWindowSystemChoice();
    const auto window = Main(QString::fromLocal8Bit(argv[2]), {});
    std::printf("%s %d %d %d\n", qPrintable(QGuiApplication::platformName()),
                window->menuOptZOrder->isEnabled(), window->menuOptZOrder->isChecked(),
                qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
    std::fflush(stdout);
    ExitProgram(0, QString(), QString());
}

// Child: signals caught, each stop printed but not obeyed; a repeat at once, then one later.
int RunSignalChild(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bool stopped = false;
    platform::CatchTerminationSignals([&](int signal) {
        std::printf("stop %d\n", signal);
        std::fflush(stdout);
        stopped = true;
    });
    std::raise(SIGTERM);
    std::raise(SIGHUP); // the same request
    QDeadlineTimer deadline(5000);
    while (!stopped && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    QThread::msleep(1200);
    std::raise(SIGHUP); // the program is still there: ends it
    return 0;
}

} // namespace

class TestDesktopSession : public QObject {
    Q_OBJECT
    VirtualDisplay m_x;
    QString m_display;

    QProcessEnvironment ChildEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "SESSION_MANAGER", "XDG_RUNTIME_DIR"})
            env.remove(name); // without a runtime folder the toolkit warns on standard error
        env.insert("DISPLAY", m_display);
        return env;
    }

    // A folder holding the viewer (a hard link to the built one), the stored settings and a score
    // file below scores/.
    static bool PrepareFolder(const QTemporaryDir &dir)
    {
        const QByteArray built = QFile::encodeName(QCoreApplication::applicationDirPath() + "/../rkfview");
        const QByteArray linked = QFile::encodeName(dir.path() + "/rkfview");
        if (::link(built.constData(), linked.constData()) != 0 && !QFile::copy(built, linked))
            return false;
        WriteTestFile(dir.path(), "rkfview.ini", kStoredIni);
        WriteScoreFile(dir, "scores/chart.rkf", {{"A", 1, 1}});
        return true;
    }

    // Waits until the viewer's window is on the X display.
    bool WindowShown() const
    {
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            QProcess xwininfo;
            xwininfo.start("xwininfo", {"-display", m_display, "-root", "-tree"});
            xwininfo.waitForFinished(5000);
            if (xwininfo.readAllStandardOutput().contains('"' + MakeAppTitle(kVersionRevision).toUtf8() +
                                                          '"'))
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    void StartViewer(QProcess &viewer, const QTemporaryDir &dir, const QProcessEnvironment &env)
    {
        viewer.setProcessEnvironment(env);
        viewer.start(dir.path() + "/rkfview", {dir.path() + "/scores/chart.rkf"});
        QVERIFY(viewer.waitForStarted());
        QVERIFY2(WindowShown(), viewer.readAllStandardError().constData());
    }

    // The settings as the exit command leaves them: the shown file's folder is the last read.
    static void CheckSaved(const QTemporaryDir &dir)
    {
        QCOMPARE(ReadTestFile(dir.path() + "/rkfview.ini"),
                 QByteArray(kStoredIni).replace("/old/", QFile::encodeName(dir.path() + "/scores/")));
        QVERIFY(!QFile::exists(dir.path() + "/error.txt"));
    }

  private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("xwininfo").isEmpty())
            QSKIP("needs Xvfb and xwininfo (scripts/setup.sh installs them)");
        QVERIFY2(m_x.start(), qPrintable(m_x.error()));
        m_display = m_x.display();
    }

    void stopRequest_data()
    {
        QTest::addColumn<QList<int>>("sent");
        QTest::addColumn<QList<int>>("closed"); // standard descriptors closed at the start
        QTest::newRow("SIGTERM") << QList<int>{SIGTERM} << QList<int>{};
        QTest::newRow("SIGHUP right behind SIGTERM, as systemd sends them")
            << QList<int>{SIGTERM, SIGHUP} << QList<int>{};
        QTest::newRow("SIGINT (Ctrl+C)") << QList<int>{SIGINT} << QList<int>{};
        QTest::newRow("standard error closed") << QList<int>{SIGTERM} << QList<int>{2};
    }

    // Saved as by the exit command, then ended by the signal (of two sent at once, the one delivered first).
    void stopRequest()
    {
        QFETCH(QList<int>, sent);
        QFETCH(QList<int>, closed);
        QTemporaryDir dir(QCoreApplication::applicationDirPath() + "/session-XXXXXX");
        QVERIFY(PrepareFolder(dir));
        QProcess viewer;
        viewer.setChildProcessModifier([closed] {
            for (int fd : closed)
                ::close(fd);
        });
        StartViewer(viewer, dir, ChildEnvironment());
        for (int signal : sent)
            ::kill(pid_t(viewer.processId()), signal);
        QVERIFY(viewer.waitForFinished(20000));
        QCOMPARE(viewer.exitStatus(), QProcess::CrashExit);
        QVERIFY2(sent.contains(viewer.exitCode()),
                 "ended by signal " + QByteArray::number(viewer.exitCode()));
        CheckSaved(dir);
    }

    // One request, however many signals carry it; a later one while the program still runs ends it.
    void repeatedSignal()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--signal-child"});
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.readAllStandardOutput(), QByteArray("stop 15\n"));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(child.exitCode(), SIGHUP);
    }

    // At logout the X session manager asks for the data to be saved, then tells the program to end.
    void sessionManager()
    {
#ifndef SESSION_MANAGER_PATH
        QSKIP("the session manager helper needs libSM's headers (libsm-dev; scripts/setup.sh installs it)");
#else
        QProcess manager;
        manager.start(SESSION_MANAGER_PATH);
        QVERIFY(manager.waitForReadyRead(10000));
        QProcessEnvironment env = ChildEnvironment();
        env.insert("SESSION_MANAGER", QString::fromLatin1(manager.readLine().trimmed()));
        QTemporaryDir dir(QCoreApplication::applicationDirPath() + "/session-XXXXXX");
        QVERIFY(PrepareFolder(dir));
        QProcess viewer;
        StartViewer(viewer, dir, env);
        QTRY_VERIFY_WITH_TIMEOUT(manager.canReadLine(), 20000);
        QCOMPARE(manager.readLine(), "registered\n");
        manager.write("save\n");
        QTRY_VERIFY_WITH_TIMEOUT(manager.canReadLine(), 20000);
        QCOMPARE(manager.readLine(), "saved\n");
        CheckSaved(dir);
        QCOMPARE(viewer.state(), QProcess::Running); // a save alone does not end it
        manager.write("die\n");
        QVERIFY(manager.waitForBytesWritten());
        QVERIFY(viewer.waitForFinished(20000));
        QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(viewer.exitCode(), 0);
        manager.kill();
        manager.waitForFinished();
#endif
    }

    void windowSystem_data()
    {
        QTest::addColumn<QStringList>("named"); // WAYLAND_DISPLAY always; "DISPLAY", "QT_QPA_PLATFORM=..."
        QTest::addColumn<QByteArray>("shown");  // platform, always on top enabled and ticked, variable left
        QTest::newRow("Wayland alone: native, always on top off and disabled")
            << QStringList{} << QByteArray("wayland 0 0 0");
        QTest::newRow("Wayland with an X display (Xwayland): X11, always on top kept")
            << QStringList{"DISPLAY"} << QByteArray("xcb 1 1 0");
        QTest::newRow("the user's QT_QPA_PLATFORM=wayland is obeyed")
            << QStringList{"DISPLAY", "QT_QPA_PLATFORM=wayland"} << QByteArray("wayland 0 0 1");
    }

    // The stored option survives a run where it cannot work.
    void windowSystem()
    {
        QFETCH(QStringList, named);
        QFETCH(QByteArray, shown);
        if (QStandardPaths::findExecutable("weston").isEmpty())
            QSKIP("needs weston, the Wayland compositor (scripts/setup.sh installs it)");
        QTemporaryDir runtime; // the compositor's socket folder
        QProcess weston;
        weston.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = ChildEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        weston.setProcessEnvironment(env);
        weston.start("weston", {"--backend=headless-backend.so", "--socket=rkfview-test", "--no-config",
                                "--idle-time=0", "--log=" + runtime.path() + "/weston.log"});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runtime.path() + "/rkfview-test"), 20000);
        env.insert("WAYLAND_DISPLAY", "rkfview-test");
        env.insert("XDG_SESSION_TYPE", "wayland"); // as on a Wayland desktop, where the toolkit picks Wayland
        if (!named.contains("DISPLAY"))
            env.remove("DISPLAY");
        for (const QString &pair : named)
            if (pair.contains('='))
                env.insert(pair.section('=', 0, 0), pair.section('=', 1));
        QTemporaryDir dir;
        WriteTestFile(dir.path(), "rkfview.ini", kStoredIni);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--window-child", dir.path()});
        QVERIFY(child.waitForFinished(30000));
        weston.terminate();
        weston.waitForFinished(5000);
        QCOMPARE(child.readAllStandardOutput().trimmed(), shown);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY(ReadTestFile(dir.path() + "/rkfview.ini").contains("\r\nAlwaysOnTop=True\r\n"));
    }
};

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--window-child") == 0)
        return RunWindowChild(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--signal-child") == 0)
        return RunSignalChild(argc, argv);
    QApplication app(argc, argv);
    TestDesktopSession test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_desktop_session.moc"
