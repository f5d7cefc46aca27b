#pragma once

#include "score/RankingText.h"
#include "support/Failure.h"

#include <QList>
#include <QString>
#include <cstdint>

// The aligned plain-text report of what the window shows: the summary text,
// an empty line, two lines for each table row in table order, and a closing
// line of 81 hyphens (no line end after it). Built from the cell texts, so it
// follows the table's current order. A numeric cell that does not parse as a
// number is a type-mismatch failure; the text is then empty.
QString MakeReport(const QString &summary, const QList<RankRow> &rows, Failure *failure = nullptr);

// The string right-aligned in 8 characters; longer strings are never cut.
QString PadName(const QString &name);

// The number preceded by spaces so that the integer part of its floor fills
// width characters (sign not counted); plain general format, or one decimal
// when oneDecimal is nonzero. Not-a-number and infinities come out unpadded.
QString FormatNum(float value, std::int16_t width, std::int16_t oneDecimal);
