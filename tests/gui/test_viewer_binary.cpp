// The real rkfview program where it has no display: it says so plainly and
// how to get one, and ends with status 1.

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>

class TestViewerBinary : public QObject {
    Q_OBJECT

  private slots:
    void withoutDisplay_data();
    void withoutDisplay();
};

void TestViewerBinary::withoutDisplay_data()
{
    QTest::addColumn<QString>("display"); // empty: no display named at all
    QTest::newRow("no display named") << "";
    QTest::newRow("display that does not answer") << ":917";
}

void TestViewerBinary::withoutDisplay()
{
    QFETCH(QString, display);

    // Tests are built one folder below the viewer.
    const QString viewer = QCoreApplication::applicationDirPath() + "/../rkfview";
    QVERIFY2(QFile::exists(viewer), "build the rkfview target first");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("WAYLAND_DISPLAY");
    env.remove("DISPLAY");
    env.insert("XDG_SESSION_TYPE", "x11");
    if (!display.isEmpty())
        env.insert("DISPLAY", display);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(viewer, {"/nonexistent/chart.rkf"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(errors.contains("rkfview: there is no display to show the window on."), qPrintable(errors));
    QVERIFY2(errors.contains("xvfb-run rkfview"), qPrintable(errors));
    QVERIFY2(errors.contains("QT_QPA_PLATFORM=offscreen"), qPrintable(errors));
    QVERIFY(!errors.contains("Reinstalling"));
}

QTEST_GUILESS_MAIN(TestViewerBinary)
#include "test_viewer_binary.moc"
