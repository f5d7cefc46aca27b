#include "export/SaveFile.h"

#include <QFileInfo>
#include <QSaveFile>

Failure WriteSaveFile(const QString &path, const QByteArray &bytes)
{
    // A read-only file is refused by its mode, not by the caller's rights, so
    // it stays protected even for an administrator.
    const QFileInfo target(path);
    if (target.exists() && target.isFile() && !(target.permissions() & QFileDevice::WriteOwner))
        return {kErrPermissionDenied, QStringLiteral("ファイルは読み取り専用です。")};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {kErrPathAccess, file.errorString()};
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {kErrPathAccess, reason};
    }
    if (!file.commit())
        return {kErrPathAccess, file.errorString()};
    return {};
}
