// rkfreport run as a user runs it, on single files and on folders.

#include "RkfBytes.h"
#include "support/Failure.h"
#include "support/Privileges.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes a file at a path given as bytes (names need not be UTF-8).
void Write(const QByteArray &path, const QByteArray &bytes)
{
    const std::filesystem::path file = path.toStdString();
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.constData(), bytes.size());
}

// The CSV line of a file of the tree: one place named after the file, score 100, J-PTS 10.
QByteArray Line(const QByteArray &path, const QByteArray &name)
{
    return path + ", 1st," + name + ",100,10,0,0,0,0,0,0,0x,0x,SS,\xc3\x97,-- -- -- -- -- -- -- -- --\r\n";
}

// The JSON place of a file of the tree.
QByteArray JsonPlace(const QByteArray &name)
{
    return "{\"rank\":1,\"name\":\"" + name +
           "\",\"score\":100,\"jpts\":10,\"hs\":0,\"rhs\":0,\"maxCombo\":0,\"classCode\":0,\"class\":\"SS\","
           "\"cleared\":false,\"options\":[0,0,0,0,0],\"optionText\":\"-- -- -- -- -- -- -- -- "
           "--\",\"perfect\":0,"
           "\"great\":0,\"good\":0,\"bad\":0,\"poor\":0}";
}

// Bytes as JSON numbers: "47,116".
QByteArray ByteNumbers(const QByteArray &bytes)
{
    QByteArrayList numbers;
    for (const char c : bytes)
        numbers << QByteArray::number(uchar(c));
    return numbers.join(',');
}

const char kOverviewHeader[] = "Path,PlayCount,Cleared,Places,Name,Score,J-PTS,Class,Clear,MAX "
                               "COMBO,Perfect,Great,Good,Bad,Poor,Option\r\n";

// The few non-ASCII characters of these outputs in code page 932, mapped by hand.
QByteArray Cp932(QByteArray text)
{
    text.replace("ＡＢ", "\x82\x60\x82\x61").replace("○", "\x81\x9b");
    return text.replace("×", "\x81\x7e").replace("回", "\x89\xf1");
}

// The start of the help text, up to the end of its first line.
const char kHelpStart[] = "Usage: rkfreport [OPTION]... PATH...\n";

// The options --help names: the first column of its lines that start with
// spaces and a hyphen ("--encoding=ENC" as "--encoding="), "--" left out.
QStringList HelpOptions()
{
    QProcess help;
    help.start(RKFREPORT_PATH, {"--help"});
    if (!help.waitForFinished(60000))
        return {};
    static const QRegularExpression line("^ {2,6}(-[^ ,]*(?:, -[^ ,]*)?)",
                                         QRegularExpression::MultilineOption);
    QStringList named;
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (auto it = line.globalMatch(text); it.hasNext();) {
        for (QString name : it.next().captured(1).split(", ")) {
            if (name.contains('='))
                name = name.left(name.indexOf('=') + 1);
            if (name != "--")
                named << name;
        }
    }
    named.removeDuplicates();
    return named;
}

} // namespace

class TestRkfreport : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QByteArray m_dir; // canonical, and the program's current folder

  private slots:
    void cleanupTestCase() { std::filesystem::remove_all(m_dir.toStdString()); } // names QDir cannot decode
    void initTestCase()
    {
        QVERIFY(!(m_dir = QFile::encodeName(QDir(m_tmp.path()).canonicalPath())).isEmpty());
        // A cleared chart played 12 times: two places, an empty one, then one (only a score) never shown.
        RkfBytes b;
        b.playCount(12).trailer(1).clearMark(0, -1).name(0, "\x82\x60\x82\x61").score(0, 1845).jpts(0, 1290);
        b.hs(0, 2.5f).rhs(0, 3).maxCombo(0, 812).judge(0, 700, 90, 12, 2, 1).option(0, 1, 3).option(0, 2, 1);
        b.option(0, 5, 1).name(1, "kaz").score(1, 987).jpts(1, 345).hs(1, 0.75f).rhs(1, 1.75f);
        b.maxCombo(1, 512).classCode(1, 2).judge(1, 400, 100, 10, 1, 0).name(3, "HIDDEN").score(3, 5);
        Write(m_dir + "/chart.rkf", b.bytes());
        Write(m_dir + "/--csv", b.bytes());
        // A folder tree whose score files hold one place named after the file.
        for (const QByteArray path : {"A.rkf", "b.rkf", "x.txt", "S/c.rkf", "S/T/d.rkf", "x,y/a.rkf",
                                      "y.rkf/e.rkf", "J/\x83\x5c.rkf"}) {
            const QByteArray stem = path.mid(path.lastIndexOf('/') + 1).chopped(4);
            Write(m_dir + "/tree/" + path, RkfBytes().name(0, stem).score(0, 100).jpts(0, 10).bytes());
        }
        Write(m_dir + "/tree/bad.rkf", RkfBytes().score(0, 3e9f).bytes());
        Write(m_dir + "/tree/S/empty.rkf", QByteArray());
    }

    // A sub-folder that cannot be listed is reported like an unreadable file;
    // the others are still reported.
    void unlistableSubFolder()
    {
        const QByteArray top = m_dir + "/locked";
        for (const QByteArray name : {"a.rkf", "L/b.rkf", "M/c.rkf"}) {
            const QByteArray stem = name.mid(name.lastIndexOf('/') + 1).chopped(4);
            Write(top + "/" + name, RkfBytes().name(0, stem).score(0, 100).jpts(0, 10).bytes());
        }
        QCOMPARE(::chmod((top + "/L").constData(), 0), 0);
        QProcess process;
        // As root, without the capabilities that pass file permissions.
        process.setChildProcessModifier([] {
            if (!DropFileOverridesForGood())
                ::_exit(77);
        });
        process.start(RKFREPORT_PATH, {"--csv", "--path-column", QFile::decodeName(top)});
        QVERIFY(process.waitForFinished(60000));
        ::chmod((top + "/L").constData(), 0755);
        if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 77)
            QSKIP("as root, the capabilities that pass file permissions could not be dropped");
        QCOMPARE(process.readAllStandardOutput(), Line(top + "/a.rkf", "a") + Line(top + "/M/c.rkf", "c"));
        QCOMPARE(process.readAllStandardError(),
                 "rkfreport: " + top + "/L: " + MakeFailure(kErrPermissionDenied).Description.toUtf8() +
                     "\n");
        QCOMPARE(process.exitCode(), 1);
    }

    void run_data()
    {
        QTest::addColumn<QStringList>("args"); // {dir} stands for the current folder
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("status");
        const QByteArray missing = "rkfreport: missing.rkf: " + MakeFailure(53).Description.toUtf8() + "\n";
        const QByteArray bad = "rkfreport: {dir}/tree/bad.rkf: " + MakeFailure(6).Description.toUtf8() + "\n";
        const QStringList paths{"--csv", "--path-column"};
        // clang-format off
        const QByteArray head = "{dir}/chart.rkf\r\n[○ CLEARED] PlayCount:12回\r\n\r\n", end = QByteArray(81, '-') + "\r\n";
        const QByteArray row1 = " 1st :       ＡＢ :   1845 :   1290 :  2.5x : 3.0x :  812 : SS : ○\r\nPerfect  700 Great   90 Good   12 Bad    2 Poor    1 : Hi Su -- Rn -- -- -- -- 4D\r\n";
        const QByteArray row2 = " 2nd :      kaz :    987 :    345 :  0.8x : 1.8x :  512 :  A : ×\r\nPerfect  400 Great  100 Good   10 Bad    1 Poor    0 : -- -- -- -- -- -- -- -- --\r\n";
        const QByteArray csv1 = " 1st,ＡＢ,1845,1290,700,90,12,2,1,812,2.5x,3x,SS,○,Hi Su -- Rn -- -- -- -- 4D\r\n";
        const QByteArray csv2 = " 2nd,kaz,987,345,400,100,10,1,0,512,0.75x,1.75x, A,×,-- -- -- -- -- -- -- -- --\r\n";
        QTest::newRow("report of a relative name") << QStringList{"chart.rkf"} << head + row1 + row2 + end << QByteArray() << 0;
        QTest::newRow("report, cp932") << QStringList{"--encoding", "cp932", "{dir}/chart.rkf"} << Cp932(head + row1 + row2 + end) << QByteArray() << 0;
        QTest::newRow("CSV, cp932, top only") << QStringList{"--csv", "--top-only", "--encoding=cp932", "chart.rkf"} << Cp932(csv1) << QByteArray() << 0;
        QTest::newRow("missing file among good ones") << QStringList{"--csv", "chart.rkf", "missing.rkf", "chart.rkf"} << csv1 + csv2 + csv1 + csv2 << missing << 1;
        QTest::newRow("folder: the search's files in its order, a bad file skipped") << paths + QStringList{"{dir}/tree"} << Line("{dir}/tree/A.rkf", "A") + Line("{dir}/tree/b.rkf", "b") + Line("{dir}/tree/J/\xe3\x82\xbd.rkf", "\xe3\x82\xbd") + Line("{dir}/tree/S/c.rkf", "c") + "{dir}/tree/S/empty.rkf,\r\n" + Line("\"{dir}/tree/x,y/a.rkf\"", "a") + Line("{dir}/tree/y.rkf/e.rkf", "e") << bad << 1;
        QTest::newRow("code page 932 file name, cp932") << paths + QStringList{"--encoding", "cp932", "{dir}/tree/J"} << Cp932(Line("{dir}/tree/J/\x83\x5c.rkf", "\x83\x5c")) << QByteArray() << 0;
        QTest::newRow("overview CSV: a file and a failure") << QStringList{"--overview", "--csv", "tree/b.rkf", "missing.rkf"} << kOverviewHeader + QByteArray("{dir}/tree/b.rkf,0,\xc3\x97,1,b,100,10,SS,\xc3\x97,0,0,0,0,0,0,-- -- -- -- -- -- -- -- --\r\n") << missing << 1;
        QTest::newRow("JSON: a code page 932 file name, its bytes beside") << QStringList{"--json", "{dir}/tree/J"} << "{\"path\":\"{dir}/tree/J/\xe3\x82\xbd.rkf\",\"pathBytes\":[{dirBytes},47,116,114,101,101,47,74,47,131,92,46,114,107,102],\"playCount\":0,\"cleared\":false,\"places\":[" + JsonPlace("\xe3\x82\xbd") + "]}\n" << QByteArray() << 0;
        QTest::newRow("JSON overview, --encoding utf-8 allowed") << QStringList{"tree/S/c.rkf", "--json", "--encoding=utf-8", "--overview", "tree/S/empty.rkf"} << "{\"path\":\"{dir}/tree/S/c.rkf\",\"playCount\":0,\"cleared\":false,\"placeCount\":1,\"first\":" + JsonPlace("c") + "}\n{\"path\":\"{dir}/tree/S/empty.rkf\",\"playCount\":0,\"cleared\":false,\"placeCount\":0,\"first\":null}\n" << QByteArray() << 0;
        const QByteArray tryHelp = "\nTry 'rkfreport --help'.\n";
        QTest::newRow("usage: no file") << QStringList{"--csv"} << QByteArray() << "rkfreport: no PATH given" + tryHelp << 2;
        QTest::newRow("usage: --path-column needs --csv") << QStringList{"--path-column", "chart.rkf"} << QByteArray() << "rkfreport: --path-column needs --csv" + tryHelp << 2;
        QTest::newRow("usage: --path-column with --overview") << QStringList{"--overview", "--csv", "--path-column", "chart.rkf"} << QByteArray() << "rkfreport: --path-column does not go with --overview (the path is its first column)" + tryHelp << 2;
        QTest::newRow("usage: --json is UTF-8 only") << QStringList{"--json", "--encoding", "cp932", "chart.rkf"} << QByteArray() << "rkfreport: --json writes UTF-8 only: --encoding cp932 does not go with it" + tryHelp << 2;
        QTest::newRow("usage: --json with --csv") << QStringList{"--json", "--csv", "chart.rkf"} << QByteArray() << "rkfreport: --json and --csv do not go together" + tryHelp << 2;
        QTest::newRow("usage: unknown encoding") << QStringList{"--encoding=latin1", "chart.rkf"} << QByteArray() << "rkfreport: invalid encoding 'latin1' (utf-8 or cp932)" + tryHelp << 2;
        QTest::newRow("-V before a bad option") << QStringList{"-V", "--bogus"} << QByteArray("rkfreport 0.0.0.50\n") << QByteArray() << 0;
        QTest::newRow("-h after paths") << QStringList{"chart.rkf", "-h"} << QByteArray(kHelpStart) << QByteArray() << 0;
        QTest::newRow("-- ends the options: a file named --csv") << QStringList{"--top-only", "--", "--csv"} << QByteArray(head).replace("chart.rkf", "--csv") + row1 + end << QByteArray() << 0;
        QTest::newRow("control characters in a name never reach the terminal") << QStringList{"a\x1b[2Jb\n.rkf"} << QByteArray() << "rkfreport: a\xef\xbf\xbd[2Jb\xef\xbf\xbd.rkf: " + MakeFailure(53).Description.toUtf8() + "\n" << 1;
        QTest::newRow("\"-\" is a path") << QStringList{"-"} << QByteArray() << QByteArray("rkfreport: -: ") + MakeFailure(53).Description.toUtf8() + "\n" << 1;
        // clang-format on
    }
    void run()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(int, status);
        args.replaceInStrings("{dir}", QFile::decodeName(m_dir));
        QProcess process;
        process.setWorkingDirectory(QFile::decodeName(m_dir));
        process.start(RKFREPORT_PATH, args);
        QVERIFY(process.waitForFinished(60000));
        const QByteArray output = process.readAllStandardOutput();
        if (out == kHelpStart) // the help text: its first line, then more
            QVERIFY2(output.startsWith(out) && output.size() > out.size(), output.constData());
        else
            QCOMPARE(output, out.replace("{dir}", m_dir).replace("{dirBytes}", ByteNumbers(m_dir)));
        const QByteArray errors = process.readAllStandardError();
        QCOMPARE(errors, err.replace("{dir}", m_dir));
        QCOMPARE(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, status);
    }

    // The overview's text table: widths fitted to the path, then the totals.
    void overviewText()
    {
        QProcess process;
        process.setWorkingDirectory(QFile::decodeName(m_dir));
        process.start(RKFREPORT_PATH, {"--overview", "tree/S/c.rkf", "missing.rkf"});
        QVERIFY(process.waitForFinished(60000));
        const QByteArray path = m_dir + "/tree/S/c.rkf";
        // clang-format off
        const QByteArray expected =
            QByteArray("Path").leftJustified(path.size() + 2) + "PlayCount  Cleared  Places  Name  Score  J-PTS  Class  Clear  MAX COMBO  Perfect  Great  Good  Bad  Poor  Option\r\n" +
            QByteArray(path.size(), '-') + "  ---------  -------  ------  ----  -----  -----  -----  -----  ---------  -------  -----  ----  ---  ----  --------------------------\r\n" +
            path + "          0  ×             1  c       100     10  SS     ×              0        0      0     0    0     0  -- -- -- -- -- -- -- -- --\r\n"
            "\r\nFiles read          1\r\nFiles failed        1\r\nCharts cleared      0\r\nCharts not cleared  1\r\n"
            "First places        SS 1  S 0  A 0  B 0  C 0  D 0  E 0  none 0\r\nPlays in all        0\r\n";
        // clang-format on
        QCOMPARE(process.readAllStandardOutput(), expected);
        QCOMPARE(process.readAllStandardError(),
                 "rkfreport: missing.rkf: " + MakeFailure(53).Description.toUtf8() + "\n");
        QCOMPARE(process.exitCode(), 1);
    }

    // A file name in code page 932 given as an argument reaches the file as
    // its bytes (the shell makes them: a process cannot be given them as text).
    void shiftJisArgument()
    {
        QProcess process;
        process.setWorkingDirectory(QFile::decodeName(m_dir) + "/tree");
        process.start("/bin/sh",
                      {"-c", "\"$0\" --csv --path-column \"$(printf 'J/\\203\\134.rkf')\"", RKFREPORT_PATH});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QCOMPARE(process.readAllStandardOutput(), Line(m_dir + "/tree/J/\xe3\x82\xbd.rkf", "\xe3\x82\xbd"));
        QCOMPARE(process.exitCode(), 0);
    }

    // Standard output that cannot take the text; the shell runs rkfreport as
    // "$0" with the arguments.
    void outputFailure_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("status");
        QStringList many{"--csv"}; // far more than a pipe holds
        for (int i = 0; i < 3000; ++i)
            many << "chart.rkf";
        const QByteArray full = "rkfreport: write error: No space left on device\n";
        const QString status = QStringLiteral("echo \"status $?\" >&2");
        // clang-format off
        QTest::newRow("full disk") << QString("\"$0\" \"$@\" >/dev/full") << QStringList{"chart.rkf"} << full << 1;
        QTest::newRow("broken pipe: quiet") << "{ \"$0\" \"$@\"; " + status + "; } | head -c 10 >/dev/null" << many << QByteArray("status 141\n") << 0;
        QTest::newRow("broken pipe, signal ignored: quiet") << "trap '' PIPE; { \"$0\" \"$@\"; " + status + "; } | head -c 10 >/dev/null" << many << QByteArray("status 1\n") << 0;
        // clang-format on
    }
    void outputFailure()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, err);
        QFETCH(int, status);
        QProcess process;
        process.setWorkingDirectory(QFile::decodeName(m_dir));
        process.start("/bin/sh", QStringList{"-c", script, RKFREPORT_PATH} + args);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.readAllStandardError(), err);
        QCOMPARE(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, status);
    }

    // Standard error closed, as some launchers start programs: the overview's rows wait in a
    // temporary file (past 4 MiB) and a failure is reported meanwhile; the file must not take the
    // closed descriptor and the message with it, so the output is as with standard error open.
    void closedStandardError()
    {
        const QByteArray folder = m_dir + "/" + QByteArray(200, 'L'); // rows of some 400 bytes
        Write(folder + "/c.rkf", RkfBytes().name(0, "x").score(0, 1).bytes());
        QStringList args{"--overview"};
        for (int i = 0; i < 12000; ++i)
            args << "c.rkf";
        args << "missing.rkf"
             << "c.rkf";
        QByteArray outputs[2];
        for (const int closed : {0, 1}) {
            QProcess process;
            process.setWorkingDirectory(QFile::decodeName(folder));
            process.start("/bin/sh",
                          QStringList{"-c", closed ? "\"$0\" \"$@\" 2>&-" : "\"$0\" \"$@\" 2>/dev/null",
                                      RKFREPORT_PATH} +
                              args);
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.exitCode(), 1);
            outputs[closed] = process.readAllStandardOutput();
        }
        QCOMPARE(outputs[1].count('\n'), outputs[0].count('\n'));
        QVERIFY(outputs[1] == outputs[0]);
    }

    // --output: the file is replaced only once everything is written; on any
    // failure it stays whole and the reason is named. Faults are injected
    // with strace; the second user is nobody (setpriv).
    void outputFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("prefix"); // the command that runs rkfreport
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<bool>("replaced");
        const QString strace = "strace -f -qq -o /dev/null -e inject=";
        const QString nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";
        const QByteArray io = "rkfreport: out.txt: 入出力エラーが発生しました。\n";
        // clang-format off
        QTest::newRow("new file") << "new" << "" << 0 << QByteArray() << true;
        QTest::newRow("in place, truncate fails: the old content back") << "hard link" << strace + "ftruncate:error=EIO" << 1 << io << false;
        QTest::newRow("in place, terminated amid the rewrite: the new content whole") << "hard link" << strace + "pwrite64:signal=SIGTERM:when=2" << -1 << QByteArray() << true;
        QTest::newRow("sync fails: the old file stays") << "old" << strace + "fsync,fdatasync:error=EIO" << 1 << io << false;
        QTest::newRow("linking fails") << "old" << strace + "linkat:error=EMLINK" << 1 << QByteArray("rkfreport: out.txt: リンクが多すぎます。\n") << false;
        QTest::newRow("rename fails") << "old" << strace + "rename,renameat,renameat2:error=EIO" << 1 << io << false;
        QTest::newRow("another user: a third user's link in a shared folder") << "shared link" << nobody << 1 << QByteArray("rkfreport: shared/out.txt: 共有フォルダーにあるほかのユーザーのシンボリック リンクなので、たどりません。\n") << false;
        QTest::newRow("another user: a group not theirs kept, in place") << "foreign group" << nobody << 0 << QByteArray() << true;
        // clang-format on
    }

    void outputFile()
    {
        QFETCH(QString, setup);
        QFETCH(QString, prefix);
        QFETCH(int, status);
        QFETCH(QByteArray, err);
        QFETCH(bool, replaced);
        if (prefix.startsWith("strace") && QStandardPaths::findExecutable("strace").isEmpty())
            QSKIP("strace is not installed");
        if (prefix.startsWith("setpriv") && ::geteuid() != 0)
            QSKIP("running as another user needs root");
        QTemporaryDir tmp;
        const QString work = tmp.path();
        const QByteArray old(5000, 'o'); // longer than the report: in place, the file is cut
        const QString out = setup == "shared link" ? work + "/shared/out.txt" : work + "/out.txt";
        const QString checked = setup == "shared link" ? work + "/victim.txt" : out;
        if (setup != "new")
            WriteTestFile(work, QFileInfo(checked).fileName(), old);
        const QByteArray outNative = QFile::encodeName(out);
        if (setup == "hard link")
            QCOMPARE(::link(outNative.constData(), QFile::encodeName(work + "/other").constData()), 0);
        // Everything the other user needs: the program, the score file, the folders.
        QCOMPARE(::chmod(QFile::encodeName(work).constData(), 0755), 0);
        QCOMPARE(::chmod(m_dir.constData(), 0755), 0);
        if (setup == "shared link") {
            QVERIFY(QDir(work).mkdir("shared"));
            QCOMPARE(::chmod(QFile::encodeName(work + "/shared").constData(), 01777), 0);
            QCOMPARE(::chown(QFile::encodeName(checked).constData(), 65534, 65534), 0);
            QCOMPARE(::chmod(QFile::encodeName(checked).constData(), 0600), 0);
            QVERIFY(QFile::link(checked, out));
            QCOMPARE(::lchown(outNative.constData(), 4242, 4242), 0);
        }
        if (setup == "foreign group") {
            QCOMPARE(::chown(QFile::encodeName(work).constData(), 65534, 65534), 0);
            QCOMPARE(::chown(outNative.constData(), 65534, 0), 0);
            QCOMPARE(::chmod(outNative.constData(), 0664), 0);
        }
        struct stat before {};
        ::lstat(QFile::encodeName(checked).constData(), &before);
        QStringList files = QDir(work).entryList(QDir::Files | QDir::Hidden);
        if (setup == "new" && replaced)
            files << "out.txt";

        QProcess process;
        process.setWorkingDirectory(work);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ASAN_OPTIONS",
                   env.value("ASAN_OPTIONS") + ":detect_leaks=0"); // no leak check under strace
        process.setProcessEnvironment(env);
        const QString name = QDir(work).relativeFilePath(out);
        process.start("/bin/sh", {"-c", "exec " + prefix + " \"$0\" \"$@\"", RKFREPORT_PATH, "-o", name,
                                  m_dir + "/chart.rkf"});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.readAllStandardError(), err);
        QCOMPARE(process.exitStatus() == QProcess::NormalExit && process.exitCode() < 128 ? process.exitCode()
                                                                                          : -1,
                 status);
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        QProcess plain; // the report, as standard output has it
        plain.start(RKFREPORT_PATH, {m_dir + "/chart.rkf"});
        QVERIFY(plain.waitForFinished(60000));
        QCOMPARE(ReadTestFile(checked), replaced ? plain.readAllStandardOutput() : old);
        struct stat after {};
        ::lstat(QFile::encodeName(checked).constData(), &after);
        if (setup == "hard link" || setup == "foreign group") { // the file itself was rewritten
            QCOMPARE(after.st_ino, before.st_ino);
            QCOMPARE(after.st_gid, before.st_gid);
        }
        if (setup == "hard link")
            QCOMPARE(ReadTestFile(work + "/other"), ReadTestFile(out));
        QCOMPARE(QDir(work).entryList(QDir::Files | QDir::Hidden), files); // no temporary file left
    }

    // The bash completion: the words typed, the one completed, what it offers.
    void completion_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("offered");
        // clang-format off
        QTest::newRow("value after --encoding") << QStringList{"rkfreport", "--encoding", ""} << QStringList{"utf-8", "cp932"};
        QTest::newRow("value after --encoding=, split at =") << QStringList{"rkfreport", "--encoding", "=", "c"} << QStringList{"cp932"};
        QTest::newRow("paths are left to the shell") << QStringList{"rkfreport", "sam"} << QStringList{};
        QTest::newRow("a file name after -o") << QStringList{"rkfreport", "-o", "--c"} << QStringList{};
        // clang-format on
        const QStringList named = HelpOptions();
        QVERIFY2(named.size() >= 10, qPrintable(named.join(' ')));
        for (const QString &name : named)
            QTest::addRow("offers %s from --help", qPrintable(name))
                << QStringList{"rkfreport", name.endsWith('=') ? name.chopped(1) : name} << QStringList{name};
    }
    void completion()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, offered);
        QProcess bash;
        bash.start("bash", QStringList{"-c",
                                       "source \"$0\" && COMP_WORDS=(\"$@\") && COMP_CWORD=$(($# - 1)) && "
                                       "_rkfreport && printf '%s\\n' \"${COMPREPLY[@]}\"",
                                       COMPLETION_PATH} +
                               words);
        QVERIFY(bash.waitForFinished(60000));
        const QString out = QString::fromUtf8(bash.readAllStandardOutput());
        QCOMPARE(out.split('\n', Qt::SkipEmptyParts), offered);
    }
};

QTEST_GUILESS_MAIN(TestRkfreport)
#include "test_rkfreport.moc"
