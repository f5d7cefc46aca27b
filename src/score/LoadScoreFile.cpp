#include "score/LoadScoreFile.h"

#include "platform/FileNames.h"
#include "score/ReadRKF.h"

void SetRecordPath(ScoreRecord &record, const QByteArray &nativePath)
{
    record.NativePath = nativePath;
    const qsizetype cut = nativePath.lastIndexOf(platform::kSeparator) + 1;
    record.FolderPath = platform::DisplayPath(nativePath.left(cut));
    record.FileName = platform::DisplayFileName(nativePath.mid(cut));
}

Failure LoadScoreFile(const QByteArray &nativePath, ScoreRecord &record)
{
    record = ScoreRecord();
    SetRecordPath(record, platform::AbsoluteNativePath(nativePath));
    return ReadRKF(record);
}
