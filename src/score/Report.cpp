#include "score/Report.h"

#include "platform/NumberText.h"

#include <cmath>

namespace {

constexpr QStringView kCrLf = u"\r\n";

qsizetype CharacterCount(const QString &text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++count;
    }
    return count;
}

// A numeric cell read back as a float32; the cell text less `chop` trailing
// characters (the "x" of HS and RHS).
bool CellNumber(const QString &cell, qsizetype chop, float &value)
{
    const auto parsed = platform::ParseNumber(QStringView(cell).chopped(std::min(chop, cell.size())));
    if (!parsed)
        return false;
    value = *parsed;
    return true;
}

// The length, sign not counted, of the floor of a finite value written in the
// general number format. Whole numbers below ten million are written as plain
// digits, so those are counted without building the text.
qsizetype FloorDigitCount(float value)
{
    const double floor = std::floor(double(value));
    if (std::fabs(floor) < 1e7) {
        qsizetype count = 1;
        for (auto n = std::int64_t(std::fabs(floor)); n >= 10; n /= 10)
            ++count;
        return count;
    }
    QString digits = platform::GeneralNumber(float(floor));
    return digits.startsWith(QLatin1Char('-')) ? digits.size() - 1 : digits.size();
}

// Appends FormatNum(value, width, oneDecimal) to text.
void AppendNum(QString &text, float value, std::int16_t width, std::int16_t oneDecimal)
{
    if (!std::isfinite(value)) {
        text += platform::GeneralNumber(value);
        return;
    }
    const qsizetype spaces = width - FloorDigitCount(value);
    if (spaces > 0)
        text.resize(text.size() + spaces, QLatin1Char(' '));
    text += oneDecimal != 0 ? platform::OneDecimal(value) : platform::GeneralNumber(value);
}

} // namespace

QString PadName(const QString &name)
{
    const qsizetype missing = 8 - CharacterCount(name);
    return missing > 0 ? QString(missing, QLatin1Char(' ')) + name : name;
}

QString FormatNum(float value, std::int16_t width, std::int16_t oneDecimal)
{
    QString text;
    AppendNum(text, value, width, oneDecimal);
    return text;
}

QString MakeReport(const QString &summary, const QList<RankRow> &rows, Failure *failure)
{
    QString report;
    report.reserve(summary.size() + 4 + rows.size() * 160 + 81);
    report += summary;
    report += kCrLf;
    report += kCrLf;
    const qsizetype count = rows.size();
    for (qsizetype p = 1; p <= count; ++p) {
        const RankRow &row = rows[p - 1];
        enum { Score, JPts, HS, RHS, Combo, Perfect, Great, Good, Bad, Poor, N };
        static const struct {
            int column;
            int chop;
        } sources[N] = {{ColScore, 0},   {ColJPts, 0},  {ColHS, 1},   {ColRHS, 1}, {ColMaxCombo, 0},
                        {ColPerfect, 0}, {ColGreat, 0}, {ColGood, 0}, {ColBad, 0}, {ColPoor, 0}};
        // Score and J-PTS first: a row where both are 0 ends the report.
        float v[N];
        bool stop = false;
        for (int i = 0; i < N && !stop; ++i) {
            if (!CellNumber(row[sources[i].column], sources[i].chop, v[i])) {
                if (failure)
                    *failure = MakeFailure(kErrTypeMismatch);
                return QString();
            }
            stop = i == JPts && v[Score] == 0.0f && v[JPts] == 0.0f;
        }
        if (stop)
            break;

        const auto text = [&report](QStringView piece) { report += piece; };
        const auto num = [&report](float value, std::int16_t width, std::int16_t oneDecimal) {
            AppendNum(report, value, width, oneDecimal);
        };
        text(RankLabel(int(p)));
        text(u" : ");
        text(PadName(row[ColName]));
        text(u" : ");
        num(v[Score], 6, 0);
        text(u" : ");
        num(v[JPts], 6, 0);
        text(u" : ");
        num(v[HS], 2, 1);
        text(u"x : ");
        num(v[RHS], 1, 1);
        text(u"x : ");
        num(v[Combo], 4, 0);
        text(u" : ");
        text(row[ColClass]);
        text(u" : ");
        text(row[ColClear]);
        text(kCrLf);

        text(u"Perfect ");
        num(v[Perfect], 4, 0);
        text(u" Great ");
        num(v[Great], 4, 0);
        text(u" Good ");
        num(v[Good], 4, 0);
        text(u" Bad ");
        num(v[Bad], 4, 0);
        text(u" Poor ");
        num(v[Poor], 4, 0);
        text(u" : ");
        text(row[ColOption]);
        text(kCrLf);
    }
    report += QString(81, QLatin1Char('-'));
    if (failure)
        *failure = {};
    return report;
}
