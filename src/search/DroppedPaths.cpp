#include "search/DroppedPaths.h"

QList<QByteArray> LocalDropPaths(const QList<QUrl> &urls)
{
    QList<QByteArray> paths;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString host = url.host();
        if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
            continue;
        const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}
