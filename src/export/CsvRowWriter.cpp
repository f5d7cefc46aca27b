#include "export/CsvRowWriter.h"

#include "export/ByteGrowth.h"
#include "export/CsvText.h"
#include "platform/CodePage.h"
#include "platform/NumberText.h"
#include "score/RankingText.h"

#include <algorithm>
#include <charconv>
#include <cstring>

CsvRowWriter::CsvRowWriter(Encoding encoding, bool topOnly) : m_encoding(encoding), m_topOnly(topOnly)
{
    for (int k = 0; k < ScoreRecord::kPlaces; ++k)
        m_rank[k] = field(RankLabel(k + 1));
    ScoreRecord record;
    m_clear[0] = field(MakeRankRow(record, 0)[ColClear]);
    record.ClearMark[0] = -1;
    m_clear[1] = field(MakeRankRow(record, 0)[ColClear]);
}

QByteArray CsvRowWriter::field(const QString &text) const
{
    const QString quoted = CsvField(text);
    return m_encoding == Encoding::Cp932 ? platform::EncodeAnsi(quoted) : quoted.toUtf8();
}

const QByteArray &CsvRowWriter::name(const QString &text)
{
    // The reader shares one copy of each repeated name, so the text's address
    // finds it; an equal name at another address only costs a second entry.
    return m_names.find(text, std::uint64_t(quintptr(text.constData())), [&] { return field(text); });
}

const QByteArray &CsvRowWriter::multiplier(Cache<std::uint32_t> &cache, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return cache.find(bits, bits, [&] { return field(platform::GeneralNumber(value) + QLatin1Char('x')); });
}

const QByteArray &CsvRowWriter::classText(std::int32_t code)
{
    return m_classes.find(code, std::uint32_t(code), [&] { return field(ClassText(code)); });
}

const QByteArray &CsvRowWriter::options(const ScoreRecord &r, int k)
{
    const auto part = [](std::int16_t value, int shift) {
        return std::uint64_t(std::uint16_t(value)) << shift;
    };
    // The text depends on the first three codes and on whether the last two are 0.
    const std::uint64_t key = part(r.Option1[k], 0) | part(r.Option2[k], 16) | part(r.Option3[k], 32) |
                              std::uint64_t(r.Option4[k] != 0) << 48 | std::uint64_t(r.Option5[k] != 0) << 49;
    return m_options.find(key, key ^ key >> 29, [&] {
        return field(OptionText(r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k]));
    });
}

void CsvRowWriter::append(QByteArray &out, const ScoreRecord &r, const QByteArray &lead)
{
    int rows = 0;
    for (int k = 0; k < ScoreRecord::kPlaces; ++k) {
        // The table ends at the first place without score and J-PTS.
        if ((r.Score[k] == 0 && r.JPts[k] == 0) || (m_topOnly && k == 1))
            break;
        ++rows;
        // The columns in table order: rank, name, score, J-PTS, the five
        // judgements, max combo, HS, RHS, class, clear mark, options.
        const QByteArray *texts[] = {&lead,
                                     &m_rank[k],
                                     &name(r.Name[k]),
                                     &multiplier(m_hs, r.HS[k]),
                                     &multiplier(m_rhs, r.RHS[k]),
                                     &classText(r.ClassCode[k]),
                                     &m_clear[r.ClearMark[k] == -1 ? 1 : 0],
                                     &options(r, k)};
        const std::int32_t numbers[] = {r.Score[k], r.JPts[k], r.Perfect[k], r.Great[k],
                                        r.Good[k],  r.Bad[k],  r.Poor[k],    r.MaxCombo[k]};
        // Room for every text, eight numbers of at most 11 characters, the
        // commas and the line end; the line is written in place.
        qsizetype room = 8 * 11 + 16;
        for (const QByteArray *text : texts)
            room += text->size();
        char *p = GrowBytes(out, room);
        const auto put = [&p](const QByteArray &text) {
            std::memcpy(p, text.constData(), size_t(text.size()));
            p += text.size();
        };
        put(lead);
        put(m_rank[k]);
        *p++ = ',';
        put(*texts[2]);
        for (const std::int32_t value : numbers) {
            *p++ = ',';
            p = std::to_chars(p, p + 11, value).ptr;
        }
        for (int t = 3; t < 8; ++t) {
            *p++ = ',';
            put(*texts[t]);
        }
        *p++ = '\r';
        *p++ = '\n';
        out.resize(p - out.constData());
    }
    if (rows == 0) {
        out += lead;
        out += "\r\n";
    }
}
