#pragma once

#include <QByteArray>

// The floor under any search: list the folder and its immediate sub-folders
// and read the first 448 bytes of every file, with plain system calls, no
// sorting and no strings, one file after another. Returns the number of
// files read, -1 on failure.
int RawScan(const QByteArray &root);

// The same reads from threads readers at once, in no particular order, while
// the calling thread lists the folders: the floor for a search that reads
// ahead in parallel.
int RawScanParallel(const QByteArray &root, int threads);
