#include "rkfreport/ReportOutput.h"

#include "export/SaveFile.h"
#include "platform/FileNames.h"
#include "platform/StandardOutput.h"

#include <cstdio>
#include <cstdlib>

ReportOutput::ReportOutput()
{
    m_out.reserve(kFlushSize + (kFlushSize >> 2));
}

bool ReportOutput::toFile(const QByteArray &path)
{
    m_path = path;
    m_file = std::make_unique<platform::FileReplacement>(path, true);
    return !fileFailed(m_file->result());
}

bool ReportOutput::close()
{
    flush();
    return !m_file || !fileFailed(m_file->commit());
}

bool ReportOutput::fileFailed(const platform::WriteResult &result)
{
    if (!result.failed())
        return false;
    std::fprintf(stderr, "rkfreport: %s: %s\n", platform::DisplayPath(m_path).toUtf8().constData(),
                 SaveFailure(result).Description.toUtf8().constData());
    m_file.reset(); // nothing of the new content is kept
    return true;
}

void ReportOutput::flush()
{
    if (m_out.isEmpty())
        return;
    if (m_file) {
        const bool written = m_file->write(m_out);
        m_out.resize(0);
        if (!written && fileFailed(m_file->result()))
            std::exit(1);
        return;
    }
    const platform::OutputResult result = platform::WriteStandardOutput(m_out);
    m_out.resize(0); // keeps the buffer for the next lines
    if (result.ok())
        return;
    if (result.status == platform::OutputResult::Failed)
        std::fprintf(stderr, "rkfreport: write error: %s\n", result.description.toLocal8Bit().constData());
    std::exit(1);
}
