#include "platform/FileWrite.h"

#include "platform/FileLock.h"
#include "platform/FileMetadata.h"
#include "platform/FullTransfer.h"
#include "platform/InPlaceRewrite.h"
#include "platform/SignalHold.h"
#include "platform/SystemErrorText.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// A name for a file of our own in the target's folder while it is written.
QByteArray TemporaryName()
{
    return ".rkfsave-" + QByteArray::number(QRandomGenerator::global()->generate(), 16);
}

// The failures to make a file in a folder that mean the folder refuses new
// files, which the file itself may still be written in place.
bool FolderRefuses(int code)
{
    return code == EACCES || code == EPERM || code == EROFS || code == EDQUOT || code == ENOSPC;
}

// Gives the unnamed file open on fd a name in folder.
bool LinkUnnamed(int fd, int folder, const char *name)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, path, folder, name, AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Without /proc the descriptor itself can name it, where the system allows.
    return errno == ENOENT && ::linkat(fd, "", folder, name, AT_EMPTY_PATH) == 0;
}

} // namespace

QString WriteResult::reason() const
{
    return SystemErrorText(code);
}

FileReplacement::FileReplacement(const QByteArray &path, bool refuseReadOnly)
{
    TargetResult found = FindWriteTarget(path);
    if (found.error != WriteError::None) {
        m_result = {found.error, found.code};
        return;
    }
    m_target = std::move(found.target);
    const struct stat &st = m_target.fileStat;
    const bool exists = m_target.exists();
    if (exists && refuseReadOnly && !(st.st_mode & S_IWUSR)) {
        m_result = {WriteError::ReadOnly, 0};
        return;
    }
    // The links and the owner of such a file stay only when it is rewritten itself.
    bool inPlace = exists && (st.st_nlink > 1 || st.st_uid != ::geteuid());
    if (!inPlace && !makeStaging(true)) {
        if (!exists || !FolderRefuses(m_result.code))
            return;
        m_result = {};
        inPlace = true;
    }
    if (inPlace) {
        int error = 0;
        m_inPlace = OpenTargetForWriting(m_target, O_RDWR, &error);
        if (!m_inPlace.valid())
            fail(error);
        else
            makeStaging(false);
    }
}

FileReplacement::~FileReplacement()
{
    if (!m_committed)
        dropTemporaryName();
}

void FileReplacement::fail(int code)
{
    if (!m_result.failed())
        m_result = {WriteError::Failed, code};
}

// The file the content is written to: for a rename, an unnamed file in the
// target's folder that can take the target's place (a named one where the
// file system has none); for a rewrite in place, one in memory.
bool FileReplacement::makeStaging(bool rename)
{
    const int folder = m_target.folder.get();
    if (!rename)
        m_content.reset(::memfd_create("rkfview-content", MFD_CLOEXEC));
    else
        m_content.reset(::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
    if (!m_content.valid() && rename && (errno == EOPNOTSUPP || errno == EISDIR)) {
        // A named file, private until it takes the target's mode.
        for (int tries = 0; tries < 100 && !m_content.valid(); ++tries) {
            m_temp = TemporaryName();
            m_content.reset(::openat(folder, m_temp.constData(),
                                     O_CREAT | O_EXCL | O_RDWR | O_NOFOLLOW | O_CLOEXEC,
                                     m_target.exists() ? 0600 : 0666));
            if (!m_content.valid() && errno != EEXIST)
                break;
        }
        if (!m_content.valid())
            m_temp.clear();
    }
    if (!m_content.valid())
        fail(errno);
    return m_content.valid();
}

bool FileReplacement::write(QByteArrayView bytes)
{
    if (m_result.failed() || m_committed)
        return false;
    const SignalHold hold; // a size limit fails the write rather than ending the program
    if (!WriteAllAt(m_content.get(), bytes.data(), bytes.size(), off_t(m_size))) {
        fail(errno);
        return false;
    }
    m_size += bytes.size();
    return true;
}

WriteResult FileReplacement::commit()
{
    if (m_result.failed() || m_committed)
        return m_result;
    m_committed = true;
    if (!m_inPlace.valid() && m_target.exists() &&
        !CopyFileMetadata(m_target.file.get(), m_target.fileStat, m_content.get())) {
        // What the file has cannot all be given to a new one: keep the file itself.
        int error = 0;
        m_inPlace = OpenTargetForWriting(m_target, O_RDWR, &error);
        if (!m_inPlace.valid())
            fail(error);
    }
    if (m_inPlace.valid())
        rewriteInPlace();
    else if (!m_result.failed())
        putInPlace();
    dropTemporaryName(); // unless it became the target's name
    return m_result;
}

void FileReplacement::rewriteInPlace()
{
    if (const int error = RewriteInPlace(m_inPlace.get(), m_content.get(), m_size))
        fail(error);
}

// Gives the content the target's name in one step, once it is on disk.
void FileReplacement::putInPlace()
{
    const int folder = m_target.folder.get();
    const char *name = m_target.name.constData();
    if (::fsync(m_content.get()) != 0)
        return fail(errno);
    if (m_temp.isEmpty()) {
        // A new file takes its name only if nothing has taken it meanwhile.
        if (!m_target.exists()) {
            if (!LinkUnnamed(m_content.get(), folder, name))
                fail(errno);
            return;
        }
        for (int tries = 0; tries < 100; ++tries) {
            m_temp = TemporaryName();
            if (LinkUnnamed(m_content.get(), folder, m_temp.constData()))
                break;
            const int error = errno;
            m_temp.clear();
            if (error != EEXIST)
                return fail(error);
        }
        if (m_temp.isEmpty())
            return fail(EEXIST);
    }
    const unsigned flags = m_target.exists() ? 0 : RENAME_NOREPLACE;
    if (::renameat2(folder, m_temp.constData(), folder, name, flags) != 0 &&
        (flags == 0 || errno != EINVAL || ::renameat(folder, m_temp.constData(), folder, name) != 0))
        return fail(errno);
    m_temp.clear();
}

void FileReplacement::dropTemporaryName()
{
    if (!m_temp.isEmpty())
        ::unlinkat(m_target.folder.get(), m_temp.constData(), 0);
    m_temp.clear();
}

WriteResult ReplaceFile(const QString &path, const QByteArray &bytes, bool refuseReadOnly)
{
    FileReplacement replacement(QFile::encodeName(path), refuseReadOnly);
    replacement.write(bytes);
    return replacement.commit();
}

WriteResult AppendToFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray native = QFile::encodeName(path);
    // A file made by someone else between the look-up and the creation is
    // looked up again.
    for (int tries = 0; tries < 3; ++tries) {
        TargetResult found = FindWriteTarget(native);
        if (found.error != WriteError::None)
            return {found.error, found.code};
        const WriteTarget &target = found.target;
        int error = 0;
        const Fd fd =
            target.exists()
                ? OpenTargetForWriting(target, O_WRONLY | O_APPEND, &error)
                : Fd(::openat(target.folder.get(), target.name.constData(),
                              O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!fd.valid() && !target.exists())
            error = errno;
        if (error == EEXIST)
            continue;
        if (!fd.valid())
            return {WriteError::Failed, error};
        struct stat st;
        if ((error = LockExclusive(fd.get())) != 0 || ::fstat(fd.get(), &st) != 0)
            return {WriteError::Failed, error ? error : errno};
        const SignalHold hold;
        if (!WriteAllAt(fd.get(), bytes.constData(), bytes.size(), st.st_size)) {
            error = errno;
            ::ftruncate(fd.get(), st.st_size); // no half line left behind
            return {WriteError::Failed, error};
        }
        return {};
    }
    return {WriteError::Failed, EEXIST};
}

} // namespace platform
