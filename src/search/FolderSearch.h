#pragma once

#include "score/ScoreRecord.h"
#include "search/SearchObserver.h"
#include "support/Failure.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// How a search ended.
struct SearchResult {
    // The failure that stopped the search at once, and the procedure it is
    // reported under: "ReadRKF", "DoFind" or "SubFind". Number 0: none.
    Failure failure;
    QString procedure;
    // Why the searched folder itself could not be listed (Number 0: it was).
    // Not a failure of the search: ScoreFiles is then left with one element.
    Failure folderError;
    int found = 0; // score files read

    bool failed() const { return failure.failed(); }
};

// Searches a folder and its immediate sub-folders for score files and rebuilds
// ScoreFiles: the folder's own score files in listing order, then those of
// each sub-folder in turn, each announced to the observer once read; then one
// fresh element for the single-file slot. The files are read ahead, many at
// once, and taken strictly in that order. With no score file the list ends
// with two elements; when the folder cannot be listed, with one. The first
// file that cannot be read stops the search with the failure under
// "ReadRKF": it is the last element, no file after it is added, and reads
// still in flight are not waited for. folder is the folder's bytes; a missing
// final separator is added. While a search runs, a nested call changes
// nothing and returns at once.
SearchResult DoFind(const QByteArray &folder, SearchObserver &observer);

// Searches one sub-folder (never its own sub-folders). count is the running
// number of files found: the index of the next file, raised by each one.
SearchResult SubFind(const QByteArray &folder, std::int32_t &count, SearchObserver &observer);

// True while DoFind runs. Load commands that arrive while it processes
// events are refused, as they would overwrite records being filled.
bool SearchRunning();

// An entry is a score file when it is no folder and its name, trimmed of
// spaces, ends in ".RKF" in any case.
bool IsScoreFileName(const QByteArray &name);

// Receives the files of ForEachScoreFile one at a time.
class ScoreFileVisitor {
  public:
    virtual ~ScoreFileVisitor() = default;

    // A file read; its path fields are set as DoFind sets them.
    virtual void visit(const ScoreRecord &record) = 0;

    // A file that could not be read (the record partly filled). Returning
    // true skips it and goes on; false stops with the failure under "ReadRKF".
    virtual bool skipUnreadable(const ScoreRecord &record, const Failure &failure) = 0;

    // A sub-folder (its bytes, without the final separator) that could not be
    // listed; the walk goes on with the next one.
    virtual void skipUnlistable(const QByteArray &folder, const Failure &failure) = 0;
};

// Reads the score files DoFind would find in folder, in the same order and
// read ahead the same way, into a single record, without keeping them and
// without touching ScoreFiles. For reports over folders of any size.
SearchResult ForEachScoreFile(const QByteArray &folder, ScoreFileVisitor &visitor);
