// The library list over the found files: sort order by column type, the filter (kanji and kana
// included, typed a letter at a time and widened again), the count and totals of the rows shown,
// the copied text and the saved files.

#include "RkfBytes.h"
#include "platform/CodePage.h"
#include "score/ReadRKF.h"
#include "search/LibraryModel.h"
#include "search/ScoreFiles.h"

#include <QTest>

namespace {

struct Chart {
    QString path;
    RkfBytes bytes;
};

// Makes the charts the found files of a search (and one single-file slot after them).
void Found(const QList<Chart> &charts)
{
    ScoreFiles = ScoreRecordList(charts.size() + 1);
    for (qsizetype i = 0; i < charts.size(); ++i) {
        ScoreRecord &r = ScoreFiles[i];
        const qsizetype cut = charts[i].path.lastIndexOf(u'/') + 1;
        r.FolderPath = charts[i].path.left(cut);
        r.FileName = charts[i].path.mid(cut);
        if (DecodeRKF(charts[i].bytes.bytes().constData(), r).failed())
            qFatal("test record does not decode");
    }
}

RkfBytes First(const QByteArray &name, float score, std::uint8_t classCode, std::int32_t plays, bool cleared)
{
    return RkfBytes().name(0, name).score(0, score).classCode(0, classCode).playCount(plays).trailer(cleared);
}

// Scores as numbers (9 below 100), a tie, a file without a place, names differing in case only.
const QList<Chart> kSortCharts{
    {"/a/x.rkf", First("bob", 100, 3, 5, true)},
    {"/a/y.rkf", First("Alice", 300, 0, 12, false)},
    {"/b/z.rkf", RkfBytes().playCount(2).trailer(1)},
    {"/b/w.rkf", First("alice", 100, 7, 12, false)},
    {"/c/v.rkf", First("\x83\x4a\x83\x69", 9, 6, 100, false)}, // カナ
};

std::vector<std::int32_t> Shown(const LibraryModel &model)
{
    std::vector<std::int32_t> rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows.push_back(std::int32_t(model.foundIndex(row)));
    return rows;
}

} // namespace

class TestLibrary : public QObject {
    Q_OBJECT

  private slots:
    void sortOrder_data()
    {
        QTest::addColumn<int>("before"); // a column sorted ascending first, -1 for none
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<std::vector<std::int32_t>>("order");
        // clang-format off
        QTest::newRow("Score descending: numbers, a tie in found order, no place last") << -1 << int(OvScore) << true << std::vector<std::int32_t>{1, 0, 3, 4, 2};
        QTest::newRow("Score ascending: no place first") << -1 << int(OvScore) << false << std::vector<std::int32_t>{2, 4, 0, 3, 1};
        QTest::newRow("PlayCount descending") << -1 << int(OvPlayCount) << true << std::vector<std::int32_t>{4, 1, 3, 0, 2};
        QTest::newRow("Class from SS down to none, no place and class 7 alike") << -1 << int(OvClass) << true << std::vector<std::int32_t>{1, 0, 4, 2, 3};
        QTest::newRow("Path descending: found order reversed") << -1 << int(OvPath) << true << std::vector<std::int32_t>{4, 3, 2, 1, 0};
        QTest::newRow("Name ascending, letter case aside, kana after Latin") << -1 << int(OvName) << false << std::vector<std::int32_t>{2, 1, 3, 0, 4};
        QTest::newRow("Cleared after Score: stable within each state") << int(OvScore) << int(OvCleared) << true << std::vector<std::int32_t>{2, 0, 4, 3, 1};
        // clang-format on
    }
    void sortOrder()
    {
        QFETCH(int, before);
        QFETCH(int, column);
        QFETCH(bool, descending);
        QFETCH(std::vector<std::int32_t>, order);
        Found(kSortCharts);
        LibraryModel model;
        model.fill(kSortCharts.size());
        if (before >= 0)
            model.sort(before, Qt::AscendingOrder);
        model.sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        QCOMPARE(Shown(model), order);
        // A new search's files come sorted by the column chosen last.
        model.fill(kSortCharts.size());
        if (before < 0)
            QCOMPARE(Shown(model), order);
    }

    // Past the few rows a sort may order by insertion, equal values still keep their order.
    void stableOverManyRows()
    {
        QList<Chart> charts;
        for (int i = 0; i < 200; ++i)
            charts.append({QStringLiteral("/m/%1.rkf").arg(i), First("n", float(1 + i % 2), 0, 1, false)});
        Found(charts);
        LibraryModel model;
        model.fill(charts.size());
        model.sort(OvScore, Qt::DescendingOrder);
        const std::vector<std::int32_t> shown = Shown(model);
        for (std::size_t row = 1; row < shown.size(); ++row)
            QVERIFY(shown[row] % 2 != shown[row - 1] % 2 ? row == 100 : shown[row] > shown[row - 1]);
    }

    void filter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cleared"); // ClearedFilter
        QTest::addColumn<std::vector<std::int32_t>>("shown");
        // clang-format off
        QTest::newRow("kanji in a folder") << "譜面" << 0 << std::vector<std::int32_t>{0, 1};
        QTest::newRow("hiragana across folder and name") << "ぶ/ハ" << 0 << std::vector<std::int32_t>{0};
        QTest::newRow("letter case aside") << "EASY" << 0 << std::vector<std::int32_t>{1, 2};
        QTest::newRow("cleared only") << "譜面" << 1 << std::vector<std::int32_t>{1};
        QTest::newRow("not cleared, any path") << "" << 2 << std::vector<std::int32_t>{0, 2};
        QTest::newRow("nothing") << "むり" << 0 << std::vector<std::int32_t>{};
        // clang-format on
    }
    void filter()
    {
        QFETCH(QString, text);
        QFETCH(int, cleared);
        QFETCH(std::vector<std::int32_t>, shown);
        const QList<Chart> charts{{"/曲/譜面/しぶ/ハード.rkf", First("a", 10, 0, 7, false)},
                                  {"/曲/譜面/easy/ノーマル.rkf", First("b", 20, 3, 11, true)},
                                  {"/other/Easy.rkf", RkfBytes().playCount(1)}};
        Found(charts);
        LibraryModel model;
        model.fill(charts.size());
        // Typed a letter at a time: each step looks only at the rows the step before kept.
        for (qsizetype n = 1; n <= text.size(); ++n)
            model.setFilter(LibraryFilter(text.left(n), ClearedFilter::All));
        model.setFilter(LibraryFilter(text, ClearedFilter(cleared)));
        QCOMPARE(Shown(model), shown);
        QCOMPARE(model.countText(), QStringLiteral("%1 / 3").arg(shown.size()));
        OverviewTotals totals;
        for (const std::int32_t found : shown)
            totals.add(ScoreFiles[found]);
        QCOMPARE(model.totalsText(), OverviewTotalsText(totals));
        model.setFilter(LibraryFilter()); // widened again: every row
        QCOMPARE(Shown(model), (std::vector<std::int32_t>{0, 1, 2}));
    }

    // The rows as the table shows them: copied as tab-separated lines, saved in their shown order.
    void copyAndSave()
    {
        const QList<Chart> charts{{"/s/a.rkf", First("kaz", 10, 1, 3, true)},
                                  {"/s/b.rkf", First("\x82\x60", 20, 0, 4, false)}};
        Found(charts);
        LibraryModel model;
        model.fill(charts.size());
        model.sort(OvScore, Qt::DescendingOrder);
        const QString header =
            "Path\tPlayCount\tCleared\tPlaces\tName\tScore\tJ-PTS\tClass\tClear\tMAX COMBO\t"
            "Perfect\tGreat\tGood\tBad\tPoor\tOption\r\n";
        const QString a =
            "/s/a.rkf\t3\t○\t1\tkaz\t10\t0\t S\t×\t0\t0\t0\t0\t0\t0\t-- -- -- -- -- -- -- -- --\r\n";
        QCOMPARE(model.copyText({1}), header + a);

        QByteArray csv;
        QVERIFY(!model.saveBytes(SaveFormat::Csv, csv).failed());
        QCOMPARE(csv, platform::EncodeAnsi(QString::fromUtf8(
                          "Path,PlayCount,Cleared,Places,Name,Score,J-PTS,Class,Clear,MAX COMBO,"
                          "Perfect,Great,Good,Bad,Poor,Option\r\n"
                          "/s/b.rkf,4,×,1,Ａ,20,0,SS,×,0,0,0,0,0,0,-- -- -- -- -- -- -- -- --\r\n"
                          "/s/a.rkf,3,○,1,kaz,10,0, S,×,0,0,0,0,0,0,-- -- -- -- -- -- -- -- --\r\n")));

        model.setFilter(LibraryFilter("a.rkf", ClearedFilter::All));
        QByteArray text;
        QVERIFY(!model.saveBytes(SaveFormat::Text, text).failed());
        const QList<QByteArray> lines = text.split('\n');
        QVERIFY2(lines[0].startsWith("Path      PlayCount") && lines[1].startsWith("--------  ---------"),
                 text.constData());
        QVERIFY2(lines[2].startsWith("/s/a.rkf          3"), text.constData());
        QCOMPARE(lines[3], "\r");
        QCOMPARE(lines[4], "Files read          1\r"); // the totals of the rows shown
        QCOMPARE(lines.size(), 11);
    }
};

QTEST_GUILESS_MAIN(TestLibrary)
#include "test_library.moc"
