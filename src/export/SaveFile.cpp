#include "export/SaveFile.h"

Failure WriteSaveFile(const QString &path, const QByteArray &bytes)
{
    // A read-only file is refused by its mode, not by the caller's rights, so
    // it stays protected even for an administrator.
    return SaveFailure(platform::ReplaceFile(path, bytes, true));
}

Failure SaveFailure(const platform::WriteResult &written)
{
    switch (written.error) {
    case platform::WriteError::None:
        return {};
    case platform::WriteError::NotRegular:
        return {kErrPathAccess, QStringLiteral("通常のファイルではないので、置き換えられません。")};
    case platform::WriteError::ForeignLink:
        return {
            kErrPermissionDenied,
            QStringLiteral("共有フォルダーにあるほかのユーザーのシンボリック リンクなので、たどりません。")};
    case platform::WriteError::ForeignFile:
        return {kErrPermissionDenied,
                QStringLiteral("共有フォルダーにあるほかのユーザーのファイルなので、書き換えません。")};
    case platform::WriteError::ReadOnly:
        return {kErrPermissionDenied, QStringLiteral("ファイルは読み取り専用です。")};
    case platform::WriteError::Failed:
        break;
    }
    return {kErrPathAccess, written.reason()};
}
