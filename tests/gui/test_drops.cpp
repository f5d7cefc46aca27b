// Files and folders dropped on the window, the found-file list, the summary
// box and the ranking table.

#include "gui/LoadTestSupport.h"
#include "search/ScoreFiles.h"

#include <QListWidget>
#include <QPlainTextEdit>

namespace {

// Where a drop on the target lands, in window coordinates.
QPoint TargetPoint(const frmMain &window, const QString &target)
{
    if (target == "form")
        return FormPoint(window);
    const QWidget *widget = window.findChild<QWidget *>(target);
    return widget->mapTo(&window, widget->rect().center());
}

} // namespace

class TestDrops : public QObject {
    Q_OBJECT

  private slots:
    void drop_data();
    void drop();
};

void TestDrops::drop_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>(
        "dropped"); // below the test folder; "http:" a remote URL, "text:" plain text
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("shown"); // the file shown now, empty: the one before stays
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("caption"); // after AppTitle

    const QString complete = " - Load Complete.";
    const QStringList before{"old.rkf"};
    struct Case {
        const char *name;
        QStringList dropped;
        bool accepted;
        QString shown;
        QStringList list;
        QString caption;
    };
    const QList<Case> cases{
        {"score file, upper-case extension", {"A.RKF"}, true, "A.RKF", before, complete},
        {"two score files: the first", {"b.rkf", "A.RKF"}, true, "b.rkf", before, complete},
        {"text file then score file", {"c.txt", "b.rkf"}, true, "b.rkf", before, complete},
        {"text file alone", {"c.txt"}, true, "", before, complete},
        {"folder then score file: the folder",
         {"F", "b.rkf"},
         true,
         "",
         {"f.rkf"},
         " - Now Loading... 1 Files Found"},
        {"score file then folder: the file", {"b.rkf", "F"}, true, "b.rkf", before, complete},
        {"folder without score files", {"E"}, true, "", {}, " - Now Loading..."},
        {"hidden score file", {".h.rkf"}, true, "", before, complete},
        {"missing file", {"gone.rkf"}, true, "", before, complete},
        {"no local file", {"http:"}, false, "", before, complete},
        {"plain text", {"text:"}, false, "", before, complete},
    };
    for (const QString target : {"form", "lstBMS", "txtScore", "lstScore"}) {
        for (const Case &c : cases) {
            QTest::addRow("%s on %s", c.name, qPrintable(target))
                << target << c.dropped << c.accepted << c.shown << c.list << c.caption;
        }
    }
}

void TestDrops::drop()
{
    QFETCH(QString, target);
    QFETCH(QStringList, dropped);
    QFETCH(bool, accepted);
    QFETCH(QString, shown);
    QFETCH(QStringList, list);
    QFETCH(QString, caption);

    QTemporaryDir dir;
    MakeEntries(dir.path(),
                {"A.RKF", "b.rkf", "c.txt", ".h.rkf", "F/", "F/f.rkf", "E/", "old/", "old/old.rkf"});
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.folders << dir.filePath("old");
    window->BrowseFolder();
    window->lstBMS->setCurrentRow(0); // shows old.rkf
    const QString before = window->txtScore->toPlainText();

    QMimeData data;
    QList<QByteArray> paths;
    for (const QString &item : dropped) {
        if (item == "text:")
            data.setText(dir.filePath("b.rkf"));
        else if (item == "http:")
            data.setUrls({QUrl("http://example.org/b.rkf")});
        else
            paths.append(QFile::encodeName(dir.filePath(item)));
    }
    if (!paths.isEmpty())
        SetDroppedFiles(data, paths);

    QCOMPARE(DropAt(*window, TargetPoint(*window, target), data), accepted);
    QCOMPARE(window->windowTitle(), AppTitle + caption);
    QCOMPARE(ListTexts(window->lstBMS), list);
    QVERIFY(window->cmdOpenDir->isEnabled());
    QVERIFY(window->lstBMS->isEnabled());
    if (shown.isEmpty()) {
        QCOMPARE(window->txtScore->toPlainText(), before);
    } else {
        QCOMPARE(window->txtScore->toPlainText().section('\n', 0, 0), dir.filePath(shown));
        QCOMPARE(SingleFileSlot().FileName, shown);
        QCOMPARE(ScoreFiles.size(), 2); // the found file and the slot
        QCOMPARE(ScoreFiles[0].FileName, QStringLiteral("old.rkf"));
    }
}

QTEST_MAIN(TestDrops)
#include "test_drops.moc"
