// A copied report outlives the viewer on X11: on every way out the clipboard goes to the desktop's
// clipboard manager before the process ends. Needs a real X server (Xvfb), so it runs one of its own,
// with the small clipboard manager of tests/helpers beside it, and pastes with xclip afterwards.

#include "VirtualDisplay.h"
#include "gui/ViewerTestSupport.h"
#include "support/AppGlobals.h"

#include <QtWidgets>

namespace {

// Child: the viewer on the X display, a file shown and copied, then ended the way named.
int RunViewerChild(int argc, char **argv)
{
    auto *app = new QApplication(argc, argv);       // ended by the program's exit
    const QStringList arguments = app->arguments(); // --viewer-child WAY FOLDER FILE
    const QString way = arguments[2];
    const auto window = Main(arguments[3], {QFile::encodeName(arguments[4])});
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 98;
    window->cmdCopy->click();
    std::printf("%s", QGuiApplication::clipboard()->text().toUtf8().constData());
    std::fflush(stdout);
    if (way == "close box")
        window->close();
    else if (way == "exit command")
        window->menuEnd->trigger();
    else if (way == "forced exit") {
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

bool Wait(QProcess &process, const QByteArray &line)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        if (process.canReadLine())
            return process.readLine().trimmed() == line;
        process.waitForReadyRead(100);
    }
    return false;
}

} // namespace

class TestClipboardHandover : public QObject {
    Q_OBJECT
    VirtualDisplay m_x;
    QProcessEnvironment m_env;

  private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("xclip").isEmpty())
            QSKIP("needs Xvfb and xclip (scripts/setup.sh installs them)");
#ifndef CLIPBOARD_MANAGER_PATH
        QSKIP("needs the X11 client library headers (scripts/setup.sh installs them)");
#endif
        QVERIFY2(m_x.start("800x600x24"), qPrintable(m_x.error()));
        m_env = m_x.environment();
        m_env.insert("QT_QPA_PLATFORM", "xcb");
    }

    void copiedTextOutlivesTheViewer_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("manager"); // a clipboard manager runs
        QTest::addColumn<int>("status");
        QTest::newRow("close box") << "close box" << true << 0;
        QTest::newRow("exit command") << "exit command" << true << 0;
        QTest::newRow("forced exit") << "forced exit" << true << 1;
        QTest::newRow("no clipboard manager: no wait") << "exit command" << false << 0;
    }

    void copiedTextOutlivesTheViewer()
    {
        QFETCH(QString, way);
        QFETCH(bool, manager);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString file = WriteScoreFile(dir, "chart.rkf", {{"ABC", 987, 345}});
        QProcess keeper;
#ifdef CLIPBOARD_MANAGER_PATH
        if (manager) {
            keeper.setProcessEnvironment(m_env);
            keeper.start(CLIPBOARD_MANAGER_PATH, {});
            QVERIFY(Wait(keeper, "ready"));
        }
#endif
        QProcess viewer;
        viewer.setProcessEnvironment(m_env);
        viewer.start(QCoreApplication::applicationFilePath(), {"--viewer-child", way, dir.path(), file});
        QVERIFY(viewer.waitForStarted());
        QElapsedTimer sinceCopy;
        QTRY_VERIFY_WITH_TIMEOUT(viewer.bytesAvailable() > 0 || viewer.state() == QProcess::NotRunning,
                                 20000);
        sinceCopy.start();
        QVERIFY(viewer.state() == QProcess::NotRunning || viewer.waitForFinished(20000));
        const qint64 endMs = sinceCopy.elapsed();
        QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(viewer.exitCode(), status);
        const QByteArray copied = viewer.readAllStandardOutput();
        QVERIFY2(copied.startsWith(QFile::encodeName(file) + "\r\n"), copied.constData());
        QVERIFY(ReadTestFile(dir.filePath("rkfview.ini")).contains("TopOnly=False")); // saved first
        QVERIFY(endMs < 4000); // never the toolkit's whole time limit

        QProcess paste;
        paste.setProcessEnvironment(m_env);
        paste.start("xclip", {"-o", "-selection", "clipboard"});
        QVERIFY(paste.waitForFinished(10000));
        QCOMPARE(paste.readAllStandardOutput(), manager ? copied : QByteArray());
        if (manager) {
            QVERIFY(keeper.canReadLine() || keeper.waitForReadyRead(1000));
            QCOMPARE(keeper.readLine().trimmed(), "saved " + QByteArray::number(copied.size()));
            keeper.kill();
            keeper.waitForFinished();
        }
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--viewer-child") == 0)
        return RunViewerChild(argc, argv);
    QApplication app(argc, argv);
    TestClipboardHandover test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_clipboard_handover.moc"
