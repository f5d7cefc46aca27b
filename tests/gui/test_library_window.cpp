// "一覧" beside the main window: opened after a search, sorted by a header click, filtered, a row
// shown in the main window with the list's selection following, copied and saved, emptied by a
// new search, its place kept; and "自動更新" keeping the shown ranking live.

#include "gui/ViewerTestSupport.h"
#include "search/LibraryModel.h"
#include "search/ScoreFiles.h"
#include "search/ShownFileRefresh.h"
#include "window/FileListView.h"
#include "window/frmLibrary.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

QString ShownName(const frmMain &window)
{
    return window.lstScore->topLevelItemCount() ? window.lstScore->topLevelItem(0)->text(1) : QString();
}

} // namespace

class TestLibraryWindow : public QObject {
    Q_OBJECT

  private slots:
    void libraryWindow()
    {
        QTemporaryDir dir;
        WriteScoreFile(dir, "t/a.rkf", {{"ay", 300, 1}});
        WriteScoreFile(dir, "t/b.rkf", {{"bee", 100, 1}});
        WriteScoreFile(dir, "t/S/c.rkf", {{"cee", 200, 1}});
        WriteScoreFile(dir, "u/d.rkf", {{"dee", 1, 1}});
        const auto window = StartViewer(dir);
        QVERIFY(!window->menuViewList->isEnabled());
        window->SearchFolder(QFile::encodeName(dir.filePath("t")));
        QVERIFY(window->menuViewList->isEnabled());
        window->menuViewList->trigger();
        frmLibrary *library = window->Library;
        QVERIFY(QTest::qWaitForWindowExposed(library));
        QCOMPARE(library->windowTitle(), "一覧");
        QTableView *table = library->lstLibrary;
        QCOMPARE(ColumnTexts(table, OvName), (QStringList{"ay", "bee", "cee"}));

        // A first click on Score sorts the best first; the selection stays on its file.
        table->selectRow(1);
        QHeaderView *header = table->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(OvScore) + 5, header->height() / 2});
        QCOMPARE(ColumnTexts(table, OvName), (QStringList{"ay", "cee", "bee"}));
        QCOMPARE(header->sortIndicatorSection(), int(OvScore));
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(table->selectionModel()->selectedRows().value(0).row(), 2);

        // Enter shows the row's stored record, not the file as it is now; the list's selection follows.
        WriteScoreFile(dir, "t/b.rkf", {{"new", 100, 1}});
        table->setFocus();
        table->setCurrentIndex(table->model()->index(2, 0));
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(window->lstBMS->selectedRow(), 1);
        QCOMPARE(ShownName(*window), "bee");

        // Filtered by path, the count and the totals follow; copy and save take the rows shown.
        QTest::keyClicks(library->txtFilter, "t/s/"); // the temporary folder's name may end in s
        QCOMPARE(ColumnTexts(table, OvName), QStringList{"cee"});
        QVERIFY2(library->lblStatus->text().startsWith("1 / 3\nFiles read          1\n"),
                 qPrintable(library->lblStatus->text()));
        library->menuLibSelectAll->trigger();
        library->menuLibCopy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text().count("\r\n"), 2);
        window->Dialogs.chooseSaveFile = [&](QWidget *, const SaveDialogState &) {
            return dir.filePath("o.CSV");
        };
        library->menuLibSave->trigger();
        QCOMPARE(ReadTestFile(dir.filePath("o.CSV")).count("\r\n"), 2);

        // A new search empties the window while it runs and fills it at its end.
        library->txtFilter->clear();
        QList<int> rowsDuring;
        connect(window.get(), &QWidget::windowTitleChanged, [&](const QString &title) {
            if (title.endsWith("Files Found"))
                rowsDuring << table->model()->rowCount();
        });
        window->SearchFolder(QFile::encodeName(dir.filePath("u")));
        QVERIFY(!rowsDuring.isEmpty() && rowsDuring.count(0) == rowsDuring.size());
        QCOMPARE(ColumnTexts(table, OvName), QStringList{"dee"});
        window->SearchFolder(QFile::encodeName(dir.filePath("none"))); // no names: nothing to list
        QVERIFY(!window->menuViewList->isEnabled());
        QCOMPARE(table->model()->rowCount(), 0);
    }

    // The exit command keeps the list window's place, its column widths and the options (the main
    // window's too) and the last folder read for the next start.
    void settingsKept()
    {
        QTemporaryDir dir;
        WriteScoreFile(dir, "t/a.rkf", {{"ay", 300, 1}});
        const QRect place(40, 50, 700, 400);
        for (int run = 0; run < 2; ++run) {
            const auto window = StartViewer(dir);
            QVERIFY(!run || window->LastReadDir == "/scores/bms/");
            QCOMPARE(window->menuOptTop->isChecked(), run == 1);
            QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), run == 1);
            QCOMPARE(window->menuOptRefresh->isChecked(), run == 0); // on by default
            window->SearchFolder(QFile::encodeName(dir.filePath("t")));
            window->menuViewList->trigger();
            QHeaderView *header = window->Library->lstLibrary->horizontalHeader();
            if (run == 0) {
                window->menuOptRefresh->trigger();
                window->menuOptTop->trigger();
                window->menuOptZOrder->trigger();
                window->LastReadDir = "/scores/bms/";
                window->Library->setGeometry(place);
                header->resizeSection(OvPath, 333);
                ExitCatcher exit; // ended directly: the toolkit cannot pass on the throw
                QCOMPARE(exit.statusOf([&] { window->menuEnd_Click(); }), 0);
                QVERIFY(!QFile::exists(dir.filePath("error.txt")));
            } else {
                QCOMPARE(window->Library->geometry(), place);
                QCOMPARE(header->sectionSize(OvPath), 333);
            }
        }
    }

    // The shown file changed on disk is shown again with the list's record and the library's row;
    // a file gone keeps the last good ranking, without a message or an exit.
    void refreshShown_data()
    {
        QTest::addColumn<bool>("remove");
        QTest::newRow("rewritten") << false;
        QTest::newRow("gone") << true;
    }
    void refreshShown()
    {
        QFETCH(bool, remove);
        QTemporaryDir dir;
        const QString path = WriteScoreFile(dir, "t/a.rkf", {{"ay", 300, 1}});
        const auto window = StartViewer(dir);
        ExitCatcher exit;
        window->SearchFolder(QFile::encodeName(dir.filePath("t")));
        window->menuViewList->trigger();
        window->lstBMS->setCurrentRow(0);
        const QString caption = window->windowTitle();
        if (remove)
            QVERIFY(QFile::remove(path));
        else
            WriteScoreFile(dir, "t/a.rkf", {{"zed", 301, 1}});
        const QString name = remove ? "ay" : "zed";
        QTRY_COMPARE(ShownName(*window), name);
        QTest::qWait(2 * ShownFileRefresh::kQuietMs);
        QCOMPARE(ShownName(*window), name);
        QCOMPARE(ScoreFiles[0].Name[0], name);
        QCOMPARE(ColumnTexts(window->Library->lstLibrary, OvName), QStringList{name});
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(exit.messages, QStringList());
    }
};

QTEST_MAIN(TestLibraryWindow)
#include "test_library_window.moc"
