#include "search/CommandLine.h"

#include "platform/FileNames.h"

bool IsCmdLineScoreFile(const QString &argument)
{
    if (argument.isEmpty() || !argument.startsWith(QLatin1Char(platform::kSeparator)))
        return false;
    return argument.right(3).toUpper() == QLatin1String("RKF");
}

qsizetype ChooseCmdLineArgument(const QStringList &arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (IsCmdLineScoreFile(arguments[i]))
            return i;
    }
    return -1;
}

std::optional<QByteArray> FindCmdLineFile(const QList<QByteArray> &arguments)
{
    QStringList texts;
    texts.reserve(arguments.size());
    for (const QByteArray &argument : arguments)
        texts.append(platform::DisplayFileName(argument));
    const qsizetype index = ChooseCmdLineArgument(texts);
    if (index < 0)
        return std::nullopt;
    return arguments[index];
}
