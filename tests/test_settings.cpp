#include "support/Settings.h"
#include "support/TestFiles.h"

#include <QtTest>

namespace {

// The file InitConfig leaves (marker unquoted) or SaveConfig writes with both options unticked.
QByteArray DefaultFile(const QString &appPath, const QByteArray &key = "rkfview")
{
    return "[Main]\r\nKey=" + key + "\r\n[Config]\r\nTopOnly=False\r\nAlwaysOnTop=False\r\nLastReadDir=\"" +
           appPath.toUtf8() + "\"\r\n";
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

  private slots:
    void firstRunAndSave()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        const QString firstReadDir = "/home/user/";
        Settings settings = LoadConfig(folder, firstReadDir);
        QCOMPARE(ReadTestFile(IniPath(folder)), DefaultFile(firstReadDir));
        QVERIFY(!settings.TopOnly && !settings.AlwaysOnTop);
        QCOMPARE(settings.LastReadDir, firstReadDir);

        settings.LastReadDir = "/scores/old  "; // trailing blanks kept by the quotes
        SaveConfig(folder, settings);
        QCOMPARE(ReadTestFile(IniPath(folder)), DefaultFile("/scores/old  ", "\"rkfview\""));
        QCOMPARE(LoadConfig(folder, firstReadDir).LastReadDir, settings.LastReadDir);
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("topOnly");
        QTest::addColumn<bool>("alwaysOnTop");
        QTest::addColumn<bool>("reset"); // the file rewritten with the defaults, and those loaded
        const auto options = [](const char *top, const char *always) {
            return "[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=" + QByteArray(top) +
                   "\r\nAlwaysOnTop=" + always + "\r\nLastReadDir=\"/scores/\"\r\n";
        };
        QTest::newRow("lower-case true and 1 tick") << options("true", "1") << true << true << false;
        QTest::newRow("upper-case marker resets")
            << QByteArray("[Main]\r\nKey=RKFVIEW\r\n") << false << false << true;
        QTest::newRow("bad second option unticks the first")
            << options("True", "maybe") << false << false << true;
        QTest::newRow("missing keys use their defaults without writing")
            << QByteArray("[Main]\r\nKey=rkfview\r\n[Config]\r\nAlwaysOnTop=True\r\n") << false << true
            << false;
    }

    void load()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, topOnly);
        QFETCH(bool, alwaysOnTop);
        QFETCH(bool, reset);
        QTemporaryDir dir;
        const QString appPath = dir.path() + u'/';
        WriteTestFile(dir.path(), "rkfview.ini", ini);
        const Settings settings = LoadConfig(appPath, appPath);
        QCOMPARE(settings.TopOnly, topOnly);
        QCOMPARE(settings.AlwaysOnTop, alwaysOnTop);
        QCOMPARE(settings.LastReadDir, ini.contains("/scores/") && !reset ? "/scores/" : appPath);
        QCOMPARE(ReadTestFile(IniPath(appPath)), reset ? DefaultFile(appPath) : ini);
    }

    // The option and the library window's place, added later: read without resetting the file
    // when unreadable, and written only once they differ from their defaults.
    void addedSettings_data()
    {
        QTest::addColumn<QByteArray>("added"); // lines after the four settings
        QTest::addColumn<bool>("autoRefresh");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QList<int>>("columns");
        QTest::addColumn<QByteArray>("saved"); // the added lines once saved unchanged
        // clang-format off
        QTest::newRow("none: on, no place, nothing added") << QByteArray() << true << QRect() << QList<int>{} << QByteArray();
        QTest::newRow("off kept") << QByteArray("AutoRefresh=False\r\n") << false << QRect() << QList<int>{} << QByteArray("AutoRefresh=False\r\n");
        QTest::newRow("no boolean: on, nothing reset") << QByteArray("AutoRefresh=yes\r\n") << true << QRect() << QList<int>{} << QByteArray("AutoRefresh=True\r\n");
        QTest::newRow("place and widths") << QByteArray("[Library]\r\nGeometry=-5,20,300,200\r\nColumns=90,60\r\n") << true << QRect(-5, 20, 300, 200) << QList<int>{90, 60} << QByteArray("[Library]\r\nGeometry=-5,20,300,200\r\nColumns=90,60\r\n");
        QTest::newRow("unreadable place and widths left out") << QByteArray("[Library]\r\nGeometry=1,2,0,4\r\nColumns=9,x\r\n") << true << QRect() << QList<int>{} << QByteArray("[Library]\r\nGeometry=1,2,0,4\r\nColumns=9,x\r\n");
        // clang-format on
    }
    void addedSettings()
    {
        QFETCH(QByteArray, added);
        QFETCH(bool, autoRefresh);
        QFETCH(QRect, geometry);
        QFETCH(QList<int>, columns);
        QFETCH(QByteArray, saved);
        QTemporaryDir dir;
        const QString appPath = dir.path() + u'/';
        const QByteArray four =
            "[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=True\r\nAlwaysOnTop=False\r\n"
            "LastReadDir=\"/scores/\"\r\n";
        WriteTestFile(dir.path(), "rkfview.ini", four + added);
        const Settings settings = LoadConfig(appPath, appPath);
        QVERIFY(settings.TopOnly);
        QCOMPARE(settings.AutoRefresh, autoRefresh);
        QCOMPARE(settings.LibraryGeometry, geometry);
        QCOMPARE(settings.LibraryColumns, columns);
        QVERIFY(SaveConfig(appPath, settings));
        QCOMPARE(ReadTestFile(IniPath(appPath)), four + saved);
    }

    void unwritableFolder()
    {
        QTemporaryDir dir;
        const QString appPath = dir.path() + "/app/";
        QVERIFY(QDir(dir.path()).mkpath("app/rkfview.ini")); // the settings file is a folder
        const Settings settings =
            LoadConfig(appPath, appPath); // would never return if the reset kept recurring
        QVERIFY(!settings.TopOnly && !settings.AlwaysOnTop);
        QCOMPARE(settings.LastReadDir, appPath);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
