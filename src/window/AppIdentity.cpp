#include "window/AppIdentity.h"

#include "platform/FileNames.h"

QString FolderWithSeparator(const QString &folder)
{
    if (folder.endsWith(QLatin1Char(platform::kSeparator)))
        return folder;
    return folder + QLatin1Char(platform::kSeparator);
}

QString MakeAppTitle(int revision)
{
    return QStringLiteral("velmora ScoreFile Viewer [build ") + QString::number(revision) + QLatin1Char(']');
}
