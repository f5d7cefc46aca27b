#pragma once

#include <QByteArray>
#include <QList>

// rkfreport's command line. Arguments are kept as the bytes the system
// passed, so file names in any encoding reach the files unchanged.
struct ReportOptions {
    bool overview = false; // one line per file instead of its ranking
    bool csv = false;
    bool json = false; // JSON Lines, always UTF-8
    bool pathColumn = false;
    bool topOnly = false;
    bool cp932 = false;
    QByteArray output; // --output: the file written instead of standard output
    QList<QByteArray> paths;
};

struct ParsedCommandLine {
    enum Action { Run, Help, Version, UsageError };
    Action action = Run;
    ReportOptions options;
    QByteArray error; // for UsageError: what was wrong, without the program name
};

// Options first or mixed with the paths; "--" ends the options, and "-" alone
// is a path. A usage error names the first wrong argument; --help and
// --version end the parse where they stand.
ParsedCommandLine ParseCommandLine(int argc, const char *const *argv);

// The text of --help.
extern const char kHelpText[];
