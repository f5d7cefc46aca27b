#pragma once

#include <QString>

// What a folder search tells the window that started it: the window inserts
// the found names into its file list and keeps its caption and repaints
// going; the core never touches a widget.
class SearchObserver {
  public:
    virtual ~SearchObserver() = default;

    // The file stored at ScoreFiles[index] has been read. name is the item
    // text for index (the record's FileName); count is the number of files
    // found so far, for the caption (FilesFoundCaption).
    virtual void fileFound(int index, const QString &name, int count) = 0;

    // Called after every directory entry: the window processes its pending
    // events here, so it repaints and the rising count is seen.
    virtual void processEvents() = 0;

    // Called every few milliseconds while the search waits for a folder's
    // listing or a file's bytes from the disk: the window keeps processing
    // its events meanwhile.
    virtual void waiting() { processEvents(); }
};
