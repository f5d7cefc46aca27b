#include "search/DropChoice.h"

#include "platform/FileNames.h"

#include <sys/stat.h>

bool IsHiddenName(const QByteArray &path)
{
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(platform::kSeparator))
        trimmed.chop(1);
    const qsizetype cut = trimmed.lastIndexOf(platform::kSeparator) + 1;
    return trimmed.mid(cut).startsWith('.');
}

DropChoice ChooseDroppedItem(const QList<QByteArray> &paths)
{
    for (const QByteArray &path : paths) {
        struct stat st;
        if (path.isEmpty() || ::stat(path.constData(), &st) != 0)
            continue;
        if (S_ISREG(st.st_mode) && !IsHiddenName(path)) {
            if (path.right(4).toUpper() == ".RKF")
                return {DropChoice::ScoreFile, path};
        } else if (S_ISDIR(st.st_mode)) {
            return {DropChoice::Folder, path};
        }
    }
    return {};
}
