#include "platform/IniStore.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using platform::ReadProfileString;
using platform::WriteProfileString;

class TestIniStore : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_dir;
    int m_fileCount = 0;

    // A fresh path in the temporary folder, holding bytes unless they are null.
    QString NewFile(const QByteArray &bytes)
    {
        const QString name = QStringLiteral("test%1.ini").arg(++m_fileCount);
        if (bytes.isNull())
            return m_dir.filePath(name);
        return WriteTestFile(m_dir.path(), name, bytes);
    }

  private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void refusedWrite_data();
    void refusedWrite();
    void roundTrip_data();
    void roundTrip();
    void defaultValue_data();
    void defaultValue();
    void unusablePath_data();
    void unusablePath();
};

void TestIniStore::read_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // the default is always "DEF"

    const QByteArray a200(200, 'a');
    const QByteArray a126(126, 'a');
    const QByteArray a125(125, 'a');
    const QByteArray hiraganaA("\x82\xA0"); // あ
    const auto row = [](const char *name, const QByteArray &file, const QString &expected) {
        QTest::newRow(name) << file << QStringLiteral("Main") << QStringLiteral("Key") << expected;
    };

    row("plain value", QByteArray("[Main]\r\nKey=value\r\n"), "value");
    row("blanks around name, equals sign and value", QByteArray("[Main]\r\n \t Key \t=  value \t\r\n"),
        "value");
    row("enclosing quotes removed", QByteArray("[Main]\r\nKey=\"value\"\r\n"), "value");
    row("blanks inside the quotes kept", QByteArray("[Main]\r\nKey=  \" a b  \"  \r\n"), " a b  ");
    row("only one pair of quotes removed", QByteArray("[Main]\r\nKey=\"\"x\"\"\r\n"), "\"x\"");
    row("lone opening quote kept", QByteArray("[Main]\r\nKey=\"abc\r\n"), "\"abc");
    row("a single quote character kept", QByteArray("[Main]\r\nKey=\"\r\n"), "\"");
    row("empty value is not the default", QByteArray("[Main]\r\nKey=\r\n"), "");
    row("empty quotes give an empty value", QByteArray("[Main]\r\nKey=\"\"\r\n"), "");
    row("equals sign inside the value", QByteArray("[Main]\r\nKey=a=b\r\n"), "a=b");
    row("section name in any case", QByteArray("[mAIN]\r\nKey=v\r\n"), "v");
    row("key name in any case", QByteArray("[Main]\r\nkEY=v\r\n"), "v");
    row("blanks inside the brackets", QByteArray(" [ Main ] \r\nKey=v\r\n"), "v");
    row("text after the closing bracket ignored", QByteArray("[Main] ; note\r\nKey=v\r\n"), "v");
    row("missing file", QByteArray(), "DEF");
    row("empty file", QByteArray(""), "DEF");
    row("missing section", QByteArray("[Other]\r\nKey=v\r\n"), "DEF");
    row("missing key", QByteArray("[Main]\r\nOther=v\r\n"), "DEF");
    row("key of the following section not taken", QByteArray("[Main]\r\nA=1\r\n[Config]\r\nKey=v\r\n"),
        "DEF");
    row("key before any section belongs to none", QByteArray("Key=v\r\n[Main]\r\nA=1\r\n"), "DEF");
    row("commented-out key ignored", QByteArray("[Main]\r\n;Key=old\r\n  ; Key=x\r\n"), "DEF");
    row("comment line before the key", QByteArray("[Main]\r\n;Key=old\r\nKey=new\r\n"), "new");
    row("line without equals sign ignored", QByteArray("[Main]\r\nKey\r\nnonsense\r\nKey=v\r\n"), "v");
    row("bracket line without closing bracket is no section", QByteArray("[Main]\r\n[Broken\r\nKey=v\r\n"),
        "v");
    row("first of duplicate keys wins", QByteArray("[Main]\r\nKey=first\r\nkey=second\r\n"), "first");
    row("first of duplicate sections wins", QByteArray("[Main]\r\nKey=first\r\n[MAIN]\r\nKey=second\r\n"),
        "first");
    row("key only in a later duplicate section not found", QByteArray("[Main]\r\nA=1\r\n[Main]\r\nKey=v\r\n"),
        "DEF");
    row("line feeds only", QByteArray("[Other]\nKey=x\n[Main]\nKey=v\nB=2\n"), "v");
    row("last line without line end", QByteArray("[Main]\r\nKey=v"), "v");
    row("value ends at a NUL byte", QByteArray("[Main]\r\nKey=ab\0cd\r\n", 17), "ab");
    row("value cut to 127 bytes", QByteArray("[Main]\r\nKey=" + a200 + "\r\n"),
        QString(127, QLatin1Char('a')));
    row("cut after removing the quotes", QByteArray("[Main]\r\nKey=\"" + a200 + "\"\r\n"),
        QString(127, QLatin1Char('a')));
    row("double-byte character that would be split is left out",
        QByteArray("[Main]\r\nKey=" + a126 + hiraganaA + "\r\n"), QString(126, QLatin1Char('a')));
    row("double-byte character ending at byte 127 kept",
        QByteArray("[Main]\r\nKey=" + a125 + hiraganaA + "b\r\n"),
        QString(125, QLatin1Char('a')) + QString::fromUtf8("あ"));
    row("Japanese value in code page 932", QByteArray("[Main]\r\nKey=\x83\x74\x83\x48\x83\x8B\x83\x5F\r\n"),
        QString::fromUtf8("フォルダ"));
    QTest::newRow("section name whose second byte is a closing bracket")
        << QByteArray("[\x83\x5D]\r\nKey=v\r\n") << QString::fromUtf8("ゾ") << QStringLiteral("Key")
        << QStringLiteral("v");
}

void TestIniStore::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    QCOMPARE(ReadProfileString(NewFile(file), section, key, QStringLiteral("DEF")), expected);
}

void TestIniStore::write_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    const auto row = [](const char *name, const QByteArray &before, const char *section, const char *key,
                        const QString &value, const QByteArray &after) {
        QTest::newRow(name) << before << QString::fromUtf8(section) << QString::fromUtf8(key) << value
                            << after;
    };

    row("new file", QByteArray(), "Main", "Key", "rkfview", "[Main]\r\nKey=rkfview\r\n");
    row("new section at the end", "[Main]\r\nKey=rkfview\r\n", "Config", "TopOnly", "False",
        "[Main]\r\nKey=rkfview\r\n[Config]\r\nTopOnly=False\r\n");
    row("new section after a last line without line end", "[Main]\r\nKey=rkfview", "Config", "TopOnly",
        "False", "[Main]\r\nKey=rkfview\r\n[Config]\r\nTopOnly=False\r\n");
    row("new key after the last key of its section", "[Main]\r\nA=1\r\n\r\n[Config]\r\nB=2\r\n", "Main", "C",
        "3", "[Main]\r\nA=1\r\nC=3\r\n\r\n[Config]\r\nB=2\r\n");
    row("new key in a section found in another case", "[config]\r\nA=1\r\n", "Config", "B", "2",
        "[config]\r\nA=1\r\nB=2\r\n");
    row("new key in an empty last section without line end", "[Main]", "Main", "Key", "v",
        "[Main]\r\nKey=v\r\n");
    row("value replaced, key spelling kept", "[main]\r\n  kEy =  old value \r\nB=2\r\n", "Main", "Key", "new",
        "[main]\r\nkEy=new\r\nB=2\r\n");
    row("quoted value written as given", "[Config]\r\nLastReadDir=\"/old/\"\r\n", "Config", "LastReadDir",
        "\"/new dir  /\"", "[Config]\r\nLastReadDir=\"/new dir  /\"\r\n");
    row("empty value written", "[Main]\r\nKey=v\r\n", "Main", "Key", "", "[Main]\r\nKey=\r\n");
    row("only the first duplicate replaced", "[Main]\r\nKey=1\r\nKey=2\r\n[Main]\r\nKey=3\r\n", "Main", "Key",
        "x", "[Main]\r\nKey=x\r\nKey=2\r\n[Main]\r\nKey=3\r\n");
    row("line feeds of other lines kept", "[Main]\nA=1\nKey=old\nB=2\n", "Main", "Key", "new",
        "[Main]\nA=1\nKey=new\r\nB=2\n");
    row("replaced last line gets a line end", "[Main]\r\nKey=old", "Main", "Key", "new",
        "[Main]\r\nKey=new\r\n");
    row("Japanese value written in code page 932", QByteArray(), "Config", "LastReadDir",
        QString::fromUtf8("\"/フォルダ/\""),
        "[Config]\r\nLastReadDir=\"/\x83\x74\x83\x48\x83\x8B\x83\x5F/\"\r\n");

    // Every line the store does not touch comes back byte for byte: comments,
    // a key before any section, odd lines, blank lines with blanks, code-page
    // bytes, invalid bytes, mixed line ends, trailing blanks.
    const QByteArray odd("; comment\r\n"
                         "Loose=before any section\n"
                         "[Other]  \r\n"
                         "Name = \x83\x74\x83\x40\x83\x43\x83\x8B \r\n"
                         "Bad=\xFF\xFE\x80\r\n"
                         "no equals sign\r\n"
                         " \t \r\n"
                         "[Main]\r\n"
                         "  ; Key=commented\r\n"
                         "Key=old\r\n"
                         "[Broken\r\n"
                         "Tail=  x  \r\n"
                         "\r\n"
                         "[Last]\n"
                         "End=1");
    row("other lines kept byte for byte", odd, "Main", "Key", "new",
        QByteArray(odd).replace("Key=old\r\n", "Key=new\r\n"));
    row("other lines kept when a key is added", odd, "Main", "Added", "1",
        QByteArray(odd).replace("Tail=  x  \r\n", "Tail=  x  \r\nAdded=1\r\n"));
    row("other lines kept when a section is added", odd, "New", "K", "v", odd + "\r\n[New]\r\nK=v\r\n");
}

void TestIniStore::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    const QString path = NewFile(before);
    QVERIFY(WriteProfileString(path, section, key, value));
    QCOMPARE(ReadTestFile(path), after);
}

void TestIniStore::refusedWrite_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("line feed in the value") << "Main"
                                            << "Key"
                                            << "a\n[Main]\nKey=b";
    QTest::newRow("carriage return in the value") << "Main"
                                                  << "Key"
                                                  << "a\rb";
    QTest::newRow("NUL in the value")
        << "Main"
        << "Key" << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    QTest::newRow("closing bracket in the section") << "Ma]in"
                                                    << "Key"
                                                    << "v";
    QTest::newRow("empty section") << " "
                                   << "Key"
                                   << "v";
    QTest::newRow("equals sign in the key") << "Main"
                                            << "K=ey"
                                            << "v";
    QTest::newRow("key that reads as a comment") << "Main"
                                                 << ";Key"
                                                 << "v";
    QTest::newRow("empty key") << "Main"
                               << ""
                               << "v";
}

void TestIniStore::refusedWrite()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    const QByteArray before("[Main]\r\nKey=old\r\n");
    const QString path = NewFile(before);
    QVERIFY(!WriteProfileString(path, section, key, value));
    QCOMPARE(ReadTestFile(path), before);
}

void TestIniStore::roundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    const auto same = [](const char *utf8) {
        QTest::newRow(utf8) << QString::fromUtf8(utf8) << QString::fromUtf8(utf8);
    };
    same("/home/player/ランキング/");
    same("表示"); // second byte of 表 is a backslash
    same("ソフト");
    same("脳ゾーン"); // second bytes of 脳 and ゾ are closing brackets
    same("ﾃｷｽﾄ ﾌｧｲﾙ");
    same("①Ⅱ"); // extension characters of the code page
    QTest::newRow("trailing blanks kept by the quotes") << "\"/scores/old  \""
                                                        << "/scores/old  ";
    QTest::newRow("unquoted trailing blanks lost") << "/scores/old  "
                                                   << "/scores/old";
    QTest::newRow("character missing from the code page") << QString::fromUtf8("é") << "?";
}

void TestIniStore::roundTrip()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);

    const QString path = NewFile(QByteArray());
    QVERIFY(WriteProfileString(path, QStringLiteral("Config"), QStringLiteral("Value"), value));
    QCOMPARE(ReadProfileString(path, QStringLiteral("config"), QStringLiteral("VALUE"), QString()), expected);
}

void TestIniStore::defaultValue_data()
{
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << "False"
                           << "False";
    QTest::newRow("quotes and blanks removed") << "  \" /app dir/ \"  "
                                               << " /app dir/ ";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("cut to 127 bytes") << QString(130, QLatin1Char('x')) << QString(127, QLatin1Char('x'));
    QTest::newRow("cut before a double-byte character")
        << QString(126, QLatin1Char('x')) + QString::fromUtf8("あい") << QString(126, QLatin1Char('x'));
    QTest::newRow("character missing from the code page kept")
        << QString::fromUtf8("\"/home/josé/\"") << QString::fromUtf8("/home/josé/");
}

void TestIniStore::defaultValue()
{
    QFETCH(QString, defaultValue);
    QFETCH(QString, expected);

    QCOMPARE(
        ReadProfileString(NewFile(QByteArray()), QStringLiteral("Main"), QStringLiteral("Key"), defaultValue),
        expected);
    QCOMPARE(platform::ProfileValue(defaultValue), expected);
}

void TestIniStore::unusablePath_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("a folder of that name") << "folder.ini";
    QTest::newRow("missing folder") << "missing/test.ini";
    QTest::newRow("below a regular file") << "plain.txt/test.ini";
}

void TestIniStore::unusablePath()
{
    QFETCH(QString, name);

    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.ini")));
    WriteTestFile(m_dir.path(), QStringLiteral("plain.txt"), "x");
    const QString path = m_dir.filePath(name);
    QVERIFY(!WriteProfileString(path, QStringLiteral("Main"), QStringLiteral("Key"), QStringLiteral("v")));
    QCOMPARE(ReadProfileString(path, QStringLiteral("Main"), QStringLiteral("Key"), QStringLiteral("DEF")),
             QStringLiteral("DEF"));
    QCOMPARE(QFileInfo(m_dir.filePath(QStringLiteral("folder.ini"))).isDir(), true);
    QCOMPARE(ReadTestFile(m_dir.filePath(QStringLiteral("plain.txt"))), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TestIniStore)
#include "test_ini_store.moc"
