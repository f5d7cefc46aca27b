#pragma once

#include "score/ScoreRecord.h"

#include <QList>
#include <QString>
#include <array>
#include <cstdint>

// The texts of the ranking table and the summary, exactly as the window shows
// them. The window only copies these into its controls.

enum RankColumn : int {
    ColRank,
    ColName,
    ColScore,
    ColJPts,
    ColPerfect,
    ColGreat,
    ColGood,
    ColBad,
    ColPoor,
    ColMaxCombo,
    ColHS,
    ColRHS,
    ColClass,
    ColClear,
    ColOption,
    kRankColumnCount
};

// One table row: column 0 is the rank label, columns 1 to 14 its sub-items.
using RankRow = std::array<QString, kRankColumnCount>;

struct RankColumnSpec {
    const char *header;
    int width; // pixels
    bool rightAligned;
};

// The fifteen columns in creation order.
const std::array<RankColumnSpec, kRankColumnCount> &RankColumns();

// " 1st", " 2nd", " 3rd", " 4th" ... " 9th", "10th" for places 1 to 10.
QString RankLabel(int place);

// "SS", " S", " A" ... " E" for codes 0 to 6; empty for 7 and above.
QString ClassText(std::int32_t code);

// The five option groups joined together ("-- -- -- -- -- -- -- -- --" with
// every code 0).
QString OptionText(int option1, int option2, int option3, int option4, int option5);

// The cells of place k (0-based) of the record.
RankRow MakeRankRow(const ScoreRecord &record, int k);

// The rows shown for a record: places in order up to the first one whose
// score and J-PTS are both 0; with topOnly at most the first place.
QList<RankRow> MakeRankRows(const ScoreRecord &record, bool topOnly);

// The two-line summary: the file path, CR LF, then the clear state and the
// play count, as "[○ CLEARED] PlayCount:12回".
QString MakeSummary(const ScoreRecord &record);
