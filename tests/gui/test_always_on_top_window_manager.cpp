// Ticking always on top while the window is maximized keeps its normal size and place: restoring it
// afterwards brings back the size and place it had before. Only a real window manager shows this,
// so the test runs an Xvfb and openbox of its own and the viewer in a child process on them.

#include "VirtualDisplay.h"
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
    auto *app = new QApplication(argc, argv);       // ended by the program's exit
    const QStringList arguments = app->arguments(); // --viewer-child FOLDER CLICKS
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

} // namespace

class TestAlwaysOnTopWindowManager : public QObject {
    Q_OBJECT
    VirtualDisplay m_x;
    QProcessEnvironment m_env;

  private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("openbox").isEmpty())
            QSKIP("needs Xvfb and the openbox window manager (scripts/setup.sh installs them)");
        QVERIFY2(m_x.start() && m_x.startWindowManager(), qPrintable(m_x.error()));
        m_env = m_x.environment();
        m_env.insert("QT_QPA_PLATFORM", "xcb");
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
