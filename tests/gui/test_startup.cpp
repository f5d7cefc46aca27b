// The viewer window: start-up, layout, command line, display, sort, Copy, Clear, options, ending the
// program (in a child, this program run again) and the real binary without a display.

#include "gui/ViewerTestSupport.h"
#include "search/ScoreFiles.h"
#include "support/AppGlobals.h"
#include "support/ErrorLog.h"
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

class TestStartup : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir; // the program folder (settings, error log) of the windows started here

  private slots:
    void initTestCase() // in the child of programEnds: ticks both options unless "-off", ends the way named
    {
        const QString way = qEnvironmentVariable("RKFVIEW_TEST_CHILD").section(' ', 0, 0);
        if (way.isEmpty())
            return;
        const auto window = Main(qEnvironmentVariable("RKFVIEW_TEST_CHILD").section(' ', 1), {});
        if (!way.endsWith("-off"))
            window->menuOptTop->trigger(), window->menuOptZOrder->trigger();
        window->LastReadDir = "/scores/bms/";
        if (way == "close")
            window->close();
        else if (way.startsWith("menuEnd"))
            window->menuEnd->trigger();
        qFatal("the program did not end");
    }

    void firstStart()
    {
        ScoreFiles.resize(3);
        const auto window = StartViewer(m_dir);
        QCOMPARE(window->windowTitle(), QStringLiteral("velmora ScoreFile Viewer [build 50]"));
        QCOMPARE(window->txtScore->toPlainText(),
                 QStringLiteral("rkfファイル・フォルダをドロップするか検索するフォルダを指定してください"));
        QVERIFY(window->lstBMS->count() == 0 && window->lstScore->topLevelItemCount() == 0);
        QVERIFY(ScoreFiles.size() == 1 && ScoreFiles[0].FilePath().isEmpty());
        QVERIFY(window->txtScore->tabChangesFocus() && !window->lstScore->rootIsDecorated());
        QCOMPARE(window->lstScore->editTriggers(), QAbstractItemView::NoEditTriggers);
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
        QTest::addColumn<QSize>("requested"); // client area; none: minimized
        QTest::newRow("design size") << QSize(634, 256);
        QTest::newRow("100 wider") << QSize(734, 256);
        QTest::newRow("100 taller") << QSize(634, 356);
        QTest::newRow("too narrow: grows back") << QSize(500, 300);
        QTest::newRow("too low: grows back") << QSize(700, 200);
        QTest::newRow("too small both ways: grows back both") << QSize(500, 200);
        QTest::newRow("minimized: nothing done") << QSize();
    }

    void layout()
    {
        QFETCH(QSize, requested);
        const auto window = StartViewer(m_dir);
        const QSize frame = window->size() - window->centralWidget()->size();
        window->resize(QSize(900, 600) + frame);
        QTRY_COMPARE(window->centralWidget()->size(), QSize(900, 600));
        if (requested.isValid()) {
            // Sized by the window system, which need not heed the minimum: the resize handler grows it back.
            window->windowHandle()->resize(requested + frame);
        } else {
            window->setWindowState(Qt::WindowMinimized);
            window->lstScore->resize(10, 10);
            window->Form_Resize();
            QCOMPARE(window->lstScore->size(), QSize(10, 10));
            window->setWindowState(Qt::WindowNoState); // laid out again on restore
        }
        const QSize client = requested.isValid() ? requested.expandedTo({634, 256}) : QSize(900, 600);
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
        // The core's texts, cells aligned like their headers; the summary is set even without rows.
        QCOMPARE(window->lstScore->topLevelItemCount(), rows);
        QCOMPARE(RankRowsOf(window->lstScore), MakeRankRows(record, topOnly));
        for (int c = 0; rows && c < kRankColumnCount; ++c)
            QCOMPARE(window->lstScore->topLevelItem(0)->textAlignment(c),
                     window->lstScore->headerItem()->textAlignment(c));
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

    void nameTooShortEndsProgram()
    {
        const auto window = StartViewer(m_dir);
        ScoreRecord record;
        record.FileName = "rkf";
        ExitCatcher exit;
        QCOMPARE(exit.statusOf([&] { window->DisplayRKF(record); }), 1);
        QCOMPARE(exit.messages, QStringList{AppTitle + "|" + ExitMessageText("DisplayRKF")});
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
        QTest::newRow("score thrice: descending") << QList<int>{3, 3, 3} << byScore << QKeyCombination();
        QTest::newRow("name after score: descending") << QList<int>{3, 2} << byName << QKeyCombination();
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

    void programEnds_data()
    {
        QTest::addColumn<QString>("way"); // "-off": options left unticked
        QTest::newRow("close box") << "close";
        QTest::newRow("exit command, options off") << "menuEnd-off";
    }

    void programEnds()
    {
        QFETCH(QString, way);
        QTemporaryDir dir;
        qputenv("RKFVIEW_TEST_CHILD", (way + " " + dir.path()).toUtf8()); // the way and folder, for the child
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(30000) && child.exitStatus() == QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        // The settings were saved and no error logged; the next start comes up as this one ended.
        const bool ticked = !way.endsWith("-off");
        const QByteArray ini = ReadTestFile(dir.path() + "/rkfview.ini");
        QVERIFY(ini.contains(ticked ? "\r\nTopOnly=True\r\n" : "\r\nTopOnly=False\r\n"));
        QVERIFY(!QFile::exists(dir.path() + "/error.txt"));
        const auto window = StartViewer(dir);
        QCOMPARE(window->menuOptTop->isChecked(), ticked);
        QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), ticked);
        QCOMPARE(window->LastReadDir, QStringLiteral("/scores/bms/"));
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
        QTest::newRow("-V") << QStringList{"-V"} << "" << version;
        QTest::newRow("-h") << QStringList{"-h"} << "" << usage;
        QTest::newRow("--version after a score file") << QStringList{"/a.rkf", "--version"} << "" << version;
        QTest::newRow("--help before --version") << QStringList{"--help", "--version"} << "" << usage;
        QTest::newRow("none named") << file << "DISPLAY="
                                    << "";
        QTest::newRow("an X display that does not answer") << file << "DISPLAY=:917"
                                                           << "";
        QTest::newRow("a Wayland one that does not: its plugin named")
            << file << "WAYLAND_DISPLAY=rkfview-none"
            << "qt6-wayland";
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
};

// As QTEST_MAIN, but with the application object made as the viewer makes it: on
// the heap, for the child of programEnds ends it on its way out.
int main(int argc, char **argv)
{
    auto *app = new QApplication(argc, argv);
    app->setAttribute(Qt::AA_Use96Dpi, true);
    TestStartup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_startup.moc"
