#include "rkfreport/ReportOutput.h"

#include "platform/StandardOutput.h"

#include <cstdio>
#include <cstdlib>

ReportOutput::ReportOutput()
{
    m_out.reserve(kFlushSize + (kFlushSize >> 2));
}

void ReportOutput::flush()
{
    if (m_out.isEmpty())
        return;
    const platform::OutputResult result = platform::WriteStandardOutput(m_out);
    m_out.resize(0); // keeps the buffer for the next lines
    if (result.ok())
        return;
    if (result.status == platform::OutputResult::Failed)
        std::fprintf(stderr, "rkfreport: write error: %s\n", result.description.toLocal8Bit().constData());
    std::exit(1);
}
