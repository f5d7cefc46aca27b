#include "score/ReadRKF.h"

#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "platform/FileRead.h"
#include "platform/NumberText.h"

#include <cstring>

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
// trimmed from both ends.
QString DecodeName(const unsigned char *p)
{
    const void *nul = std::memchr(p, 0, 8);
    const qsizetype len = nul ? static_cast<const unsigned char *>(nul) - p : 8;
    const QString text = platform::DecodeAnsi(QByteArrayView(p, len));
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    if (begin == end)
        return QString();
    return text.mid(begin, end - begin);
}

Failure FromOpenError(platform::OpenError error)
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

} // namespace

Failure DecodeRKF(const char *bytes, ScoreRecord &r)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes);
    r.PlayCount = I32(b);
    for (int k = 0; k < ScoreRecord::kPlaces; ++k) {
        const unsigned char *e = b + 4 + kEntrySize * k;
        if (I16(e) == -1)
            r.ClearMark[k] = -1;
        r.Name[k] = DecodeName(e + 2);
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

Failure ReadRKF(ScoreRecord &record)
{
    char bytes[kScoreFileSize] = {};
    const QByteArray path =
        record.NativePath.isEmpty() ? platform::NativeFileName(record.FilePath) : record.NativePath;
    const platform::HeadRead read = platform::ReadFileHead(path, bytes, sizeof bytes);
    if (read.error != platform::OpenError::None)
        return FromOpenError(read.error);
    return DecodeRKF(bytes, record);
}
