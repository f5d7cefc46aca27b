// The viewer as a desktop session meets it, on display servers of its own: asked to stop by a signal,
// started with standard error closed, on Wayland (weston, headless)
// where always on top cannot work, handing its clipboard to a clipboard manager as it ends, and under
// a window manager (openbox) that maximizes it. The real viewer runs on Xvfb from a folder of its own
// (a hard link), so its settings file is the test's; the other children are this program run again.

#include "Version.h"
#include "VirtualDisplay.h"
#include "gui/ViewerTestSupport.h"
#include "platform/gui/WindowSystem.h"
#include "window/AppIdentity.h"

#include <QtWidgets>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
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

// Child: the viewer, a file shown and copied (the copy printed), then ended by the close box or a
// forced exit.
int RunClipboardChild(int argc, char **argv)
{
    auto *app = new QApplication(argc, argv);       // ended by the program's exit
    const QStringList arguments = app->arguments(); // --clipboard-child WAY FOLDER FILE
    const QString way = arguments[2];
    const auto window = Main(arguments[3], {QFile::encodeName(arguments[4])});
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 98;
    window->cmdCopy->click();
    std::printf("%s", QGuiApplication::clipboard()->text().toUtf8().constData());
    std::fflush(stdout);
    if (way == "close box")
        window->close();
    else {
        QTimer ok; // presses OK on the stop message
        QObject::connect(&ok, &QTimer::timeout, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->button(QMessageBox::Ok)->click();
        });
        ok.start(50);
        ExitProgram(53, "D", "ReadRKF");
    }
    return 99; // the program did not end
}

// Waits until the window's geometry has stayed the same for a while (the window manager answered).
void Settle(const QWidget &window)
{
    QRect last = window.geometry();
    QElapsedTimer still;
    still.start();
    for (const QDeadlineTimer total(5000); still.elapsed() < 300 && !total.hasExpired();) {
        QTest::qWait(20);
        if (window.geometry() != last) {
            last = window.geometry();
            still.restart();
        }
    }
}

// Child: the viewer placed, maximized, always on top ticked CLICKS times, then restored. Prints
// whether it is ticked, stayed maximized in the same frame through the clicks, and came back to its
// normal place (within a few pixels of frame rounding).
int RunMaximizedChild(int argc, char **argv)
{
    auto *app = new QApplication(argc, argv);       // ended by the program's exit
    const QStringList arguments = app->arguments(); // --maximized-child FOLDER CLICKS
    const auto window = Main(arguments[2], {});
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 98;
    window->setGeometry(140, 110, 560, 400);
    Settle(*window);
    const QRect normal = window->geometry();
    window->showMaximized();
    if (!QTest::qWaitFor([&] { return window->isMaximized() && window->width() > normal.width(); }, 5000))
        return 97;
    Settle(*window);
    const QRect maximized = window->geometry();
    for (int i = 0; i < arguments[3].toInt(); ++i) {
        window->menuOptZOrder->trigger();
        Settle(*window);
    }
    const bool kept = window->isMaximized() && window->geometry() == maximized;
    window->showNormal();
    if (!QTest::qWaitFor([&] { return !window->isMaximized(); }, 5000))
        return 96;
    Settle(*window);
    const QRect restored = window->geometry();
    const bool back =
        std::max({qAbs(restored.x() - normal.x()), qAbs(restored.y() - normal.y()),
                  qAbs(restored.width() - normal.width()), qAbs(restored.height() - normal.height())}) <= 4;
    std::printf("ticked %d kept %d back %d\n", window->menuOptZOrder->isChecked(), kept, back);
    std::fflush(stdout);
    // End at once, as the viewer itself does: the toolkit's exit-time teardown on a real display
    // leaves a buffer of the system's D-Bus library that leak checkers report.
    std::_Exit(0);
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

    // On Wayland alone the viewer takes it natively, always on top disabled and unticked; with an X
    // display beside it (Xwayland) it takes X11 and keeps the option. The stored option survives both.
    void windowSystem()
    {
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
        // The child prints the platform, whether the option is enabled and ticked, whether
        // QT_QPA_PLATFORM was left set.
        for (const QByteArray shown : {"wayland 0 0 0", "xcb 1 1 0"}) {
            if (shown.startsWith("wayland"))
                env.remove("DISPLAY");
            else
                env.insert("DISPLAY", m_display);
            QTemporaryDir dir;
            WriteTestFile(dir.path(), "rkfview.ini", kStoredIni);
            QProcess child;
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {"--window-child", dir.path()});
            QVERIFY(child.waitForFinished(30000));
            QCOMPARE(child.readAllStandardOutput().trimmed(), shown);
            QCOMPARE(child.exitCode(), 0);
            QVERIFY(ReadTestFile(dir.path() + "/rkfview.ini").contains("\r\nAlwaysOnTop=True\r\n"));
        }
        weston.terminate();
        weston.waitForFinished(5000);
    }

    // A copied report outlives the viewer: on each way out the clipboard goes to the clipboard
    // manager (tests/helpers) before the process ends, without a wait when there is none.
    void clipboardHandover_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("manager"); // a clipboard manager runs
        QTest::newRow("close box") << "close box" << true;
        QTest::newRow("forced exit") << "forced exit" << true;
        QTest::newRow("no clipboard manager: no wait") << "close box" << false;
    }

    void clipboardHandover()
    {
        QFETCH(QString, way);
        QFETCH(bool, manager);
        const int status = way == "forced exit" ? 1 : 0;
#ifndef CLIPBOARD_MANAGER_PATH
        QSKIP("needs the X11 client library headers (scripts/setup.sh installs them)");
#else
        QProcessEnvironment env = ChildEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        QTemporaryDir dir;
        const QString file = WriteScoreFile(dir, "chart.rkf", {{"ABC", 987, 345}});
        QProcess keeper;
        if (manager) {
            keeper.setProcessEnvironment(env);
            keeper.start(CLIPBOARD_MANAGER_PATH, {});
            QVERIFY(keeper.waitForReadyRead(10000) && keeper.readLine() == "ready\n");
        }
        QProcess viewer;
        viewer.setProcessEnvironment(env);
        viewer.start(QCoreApplication::applicationFilePath(), {"--clipboard-child", way, dir.path(), file});
        QElapsedTimer sinceCopy;
        QTRY_VERIFY_WITH_TIMEOUT(viewer.bytesAvailable() > 0 || viewer.state() == QProcess::NotRunning,
                                 20000);
        sinceCopy.start();
        QVERIFY(viewer.state() == QProcess::NotRunning || viewer.waitForFinished(20000));
        QVERIFY(sinceCopy.elapsed() < 4000); // never the toolkit's whole time limit
        QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(viewer.exitCode(), status);
        const QByteArray copied = viewer.readAllStandardOutput();
        QVERIFY2(copied.startsWith(QFile::encodeName(file) + "\r\n"), copied.constData());
        QVERIFY(ReadTestFile(dir.filePath("rkfview.ini")).contains("TopOnly=False")); // saved first
        QCOMPARE(QFile::exists(dir.filePath("error.txt")), status != 0);
        if (manager) { // the whole report, as copied
            const QByteArray saved = "saved " + QByteArray::number(copied.size()) + "\n" + copied;
            QTRY_VERIFY_WITH_TIMEOUT(keeper.bytesAvailable() >= saved.size(), 5000);
            QCOMPARE(keeper.readAll(), saved);
            keeper.kill();
            keeper.waitForFinished();
        }
#endif
    }

    // Ticking always on top while maximized keeps the normal size and place for the restore; only a
    // real window manager shows this, so a second display runs one.
    void alwaysOnTopWhileMaximized()
    {
        if (QStandardPaths::findExecutable("openbox").isEmpty())
            QSKIP("needs the openbox window manager (scripts/setup.sh installs it)");
        VirtualDisplay managed;
        QVERIFY2(managed.start() && managed.startWindowManager(), qPrintable(managed.error()));
        QProcessEnvironment env = managed.environment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        for (const int clicks : {1, 2}) { // ticked; ticked and unticked
            QTemporaryDir dir;
            QProcess viewer;
            viewer.setProcessEnvironment(env);
            viewer.start(QCoreApplication::applicationFilePath(),
                         {"--maximized-child", dir.path(), QString::number(clicks)});
            QVERIFY(viewer.waitForFinished(30000));
            QCOMPARE(viewer.exitCode(), 0);
            QCOMPARE(viewer.readAllStandardOutput(),
                     "ticked " + QByteArray::number(clicks % 2) + " kept 1 back 1\n");
        }
    }
};

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--window-child") == 0)
        return RunWindowChild(argc, argv);
    if (argc > 4 && qstrcmp(argv[1], "--clipboard-child") == 0)
        return RunClipboardChild(argc, argv);
    if (argc > 3 && qstrcmp(argv[1], "--maximized-child") == 0)
        return RunMaximizedChild(argc, argv);
    QApplication app(argc, argv);
    TestDesktopSession test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_desktop_session.moc"
