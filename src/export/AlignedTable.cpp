#include "export/AlignedTable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

// The rows are kept as records: a kind byte (0 a row, 1 a rule), then for a
// row every cell as its width (uint16), its length (uint32) and its bytes.

namespace {

constexpr char kRow = 0;
constexpr char kRule = 1;
constexpr qsizetype kCellHead = 2 + 4;

template <typename T> T Get(const char *p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

} // namespace

AlignedTable::AlignedTable(std::vector<bool> rightAligned, qsizetype memoryLimit)
    : m_right(std::move(rightAligned)), m_widths(m_right.size(), 0), m_limit(memoryLimit)
{
}

AlignedTable::~AlignedTable() = default;

void AlignedTable::addRow(const QByteArrayView *cells, const int *widths)
{
    const std::size_t columns = m_right.size();
    m_rows += kRow;
    for (std::size_t c = 0; c < columns; ++c) {
        const std::uint16_t width = std::uint16_t(std::clamp(widths[c], 0, 0xFFFF));
        const std::uint32_t length = std::uint32_t(cells[c].size());
        m_widths[c] = std::max(m_widths[c], int(width));
        m_rows.append(reinterpret_cast<const char *>(&width), sizeof width);
        m_rows.append(reinterpret_cast<const char *>(&length), sizeof length);
        m_rows += cells[c];
    }
    if (m_rows.size() >= m_limit)
        spill();
}

void AlignedTable::addRule()
{
    m_rows += kRule;
}

void AlignedTable::spill()
{
    if (!m_failure.failed() && !m_file) {
        m_file = std::make_unique<QTemporaryFile>();
        if (!m_file->open())
            m_failure = {kErrPathAccess, m_file->errorString()};
    }
    if (!m_failure.failed() && m_file->write(m_rows) != m_rows.size())
        m_failure = {kErrPathAccess, m_file->errorString()};
    // Once the rows cannot be kept the table is lost; memory stays bounded all the same.
    m_rows.resize(0);
}

qsizetype AlignedTable::writeRows(const char *data, qsizetype size, QByteArray &out,
                                  const std::function<void()> &drain)
{
    const std::size_t columns = m_right.size();
    qsizetype at = 0;
    while (at < size) {
        if (data[at] == kRule) {
            for (std::size_t c = 0; c < columns; ++c) {
                if (c != 0)
                    out += "  ";
                out.append(qsizetype(m_widths[c]), '-');
            }
            out += "\r\n";
            drain();
            ++at;
            continue;
        }
        // A row is written only when all of it is at hand.
        qsizetype end = at + 1;
        for (std::size_t c = 0; c < columns; ++c) {
            if (end + kCellHead > size)
                return at;
            end += kCellHead + qsizetype(Get<std::uint32_t>(data + end + 2));
        }
        if (end > size)
            return at;
        const qsizetype line = out.size();
        qsizetype cell = at + 1;
        for (std::size_t c = 0; c < columns; ++c) {
            const int width = Get<std::uint16_t>(data + cell);
            const qsizetype length = Get<std::uint32_t>(data + cell + 2);
            const int pad = m_widths[c] - width;
            if (c != 0)
                out += "  ";
            if (m_right[c] && pad > 0)
                out.append(pad, ' ');
            out.append(data + cell + kCellHead, length);
            if (!m_right[c] && c + 1 < columns && pad > 0)
                out.append(pad, ' ');
            cell += kCellHead + length;
        }
        // No spaces at the end of a line whose last cells are empty.
        qsizetype lineEnd = out.size();
        while (lineEnd > line && out.at(lineEnd - 1) == ' ')
            --lineEnd;
        out.truncate(lineEnd);
        out += "\r\n";
        drain();
        at = end;
    }
    return at;
}

Failure AlignedTable::write(QByteArray &out, const std::function<void()> &drain)
{
    if (!m_file) {
        writeRows(m_rows.constData(), m_rows.size(), out, drain);
        return m_failure;
    }
    spill();
    if (m_failure.failed())
        return m_failure;
    if (!m_file->seek(0))
        return {kErrPathAccess, m_file->errorString()};
    QByteArray chunk;
    for (;;) {
        const QByteArray more = m_file->read(qsizetype(1) << 20);
        if (more.isEmpty() && m_file->error() != QFileDevice::NoError)
            return {kErrPathAccess, m_file->errorString()};
        chunk += more;
        const qsizetype used = writeRows(chunk.constData(), chunk.size(), out, drain);
        chunk.remove(0, used);
        if (more.isEmpty())
            break;
    }
    return m_failure;
}
