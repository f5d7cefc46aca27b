// Open folder, open file, drops, the found-file list and save: what the window lists, shows and writes.

#include "gui/ViewerTestSupport.h"
#include "platform/CodePage.h"
#include "score/RankingText.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"
#include "support/AppGlobals.h"
#include "support/ErrorLog.h"
#include "support/SmallDisk.h"
#include "window/FileListView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>

namespace {

const QString kLoading = " - Now Loading...", kComplete = " - Load Complete.";

const auto Found = [](int n) { return kLoading + ' ' + QString::number(n) + " Files Found"; };

// Score files whose first place is named by the file's stem, below root (folders on the way).
void MakeEntries(const QString &root, const QStringList &names)
{
    for (const QString &name : names) {
        const QString stem = name.section('/', -1).section('.', 0, 0);
        WriteTestFile(root, name, RkfBytes().playCount(1).name(0, stem.toUtf8()).score(0, 1).bytes());
    }
}

QString FirstLine(const frmMain &window)
{
    return window.txtScore->toPlainText().section('\n', 0, 0);
}

// Answers the window's dialogs from queues; an empty queue is a cancel.
struct Script {
    QStringList folders, files, saves;
    explicit Script(frmMain &window)
    {
        window.Dialogs.chooseFolder = [this](QWidget *) { return take(folders); };
        window.Dialogs.chooseScoreFile = [this](QWidget *) { return take(files); };
        window.Dialogs.chooseSaveFile = [this](QWidget *, const SaveDialogState &) { return take(saves); };
    }
    static QString take(QStringList &answers) { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};

// The middle of a control, or for "form" a point of the client area no control covers.
QPoint TargetPoint(const frmMain &window, const QString &target)
{
    const QWidget *widget = target == "form" ? window.cmdClear : window.findChild<QWidget *>(target);
    const QPoint at =
        target == "form" ? QPoint(widget->width() + 20, widget->height() / 2) : widget->rect().center();
    return widget->mapTo(&window, at);
}

// Drags the data over the point and drops it there through the window system, which picks the
// target; returns whether the drop was taken as a copy.
bool DropAt(frmMain &window, const QPoint &at, const QMimeData &data)
{
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

const QList<Place> kPlaces{{"Mid", 100, 50}, {"A,\"B", 98, 40}};
// The rows as CSV in code page 932 ("×" is 81 7E), the name with a comma quoted, its quote doubled.
const QByteArray kMid = " 1st,Mid,100,50,0,0,0,0,0,0,0x,0x,SS,\x81\x7e,-- -- -- -- -- -- -- -- --\r\n";
const QByteArray kAb = " 2nd,\"A,\"\"B\",98,40,0,0,0,0,0,0,0x,0x,SS,\x81\x7e,-- -- -- -- -- -- -- -- --\r\n";
const QString kNotRegular = "通常のファイルではないので、置き換えられません。";

} // namespace

class TestLoadCommands : public QObject {
    Q_OBJECT

  private slots:
    // A search discards the search and the single file before it; a cancel changes nothing.
    void browse()
    {
        QTemporaryDir dir;
        MakeEntries(dir.path(),
                    {"t/a.rkf", "t/B.RKF", "t/_.rkf", "t/c.txt", "t/S/d.rkf", "t/S/T/e.rkf", "t/x.rkf/g.rkf",
                     "t/S/d.rkf1", "t/.h.rkf", "t/.H/i.rkf", "t/S/y.rkf/h.rkf", "b/b.rkf", "1.rkf"});
        QStringList captions;
        const auto window = StartViewer(dir);
        Script dialogs(*window);
        dialogs.folders << dir.filePath("b") << QString() << dir.filePath("t");
        dialogs.files << dir.filePath("1.rkf");
        window->cmdOpenDir->click();
        QCOMPARE(window->txtScore->toPlainText(), QString()); // the start-up prompt emptied
        connect(window.get(), &QWidget::windowTitleChanged,
                [&](const QString &title) { captions.append(title.mid(AppTitle.size())); });
        window->menuOpenFile->trigger();
        window->cmdOpenDir->click();
        QCOMPARE(ColumnTexts(window->lstBMS), QStringList{"b.rkf"});
        QCOMPARE(SingleFileSlot().FileName, "1.rkf");
        window->cmdOpenDir->click();
        // The count rises to the exact number (how many steps it shows depends on the speed).
        QCOMPARE(captions.mid(0, 4), (QStringList{kLoading, kComplete, kLoading, Found(1)}));
        QCOMPARE(captions.mid(captions.size() - 2), (QStringList{Found(7), kComplete}));
        // Names in the order of their upper-case forms: "_" after the letters.
        QCOMPARE(ColumnTexts(window->lstBMS),
                 (QStringList{".h.rkf", "a.rkf", "B.RKF", "_.rkf", "i.rkf", "d.rkf", "g.rkf"}));
        QCOMPARE(ScoreFiles.size(), 8);
        QCOMPARE(SingleFileSlot().FilePath(), QString());
        QCOMPARE(FirstLine(*window), dir.filePath("1.rkf")); // a search shows nothing by itself
        QVERIFY(window->cmdOpenDir->isEnabled() && window->lstBMS->isEnabled());
    }

    // The file list acts as a list box: rows in the order added, keys move the one selected row
    // and keep it in view, rows as wide as the widest name.
    void fileListBehavesAsListBox()
    {
        QTemporaryDir dir;
        const auto window = StartViewer(dir);
        FileListView *list = window->lstBMS;
        QStringList names;
        for (int i = 0; i < 100; ++i)
            names << QStringLiteral("%1.rkf").arg(i);
        list->addItems(names.mid(0, 40));
        list->addItems(names.mid(40));
        QCOMPARE(ColumnTexts(list), names);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down); // the first Down selects the first row
        QCOMPARE(list->selectedRow(), 0);
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(list->selectedRow(), 99);
        QVERIFY(list->viewport()->rect().contains(list->rowRect(99)));
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(list->selectedRow(), 0);
        QTest::keyClick(list, Qt::Key_PageDown);
        const int page = list->selectedRow();
        QVERIFY(page > 1 && list->viewport()->rect().contains(list->rowRect(page)));
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(list->selectedRow(), page - 1);
        // Scrolled, points and rows still match.
        list->scrollTo(list->model()->index(50, 0), QAbstractItemView::PositionAtTop);
        QCOMPARE(list->rowRect(50).top(), 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(52).center());
        QCOMPARE(list->selectedRow(), 52);
        const QString wide = "zz_an_extremely_long_name_" + QString(40, u'漢') + ".rkf";
        list->addItems({"x.rkf", wide});
        QVERIFY(list->rowRect(0).width() > list->fontMetrics().horizontalAdvance(wide));
        list->clear();
        QCOMPARE(list->selectedRow(), -1);
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
    }

    void cancelsAndASecondSingleFile()
    {
        QTemporaryDir dir;
        RkfBytes first;
        for (int k = 0; k < 3; ++k)
            first.name(k, "First").score(k, 500).clearMark(k, -1).classCode(k, 6).option(k, 1, 3);
        const auto window = StartViewer(dir);
        Script dialogs(*window);
        window->menuOpenFile->trigger(); // a cancel changes nothing, not even the caption
        QCOMPARE(window->windowTitle(), AppTitle);
        dialogs.folders << QString() << dir.filePath("none");
        window->BrowseFolder(); // a cancel changes the caption only...
        window->BrowseFolder(); // ...so this search keeps the start-up prompt
        QCOMPARE(window->txtScore->toPlainText(), kStartupPrompt);
        dialogs.files << WriteTestFile(dir.path(), "first.rkf", first.playCount(9).trailer(1).bytes())
                      << WriteTestFile(dir.path(), "2.rkf",
                                       RkfBytes().name(0, "Second").score(0, 7).classCode(0, 9).bytes());
        window->menuOpenFile->trigger();
        window->menuOpenFile->trigger(); // leaves nothing of the first file
        const QTreeWidgetItem *row = window->lstScore->topLevelItem(0);
        QCOMPARE(window->lstScore->topLevelItemCount(), 1);
        QCOMPARE(
            (QStringList{row->text(ColName), row->text(ColClear), row->text(ColClass), row->text(ColOption)}),
            (QStringList{"Second", "×", "", "-- -- -- -- -- -- -- -- --"}));
        QCOMPARE(window->txtScore->toPlainText().section('\n', 1), "[× NOT CLEARED] PlayCount:0回");
    }

    // The records read by the search are shown, after a sort and with top only; the disk is not read.
    void listClick()
    {
        QTemporaryDir dir;
        MakeEntries(dir.path(), {"L/1.rkf"});
        WriteScoreFile(dir, "L/2.rkf", {{"two", 900, 0}, {"beta", 1000, 0}, {"gamma", 80, 0}});
        const auto window = StartViewer(dir);
        window->SearchFolder(QFile::encodeName(dir.filePath("L")));
        QVERIFY(QDir(dir.filePath("L")).removeRecursively());
        FileListView *list = window->lstBMS;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(0).center());
        QCOMPARE(ColumnTexts(window->lstScore, ColName), QStringList{"1"});
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(ColumnTexts(window->lstScore, ColName), (QStringList{"two", "beta", "gamma"}));
        window->lstScore_ColumnClick(ColScore + 1); // as text: "900" > "80" > "1000"
        list->setCurrentRow(0);
        list->setCurrentRow(1);
        QCOMPARE(ColumnTexts(window->lstScore, ColName), (QStringList{"two", "gamma", "beta"}));
        window->menuOptTop->trigger();
        list->setCurrentRow(0);
        list->setCurrentRow(1);
        QCOMPARE(ColumnTexts(window->lstScore, ColName), QStringList{"two"});
        QCOMPARE(FirstLine(*window), dir.filePath("L/2.rkf"));
    }

    void loadsRefusedDuringSearch()
    {
        QTemporaryDir dir;
        MakeEntries(dir.path(), {"big/a.rkf", "big/b.rkf", "big/c.rkf", "single.rkf"});
        const auto window = StartViewer(dir);
        Script dialogs(*window);
        dialogs.folders << dir.filePath("big") << dir.filePath("big");
        dialogs.files << dir.filePath("single.rkf");
        bool inSearch = false, dropTaken = true;
        QTimer::singleShot(0, window.get(), [&] { // at the search's first event break
            inSearch = SearchRunning() && !window->cmdOpenDir->isEnabled() && !window->lstBMS->isEnabled() &&
                       !window->menuOpenFile->isEnabled() && !window->menuOpenFolder->isEnabled();
            window->menuOpenFile->trigger();
            window->menuOpenFolder->trigger();
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(dir.filePath("single.rkf"))});
            dropTaken = DropAt(*window, TargetPoint(*window, "form"), data);
        });
        window->BrowseFolder();
        QVERIFY(inSearch && !dropTaken);
        QCOMPARE(dialogs.folders.size() + dialogs.files.size(), 2); // only the search's own dialog shown
        QCOMPARE(ColumnTexts(window->lstBMS), (QStringList{"a.rkf", "b.rkf", "c.rkf"}));
        QCOMPARE(ScoreFiles.size(), 4);
        QCOMPARE(SingleFileSlot().FilePath(), QString());
        QCOMPARE(window->windowTitle(), AppTitle + kComplete);
        QVERIFY(window->menuOpenFile->isEnabled() && window->menuOpenFolder->isEnabled());
    }

    void unreadableFileEndsProgram()
    {
        for (const bool search : {false, true}) {
            QTemporaryDir dir;
            QDir().mkpath(dir.filePath("D"));
            // A link to nothing: listed as a file, not readable.
            QFile::link(dir.filePath("nowhere"), dir.filePath("D/gone.rkf"));
            const auto window = StartViewer(dir);
            Script dialogs(*window);
            dialogs.folders << dir.filePath("D");
            dialogs.files << dir.filePath("D/gone.rkf");
            ExitCatcher exit;
            QCOMPARE(exit.statusOf([&] { search ? window->BrowseFolder() : window->menuOpenFile_Click(); }),
                     1);
            QCOMPARE(exit.messages, QStringList{AppTitle + "|" + ExitMessageText("ReadRKF")});
            QVERIFY(ReadTestFile(dir.filePath("error.txt")).contains("ErrorNo.53 "));
        }
    }

    void nameNotUtf8()
    {
        // "ｱ" in code page 932 is not valid UTF-8; by character it sorts after "あ", by byte before.
        QTemporaryDir dir;
        MakeEntries(dir.path(), {"J/あ.rkf"});
        const QByteArray path = QFile::encodeName(dir.filePath("J/")) + "\xb1.rkf";
        std::ofstream(path.constData(), std::ios::binary)
            << RkfBytes().playCount(1).name(0, "\xb1").score(0, 1).bytes().toStdString();
        const auto removeFile = qScopeGuard([&] { std::remove(path.constData()); }); // QTemporaryDir cannot
        const auto window = StartViewer(dir);
        window->SearchFolder(QFile::encodeName(dir.filePath("J")));
        QCOMPARE(ColumnTexts(window->lstBMS), (QStringList{"あ.rkf", "ｱ.rkf"}));
        window->lstBMS->setCurrentRow(1);
        QCOMPARE(FirstLine(*window), dir.filePath("J/ｱ.rkf"));
        QCOMPARE(ColumnTexts(window->lstScore, ColName), QStringList{"ｱ"});
        QMimeData data; // dropped alone, the file opens by its bytes too
        data.setUrls({QUrl::fromEncoded("file://" + path.toPercentEncoding("/"))});
        QVERIFY(DropAt(*window, TargetPoint(*window, "form"), data));
        QCOMPARE(SingleFileSlot().FileName, "ｱ.rkf");
        QCOMPARE(SingleFileSlot().PlayCount, 1);
    }

    void drop_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("dropped"); // "http:" a remote file
        QTest::addColumn<QString>("shown");       // the file loaded alone, if any
        QTest::addColumn<QStringList>("list");
        const QStringList old{"old.rkf"};
        const auto row = [&](const char *name, const char *target, const QStringList &dropped,
                             const char *shown, const QStringList &list) {
            QTest::newRow(name) << QString(target) << dropped << QString(shown) << list;
        };
        row("score file, upper-case extension", "form", {"A.RKF"}, "A.RKF", old);
        row("two score files: the first", "lstBMS", {"b.rkf", "A.RKF"}, "b.rkf", old);
        row("text file then score file", "txtScore", {"c.txt", "b.rkf"}, "b.rkf", old);
        row("folder then score file: the folder", "lstScore", {"F", "b.rkf"}, "", {"f.rkf"});
        row("folder named like a score file: searched", "form", {"x.rkf"}, "", {"g.rkf"});
        row("hidden file skipped", "lstBMS", {".h.rkf", "b.rkf"}, "b.rkf", old);
        row("remote file refused", "lstScore", {"http:"}, "", old);
    }

    void drop()
    {
        QFETCH(QString, target);
        QFETCH(QStringList, dropped);
        QFETCH(QString, shown);
        QFETCH(QStringList, list);
        QTemporaryDir dir;
        MakeEntries(dir.path(),
                    {"A.RKF", "b.rkf", "c.txt", ".h.rkf", "F/f.rkf", "x.rkf/g.rkf", "old/old.rkf"});
        const auto window = StartViewer(dir);
        Script dialogs(*window);
        dialogs.folders << dir.filePath("old");
        window->BrowseFolder();
        window->lstBMS->setCurrentRow(0);
        QList<QUrl> urls;
        for (const QString &item : dropped)
            urls.append(item == "http:" ? QUrl("http://h/b.rkf") : QUrl::fromLocalFile(dir.filePath(item)));
        QMimeData data;
        data.setUrls(urls);

        QCOMPARE(DropAt(*window, TargetPoint(*window, target), data), dropped != QStringList{"http:"});
        QCOMPARE(ColumnTexts(window->lstBMS), list);
        QCOMPARE(window->windowTitle(), AppTitle + (list == QStringList{"old.rkf"} ? kComplete : Found(1)));
        QCOMPARE(FirstLine(*window), dir.filePath(shown.isEmpty() ? "old/old.rkf" : shown));
        QCOMPARE(SingleFileSlot().FileName, shown);
        QCOMPARE(ScoreFiles.size(), 2);
        QCOMPARE(ScoreFiles[0].FileName, list[0]);
    }

    void save_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("written"); // "report": the text report; "old": the file stays
        // o: open a file, s: sort by Score, c: cancel; the target: r read-only, f a fifo, l a link to a
        // fifo, d a folder, F on a full disk
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("reason"); // the message's last line; none: no message
        // clang-format off
        QTest::newRow("text report") << "r.txt" << QByteArray("report") << "o" << "";
        QTest::newRow("name ending in .csv.txt: text report") << "r.csv.txt" << QByteArray("report") << "o" << "";
        QTest::newRow("CSV, extension in any case") << "r.Csv" << kMid + kAb << "o" << "";
        QTest::newRow("CSV of a sorted table") << "r.csv" << kAb + kMid << "os" << "";
        QTest::newRow("CSV of an empty table") << "r.CSV" << QByteArray("\r\n") << "" << "";
        QTest::newRow("cancel: silent") << "r.txt" << QByteArray("old") << "oc" << "";
        QTest::newRow("read-only target kept") << "r.csv" << QByteArray("old") << "or" << "ファイルは読み取り専用です。";
        QTest::newRow("fifo not replaced") << "r.txt" << QByteArray() << "of" << kNotRegular;
        QTest::newRow("link to a fifo not followed") << "r.txt" << QByteArray() << "ol" << kNotRegular;
        QTest::newRow("full disk: the old file stays") << "r.csv" << QByteArray("old") << "oF"
                                                       << "ディスクの空き領域が足りません。";
        QTest::newRow("line feed in the name shows as U+FFFD") << "a\nb.txt" << QByteArray() << "od" << kNotRegular;
        // clang-format on
    }

    void save()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, written);
        QFETCH(QString, steps);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        std::unique_ptr<SmallDisk> disk;
        if (steps.contains('F')) {
            QVERIFY(QDir(dir.path()).mkdir("disk"));
            disk = std::make_unique<SmallDisk>(dir.filePath("disk"), 64 * 1024);
            if (!disk->mounted())
                QSKIP(qPrintable(disk->reason()));
            name.prepend("disk/");
        }
        const QByteArray old(2000, 'x'); // replaced entirely, or kept
        const QString path = dir.filePath(name);
        if (steps.contains('f') || steps.contains('l')) {
            const QString fifo = steps.contains('l') ? dir.filePath("fifo") : path;
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
            QVERIFY(fifo == path || QFile::link(fifo, path));
        } else if (steps.contains('d')) {
            QVERIFY(QDir(dir.path()).mkdir(name));
        } else {
            WriteTestFile(dir.path(), name, old);
        }
        if (steps.contains('r'))
            QFile::setPermissions(path, QFile::ReadOwner);
        if (disk)
            QVERIFY(disk->fill());
        const auto window = StartViewer(dir);
        Script dialogs(*window);
        dialogs.files << WriteScoreFile(dir, "chart.rkf", kPlaces);
        dialogs.saves << (steps.contains('c') ? QString() : path);
        if (steps.contains('o'))
            window->menuOpenFile->trigger();
        if (steps.contains('s'))
            window->lstScore_ColumnClick(ColScore + 1);
        QString message;
        QTimer::singleShot(0, window.get(), [&message] { // closes the message box, keeping its text
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                message = box->text();
                box->done(QMessageBox::Ok);
            }
        });
        window->menuFileSave->trigger();
        QCoreApplication::processEvents();
        window->cmdCopy->click(); // the text report, as Copy puts it on the clipboard
        const QByteArray report = platform::EncodeAnsi(QGuiApplication::clipboard()->text()) + "\r\n";
        if (written.isEmpty()) // a fifo or folder, still what it was
            QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
        else
            QCOMPARE(ReadTestFile(path), written == "report" ? report : written == "old" ? old : written);
        // Which file failed on a line of its own, and why.
        const QString shown = QString(path).replace(u'\n', QChar(QChar::ReplacementCharacter));
        QCOMPARE(message, reason.isEmpty() ? QString() : "保存できませんでした。\n" + shown + "\n" + reason);
    }
};

QTEST_MAIN(TestLoadCommands)
#include "test_load_commands.moc"
