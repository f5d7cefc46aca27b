// Open folder, open file and the found-file list: what the window lists,
// counts, shows and keeps.

#include "gui/LoadTestSupport.h"
#include "score/RankingText.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"
#include "search/StatusCaptions.h"
#include "support/ErrorLog.h"

#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTimer>

namespace {

QString FirstLine(const frmMain &window)
{
    return window.txtScore->toPlainText().section('\n', 0, 0);
}

const QString kLoading = " - Now Loading...";
const QString kComplete = " - Load Complete.";

QString Found(int count)
{
    return " - Now Loading... " + QString::number(count) + " Files Found";
}

} // namespace

class TestLoadCommands : public QObject {
    Q_OBJECT

  private slots:
    void browse_data();
    void browse();
    void secondSearchDiscardsFirst();
    void promptEmptiedOnlyAtStart_data();
    void promptEmptiedOnlyAtStart();
    void openFile_data();
    void openFile();
    void secondFileLeavesNothingOfFirst();
    void listClick_data();
    void listClick();
    void loadsRefusedDuringSearch();
    void unreadableFileEndsProgram_data();
    void unreadableFileEndsProgram();
    void nameNotUtf8();
};

void TestLoadCommands::browse_data()
{
    QTest::addColumn<QList<QByteArray>>("entries");
    QTest::addColumn<QString>("folder"); // below the test folder; empty: a cancel
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("records"); // size of ScoreFiles

    // Listed case-insensitively by name, the folder's own files before those
    // of each sub-folder; never deeper; a folder named like a score file is
    // searched, not read; hidden entries count like any other.
    const QList<QByteArray> tree{"a.rkf",         "B.RKF",     "c.txt",  "S/",          "S/d.rkf",
                                 "S/T/",          "S/T/e.rkf", "x.rkf/", "x.rkf/g.rkf", "S/y.rkf/",
                                 "S/y.rkf/h.rkf", "S/d.rkf1",  ".h.rkf", ".H/",         ".H/i.rkf"};
    QTest::newRow("tree: order, depth, folder named .rkf, hidden entries")
        << tree << "t" << QStringList{".h.rkf", "a.rkf", "B.RKF", "i.rkf", "d.rkf", "g.rkf"}
        << QStringList{kLoading, Found(1), Found(2), Found(3), Found(4), Found(5), Found(6), kComplete} << 7;
    QTest::newRow("missing folder") << tree << "nothing here" << QStringList()
                                    << QStringList{kLoading, kComplete} << 1;
    QTest::newRow("no score file in reach")
        << QList<QByteArray>{"c.txt", "S/", "S/d.txt", "S/T/", "S/T/e.rkf"} << "t" << QStringList()
        << QStringList{kLoading, kComplete} << 2;
    QTest::newRow("cancel: nothing searched")
        << tree << "" << QStringList{"before.rkf"} << QStringList() << 2;
}

void TestLoadCommands::browse()
{
    QFETCH(QList<QByteArray>, entries);
    QFETCH(QString, folder);
    QFETCH(QStringList, list);
    QFETCH(QStringList, captions);
    QFETCH(int, records);

    QTemporaryDir dir;
    for (QByteArray &entry : entries)
        entry.prepend("t/");
    MakeEntries(dir.path(), entries + QList<QByteArray>{"before/", "before/before.rkf"});
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.folders << dir.filePath("before");
    window->cmdOpenDir->click();
    window->lstBMS->setCurrentRow(0);
    const QString shownBefore = window->txtScore->toPlainText();

    if (!folder.isEmpty())
        dialogs.folders << dir.filePath(folder);
    CaptionLog log(*window);
    window->cmdOpenDir->click();

    QCOMPARE(dialogs.folderCalls, 2);
    QCOMPARE(ListTexts(window->lstBMS), list);
    QCOMPARE(log.captions, captions);
    QCOMPARE(window->windowTitle(), LoadCompleteCaption());
    QCOMPARE(ScoreFiles.size(), records);
    QCOMPARE(window->txtScore->toPlainText(), shownBefore); // a search shows nothing by itself
    QVERIFY(window->cmdOpenDir->isEnabled());
    QVERIFY(window->lstBMS->isEnabled());
    // Every item's record was read when found, from the file the item names.
    for (int i = 0; i < list.size(); ++i) {
        QCOMPARE(ScoreFiles[i].FileName, list[i]);
        QCOMPARE(ScoreFiles[i].Name[0], list[i].section('.', 0, list[i].startsWith('.') ? 1 : 0));
    }
}

void TestLoadCommands::secondSearchDiscardsFirst()
{
    QTemporaryDir dir;
    MakeEntries(dir.path(), {"one/", "one/a.rkf", "one/b.rkf", "two/", "two/z.rkf", "single.rkf"});
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.folders << dir.filePath("one") << dir.filePath("two");
    dialogs.files << dir.filePath("single.rkf");
    window->menuOpenFolder->trigger();
    window->menuOpenFile->trigger();
    QCOMPARE(SingleFileSlot().FileName, QStringLiteral("single.rkf"));

    window->menuOpenFolder->trigger();
    QCOMPARE(ListTexts(window->lstBMS), QStringList{"z.rkf"});
    QCOMPARE(ScoreFiles.size(), 2);
    QCOMPARE(ScoreFiles[0].FileName, QStringLiteral("z.rkf"));
    QCOMPARE(SingleFileSlot().FilePath, QString()); // the slot starts empty again
    QCOMPARE(window->windowTitle(), LoadCompleteCaption());
}

void TestLoadCommands::promptEmptiedOnlyAtStart_data()
{
    QTest::addColumn<QString>("steps"); // c: cancelled browse, f: browse a folder without score files
    QTest::addColumn<QString>("text");
    QTest::newRow("search at start empties the prompt") << "f" << QString();
    QTest::newRow("cancelled browse keeps the prompt") << "c" << kStartupPrompt;
    QTest::newRow("search after a cancel keeps the prompt") << "cf" << kStartupPrompt;
}

void TestLoadCommands::promptEmptiedOnlyAtStart()
{
    QFETCH(QString, steps);
    QFETCH(QString, text);

    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    for (const QChar step : steps) {
        dialogs.folders << (step == 'f' ? dir.path() : QString());
        window->BrowseFolder();
    }
    QCOMPARE(window->txtScore->toPlainText(), text);
    QCOMPARE(window->windowTitle(), LoadCompleteCaption());
}

void TestLoadCommands::openFile_data()
{
    QTest::addColumn<QString>("chosen"); // empty: a cancel
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown"); // the summary's first line, "@" the test folder
    QTest::newRow("cancel changes nothing, not even the caption") << "" << QString() << kStartupPrompt;
    QTest::newRow("score file") << "p.rkf" << kComplete << "@/p.rkf";
    QTest::newRow("any extension is read") << "p.dat" << kComplete << "@/p.dat";
}

void TestLoadCommands::openFile()
{
    QFETCH(QString, chosen);
    QFETCH(QString, caption);
    QFETCH(QString, shown);

    QTemporaryDir dir;
    MakeEntries(dir.path(), {"F/", "F/f.rkf", "p.rkf"});
    QFile::copy(dir.filePath("p.rkf"), dir.filePath("p.dat"));
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.folders << dir.filePath("F");
    window->BrowseFolder();
    window->setWindowTitle(AppTitle);
    window->txtScore->setPlainText(kStartupPrompt);
    if (!chosen.isEmpty())
        dialogs.files << dir.filePath(chosen);

    window->menuOpenFile->trigger();
    QCOMPARE(dialogs.fileCalls, 1);
    QCOMPARE(window->windowTitle(), AppTitle + caption);
    QCOMPARE(FirstLine(*window), shown.replace("@", dir.path()));
    QCOMPARE(ListTexts(window->lstBMS), QStringList{"f.rkf"});
    QCOMPARE(ScoreFiles.size(), 2);
    QCOMPARE(ScoreFiles[0].FileName, QStringLiteral("f.rkf"));
    QCOMPARE(SingleFileSlot().FileName, chosen);
}

void TestLoadCommands::secondFileLeavesNothingOfFirst()
{
    QTemporaryDir dir;
    RkfBytes first;
    first.playCount(9).trailer(1);
    for (int k = 0; k < 3; ++k)
        first.name(k, "First").score(k, 500).jpts(k, 5).clearMark(k, -1).classCode(k, 6).option(k, 1, 3);
    WriteTestFile(dir.path(), "first.rkf", first.bytes());
    WriteTestFile(dir.path(), "second.rkf", RkfBytes().name(0, "Second").score(0, 7).classCode(0, 9).bytes());
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.files << dir.filePath("first.rkf") << dir.filePath("second.rkf");
    window->menuOpenFile_Click();
    window->menuOpenFile_Click();

    QCOMPARE(window->lstScore->topLevelItemCount(), 1);
    QCOMPARE(ColumnTexts(window->lstScore, ColName), QStringList{"Second"});
    QCOMPARE(ColumnTexts(window->lstScore, ColClear), QStringList{"×"});
    QCOMPARE(ColumnTexts(window->lstScore, ColClass), QStringList{""});
    QCOMPARE(ColumnTexts(window->lstScore, ColOption), QStringList{"-- -- -- -- -- -- -- -- --"});
    QCOMPARE(window->txtScore->toPlainText().section('\n', 1),
             QStringLiteral("[× NOT CLEARED] PlayCount:0回"));
}

void TestLoadCommands::listClick_data()
{
    QTest::addColumn<QString>("steps"); // o: open a single file, s: sort by Score, t: tick top only
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("keyboard"); // the row reached with the Down key from row 0
    QTest::addColumn<QStringList>("names");

    QTest::newRow("mouse") << "" << 1 << false << QStringList{"two", "beta", "gamma"};
    QTest::newRow("keyboard") << "" << 1 << true << QStringList{"two", "beta", "gamma"};
    QTest::newRow("after a sort by score") << "s" << 1 << false << QStringList{"two", "gamma", "beta"};
    QTest::newRow("show top only") << "t" << 1 << false << QStringList{"two"};
    QTest::newRow("selected row again after a single file") << "o" << 0 << false << QStringList{"1"};
}

void TestLoadCommands::listClick()
{
    QFETCH(QString, steps);
    QFETCH(int, row);
    QFETCH(bool, keyboard);
    QFETCH(QStringList, names);

    QTemporaryDir dir;
    MakeEntries(dir.path(), {"L/", "L/1.rkf", "single.rkf"});
    // Scores 900, 1000 and 80 sort as text: "900" > "80" > "1000".
    WriteTestFile(dir.path(), "L/2.rkf",
                  RkfBytes()
                      .name(0, "two")
                      .score(0, 900)
                      .name(1, "beta")
                      .score(1, 1000)
                      .name(2, "gamma")
                      .score(2, 80)
                      .bytes());
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.folders << dir.filePath("L");
    dialogs.files << dir.filePath("single.rkf");
    window->BrowseFolder();
    // The records are shown as read during the search: the disk is not read again.
    QVERIFY(QDir(dir.filePath("L")).removeRecursively());
    QTest::mouseClick(window->lstBMS->viewport(), Qt::LeftButton, {},
                      window->lstBMS->visualItemRect(window->lstBMS->item(0)).center());
    QCOMPARE(ColumnTexts(window->lstScore, ColName), QStringList{"1"});

    for (const QChar step : steps) {
        if (step == 'o')
            window->menuOpenFile->trigger();
        else if (step == 's')
            window->lstScore_ColumnClick(ColScore + 1);
        else if (step == 't')
            window->menuOptTop->trigger();
    }
    if (keyboard) {
        window->lstBMS->setFocus();
        QTest::keyClick(window->lstBMS, Qt::Key_Down);
    } else {
        QTest::mouseClick(window->lstBMS->viewport(), Qt::LeftButton, {},
                          window->lstBMS->visualItemRect(window->lstBMS->item(row)).center());
    }
    QCOMPARE(window->lstBMS->currentRow(), row);
    QCOMPARE(ColumnTexts(window->lstScore, ColName), names);
    QCOMPARE(FirstLine(*window), dir.filePath("L/" + QString::number(row + 1) + ".rkf"));
    QCOMPARE(window->windowTitle(), LoadCompleteCaption()); // a click keeps the caption
}

void TestLoadCommands::loadsRefusedDuringSearch()
{
    QTemporaryDir dir;
    MakeEntries(dir.path(), {"big/", "other/", "other/o.rkf", "single.rkf"});
    QList<QByteArray> many;
    for (int i = 0; i < 20; ++i)
        many.append("big/f" + QByteArray::number(i) + ".rkf");
    MakeEntries(dir.path(), many);
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.folders << dir.filePath("big") << dir.filePath("other");
    dialogs.files << dir.filePath("single.rkf");

    // Each load command arrives while the search processes events.
    bool inSearch = false;
    bool dropTaken = true;
    bool controlsDisabled = false;
    QTimer::singleShot(0, window.get(), [&] {
        inSearch = SearchRunning();
        controlsDisabled = !window->cmdOpenDir->isEnabled() && !window->lstBMS->isEnabled();
        window->menuOpenFile->trigger();
        window->menuOpenFolder->trigger();
        QMimeData data;
        SetDroppedFiles(data, {QFile::encodeName(dir.filePath("single.rkf"))});
        DropAt(*window, FormPoint(*window), data);
        SetDroppedFiles(data, {QFile::encodeName(dir.filePath("other"))});
        dropTaken = DropAt(*window, FormPoint(*window), data);
    });
    window->BrowseFolder();

    QVERIFY(inSearch);
    QVERIFY(controlsDisabled);
    QVERIFY(!dropTaken);
    QCOMPARE(dialogs.folderCalls, 1);
    QCOMPARE(dialogs.fileCalls, 0);
    QCOMPARE(window->lstBMS->count(), 20);
    QCOMPARE(ScoreFiles.size(), 21);
    QCOMPARE(SingleFileSlot().FilePath, QString());
    QCOMPARE(window->lstScore->topLevelItemCount(), 0);
    QCOMPARE(window->windowTitle(), LoadCompleteCaption());
}

void TestLoadCommands::unreadableFileEndsProgram_data()
{
    QTest::addColumn<bool>("search"); // else the file is opened alone
    QTest::newRow("opened by name") << false;
    QTest::newRow("found by a search") << true;
}

void TestLoadCommands::unreadableFileEndsProgram()
{
    QFETCH(bool, search);

    // A link to nothing is listed as a file and cannot be read.
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("D"));
    QFile::link(dir.filePath("nowhere"), dir.filePath("D/gone.rkf"));
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.folders << dir.filePath("D");
    dialogs.files << dir.filePath("D/gone.rkf");
    ExitCatcher exit;
    const int status = exit.statusOf([&] {
        if (search)
            window->BrowseFolder();
        else
            window->menuOpenFile_Click();
    });
    QCOMPARE(status, 1);
    QCOMPARE(exit.messages, QStringList{AppTitle + "|" + ExitMessageText("ReadRKF")});
    QVERIFY(ReadTestFile(dir.filePath("error.txt")).contains("ErrorNo.53 "));
}

void TestLoadCommands::nameNotUtf8()
{
    // "あ.rkf" in code page 932: not valid UTF-8.
    const QByteArray name = "\x82\xa0.rkf";
    QTemporaryDir dir;
    MakeEntries(dir.path(), {"J/", "J/" + name});
    const QByteArray path = QFile::encodeName(dir.filePath("J/")) + name;
    // The temporary folder cannot remove a name that is not valid UTF-8.
    const auto unlinkFile = qScopeGuard([&] { ::unlink(path.constData()); });
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.folders << dir.filePath("J");
    window->BrowseFolder();
    QCOMPARE(ListTexts(window->lstBMS), QStringList{"あ.rkf"});
    window->lstBMS->setCurrentRow(0);
    QCOMPARE(FirstLine(*window), dir.filePath("J/あ.rkf"));
    QCOMPARE(ColumnTexts(window->lstScore, ColName), QStringList{"あ"});

    // Dropped on its own, the file opens by its bytes too.
    QMimeData data;
    SetDroppedFiles(data, {path});
    QVERIFY(DropAt(*window, FormPoint(*window), data));
    QCOMPARE(SingleFileSlot().FileName, QStringLiteral("あ.rkf"));
    QCOMPARE(window->windowTitle(), LoadCompleteCaption());
}

QTEST_MAIN(TestLoadCommands)
#include "test_load_commands.moc"
