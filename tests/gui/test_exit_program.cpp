// ExitProgram ends the process, so it runs in a child: this program started again with "--exit-child"
// (or "--search-child", closing the viewer during a search).

#include "RkfBytes.h"
#include "platform/ProgramFolder.h"
#include "support/AppGlobals.h"
#include "support/OpenGate.h"
#include "support/SmallDisk.h"
#include "support/TestFiles.h"
#include "support/gui/ExitProgram.h"
#include "window/Main.h"

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
                        QFile::exists(AppFiles.configFolder + "rkfview.ini") &&
                            QFile::exists(AppFiles.logFolder + "error.txt"));
            box->button(QMessageBox::Ok)->click();
        }
    }
};

// Child: ExitProgram(number, description, procedure) from the arguments after the program folder.
// The program folder is the installed one when the last argument says so: the files then go to
// HOME's folders.
int RunExitChild(int argc, char **argv)
{
    auto *app = new QApplication(argc, argv); // ended by the program's exit
    const QStringList arguments = app->arguments();
    LocationFacts facts;
    facts.programFolder = QFile::encodeName(arguments[2]);
    facts.programFolderWritable = true;
    facts.home = qgetenv("HOME");
    if (arguments[6] == "installed")
        facts.installedBinDir = facts.programFolder;
    AppFiles = LocateFiles(facts);
    AppPath = AppFiles.appPath;
    platform::MakeUserFolder(QFile::encodeName(AppFiles.configFolder)); // as Main does
    AppTitle = "Title";
    SetSettingsSource([] { return Settings{true, false, "/scores/"}; });
    ChildWindow window;
    window.show();
    window.startTimer(20);
    QTimer::singleShot(0, [&] { ExitProgram(arguments[3].toInt(), arguments[4], arguments[5]); });
    app->exec();
    return 99; // ExitProgram returned
}

// Child: the viewer searches the folder given after the program folder and is closed once the
// caption counts ten files, printing the caption it closes on.
int RunSearchChild(int argc, char **argv)
{
    auto *app = new QApplication(argc, argv); // ended by the program's exit
    const QStringList arguments = app->arguments();
    const std::unique_ptr<frmMain> window = Main(arguments[2], {});
    window->Dialogs.chooseFolder = [&](QWidget *) { return arguments[3]; };
    QObject::connect(window.get(), &QWidget::windowTitleChanged, [&](const QString &title) {
        if (title.endsWith(" 10 Files Found")) {
            QTimer::singleShot(0, [&] {
                std::printf("closing at%s\n", qPrintable(window->windowTitle().mid(AppTitle.size())));
                window->close();
            });
        }
    });
    QTimer::singleShot(0, [&] { window->BrowseFolder(); });
    app->exec();
    return 99;
}

} // namespace

class TestExitProgram : public QObject {
    Q_OBJECT

  private slots:
    void exitInChildProcess_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<bool>("reported"); // logged and told in a box
        QTest::addColumn<QString>("copy");  // installed: settings and log in the user's folders
        // clang-format off
        QTest::newRow("normal exit") << 0 << "" << "" << false << "portable";
        QTest::newRow("forced exit, negative number") << -5 << "D" << "Main" << true << "portable";
        QTest::newRow("failure with an empty description: settings only")
            << 53 << "" << "ReadRKF" << false << "portable";
        QTest::newRow("number 0 with both texts: a normal exit") << 0 << "D" << "Main" << false << "portable";
        QTest::newRow("installed copy, normal exit: settings in the user's folder")
            << 0 << "" << "" << false << "installed";
        QTest::newRow("installed copy, forced exit: log in the user's folder, named in full")
            << -5 << "D" << "Main" << true << "installed";
        QTest::newRow("log on a full disk: no half line added, the box still shown")
            << -5 << "D" << "Main" << true << "installed, full disk";
        // clang-format on
    }

    void exitInChildProcess()
    {
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, procedure);
        QFETCH(bool, reported);
        QFETCH(QString, copy);
        const bool installed = copy != "portable";
        const QRegularExpression logLine(
            "^\\d{4}/\\d\\d/\\d\\d (\\d|1\\d|2[0-3]):\\d\\d:\\d\\d ErrorNo\\.-5 D @Main\r\n$");
        QTemporaryDir dir;
        const QString appPath = dir.path() + u'/';
        const QString home = appPath + "home";
        const QString configFolder = installed ? home + "/.config/rkfview/" : appPath;
        const QString logFolder = installed ? home + "/.local/state/rkfview/" : appPath;
        const QString box =
            QString::fromUtf8("Title|Mainでエラーが発生したので強制終了しました。<LF>エラーの詳細は") +
            (installed ? logFolder + "error.txt" : "error.txt") +
            QString::fromUtf8("を参照してください。|stop icon and OK 1|settings and log first 1\n");
        // A log that fills its page but for a few bytes, on a disk with no page left.
        const QByteArray oldLog = QByteArray(4090, 'o') + "\r\n";
        std::unique_ptr<SmallDisk> disk;
        if (copy.endsWith("full disk")) {
            QVERIFY(QDir().mkpath(logFolder));
            disk = std::make_unique<SmallDisk>(logFolder, 64 * 1024);
            if (!disk->mounted())
                QSKIP(qPrintable(disk->reason()));
            WriteTestFile(logFolder, "error.txt", oldLog);
            QVERIFY(disk->fill());
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home);
        environment.remove("XDG_CONFIG_HOME");
        environment.remove("XDG_STATE_HOME");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--exit-child", appPath, QString::number(number), description, procedure,
                     installed ? "installed" : "portable"});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), number ? 1 : 0);
        QCOMPARE(ReadTestFile(configFolder + "rkfview.ini"),
                 "[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=True\r\n"
                 "AlwaysOnTop=False\r\nLastReadDir=\"/scores/\"\r\n");
        // No close handler output; one stop message for a reported failure only.
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), reported ? box : QString());
        const QString log = QString::fromLatin1(ReadTestFile(logFolder + "error.txt"));
        if (disk)
            QCOMPARE(ReadTestFile(logFolder + "error.txt"), oldLog);
        else
            QVERIFY2(reported ? logLine.match(log).hasMatch() : !QFile::exists(logFolder + "error.txt"),
                     qPrintable(log));
        QCOMPARE(QFile::exists(appPath + "rkfview.ini"), !installed);
    }

    // Closing the window while the search waits for a file whose read is held up ends the program
    // at once: the read is left behind, the settings are saved.
    void closeDuringSearch()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 30; ++i)
            WriteTestFile(dir.path(), QStringLiteral("D/%1.rkf").arg(i, 2, 10, QLatin1Char('0')),
                          RkfBytes().playCount(1).bytes());
        OpenGate gate;
        if (!gate.active())
            QSKIP(qPrintable(gate.reason()));
        const QString held = dir.filePath("D/10.rkf");
        QVERIFY(gate.hold(held));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--search-child", dir.path() + "/", dir.filePath("D")});
        // Well before the gate lets the read through by itself.
        QVERIFY(child.waitForFinished(8000));
        QCOMPARE(gate.waiting(held), 1);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()),
                 "closing at - Now Loading... 10 Files Found\n");
        QVERIFY(QFile::exists(dir.filePath("rkfview.ini")));
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--exit-child") == 0)
        return RunExitChild(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--search-child") == 0)
        return RunSearchChild(argc, argv);
    QApplication app(argc, argv);
    TestExitProgram test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_exit_program.moc"
