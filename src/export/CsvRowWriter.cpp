#include "export/CsvRowWriter.h"

#include "export/CsvText.h"
#include "platform/CodePage.h"
#include "platform/NumberText.h"
#include "score/RankingText.h"

#include <charconv>
#include <cstring>

CsvRowWriter::CsvRowWriter(platform::Encoding encoding, bool topOnly)
    : m_encoding(encoding), m_topOnly(topOnly)
{
    for (int k = 0; k < ScoreRecord::kPlaces; ++k)
        m_rank[k] = field(RankLabel(k + 1)) + ',';
    ScoreRecord record;
    m_clear[0] = ',' + field(MakeRankRow(record, 0)[ColClear]);
    record.ClearMark[0] = -1;
    m_clear[1] = ',' + field(MakeRankRow(record, 0)[ColClear]);
}

QByteArray CsvRowWriter::field(const QString &text) const
{
    return platform::Encode(CsvField(text), m_encoding);
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
    return cache.find(bits, bits,
                      [&] { return ',' + field(platform::GeneralNumber(value) + QLatin1Char('x')); });
}

const QByteArray &CsvRowWriter::classText(std::int32_t code)
{
    return m_classes.find(code, std::uint32_t(code), [&] { return ',' + field(ClassText(code)); });
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
        return ',' + field(OptionText(r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k]));
    });
}

void CsvRowWriter::append(QByteArray &out, const ScoreRecord &r, const QByteArray &lead)
{
    const int places = ShownPlaces(r, m_topOnly);
    if (places == 0) {
        out += lead;
        out += "\r\n";
    }
    for (int k = 0; k < places; ++k) {
        // The columns in table order: rank, name, score, J-PTS, the five
        // judgements, max combo, HS, RHS, class, clear mark, options.
        out += lead;
        out += m_rank[k];
        out += name(r.Name[k]);
        // The eight numbers, each after its comma, go in as one piece.
        char numbers[8 * 12];
        char *end = numbers;
        for (const std::int32_t value : {r.Score[k], r.JPts[k], r.Perfect[k], r.Great[k], r.Good[k], r.Bad[k],
                                         r.Poor[k], r.MaxCombo[k]}) {
            *end++ = ',';
            end = std::to_chars(end, numbers + sizeof numbers, value).ptr;
        }
        out.append(numbers, end - numbers);
        out += multiplier(m_hs, r.HS[k]);
        out += multiplier(m_rhs, r.RHS[k]);
        out += classText(r.ClassCode[k]);
        out += m_clear[r.ClearMark[k] == -1 ? 1 : 0];
        out += options(r, k);
        out += "\r\n";
    }
}
