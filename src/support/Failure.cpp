#include "support/Failure.h"

Failure MakeFailure(int number)
{
    struct Entry {
        int number;
        const char *description;
    };
    static const Entry table[] = {
        {kErrInvalidArgument, "プロシージャの呼び出し、または引数が不正です。"},
        {kErrOverflow, "オーバーフローしました。"},
        {kErrOutOfMemory, "メモリが不足しています。"},
        {kErrTypeMismatch, "型が一致しません。"},
        {kErrFileNotFound, "ファイルが見つかりません。"},
        {kErrPermissionDenied, "アクセスが拒否されました。"},
        {kErrPathAccess, "パスまたはファイルにアクセスできません。"},
    };
    for (const Entry &e : table) {
        if (e.number == number)
            return {number, QString::fromUtf8(e.description)};
    }
    return {number, QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。")};
}
