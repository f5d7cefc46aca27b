// The local files of a drop, as the bytes that name them.

#include "search/DroppedPaths.h"

#include <QTest>

class TestDroppedPaths : public QObject {
    Q_OBJECT

  private slots:
    void paths_data();
    void paths();
};

void TestDroppedPaths::paths_data()
{
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<QList<QByteArray>>("expected");

    QTest::newRow("local files in order")
        << QStringList{"file:///b/2.rkf", "file:///a/1.rkf"} << QList<QByteArray>{"/b/2.rkf", "/a/1.rkf"};
    QTest::newRow("name not valid UTF-8 kept as bytes")
        << QStringList{"file:///s/%82%A0.rkf"} << QList<QByteArray>{"/s/\x82\xa0.rkf"};
    QTest::newRow("escaped characters")
        << QStringList{"file:///a%20b/c%25d%23e%3F.rkf"} << QList<QByteArray>{"/a b/c%d#e?.rkf"};
    QTest::newRow("localhost is local")
        << QStringList{"file://localhost/x.rkf"} << QList<QByteArray>{"/x.rkf"};
    QTest::newRow("other schemes and hosts left out")
        << QStringList{"http://example.org/x.rkf", "file://server/share/x.rkf", "file:///y.rkf"}
        << QList<QByteArray>{"/y.rkf"};
}

void TestDroppedPaths::paths()
{
    QFETCH(QStringList, urls);
    QFETCH(QList<QByteArray>, expected);
    QList<QUrl> list;
    for (const QString &url : urls)
        list.append(QUrl::fromEncoded(url.toLatin1()));
    QCOMPARE(LocalDropPaths(list), expected);
}

QTEST_APPLESS_MAIN(TestDroppedPaths)
#include "test_dropped_paths.moc"
