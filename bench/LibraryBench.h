#pragma once

#include <QStringList>

// rkfbench --library [--runs N] [--dir FOLDER]: times the library window and
// the shown ranking kept live, and prints its table; the exit status is 0
// when every goal is met. Also runs the measuring child (--child-library).
int LibraryBench(const QStringList &args);
