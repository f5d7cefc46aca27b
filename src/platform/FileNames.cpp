#include "platform/FileNames.h"

#include "platform/CodePage.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace platform {

QString DisplayFileName(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeAnsi(bytes);
}

QByteArray NativeFileName(const QString &path)
{
    return QFile::encodeName(path);
}

QByteArray AbsoluteNativePath(const QByteArray &path)
{
    if (path.startsWith(kSeparator))
        return path;
    QByteArray base = QFile::encodeName(QDir::currentPath());
    if (!base.endsWith(kSeparator))
        base.append(kSeparator);
    return base + path;
}

} // namespace platform
