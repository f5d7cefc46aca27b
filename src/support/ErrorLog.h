#pragma once

#include <QDateTime>
#include <QString>

// The error log "error.txt" beside the program: one line per forced exit.

// True when an exit with these arguments is a real failure that is logged and
// reported: number not 0 and neither text empty.
bool IsReportedFailure(int number, const QString &description, const QString &procedure);

// The log line: date, time, then "ErrorNo." + number + " " + description +
// " @" + procedure, ended by CR LF.
QString ErrorLogLine(const QDateTime &when, int number, const QString &description, const QString &procedure);

// Appends one line to AppPath + "error.txt" in the ANSI code page; the file is
// created when missing. Failures are ignored.
void AppendErrorLog(const QString &appPath, const QString &line);

// The message-box text: procedure + "でエラーが発生したので強制終了しました。"
// + CR + "エラーの詳細はerror.txtを参照してください。".
QString ExitMessageText(const QString &procedure);
