#include "support/Settings.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(Settings)

namespace {

// The program folder as the program keeps it: ending in the separator.
QString FolderPath(const QTemporaryDir &dir)
{
    return dir.path() + QLatin1Char('/');
}

QByteArray FirstRunFile(const QString &appPath)
{
    return "[Main]\r\nKey=rkfview\r\n[Config]\r\nTopOnly=False\r\nAlwaysOnTop=False\r\nLastReadDir=\"" +
           appPath.toUtf8() + "\"\r\n";
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

  private slots:
    void firstRun();
    void savedFileAfterFirstRun();
    void load_data();
    void load();
    void saveAndLoad_data();
    void saveAndLoad();
    void saveKeepsOtherLines();
    void unwritableFolder_data();
    void unwritableFolder();
};

void TestSettings::firstRun()
{
    QTemporaryDir dir;
    const QString appPath = FolderPath(dir);

    const Settings settings = LoadConfig(appPath);
    QCOMPARE(settings.TopOnly, false);
    QCOMPARE(settings.AlwaysOnTop, false);
    QCOMPARE(settings.LastReadDir, appPath);
    QCOMPARE(ReadTestFile(IniPath(appPath)), FirstRunFile(appPath));
}

void TestSettings::savedFileAfterFirstRun()
{
    QTemporaryDir dir;
    const QString appPath = FolderPath(dir);

    SaveConfig(appPath, LoadConfig(appPath));
    const QByteArray expected =
        "[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=False\r\nAlwaysOnTop=False\r\n"
        "LastReadDir=\"" +
        appPath.toUtf8() + "\"\r\n";
    QCOMPARE(ReadTestFile(IniPath(appPath)), expected);
}

void TestSettings::load_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("topOnly");
    QTest::addColumn<bool>("alwaysOnTop");
    QTest::addColumn<QString>("lastReadDir"); // "APP": the program folder
    QTest::addColumn<bool>("reset");          // the file was rewritten with the defaults

    const QByteArray marker("[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\n");
    const auto options = [&](const char *top, const char *always) {
        return marker + "TopOnly=" + top + "\r\nAlwaysOnTop=" + always + "\r\nLastReadDir=\"/scores/\"\r\n";
    };

    QTest::newRow("saved file with both options")
        << options("True", "True") << true << true << "/scores/" << false;
    QTest::newRow("saved file without options")
        << options("False", "False") << false << false << "/scores/" << false;
    QTest::newRow("lower-case true") << options("true", "false") << true << false << "/scores/" << false;
    QTest::newRow("upper-case words") << options("FALSE", "TRUE") << false << true << "/scores/" << false;
    QTest::newRow("number 1 is true") << options("1", "0") << true << false << "/scores/" << false;
    QTest::newRow("number -1 is true") << options("-1", "0") << true << false << "/scores/" << false;
    QTest::newRow("fraction is a number") << options("0.5", "0.0") << true << false << "/scores/" << false;
    QTest::newRow("unquoted marker") << QByteArray("[Main]\r\nKey=rkfview\r\n") << false << false << "APP"
                                     << false;
    QTest::newRow("marker with blanks around it")
        << QByteArray("[main]\r\n  key =  rkfview  \r\n") << false << false << "APP" << false;
    QTest::newRow("missing keys use their defaults")
        << QByteArray(marker + "TopOnly=True\r\n") << true << false << "APP" << false;
    QTest::newRow("folder with trailing blanks in quotes")
        << QByteArray(marker + "LastReadDir=\"/scores/old  \"\r\n") << false << false << "/scores/old  "
        << false;
    QTest::newRow("folder in code page 932")
        << QByteArray(marker + "LastReadDir=\"/\x83\x74\x83\x48\x83\x8B\x83\x5F/\"\r\n") << false << false
        << QString::fromUtf8("/フォルダ/") << false;

    QTest::newRow("upper-case marker resets")
        << QByteArray("[Main]\r\nKey=RKFVIEW\r\n") << false << false << "APP" << true;
    QTest::newRow("foreign marker resets")
        << QByteArray("[Main]\r\nKey=other\r\n") << false << false << "APP" << true;
    QTest::newRow("missing section Main resets")
        << QByteArray("[Config]\r\nTopOnly=True\r\nAlwaysOnTop=True\r\n") << false << false << "APP" << true;
    QTest::newRow("marker in the wrong section resets")
        << QByteArray("[Config]\r\nKey=rkfview\r\n") << false << false << "APP" << true;
    QTest::newRow("yes resets the whole file") << options("yes", "True") << false << false << "APP" << true;
    QTest::newRow("empty option resets") << options("", "False") << false << false << "APP" << true;
    QTest::newRow("bad second option resets the first")
        << options("True", "maybe") << false << false << "APP" << true;
    QTest::newRow("number with text resets") << options("1x", "False") << false << false << "APP" << true;
}

void TestSettings::load()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, topOnly);
    QFETCH(bool, alwaysOnTop);
    QFETCH(QString, lastReadDir);
    QFETCH(bool, reset);

    QTemporaryDir dir;
    const QString appPath = FolderPath(dir);
    if (lastReadDir == QLatin1String("APP"))
        lastReadDir = appPath;
    WriteTestFile(dir.path(), QStringLiteral("rkfview.ini"), ini);

    const Settings settings = LoadConfig(appPath);
    QCOMPARE(settings.TopOnly, topOnly);
    QCOMPARE(settings.AlwaysOnTop, alwaysOnTop);
    QCOMPARE(settings.LastReadDir, lastReadDir);

    const QByteArray after = ReadTestFile(IniPath(appPath));
    if (!reset) {
        QCOMPARE(after, ini); // nothing written at start-up
        return;
    }
    QCOMPARE(ReadIni(appPath, QStringLiteral("Main"), QStringLiteral("Key"), QString()),
             QStringLiteral("rkfview"));
    QCOMPARE(ReadIni(appPath, QStringLiteral("Config"), QStringLiteral("TopOnly"), QString()),
             QStringLiteral("False"));
    QCOMPARE(ReadIni(appPath, QStringLiteral("Config"), QStringLiteral("AlwaysOnTop"), QString()),
             QStringLiteral("False"));
    QCOMPARE(ReadIni(appPath, QStringLiteral("Config"), QStringLiteral("LastReadDir"), QString()), appPath);
}

void TestSettings::saveAndLoad_data()
{
    QTest::addColumn<Settings>("saved");
    QTest::addColumn<Settings>("loaded");

    const auto settings = [](bool top, bool always, const QString &dir) {
        Settings s;
        s.TopOnly = top;
        s.AlwaysOnTop = always;
        s.LastReadDir = dir;
        return s;
    };
    const QString longDir = QLatin1Char('/') + QString(199, QLatin1Char('d'));

    QTest::newRow("both options") << settings(true, true, "/scores/") << settings(true, true, "/scores/");
    QTest::newRow("always on top only") << settings(false, true, "/a/") << settings(false, true, "/a/");
    QTest::newRow("folder with trailing blanks")
        << settings(false, false, "/scores/old  ") << settings(false, false, "/scores/old  ");
    QTest::newRow("folder with leading blanks")
        << settings(false, false, "  /scores/") << settings(false, false, "  /scores/");
    QTest::newRow("Japanese folder") << settings(true, false, QString::fromUtf8("/ゲーム/譜面 ソフト/"))
                                     << settings(true, false, QString::fromUtf8("/ゲーム/譜面 ソフト/"));
    QTest::newRow("200-byte folder comes back cut to 127 bytes")
        << settings(false, false, longDir) << settings(false, false, longDir.left(127));
    QTest::newRow("empty folder") << settings(true, true, "") << settings(true, true, "");
}

void TestSettings::saveAndLoad()
{
    QFETCH(Settings, saved);
    QFETCH(Settings, loaded);

    QTemporaryDir dir;
    const QString appPath = FolderPath(dir);
    LoadConfig(appPath); // first run
    SaveConfig(appPath, saved);
    const Settings settings = LoadConfig(appPath);
    QCOMPARE(settings.TopOnly, loaded.TopOnly);
    QCOMPARE(settings.AlwaysOnTop, loaded.AlwaysOnTop);
    QCOMPARE(settings.LastReadDir, loaded.LastReadDir);
}

void TestSettings::saveKeepsOtherLines()
{
    QTemporaryDir dir;
    const QString appPath = FolderPath(dir);
    WriteTestFile(dir.path(), QStringLiteral("rkfview.ini"),
                  "; kept\r\n[Main]\r\nKey=rkfview\r\nOwner=\x83\x74\r\n\r\n[Window]\r\nLeft=10\r\n"
                  "[Config]\r\nTopOnly=False\r\n");
    Settings settings;
    settings.TopOnly = true;
    settings.LastReadDir = QStringLiteral("/x/");
    SaveConfig(appPath, settings);
    QCOMPARE(ReadTestFile(IniPath(appPath)),
             QByteArray("; kept\r\n[Main]\r\nKey=\"rkfview\"\r\nOwner=\x83\x74\r\n\r\n[Window]\r\nLeft=10\r\n"
                        "[Config]\r\nTopOnly=True\r\nAlwaysOnTop=False\r\nLastReadDir=\"/x/\"\r\n"));
}

void TestSettings::unwritableFolder_data()
{
    QTest::addColumn<QString>("below"); // the program folder, below the temporary folder

    QTest::newRow("settings file is a folder") << "app/";
    QTest::newRow("program folder below a regular file") << "file.bin/app/";
}

void TestSettings::unwritableFolder()
{
    QFETCH(QString, below);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("app/rkfview.ini")));
    WriteTestFile(dir.path(), QStringLiteral("file.bin"), "x");
    const QString appPath = FolderPath(dir) + below;

    // Would never return if the reset and the read kept calling each other.
    const Settings settings = LoadConfig(appPath);
    QCOMPARE(settings.TopOnly, false);
    QCOMPARE(settings.AlwaysOnTop, false);
    QCOMPARE(settings.LastReadDir, appPath);

    SaveConfig(appPath, settings); // fails unnoticed
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("app/rkfview.ini"))).isDir());
    QCOMPARE(ReadTestFile(dir.filePath(QStringLiteral("file.bin"))), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
