// Writes the seed corpora of the fuzz targets: make_fuzz_seeds DIR writes
// DIR/<target>/<seed>. Score files are built field by field; the inputs of
// the targets that take their input apart (FuzzedDataProvider) are laid out
// the way the targets read them.
#include "RkfBytes.h"
#include "platform/CodePage.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

bool g_ok = true;

void Write(const QString &dir, const QString &target, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(dir + u'/' + target);
    QFile file(dir + u'/' + target + u'/' + name);
    g_ok &= file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Bytes for FuzzedDataProvider: strings are taken from the front, each ended
// by a backslash and one more byte; numbers from the back, last byte first.
class ProviderBytes {
  public:
    ProviderBytes &string(const QByteArray &bytes)
    {
        m_front += QByteArray(bytes).replace("\\", "\\\\") + "\\|";
        return *this;
    }
    ProviderBytes &string(const QString &utf8) { return string(utf8.toUtf8()); }
    // A value of range+1 choices counted from min, in as many bytes as the
    // range needs.
    ProviderBytes &integral(std::uint64_t offsetFromMin, std::uint64_t range)
    {
        QByteArray bytes; // in the order they are taken
        for (int shift = 0; shift < 64 && (range >> shift) > 0; shift += 8)
            bytes.append(char(0));
        for (qsizetype i = bytes.size() - 1, shift = 0; i >= 0; --i, shift += 8)
            bytes[i] = char(offsetFromMin >> shift);
        for (const char b : std::as_const(bytes))
            m_back.prepend(b);
        return *this;
    }
    ProviderBytes &boolean(bool value) { return integral(value ? 1 : 0, 255); }
    ProviderBytes &int32(std::int32_t value)
    {
        return integral(std::uint64_t(std::int64_t(value) - std::numeric_limits<std::int32_t>::min()),
                        0xFFFFFFFFu);
    }
    QByteArray bytes() const { return m_front + m_back; }

  private:
    QByteArray m_front;
    QByteArray m_back;
};

QByteArray Cp932(const char *utf8)
{
    return platform::EncodeAnsi(QString::fromUtf8(utf8));
}

void ScoreFiles(const QString &dir)
{
    const QString t = QStringLiteral("fuzz_score_file");
    RkfBytes full;
    full.playCount(12).trailer(1);
    const char *names[] = {"ＡＢＣＤ", "ゆきの", "RIVER",  "ﾃｽﾄ", "藤原",
                           "kaz",      "MOMO",   "さくら", "P-8", "ｱｲｳｴｵｶｷｸ"};
    for (int k = 0; k < 10; ++k) {
        full.name(k, Cp932(names[k]))
            .score(k, 1845 - 90 * k)
            .jpts(k, 1290 - 80 * k)
            .hs(k, 2.5f - 0.25f * k)
            .rhs(k, 1.75f + k)
            .maxCombo(k, std::int16_t(812 - 60 * k))
            .classCode(k, std::uint8_t(k % 8))
            .clearMark(k, k % 2 ? 0 : -1)
            .judge(k, std::int16_t(700 - k), std::int16_t(90 + k), 12, 2, std::int16_t(k));
        for (int g = 1; g <= 5; ++g)
            full.option(k, g, std::uint8_t((k + g) % 6));
    }
    Write(dir, t, "ten-places.rkf", full.bytes());
    Write(dir, t, "all-zero.rkf", RkfBytes().bytes());
    Write(dir, t, "empty.rkf", QByteArray());
    Write(dir, t, "short.rkf", RkfBytes(full).resize(100).bytes());

    RkfBytes odd;
    odd.playCount(-1).trailer(-7);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    odd.name(0, "a,b\"c").score(0, 2147483520.0f).jpts(0, -0.5f).hs(0, nan).rhs(0, inf);
    odd.name(1, "\r\n\t \x01\x7F").score(1, 0.5f).jpts(1, 1.5f).hs(1, -inf).rhs(1, 1e-30f);
    odd.name(2, "  x  ").score(2, -2147483648.0f).jpts(2, 1).hs(2, 12345678.0f).rhs(2, 0.0001f);
    odd.name(3, "\x81\x60\x82").score(3, 1).jpts(3, 0).hs(3, 9999999.5f).rhs(3, -0.0f);
    odd.name(4, "\xFF\xFE\x80\xA0\xFD").score(4, 0).jpts(4, 7).maxCombo(4, -1).classCode(4, 255);
    odd.judge(4, -32768, 32767, -1, 0, 1).option(4, 1, 255).option(4, 4, 9);
    Write(dir, t, "odd-values.rkf", odd.bytes());

    Write(dir, t, "score-out-of-range.rkf", RkfBytes().score(0, 3e9f).jpts(0, 1).bytes());
    Write(dir, t, "jpts-not-a-number.rkf", RkfBytes().score(0, 1).jpts(0, nan).bytes());
    // One byte past the record chooses the file's name.
    const char *kinds[] = {"plain", "utf8", "cp932", "line-feed", "tab-return", "undecodable"};
    for (int i = 1; i < 6; ++i)
        Write(dir, t, QStringLiteral("name-%1.rkf").arg(QLatin1String(kinds[i])),
              RkfBytes(full).raw(RkfBytes::kSize, QByteArray(1, char(i))).bytes());
}

// A table row as fuzz_report_cells reads it: a choice of kind, then the cell.
void ReportCells(const QString &dir)
{
    const QString t = QStringLiteral("fuzz_report_cells");
    const auto text = [](ProviderBytes &p, const QString &cell) { p.integral(0, 3).string(cell); };
    const auto number = [](ProviderBytes &p, std::int32_t n) { p.integral(1, 3).int32(n); };
    const auto eighths = [](ProviderBytes &p, int n) {
        p.integral(3, 3).integral(std::uint64_t(n + 1000), 2000);
    };

    const auto rows = [&](const QString &summary, int count, bool numeric) {
        ProviderBytes p;
        p.string(summary).integral(std::uint64_t(count), 10);
        for (int r = 0; r < count; ++r) {
            text(p, QStringLiteral("%1th").arg(r + 1, 2));
            text(p, r % 2 ? QStringLiteral("ゆきの") : QStringLiteral("a,\"b\"\r\nc"));
            for (int c = 2; c < 10; ++c) {
                if (numeric)
                    number(p, c == 2 && r == count - 1 ? 0 : 1000 - 10 * r + c);
                else
                    text(p, c == 5 ? QStringLiteral("12x") : QStringLiteral("7"));
            }
            eighths(p, 20 + r);
            eighths(p, -12);
            text(p, QStringLiteral(" A"));
            text(p, QStringLiteral("○"));
            text(p, QStringLiteral("Hi Su -- Rn -- Ac -- Cr 4D"));
        }
        return p.bytes();
    };
    Write(dir, t, "three-rows", rows(QStringLiteral("/charts/a.rkf\r\n[○ CLEARED] PlayCount:12回"), 3, true));
    Write(dir, t, "ten-rows", rows(QStringLiteral("/x\r\n[× NOT CLEARED] PlayCount:0回"), 10, true));
    Write(dir, t, "not-a-number", rows(QStringLiteral("s"), 2, false));
    Write(dir, t, "no-rows", rows(QString(), 0, true));
}

// An ini file and one write, as fuzz_ini_store reads them.
void IniFiles(const QString &dir)
{
    const QString t = QStringLiteral("fuzz_ini_store");
    const QByteArray settings("[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=False\r\nAlwaysOnTop=True\r\n"
                              "LastReadDir=\"/home/user/" +
                              Cp932("譜面") + "/\"\r\n");
    // kind (0 no file, 1 a folder, 15 past the size limit, else a file), the
    // file, section, key, value
    const auto seed = [](int kind, const QByteArray &file, int section, const QByteArray &sectionName,
                         int key, const QByteArray &keyName, const QByteArray &value, bool utf8) {
        ProviderBytes p;
        p.integral(std::uint64_t(kind), 15).string(file);
        if (section >= 0)
            p.boolean(true).integral(std::uint64_t(section), 5);
        else
            p.boolean(false).string(sectionName);
        if (key >= 0)
            p.boolean(true).integral(std::uint64_t(key), 5);
        else
            p.boolean(false).string(keyName);
        return p.string(value).boolean(utf8).bytes();
    };
    Write(dir, t, "settings-folder",
          seed(2, settings, 1, {}, 3, {}, "\"/srv/" + Cp932("フォルダ") + "/\"", false));
    Write(dir, t, "settings-option", seed(2, settings, 1, {}, 1, {}, "True", true));
    Write(dir, t, "past-the-size-limit", seed(15, settings, 1, {}, 1, {}, "True", true));
    Write(dir, t, "new-file", seed(0, {}, -1, "Main", -1, "Key", "\"rkfview\"", true));
    Write(dir, t, "folder-in-the-way", seed(1, {}, -1, "Main", -1, "Key", "rkfview", true));
    const QByteArray odd("; comment\r\nLoose=before any section\n[Other]  \r\nName = \x83\x74 \r\n"
                         "Bad=\xFF\xFE\x80\r\nno equals sign\r\n \t \r\n[ main ]\r\n  ; Key=commented\r\n"
                         "KEY = old \r\n[Broken\r\nTail=  x  \r\n\r\n[Last]\nEnd=1");
    Write(dir, t, "odd-lines", seed(2, odd, 1, {}, 2, {}, "  'quoted'  ", true));
    Write(dir, t, "odd-lines-new-key", seed(2, odd, 2, {}, -1, "Added", QByteArray(200, 'v'), true));
    Write(dir, t, "long-value",
          seed(2, "[Main]\r\nKey=" + QByteArray(126, 'a') + "\x82\xA0z\r\n", -1, "Main", -1, "Key",
               QByteArray(125, 'b') + Cp932("あい"), false));
    Write(dir, t, "refused-name", seed(2, settings, -1, "Ma]in", -1, "Key", "x", true));
    Write(dir, t, "blank-names", seed(2, settings, -1, " \tConfig ", -1, "\tTopOnly ", "False", true));
}

void CodePageTexts(const QString &dir)
{
    const QString t = QStringLiteral("fuzz_codepage");
    const auto utf16 = [](const QString &text) {
        QByteArray bytes;
        for (const QChar c : text)
            bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        return bytes;
    };
    Write(dir, t, "japanese-utf16", utf16(QStringLiteral("rkfview 譜面 フォルダ ｱｲｳ ＡＢＣ ①Ⅱ〜～−—‖¢£¦¬")));
    Write(dir, t, "outside-the-code-page-utf16",
          utf16(QStringLiteral("é ß Ω 😀 \uFFFD ?") + QChar(0xD800) + u'x'));
    Write(dir, t, "japanese-cp932", Cp932("設定 トップのみ表示 常に最前面に表示 ﾃｽﾄ ①"));
    Write(dir, t, "undecodable-bytes", QByteArray("\x80\xA0\xFD\xFE\xFF\x81\x39\x82\xA0\x81", 10));
}

void Numbers(const QString &dir)
{
    const QString t = QStringLiteral("fuzz_number_text");
    const float values[][4] = {
        {0.0f, -0.0f, 1.0f, -1.5f},
        {2.25f, 0.0001f, 0.00001f, 9999999.0f},
        {9999999.5f, 10000000.0f, 1234567.5f, 3.4028235e38f},
        {1e-45f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 0.05f},
        {2147483520.0f, -2147483648.0f, 0.5f, -2.5f},
    };
    int n = 0;
    for (const auto &group : values)
        Write(dir, t, QStringLiteral("floats-%1").arg(++n),
              QByteArray(reinterpret_cast<const char *>(group), sizeof group));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: make_fuzz_seeds DIR\n", stderr);
        return 2;
    }
    const QString dir = QFile::decodeName(argv[1]);
    ScoreFiles(dir);
    ReportCells(dir);
    IniFiles(dir);
    CodePageTexts(dir);
    Numbers(dir);
    return g_ok ? 0 : 1;
}
