// rkfreport given folders: the files the viewer's search finds, in its order.

#include "support/RkfBytes.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

namespace {

// The bytes of a test score file, chosen by its name: "bad…" holds a score
// out of range, "empty…" no ranking, any other one place named P<n> with
// score n*100 and J-PTS n*10.
QByteArray ScoreBytes(const QByteArray &name, int n)
{
    if (name.startsWith("bad"))
        return RkfBytes().score(0, 3.0e9f).bytes();
    if (name.startsWith("empty"))
        return RkfBytes().bytes();
    return RkfBytes().name(0, "P" + QByteArray::number(n)).score(0, n * 100.0f).jpts(0, n * 10.0f).bytes();
}

// Writes the files of a tree (n = position in the list plus one).
void MakeTree(const QString &root, const QList<QByteArray> &files)
{
    for (qsizetype i = 0; i < files.size(); ++i) {
        const std::filesystem::path path = (QFile::encodeName(root) + '/' + files[i]).toStdString();
        std::filesystem::create_directories(path.parent_path());
        const QByteArray bytes = ScoreBytes(QByteArray::fromStdString(path.filename().string()), int(i + 1));
        QFile file;
        QVERIFY(file.open(std::fopen(path.c_str(), "wb"), QIODevice::WriteOnly, QFile::AutoCloseHandle));
        QCOMPARE(file.write(bytes), bytes.size());
    }
}

// The CSV line of a file P<n> behind its path field.
QByteArray Line(const QByteArray &path, int n)
{
    return path + ", 1st,P" + QByteArray::number(n) + ',' + QByteArray::number(n * 100) + ',' +
           QByteArray::number(n * 10) + ",0,0,0,0,0,0,0x,0x,SS,\xc3\x97,-- -- -- -- -- -- -- -- --\r\n";
}

struct Run {
    QByteArray out;
    QByteArray err;
    int status = -1;
};

Run RunReport(const QStringList &args, const QString &workingDir)
{
    QProcess process;
    process.setWorkingDirectory(workingDir);
    process.start(QStringLiteral(RKFREPORT_PATH), args);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    run.status = process.exitCode();
    return run;
}

} // namespace

class TestRkfreportFolders : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString root() const { return m_dir->path(); }
    QByteArray rootBytes() const { return QFile::encodeName(root()); }

  private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        std::error_code error;
        std::filesystem::remove_all(rootBytes().toStdString(), error);
        m_dir.reset();
    }

    void report_data()
    {
        QTest::addColumn<QList<QByteArray>>("tree");
        QTest::addColumn<QStringList>("args"); // "{root}" stands for the temporary folder
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("status");
        using L = QList<QByteArray>;
        const QStringList csvPath{"--csv", "--path-column"};
        const L tree{"b.rkf", "A.rkf", "S/c.rkf", "S/T/d.rkf", "x.txt", "y.rkf/e.rkf"};

        QTest::newRow("viewer order, sub-folders one level down")
            << tree << csvPath + QStringList{"{root}"}
            << Line("{root}/A.rkf", 2) + Line("{root}/b.rkf", 1) + Line("{root}/S/c.rkf", 3) +
                   Line("{root}/y.rkf/e.rkf", 6)
            << QByteArray() << 0;
        QTest::newRow("relative folder reported with absolute paths")
            << tree << csvPath + QStringList{"./S/"}
            << Line("{root}/S/c.rkf", 3) + Line("{root}/S/T/d.rkf", 4) << QByteArray() << 0;
        QTest::newRow("without the path column") << L{"S/c.rkf"} << QStringList{"--csv", "{root}"}
                                                 << Line(QByteArray(), 1).mid(1) << QByteArray() << 0;
        QTest::newRow("file and folder arguments in turn")
            << L{"a.rkf", "S/c.rkf"} << csvPath + QStringList{"{root}/S/c.rkf", "{root}"}
            << Line("{root}/S/c.rkf", 2) + Line("{root}/a.rkf", 1) + Line("{root}/S/c.rkf", 2) << QByteArray()
            << 0;
        QTest::newRow("unreadable file reported, the search goes on")
            << L{"a.rkf", "bad.rkf", "S/c.rkf"} << csvPath + QStringList{"{root}"}
            << Line("{root}/a.rkf", 1) + Line("{root}/S/c.rkf", 3)
            << QByteArray(
                   "rkfreport: {root}/bad.rkf: \xe3\x82\xaa\xe3\x83\xbc\xe3\x83\x90\xe3\x83\xbc\xe3\x83\x95"
                   "\xe3\x83\xad\xe3\x83\xbc\xe3\x81\x97\xe3\x81\xbe\xe3\x81\x97\xe3\x81\x9f\xe3\x80\x82\n")
            << 1;
        QTest::newRow("comma in the path quoted") << L{"x,y/a.rkf"} << csvPath + QStringList{"{root}/x,y"}
                                                  << Line("\"{root}/x,y/a.rkf\"", 1) << QByteArray() << 0;
        QTest::newRow("quote in the path doubled") << L{"q\"/a.rkf"} << csvPath + QStringList{"{root}/q\""}
                                                   << Line("\"{root}/q\"\"/a.rkf\"", 1) << QByteArray() << 0;
        QTest::newRow("empty ranking keeps its path")
            << L{"empty.rkf"} << csvPath + QStringList{"{root}"} << QByteArray("{root}/empty.rkf,\r\n")
            << QByteArray() << 0;
        QTest::newRow("code page 932 name written back in code page 932")
            << L{"\x83\x5c.rkf"} << csvPath + QStringList{"--encoding", "cp932", "{root}"}
            << Line("{root}/\x83\x5c.rkf", 1).replace("\xc3\x97", "\x81\x7e") << QByteArray() << 0;
        QTest::newRow("code page 932 name shown in UTF-8")
            << L{"\x83\x5c.rkf"} << csvPath + QStringList{"{root}"} << Line("{root}/\xe3\x82\xbd.rkf", 1)
            << QByteArray() << 0;
        QTest::newRow("folder without score files")
            << L{"x.txt"} << csvPath + QStringList{"{root}"} << QByteArray() << QByteArray() << 0;
        QTest::newRow("path column needs CSV")
            << L{"a.rkf"} << QStringList{"--path-column", "{root}"} << QByteArray()
            << QByteArray("rkfreport: --path-column needs --csv\n") << 2;
    }

    void report()
    {
        QFETCH(QList<QByteArray>, tree);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QFETCH(int, status);
        MakeTree(root(), tree);
        for (QString &arg : args)
            arg.replace(QLatin1String("{root}"), root());
        const Run run = RunReport(args, root());
        QCOMPARE(run.status, status);
        QCOMPARE(run.out, out.replace("{root}", rootBytes()));
        if (status == 2)
            QVERIFY(run.err.startsWith(err));
        else
            QCOMPARE(run.err, err.replace("{root}", rootBytes()));
    }

    // A folder's text report is the reports of its files, one after another,
    // each exactly as for the file alone.
    void textReportOfFolder()
    {
        MakeTree(root(), {"b.rkf", "A.rkf", "S/c.rkf"});
        const Run folder = RunReport({"--top-only", root()}, root());
        const Run files = RunReport({"--top-only", "A.rkf", "b.rkf", "S/c.rkf"}, root());
        QCOMPARE(folder.status, 0);
        QCOMPARE(files.status, 0);
        QVERIFY(folder.out.startsWith(rootBytes() + "/A.rkf\r\n"));
        QCOMPARE(folder.out, files.out);
    }
};

QTEST_GUILESS_MAIN(TestRkfreportFolders)
#include "test_rkfreport_folders.moc"
