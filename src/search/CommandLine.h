#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

// Picking the score file named on the command line. The shell has already
// split the arguments; the program loads at most one file, the first argument
// that is an absolute path ending in the three letters "rkf" (any case, no
// dot required). Relative paths and later arguments are ignored.

// True when the argument names a score file the command line loads: not
// empty, starting with "/", and its last three characters in upper case
// "RKF".
bool IsCmdLineScoreFile(const QString &argument);

// Index of the first argument that qualifies, or -1 when none does.
qsizetype ChooseCmdLineArgument(const QStringList &arguments);

// The bytes of the first qualifying argument of the raw arguments (the
// program's own path not included). Each argument is judged by its displayed
// text; the bytes are returned unchanged, so a name that is not valid UTF-8
// still opens.
std::optional<QByteArray> FindCmdLineFile(const QList<QByteArray> &arguments);
