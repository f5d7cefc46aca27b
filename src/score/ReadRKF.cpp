#include "score/ReadRKF.h"

#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "platform/FileRead.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

// Little-endian readers over the fixed record.
std::int32_t I32(const unsigned char *p)
{
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                        std::uint32_t(p[3]) << 24);
}

std::int16_t I16(const unsigned char *p)
{
    return std::int16_t(std::uint16_t(p[0] | p[1] << 8));
}

float F32(const unsigned char *p)
{
    const std::uint32_t bits = std::uint32_t(I32(p));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The 8-byte name ends at its first NUL; then spaces (and only spaces) are
// trimmed from both ends. A space byte is never part of a double-byte
// character, so trimming the bytes trims the characters.
QString DecodeName(const unsigned char *p)
{
    const void *nul = std::memchr(p, 0, 8);
    qsizetype end = nul ? static_cast<const unsigned char *>(nul) - p : 8;
    qsizetype begin = 0;
    while (begin < end && p[begin] == ' ')
        ++begin;
    while (end > begin && p[end - 1] == ' ')
        --end;
    if (begin == end)
        return QString();
    const QByteArrayView bytes(p + begin, end - begin);
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    return ascii ? QString::fromLatin1(bytes) : platform::DecodeAnsi(bytes);
}

// Player names repeat from file to file (mostly one player's own scores), so
// the decoded names are kept by their eight bytes: a repeated name costs no
// decoding, and the records share one copy of it.
const QString &CachedName(const unsigned char *p)
{
    struct Slot {
        std::uint64_t bytes = 0;
        bool used = false;
        QString name;
    };
    // Four ways to a set: two names that meet in a set both stay (a decoded
    // copy per record would cost more memory than the record's own numbers).
    // Made on a thread's first decoding: every thread of the program would
    // otherwise start with a cache of its own, decoding or not.
    constexpr std::size_t kWays = 4;
    static thread_local std::unique_ptr<std::array<Slot, 256>> made;
    static thread_local std::size_t nextWay = 0;
    if (!made)
        made = std::make_unique<std::array<Slot, 256>>();
    std::array<Slot, 256> &cache = *made;
    std::uint64_t bytes;
    std::memcpy(&bytes, p, sizeof bytes);
    const std::size_t set = std::size_t((bytes * 0x9E3779B97F4A7C15ull) >> 56) & ~(kWays - 1);
    for (std::size_t way = 0; way < kWays; ++way) {
        const Slot &slot = cache[set + way];
        if (slot.used && slot.bytes == bytes)
            return slot.name;
    }
    Slot &slot = cache[set + nextWay];
    nextWay = (nextWay + 1) % kWays;
    slot.bytes = bytes;
    slot.used = true;
    slot.name = DecodeName(p);
    return slot.name;
}

} // namespace

Failure OpenFailure(platform::OpenError error)
{
    switch (error) {
    case platform::OpenError::None:
        return {};
    case platform::OpenError::NotFound:
        return MakeFailure(kErrFileNotFound);
    case platform::OpenError::PermissionDenied:
        return MakeFailure(kErrPermissionDenied);
    case platform::OpenError::AccessError:
        break;
    }
    return MakeFailure(kErrPathAccess);
}

Failure DecodeRKF(const char *bytes, ScoreRecord &r)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes);
    r.PlayCount = I32(b);
    for (int k = 0; k < ScoreRecord::kPlaces; ++k) {
        const unsigned char *e = b + 4 + kEntrySize * k;
        if (I16(e) == -1)
            r.ClearMark[k] = -1;
        r.Name[k] = CachedName(e + 2);
        const auto score = platform::RoundToInt32(F32(e + 10));
        if (!score)
            return MakeFailure(kErrOverflow);
        r.Score[k] = *score;
        const auto jpts = platform::RoundToInt32(F32(e + 14));
        if (!jpts)
            return MakeFailure(kErrOverflow);
        r.JPts[k] = *jpts;
        r.HS[k] = F32(e + 18);
        r.RHS[k] = F32(e + 22);
        r.MaxCombo[k] = I16(e + 26);
        r.ClassCode[k] = e[28];
        r.Option1[k] = e[29];
        r.Option2[k] = e[30];
        r.Option3[k] = e[31];
        r.Option4[k] = e[32];
        r.Option5[k] = e[33];
        r.Perfect[k] = I16(e + 34);
        r.Great[k] = I16(e + 36);
        r.Good[k] = I16(e + 38);
        r.Bad[k] = I16(e + 40);
        r.Poor[k] = I16(e + 42);
    }
    r.Cleared = I32(b + 444) != 0 ? -1 : 0;
    return {};
}

QByteArray RecordFileBytes(const ScoreRecord &record)
{
    return record.NativePath.isEmpty() ? platform::NativeFileName(record.FilePath()) : record.NativePath;
}

Failure ReadRKF(ScoreRecord &record)
{
    char bytes[kScoreFileSize] = {};
    const platform::HeadRead read = platform::ReadFileHead(RecordFileBytes(record), bytes, sizeof bytes);
    if (read.error != platform::OpenError::None)
        return OpenFailure(read.error);
    return DecodeRKF(bytes, record);
}

Failure ReadRKF(ScoreRecord &record, const platform::HeadRead &read, const char *bytes)
{
    if (read.error != platform::OpenError::None)
        return OpenFailure(read.error);
    return DecodeRKF(bytes, record);
}
