// The folder search, the score-file test and the local paths of a drop.

#include "RkfBytes.h"
#include "search/DroppedPaths.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"
#include "support/OpenGate.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

// What the window would see: the names at their indices, and the event breaks
// after entries (waits for the disk come as often as it is slow).
struct Recorder : SearchObserver {
    QStringList items;
    int events = 0;
    void fileFound(int index, const QString &name, int count) override
    {
        items.insert(index, name);
        QCOMPARE(count, items.size());
    }
    void processEvents() override { ++events; }
    void waiting() override {}
};

// What rkfreport would report, stopping at the first file it cannot read.
struct Visitor : ScoreFileVisitor {
    QStringList items;
    QList<int> playCounts;
    void visit(const ScoreRecord &record) override
    {
        items << record.FileName;
        playCounts << record.PlayCount;
    }
    bool skipUnreadable(const ScoreRecord &, const Failure &) override { return false; }
    void skipUnlistable(const QByteArray &, const Failure &) override {}
};

// File i of the read-ahead tree: ten in the folder, then three sub-folders of forty.
QString TreeFile(int i)
{
    return i < 10
               ? QStringLiteral("t%1.rkf").arg(i)
               : QStringLiteral("s%1/f%2.rkf").arg((i - 10) / 40).arg((i - 10) % 40, 2, 10, QLatin1Char('0'));
}
constexpr int kTreeFiles = 130;

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

    // A folder of thousands of names: the order is the one of the names' upper-case forms, then
    // their bytes.
    void largeFolder()
    {
        QTemporaryDir dir;
        QStringList names;
        const QString lead[] = {"A", "a", "_", "b"};
        for (int i = 0; i < 6000; ++i)
            names << lead[i % 4] + QString::number((i * 7919) % 6000) + (i % 5 ? ".rkf" : ".RKF");
        for (int i = 0; i < names.size(); ++i)
            WriteTestFile(dir.path(), "big/" + names[i], RkfBytes().playCount(i).bytes());
        const QStringList written = names;
        Recorder recorder;
        QVERIFY(!DoFind(QFile::encodeName(dir.filePath("big")), recorder).failed());
        std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
            const QString ua = a.toUpper(), ub = b.toUpper();
            return ua != ub ? ua < ub : a.toUtf8() < b.toUtf8();
        });
        QCOMPARE(recorder.items, names);
        QCOMPARE(recorder.events, names.size());
        for (int i = 0; i < names.size();
             ++i) // each record holds its own file, many times round the read-ahead
            QCOMPARE(ScoreFiles[i].PlayCount, written.indexOf(names[i]));
    }

    // Files are read many at once, and a slow one ahead of fast ones is still taken in its
    // place. The first unreadable file stops the walk where a walk reading one file after
    // another would stop: every file before it taken, none after, and the read still in
    // flight behind it not waited for.
    void readAheadOrderAndStop_data()
    {
        QTest::addColumn<bool>("visit");   // ForEachScoreFile rather than DoFind
        QTest::addColumn<int>("bad");      // index of the unreadable file, -1 none
        QTest::addColumn<QString>("kind"); // how it cannot be read
        QTest::addColumn<int>("number");
        for (const bool visit : {false, true}) {
            const auto row = [&](const char *name, int bad, const char *kind, int number) {
                QTest::addRow("%s: %s", visit ? "visit" : "DoFind", name)
                    << visit << bad << QString(kind) << number;
            };
            row("all read, slow files mixed in", -1, "", 0);
            row("dangling link in the folder itself", 6, "link", 53);
            row("dangling link first in a sub-folder", 50, "link", 53);
            row("open denied mid sub-folder", 77, "denied", 70);
            row("score out of range, the last file", kTreeFiles - 1, "overflow", 6);
        }
    }

    void readAheadOrderAndStop()
    {
        QFETCH(bool, visit);
        QFETCH(int, bad);
        QFETCH(QString, kind);
        QFETCH(int, number);
        QTemporaryDir dir;
        QStringList names;
        for (int i = 0; i < kTreeFiles; ++i) {
            const QString path = dir.filePath(TreeFile(i));
            if (i == bad && kind == "link") {
                QDir().mkpath(QFileInfo(path).path());
                QVERIFY(QFile::link(dir.filePath("nowhere"), path));
            } else {
                WriteTestFile(
                    dir.path(), TreeFile(i),
                    RkfBytes().playCount(i + 1).score(0, i == bad && kind == "overflow" ? 3e9f : 1).bytes());
            }
            names << QFileInfo(path).fileName();
        }
        OpenGate gate;
        if (!gate.active())
            QSKIP(qPrintable(gate.reason()));
        // A file before the unreadable one (or, with none, the 61st) is held until a read
        // after it has begun: the one right after the unreadable file, which stays held
        // while the walk ends, or the last.
        const int slow = bad >= 3 ? bad - 3 : 60, after = bad >= 0 ? bad + 1 : kTreeFiles - 1;
        QVERIFY(
            gate.hold(dir.filePath(TreeFile(slow)), dir.filePath(TreeFile(std::min(after, kTreeFiles - 1)))));
        if (bad >= 0 && after < kTreeFiles)
            QVERIFY(gate.hold(dir.filePath(TreeFile(after))));
        if (kind == "denied")
            QVERIFY(gate.deny(dir.filePath(TreeFile(bad))));
        Recorder recorder;
        Visitor visitor;
        const QByteArray folder = QFile::encodeName(dir.path());
        const SearchResult result = visit ? ForEachScoreFile(folder, visitor) : DoFind(folder, recorder);
        const int found = bad >= 0 ? bad : kTreeFiles;
        QCOMPARE(result.failure.Number, number);
        QCOMPARE(result.procedure, QString(bad >= 0 ? "ReadRKF" : ""));
        QCOMPARE(visit ? visitor.items : recorder.items, names.mid(0, found));
        if (bad >= 0 && bad + 1 < kTreeFiles)
            QCOMPARE(gate.waiting(dir.filePath(TreeFile(bad + 1))), 1);
        if (visit) {
            for (int i = 0; i < found; ++i)
                QCOMPARE(visitor.playCounts[i], i + 1);
            return;
        }
        QCOMPARE(ScoreFiles.size(), bad >= 0 ? bad + 1 : kTreeFiles + 1);
        for (int i = 0; i < found; ++i)
            QCOMPARE(ScoreFiles[i].PlayCount, i + 1);
        if (bad >= 0)
            QCOMPARE(ScoreFiles[bad].FileName, names[bad]);
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
