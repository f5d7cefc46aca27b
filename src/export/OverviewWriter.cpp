#include "export/OverviewWriter.h"

#include "export/CsvText.h"
#include "export/DisplayWidth.h"
#include "platform/CodePage.h"
#include "score/RankingText.h"

#include <algorithm>
#include <charconv>

namespace {

bool IsControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

} // namespace

OverviewWriter::OverviewWriter(Encoding encoding, bool topOnly) : m_encoding(encoding), m_topOnly(topOnly)
{
    m_mark[0] = encode(QStringLiteral("×"));
    m_mark[1] = encode(QStringLiteral("○"));
    for (int c = 0; c < kNoClass; ++c)
        m_class[std::size_t(c)] = encode(ClassText(c));
    m_scratch.reserve(256);
}

std::vector<bool> OverviewWriter::RightAligned()
{
    std::vector<bool> right;
    for (const OverviewColumnSpec &column : OverviewColumns())
        right.push_back(column.number);
    return right;
}

QByteArray OverviewWriter::encode(const QString &text) const
{
    return m_encoding == Encoding::Cp932 ? platform::EncodeAnsi(text) : text.toUtf8();
}

QByteArray OverviewWriter::tableText(const QString &text, int *width) const
{
    QByteArray bytes;
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return IsControl(c.unicode()); })) {
        QString shown = text;
        for (QChar &c : shown) {
            if (IsControl(c.unicode()))
                c = QChar(QChar::ReplacementCharacter);
        }
        bytes = encode(shown);
    } else {
        bytes = encode(text);
    }
    *width = m_encoding == Encoding::Cp932 ? int(bytes.size()) : Utf8Width(bytes);
    return bytes;
}

const OverviewWriter::Cached &OverviewWriter::name(const QString &text)
{
    // The reader shares one copy of each repeated name, so its address finds it.
    Cached &slot = m_names[(quintptr(text.constData()) >> 4) % m_names.size()];
    if (slot.data != text.constData() || slot.size != text.size() || slot.text != text) {
        slot.data = text.constData();
        slot.size = text.size();
        slot.text = text;
        const QString field = CsvField(text);
        slot.csv = encode(field);
        slot.table = tableText(text, &slot.width);
    }
    return slot;
}

const OverviewWriter::Cached &OverviewWriter::options(const ScoreRecord &r)
{
    const auto part = [](std::int16_t value, int shift) {
        return std::uint64_t(std::uint16_t(value)) << shift;
    };
    // The text depends on the first three codes and on whether the last two are 0.
    const std::uint64_t key = part(r.Option1[0], 0) | part(r.Option2[0], 16) | part(r.Option3[0], 32) |
                              std::uint64_t(r.Option4[0] != 0) << 48 |
                              std::uint64_t(r.Option5[0] != 0) << 49 |
                              std::uint64_t(1) << 63; // never the zero of an unused slot
    const std::size_t i = std::size_t((key ^ key >> 29) * 0x9E3779B97F4A7C15ull >> 58);
    Cached &slot = m_options[i];
    if (m_optionKeys[i] != key) {
        m_optionKeys[i] = key;
        const QString text = OptionText(r.Option1[0], r.Option2[0], r.Option3[0], r.Option4[0], r.Option5[0]);
        slot.csv = encode(text);
        slot.table = slot.csv;
        slot.width = int(slot.csv.size());
    }
    return slot;
}

void OverviewWriter::makeCells(const ScoreRecord &r, bool csv)
{
    const int places = ShownPlaces(r, m_topOnly);
    // The numbers go into the scratch buffer first; views into it are made
    // once it no longer grows.
    m_scratch.resize(0);
    std::array<qsizetype, kOverviewColumnCount + 1> start{};
    const auto number = [&](int column, std::int64_t value) {
        start[std::size_t(column)] = m_scratch.size();
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, value);
        m_scratch.append(buf, res.ptr - buf);
        start[std::size_t(column) + 1] = m_scratch.size();
    };
    number(OvPlayCount, r.PlayCount);
    number(OvPlaces, places);
    if (places > 0) {
        number(OvScore, r.Score[0]);
        number(OvJPts, r.JPts[0]);
        number(OvMaxCombo, r.MaxCombo[0]);
        number(OvPerfect, r.Perfect[0]);
        number(OvGreat, r.Great[0]);
        number(OvGood, r.Good[0]);
        number(OvBad, r.Bad[0]);
        number(OvPoor, r.Poor[0]);
    }
    m_views.fill(QByteArrayView());
    m_widths.fill(0);
    for (const int column :
         {OvPlayCount, OvPlaces, OvScore, OvJPts, OvMaxCombo, OvPerfect, OvGreat, OvGood, OvBad, OvPoor}) {
        if (column == OvPlayCount || column == OvPlaces || places > 0) {
            const std::size_t c = std::size_t(column);
            m_views[c] =
                QByteArrayView(m_scratch.constData() + start[c], m_scratch.constData() + start[c + 1]);
            m_widths[c] = int(m_views[c].size());
        }
    }

    int pathWidth = 0;
    m_path = csv ? encode(CsvField(r.FilePath())) : tableText(r.FilePath(), &pathWidth);
    m_views[OvPath] = m_path;
    m_widths[OvPath] = pathWidth;
    const QByteArray &cleared = m_mark[r.Cleared == -1 ? 1 : 0];
    m_views[OvCleared] = cleared;
    m_widths[OvCleared] = 1;
    if (places == 0)
        return;
    const Cached &n = name(r.Name[0]);
    m_views[OvName] = csv ? n.csv : n.table;
    m_widths[OvName] = n.width;
    const QByteArray &cls = m_class[std::size_t(FirstPlaceClass(r))];
    m_views[OvClass] = cls;
    m_widths[OvClass] = int(cls.size());
    const QByteArray &mark = m_mark[r.ClearMark[0] == -1 ? 1 : 0];
    m_views[OvClear] = mark;
    m_widths[OvClear] = m_encoding == Encoding::Cp932 ? int(mark.size()) : 1;
    const Cached &o = options(r);
    m_views[OvOption] = o.csv;
    m_widths[OvOption] = o.width;
    if (m_encoding == Encoding::Cp932)
        m_widths[OvCleared] = int(cleared.size());
}

void OverviewWriter::appendCsvHeader(QByteArray &out) const
{
    for (int c = 0; c < kOverviewColumnCount; ++c) {
        if (c != 0)
            out += ',';
        out += OverviewColumns()[std::size_t(c)].header;
    }
    out += "\r\n";
}

void OverviewWriter::appendCsv(QByteArray &out, const ScoreRecord &record)
{
    makeCells(record, true);
    for (int c = 0; c < kOverviewColumnCount; ++c) {
        if (c != 0)
            out += ',';
        out += m_views[std::size_t(c)];
    }
    out += "\r\n";
}

void OverviewWriter::addHeader(AlignedTable &table) const
{
    std::array<QByteArrayView, kOverviewColumnCount> cells;
    std::array<int, kOverviewColumnCount> widths{};
    for (int c = 0; c < kOverviewColumnCount; ++c) {
        cells[std::size_t(c)] = OverviewColumns()[std::size_t(c)].header;
        widths[std::size_t(c)] = int(cells[std::size_t(c)].size());
    }
    table.addRow(cells.data(), widths.data());
    table.addRule();
}

void OverviewWriter::addRow(AlignedTable &table, const ScoreRecord &record)
{
    table.addRow(tableCells(record).data(), m_widths.data());
}

const std::array<QByteArrayView, kOverviewColumnCount> &OverviewWriter::tableCells(const ScoreRecord &record)
{
    makeCells(record, false);
    return m_views;
}
