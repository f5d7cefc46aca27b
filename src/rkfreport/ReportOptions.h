#pragma once

#include "platform/CodePage.h"

#include <QByteArray>
#include <QList>

// rkfreport's command line. Arguments are kept as the bytes the system
// passed, so file names in any encoding reach the files unchanged.
enum class ReportForm {
    Text,          // the report the viewer saves for each file
    Csv,           // the ranking's CSV lines of each file
    Json,          // each record as JSON Lines (always UTF-8)
    OverviewTable, // one row a file in an aligned table, the totals after it
    OverviewCsv,   // one CSV line a file
    OverviewJson,  // one JSON line a file
};

struct ReportOptions {
    ReportForm form = ReportForm::Text;
    bool pathColumn = false;
    bool topOnly = false;
    platform::Encoding encoding = platform::Encoding::Utf8;
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
