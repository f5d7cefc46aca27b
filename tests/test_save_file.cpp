#include "export/SaveFile.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSaveFile : public QObject {
    Q_OBJECT

  private slots:
    void writesAndReplaces()
    {
        QTemporaryDir dir;
        const QString path = WriteTestFile(dir.path(), "out.txt", "old content that is longer");
        QVERIFY(!WriteSaveFile(path, "new\r\n").failed());
        QCOMPARE(ReadTestFile(path), QByteArray("new\r\n"));
        QVERIFY(!WriteSaveFile(dir.path() + "/fresh.csv", "\r\n").failed());
        QCOMPARE(ReadTestFile(dir.path() + "/fresh.csv"), QByteArray("\r\n"));
    }

    // A failed save reports a reason and leaves the old file as it was.
    void failureKeepsOldFile_data()
    {
        QTest::addColumn<QString>("target"); // relative to the folder holding old.txt
        QTest::newRow("read-only target") << "old.txt";
        QTest::newRow("folder path through a file") << "old.txt/inside.txt";
        QTest::newRow("missing folder") << "nowhere/new.txt";
    }

    void failureKeepsOldFile()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QString old = WriteTestFile(dir.path(), "old.txt", "old");
        QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        const Failure failure = WriteSaveFile(dir.path() + "/" + target, "new");
        QVERIFY(failure.failed());
        QVERIFY(!failure.Description.isEmpty());
        QCOMPARE(ReadTestFile(old), QByteArray("old"));
    }
};

QTEST_APPLESS_MAIN(TestSaveFile)
#include "test_save_file.moc"
