#pragma once

#include "score/ScoreRecord.h"

#include <QString>
#include <array>
#include <cstdint>

// One line per score file: the chart's state and its first place, for
// looking over a whole folder of charts at once.

enum OverviewColumn : int {
    OvPath,
    OvPlayCount,
    OvCleared,
    OvPlaces,
    OvName,
    OvScore,
    OvJPts,
    OvClass,
    OvClear,
    OvMaxCombo,
    OvPerfect,
    OvGreat,
    OvGood,
    OvBad,
    OvPoor,
    OvOption,
    kOverviewColumnCount
};

struct OverviewColumnSpec {
    const char *header;
    bool number; // right-aligned in the text table
};

// The sixteen columns in order.
const std::array<OverviewColumnSpec, kOverviewColumnCount> &OverviewColumns();

// The first-place classes the totals count: SS, S, A, B, C, D, E, and none
// (no place shown, or a class code of 7 and above, which the table leaves empty).
inline constexpr int kOverviewClasses = 8;
inline constexpr int kNoClass = 7;

// The class slot of the record's first place.
int FirstPlaceClass(const ScoreRecord &record);

// Counters over the files of an overview; they take no memory per file.
struct OverviewTotals {
    std::int64_t read = 0;
    std::int64_t failed = 0;
    std::int64_t cleared = 0;
    std::int64_t notCleared = 0;
    std::array<std::int64_t, kOverviewClasses> firstPlaces{};
    std::int64_t plays = 0;

    void add(const ScoreRecord &record);
    void addFailure() { ++failed; }
};

// The totals block: one "label  value" line per counter, the first-place
// classes on one line, every line ended by CR LF.
QString OverviewTotalsText(const OverviewTotals &totals);
