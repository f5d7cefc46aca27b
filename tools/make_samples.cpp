// Writes the bundled sample score files into a folder: make_samples DIR.
// Every sample is built field by field here, so their bytes are known.

#include "RkfBytes.h"
#include "platform/CodePage.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

struct Place {
    const char *name; // UTF-8; stored in code page 932
    float score, jpts, hs, rhs;
    int combo, classCode;
    bool cleared;
    int options[5];
    int judge[5];
};

QByteArray Build(int playCount, bool chartCleared, std::initializer_list<Place> places)
{
    RkfBytes b;
    b.playCount(playCount).trailer(chartCleared ? 1 : 0);
    int k = 0;
    for (const Place &p : places) {
        b.name(k, platform::EncodeAnsi(QString::fromUtf8(p.name)))
            .score(k, p.score)
            .jpts(k, p.jpts)
            .hs(k, p.hs)
            .rhs(k, p.rhs)
            .maxCombo(k, std::int16_t(p.combo))
            .classCode(k, std::uint8_t(p.classCode))
            .clearMark(k, p.cleared ? -1 : 0)
            .judge(k, std::int16_t(p.judge[0]), std::int16_t(p.judge[1]), std::int16_t(p.judge[2]),
                   std::int16_t(p.judge[3]), std::int16_t(p.judge[4]));
        for (int g = 0; g < 5; ++g)
            b.option(k, g + 1, std::uint8_t(p.options[g]));
        ++k;
    }
    return b.bytes();
}

bool Write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: make_samples DIR\n", stderr);
        return 2;
    }
    const QString dir = QFile::decodeName(argv[1]);
    bool ok = true;
    // A cleared chart with a full table of places, Japanese and ASCII names.
    ok &=
        Write(dir + "/sample.rkf",
              Build(12, true,
                    {
                        {"ＡＢＣＤ", 1845, 1290, 2.5f, 3, 812, 0, true, {3, 1, 0, 0, 1}, {700, 90, 12, 2, 1}},
                        {"ゆきの", 1790, 1201, 2.25f, 3, 640, 1, true, {1, 0, 0, 0, 0}, {660, 120, 20, 4, 6}},
                        {"RIVER", 1702, 1155, 3, 2.5f, 512, 2, true, {0, 2, 1, 0, 0}, {610, 150, 30, 6, 9}},
                        {"ﾃｽﾄ", 1650, 1020, 2, 2, 430, 2, true, {4, 0, 0, 1, 0}, {580, 170, 40, 8, 12}},
                        {"藤原", 1522, 987, 1.5f, 2, 320, 3, false, {2, 0, 2, 0, 0}, {520, 200, 55, 15, 20}},
                        {"kaz", 1430, 900, 2, 1.75f, 301, 3, true, {0, 0, 0, 0, 0}, {480, 230, 60, 18, 25}},
                        {"MOMO", 1300, 812, 2.5f, 3, 250, 4, false, {3, 2, 2, 1, 1}, {430, 260, 70, 22, 30}},
                        {"さくら", 1211, 700, 1, 1, 199, 5, false, {0, 1, 0, 0, 0}, {400, 270, 80, 30, 40}},
                        {"P-8", 1100, 650, 4, 3.5f, 150, 6, false, {1, 0, 1, 0, 0}, {350, 290, 95, 35, 52}},
                        {"ｱｲｳｴｵｶｷｸ", 987, 345, 2.5f, 3, 512, 2, true, {0, 0, 0, 0, 0}, {400, 100, 10, 1, 0}},
                    }));
    // A chart not yet cleared, three places.
    ok &=
        Write(dir + "/not-cleared.rkf",
              Build(3, false,
                    {
                        {"ＡＢＣＤ", 1204, 800, 2, 2, 210, 3, false, {0, 1, 0, 0, 0}, {400, 180, 60, 20, 35}},
                        {"ゆきの", 980, 640, 1.5f, 2, 150, 4, false, {0, 0, 0, 0, 0}, {320, 200, 80, 30, 50}},
                        {"RIVER", 875, 500, 1, 1, 99, 5, false, {2, 0, 0, 0, 0}, {280, 210, 90, 40, 60}},
                    }));
    // A folder of charts for searching.
    ok &= Write(
        dir + "/folder/easy.rkf",
        Build(40, true, {{"kaz", 2010, 1500, 1, 1, 900, 0, true, {0, 0, 0, 0, 0}, {800, 40, 3, 0, 0}}}));
    ok &= Write(
        dir + "/folder/hard/another.RKF",
        Build(7, false, {{"MOMO", 640, 300, 3, 3, 80, 6, false, {4, 1, 2, 1, 1}, {150, 160, 90, 50, 99}}}));
    if (!ok) {
        std::fputs("make_samples: cannot write the samples\n", stderr);
        return 1;
    }
    return 0;
}
