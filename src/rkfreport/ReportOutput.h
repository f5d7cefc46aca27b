#pragma once

#include "platform/FileWrite.h"

#include <QByteArray>
#include <memory>

// rkfreport's output: bytes gathered and written in large blocks, to standard
// output or, with --output, to a file replaced as the viewer saves
// (platform::FileReplacement). A write that fails ends the program at once:
// with "rkfreport: write error:" (or the file's name) and the reason on
// standard error and status 1, or quietly (status 1) when the reader of a
// pipe has gone away.
class ReportOutput {
  public:
    ReportOutput();
    ~ReportOutput() { flush(); }
    ReportOutput(const ReportOutput &) = delete;
    ReportOutput &operator=(const ReportOutput &) = delete;

    // Sends the output to the file at path instead; false, with the reason on
    // standard error, when it cannot be written there.
    bool toFile(const QByteArray &path);
    // Puts the file in place; false, with the reason on standard error, when
    // that failed (the old file is then unchanged). True for standard output.
    bool close();

    // The buffer to append to; written out by the next flush or when it grows large.
    QByteArray &buffer() { return m_out; }
    void flushIfFull()
    {
        if (m_out.size() >= kFlushSize)
            flush();
    }
    void flush();

  private:
    bool fileFailed(const platform::WriteResult &result);

    static constexpr qsizetype kFlushSize = 1 << 16;
    QByteArray m_out;
    QByteArray m_path;
    std::unique_ptr<platform::FileReplacement> m_file;
};
