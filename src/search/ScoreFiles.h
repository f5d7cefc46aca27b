#pragma once

#include "search/ScoreRecordList.h"

// The loaded-file list: element k belongs to item k of the found-file list;
// the last element is the single-file slot. Start-up leaves one empty element.
extern ScoreRecordList ScoreFiles;

// Resets the list to a single empty element (index 0).
void ResetScoreFiles();

// As ResetScoreFiles, but the earlier records are only put aside, to be
// destroyed a few at a time by DiscardSetAsideRecords: a search of many files
// need not stop for a long while to free the search before it.
void ResetScoreFilesLater();

// Destroys up to count of the records put aside (all with a negative count);
// returns whether any remain.
bool DiscardSetAsideRecords(qsizetype count);

// The single-file slot: the last element.
ScoreRecord &SingleFileSlot();
