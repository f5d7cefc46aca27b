#pragma once

#include <QDateTime>
#include <QString>

// The error log "error.txt" beside the program: one line per forced exit.

// True when an exit with these arguments is a real failure that is logged and
// reported: number not 0 and neither text empty.
bool IsReportedFailure(int number, const QString &description, const QString &procedure);

// The log line: date (2003/05/06), time (7:08:09, no leading zero on the
// hour), then "ErrorNo." + number + " " + description + " @" + procedure, the
// three items separated by one space and the line ended by CR LF. A line break inside the description or
// the procedure name becomes a space, so that each entry stays one line.
QString ErrorLogLine(const QDateTime &when, int number, const QString &description, const QString &procedure);

// Appends one line to AppPath + "error.txt" in the ANSI code page; the file is
// created when missing. Failures are ignored.
void AppendErrorLog(const QString &appPath, const QString &line);

// The message-box text: procedure + "でエラーが発生したので強制終了しました。"
// + CR + "エラーの詳細はerror.txtを参照してください。".
QString ExitMessageText(const QString &procedure);
