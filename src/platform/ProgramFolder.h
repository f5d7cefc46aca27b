#pragma once

#include <QByteArray>

// The folder the running executable sits in and the file-system questions the
// choice of the settings and log folders asks about it.
namespace platform {

// The executable's own folder as the file system names it (its bytes, whatever
// their encoding), ending in the separator; empty when it cannot be found.
QByteArray ExecutableFolder();

// True when something exists under the path.
bool PathExists(const QByteArray &path);

// True when files can be created in the folder by this process.
bool FolderWritable(const QByteArray &folder);

// The path with symbolic links resolved, or the path itself when it cannot be
// resolved (it does not exist).
QByteArray ResolvedPath(const QByteArray &path);

// Creates the folder and any missing folder above it, each readable only by
// the user (mode 0700). True when the folder exists afterwards.
bool MakeUserFolder(const QByteArray &folder);

} // namespace platform
