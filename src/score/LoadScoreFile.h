#pragma once

#include "score/ScoreRecord.h"
#include "support/Failure.h"

#include <QByteArray>

// Loads one score file named by its bytes, the way a single-file load does:
// the path made absolute, the path fields split at the last separator, the
// record read. The record is fresh on return whatever it held before.
Failure LoadScoreFile(const QByteArray &nativePath, ScoreRecord &record);

// Sets the three path fields and the native path from a path's bytes.
void SetRecordPath(ScoreRecord &record, const QByteArray &nativePath);
