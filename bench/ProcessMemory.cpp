#include "ProcessMemory.h"

#include <cstdio>
#include <cstring>

ProcessMemory ReadProcessMemory()
{
    ProcessMemory memory;
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return memory;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        double kib = 0;
        if (std::sscanf(line, "VmRSS: %lf kB", &kib) == 1)
            memory.rssKiB = kib;
        else if (std::sscanf(line, "VmHWM: %lf kB", &kib) == 1)
            memory.hwmKiB = kib;
    }
    std::fclose(status);
    return memory;
}

bool ResetPeakMemory()
{
    std::FILE *refs = std::fopen("/proc/self/clear_refs", "w");
    if (!refs)
        return false;
    const bool written = std::fputs("5", refs) >= 0;
    return std::fclose(refs) == 0 && written;
}
