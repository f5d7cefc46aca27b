#pragma once
#include <QByteArray>
#include <algorithm>

// Makes room for size more bytes at the end of out and returns where they
// start; the caller cuts out back to what it wrote. The capacity at least
// doubles, so appending line by line stays linear.
inline char *GrowBytes(QByteArray &out, qsizetype size)
{
    const qsizetype start = out.size();
    if (out.capacity() < start + size)
        out.reserve(std::max(2 * out.capacity(), start + size));
    out.resize(start + size);
    return out.data() + start;
}
