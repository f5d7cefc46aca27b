#pragma once

#include "export/SaveText.h"
#include "score/ScoreRecord.h"
#include "support/Failure.h"

#include <QByteArray>
#include <functional>

// The overview of count records, record(i) for i = 0 .. count-1 in that
// order, as a saved file in code page 932: CSV (the header line, then one
// line per record), or the aligned text table of rkfreport --overview with a
// blank line and the totals of these records under it. A failure to keep
// the table's rows leaves out empty and is returned.
Failure OverviewFileBytes(SaveFormat format, qsizetype count,
                          const std::function<const ScoreRecord &(qsizetype i)> &record, QByteArray &out);
