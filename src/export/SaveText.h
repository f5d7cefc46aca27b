#pragma once

#include "score/RankingText.h"
#include "support/Failure.h"

#include <QList>
#include <QString>

// What a saved file holds, chosen by the end of its name.
enum class SaveFormat { Text, Csv };

// CSV when the last four characters of the name, in upper case, are ".CSV";
// text for every other name.
SaveFormat FormatForName(const QString &fileName);

// The whole text of a saved file: the CSV text, or the report followed by
// CR LF. A report failure leaves the text empty and is returned in failure.
QString SaveText(SaveFormat format, const QString &summary, const QList<RankRow> &rows,
                 Failure *failure = nullptr);
