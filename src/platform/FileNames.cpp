#include "platform/FileNames.h"

#include "platform/CodePage.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <unistd.h>

namespace platform {

QString DisplayFileName(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return DisplayPathText(std::move(text));
    return DisplayPathText(DecodeAnsi(bytes));
}

QString DisplayPathText(QString path)
{
    for (QChar &c : path) {
        if (c.category() == QChar::Other_Control)
            c = QChar(QChar::ReplacementCharacter);
    }
    return path;
}

QString DisplayPath(const QByteArray &path)
{
    QString text;
    const QList<QByteArray> parts = path.split(kSeparator);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i != 0)
            text += QLatin1Char(kSeparator);
        text += DisplayFileName(parts[i]);
    }
    return text;
}

QByteArray NativeFileName(const QString &path)
{
    return QFile::encodeName(path);
}

QByteArray AbsoluteNativePath(const QByteArray &path)
{
    if (path.startsWith(kSeparator))
        return path;
    // The current folder's own bytes: a name that is not valid in the local
    // encoding would not survive a trip through QString.
    QByteArray base;
    for (std::size_t size = 256; base.isEmpty(); size *= 2) {
        QByteArray buffer(qsizetype(size), '\0');
        if (::getcwd(buffer.data(), size)) {
            base = QByteArray(buffer.constData());
        } else if (errno != ERANGE) {
            base = QFile::encodeName(QDir::currentPath());
            break;
        }
    }
    if (!base.endsWith(kSeparator))
        base.append(kSeparator);
    return base + path;
}

} // namespace platform
