// rkfreport run as a user runs it, on single files and on folders.

#include "support/Failure.h"
#include "support/Privileges.h"
#include "support/RkfBytes.h"

#include <QDir>
#include <QProcess>
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

// The few non-ASCII characters of these outputs in code page 932, mapped by hand.
QByteArray Cp932(QByteArray text)
{
    text.replace("ＡＢ", "\x82\x60\x82\x61").replace("○", "\x81\x9b");
    return text.replace("×", "\x81\x7e").replace("回", "\x89\xf1");
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
        QTest::addColumn<QByteArray>("err"); // for a usage error, a part of it
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
        QTest::newRow("report, top only") << QStringList{"--top-only", "chart.rkf"} << head + row1 + end << QByteArray() << 0;
        QTest::newRow("CSV") << QStringList{"--csv", "chart.rkf"} << csv1 + csv2 << QByteArray() << 0;
        QTest::newRow("CSV, cp932, top only") << QStringList{"--csv", "--top-only", "--encoding=cp932", "chart.rkf"} << Cp932(csv1) << QByteArray() << 0;
        QTest::newRow("missing file among good ones") << QStringList{"--csv", "chart.rkf", "missing.rkf", "chart.rkf"} << csv1 + csv2 + csv1 + csv2 << missing << 1;
        QTest::newRow("folder: the search's files in its order, a bad file skipped") << paths + QStringList{"{dir}/tree"} << Line("{dir}/tree/A.rkf", "A") + Line("{dir}/tree/b.rkf", "b") + Line("{dir}/tree/J/\xe3\x82\xbd.rkf", "\xe3\x82\xbd") + Line("{dir}/tree/S/c.rkf", "c") + "{dir}/tree/S/empty.rkf,\r\n" + Line("\"{dir}/tree/x,y/a.rkf\"", "a") + Line("{dir}/tree/y.rkf/e.rkf", "e") << bad << 1;
        QTest::newRow("relative folder, one level down") << paths + QStringList{"tree/S"} << Line("{dir}/tree/S/c.rkf", "c") + "{dir}/tree/S/empty.rkf,\r\n" + Line("{dir}/tree/S/T/d.rkf", "d") << QByteArray() << 0;
        QTest::newRow("code page 932 file name, cp932") << paths + QStringList{"--encoding", "cp932", "{dir}/tree/J"} << Cp932(Line("{dir}/tree/J/\x83\x5c.rkf", "\x83\x5c")) << QByteArray() << 0;
        QTest::newRow("usage: no file") << QStringList{"--csv"} << QByteArray() << QByteArray("usage: rkfreport") << 2;
        QTest::newRow("usage: unknown option") << QStringList{"--bogus", "chart.rkf"} << QByteArray() << QByteArray("usage: rkfreport") << 2;
        QTest::newRow("usage: --path-column needs --csv") << QStringList{"--path-column", "chart.rkf"} << QByteArray() << QByteArray("--path-column needs --csv") << 2;
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
        QCOMPARE(process.readAllStandardOutput(), out.replace("{dir}", m_dir));
        const QByteArray errors = process.readAllStandardError();
        if (status == 2)
            QVERIFY2(errors.contains(err), errors.constData());
        else
            QCOMPARE(errors, err.replace("{dir}", m_dir));
        QCOMPARE(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, status);
    }
};

QTEST_GUILESS_MAIN(TestRkfreport)
#include "test_rkfreport.moc"
