// The texts the window shows and copies: number formats, the ranking table's cells and summary, and the
// aligned report built back from the cell texts.

#include "platform/NumberText.h"
#include "score/Report.h"

#include <QLocale>
#include <QTest>
#include <limits>

using platform::GeneralNumber;
using platform::OneDecimal;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
const QString kClosing(81, u'-');

// The Score cells of the rows shown for places given as score, J-PTS, score, J-PTS, ...
QString Shown(const QList<int> &places, bool topOnly = false)
{
    ScoreRecord r;
    for (int k = 0; 2 * k < places.size(); ++k) {
        r.Score[k] = places[2 * k];
        r.JPts[k] = places[2 * k + 1];
    }
    QStringList scores;
    for (const RankRow &row : MakeRankRows(r, topOnly))
        scores << row[ColScore];
    return scores.join(u'|');
}

// A table row as the window shows it: a full row's cells with the given name, Score and J-PTS.
RankRow Row(const QString &name, const QString &score = "987", const QString &jpts = "345")
{
    return {" 1st", name, score, jpts, "400",
            "100",  "10", "1",   "0",  "512",
            "2.5x", "3x", " A",  "○",  "-- -- -- -- -- -- -- -- --"};
}

RankRow With(int column, const QString &cell)
{
    RankRow row = Row("B");
    row[column] = cell;
    return row;
}

// The first line of every reported row cut to n characters, joined by '|'; or the failure.
QString Lines(const QList<RankRow> &rows, int n = 99)
{
    Failure failure;
    const QString report = MakeReport("s", rows, &failure);
    if (failure.failed())
        return QStringLiteral("error %1%2").arg(failure.Number).arg(report.isEmpty() ? "" : ", text kept");
    const QStringList lines = report.split("\r\n");
    QStringList first;
    for (int i = 2; i + 1 < lines.size(); i += 2)
        first << lines[i].left(n);
    return first.join(u'|') + (lines.last() == kClosing ? "" : ", no closing line");
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

  private slots:
    // One-decimal halves go away from zero, judged on the value the float holds. Report widths align the
    // integer part of the floor, sign not counted; numeric cells are read back as float32 with the
    // locale, and a cell that is not a number is a type mismatch (13).
    void texts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        ScoreRecord r;
        r.FolderPath = "/s/";
        r.FileName = "曲.rkf";
        r.PlayCount = -1;
        const QString summary = "/scores/chart.rkf\r\n[○ CLEARED] PlayCount:12回";
        QList<RankRow> lastFirst;
        for (int place = 10; place >= 1; --place)
            lastFirst << Row(QStringLiteral("P%1").arg(place));
        const QString b = " 1st :        B : ", e = " :  512 :  A : ○";
        // clang-format off
        QTest::newRow("-0 is 0") << GeneralNumber(-0.0f) << "0";
        QTest::newRow("0.75 keeps its leading zero") << GeneralNumber(0.75f) << "0.75";
        QTest::newRow("9999999 last plain whole") << GeneralNumber(9999999.0f) << "9999999";
        QTest::newRow("ten million") << GeneralNumber(1e7f) << "1E+07";
        QTest::newRow("12345678 to 7 digits") << GeneralNumber(12345678.0f) << "1.234568E+07";
        QTest::newRow("0.0001 still plain") << GeneralNumber(0.0001f) << "0.0001";
        QTest::newRow("just below 0.0001 in exponent form") << GeneralNumber(0.00009999f) << "9.999E-05";
        QTest::newRow("NaN") << GeneralNumber(kNaN) << "NaN";
        QTest::newRow("Inf") << GeneralNumber(kInf) << "Inf";
        QTest::newRow("1d: -0.04 is 0.0 without minus") << OneDecimal(-0.04f) << "0.0";
        QTest::newRow("1d: exact half 0.25 away from zero") << OneDecimal(0.25f) << "0.3";
        QTest::newRow("1d: exact half -0.25 away from zero") << OneDecimal(-0.25f) << "-0.3";
        QTest::newRow("1d: 0.35 is stored below the half") << OneDecimal(0.35f) << "0.3";
        QTest::newRow("options all zero, 26 characters") << OptionText(0, 0, 0, 0, 0) << "-- -- -- -- -- -- -- -- --";
        QTest::newRow("options Hi Su, Rn, 4D") << OptionText(3, 1, 0, 0, 1) << "Hi Su -- Rn -- -- -- -- 4D";
        QTest::newRow("option 1 code 5 has no text") << OptionText(5, 0, 0, 0, 0) << " -- -- -- -- -- --";
        QTest::newRow("option 2 code 3 drops its group, 20 characters") << OptionText(0, 3, 0, 0, 0) << "-- -- -- -- -- -- --";
        QTest::newRow("any nonzero is Cr and 4D") << OptionText(0, 0, 0, 255, 7) << "-- -- -- -- -- -- -- Cr 4D";
        QTest::newRow("group codes out of range") << OptionText(255, 255, 255, 0, 0) << " -- --";
        QTest::newRow("rows stop at the first empty place") << Shown({100, 50, 90, 40, 0, 0, 80, 30}) << "100|90";
        QTest::newRow("score 0 or J-PTS 0 alone is shown") << Shown({100, 50, 0, 5, 5, 0}) << "100|0|5";
        QTest::newRow("empty first place, data later") << Shown({0, 0, 100, 1}) << "";
        QTest::newRow("negative score is not empty") << Shown({-5, 0}) << "-5";
        QTest::newRow("all ten places") << Shown(QList<int>(20, 1)) << "1|1|1|1|1|1|1|1|1|1";
        QTest::newRow("show top only") << Shown({100, 50, 90, 40}, true) << "100";
        QTest::newRow("summary, not cleared") << MakeSummary(r) << "/s/曲.rkf\r\n[× NOT CLEARED] PlayCount:-1回";
        QTest::newRow("one full row: summary, two lines, closing line") << MakeReport(summary, {Row("ABC")}) << summary + "\r\n\r\n 1st :      ABC :    987 :    345 :  2.5x : 3.0x :  512 :  A : ○\r\nPerfect  400 Great  100 Good   10 Bad    1 Poor    0 : -- -- -- -- -- -- -- -- --\r\n" + kClosing;
        QTest::newRow("empty table") << MakeReport("start-up text", {}) << "start-up text\r\n\r\n" + kClosing;
        QTest::newRow("PadName nine letters never cut") << PadName("ABCDEFGHI") << "ABCDEFGHI";
        QTest::newRow("PadName four double-byte characters") << PadName("ＡＢＣＤ") << "    ＡＢＣＤ";
        QTest::newRow("FormatNum -5 width 6 is seven wide") << FormatNum(-5, 6, 0) << "     -5";
        QTest::newRow("FormatNum -9.5 floors to -10") << FormatNum(-9.5f, 6, 0) << "    -9.5";
        QTest::newRow("FormatNum 9.96 pads for the floor 9") << FormatNum(9.96f, 2, 1) << " 10.0";
        QTest::newRow("FormatNum -1E+07: the value's minus sign not counted") << FormatNum(-1e7f, 6, 0) << " -1E+07";
        QTest::newRow("FormatNum -Inf unpadded") << FormatNum(-kInf, 6, 0) << "-Inf";
        QTest::newRow("labels follow the table order") << Lines(lastFirst, 15) << " 1st :      P10| 2nd :       P9| 3rd :       P8| 4th :       P7| 5th :       P6| 6th :       P5| 7th :       P4| 8th :       P3| 9th :       P2|10th :       P1";
        QTest::newRow("Score and J-PTS 0 end the report") << Lines({Row("A"), Row("B", "0", "0"), With(ColPerfect, "n/a")}, 4) << " 1st";
        QTest::newRow("Score 0 alone goes on") << Lines({Row("A"), Row("B", "0", "5"), Row("C")}, 4) << " 1st| 2nd| 3rd";
        QTest::newRow("Score cell 10000000 in exponent form") << Lines({With(ColScore, "10000000")}) << b + " 1E+07 :    345 :  2.5x : 3.0x" + e;
        QTest::newRow("J-PTS cell -0 as 0") << Lines({With(ColJPts, "-0")}) << b + "   987 :      0 :  2.5x : 3.0x" + e;
        QTest::newRow("HS cell NaNx unpadded") << Lines({With(ColHS, "NaNx")}) << b + "   987 :    345 : NaNx : 3.0x" + e;
        QTest::newRow("Score cell abc is a type mismatch") << Lines({With(ColScore, "abc")}) << "error 13";
        QTest::newRow("German comma in a C locale is a type mismatch") << Lines({With(ColHS, "2,5x")}) << "error 13";
        QLocale::setDefault(QLocale(QLocale::German));
        QTest::newRow("German decimal comma") << GeneralNumber(2.5f) << "2,5";
        QTest::newRow("German HS cell read back") << Lines({With(ColHS, "2,25x")}) << b + "   987 :    345 :  2,3x : 3,0x" + e;
        QLocale::setDefault(QLocale::c());
        // clang-format on
    }
    void texts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }
};

QTEST_APPLESS_MAIN(TestReport)
#include "test_report.moc"
