// Ticking always on top while the window is maximized keeps its normal size and place: restoring it
// afterwards brings back the size and place it had before. Only a real window manager shows this,
// so the test runs an Xvfb and openbox of its own and the viewer in a child process on them.

#include "VirtualDisplay.h"
#include "gui/ViewerTestSupport.h"

#include <QtWidgets>

#include <cstdio>
#include <cstdlib>

namespace {

const QRect kNormal(140, 110, 560, 400); // the normal place set before maximizing

QByteArray Text(const QRect &r)
{
    return QByteArray::number(r.x()) + ' ' + QByteArray::number(r.y()) + ' ' + QByteArray::number(r.width()) +
           ' ' + QByteArray::number(r.height());
}

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
// then restored. Prints the geometries as "normal", "maximized", "clicked" (after the clicks, with
// whether the state is still maximized) and "restored" lines, and the tick as a "ticked" line.
int RunViewerChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments(); // --viewer-child FOLDER CLICKS
    const int clicks = arguments[3].toInt();
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
    for (int i = 0; i < clicks; ++i) {
        window->menuOptZOrder->trigger();
        Settle(*window);
    }
    const QRect afterClicks = window->geometry();
    const bool stillMaximized = window->isMaximized();
    window->showNormal();
    if (!QTest::qWaitFor([&] { return !window->isMaximized(); }, 5000))
        return 96;
    Settle(*window);
    std::printf("normal %s\nmaximized %s\nclicked %d %s\nrestored %s\nticked %d\n", Text(normal).constData(),
                Text(maximized).constData(), stillMaximized, Text(afterClicks).constData(),
                Text(window->geometry()).constData(), window->menuOptZOrder->isChecked());
    std::fflush(stdout);
    // End at once, as the viewer itself does: the toolkit's exit-time teardown on a real display
    // leaves a buffer of the system's D-Bus library that leak checkers report.
    std::_Exit(0);
}

QRect ParseRect(const QByteArray &text)
{
    const QList<QByteArray> v = text.split(' ');
    return v.size() == 4 ? QRect(v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt()) : QRect();
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
        QMap<QByteArray, QByteArray> lines;
        for (const QByteArray &line : viewer.readAllStandardOutput().split('\n')) {
            const qsizetype space = line.indexOf(' ');
            if (space > 0)
                lines[line.left(space)] = line.mid(space + 1).trimmed();
        }
        QCOMPARE(lines.value("ticked"), QByteArray::number(clicks % 2));
        // The window stays maximized through the clicks: same state, same frame.
        const QList<QByteArray> clicked = lines.value("clicked").split(' ');
        QCOMPARE(clicked.value(0), QByteArray("1"));
        QCOMPARE(clicked.mid(1).join(' '), lines.value("maximized"));
        const QRect normal = ParseRect(lines.value("normal"));
        const QRect restored = ParseRect(lines.value("restored"));
        QVERIFY(normal.isValid());
        QVERIFY2(qAbs(restored.width() - normal.width()) <= 4 &&
                     qAbs(restored.height() - normal.height()) <= 4 && qAbs(restored.x() - normal.x()) <= 4 &&
                     qAbs(restored.y() - normal.y()) <= 4,
                 "normal " + lines.value("normal") + ", restored " + lines.value("restored"));
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
