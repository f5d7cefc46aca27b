#pragma once

#include "platform/FileRead.h"

#include <QByteArray>
#include <QList>

// Listing one folder the way the program's search expects it.
namespace platform {

struct DirEntry {
    QByteArray name;      // the entry's name, the exact bytes the file system holds
    bool folder = false;  // a folder, or a symbolic link to one
    bool regular = false; // known from the listing to be a regular file
};

struct DirListing {
    OpenError error = OpenError::None; // None when the folder was listed
    QList<DirEntry> entries;
    FolderHandle folder; // the folder, kept open for reading its files
};

// Every entry of the folder except "." and "..", hidden ones included, in the
// order a case-insensitive file system keeps them: names compared by their
// upper-case form. The form is the name as shown (DisplayFileName: UTF-8 when
// valid, otherwise code page 932) with each UTF-16 code unit replaced by its
// simple upper-case mapping (QChar::toUpper; characters outside the Basic
// Multilingual Plane stay as they are); forms are compared code unit by code
// unit. Names with equal forms ("a.rkf" and "A.rkf", or two names whose
// undecodable bytes both show as U+FFFD) are ordered by their raw bytes,
// unsigned, so the order is total and the same on every listing.
// A symbolic link counts as what it points to; a dangling one as a file.
// A folder that cannot be opened or read to the end is reported by error,
// with no entries.
DirListing ListDirectory(const QByteArray &folder);

// The sort key of a name described above.
QString DirectorySortKey(const QByteArray &name);

} // namespace platform
