#pragma once

#include <QByteArray>

// The floor under any search: list the folder and its immediate sub-folders
// and read the first 448 bytes of every file, with plain system calls, no
// sorting and no strings. Returns the number of files read, -1 on failure.
int RawScan(const QByteArray &root);
