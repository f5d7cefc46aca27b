#pragma once

#include <QDateTime>
#include <QString>

// The error log "error.txt" (beside the program wherever that works, see
// FileLocations.h): one line per forced exit.

// True when an exit with these arguments is a real failure that is logged and
// reported: number not 0 and neither text empty.
bool IsReportedFailure(int number, const QString &description, const QString &procedure);

// The log line: date (2003/05/06), time (7:08:09, no leading zero on the
// hour), then "ErrorNo." + number + " " + description + " @" + procedure, the
// three items separated by one space and the line ended by CR LF. A line break inside the description or
// the procedure name becomes a space, so that each entry stays one line.
QString ErrorLogLine(const QDateTime &when, int number, const QString &description, const QString &procedure);

// Appends one line to folder + "error.txt" in the ANSI code page; the file,
// and the folder, are created when missing. Only a regular file is written,
// and it is opened without waiting, so a fifo of that name never holds up the
// exit. A line that does not fit on the disk is not left half written.
// Returns false when the line was not written (the exit goes on regardless).
bool AppendErrorLog(const QString &folder, const QString &line);

// The message-box text: procedure + "でエラーが発生したので強制終了しました。"
// + CR + "エラーの詳細はerror.txtを参照してください。", where the log's full
// path takes the place of "error.txt" when the log is not beside the program.
QString ExitMessageText(const QString &procedure, const QString &logShownAs = QStringLiteral("error.txt"));
