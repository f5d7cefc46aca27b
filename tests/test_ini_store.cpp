#include "platform/IniStore.h"
#include "support/TestFiles.h"

#include <QtTest>

using namespace platform;

class TestIniStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    int m_files = 0;

    // A fresh path holding the bytes; no file for null bytes.
    QString NewFile(const QByteArray &bytes)
    {
        const QString name = QStringLiteral("t%1.ini").arg(++m_files);
        return bytes.isNull() ? m_dir.filePath(name) : WriteTestFile(m_dir.path(), name, bytes);
    }

  private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("file");  // null: no file
        QTest::addColumn<QString>("expected"); // of Key in Main, the default being "DEF"
        const auto row = [](const char *name, const QByteArray &file, const QString &expected) {
            QTest::newRow(name) << file << expected;
        };
        row("blanks around name, equals sign and value", "[Main]\r\n \t Key \t=  value \t\r\n", "value");
        row("blanks inside the quotes kept", "[Main]\r\nKey=  \" a b  \"  \r\n", " a b  ");
        row("only one pair of quotes removed", "[Main]\r\nKey=\"\"x\"\"\r\n", "\"x\"");
        row("single quotes removed", "[Main]\r\nKey= ' a b ' \r\n", " a b ");
        row("quotes of two kinds kept", "[Main]\r\nKey='x\"\r\n", "'x\"");
        row("of two duplicate keys the first wins", "[Main]\r\nKey=first\r\nKey=second\r\n", "first");
        row("of two duplicate sections the first counts", "[Main]\r\nA=1\r\n[Main]\r\nKey=v\r\n", "DEF");
        row("empty value is not the default", "[Main]\r\nKey=\r\n", "");
        row("section and key names in any case", "[mAIN]\r\nkEY=v\r\n", "v");
        row("missing file", QByteArray(), "DEF");
        row("key of the following section not taken", "[Main]\r\nA=1\r\n[Config]\r\nKey=v\r\n", "DEF");
        row("line feeds only, last line without line end", "[Other]\nKey=x\n[Main]\nKey=v", "v");
        row("value cut to 127 bytes", "[Main]\r\nKey=" + QByteArray(200, 'a') + "\r\n", QString(127, u'a'));
        row("double-byte character that would be split left out",
            "[Main]\r\nKey=" + QByteArray(126, 'a') + "\x82\xA0\r\n", QString(126, u'a'));
        row("double-byte character ending at byte 127 kept",
            "[Main]\r\nKey=" + QByteArray(125, 'a') + "\x82\xA0z\r\n", QString(125, u'a') + u'あ');
        row("Japanese value in code page 932", "[Main]\r\nKey=\x83\x74\x83\x48\x83\x8B\x83\x5F\r\n",
            QString::fromUtf8("フォルダ"));
    }

    void read()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QCOMPARE(ReadProfileString(NewFile(file), "Main", "Key", "DEF"), expected);
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before"); // null: no file
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after"); // the same as before: the write is refused
        const auto row = [](const char *name, const QByteArray &before, const char *section, const char *key,
                            const char *value, const QByteArray &after) {
            QTest::newRow(name) << before << QString::fromUtf8(section) << QString::fromUtf8(key)
                                << QString::fromUtf8(value) << after;
        };
        // clang-format off
        row("new file", QByteArray(), "Main", "Key", "rkfview", "[Main]\r\nKey=rkfview\r\n");
        row("value replaced, key spelling kept", "[main]\r\n  kEy =  old value \r\nB=2\r\n", "Main", "Key", "new", "[main]\r\nkEy=new\r\nB=2\r\n");
        row("Japanese value in code page 932", QByteArray(), "Config", "Dir", "/フォルダ/", "[Config]\r\nDir=/\x83\x74\x83\x48\x83\x8B\x83\x5F/\r\n");
        row("blanks around section and key names matched as written", "[Main]\r\nKey=old\r\n", " Main\t", " Key ", "new", "[Main]\r\nKey=new\r\n");
        row("padded section name written once", "[Other]\r\nA=1\r\n", "  Main  ", "Key", "v", "[Other]\r\nA=1\r\n[Main]\r\nKey=v\r\n");
        row("first of two duplicate keys replaced", "[Main]\r\nKey=1\r\nKey=2\r\n", "Main", "Key", "new", "[Main]\r\nKey=new\r\nKey=2\r\n");
        row("line break in the value refused", "[Main]\r\nKey=old\r\n", "Main", "Key", "a\n[Main]\nKey=b", "[Main]\r\nKey=old\r\n");
        // Lines the store does not touch come back byte for byte.
        const QByteArray odd("; comment\r\nLoose=before any section\n[Other]  \r\nName = \x83\x74 \r\n"
                             "Bad=\xFF\xFE\x80\r\nno equals sign\r\n \t \r\n[Main]\r\n  ; Key=commented\r\n"
                             "Key=old\r\n[Broken\r\nTail=  x  \r\n\r\n[Last]\nEnd=1");
        row("other lines kept when a value is replaced", odd, "Main", "Key", "new", QByteArray(odd).replace("Key=old\r\n", "Key=new\r\n"));
        row("other lines kept when a key is added", odd, "Main", "Added", "1", QByteArray(odd).replace("Tail=  x  \r\n", "Tail=  x  \r\nAdded=1\r\n"));
        row("other lines kept when a section is added", odd, "New", "K", "v", odd + "\r\n[New]\r\nK=v\r\n");
        // clang-format on
    }

    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        const QString path = NewFile(before);
        const bool written = WriteProfileString(path, section, key, value);
        QCOMPARE(ReadTestFile(path), after);
        QCOMPARE(written, after != before);
        if (written) { // and reads back, names in another case
            QCOMPARE(ReadProfileString(path, section.toUpper(), key.toLower(), "DEF"), value);
            // Writing the same again changes nothing: the entry is found where it was written.
            QVERIFY(WriteProfileString(path, section, key, value));
            QCOMPARE(ReadTestFile(path), after);
        }
    }
};

QTEST_GUILESS_MAIN(TestIniStore)
#include "test_ini_store.moc"
