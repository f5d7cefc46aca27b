// The texts of the ranking table and the summary.

#include "score/RankingText.h"

#include <QLocale>
#include <QTest>
#include <limits>

namespace {

using Places = QList<QPair<int, int>>; // score and J-PTS of places 1, 2, ...

ScoreRecord RecordWith(const Places &places)
{
    ScoreRecord r;
    for (int k = 0; k < places.size(); ++k) {
        r.Score[k] = places[k].first;
        r.JPts[k] = places[k].second;
    }
    return r;
}

} // namespace

class TestRankingText : public QObject {
    Q_OBJECT

  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void rankLabel()
    {
        const QStringList labels{" 1st", " 2nd", " 3rd", " 4th", " 5th",
                                 " 6th", " 7th", " 8th", " 9th", "10th"};
        for (int place = 1; place <= 10; ++place)
            QCOMPARE(RankLabel(place), labels[place - 1]);
    }

    void classText()
    {
        const QStringList texts{"SS", " S", " A", " B", " C", " D", " E", "", ""};
        const int codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 255};
        for (int i = 0; i < 9; ++i)
            QCOMPARE(ClassText(codes[i]), texts[i]);
    }

    void optionText_data()
    {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("all zero") << QList<int>{0, 0, 0, 0, 0} << "-- -- -- -- -- -- -- -- --";
        QTest::newRow("Hi Su, Rn, 4D") << QList<int>{3, 1, 0, 0, 1} << "Hi Su -- Rn -- -- -- -- 4D";
        QTest::newRow("group 1 code 1") << QList<int>{1, 0, 0, 0, 0} << "Hi -- -- -- -- -- -- -- --";
        QTest::newRow("group 1 code 2") << QList<int>{2, 0, 0, 0, 0} << "-- Su -- -- -- -- -- -- --";
        QTest::newRow("group 1 code 4 stands alone") << QList<int>{4, 0, 0, 0, 0} << "-- -- St -- -- -- -- -- --";
        QTest::newRow("group 1 code 5 has no text") << QList<int>{5, 0, 0, 0, 0} << " -- -- -- -- -- --";
        QTest::newRow("option 2 code 3 drops group 2") << QList<int>{0, 3, 0, 0, 0} << "-- -- -- -- -- -- --";
        QTest::newRow("Sh, Ac, Dc") << QList<int>{0, 2, 1, 0, 0} << "-- -- -- -- Sh Ac -- -- --";
        QTest::newRow("option 3 code 2") << QList<int>{0, 0, 2, 0, 0} << "-- -- -- -- -- -- Dc -- --";
        QTest::newRow("any nonzero is Cr and 4D") << QList<int>{0, 0, 0, 255, 7} << "-- -- -- -- -- -- -- Cr 4D";
        QTest::newRow("group codes out of range") << QList<int>{255, 255, 255, 0, 0} << " -- --";
        // clang-format on
    }
    void optionText()
    {
        QFETCH(QList<int>, codes);
        QFETCH(QString, text);
        QCOMPARE(OptionText(codes[0], codes[1], codes[2], codes[3], codes[4]), text);
    }

    // Places are shown in order up to the first one whose score and J-PTS
    // are both 0; with show-top-only at most the first.
    void shownRows_data()
    {
        QTest::addColumn<Places>("places");
        QTest::addColumn<bool>("topOnly");
        QTest::addColumn<int>("shown");
        // clang-format off
        QTest::newRow("stops at the first empty place") << Places{{100, 50}, {90, 40}, {0, 0}, {80, 30}} << false << 2;
        QTest::newRow("score 0 with J-PTS 5 is shown") << Places{{100, 50}, {0, 5}, {5, 0}} << false << 3;
        QTest::newRow("empty first place, data later") << Places{{0, 0}, {100, 1}} << false << 0;
        QTest::newRow("negative score is not empty") << Places{{-5, 0}} << false << 1;
        QTest::newRow("all ten places") << Places(10, {1, 1}) << false << 10;
        QTest::newRow("show top only") << Places{{100, 50}, {90, 40}} << true << 1;
        QTest::newRow("show top only, empty first place") << Places{{0, 0}, {90, 40}} << true << 0;
        // clang-format on
    }
    void shownRows()
    {
        QFETCH(Places, places);
        QFETCH(bool, topOnly);
        QFETCH(int, shown);
        const QList<RankRow> rows = MakeRankRows(RecordWith(places), topOnly);
        QCOMPARE(rows.size(), shown);
        for (int k = 0; k < shown; ++k) {
            QCOMPARE(rows[k][ColRank], RankLabel(k + 1));
            QCOMPARE(rows[k][ColScore], QString::number(places[k].first));
        }
    }

    void rowCells()
    {
        ScoreRecord r;
        r.Name[3] = QStringLiteral("ＡＢＣ");
        r.Score[3] = 987;
        r.JPts[3] = -345;
        r.Perfect[3] = 400;
        r.Great[3] = 100;
        r.Good[3] = 10;
        r.Bad[3] = 1;
        r.Poor[3] = -1;
        r.MaxCombo[3] = 512;
        r.HS[3] = 0.75f;
        r.RHS[3] = 3;
        r.ClassCode[3] = 6;
        r.ClearMark[3] = -1;
        r.Option1[3] = 3;
        r.Option2[3] = 1;
        r.Option5[3] = 1;
        const QStringList expected{" 4th",  "ＡＢＣ", "987", "-345", "400",
                                   "100",   "10",     "1",   "-1",   "512",
                                   "0.75x", "3x",     " E",  "○",    "Hi Su -- Rn -- -- -- -- 4D"};
        const RankRow row = MakeRankRow(r, 3);
        QCOMPARE(QStringList(row.begin(), row.end()), expected);

        r.ClearMark[3] = 1; // only -1 is cleared
        r.ClassCode[3] = 7;
        QCOMPARE(MakeRankRow(r, 3)[ColClear], QStringLiteral("×"));
        QCOMPARE(MakeRankRow(r, 3)[ColClass], QString());
    }

    void multiplierCells_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("cell");
        // clang-format off
        QTest::newRow("0.75") << "C" << 0.75f << "0.75x";
        QTest::newRow("3") << "C" << 3.0f << "3x";
        QTest::newRow("2.25") << "C" << 2.25f << "2.25x";
        QTest::newRow("ten million") << "C" << 1e7f << "1E+07x";
        QTest::newRow("NaN") << "C" << std::numeric_limits<float>::quiet_NaN() << "NaNx";
        QTest::newRow("German 2.5") << "de_DE" << 2.5f << "2,5x";
        // clang-format on
    }
    void multiplierCells()
    {
        QFETCH(QString, locale);
        QFETCH(float, value);
        QFETCH(QString, cell);
        QLocale::setDefault(QLocale(locale));
        ScoreRecord r;
        r.HS[0] = value;
        r.RHS[0] = value;
        const RankRow row = MakeRankRow(r, 0);
        QCOMPARE(row[ColHS], cell);
        QCOMPARE(row[ColRHS], cell);
    }

    void summary_data()
    {
        QTest::addColumn<int>("cleared");
        QTest::addColumn<int>("playCount");
        QTest::addColumn<QString>("secondLine");
        // clang-format off
        QTest::newRow("cleared") << -1 << 12 << "[○ CLEARED] PlayCount:12回";
        QTest::newRow("not cleared") << 0 << 0 << "[× NOT CLEARED] PlayCount:0回";
        QTest::newRow("negative play count") << 0 << -1 << "[× NOT CLEARED] PlayCount:-1回";
        // clang-format on
    }
    void summary()
    {
        QFETCH(int, cleared);
        QFETCH(int, playCount);
        QFETCH(QString, secondLine);
        ScoreRecord r;
        r.FilePath = QStringLiteral("/scores/曲/chart.rkf");
        r.Cleared = std::int16_t(cleared);
        r.PlayCount = playCount;
        QCOMPARE(MakeSummary(r), QStringLiteral("/scores/曲/chart.rkf\r\n") + secondLine);
    }
};

QTEST_APPLESS_MAIN(TestRankingText)
#include "test_ranking_text.moc"
