#include "support/ErrorLog.h"

#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "platform/FileWrite.h"
#include "platform/ProgramFolder.h"

namespace {

// A line break inside a text would split one entry over several lines.
QString OnOneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

bool IsReportedFailure(int number, const QString &description, const QString &procedure)
{
    return number != 0 && !description.isEmpty() && !procedure.isEmpty();
}

QString ErrorLogLine(const QDateTime &when, int number, const QString &description, const QString &procedure)
{
    // The Japanese short date (2003/05/06) and long time (7:08:09).
    return when.toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char(' ') +
           when.toString(QStringLiteral("H:mm:ss")) + QLatin1Char(' ') + QStringLiteral("ErrorNo.") +
           QString::number(number) + QLatin1Char(' ') + OnOneLine(description) + QStringLiteral(" @") +
           OnOneLine(procedure) + QStringLiteral("\r\n");
}

bool AppendErrorLog(const QString &folder, const QString &line)
{
    platform::MakeUserFolder(platform::NativeFileName(folder));
    return !platform::AppendToFile(folder + QStringLiteral("error.txt"), platform::EncodeAnsi(line)).failed();
}

QString ExitMessageText(const QString &procedure, const QString &logShownAs)
{
    return procedure + QStringLiteral("でエラーが発生したので強制終了しました。") + QLatin1Char('\r') +
           QStringLiteral("エラーの詳細は") + logShownAs + QStringLiteral("を参照してください。");
}
