#include "score/RankingText.h"

#include "platform/NumberText.h"

const std::array<RankColumnSpec, kRankColumnCount> &RankColumns()
{
    static const std::array<RankColumnSpec, kRankColumnCount> columns{{
        {"Rank", 40, false},
        {"Name", 70, true},
        {"Score", 60, true},
        {"J-PTS", 60, true},
        {"Perfect", 64, true},
        {"Great", 60, true},
        {"Good", 60, true},
        {"Bad", 60, true},
        {"Poor", 60, true},
        {"MAX COMBO", 76, true},
        {"HS", 50, true},
        {"RHS", 40, true},
        {"Class", 48, true},
        {"Clear", 48, true},
        {"Option", 200, false},
    }};
    return columns;
}

QString RankLabel(int place)
{
    // Built once: a report asks for a label on every row.
    static const QString labels[] = {
        QStringLiteral(" 1st"), QStringLiteral(" 2nd"), QStringLiteral(" 3rd"), QStringLiteral(" 4th"),
        QStringLiteral(" 5th"), QStringLiteral(" 6th"), QStringLiteral(" 7th"), QStringLiteral(" 8th"),
        QStringLiteral(" 9th"), QStringLiteral("10th"),
    };
    if (place >= 1 && place <= 10)
        return labels[place - 1];
    return QLatin1Char(' ') + QString::number(place) + QLatin1String("th");
}

QString ClassText(std::int32_t code)
{
    static const char *const letters[] = {"SS", " S", " A", " B", " C", " D", " E"};
    if (code < 0 || code > 6)
        return QString();
    return QLatin1String(letters[code]);
}

QString OptionText(int option1, int option2, int option3, int option4, int option5)
{
    static const char *const group1[] = {"-- -- --", "Hi -- --", "-- Su --", "Hi Su --", "-- -- St"};
    static const char *const group2[] = {" -- --", " Rn --", " -- Sh"};
    static const char *const group3[] = {" -- --", " Ac --", " -- Dc"};
    QString text;
    text.reserve(26);
    if (option1 >= 0 && option1 <= 4)
        text += QLatin1String(group1[option1]);
    if (option2 >= 0 && option2 <= 2)
        text += QLatin1String(group2[option2]);
    if (option3 >= 0 && option3 <= 2)
        text += QLatin1String(group3[option3]);
    text += option4 == 0 ? QLatin1String(" --") : QLatin1String(" Cr");
    text += option5 == 0 ? QLatin1String(" --") : QLatin1String(" 4D");
    return text;
}

RankRow MakeRankRow(const ScoreRecord &r, int k)
{
    RankRow row;
    row[ColRank] = RankLabel(k + 1);
    row[ColName] = r.Name[k];
    row[ColScore] = QString::number(r.Score[k]);
    row[ColJPts] = QString::number(r.JPts[k]);
    row[ColPerfect] = QString::number(r.Perfect[k]);
    row[ColGreat] = QString::number(r.Great[k]);
    row[ColGood] = QString::number(r.Good[k]);
    row[ColBad] = QString::number(r.Bad[k]);
    row[ColPoor] = QString::number(r.Poor[k]);
    row[ColMaxCombo] = QString::number(r.MaxCombo[k]);
    row[ColHS] = platform::GeneralNumber(r.HS[k]) + QLatin1Char('x');
    row[ColRHS] = platform::GeneralNumber(r.RHS[k]) + QLatin1Char('x');
    row[ColClass] = ClassText(r.ClassCode[k]);
    row[ColClear] = r.ClearMark[k] == -1 ? QStringLiteral("○") : QStringLiteral("×");
    row[ColOption] = OptionText(r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k]);
    return row;
}

QList<RankRow> MakeRankRows(const ScoreRecord &record, bool topOnly)
{
    QList<RankRow> rows;
    for (int k = 0; k < ShownPlaces(record, topOnly); ++k)
        rows.append(MakeRankRow(record, k));
    return rows;
}

QString MakeSummary(const ScoreRecord &record)
{
    return record.FilePath() + QLatin1String("\r\n") +
           (record.Cleared == -1 ? QStringLiteral("[○ CLEARED] ") : QStringLiteral("[× NOT CLEARED] ")) +
           QLatin1String("PlayCount:") + QString::number(record.PlayCount) + QStringLiteral("回");
}
