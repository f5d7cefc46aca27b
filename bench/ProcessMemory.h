#pragma once

// The memory the kernel counts for this process, from /proc/self/status.
struct ProcessMemory {
    double rssKiB = 0; // VmRSS: resident now
    double hwmKiB = 0; // VmHWM: the most resident since start (or the last reset)
};

ProcessMemory ReadProcessMemory();

// Starts the high-water mark afresh at the present size; false when the
// kernel refuses (it then still counts from the process's start).
bool ResetPeakMemory();
