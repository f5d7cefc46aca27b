#include "search/LibraryOrder.h"

#include "score/Overview.h"
#include "score/RankingText.h"

#include <QHash>
#include <algorithm>
#include <limits>
#include <utility>

namespace {

// Below every value: the key of a first-place cell of a file without a place.
constexpr std::int64_t kNoPlace = std::numeric_limits<std::int64_t>::min();

// The options' text depends on the first three codes and on whether the last
// two are 0.
std::uint64_t OptionKey(const ScoreRecord &r)
{
    return std::uint64_t(std::uint16_t(r.Option1[0])) | std::uint64_t(std::uint16_t(r.Option2[0])) << 16 |
           std::uint64_t(std::uint16_t(r.Option3[0])) << 32 | std::uint64_t(r.Option4[0] != 0) << 48 |
           std::uint64_t(r.Option5[0] != 0) << 49;
}

// Ranks for texts: equal texts, letter case aside, share a rank, and a text
// that sorts later has a higher one. Each distinct value is ranked once.
template <typename Value> QHash<Value, std::int64_t> RankTexts(const QHash<Value, QString> &texts)
{
    std::vector<std::pair<QString, Value>> sorted;
    sorted.reserve(std::size_t(texts.size()));
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        sorted.emplace_back(it.value(), it.key());
    std::sort(sorted.begin(), sorted.end(),
              [](const auto &a, const auto &b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    QHash<Value, std::int64_t> ranks;
    ranks.reserve(texts.size());
    std::int64_t rank = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (i != 0 && sorted[i - 1].first.compare(sorted[i].first, Qt::CaseInsensitive) != 0)
            ++rank;
        ranks.insert(sorted[i].second, rank);
    }
    return ranks;
}

std::int64_t FirstPlaceValue(const ScoreRecord &r, int column)
{
    switch (column) {
    case OvScore:
        return r.Score[0];
    case OvJPts:
        return r.JPts[0];
    case OvClear:
        return r.ClearMark[0] == -1 ? 1 : 0;
    case OvMaxCombo:
        return r.MaxCombo[0];
    case OvPerfect:
        return r.Perfect[0];
    case OvGreat:
        return r.Great[0];
    case OvGood:
        return r.Good[0];
    case OvBad:
        return r.Bad[0];
    case OvPoor:
        return r.Poor[0];
    }
    return 0;
}

// The key of a record in a numeric column, or for a text column its text's
// rank.
std::int64_t Key(const ScoreRecord &r, std::int32_t found, int column)
{
    switch (column) {
    case OvPath:
        return found;
    case OvPlayCount:
        return r.PlayCount;
    case OvCleared:
        return r.Cleared == -1 ? 1 : 0;
    case OvPlaces:
        return ShownPlaces(r, false);
    case OvClass:
        return kNoClass - FirstPlaceClass(r); // SS highest, none lowest
    }
    return ShownPlaces(r, true) == 0 ? kNoPlace : FirstPlaceValue(r, column);
}

// Calls visit(found, record) for every row, in found order: the records lie
// in that order in memory, so they are read at the speed of the memory rather
// than waited for one by one in the order of an earlier sort.
template <typename Visit>
void InFoundOrder(const std::vector<std::int32_t> &rows, const ScoreRecordList &records, Visit visit)
{
    std::vector<bool> present(std::size_t(records.size()), false);
    for (const std::int32_t row : rows)
        present[std::size_t(row)] = true;
    for (std::int32_t found = 0; found < std::int32_t(present.size()); ++found) {
        if (present[std::size_t(found)])
            visit(found, records[found]);
    }
}

// The sort key of every row, in row order.
std::vector<std::pair<std::int64_t, std::int32_t>> Keys(const std::vector<std::int32_t> &rows,
                                                        const ScoreRecordList &records, int column)
{
    std::vector<std::int64_t> keyOf(std::size_t(records.size()), kNoPlace);
    if (column == OvName || column == OvOption) {
        QHash<QString, QString> names;
        QHash<std::uint64_t, QString> options;
        InFoundOrder(rows, records, [&](std::int32_t, const ScoreRecord &r) {
            if (ShownPlaces(r, true) == 0)
                return;
            if (column == OvName)
                names.insert(r.Name[0], r.Name[0]);
            else if (const std::uint64_t key = OptionKey(r); !options.contains(key))
                options.insert(
                    key, OptionText(r.Option1[0], r.Option2[0], r.Option3[0], r.Option4[0], r.Option5[0]));
        });
        const QHash<QString, std::int64_t> nameRanks = RankTexts(names);
        const QHash<std::uint64_t, std::int64_t> optionRanks = RankTexts(options);
        InFoundOrder(rows, records, [&](std::int32_t found, const ScoreRecord &r) {
            if (ShownPlaces(r, true) != 0)
                keyOf[std::size_t(found)] =
                    column == OvName ? nameRanks.value(r.Name[0]) : optionRanks.value(OptionKey(r));
        });
    } else {
        InFoundOrder(rows, records, [&](std::int32_t found, const ScoreRecord &r) {
            keyOf[std::size_t(found)] = Key(r, found, column);
        });
    }
    std::vector<std::pair<std::int64_t, std::int32_t>> keyed;
    keyed.reserve(rows.size());
    for (const std::int32_t row : rows)
        keyed.emplace_back(keyOf[std::size_t(row)], row);
    return keyed;
}

} // namespace

void SortLibraryRows(std::vector<std::int32_t> &rows, const ScoreRecordList &records, int column,
                     Qt::SortOrder order)
{
    std::vector<std::pair<std::int64_t, std::int32_t>> keyed = Keys(rows, records, column);
    if (order == Qt::AscendingOrder)
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
    else
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto &a, const auto &b) { return a.first > b.first; });
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = keyed[i].second;
}

LibraryFilter::LibraryFilter(const QString &text, ClearedFilter cleared) : m_text(text), m_cleared(cleared) {}

bool LibraryFilter::narrows(const LibraryFilter &before) const
{
    return m_text.contains(before.m_text, Qt::CaseInsensitive) &&
           (before.m_cleared == ClearedFilter::All || before.m_cleared == m_cleared);
}

bool LibraryFilter::accepts(const ScoreRecord &record)
{
    if (m_cleared != ClearedFilter::All && (record.Cleared == -1) != (m_cleared == ClearedFilter::Cleared))
        return false;
    if (m_text.isEmpty())
        return true;
    if (record.FolderPath.constData() != m_folder.constData() ||
        record.FolderPath.size() != m_folder.size()) {
        m_folder = record.FolderPath;
        m_folderHolds = m_folder.contains(m_text, Qt::CaseInsensitive);
        m_folderEnd = m_folder.right(m_text.size() - 1);
    }
    if (m_folderHolds)
        return true;
    // The text may start in the folder's last characters and end in the name.
    m_buffer.resize(0);
    m_buffer += m_folderEnd;
    m_buffer += record.FileName;
    return m_buffer.contains(m_text, Qt::CaseInsensitive);
}
