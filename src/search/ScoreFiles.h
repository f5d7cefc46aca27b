#pragma once

#include "score/ScoreRecord.h"

#include <QList>

// The loaded-file list: element k belongs to item k of the found-file list;
// the last element is the single-file slot. Start-up leaves one empty element.
extern QList<ScoreRecord> ScoreFiles;

// Resets the list to a single empty element (index 0).
void ResetScoreFiles();

// The single-file slot: the last element.
ScoreRecord &SingleFileSlot();
