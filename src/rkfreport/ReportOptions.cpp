#include "rkfreport/ReportOptions.h"

#include <cstring>

const char kHelpText[] = R"(Usage: rkfreport [OPTION]... PATH...
Writes the ranking of each score file to standard output, as the viewer's
Save command writes it for that file shown alone; or, with --overview, one
line per file; or, with --json, the records as JSON Lines.

  PATH               a score file, or a folder: the score files of the folder
                     and of its immediate sub-folders, in the order the
                     viewer lists them
      --overview     one line per file: the chart and its first place, as an
                     aligned table followed by totals
      --csv          comma-separated rows instead of the text report (with
                     --overview: a header line and one row per file, no totals)
      --json         JSON Lines, one object per file (UTF-8, lines end in LF;
                     with --overview, the overview's fields)
      --path-column  put the file's absolute path first on every CSV line
      --top-only     only the first place, as the viewer's show-top-only
      --encoding=ENC utf-8 (the default) or cp932, the code page of saved files
  -o, --output=FILE  write to FILE instead of standard output: it is replaced
                     only once everything is written, as the viewer saves,
                     and left whole on any failure
  -h, --help         show this text and exit
  -V, --version      show the version and exit
      --             every later argument is a PATH

Overview columns: Path, PlayCount, Cleared (chart cleared, a circle or a
cross), Places (the rows the viewer's table shows), then of the first place:
Name, Score, J-PTS, Class, Clear, MAX COMBO, Perfect, Great, Good, Bad, Poor,
Option. Totals: files read and failed, charts cleared and not, first places
by class (SS S A B C D E, none for no place or no class), plays in all.

JSON fields: path (string), playCount (number), cleared (true/false), places
(array of the places the table shows; with --top-only at most one). A place:
rank, score, jpts, hs, rhs, maxCombo, classCode, perfect, great, good, bad,
poor (numbers), name (string), class ("SS", "S", "A" ... "E", or null for
codes 7 and up), cleared (true/false), options (array of the five codes),
optionText (string). hs and rhs are the shortest decimal of the stored float;
NaN and infinities are null, with "NaN", "Inf" or "-Inf" in hsText or rhsText.
With --overview: path, playCount, cleared, placeCount (number), first (the
first place as above, or null). Where the path as shown does not name the
file exactly (a name that is not UTF-8, or holds control characters),
pathBytes follows path: the path's bytes as an array of numbers (0 to 255).

Examples:
  rkfreport --top-only chart.rkf
  rkfreport --csv --path-column --encoding=cp932 songs > ranking.csv
  rkfreport --overview songs
  rkfreport --overview --csv songs > overview.csv
  rkfreport --json songs | jq -r '.places[0].name'
  rkfreport --json --overview songs | jq 'select(.first.class == "SS") | .path'
  rkfreport --csv -o ranking.csv songs

Lines end in CR LF (JSON Lines: LF). A file or sub-folder that cannot be read is reported on
standard error and skipped. Exit status: 0 when every file was reported, 1
when a file or sub-folder failed or the output could not be written, 2 for a
usage error.
)";

namespace {

ParsedCommandLine Error(QByteArray message)
{
    ParsedCommandLine parsed;
    parsed.action = ParsedCommandLine::UsageError;
    parsed.error = std::move(message);
    return parsed;
}

} // namespace

ParsedCommandLine ParseCommandLine(int argc, const char *const *argv)
{
    ParsedCommandLine parsed;
    ReportOptions &options = parsed.options;
    bool endOfOptions = false;
    bool overview = false;
    bool csv = false;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (endOfOptions || arg.size() < 2 || !arg.startsWith('-')) {
            options.paths.append(arg);
        } else if (arg == "--") {
            endOfOptions = true;
        } else if (arg == "-h" || arg == "--help") {
            parsed.action = ParsedCommandLine::Help;
            return parsed;
        } else if (arg == "-V" || arg == "--version") {
            parsed.action = ParsedCommandLine::Version;
            return parsed;
        } else if (arg == "--overview") {
            overview = true;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--csv") {
            csv = true;
        } else if (arg == "--path-column") {
            options.pathColumn = true;
        } else if (arg == "--top-only") {
            options.topOnly = true;
        } else if (arg == "-o" || arg == "--output" || arg.startsWith("--output=")) {
            if (arg.startsWith("--output="))
                options.output = arg.mid(qsizetype(std::strlen("--output=")));
            else if (i + 1 < argc)
                options.output = argv[++i];
            else
                return Error("option '" + arg + "' requires an argument");
            if (options.output.isEmpty())
                return Error("option '--output' requires a file name");
        } else if (arg == "--encoding" || arg.startsWith("--encoding=")) {
            QByteArray value;
            if (arg.startsWith("--encoding="))
                value = arg.mid(qsizetype(std::strlen("--encoding=")));
            else if (i + 1 < argc)
                value = argv[++i];
            else
                return Error("option '--encoding' requires an argument");
            const QByteArray name = value.toLower();
            if (name == "utf-8" || name == "utf8")
                options.encoding = platform::Encoding::Utf8;
            else if (name == "cp932")
                options.encoding = platform::Encoding::Cp932;
            else
                return Error("invalid encoding '" + value + "' (utf-8 or cp932)");
        } else {
            return Error("unrecognized option '" + arg + "'");
        }
    }
    if (options.paths.isEmpty())
        return Error("no PATH given");
    if (json && csv)
        return Error("--json and --csv do not go together");
    if (json && options.encoding == platform::Encoding::Cp932)
        return Error("--json writes UTF-8 only: --encoding cp932 does not go with it");
    if (options.pathColumn && !csv)
        return Error("--path-column needs --csv");
    if (options.pathColumn && overview)
        return Error("--path-column does not go with --overview (the path is its first column)");
    if (json)
        options.form = overview ? ReportForm::OverviewJson : ReportForm::Json;
    else if (csv)
        options.form = overview ? ReportForm::OverviewCsv : ReportForm::Csv;
    else if (overview)
        options.form = ReportForm::OverviewTable;
    return parsed;
}
