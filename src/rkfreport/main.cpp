// rkfreport: writes the report or CSV text of score files to standard output,
// byte for byte what the viewer saves for each file shown alone. A folder is
// searched as the viewer searches it, and each score file found is reported
// in the viewer's list order.

#include "export/CsvRowWriter.h"
#include "export/SaveText.h"
#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "score/LoadScoreFile.h"
#include "score/RankingText.h"
#include "score/ReadRKF.h"
#include "search/FolderSearch.h"

#include <QByteArray>
#include <QList>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

const char kUsage[] =
    "usage: rkfreport [--csv [--path-column]] [--top-only] [--encoding utf-8|cp932] PATH...\n"
    "  PATH          a score file, or a folder: the score files of the folder and of\n"
    "                its immediate sub-folders, in the order the viewer lists them\n"
    "  --csv         write comma-separated rows instead of the text report\n"
    "  --path-column put the file's absolute path first on every CSV line\n"
    "  --top-only    report only the first place, as the viewer's show-top-only\n"
    "  --encoding    utf-8 (default) or cp932, the code page of saved files\n"
    "  --help        show this text\n"
    "A file or sub-folder that cannot be read is reported on standard error and\n"
    "skipped; the exit status is then 1.\n";

struct Options {
    bool csv = false;
    bool pathColumn = false;
    bool topOnly = false;
    bool cp932 = false;
    QList<QByteArray> paths;
};

int UsageError(const char *message)
{
    std::fprintf(stderr, "rkfreport: %s\n%s", message, kUsage);
    return 2;
}

void ReportError(const QByteArray &path, const QString &description)
{
    std::fprintf(stderr, "rkfreport: %s: %s\n", path.constData(), description.toUtf8().constData());
}

// An absolute path without "." components or doubled separators, so the
// paths reported for a folder read cleanly.
QByteArray CleanFolderPath(const QByteArray &path)
{
    QByteArray clean;
    for (const QByteArray &part : platform::AbsoluteNativePath(path).split(platform::kSeparator)) {
        if (part.isEmpty() || part == ".")
            continue;
        clean += platform::kSeparator + part;
    }
    return clean + platform::kSeparator;
}

bool IsFolder(const QByteArray &path)
{
    struct stat st;
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Writes the report of each file, in turn, to standard output.
class Reporter : public ScoreFileVisitor {
  public:
    explicit Reporter(const Options &options)
        : m_options(options),
          m_csv(options.cp932 ? CsvRowWriter::Encoding::Cp932 : CsvRowWriter::Encoding::Utf8, options.topOnly)
    {
    }

    ~Reporter() override { flush(); }

    int status() const { return m_status; }

    void fail(const QByteArray &path, const QString &description)
    {
        flush();
        ReportError(path, description);
        m_status = 1;
    }

    void report(const ScoreRecord &record)
    {
        if (m_options.csv) {
            m_csv.append(m_out, record,
                         m_options.pathColumn ? m_csv.field(record.FilePath) + ',' : QByteArray());
        } else {
            Failure failure;
            const QString text = SaveText(SaveFormat::Text, MakeSummary(record),
                                          MakeRankRows(record, m_options.topOnly), &failure);
            if (failure.failed()) {
                fail(RecordFileBytes(record), failure.Description);
                return;
            }
            m_out += m_options.cp932 ? platform::EncodeAnsi(text) : text.toUtf8();
        }
        if (m_out.size() >= kFlushSize)
            flush();
    }

    void reportFolder(const QByteArray &folder)
    {
        const SearchResult result = ForEachScoreFile(CleanFolderPath(folder), *this);
        if (result.folderError.failed())
            fail(folder, result.folderError.Description);
    }

    void visit(const ScoreRecord &record) override { report(record); }

    bool skipUnreadable(const ScoreRecord &record, const Failure &failure) override
    {
        fail(RecordFileBytes(record), failure.Description);
        return true;
    }

    void skipUnlistable(const QByteArray &folder, const Failure &failure) override
    {
        fail(folder, failure.Description);
    }

    void flush()
    {
        std::fwrite(m_out.constData(), 1, size_t(m_out.size()), stdout);
        std::fflush(stdout);
        m_out.resize(0); // keeps the buffer for the next lines
    }

  private:
    static constexpr qsizetype kFlushSize = 1 << 16;

    const Options &m_options;
    CsvRowWriter m_csv;
    QByteArray m_out;
    int m_status = 0;
};

} // namespace

int main(int argc, char **argv)
{
    Options options;
    bool endOfOptions = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (endOfOptions || !arg.startsWith("--") || arg.size() == 2) {
            if (!endOfOptions && arg == "--") {
                endOfOptions = true;
                continue;
            }
            options.paths.append(arg);
        } else if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg == "--path-column") {
            options.pathColumn = true;
        } else if (arg == "--top-only") {
            options.topOnly = true;
        } else if (arg == "--encoding" || arg.startsWith("--encoding=")) {
            QByteArray value;
            if (arg.startsWith("--encoding="))
                value = arg.mid(int(std::strlen("--encoding=")));
            else if (i + 1 < argc)
                value = argv[++i];
            else
                return UsageError("--encoding needs a value");
            const QByteArray name = value.toLower();
            if (name == "utf-8" || name == "utf8")
                options.cp932 = false;
            else if (name == "cp932")
                options.cp932 = true;
            else
                return UsageError("unknown encoding");
        } else {
            return UsageError("unknown option");
        }
    }
    if (options.paths.isEmpty())
        return UsageError("no PATH given");
    if (options.pathColumn && !options.csv)
        return UsageError("--path-column needs --csv");
    if (!platform::CodePageAvailable()) {
        std::fputs("rkfreport: code page 932 (windows-31j) is not available\n", stderr);
        return 1;
    }

    Reporter reporter(options);
    ScoreRecord record;
    for (const QByteArray &path : options.paths) {
        if (IsFolder(path)) {
            reporter.reportFolder(path);
            continue;
        }
        const Failure failure = LoadScoreFile(path, record);
        if (failure.failed())
            reporter.fail(path, failure.Description);
        else
            reporter.report(record);
    }
    reporter.flush();
    return reporter.status();
}
