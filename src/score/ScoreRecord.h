#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// One loaded score file. Index k of every array holds place k+1.
struct ScoreRecord {
    static constexpr int kPlaces = 10;
    template <typename T> using Places = std::array<T, kPlaces>;

    QString FolderPath; // folder part of FilePath(), ending in the separator
    QString FileName;   // last component of FilePath(), extension included
    // The path's bytes as the file system names them; when empty, FilePath()
    // is encoded in the local file-name encoding.
    QByteArray NativePath;

    // Full path of the score file. Made from its two parts when asked for, so
    // that a folder's records share their folder's text and hold no path each.
    QString FilePath() const { return FolderPath + FileName; }

    std::int32_t PlayCount = 0;
    std::int16_t Cleared = 0; // -1 when the chart is cleared

    Places<QString> Name;
    Places<std::int32_t> Score{};
    Places<std::int32_t> JPts{};
    Places<float> HS{};
    Places<float> RHS{};
    Places<std::int32_t> MaxCombo{};
    Places<std::int32_t> ClassCode{};
    Places<std::int16_t> ClearMark{}; // -1 when the entry is cleared
    Places<std::int32_t> Perfect{};
    Places<std::int32_t> Great{};
    Places<std::int32_t> Good{};
    Places<std::int32_t> Bad{};
    Places<std::int32_t> Poor{};
    Places<std::int16_t> Option1{};
    Places<std::int16_t> Option2{};
    Places<std::int16_t> Option3{};
    Places<std::int16_t> Option4{};
    Places<std::int16_t> Option5{};

    bool operator==(const ScoreRecord &) const = default;
};

// The number of rows the ranking table shows for the record: the places up to
// the first one without score and J-PTS; with topOnly at most one.
inline int ShownPlaces(const ScoreRecord &record, bool topOnly)
{
    int places = 0;
    while (places < (topOnly ? 1 : ScoreRecord::kPlaces) &&
           (record.Score[places] != 0 || record.JPts[places] != 0))
        ++places;
    return places;
}
