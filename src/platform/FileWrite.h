#pragma once

#include "platform/Fd.h"
#include "platform/WriteTarget.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Writing whole files and appending to them so that a failure (a full disk, a
// special file, no permission, an error the system reports late) never leaves
// less than there was, and so that no one else's link or file in a shared
// folder can turn a write against the user.
namespace platform {

struct WriteResult {
    WriteError error = WriteError::None;
    int code = 0; // the system's error number, for WriteError::Failed

    bool failed() const { return error != WriteError::None; }
    // The Japanese text of code.
    QString reason() const;
};

// A new content for the file at path, written piece by piece and put in
// place by commit() in one step; until then, and after any failure, the file
// stays as it was. The path is looked up once, here (FindWriteTarget).
//
// Normally the content goes to an unnamed file in the target's folder that
// replaces the target only when every byte is on disk, after taking the old
// file's group, mode, ACL and user extended attributes. The existing file is
// rewritten in place instead (RewriteInPlace) when it has more than one hard
// link, belongs to another user, sits in a folder that refuses new files, or
// has something of the above that the new file could not be given.
class FileReplacement {
  public:
    // refuseReadOnly: an existing file without its owner's write permission is
    // refused (WriteError::ReadOnly), whoever writes.
    explicit FileReplacement(const QByteArray &path, bool refuseReadOnly = false);
    ~FileReplacement(); // without commit(), nothing changes
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    // The first failure so far; a failed replacement takes no more bytes.
    const WriteResult &result() const { return m_result; }
    bool write(QByteArrayView bytes);
    // Puts the content in place; the result of the whole replacement.
    WriteResult commit();

  private:
    void fail(int code);
    bool makeStaging(bool rename);
    void rewriteInPlace();
    void putInPlace();
    void dropTemporaryName();

    WriteTarget m_target;
    Fd m_content;      // the new content
    QByteArray m_temp; // a name the content has in the target's folder, removed unless it was committed
    Fd m_inPlace;      // the target, when it is rewritten in place
    qint64 m_size = 0;
    bool m_committed = false;
    WriteResult m_result;
};

// Makes bytes the whole content of the file at path, creating it when
// missing, as FileReplacement does.
WriteResult ReplaceFile(const QString &path, const QByteArray &bytes, bool refuseReadOnly = false);

// Appends bytes to the file at path, created when missing, holding a lock
// meanwhile. Only a regular file is written, found as FileReplacement finds
// it. A write that fails partway is cut off again, leaving the file as it was.
WriteResult AppendToFile(const QString &path, const QByteArray &bytes);

} // namespace platform
