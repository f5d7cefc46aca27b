#include "rkfreport/ReportOptions.h"

#include <cstring>

const char kHelpText[] = "Usage: rkfreport [OPTION]... PATH...\n"
                         "Writes the ranking of each score file to standard output, as the viewer's\n"
                         "Save command writes it for that file shown alone.\n"
                         "\n"
                         "  PATH               a score file, or a folder: the score files of the folder\n"
                         "                     and of its immediate sub-folders, in the order the\n"
                         "                     viewer lists them\n"
                         "      --csv          comma-separated rows instead of the text report\n"
                         "      --path-column  put the file's absolute path first on every CSV line\n"
                         "      --top-only     only the first place, as the viewer's show-top-only\n"
                         "      --encoding=ENC utf-8 (the default) or cp932, the code page of saved files\n"
                         "  -h, --help         show this text and exit\n"
                         "  -V, --version      show the version and exit\n"
                         "      --             every later argument is a PATH\n"
                         "\n"
                         "Lines end in CR LF. A file or sub-folder that cannot be read is reported on\n"
                         "standard error and skipped. Exit status: 0 when every file was reported, 1\n"
                         "when a file or sub-folder failed or the output could not be written, 2 for a\n"
                         "usage error.\n";

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
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg == "--path-column") {
            options.pathColumn = true;
        } else if (arg == "--top-only") {
            options.topOnly = true;
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
                options.cp932 = false;
            else if (name == "cp932")
                options.cp932 = true;
            else
                return Error("invalid encoding '" + value + "' (utf-8 or cp932)");
        } else {
            return Error("unrecognized option '" + arg + "'");
        }
    }
    if (options.paths.isEmpty())
        return Error("no PATH given");
    if (options.pathColumn && !options.csv)
        return Error("--path-column needs --csv");
    return parsed;
}
