#pragma once

#include <QByteArray>

// rkfreport's standard output: bytes gathered and written in large blocks.
// A write that fails ends the program at once: with "rkfreport: write error:"
// and the reason on standard error and status 1, or quietly (status 1) when
// the reader of a pipe has gone away.
class ReportOutput {
  public:
    ReportOutput();
    ~ReportOutput() { flush(); }
    ReportOutput(const ReportOutput &) = delete;
    ReportOutput &operator=(const ReportOutput &) = delete;

    // The buffer to append to; written out by the next flush or when it grows large.
    QByteArray &buffer() { return m_out; }
    void flushIfFull()
    {
        if (m_out.size() >= kFlushSize)
            flush();
    }
    void flush();

  private:
    static constexpr qsizetype kFlushSize = 1 << 16;
    QByteArray m_out;
};
