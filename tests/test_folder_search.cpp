// The folder search, the score-file test and the local paths of a drop.

#include "search/DroppedPaths.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"
#include "support/RkfBytes.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// What the window would see: the names at their indices, and the event breaks.
struct Recorder : SearchObserver {
    QStringList items;
    int events = 0;
    void fileFound(int index, const QString &name, int count) override
    {
        items.insert(index, name);
        QCOMPARE(count, items.size());
    }
    void processEvents() override { ++events; }
};

} // namespace

class TestFolderSearch : public QObject {
    Q_OBJECT

  private slots:
    void search_data()
    {
        QTest::addColumn<QStringList>("tree"); // entry k a score file of play count k + 1
        QTest::addColumn<QString>("searched");
        QTest::addColumn<int>("events");
        QTest::addColumn<int>("size");          // of ScoreFiles
        QTest::addColumn<QStringList>("found"); // in list order
        using L = QStringList;
        const L tree{"a.rkf",    "B.RKF",     "c.txt",         ".hidden.rkf",      "S/d.rkf",
                     "S/d.rkf1", "S/T/e.rkf", "S/y.rkf/z.rkf", "x.rkf/inside.rkf", ".h/h.rkf"};
        QTest::newRow("the tree: own files, then one level down")
            << tree << "/" << 13 << 7
            << L{".hidden.rkf", "a.rkf", "B.RKF", ".h/h.rkf", "S/d.rkf", "x.rkf/inside.rkf"};
        QTest::newRow("case ignored by upper-case form: underscore after letters")
            << L{"_x.rkf", "b.rkf", "A.rkf"} << "/" << 3 << 4 << L{"A.rkf", "b.rkf", "_x.rkf"};
        QTest::newRow("names equal but for case by raw bytes")
            << L{"a.rkf", "B.rkf", "A.rkf", "a.RKF", "A.RKF"} << "/" << 5 << 6
            << L{"A.RKF", "A.rkf", "a.RKF", "a.rkf", "B.rkf"};
        QTest::newRow("no score file in reach") << L{"c.txt", "S/d.txt", "S/T/e.rkf"} << "/" << 4 << 2 << L();
        QTest::newRow("missing folder") << L{"a.rkf"} << "/missing/" << 0 << 1 << L();
    }

    void search()
    {
        QFETCH(QStringList, tree);
        QFETCH(QString, searched);
        QFETCH(int, events);
        QFETCH(int, size);
        QFETCH(QStringList, found);
        QTemporaryDir dir;
        for (int i = 0; i < tree.size(); ++i)
            WriteTestFile(dir.path(), tree[i], RkfBytes().playCount(i + 1).bytes());
        Recorder recorder;
        QVERIFY(!DoFind(QFile::encodeName(dir.path() + searched), recorder).failed());
        QCOMPARE(recorder.events, events);
        QStringList names, paths;
        for (const ScoreRecord &record : std::as_const(ScoreFiles)) { // empty: the slot, an unused first
            const QString path = record.FilePath.mid(dir.path().size() + 1);
            QCOMPARE(record.FileName, path.section('/', -1));
            QCOMPARE(record.FolderPath + record.FileName, record.FilePath);
            QCOMPARE(record.PlayCount, tree.indexOf(path) + 1);
            paths << path;
            names << record.FileName;
        }
        QCOMPARE(paths, found + QStringList(size - found.size(), QString()));
        QCOMPARE(recorder.items, names.mid(0, found.size()));
    }

    void scoreFileName()
    {
        for (const char *name : {"a.rkf", "B.RKF", "c.Rkf", ".rkf", " a.rkf  "})
            QVERIFY2(IsScoreFileName(name), name);
        for (const char *name : {"d.rkf1", "a rkf", "rkf", ""})
            QVERIFY2(!IsScoreFileName(name), name);
    }

    void droppedPaths()
    {
        const QList<QUrl> urls{QUrl("file://server/share/x.rkf"), QUrl("http://example.org/x.rkf"),
                               QUrl("file://localhost/y%23.rkf"), QUrl("file:///a%20b/c%25d.rkf")};
        QCOMPARE(LocalDropPaths(urls), (QList<QByteArray>{"/y#.rkf", "/a b/c%d.rkf"}));
    }
};

QTEST_GUILESS_MAIN(TestFolderSearch)
#include "test_folder_search.moc"
