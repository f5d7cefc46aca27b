// The found-file list read over AT-SPI as a screen reader reads it: a list of the found names in order,
// each item where it is on the screen (a real click there picks it), its selected state, the list's
// disabled state. Runs on an X display with an accessibility bus of its own (run_on_bus.sh).

#include "gui/ViewerTestSupport.h"
#include "window/FileListView.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

class TestFileListAtspi : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    // The list as the client reads it; the window's events go on meanwhile, as the bridge needs them.
    QJsonObject readList()
    {
        QProcess client;
        client.start("/usr/bin/python3", {LIST_CLIENT, QCoreApplication::applicationName(), "Score files"});
        if (!client.waitForStarted())
            qFatal("the client did not start");
        for (QDeadlineTimer deadline(30000);
             client.state() != QProcess::NotRunning && !deadline.hasExpired();)
            QTest::qWait(20);
        if (client.exitCode() != 0)
            qWarning("%s", client.readAllStandardError().constData());
        return QJsonDocument::fromJson(client.readAllStandardOutput()).object();
    }

    static QStringList States(const QJsonValue &node)
    {
        QStringList states;
        for (const QJsonValue state : node["states"].toArray())
            states << state.toString();
        return states;
    }

  private slots:
    void listReadAndPicked()
    {
        const QHash<QString, QByteArray> players{
            {"b.rkf", "bee"}, {"a_name_longer_than_the_list_is_wide.rkf", "ay"}, {"あ.rkf", "kana"}};
        for (auto file = players.cbegin(); file != players.cend(); ++file)
            WriteScoreFile(m_dir, "found/" + file.key(), {{file.value(), 100, 50}});
        const auto window = StartViewer(m_dir);
        FileListView *list = window->lstBMS;
        window->SearchFolder(QFile::encodeName(m_dir.filePath("found")));
        QCOMPARE(list->count(), 3);

        QJsonObject read = readList();
        QCOMPARE(read["role"].toString(), "list");
        QVERIFY(States(read).contains("enabled"));
        const QJsonArray items = read["items"].toArray();
        QCOMPARE(items.size(), list->count());
        for (int row = 0; row < list->count(); ++row) {
            const QJsonValue item = items[row];
            QCOMPARE(item["name"].toString(), list->itemText(row));
            QCOMPARE(item["role"].toString(), "list item");
            QVERIFY(!States(item).contains("selected"));
            const QRect rect = list->rowRect(row);
            const QPoint at = list->viewport()->mapToGlobal(rect.topLeft());
            QCOMPARE(item["extents"].toArray(), (QJsonArray{at.x(), at.y(), rect.width(), rect.height()}));
        }

        // A real click where the reader says the second item is picks it and shows its file.
        const QJsonArray box = items[1]["extents"].toArray();
        const int x = box[0].toInt() + 5, y = box[1].toInt() + box[3].toInt() / 2;
        QCOMPARE(QProcess::execute("xdotool", {"mousemove", "--sync", QString::number(x), QString::number(y),
                                               "click", "1"}),
                 0);
        QTRY_COMPARE(list->selectedRow(), 1);
        QCOMPARE(window->lstScore->topLevelItem(0)->text(1), players[list->itemText(1)]);
        read = readList();
        for (int row = 0; row < list->count(); ++row)
            QCOMPARE(States(read["items"].toArray()[row]).contains("selected"), row == 1);

        list->setEnabled(false); // as during a search
        read = readList();
        QVERIFY(!States(read).contains("enabled"));
        QVERIFY(!States(read["items"].toArray()[0]).contains("enabled"));
    }
};

QTEST_MAIN(TestFileListAtspi)
#include "test_file_list_atspi.moc"
