#pragma once

#include <QByteArray>
#include <QList>

// A benchmark folder: filesAtTop score files, then subFolders folders of
// filesPerFolder score files each. Every file holds a full ranking of ten
// places with names from a small set, as a player's own files do.
struct TreeShape {
    const char *name = "tree-20100";
    int filesAtTop = 100;
    int subFolders = 200;
    int filesPerFolder = 100;

    int total() const { return filesAtTop + subFolders * filesPerFolder; }
};

// The four folders the benchmark times: 20,100, 100,100 and 400,100 files in
// sub-folders of 100, and one flat folder of 100,000.
QList<TreeShape> BenchShapes();

// Writes the tree below root (an existing folder); false on a write failure.
bool WriteScoreTree(const QByteArray &root, const TreeShape &shape);

// The folder of shape below base, written once and kept between runs (a
// marker beside it says it is complete); an unfinished one is written again.
// Returns the folder's path, empty on failure.
QByteArray EnsureScoreTree(const QByteArray &base, const TreeShape &shape);
