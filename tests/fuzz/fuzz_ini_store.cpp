// The ini store on a file of any bytes: values are read, one entry is
// written, and everything is read back. Only the written entry may change, it
// reads back as written (at most 127 bytes), writing it again changes no
// byte, and a refused write leaves the file exactly as it was; a file past
// the size limit reads as defaults and is never written.
#include "FuzzSupport.h"

#include "platform/CodePage.h"
#include "platform/IniStore.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>

namespace {

const QString kMissing = QStringLiteral("\x01missing");

QByteArray TrimBlanks(QByteArray bytes)
{
    while (!bytes.isEmpty() && (bytes.front() == ' ' || bytes.front() == '\t'))
        bytes.remove(0, 1);
    while (!bytes.isEmpty() && (bytes.back() == ' ' || bytes.back() == '\t'))
        bytes.chop(1);
    return bytes;
}

// A name as text: the bytes decoded, with what does not decode left out, so
// that the name has bytes of its own in the code page.
QString NameText(const QByteArray &bytes)
{
    return platform::DecodeAnsi(bytes).remove(QChar::ReplacementCharacter);
}

// Whether two names given to the store name the same thing: they are taken
// trimmed, the form in which they are written.
bool SameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The section and key names a file holds, roughly as the store sees them.
void NamesOf(const QByteArray &file, QStringList &sections, QStringList &keys)
{
    for (const QByteArray &raw : file.split('\n')) {
        QByteArray line = raw;
        if (line.endsWith('\r'))
            line.chop(1);
        line = TrimBlanks(line);
        const qsizetype close = line.indexOf(']');
        if (line.startsWith('[') && close > 0) {
            if (sections.size() < 4)
                sections.append(NameText(TrimBlanks(line.mid(1, close - 1))));
        } else if (line.indexOf('=') > 0 && keys.size() < 4) {
            keys.append(NameText(TrimBlanks(line.left(line.indexOf('=')))));
        }
    }
}

QString Pick(FuzzedDataProvider &input, const QStringList &found)
{
    if (!found.isEmpty() && input.ConsumeBool())
        return found[input.ConsumeIntegralInRange<qsizetype>(0, found.size() - 1)];
    return NameText(QByteArray::fromStdString(input.ConsumeRandomLengthString(16)));
}

struct Probe {
    QString section;
    QString key;
    QString value;
};

// The file as far as a comparison needs it: its first 64 KiB (all of any file
// but one past the size limit) and its size, so a file of over a megabyte is
// not read for every input.
QByteArray Contents(const QString &path, bool *exists)
{
    QFile file(path);
    *exists = file.exists();
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(65536) + '|' + QByteArray::number(QFileInfo(file).size());
}

void CheckLimit(const QString &value, const Probe &probe)
{
    fuzz::Check(platform::EncodeAnsi(value).size() <= 127, "a value read is at most 127 bytes",
                probe.section + u'/' + probe.key, value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = fuzz::ScratchFolder() + QStringLiteral("/rkfview.ini");
    QFile::remove(path);
    QDir(path).removeRecursively();

    FuzzedDataProvider input(data, size);
    // 0: no file, 1: a folder, 15: the file past the size limit, else the file
    const int kind = input.ConsumeIntegralInRange(0, 15);
    QByteArray file = QByteArray::fromStdString(input.ConsumeRandomLengthString(4096));
    QStringList sections;
    QStringList keys;
    NamesOf(file, sections, keys);
    const bool oversized = kind == 15;
    if (kind == 1) {
        QDir().mkpath(path);
    } else if (kind != 0) {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size() || !out.flush())
            fuzz::Fail("cannot write the ini file");
        // Zero bytes at the end (a sparse file): the names stay those above.
        if (oversized && !out.resize(platform::kMaxProfileBytes + 1))
            fuzz::Fail("cannot grow the ini file");
    }

    const QString section = Pick(input, sections);
    const QString key = Pick(input, keys);
    const std::string valueBytes = input.ConsumeRandomLengthString(300);
    const QString value = input.ConsumeBool() ? QString::fromStdString(valueBytes)
                                              : platform::DecodeAnsi(QByteArray::fromStdString(valueBytes));

    QList<Probe> probes;
    sections.append(section);
    keys.append(key);
    for (const QString &s : std::as_const(sections)) {
        for (const QString &k : std::as_const(keys))
            probes.append({s, k, QString()});
    }
    for (Probe &probe : probes) {
        probe.value = platform::ReadProfileString(path, probe.section, probe.key, kMissing);
        CheckLimit(probe.value, probe);
        if (oversized)
            fuzz::CheckEqual(kMissing, probe.value, "a file past the size limit reads as defaults");
    }

    bool existed = false;
    const QByteArray before = Contents(path, &existed);
    const bool written = platform::WriteProfileString(path, section, key, value);
    bool exists = false;
    const QByteArray after = Contents(path, &exists);
    if (!written) {
        fuzz::Check(exists == existed, "a refused write creates no file");
        fuzz::CheckEqual(before, after, "a refused write leaves the file as it was");
    } else {
        fuzz::Check(kind != 1, "no write into a folder");
        fuzz::Check(!oversized, "no write into a file past the size limit");
        // What the store returns for the value: the text as the code page
        // holds it, trimmed, unquoted and cut as any value read.
        const QString expected = platform::ProfileValue(platform::DecodeAnsi(platform::EncodeAnsi(value)));
        fuzz::CheckEqual(expected, platform::ReadProfileString(path, section, key, kMissing),
                         "the written value reads back");
        fuzz::Check(platform::WriteProfileString(path, section, key, value), "the same write again");
        bool again = false;
        fuzz::CheckEqual(after, Contents(path, &again), "writing the same entry again changes nothing");
    }

    for (const Probe &probe : std::as_const(probes)) {
        const QString now = platform::ReadProfileString(path, probe.section, probe.key, kMissing);
        CheckLimit(now, probe);
        if (written && SameName(probe.section, section) && SameName(probe.key, key))
            continue;
        if (probe.value != now) {
            std::fprintf(stderr, "entry [%s] %s, written [%s] %s\n",
                         probe.section.toUtf8().toPercentEncoding(" ").constData(),
                         probe.key.toUtf8().toPercentEncoding(" ").constData(),
                         section.toUtf8().toPercentEncoding(" ").constData(),
                         key.toUtf8().toPercentEncoding(" ").constData());
            fuzz::Fail("an entry not written keeps its value", probe.value, now);
        }
    }
    return 0;
}
