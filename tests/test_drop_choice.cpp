#include "search/DropChoice.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestDropChoice : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QByteArray path(const QString &name) const { return QFile::encodeName(m_dir.path() + "/" + name); }

  private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const char *name : {"a.rkf", "B.RKF", "c.Rkf", "notes.txt", ".hidden.rkf", "d.rkf1",
                                 "x.rkf/inner.rkf", "sub/e.rkf", ".hiddendir/f.rkf"})
            WriteTestFile(m_dir.path(), QString::fromLatin1(name), QByteArray(448, '\0'));
    }

    void choose_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("chosen");

        const int file = DropChoice::ScoreFile, folder = DropChoice::Folder, none = DropChoice::Nothing;
        QTest::newRow("one score file") << QStringList{"a.rkf"} << file << "a.rkf";
        QTest::newRow("upper-case extension") << QStringList{"B.RKF"} << file << "B.RKF";
        QTest::newRow("mixed-case extension") << QStringList{"c.Rkf"} << file << "c.Rkf";
        QTest::newRow("two score files: the first") << QStringList{"B.RKF", "a.rkf"} << file << "B.RKF";
        QTest::newRow("text then score file") << QStringList{"notes.txt", "a.rkf"} << file << "a.rkf";
        QTest::newRow("text alone") << QStringList{"notes.txt"} << none << "";
        QTest::newRow("folder then file") << QStringList{"sub", "a.rkf"} << folder << "sub";
        QTest::newRow("file then folder") << QStringList{"a.rkf", "sub"} << file << "a.rkf";
        QTest::newRow("hidden score file alone") << QStringList{".hidden.rkf"} << none << "";
        QTest::newRow("hidden file skipped") << QStringList{".hidden.rkf", "a.rkf"} << file << "a.rkf";
        QTest::newRow("hidden folder is a folder") << QStringList{".hiddendir"} << folder << ".hiddendir";
        QTest::newRow("folder named like a score file") << QStringList{"x.rkf"} << folder << "x.rkf";
        QTest::newRow("extension must end the name") << QStringList{"d.rkf1"} << none << "";
        QTest::newRow("missing item skipped") << QStringList{"gone.rkf", "a.rkf"} << file << "a.rkf";
        QTest::newRow("nothing dropped") << QStringList{} << none << "";
    }

    void choose()
    {
        QFETCH(QStringList, items);
        QFETCH(int, kind);
        QFETCH(QString, chosen);
        QList<QByteArray> paths;
        for (const QString &item : items)
            paths.append(path(item));
        const DropChoice choice = ChooseDroppedItem(paths);
        QCOMPARE(int(choice.kind), kind);
        QCOMPARE(choice.path, chosen.isEmpty() ? QByteArray() : path(chosen));
    }
};

QTEST_APPLESS_MAIN(TestDropChoice)
#include "test_drop_choice.moc"
