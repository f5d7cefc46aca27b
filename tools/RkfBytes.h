#pragma once

#include <QByteArray>
#include <cstdint>
#include <cstring>

// Builds the bytes of a score file field by field at their offsets, so tests
// and sample files say exactly which bytes they hold.
class RkfBytes {
  public:
    static constexpr int kSize = 448;

    RkfBytes() : m_bytes(kSize, '\0') {}

    RkfBytes &playCount(std::int32_t v) { return put32(0, std::uint32_t(v)); }
    RkfBytes &trailer(std::int32_t v) { return put32(444, std::uint32_t(v)); }

    // Fields of place k (0-based).
    RkfBytes &clearMark(int k, std::int16_t v) { return put16(entry(k), std::uint16_t(v)); }
    RkfBytes &name(int k, const QByteArray &bytes8)
    {
        std::memset(m_bytes.data() + entry(k) + 2, 0, 8);
        std::memcpy(m_bytes.data() + entry(k) + 2, bytes8.constData(), std::min<qsizetype>(8, bytes8.size()));
        return *this;
    }
    RkfBytes &score(int k, float v) { return putF(entry(k) + 10, v); }
    RkfBytes &jpts(int k, float v) { return putF(entry(k) + 14, v); }
    RkfBytes &hs(int k, float v) { return putF(entry(k) + 18, v); }
    RkfBytes &rhs(int k, float v) { return putF(entry(k) + 22, v); }
    RkfBytes &maxCombo(int k, std::int16_t v) { return put16(entry(k) + 26, std::uint16_t(v)); }
    RkfBytes &classCode(int k, std::uint8_t v) { return put8(entry(k) + 28, v); }
    RkfBytes &option(int k, int group, std::uint8_t v)
    {
        return put8(entry(k) + 28 + group, v);
    } // group 1..5
    RkfBytes &judge(int k, std::int16_t perfect, std::int16_t great, std::int16_t good, std::int16_t bad,
                    std::int16_t poor)
    {
        const int e = entry(k) + 34;
        put16(e, std::uint16_t(perfect));
        put16(e + 2, std::uint16_t(great));
        put16(e + 4, std::uint16_t(good));
        put16(e + 6, std::uint16_t(bad));
        return put16(e + 8, std::uint16_t(poor));
    }

    // Raw bytes at an offset, for what the typed setters cannot say.
    RkfBytes &raw(int offset, const QByteArray &bytes)
    {
        if (m_bytes.size() < offset + bytes.size())
            m_bytes.resize(offset + bytes.size(), '\0');
        std::memcpy(m_bytes.data() + offset, bytes.constData(), bytes.size());
        return *this;
    }
    RkfBytes &resize(int size)
    {
        m_bytes.resize(size, '\0');
        return *this;
    }

    const QByteArray &bytes() const { return m_bytes; }

  private:
    static int entry(int k) { return 4 + 44 * k; }
    RkfBytes &put8(int at, std::uint8_t v)
    {
        m_bytes[at] = char(v);
        return *this;
    }
    RkfBytes &put16(int at, std::uint16_t v)
    {
        put8(at, std::uint8_t(v));
        return put8(at + 1, std::uint8_t(v >> 8));
    }
    RkfBytes &put32(int at, std::uint32_t v)
    {
        put16(at, std::uint16_t(v));
        return put16(at + 2, std::uint16_t(v >> 16));
    }
    RkfBytes &putF(int at, float v)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return put32(at, bits);
    }

    QByteArray m_bytes;
};
