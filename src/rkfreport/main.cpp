// rkfreport: writes the report or CSV text of score files to standard output,
// byte for byte what the viewer saves for each file shown alone, one overview
// line per file, or the records as JSON Lines. A folder is searched as the viewer searches it, and
// each score file found is reported in the viewer's list order.

#include "Version.h"
#include "export/AlignedTable.h"
#include "export/CsvRowWriter.h"
#include "export/JsonLines.h"
#include "export/OverviewWriter.h"
#include "export/SaveText.h"
#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "platform/StandardStreams.h"
#include "rkfreport/ReportOptions.h"
#include "rkfreport/ReportOutput.h"
#include "score/LoadScoreFile.h"
#include "score/Overview.h"
#include "score/RankingText.h"
#include "score/ReadRKF.h"
#include "search/FolderSearch.h"

#include <QByteArray>
#include <QList>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

int UsageError(const QByteArray &message)
{
    std::fprintf(stderr, "rkfreport: %s\nTry 'rkfreport --help'.\n", message.constData());
    return 2;
}

// The path as the viewer shows names: control characters never reach the terminal.
void ReportError(const QByteArray &path, const QString &description)
{
    std::fprintf(stderr, "rkfreport: %s: %s\n", platform::DisplayPath(path).toUtf8().constData(),
                 description.toUtf8().constData());
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
    Reporter(const ReportOptions &options, ReportOutput &output)
        : m_options(options), m_output(output), m_csv(options.encoding, options.topOnly),
          m_overview(options.encoding, options.topOnly), m_table(OverviewWriter::RightAligned()),
          m_json(options.topOnly)
    {
        if (m_options.form == ReportForm::OverviewCsv)
            m_overview.appendCsvHeader(m_output.buffer());
        else if (m_options.form == ReportForm::OverviewTable)
            m_overview.addHeader(m_table);
    }

    int status() const { return m_status; }

    void fail(const QByteArray &path, const QString &description)
    {
        m_output.flush(); // the lines before the failure come first
        ReportError(path, description);
        m_status = 1;
        m_totals.addFailure();
    }

    void report(const ScoreRecord &record)
    {
        QByteArray &out = m_output.buffer();
        switch (m_options.form) {
        case ReportForm::Json:
            m_json.appendRecord(out, record);
            break;
        case ReportForm::OverviewJson:
            m_json.appendOverview(out, record);
            break;
        case ReportForm::OverviewCsv:
            m_overview.appendCsv(out, record);
            break;
        case ReportForm::OverviewTable:
            m_totals.add(record);
            m_overview.addRow(m_table, record);
            break;
        case ReportForm::Csv:
            m_csv.append(out, record,
                         m_options.pathColumn ? m_csv.field(record.FilePath()) + ',' : QByteArray());
            break;
        case ReportForm::Text: {
            Failure failure;
            const QString text = SaveText(SaveFormat::Text, MakeSummary(record),
                                          MakeRankRows(record, m_options.topOnly), &failure);
            if (failure.failed()) {
                fail(RecordFileBytes(record), failure.Description);
                return;
            }
            out += platform::Encode(text, m_options.encoding);
            break;
        }
        }
        m_output.flushIfFull();
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

    // Ends the output: the overview's table and totals, which can only be
    // written once every file has been seen.
    void finish()
    {
        if (m_options.form == ReportForm::OverviewTable) {
            const Failure failure = m_table.write(m_output.buffer(), [this] { m_output.flushIfFull(); });
            if (failure.failed()) {
                m_output.flush();
                std::fprintf(stderr, "rkfreport: cannot keep the table's rows: %s\n",
                             failure.Description.toUtf8().constData());
                m_status = 1;
                return;
            }
            const QString totals = QLatin1String("\r\n") + OverviewTotalsText(m_totals);
            m_output.buffer() += platform::Encode(totals, m_options.encoding);
        }
        m_output.flush();
    }

  private:
    const ReportOptions &m_options;
    ReportOutput &m_output;
    CsvRowWriter m_csv;
    OverviewWriter m_overview;
    AlignedTable m_table;
    JsonLinesWriter m_json;
    OverviewTotals m_totals;
    int m_status = 0;
};

} // namespace

int main(int argc, char **argv)
{
    platform::OpenClosedStandardStreams();
    const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (parsed.action == ParsedCommandLine::UsageError)
        return UsageError(parsed.error);
    ReportOutput output;
    if (parsed.action == ParsedCommandLine::Help) {
        output.buffer() += kHelpText;
        output.flush();
        return 0;
    }
    if (parsed.action == ParsedCommandLine::Version) {
        output.buffer() += QByteArray("rkfreport ") + kVersionText + '\n';
        output.flush();
        return 0;
    }
    if (!platform::CodePageAvailable()) {
        std::fputs("rkfreport: code page 932 (windows-31j) is not available\n", stderr);
        return 1;
    }

    const ReportOptions &options = parsed.options;
    if (!options.output.isEmpty() && !output.toFile(options.output))
        return 1;
    Reporter reporter(options, output);
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
    reporter.finish();
    return output.close() ? reporter.status() : 1;
}
