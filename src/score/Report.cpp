#include "score/Report.h"

#include "platform/NumberText.h"

#include <cmath>

namespace {

const QLatin1String kCrLf("\r\n");

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

} // namespace

QString PadName(const QString &name)
{
    const qsizetype missing = 8 - CharacterCount(name);
    return missing > 0 ? QString(missing, QLatin1Char(' ')) + name : name;
}

QString FormatNum(float value, std::int16_t width, std::int16_t oneDecimal)
{
    if (!std::isfinite(value))
        return platform::GeneralNumber(value);
    QString digits = platform::GeneralNumber(std::floor(value));
    if (digits.startsWith(QLatin1Char('-')))
        digits.remove(0, 1);
    const qsizetype spaces = width - digits.size();
    const QString number = oneDecimal != 0 ? platform::OneDecimal(value) : platform::GeneralNumber(value);
    return spaces > 0 ? QString(spaces, QLatin1Char(' ')) + number : number;
}

QString MakeReport(const QString &summary, const QList<RankRow> &rows, Failure *failure)
{
    QString report = summary + kCrLf + kCrLf;
    const qsizetype count = rows.size();
    for (qsizetype p = 1; p <= count; ++p) {
        const RankRow &row = rows[p - 1];
        enum { Score, JPts, HS, RHS, Combo, Perfect, Great, Good, Bad, Poor, N };
        static const struct {
            int column;
            int chop;
        } sources[N] = {{ColScore, 0}, {ColJPts, 0},   {ColHS, 1},   {ColRHS, 1}, {ColMaxCombo, 0},
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

        report += RankLabel(int(p)) + QLatin1String(" : ") + PadName(row[ColName]) + QLatin1String(" : ") +
                  FormatNum(v[Score], 6, 0) + QLatin1String(" : ") + FormatNum(v[JPts], 6, 0) +
                  QLatin1String(" : ") + FormatNum(v[HS], 2, 1) + QLatin1String("x : ") +
                  FormatNum(v[RHS], 1, 1) + QLatin1String("x : ") + FormatNum(v[Combo], 4, 0) +
                  QLatin1String(" : ") + row[ColClass] + QLatin1String(" : ") + row[ColClear] + kCrLf;
        report += QLatin1String("Perfect ") + FormatNum(v[Perfect], 4, 0) + QLatin1String(" Great ") +
                  FormatNum(v[Great], 4, 0) + QLatin1String(" Good ") + FormatNum(v[Good], 4, 0) +
                  QLatin1String(" Bad ") + FormatNum(v[Bad], 4, 0) + QLatin1String(" Poor ") +
                  FormatNum(v[Poor], 4, 0) + QLatin1String(" : ") + row[ColOption] + kCrLf;
    }
    report += QString(81, QLatin1Char('-'));
    if (failure)
        *failure = {};
    return report;
}
