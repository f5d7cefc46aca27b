#include "LibraryBench.h"

#include <cstdio>

// Without the viewer there is no library window to time.
int LibraryBench(const QStringList &)
{
    std::fputs("rkfbench: the viewer is not built; the library window cannot be timed\n", stderr);
    return 2;
}
