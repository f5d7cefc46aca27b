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

OverviewWriter::OverviewWriter(platform::Encoding encoding, bool topOnly)
    : m_encoding(encoding), m_topOnly(topOnly)
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
    return platform::Encode(text, m_encoding);
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
    *width = m_encoding == platform::Encoding::Cp932 ? int(bytes.size()) : Utf8Width(bytes);
    return bytes;
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
    int nameWidth = 0;
    m_name = csv ? encode(CsvField(r.Name[0])) : tableText(r.Name[0], &nameWidth);
    m_views[OvName] = m_name;
    m_widths[OvName] = nameWidth;
    const QByteArray &cls = m_class[std::size_t(FirstPlaceClass(r))];
    m_views[OvClass] = cls;
    m_widths[OvClass] = int(cls.size());
    const QByteArray &mark = m_mark[r.ClearMark[0] == -1 ? 1 : 0];
    m_views[OvClear] = mark;
    m_widths[OvClear] = m_encoding == platform::Encoding::Cp932 ? int(mark.size()) : 1;
    m_option = encode(OptionText(r.Option1[0], r.Option2[0], r.Option3[0], r.Option4[0], r.Option5[0]));
    m_views[OvOption] = m_option;
    m_widths[OvOption] = int(m_option.size());
    if (m_encoding == platform::Encoding::Cp932)
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
