// Where the settings file and the error log live, and the program folder
// taken from the executable's own path.

#include "RkfBytes.h"
#include "platform/FileNames.h"
#include "search/FolderSearch.h"
#include "support/FileLocations.h"

#include <QtTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

Q_DECLARE_METATYPE(LocationFacts)

namespace {

// Records the folder path the search gives each file.
struct FolderNames : ScoreFileVisitor {
    QStringList folders;
    void visit(const ScoreRecord &record) override { folders.append(record.FolderPath); }
    bool skipUnreadable(const ScoreRecord &, const Failure &) override { return false; }
    void skipUnlistable(const QByteArray &, const Failure &) override {}
};

} // namespace

class TestFileLocations : public QObject {
    Q_OBJECT

  private slots:
    void locate_data()
    {
        QTest::addColumn<LocationFacts>("facts");
        QTest::addColumn<QString>("appPath");
        QTest::addColumn<QString>("config"); // empty: beside the program (AppPath), log named "error.txt"
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("firstReadDir");
        using B = QByteArray;
        const QString homeConfig = "/home/u/.config/rkfview/";
        const QString homeState = "/home/u/.local/state/rkfview/";
        // clang-format off
        QTest::newRow("portable copy in a writable folder") << LocationFacts{B("/opt/rkf"), B("/usr/bin"), false, true, B(), B(), B("/home/u")} << "/opt/rkf/" << QString() << QString() << "/opt/rkf/";
        QTest::newRow("portable copy, read-only folder with its ini") << LocationFacts{B("/opt/rkf/"), B("/usr/bin"), true, false, B(), B(), B("/home/u")} << "/opt/rkf/" << QString() << QString() << "/opt/rkf/";
        QTest::newRow("read-only folder without an ini") << LocationFacts{B("/opt/rkf/"), B("/usr/bin"), false, false, B(), B(), B("/home/u")} << "/opt/rkf/" << homeConfig << homeState << "/home/u/";
        QTest::newRow("installed bindir, writable (root) with an ini") << LocationFacts{B("/usr/bin/"), B("/usr/bin"), true, true, B(), B(), B("/root")} << "/usr/bin/" << "/root/.config/rkfview/" << "/root/.local/state/rkfview/" << "/root/";
        QTest::newRow("absolute XDG folders") << LocationFacts{B("/usr/bin/"), B("/usr/bin"), false, false, B("/cfg"), B("/st/"), B("/home/u")} << "/usr/bin/" << "/cfg/rkfview/" << "/st/rkfview/" << "/home/u/";
        QTest::newRow("relative XDG folders are ignored") << LocationFacts{B("/usr/bin/"), B("/usr/bin"), false, false, B("cfg"), B("./st"), B("/home/u")} << "/usr/bin/" << homeConfig << homeState << "/home/u/";
        QTest::newRow("XDG folders without a home folder") << LocationFacts{B("/usr/bin/"), B("/usr/bin"), false, false, B("/cfg"), B("/st"), B()} << "/usr/bin/" << "/cfg/rkfview/" << "/st/rkfview/" << "/usr/bin/";
        QTest::newRow("no home folder, no XDG folders: beside the program") << LocationFacts{B("/usr/bin/"), B("/usr/bin"), false, false, B(), B(), B()} << "/usr/bin/" << QString() << QString() << "/usr/bin/";
        QTest::newRow("relative home folder counts as none") << LocationFacts{B("/usr/bin/"), B("/usr/bin"), false, false, B(), B("/st"), B("home")} << "/usr/bin/" << QString() << QString() << "/usr/bin/";
        QTest::newRow("program in the root folder") << LocationFacts{B("/"), B("/usr/bin"), false, true, B(), B(), B("/home/u")} << "/" << QString() << QString() << "/";
        QTest::newRow("Latin-1 folder name, writable: not reachable by its shown name") << LocationFacts{B("/opt/caf\xe9/"), B("/usr/bin"), false, true, B(), B(), B("/home/u")} << platform::DisplayPath("/opt/caf\xe9/") << homeConfig << homeState << "/home/u/";
        QTest::newRow("Shift_JIS folder name shown in Japanese") << LocationFacts{B("/opt/\x83\x51\x81\x5b\x83\x80/"), B("/usr/bin"), false, true, B(), B(), B("/home/u")} << QString::fromUtf8("/opt/ゲーム/") << homeConfig << homeState << "/home/u/";
        // clang-format on
    }

    void locate()
    {
        QFETCH(LocationFacts, facts);
        QFETCH(QString, appPath);
        QFETCH(QString, config);
        QFETCH(QString, state);
        QFETCH(QString, firstReadDir);
        const FileLocations places = LocateFiles(facts);
        QCOMPARE(places.appPath, appPath);
        QCOMPARE(places.besideProgram, config.isEmpty());
        QCOMPARE(places.configFolder, config.isEmpty() ? appPath : config);
        QCOMPARE(places.logFolder, state.isEmpty() ? appPath : state);
        QCOMPARE(places.logShownAs, state.isEmpty() ? "error.txt" : state + "error.txt");
        QCOMPARE(places.firstReadDir, firstReadDir);
    }

    // The running program finds its folder by the bytes of its own path and
    // names it as the folder search names the same folder.
    void programFolderFromTheExecutable_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("Latin-1, not valid UTF-8") << QByteArray("caf\xe9");
        QTest::newRow("Shift_JIS, not valid UTF-8") << QByteArray("\x83\x51\x81\x5b\x83\x80");
    }

    void programFolderFromTheExecutable()
    {
        QFETCH(QByteArray, name);
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + '/' + name + '/';
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        // Named by their bytes, whatever the encoding.
        QVERIFY(std::filesystem::copy_file(PRINT_APP_PATH, (folder + "print_app_path").toStdString()));
        const QByteArray chart = RkfBytes().playCount(1).bytes();
        QVERIFY(std::ofstream((folder + "chart.rkf").toStdString()).write(chart.constData(), chart.size()));

        // Started by the bytes of its path: a name that is not valid UTF-8
        // cannot be given to QProcess.
        std::FILE *run = ::popen(("'" + folder + "print_app_path'").constData(), "r");
        QVERIFY(run);
        QByteArray output;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, run)) > 0;)
            output.append(buffer, qsizetype(n));
        QCOMPARE(::pclose(run), 0);
        const QList<QByteArray> lines = output.split('\n');
        QVERIFY(lines.size() >= 3);
        QCOMPARE(QByteArray::fromHex(lines[0]), folder);

        FolderNames search;
        QVERIFY(!ForEachScoreFile(folder, search).failed());
        QCOMPARE(search.folders.size(), 1);
        QCOMPARE(QString::fromUtf8(QByteArray::fromHex(lines[1])), search.folders[0]);
        QVERIFY(search.folders[0] != "/");
    }
};

QTEST_GUILESS_MAIN(TestFileLocations)
#include "test_file_locations.moc"
