// Ticking always on top while the window is maximized keeps its normal size and place: restoring it
// afterwards brings back the size and place it had before. Only a real window manager shows this,
// so the test runs an Xvfb and openbox of its own and the viewer in a child process on them.

#include "gui/ViewerTestSupport.h"

#include <QtWidgets>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const QRect kNormal(140, 110, 560, 400); // the normal place set before maximizing

// Waits until the window's geometry has stayed the same for a while (the window manager answered).
void Settle(const QWidget &window)
{
    QRect last = window.geometry();
    QElapsedTimer still;
    still.start();
    QElapsedTimer total;
    total.start();
    while (still.elapsed() < 300 && total.elapsed() < 5000) {
        QTest::qWait(20);
        if (window.geometry() != last) {
            last = window.geometry();
            still.restart();
        }
    }
}

// Child: the viewer on the X display, placed, maximized, always on top ticked `clicks` times,
// then restored. Prints whether it is ticked, stayed maximized in the same frame through the
// clicks, and came back to its normal place (within a few pixels of frame rounding).
int RunViewerChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments(); // --viewer-child FOLDER CLICKS
    const auto window = Main(arguments[2], {});
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 98;
    window->setGeometry(kNormal);
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

// Waits for the line among the process's output lines.
bool Wait(QProcess &process, const QByteArray &line)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000 && process.state() != QProcess::NotRunning) {
        while (process.canReadLine())
            if (process.readLine().trimmed() == line)
                return true;
        process.waitForReadyRead(100);
    }
    return false;
}

} // namespace

class TestAlwaysOnTopWindowManager : public QObject {
    Q_OBJECT
    QProcess m_server;
    QProcess m_manager;
    QTemporaryDir m_home; // openbox's own settings folder, empty
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();

  private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("openbox").isEmpty())
            QSKIP("needs Xvfb and the openbox window manager (scripts/setup.sh installs them)");
        // A display number of its own: the server names the first free one.
        m_server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
        QVERIFY(m_server.waitForReadyRead(10000));
        const QByteArray display = m_server.readLine().trimmed();
        QVERIFY(!display.isEmpty());
        m_env.insert("DISPLAY", ":" + display);
        m_env.insert("QT_QPA_PLATFORM", "xcb");
        m_env.remove("WAYLAND_DISPLAY");

        // openbox runs its start command once it manages the screen.
        QProcessEnvironment managerEnv = m_env;
        managerEnv.insert("HOME", m_home.path());
        managerEnv.insert("XDG_CONFIG_HOME", m_home.path());
        m_manager.setProcessEnvironment(managerEnv);
        m_manager.start("openbox", {"--startup", "echo ready"});
        QVERIFY2(Wait(m_manager, "ready"), "openbox did not start");
    }

    void cleanupTestCase()
    {
        m_manager.terminate();
        m_manager.waitForFinished(5000);
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    void restoreReturnsToNormalPlace_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::newRow("ticked while maximized") << 1;
        QTest::newRow("ticked and unticked while maximized") << 2;
    }

    void restoreReturnsToNormalPlace()
    {
        QFETCH(int, clicks);
        QTemporaryDir dir;
        QProcess viewer;
        viewer.setProcessEnvironment(m_env);
        viewer.start(QCoreApplication::applicationFilePath(),
                     {"--viewer-child", dir.path(), QString::number(clicks)});
        QVERIFY(viewer.waitForFinished(30000));
        QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(viewer.exitCode(), 0);
        QCOMPARE(viewer.readAllStandardOutput(),
                 "ticked " + QByteArray::number(clicks % 2) + " kept 1 back 1\n");
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--viewer-child") == 0)
        return RunViewerChild(argc, argv);
    QApplication app(argc, argv);
    TestAlwaysOnTopWindowManager test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_always_on_top_window_manager.moc"
