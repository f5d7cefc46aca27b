// The folder search, the score-file test and the local paths of a drop.

#include "search/DroppedPaths.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"
#include "support/RkfBytes.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

// What the window would see: the names at their indices, and the event breaks.
struct Recorder : SearchObserver {
    QStringList items;
    int events = 0;
    int eventsBeforeFirstFile = -1;
    void fileFound(int index, const QString &name, int count) override
    {
        if (items.isEmpty())
            eventsBeforeFirstFile = events;
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
            const QString path = record.FilePath().mid(dir.path().size() + 1);
            QCOMPARE(record.FileName, path.section('/', -1));
            QVERIFY(path.isEmpty() || record.FolderPath.endsWith(QLatin1Char('/')));
            QCOMPARE(record.PlayCount, tree.indexOf(path) + 1);
            paths << path;
            names << record.FileName;
        }
        QCOMPARE(paths, found + QStringList(size - found.size(), QString()));
        QCOMPARE(recorder.items, names.mid(0, found.size()));
    }

    // A folder of thousands of names: events are processed while it is listed and sorted, and
    // the order is the one of the names' upper-case forms, then their bytes.
    void largeFolder()
    {
        QTemporaryDir dir;
        QStringList names;
        const QString lead[] = {"A", "a", "_", "b"};
        for (int i = 0; i < 6000; ++i)
            names << lead[i % 4] + QString::number((i * 7919) % 6000) + (i % 5 ? ".rkf" : ".RKF");
        const QByteArray bytes = RkfBytes().bytes();
        for (const QString &name : names)
            WriteTestFile(dir.path(), "big/" + name, bytes);
        Recorder recorder;
        QVERIFY(!DoFind(QFile::encodeName(dir.filePath("big")), recorder).failed());
        std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
            const QString ua = a.toUpper(), ub = b.toUpper();
            return ua != ub ? ua < ub : a.toUtf8() < b.toUtf8();
        });
        QCOMPARE(recorder.items, names);
        QVERIFY2(recorder.eventsBeforeFirstFile > 0, "no events while the folder was listed");
        QVERIFY(recorder.events > names.size());
    }

    // A new search leaves nothing of the one before, however long that list was.
    void earlierSearchDiscarded()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 700; ++i)
            WriteTestFile(dir.path(), QStringLiteral("first/%1.rkf").arg(i), RkfBytes().playCount(1).bytes());
        WriteTestFile(dir.path(), "second/only.rkf", RkfBytes().playCount(2).bytes());
        Recorder first, second;
        QVERIFY(!DoFind(QFile::encodeName(dir.filePath("first")), first).failed());
        QCOMPARE(ScoreFiles.size(), 701);
        ScoreFiles.last().PlayCount = 9; // the single-file slot
        QVERIFY(!DoFind(QFile::encodeName(dir.filePath("second")), second).failed());
        QCOMPARE(ScoreFiles.size(), 2);
        QCOMPARE(ScoreFiles[0].FileName, "only.rkf");
        QCOMPARE(ScoreFiles[0].PlayCount, 2);
        QCOMPARE(ScoreFiles[1].PlayCount, 0);
        QVERIFY(!DiscardSetAsideRecords(0)); // nothing of the first search is left over
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
