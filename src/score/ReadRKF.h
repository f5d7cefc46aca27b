#pragma once

#include "platform/FileRead.h"
#include "score/ScoreRecord.h"
#include "support/Failure.h"

// Size of a score file: a 4-byte header, ten 44-byte entries, a 4-byte trailer.
inline constexpr int kScoreFileSize = 448;
inline constexpr int kEntrySize = 44;

// Fills a record whose path fields are set from the file it names. Bytes past
// 448 are never read; bytes missing from a shorter file read as zero. On
// failure (53 not found, 70 permission denied, 75 not openable, 6 a score or
// J-PTS out of the int32 range) the record may be left partly filled.
Failure ReadRKF(ScoreRecord &record);

// The bytes that name the record's file: its native path when it has one,
// otherwise FilePath() in the local file-name encoding.
QByteArray RecordFileBytes(const ScoreRecord &record);

// The same from the head of the record's file, read before (a folder search
// reads ahead): read is how the read went, bytes its kScoreFileSize bytes.
Failure ReadRKF(ScoreRecord &record, const platform::HeadRead &read, const char *bytes);

// The failure for a file or folder that could not be opened: 53 not found,
// 70 permission denied, 75 anything else.
Failure OpenFailure(platform::OpenError error);

// Decodes the 448 bytes of a score file into the record's score fields.
Failure DecodeRKF(const char *bytes, ScoreRecord &record);
