#pragma once

// Processor time (user and system) of this process and of the children it
// waited for, in milliseconds.
double CpuMs();
