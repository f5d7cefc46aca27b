#include "score/Overview.h"

#include "score/RankingText.h"

const std::array<OverviewColumnSpec, kOverviewColumnCount> &OverviewColumns()
{
    static const std::array<OverviewColumnSpec, kOverviewColumnCount> columns{{
        {"Path", false},
        {"PlayCount", true},
        {"Cleared", false},
        {"Places", true},
        {"Name", false},
        {"Score", true},
        {"J-PTS", true},
        {"Class", false},
        {"Clear", false},
        {"MAX COMBO", true},
        {"Perfect", true},
        {"Great", true},
        {"Good", true},
        {"Bad", true},
        {"Poor", true},
        {"Option", false},
    }};
    return columns;
}

int FirstPlaceClass(const ScoreRecord &record)
{
    if (ShownPlaces(record, true) == 0)
        return kNoClass;
    const std::int32_t code = record.ClassCode[0];
    return code >= 0 && code < kNoClass ? int(code) : kNoClass;
}

void OverviewTotals::add(const ScoreRecord &record)
{
    ++read;
    if (record.Cleared == -1)
        ++cleared;
    else
        ++notCleared;
    ++firstPlaces[std::size_t(FirstPlaceClass(record))];
    plays += record.PlayCount;
}

QString OverviewTotalsText(const OverviewTotals &totals)
{
    const auto line = [](const char *label, const QString &value) {
        return QString::fromLatin1(label).leftJustified(20) + value + QLatin1String("\r\n");
    };
    QString classes;
    for (int c = 0; c < kOverviewClasses; ++c) {
        if (c != 0)
            classes += QLatin1String("  ");
        classes += c == kNoClass ? QStringLiteral("none") : ClassText(c).trimmed();
        classes += QLatin1Char(' ') + QString::number(totals.firstPlaces[std::size_t(c)]);
    }
    return line("Files read", QString::number(totals.read)) +
           line("Files failed", QString::number(totals.failed)) +
           line("Charts cleared", QString::number(totals.cleared)) +
           line("Charts not cleared", QString::number(totals.notCleared)) + line("First places", classes) +
           line("Plays in all", QString::number(totals.plays));
}
