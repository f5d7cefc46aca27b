#include "platform/DirectoryList.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"
#include "search/StatusCaptions.h"
#include "support/AppGlobals.h"
#include "support/RkfBytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What the window would see: list items at the given indices, captions, and
// how often it got to process events.
class Recorder : public SearchObserver {
  public:
    QStringList items;
    QList<int> indices;
    QStringList captions;
    int events = 0;
    std::function<void()> onEvent;

    void fileFound(int index, const QString &name, int count) override
    {
        indices.append(index);
        items.insert(index, name);
        captions.append(FilesFoundCaption(count));
    }
    void processEvents() override
    {
        ++events;
        if (onEvent)
            onEvent();
    }
};

// What a report over a folder sees: the files read and those skipped.
class Visits : public ScoreFileVisitor {
  public:
    bool skip = true;
    QStringList paths;
    QList<int> playCounts;
    QStringList skipped;

    void visit(const ScoreRecord &record) override
    {
        paths.append(record.FilePath);
        playCounts.append(record.PlayCount);
    }
    bool skipUnreadable(const ScoreRecord &record, const Failure &) override
    {
        skipped.append(record.FileName);
        return skip;
    }
};

// Writes a score file whose score is out of the int32 range, or a link to a
// missing file when bad starts with "link:"; returns the entry's name.
QByteArray MakeUnreadable(const QByteArray &root, QByteArray bad)
{
    if (bad.startsWith("link:")) {
        bad = bad.mid(5);
        ::symlink("gone.rkf", (root + '/' + bad).constData());
    } else {
        const QByteArray path = root + '/' + bad;
        ::mkdir(path.left(path.lastIndexOf('/')).constData(), 0755);
        QFile file(QFile::decodeName(path));
        if (file.open(QIODevice::WriteOnly))
            file.write(RkfBytes().score(0, 3.0e9f).bytes());
    }
    return bad.mid(bad.lastIndexOf('/') + 1);
}

// Writes the entries of a tree below root, named by their exact bytes: a name
// ending in "/" is a folder; every other file is a score file whose play count
// is its position in the list plus one, so records can be told apart.
void MakeTree(const QByteArray &root, const QList<QByteArray> &entries)
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QByteArray path = root + '/' + entries[i];
        QByteArray dir;
        for (const QByteArray &part :
             path.split('/').mid(1, path.count('/') - (path.endsWith('/') ? 0 : 1))) {
            dir += '/' + part;
            ::mkdir(dir.constData(), 0755);
        }
        if (path.endsWith('/'))
            continue;
        const QByteArray bytes = RkfBytes().playCount(std::int32_t(i + 1)).bytes();
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY2(fd >= 0, path.constData());
        QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
        ::close(fd);
    }
}

int PlayCountOf(const QList<QByteArray> &entries, const QByteArray &entry)
{
    return int(entries.indexOf(entry)) + 1;
}

} // namespace

class TestFolderSearch : public QObject {
    Q_OBJECT

    QByteArray m_root;
    std::unique_ptr<QTemporaryDir> m_dir;

  private slots:
    void initTestCase() { AppTitle = QStringLiteral("velmora ScoreFile Viewer [build 50]"); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_root = QFile::encodeName(m_dir->path());
        ResetScoreFiles();
    }

    // Names that are not UTF-8 are removed by their bytes.
    void cleanup()
    {
        std::error_code error;
        std::filesystem::remove_all(std::filesystem::path(m_root.toStdString()), error);
        m_dir.reset();
    }

    void scoreFileName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("scoreFile");
        QTest::newRow("lower-case extension") << QByteArray("a.rkf") << true;
        QTest::newRow("upper-case extension") << QByteArray("B.RKF") << true;
        QTest::newRow("mixed-case extension") << QByteArray("c.Rkf") << true;
        QTest::newRow("extension alone") << QByteArray(".rkf") << true;
        QTest::newRow("trailing spaces trimmed") << QByteArray("a.rkf  ") << true;
        QTest::newRow("leading space trimmed") << QByteArray(" a.rkf") << true;
        QTest::newRow("character after the extension") << QByteArray("d.rkf1") << false;
        QTest::newRow("no dot") << QByteArray("xrkf") << false;
        QTest::newRow("space instead of dot") << QByteArray("a rkf") << false;
        QTest::newRow("other extension") << QByteArray("c.txt") << false;
        QTest::newRow("shorter than the extension") << QByteArray("rkf") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("code page 932 stem") << QByteArray("\x83\x5c.rkf") << true;
    }

    void scoreFileName()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, scoreFile);
        QCOMPARE(IsScoreFileName(name), scoreFile);
    }

    void listingOrder_data()
    {
        QTest::addColumn<QList<QByteArray>>("entries");
        QTest::addColumn<QList<QByteArray>>("expected");
        using L = QList<QByteArray>;
        QTest::newRow("case ignored") << L{"b", "C", "a"} << L{"a", "b", "C"};
        QTest::newRow("underscore after letters, by upper-case form")
            << L{"_x", "b", "A"} << L{"A", "b", "_x"};
        QTest::newRow("bracket after letters") << L{"[1]", "a"} << L{"a", "[1]"};
        QTest::newRow("dot and digits before letters") << L{"a", "1", ".a"} << L{".a", "1", "a"};
        QTest::newRow("prefix first") << L{"ab", "a"} << L{"a", "ab"};
        QTest::newRow("names equal but for case by raw bytes")
            << L{"a.rkf", "B.rkf", "A.rkf"} << L{"A.rkf", "a.rkf", "B.rkf"};
        QTest::newRow("full-width letters folded") // U+FF41 before U+FF22 once upper-cased
            << L{"\xef\xbc\xa2", "\xef\xbd\x81"} << L{"\xef\xbd\x81", "\xef\xbc\xa2"};
        QTest::newRow("code page 932 name by its characters") // U+3042 before U+FF71
            << L{"\xb1", "\xe3\x81\x82"} << L{"\xe3\x81\x82", "\xb1"};
        QTest::newRow("hidden entries and folders listed")
            << L{"sub/", ".hidden", ".dir/", "a.rkf"} << L{".dir/", ".hidden", "a.rkf", "sub/"};
        QTest::newRow("empty folder") << L{} << L{};
    }

    void listingOrder()
    {
        QFETCH(QList<QByteArray>, entries);
        QFETCH(QList<QByteArray>, expected);
        MakeTree(m_root, entries);
        const platform::DirListing listing = platform::ListDirectory(m_root + '/');
        QCOMPARE(listing.error, platform::OpenError::None);
        QList<QByteArray> names;
        for (const platform::DirEntry &entry : listing.entries)
            names.append(entry.name + (entry.folder ? "/" : ""));
        QCOMPARE(names, expected);
    }

    void listingLinks()
    {
        MakeTree(m_root, {"real/"});
        QCOMPARE(::symlink("real", (m_root + "/link").constData()), 0);
        QCOMPARE(::symlink("gone", (m_root + "/dangling").constData()), 0);
        const platform::DirListing listing = platform::ListDirectory(m_root);
        QCOMPARE(listing.entries.size(), 3);
        QCOMPARE(listing.entries[0].name, QByteArray("dangling"));
        QVERIFY(!listing.entries[0].folder);
        QCOMPARE(listing.entries[1].name, QByteArray("link"));
        QVERIFY(listing.entries[1].folder);
    }

    void listingFailure_data()
    {
        QTest::addColumn<QByteArray>("relative");
        QTest::addColumn<int>("error");
        QTest::newRow("missing folder") << QByteArray("/missing/") << int(platform::OpenError::NotFound);
        QTest::newRow("a file, not a folder")
            << QByteArray("/file.rkf/") << int(platform::OpenError::NotFound);
    }

    void listingFailure()
    {
        QFETCH(QByteArray, relative);
        QFETCH(int, error);
        MakeTree(m_root, {"file.rkf"});
        const platform::DirListing listing = platform::ListDirectory(m_root + relative);
        QCOMPARE(int(listing.error), error);
        QVERIFY(listing.entries.isEmpty());
    }

    void search_data()
    {
        QTest::addColumn<QList<QByteArray>>("tree");
        QTest::addColumn<QByteArray>("searched");
        QTest::addColumn<QList<QByteArray>>("found"); // relative paths in list order
        QTest::addColumn<int>("events");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("folderError");
        using L = QList<QByteArray>;
        QTest::newRow("own files, then one level of sub-folders")
            << L{"a.rkf", "B.RKF", "c.txt", "S/d.rkf", "S/T/e.rkf"} << QByteArray("/")
            << L{"a.rkf", "B.RKF", "S/d.rkf"} << 6 << 4 << 0;
        QTest::newRow("folders named like score files, hidden entries, d.rkf1")
            << L{"a.rkf",    "B.RKF",     "c.txt",         ".hidden.rkf",      "S/d.rkf",
                 "S/d.rkf1", "S/T/e.rkf", "S/y.rkf/z.rkf", "x.rkf/inside.rkf", ".h/h.rkf"}
            << QByteArray("/")
            << L{".hidden.rkf", "a.rkf", "B.RKF", ".h/h.rkf", "S/d.rkf", "x.rkf/inside.rkf"} << 13 << 7 << 0;
        QTest::newRow("sub-folders in listing order, not creation order")
            << L{"b/2.rkf", "A/1.rkf", "c/3.rkf", "A/0.RKF"} << QByteArray("/")
            << L{"A/0.RKF", "A/1.rkf", "b/2.rkf", "c/3.rkf"} << 7 << 5 << 0;
        QTest::newRow("path without a final separator")
            << L{"in/a.rkf"} << QByteArray("/in") << L{"in/a.rkf"} << 1 << 2 << 0;
        QTest::newRow("no score file anywhere")
            << L{"c.txt", "S/d.txt", "S/T/e.rkf"} << QByteArray("/") << L{} << 4 << 2 << 0;
        QTest::newRow("empty folder") << L{"empty/"} << QByteArray("/empty/") << L{} << 0 << 2 << 0;
        QTest::newRow("missing folder")
            << L{"a.rkf"} << QByteArray("/missing/") << L{} << 0 << 1 << int(kErrFileNotFound);
        QTest::newRow("empty path, not the root folder")
            << L{"a.rkf"} << QByteArray("") << L{} << 0 << 1 << int(kErrFileNotFound);
        QTest::newRow("a file named as the folder")
            << L{"a.rkf"} << QByteArray("/a.rkf/") << L{} << 0 << 1 << int(kErrFileNotFound);
    }

    void search()
    {
        QFETCH(QList<QByteArray>, tree);
        QFETCH(QByteArray, searched);
        QFETCH(QList<QByteArray>, found);
        QFETCH(int, events);
        QFETCH(int, size);
        QFETCH(int, folderError);
        MakeTree(m_root, tree);
        Recorder recorder;
        const SearchResult result = DoFind(searched.isEmpty() ? searched : m_root + searched, recorder);

        QVERIFY(!result.failed());
        QCOMPARE(result.folderError.Number, folderError);
        QCOMPARE(result.found, int(found.size()));
        QCOMPARE(recorder.events, events);
        QCOMPARE(ScoreFiles.size(), size);
        QStringList names, captions;
        QList<int> indices;
        for (qsizetype k = 0; k < found.size(); ++k) {
            const QByteArray &entry = found[k];
            const qsizetype cut = entry.lastIndexOf('/') + 1;
            const QString folder = QFile::decodeName(m_root + '/' + entry.left(cut));
            const ScoreRecord &record = ScoreFiles[k];
            QCOMPARE(record.FolderPath, folder);
            QCOMPARE(record.FileName, QString::fromUtf8(entry.mid(cut)));
            QCOMPARE(record.FilePath, folder + record.FileName);
            QCOMPARE(record.PlayCount, PlayCountOf(tree, entry));
            names.append(record.FileName);
            indices.append(int(k));
            captions.append(AppTitle + " - Now Loading... " + QString::number(k + 1) + " Files Found");
        }
        QCOMPARE(recorder.items, names);
        QCOMPARE(recorder.indices, indices);
        QCOMPARE(recorder.captions, captions);
        // The slot, and the unused first element when nothing was found, are empty.
        for (qsizetype k = found.size(); k < ScoreFiles.size(); ++k) {
            QVERIFY(ScoreFiles[k].FilePath.isEmpty());
            QCOMPARE(ScoreFiles[k].PlayCount, 0);
        }
        QVERIFY(!SearchRunning());
    }

    void secondSearchDiscardsFirst_data()
    {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("size");
        QTest::newRow("folder with one file") << QByteArray("/two/") << 2;
        QTest::newRow("folder without score files") << QByteArray("/none/") << 2;
        QTest::newRow("missing folder") << QByteArray("/missing/") << 1;
    }

    void secondSearchDiscardsFirst()
    {
        QFETCH(QByteArray, second);
        QFETCH(int, size);
        MakeTree(m_root, {"one/a.rkf", "one/b.rkf", "one/c.rkf", "two/z.rkf", "none/"});
        Recorder first;
        DoFind(m_root + "/one/", first);
        QCOMPARE(ScoreFiles.size(), 4);
        SingleFileSlot().FilePath = QStringLiteral("/elsewhere/single.rkf");
        SingleFileSlot().PlayCount = 99;
        SingleFileSlot().ClearMark[0] = -1;

        Recorder again;
        DoFind(m_root + second, again);
        QCOMPARE(ScoreFiles.size(), size);
        for (const ScoreRecord &record : std::as_const(ScoreFiles)) {
            QVERIFY(!record.FilePath.contains(QLatin1String("/one/")));
            QVERIFY(record.FilePath != QLatin1String("/elsewhere/single.rkf"));
            QCOMPARE(record.ClearMark[0], std::int16_t(0));
        }
        QCOMPARE(SingleFileSlot().PlayCount, 0);
    }

    void displayedNames_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("folderSuffix");
        QTest::addColumn<bool>("bytesKept");
        QTest::newRow("code page 932 file name") << QByteArray("\x83\x5c\x83\x74\x83\x67.rkf")
                                                 << QStringLiteral("ソフト.rkf") << QString("/") << true;
        QTest::newRow("code page 932 sub-folder")
            << QByteArray("\x95\x5c/a.rkf") << QStringLiteral("a.rkf") << QStringLiteral("/表/") << true;
        QTest::newRow("half-width katakana in code page 932")
            << QByteArray("\xb1\xb2.rkf") << QStringLiteral("ｱｲ.rkf") << QString("/") << true;
        QTest::newRow("UTF-8 name") << QByteArray("譜面.rkf") << QStringLiteral("譜面.rkf") << QString("/")
                                    << false;
        QTest::newRow("leading space kept so the file opens")
            << QByteArray(" a.rkf") << QStringLiteral(" a.rkf") << QString("/") << false;
    }

    void displayedNames()
    {
        QFETCH(QByteArray, entry);
        QFETCH(QString, fileName);
        QFETCH(QString, folderSuffix);
        QFETCH(bool, bytesKept);
        MakeTree(m_root, {entry});
        Recorder recorder;
        const SearchResult result = DoFind(m_root, recorder);
        QVERIFY2(!result.failed(), qPrintable(result.failure.Description));
        QCOMPARE(recorder.items, QStringList{fileName});
        const ScoreRecord &record = ScoreFiles[0];
        QCOMPARE(record.PlayCount, 1);
        QCOMPARE(record.FileName, fileName);
        QCOMPARE(record.FolderPath, QFile::decodeName(m_root) + folderSuffix);
        QCOMPARE(record.FilePath, record.FolderPath + fileName);
        QCOMPARE(record.NativePath, bytesKept ? m_root + '/' + entry : QByteArray());
    }

    void unreadableFile_data()
    {
        QTest::addColumn<QByteArray>("bad");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("size");
        QTest::newRow("score overflow")
            << QByteArray("b.rkf") << int(kErrOverflow) << QStringList{"a.rkf"} << 2;
        QTest::newRow("score overflow in a sub-folder")
            << QByteArray("S/b.rkf") << int(kErrOverflow) << QStringList{"a.rkf", "c.rkf"} << 3;
        QTest::newRow("dangling link")
            << QByteArray("link:b.rkf") << int(kErrFileNotFound) << QStringList{"a.rkf"} << 2;
    }

    // A file that cannot be read stops the search at once.
    void unreadableFile()
    {
        QFETCH(QByteArray, bad);
        QFETCH(int, number);
        QFETCH(QStringList, items);
        QFETCH(int, size);
        MakeTree(m_root, {"a.rkf", "c.rkf", "S/d.rkf"});
        MakeUnreadable(m_root, bad);
        Recorder recorder;
        const SearchResult result = DoFind(m_root, recorder);
        QCOMPARE(result.failure.Number, number);
        QCOMPARE(result.procedure, QStringLiteral("ReadRKF"));
        QCOMPARE(recorder.items, items);
        QCOMPARE(ScoreFiles.size(), size);
        QVERIFY(!SearchRunning());
    }

    // A report sees the files of the search in the same order, and ScoreFiles
    // stays as it was.
    void forEachInSearchOrder()
    {
        const QList<QByteArray> tree{
            "a.rkf",    "B.RKF",     "c.txt",         ".hidden.rkf",      "S/d.rkf",
            "S/d.rkf1", "S/T/e.rkf", "S/y.rkf/z.rkf", "x.rkf/inside.rkf", ".h/h.rkf"};
        MakeTree(m_root, tree);
        Recorder recorder;
        DoFind(m_root, recorder);
        QStringList paths;
        QList<int> playCounts;
        for (qsizetype k = 0; k + 1 < ScoreFiles.size(); ++k) {
            paths.append(ScoreFiles[k].FilePath);
            playCounts.append(ScoreFiles[k].PlayCount);
        }
        QCOMPARE(paths.size(), 6);

        ResetScoreFiles();
        Visits visits;
        const SearchResult result = ForEachScoreFile(m_root, visits);
        QVERIFY(!result.failed());
        QCOMPARE(result.found, 6);
        QCOMPARE(visits.paths, paths);
        QCOMPARE(visits.playCounts, playCounts);
        QCOMPARE(ScoreFiles.size(), 1);
        QVERIFY(ScoreFiles[0].FilePath.isEmpty());
    }

    void forEachUnreadable_data()
    {
        QTest::addColumn<QByteArray>("bad");
        QTest::addColumn<bool>("skip");
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<int>("number");
        QTest::newRow("skipped in the folder")
            << QByteArray("b.rkf") << true << QStringList{"a.rkf", "c.rkf", "S/d.rkf"} << 0;
        QTest::newRow("skipped first")
            << QByteArray("0.rkf") << true << QStringList{"a.rkf", "c.rkf", "S/d.rkf"} << 0;
        QTest::newRow("skipped last")
            << QByteArray("S/z.rkf") << true << QStringList{"a.rkf", "c.rkf", "S/d.rkf"} << 0;
        QTest::newRow("dangling link skipped")
            << QByteArray("link:b.rkf") << true << QStringList{"a.rkf", "c.rkf", "S/d.rkf"} << 0;
        QTest::newRow("not skipped: stops")
            << QByteArray("b.rkf") << false << QStringList{"a.rkf"} << int(kErrOverflow);
    }

    void forEachUnreadable()
    {
        QFETCH(QByteArray, bad);
        QFETCH(bool, skip);
        QFETCH(QStringList, read);
        QFETCH(int, number);
        MakeTree(m_root, {"a.rkf", "c.rkf", "S/d.rkf"});
        const QByteArray badName = MakeUnreadable(m_root, bad);
        Visits visits;
        visits.skip = skip;
        const SearchResult result = ForEachScoreFile(m_root, visits);
        QCOMPARE(result.failure.Number, number);
        QCOMPARE(result.procedure, number ? QStringLiteral("ReadRKF") : QString());
        QCOMPARE(result.found, int(read.size()));
        QCOMPARE(visits.skipped, QStringList{QString::fromUtf8(badName)});
        QStringList expected;
        for (const QString &entry : read)
            expected.append(QFile::decodeName(m_root) + '/' + entry);
        QCOMPARE(visits.paths, expected);
    }

    void countOverflow()
    {
        MakeTree(m_root, {"a.rkf"});
        Recorder recorder;
        std::int32_t count = std::numeric_limits<std::int32_t>::max();
        const SearchResult result = SubFind(m_root, count, recorder);
        QCOMPARE(result.failure.Number, int(kErrOverflow));
        QCOMPARE(result.procedure, QStringLiteral("SubFind"));
        QCOMPARE(count, std::numeric_limits<std::int32_t>::max());
        QCOMPARE(ScoreFiles.size(), 1);
    }

    void nestedSearchRefused()
    {
        MakeTree(m_root, {"one/a.rkf", "one/b.rkf", "two/z.rkf"});
        Recorder recorder;
        int nested = 0;
        recorder.onEvent = [&] {
            QVERIFY(SearchRunning());
            Recorder inner;
            const SearchResult result = DoFind(m_root + "/two/", inner);
            QCOMPARE(result.found, 0);
            QVERIFY(inner.items.isEmpty());
            ++nested;
        };
        const SearchResult result = DoFind(m_root + "/one/", recorder);
        QCOMPARE(nested, 2);
        QCOMPARE(result.found, 2);
        QCOMPARE(recorder.items, (QStringList{"a.rkf", "b.rkf"}));
        QCOMPARE(ScoreFiles.size(), 3);
        QCOMPARE(ScoreFiles[1].FileName, QStringLiteral("b.rkf"));
        QVERIFY(!SearchRunning());
    }
};

QTEST_GUILESS_MAIN(TestFolderSearch)
#include "test_folder_search.moc"
