#include "platform/SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace platform {

QString SystemErrorText(int code)
{
    struct Entry {
        int code;
        const char *text;
    };
    static const Entry table[] = {
        {ENOSPC, "ディスクの空き領域が足りません。"},
        {EDQUOT, "ディスク クォータを超えました。"},
        {EROFS, "読み取り専用のファイル システムです。"},
        {EACCES, "アクセスが拒否されました。"},
        {EPERM, "アクセスが拒否されました。"},
        {EMLINK, "リンクが多すぎます。"},
        {ELOOP, "シンボリック リンクが多すぎるか、循環しています。"},
        {EIO, "入出力エラーが発生しました。"},
        {ENOENT, "ファイルまたはフォルダーが見つかりません。"},
        {ENOTDIR, "パスの途中にフォルダーではないものがあります。"},
        {EISDIR, "フォルダーです。"},
        {ENAMETOOLONG, "ファイル名が長すぎます。"},
        {EFBIG, "ファイルが大きすぎます。"},
        {ETXTBSY, "実行中のプログラムのファイルです。"},
        {EBUSY, "ファイルは使用中です。"},
        {EWOULDBLOCK, "ほかのプログラムがファイルを書き込み中です。"},
        {EEXIST, "同じ名前のファイルがあります。"},
        {EOPNOTSUPP, "ファイル システムがこの操作に対応していません。"},
        {EXDEV, "ファイル システムをまたいで移動できません。"},
        {ENOMEM, "メモリが足りません。"},
        {EMFILE, "開いているファイルが多すぎます。"},
        {ENFILE, "開いているファイルが多すぎます。"},
    };
    for (const Entry &e : table) {
        if (e.code == code)
            return QString::fromUtf8(e.text);
    }
    const char *name = ::strerrorname_np(code);
    return QStringLiteral("システム エラー (%1) です。")
        .arg(name ? QString::fromLatin1(name) : QString::number(code));
}

} // namespace platform
