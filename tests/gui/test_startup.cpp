// The viewer window: start-up, layout, command line, display, sort, Copy, Clear, options, the ways
// the program ends (in a child, this program run again) and the real binary without a display.

#include "gui/ViewerTestSupport.h"
#include "platform/ProgramFolder.h"
#include "search/ScoreFiles.h"
#include "support/AppGlobals.h"
#include "support/OpenGate.h"
#include "support/SmallDisk.h"
#include "window/FileListView.h"
#include "window/RankingTable.h"

#include <QtWidgets>
#include <cstdio>
#include <fstream>

Q_DECLARE_METATYPE(QList<Place>)

// Place order, Score-text order ("98" > "1000" > "100") and name order all differ.
static const QList<Place> kThree{{"Mid", 100, 50}, {"ABC", 98, 40}, {"zed", 1000, 30}};

// A click on a header, or the same column chosen in the sort menu opened from the keyboard (the Menu
// key opens it through the window system, which the offscreen platform does not do).
static void ClickHeader(frmMain &window, int column, QKeyCombination key = {}) // 1-based
{
    const QHeaderView *h = window.lstScore->header();
    if (key == QKeyCombination()) {
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, {h->sectionViewportPosition(column - 1) + 9, 9});
        return;
    }
    window.lstScore->setFocus();
    QTest::keyClick(window.windowHandle(), key.key(), key.keyboardModifiers());
    QTRY_VERIFY(window.menuSort->isVisible());
    for (int i = 0; i < column; ++i)
        QTest::keyClick(window.menuSort, Qt::Key_Down);
    QTest::keyClick(window.menuSort, Qt::Key_Return);
    QTRY_VERIFY(!window.menuSort->isVisible());
}

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

class TestStartup : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir; // the program folder (settings, error log) of the windows started here

  private slots:
    void firstStart()
    {
        ScoreFiles.resize(3);
        const auto window = StartViewer(m_dir);
        QCOMPARE(window->windowTitle(), QStringLiteral("velmora ScoreFile Viewer [build 50]"));
        QCOMPARE(window->txtScore->toPlainText(),
                 QStringLiteral("rkfファイル・フォルダをドロップするか検索するフォルダを指定してください"));
        QVERIFY(window->lstBMS->count() == 0 && window->lstScore->topLevelItemCount() == 0);
        QVERIFY(ScoreFiles.size() == 1 && ScoreFiles[0].FilePath().isEmpty());
        QStringList tabOrder; // the controls, in tab order from the list box
        QWidget *w = window->lstBMS;
        do {
            if (w->parentWidget() == window->centralWidget())
                tabOrder << w->objectName();
        } while ((w = w->nextInFocusChain()) != window->lstBMS);
        QCOMPARE(tabOrder,
                 (QStringList{"lstBMS", "cmdOpenDir", "txtScore", "cmdClear", "cmdCopy", "lstScore"}));
        QVERIFY(window->lstScore->horizontalScrollBar()->maximum() > 0); // scrolls sideways
    }

    void commandLine()
    {
        // The first absolute path ending in "rkf" in any case loads; its name here is Shift_JIS bytes (譜面).
        const QByteArray sjis = QFile::encodeName(m_dir.path()) + "/\x95\x88\x96\xca.Rkf";
        const QByteArray bytes = RkfBytes().playCount(1).score(0, 1234).jpts(0, 5).bytes();
        std::ofstream(sjis.constData(), std::ios::binary).write(bytes.constData(), bytes.size());
        const QByteArray later = QFile::encodeName(WriteScoreFile(m_dir, "later.rkf", {}));
        const QList<QByteArray> args{"", "x.rkf", "/x/y.rkfs", sjis, later};
        ExitCatcher exit; // a wrong choice fails to load and ends the program
        std::unique_ptr<frmMain> window;
        QCOMPARE(exit.statusOf([&] { window = StartViewer(m_dir, args); }), -1);
        std::remove(sjis.constData()); // the folder cannot name it when cleaning up
        QCOMPARE(window->windowTitle(), AppTitle);
        QCOMPARE(ScoreFiles[0].FileName, QStringLiteral("譜面.Rkf"));
        QCOMPARE(ColumnTexts(window->lstScore, 2), QStringList{"1234"});
    }

    void layout_data()
    {
        QTest::addColumn<QSize>("requested"); // client area
        QTest::newRow("design size") << QSize(634, 256);
        QTest::newRow("100 wider") << QSize(734, 256);
        QTest::newRow("too small both ways: grows back both") << QSize(500, 200);
    }

    void layout()
    {
        QFETCH(QSize, requested);
        const auto window = StartViewer(m_dir);
        const QSize frame = window->size() - window->centralWidget()->size();
        window->resize(QSize(900, 600) + frame);
        QTRY_COMPARE(window->centralWidget()->size(), QSize(900, 600));
        // Sized by the window system, which need not heed the minimum: the resize handler grows it back.
        window->windowHandle()->resize(requested + frame);
        const QSize client = requested.expandedTo({634, 256});
        const int W = client.width(), H = client.height();
        QTRY_COMPARE(window->size(), client + frame);
        QCOMPARE(window->centralWidget()->size(), client);
        QCOMPARE(window->lstScore->geometry(), QRect(8, 0, W - 177, H - 77));
        QCOMPARE(window->txtScore->geometry(), QRect(8, H - 74, W - 177, 30));
        // The list box shows whole rows only: as high as fits in H - 5, with a name too wide for
        // it (a horizontal scroll bar) as without.
        for (const QString name : {"a.rkf", "zz_an_extremely_long_name_that_needs_a_scroll_bar.rkf"}) {
            window->lstBMS->addItems({name});
            const bool wide = name.size() > 10;
            QTRY_COMPARE(window->lstBMS->horizontalScrollBar()->isVisible(), wide);
            const int rowHeight = window->lstBMS->rowRect(0).height(), listHeight = H - 5;
            QCOMPARE(window->lstBMS->geometry().adjusted(0, 0, 0, listHeight - window->lstBMS->height()),
                     QRect(W - 162, 0, 153, listHeight));
            QVERIFY(window->lstBMS->height() > listHeight - rowHeight);
            QCOMPARE(window->lstBMS->viewport()->height() % rowHeight, 0);
        }
        QCOMPARE(window->cmdOpenDir->geometry(), QRect(8, H - 40, 177, 33));
        QCOMPARE(window->cmdCopy->geometry(), QRect(192, H - 40, 89, 33));
        QCOMPARE(window->cmdClear->geometry(), QRect(288, H - 40, 81, 33));
    }

    void display_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QList<Place>>("places");
        QTest::addColumn<bool>("topOnly");
        QTest::addColumn<int>("rows");
        QTest::newRow("three places") << "chart.rkf" << kThree << false << 3;
        QTest::newRow("show top only") << "HARD.RKF" << kThree << true << 1;
        QTest::newRow("empty first place")
            << "譜面 (難).rkf" << QList<Place>{{"", 0, 0}, {"B", 5, 5}} << false << 0;
        QTest::newRow("long path: both summary lines stay in the box")
            << QString(100, u'L') + ".rkf" << kThree << false << 3;
    }

    void display()
    {
        QFETCH(QString, fileName);
        QFETCH(QList<Place>, places);
        QFETCH(bool, topOnly);
        QFETCH(int, rows);
        const auto window = StartViewer(m_dir);
        window->DisplayRKF(ReadRecord(m_dir, "old.rkf", kThree)); // replaced by the next display
        window->menuOptTop->setChecked(topOnly);
        QCOMPARE(window->lstScore->topLevelItemCount(), 3); // the option takes effect at the next display
        const ScoreRecord record = ReadRecord(m_dir, "sub/" + fileName, places);
        window->DisplayRKF(record);
        // The core's texts; the summary is set even without rows.
        QCOMPARE(window->lstScore->topLevelItemCount(), rows);
        QCOMPARE(RankRowsOf(window->lstScore), MakeRankRows(record, topOnly));
        QCOMPARE(window->SummaryText(), MakeSummary(record));
        QCOMPARE(window->txtScore->toPlainText(), QString(MakeSummary(record)).replace("\r\n", "\n"));
        // Each summary line is one line of the box, and the second is within it.
        const QPlainTextEdit *box = window->txtScore;
        for (QTextBlock line = box->document()->firstBlock(); line.isValid(); line = line.next()) {
            QTextCursor end(line);
            end.movePosition(QTextCursor::EndOfBlock);
            QCOMPARE(box->cursorRect(end).top(), box->cursorRect(QTextCursor(line)).top());
            QVERIFY2(box->cursorRect(end).bottom() < box->viewport()->height(), qPrintable(line.text()));
        }
        QCOMPARE(window->cdlgSave.FileName, fileName.chopped(4));
        QCOMPARE(window->cdlgSave.InitDir, m_dir.path() + "/sub/");
        QCOMPARE(window->LastReadDir, m_dir.path() + "/sub/");
    }

    void sortRule_data()
    {
        QTest::addColumn<QList<int>>("clicks");   // 1-based columns
        QTest::addColumn<QStringList>("ranks");   // the rank column; " 1st" first: ascending
        QTest::addColumn<QKeyCombination>("key"); // none: header clicks; else the key that opens the menu
        const QStringList byScore{" 2nd", " 3rd", " 1st"}, byName{" 3rd", " 1st", " 2nd"};
        QTest::newRow("score once: descending") << QList<int>{3} << byScore << QKeyCombination();
        QTest::newRow("score twice: ascending")
            << QList<int>{3, 3} << QStringList{" 1st", " 3rd", " 2nd"} << QKeyCombination();
        QTest::newRow("name after score from Shift+F10")
            << QList<int>{3, 2} << byName << QKeyCombination(Qt::SHIFT | Qt::Key_F10);
        QTest::newRow("name after score ascending: descending")
            << QList<int>{3, 3, 2} << byName << QKeyCombination();
        QTest::newRow("rank: descending")
            << QList<int>{1} << QStringList{" 3rd", " 2nd", " 1st"} << QKeyCombination();
        QTest::newRow("RHS: descending, as placed")
            << QList<int>{12} << QStringList{" 1st", " 2nd", " 3rd"} << QKeyCombination();
    }

    void sortRule()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, ranks);
        QFETCH(QKeyCombination, key);
        const auto window = StartViewer(m_dir);
        const ScoreRecord record = ReadRecord(m_dir, "chart.rkf", kThree);
        window->DisplayRKF(record);
        for (int column : clicks)
            ClickHeader(*window, column, key);
        QCOMPARE(ColumnTexts(window->lstScore, 0), ranks);
        // Every header text stays whole at its design width, the sorted column's too.
        const QHeaderView *header = window->lstScore->header();
        for (int c = 0; c < header->count(); ++c)
            QVERIFY2(header->sectionSizeHint(c) <= header->sectionSize(c),
                     qPrintable(window->lstScore->headerItem()->text(c)));
        window->cmdClear->click();
        window->DisplayRKF(record); // rows added later take their place in the order
        QCOMPARE(ColumnTexts(window->lstScore, 0), ranks);
    }

    void copyAndClear()
    {
        const QString judges =
            "Perfect    0 Great    0 Good    0 Bad    0 Poor    0 : -- -- -- -- -- -- -- -- --\r\n";
        const QString mid = "     Mid :    100 :     50 :  0.0x : 0.0x :    0 : SS : ×\r\n" + judges;
        const QString abc = "     ABC :     98 :     40 :  0.0x : 0.0x :    0 : SS : ×\r\n" + judges;
        const auto window = StartViewer(m_dir);
        window->lstBMS->addItems({"chart.rkf"});
        window->lstBMS->setCurrentRow(0);
        const ScoreRecord record = ReadRecord(m_dir, "chart.rkf", kThree.mid(0, 2));
        const QString head = record.FilePath() + "\r\n[○ CLEARED] PlayCount:3回\r\n\r\n", end(81, '-');
        window->DisplayRKF(record);
        window->cmdCopy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), head + " 1st : " + mid + " 2nd : " + abc + end);
        ClickHeader(*window, 3);
        window->cmdCopy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), head + " 1st : " + abc + " 2nd : " + mid + end);
        // Clear empties the summary and the rows, and nothing else.
        window->cmdClear->click();
        window->cmdCopy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), "\r\n\r\n" + end);
        QCOMPARE(window->lstScore->columnCount(), 15);
        QCOMPARE(window->lstBMS->currentRow(), 0);
        QCOMPARE(window->cdlgSave.FileName, QStringLiteral("chart"));
    }

    // Without a usable display --help and --version still answer on the terminal (the first of them
    // counts); anything else ends with a hint on how to run the viewer.
    void binaryWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");   // a display that does not answer
        QTest::addColumn<QString>("printed"); // the start of standard output; with a display error: "",
                                              // or the package named
        const QString version = "rkfview 0.0.0.50\n", usage = "Usage: rkfview [FILE.rkf]\n";
        const QStringList file{"/nonexistent/chart.rkf"};
        QTest::newRow("--version after a score file") << QStringList{"/a.rkf", "--version"} << "" << version;
        QTest::newRow("--help before --version") << QStringList{"--help", "--version"} << "" << usage;
        // clang-format off
        QTest::newRow("none named") << file << "DISPLAY=" << "";
        QTest::newRow("a Wayland one that does not: its plugin named") << file << "WAYLAND_DISPLAY=rkfview-none" << "qt6-wayland";
        // clang-format on
    }

    void binaryWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        QFETCH(QString, printed);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
            env.remove(name);
        env.insert("XDG_SESSION_TYPE", "x11");
        if (!named.isEmpty())
            env.insert(named.section('=', 0, 0), named.section('=', 1));
        QProcess viewer; // built one folder above the tests
        viewer.setProcessEnvironment(env);
        viewer.start(QCoreApplication::applicationDirPath() + "/../rkfview", arguments);
        QVERIFY2(viewer.waitForFinished(30000), "build the rkfview target first");
        const QString output = QString::fromUtf8(viewer.readAllStandardOutput());
        const QString errors = QString::fromUtf8(viewer.readAllStandardError());
        if (named.isEmpty()) {
            QCOMPARE(viewer.exitCode(), 0);
            QVERIFY2(output.startsWith(printed), qPrintable(output));
            QCOMPARE(errors, QString());
        } else {
            QCOMPARE(viewer.exitCode(), 1);
            QVERIFY2(errors.contains("there is no display") &&
                         errors.contains("xvfb-run -a rkfview \"$PWD/FILE.rkf\"") &&
                         errors.contains("qt6-wayland") == !printed.isEmpty(),
                     qPrintable(errors));
        }
    }

    void exitInChildProcess_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<bool>("reported"); // logged and told in a box
        QTest::addColumn<QString>("copy");  // installed: settings and log in the user's folders
        // clang-format off
        QTest::newRow("forced exit, negative number") << -5 << "D" << "Main" << true << "portable";
        QTest::newRow("failure with an empty description: settings only")
            << 53 << "" << "ReadRKF" << false << "portable";
        QTest::newRow("number 0 with both texts: a normal exit") << 0 << "D" << "Main" << false << "portable";
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
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_startup.moc"
