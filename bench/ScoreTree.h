#pragma once

#include <QByteArray>

// The benchmark's folder: filesAtTop score files, then subFolders folders of
// filesPerFolder score files each. Every file holds a full ranking of ten
// places with names from a small set, as a player's own files do.
struct TreeShape {
    int filesAtTop = 100;
    int subFolders = 200;
    int filesPerFolder = 100;

    int total() const { return filesAtTop + subFolders * filesPerFolder; }
};

// Writes the tree below root (an existing folder); false on a write failure.
bool WriteScoreTree(const QByteArray &root, const TreeShape &shape);
