// The viewer as it starts: globals, caption, prompt, controls, columns,
// menus, fonts, settings applied and the score file named on the command line.

#include "gui/ViewerTestSupport.h"
#include "search/ScoreFiles.h"
#include "support/AppGlobals.h"
#include "window/AppIdentity.h"
#include "window/WindowFonts.h"

#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <fcntl.h>
#include <unistd.h>

class TestStartup : public QObject {
    Q_OBJECT

  private slots:
    void appPath_data();
    void appPath();
    void appTitle_data();
    void appTitle();
    void firstStart();
    void controls_data();
    void controls();
    void tabOrder();
    void columns_data();
    void columns();
    void menus_data();
    void menus();
    void fonts_data();
    void fonts();
    void settingsApplied_data();
    void settingsApplied();
    void commandLine_data();
    void commandLine();
    void commandLineNonUtf8Name();

  private:
    QTemporaryDir m_dir;
};

void TestStartup::appPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("folder gets one separator") << "/opt/rkfview"
                                               << "/opt/rkfview/";
    QTest::newRow("folder ending in separator kept") << "/opt/rkfview/"
                                                     << "/opt/rkfview/";
    QTest::newRow("root not doubled") << "/"
                                      << "/";
}

void TestStartup::appPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(FolderWithSeparator(folder), expected);
}

void TestStartup::appTitle_data()
{
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("this release") << 50 << "velmora ScoreFile Viewer [build 50]";
    QTest::newRow("revision 0") << 0 << "velmora ScoreFile Viewer [build 0]";
}

void TestStartup::appTitle()
{
    QFETCH(int, revision);
    QFETCH(QString, expected);
    QCOMPARE(MakeAppTitle(revision), expected);
}

void TestStartup::firstStart()
{
    QTemporaryDir dir;
    ScoreFiles = QList<ScoreRecord>(3);
    const auto window = StartViewer(dir);

    QCOMPARE(AppPath, dir.path() + "/");
    QCOMPARE(AppTitle, QStringLiteral("velmora ScoreFile Viewer [build 50]"));
    QCOMPARE(window->windowTitle(), AppTitle);
    QVERIFY(window->isVisible());
    QCOMPARE(window->txtScore->toPlainText(),
             QStringLiteral("rkfファイル・フォルダをドロップするか検索するフォルダを指定してください"));
    QCOMPARE(window->lstBMS->count(), 0);
    QCOMPARE(window->lstScore->topLevelItemCount(), 0);
    QCOMPARE(window->lstScore->columnCount(), 15);
    // A report-style table: no tree, nothing edited, fixed column order, the
    // 996 pixels of columns scrolled sideways.
    QVERIFY(!window->lstScore->rootIsDecorated());
    QCOMPARE(window->lstScore->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!window->lstScore->header()->sectionsMovable());
    QVERIFY(!window->lstScore->header()->stretchLastSection());
    QVERIFY(window->lstScore->horizontalScrollBar()->maximum() > 0);
    QCOMPARE(ScoreFiles.size(), 1);
    QVERIFY(ScoreFiles[0].FilePath.isEmpty());
    QCOMPARE(window->SortColumn, std::int16_t(0));
    QVERIFY(!window->lstScore->header()->isSortIndicatorShown());
    // Without a settings file: both options off, the program folder remembered.
    QVERIFY(!window->menuOptTop->isChecked());
    QVERIFY(!window->menuOptZOrder->isChecked());
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(window->LastReadDir, AppPath);
    QCOMPARE(window->cdlgSave.InitDir, AppPath);
    QVERIFY(window->cdlgSave.OverwritePrompt);
    QVERIFY(window->cdlgSave.NoReadOnlyReturn);
    QVERIFY(window->cdlgSave.FileName.isEmpty());
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->windowIcon().availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
}

void TestStartup::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");

    QTest::newRow("lstBMS") << "lstBMS"
                            << "QListWidget" << QRect(472, 0, 153, 251) << "";
    QTest::newRow("cmdOpenDir") << "cmdOpenDir"
                                << "QPushButton" << QRect(8, 216, 177, 33) << "Open";
    QTest::newRow("txtScore") << "txtScore"
                              << "QPlainTextEdit" << QRect(8, 182, 457, 30) << "";
    QTest::newRow("cmdClear") << "cmdClear"
                              << "QPushButton" << QRect(288, 216, 81, 33) << "Clear";
    QTest::newRow("cmdCopy") << "cmdCopy"
                             << "QPushButton" << QRect(192, 216, 89, 33) << "Copy";
    QTest::newRow("lstScore") << "lstScore"
                              << "QTreeWidget" << QRect(8, 0, 457, 179) << "";
}

void TestStartup::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);

    const auto window = StartViewer(m_dir);
    QCOMPARE(window->centralWidget()->size(), QSize(634, 256));
    QWidget *control = window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->metaObject()->className(), className.toLatin1());
    QCOMPARE(control->parentWidget(), window->centralWidget());
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisible());
    if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), caption);
}

void TestStartup::tabOrder()
{
    const auto window = StartViewer(m_dir);
    const QStringList names{"lstBMS", "cmdOpenDir", "txtScore", "cmdClear", "cmdCopy", "lstScore"};
    QStringList order;
    QWidget *w = window->lstBMS;
    do {
        if (names.contains(w->objectName()) && !order.contains(w->objectName()))
            order.append(w->objectName());
        w = w->nextInFocusChain();
    } while (w != window->lstBMS);
    QCOMPARE(order, names);
    QVERIFY(window->txtScore->tabChangesFocus());
}

void TestStartup::columns_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("right");

    const QList<std::tuple<const char *, int, bool>> expected{
        {"Rank", 40, false},   {"Name", 70, true},      {"Score", 60, true},   {"J-PTS", 60, true},
        {"Perfect", 64, true}, {"Great", 60, true},     {"Good", 60, true},    {"Bad", 60, true},
        {"Poor", 60, true},    {"MAX COMBO", 76, true}, {"HS", 50, true},      {"RHS", 40, true},
        {"Class", 48, true},   {"Clear", 48, true},     {"Option", 200, false}};
    for (int c = 0; c < expected.size(); ++c) {
        const auto &[header, width, right] = expected[c];
        QTest::addRow("column %d %s", c + 1, header) << c << QString::fromLatin1(header) << width << right;
    }
}

void TestStartup::columns()
{
    QFETCH(int, column);
    QFETCH(QString, header);
    QFETCH(int, width);
    QFETCH(bool, right);

    const auto window = StartViewer(m_dir);
    QTreeWidget *table = window->lstScore;
    QCOMPARE(table->headerItem()->text(column), header);
    QCOMPARE(table->columnWidth(column), width);
    const Qt::Alignment alignment = Qt::Alignment(table->headerItem()->textAlignment(column));
    QCOMPARE(bool(alignment & Qt::AlignRight), right);
    QCOMPARE(bool(alignment & Qt::AlignLeft), !right);
}

void TestStartup::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("checkable");

    QTest::newRow("open file") << "menuFile"
                               << "menuOpenFile"
                               << "ファイルを開く(&O)" << QKeySequence("Ctrl+O") << false;
    QTest::newRow("open folder") << "menuFile"
                                 << "menuOpenFolder"
                                 << "フォルダを開く(&F)" << QKeySequence("Ctrl+F") << false;
    QTest::newRow("save as") << "menuFile"
                             << "menuFileSave"
                             << "名前を付けて保存(&S)" << QKeySequence("Ctrl+S") << false;
    QTest::newRow("exit") << "menuFile"
                          << "menuEnd"
                          << "終了(&X)" << QKeySequence() << false;
    QTest::newRow("show top only") << "menuOption"
                                   << "menuOptTop"
                                   << "トップのみ表示(&T)" << QKeySequence() << true;
    QTest::newRow("always on top") << "menuOption"
                                   << "menuOptZOrder"
                                   << "常に最前面に表示(&A)" << QKeySequence() << true;
}

void TestStartup::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, checkable);

    const auto window = StartViewer(m_dir);
    QCOMPARE(window->menuFile->title(), QStringLiteral("ファイル(&F)"));
    QCOMPARE(window->menuOption->title(), QStringLiteral("設定(&O)"));
    QMenu *owner = window->findChild<QMenu *>(menu);
    QVERIFY(owner);
    QAction *item = window->findChild<QAction *>(name);
    QVERIFY(item);
    QVERIFY(owner->actions().contains(item));
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
    QCOMPARE(item->isCheckable(), checkable);
    QVERIFY(!item->isChecked());
}

void TestStartup::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("points");
    QTest::newRow("ranking table") << "lstScore" << 9.75;
    QTest::newRow("file list") << "lstBMS" << 9.75;
    QTest::newRow("open button") << "cmdOpenDir" << 9.75;
    QTest::newRow("summary box") << "txtScore" << 8.25;
}

void TestStartup::fonts()
{
    QFETCH(QString, name);
    QFETCH(qreal, points);

    const auto window = StartViewer(m_dir);
    const QWidget *control = window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->font().pointSizeF(), points);
    QCOMPARE(control->font().weight(), QFont::Normal);
    // The font draws Japanese text itself rather than boxes or a fallback.
    const QFontMetrics metrics(control->font());
    for (const QChar c : QStringLiteral("回○×ゴシック藤原"))
        QVERIFY2(metrics.inFont(c), qPrintable(QStringLiteral("no glyph for ") + c));
    // A monospace gothic, so the table's texts line up.
    QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
}

void TestStartup::settingsApplied_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("topOnly");
    QTest::addColumn<bool>("alwaysOnTop");
    QTest::addColumn<QString>("lastRead");

    QTest::newRow("both options on") << QByteArray("[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=True\r\n"
                                                   "AlwaysOnTop=True\r\nLastReadDir=\"/scores/bms/\"\r\n")
                                     << true << true << "/scores/bms/";
    QTest::newRow("show top only alone") << QByteArray("[Main]\r\nKey=rkfview\r\n[Config]\r\nTopOnly=1\r\n"
                                                       "AlwaysOnTop=False\r\nLastReadDir=\"/a b/\"\r\n")
                                         << true << false << "/a b/";
    QTest::newRow("always on top alone")
        << QByteArray("[Main]\r\nKey=rkfview\r\n[Config]\r\nTopOnly=false\r\n"
                      "AlwaysOnTop=true\r\nLastReadDir=\"/x/\"\r\n")
        << false << true << "/x/";
}

void TestStartup::settingsApplied()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, topOnly);
    QFETCH(bool, alwaysOnTop);
    QFETCH(QString, lastRead);

    QTemporaryDir dir;
    WriteTestFile(dir.path(), "rkfview.ini", ini);
    const auto window = StartViewer(dir);
    QCOMPARE(window->menuOptTop->isChecked(), topOnly);
    QCOMPARE(window->menuOptZOrder->isChecked(), alwaysOnTop);
    QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), alwaysOnTop);
    QVERIFY(window->isVisible());
    QCOMPARE(window->LastReadDir, lastRead);
    QCOMPARE(window->cdlgSave.InitDir, lastRead);
    // The columns come after the settings, whichever showed the window.
    QCOMPARE(window->lstScore->columnCount(), 15);
    QCOMPARE(window->centralWidget()->size(), QSize(634, 256));
}

void TestStartup::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the test folder
    QTest::addColumn<int>("rows");              // -1: nothing loaded
    QTest::addColumn<QString>("fileName");

    QTest::newRow("no arguments") << QStringList() << -1 << "";
    QTest::newRow("absolute path") << QStringList{"@/chart.rkf"} << 2 << "chart.rkf";
    QTest::newRow("path with spaces") << QStringList{"@/my scores/x.RKF"} << 2 << "x.RKF";
    QTest::newRow("relative path ignored") << QStringList{"chart.rkf"} << -1 << "";
    QTest::newRow("first qualifying wins")
        << QStringList{"-x", "@/chart.rkf", "@/my scores/x.RKF"} << 2 << "chart.rkf";
}

void TestStartup::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, rows);
    QFETCH(QString, fileName);

    QTemporaryDir dir;
    const QList<Place> places{{"AAA", 900, 10}, {"BBB", 800, 20}};
    WriteScoreFile(dir, "chart.rkf", places);
    WriteScoreFile(dir, "my scores/x.RKF", places);
    QList<QByteArray> raw;
    for (QString argument : arguments)
        raw.append(argument.replace("@", dir.path()).toUtf8());

    const auto window = StartViewer(dir, raw);
    QCOMPARE(window->windowTitle(), AppTitle);
    QCOMPARE(ScoreFiles.size(), 1);
    if (rows < 0) {
        QCOMPARE(window->txtScore->toPlainText().left(3), QStringLiteral("rkf"));
        QCOMPARE(window->lstScore->topLevelItemCount(), 0);
        QVERIFY(ScoreFiles[0].FilePath.isEmpty());
        return;
    }
    const ScoreRecord &loaded = ScoreFiles[0];
    QCOMPARE(loaded.FileName, fileName);
    QCOMPARE(loaded.FolderPath + loaded.FileName, loaded.FilePath);
    QVERIFY(loaded.FolderPath.endsWith('/'));
    QCOMPARE(window->lstScore->topLevelItemCount(), rows);
    QCOMPARE(window->SummaryText(), loaded.FilePath + "\r\n[○ CLEARED] PlayCount:3回");
    QCOMPARE(window->LastReadDir, loaded.FolderPath);
}

void TestStartup::commandLineNonUtf8Name()
{
    // A name in Shift_JIS bytes (譜面.rkf), as unpacked from a Japanese archive.
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + "/\x95\x88\x96\xca.rkf";
    RkfBytes bytes;
    bytes.playCount(7).score(0, 1234).jpts(0, 5);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.bytes().constData(), size_t(bytes.bytes().size())),
             ssize_t(bytes.bytes().size()));
    ::close(fd);

    const auto window = StartViewer(dir, {path});
    QCOMPARE(ScoreFiles[0].FileName, QStringLiteral("譜面.rkf"));
    QCOMPARE(ColumnTexts(window->lstScore, 2), QStringList{"1234"});
    QCOMPARE(window->cdlgSave.FileName, QStringLiteral("譜面"));
    ::unlink(path.constData()); // the folder cannot name it when cleaning up
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
