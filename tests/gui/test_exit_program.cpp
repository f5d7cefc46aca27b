// ExitProgram ends the process, so it runs in a child: this program started again with "--exit-child".

#include "support/AppGlobals.h"
#include "support/TestFiles.h"
#include "support/gui/ExitProgram.h"

#include <QtTest>
#include <QtWidgets>
#include <cstdio>

namespace {

// The child's window: reports its close handler, and prints each stop message before closing it.
class ChildWindow : public QWidget {
    void closeEvent(QCloseEvent *) override { std::printf("close handler ran\n"); }
    void timerEvent(QTimerEvent *) override
    {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            std::printf("%s|%s|stop icon and OK %d|settings and log first %d\n",
                        qPrintable(box->windowTitle()), qPrintable(box->text().replace(u'\n', "<LF>")),
                        box->icon() == QMessageBox::Critical && box->standardButtons() == QMessageBox::Ok,
                        QFile::exists(AppPath + "rkfview.ini") && QFile::exists(AppPath + "error.txt"));
            box->button(QMessageBox::Ok)->click();
        }
    }
};

// Child: ExitProgram(number, "D", "Main") for a number argument other than 0, else (0, "", "").
int RunExitChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    AppPath = app.arguments()[2];
    AppTitle = "Title";
    const int number = app.arguments()[3].toInt();
    SetSettingsSource([] { return Settings{true, false, "/scores/"}; });
    ChildWindow window;
    window.show();
    window.startTimer(20);
    QTimer::singleShot(0, [&] { ExitProgram(number, number ? "D" : "", number ? "Main" : ""); });
    app.exec();
    return 99; // ExitProgram returned
}

} // namespace

class TestExitProgram : public QObject {
    Q_OBJECT

  private slots:
    void normalAndForcedExitInChildProcess()
    {
        const QString box =
            QString::fromUtf8("Title|Mainでエラーが発生したので強制終了しました。<LF>エラーの詳細は"
                              "error.txtを参照してください。|stop icon and OK 1|settings and log first 1\n");
        const QRegularExpression logLine(
            "^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d ErrorNo\\.-5 D @Main\r\n$");
        for (const int number : {0, -5}) {
            QTemporaryDir dir;
            const QString appPath = dir.path() + u'/';
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {"--exit-child", appPath, QString::number(number)});
            QVERIFY(child.waitForFinished(30000));
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QCOMPARE(child.exitCode(), number ? 1 : 0);
            QCOMPARE(ReadTestFile(appPath + "rkfview.ini"),
                     "[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=True\r\n"
                     "AlwaysOnTop=False\r\nLastReadDir=\"/scores/\"\r\n");
            // No close handler output; one stop message for the forced exit only.
            QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), number ? box : QString());
            const QString log = QString::fromLatin1(ReadTestFile(appPath + "error.txt"));
            QVERIFY2(number ? logLine.match(log).hasMatch() : !QFile::exists(appPath + "error.txt"),
                     qPrintable(log));
        }
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--exit-child") == 0)
        return RunExitChild(argc, argv);
    QApplication app(argc, argv);
    TestExitProgram test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_exit_program.moc"
