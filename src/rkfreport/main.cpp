// rkfreport: writes the report or CSV text of score files to standard output,
// byte for byte what the viewer saves for each file shown alone.

#include "export/SaveText.h"
#include "platform/CodePage.h"
#include "score/LoadScoreFile.h"
#include "score/RankingText.h"

#include <QByteArray>
#include <QList>
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] = "usage: rkfreport [--csv] [--top-only] [--encoding utf-8|cp932] FILE...\n"
                      "  --csv         write comma-separated rows instead of the text report\n"
                      "  --top-only    report only the first place, as the viewer's show-top-only\n"
                      "  --encoding    utf-8 (default) or cp932, the code page of saved files\n"
                      "  --help        show this text\n";

struct Options {
    bool csv = false;
    bool topOnly = false;
    bool cp932 = false;
    QList<QByteArray> files;
};

int UsageError(const char *message)
{
    std::fprintf(stderr, "rkfreport: %s\n%s", message, kUsage);
    return 2;
}

void WriteOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

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
            options.files.append(arg);
        } else if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--csv") {
            options.csv = true;
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
    if (options.files.isEmpty())
        return UsageError("no FILE given");
    if (!platform::CodePageAvailable()) {
        std::fputs("rkfreport: code page 932 (windows-31j) is not available\n", stderr);
        return 1;
    }

    const SaveFormat format = options.csv ? SaveFormat::Csv : SaveFormat::Text;
    int status = 0;
    ScoreRecord record;
    for (const QByteArray &file : options.files) {
        const Failure failure = LoadScoreFile(file, record);
        if (failure.failed()) {
            std::fprintf(stderr, "rkfreport: %s: %s\n", file.constData(), failure.Description.toUtf8().constData());
            status = 1;
            continue;
        }
        const QString text = SaveText(format, MakeSummary(record), MakeRankRows(record, options.topOnly));
        WriteOut(options.cp932 ? platform::EncodeAnsi(text) : text.toUtf8());
    }
    std::fflush(stdout);
    return status;
}
