#include "export/SaveFile.h"

#include "platform/FileWrite.h"

#include <QFileInfo>

Failure WriteSaveFile(const QString &path, const QByteArray &bytes)
{
    // A read-only file is refused by its mode, not by the caller's rights, so
    // it stays protected even for an administrator.
    const QFileInfo target(path);
    if (target.exists() && target.isFile() && !(target.permissions() & QFileDevice::WriteOwner))
        return {kErrPermissionDenied, QStringLiteral("ファイルは読み取り専用です。")};
    const platform::WriteResult written = platform::ReplaceFile(path, bytes);
    switch (written.error) {
    case platform::WriteError::None:
        return {};
    case platform::WriteError::NotRegular:
        return {kErrPathAccess, QStringLiteral("通常のファイルではないので、置き換えられません。")};
    case platform::WriteError::Failed:
        break;
    }
    return {kErrPathAccess, written.reason};
}
