#pragma once

#include "CpuTime.h"
#include "EventGap.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <memory>

// One timed folder search.
struct SearchRun {
    int found = -1;    // score files found; -1 when the search failed
    double wallMs = 0; // from the command's start to its return
    double cpuMs = 0;  // processor time of this process meanwhile
    // Longest time without processed events, start and end included; measured
    // only when asked for, as the measuring costs a little at every event pass.
    double gapMs = 0;
};

// What the search is timed under: WindowSearchDriver.cpp runs the viewer's
// own folder search with its list, caption and repaints.
class SearchDriver {
  public:
    virtual ~SearchDriver() = default;

    // How the search is driven, for the printed table.
    virtual QString description() const = 0;

    // One complete folder search, as the user would start it (an earlier
    // search's list and records are cleared by it), timed.
    SearchRun search(const QByteArray &folder, bool measureGap = false)
    {
        SearchRun run;
        const double cpu = CpuMs();
        QElapsedTimer timer;
        timer.start();
        if (measureGap)
            m_gap.start();
        const int found = find(folder);
        run.gapMs = measureGap ? m_gap.stop() : 0;
        run.wallMs = double(timer.nsecsElapsed()) / 1e6;
        run.cpuMs = CpuMs() - cpu;
        run.found = found;
        return run;
    }

  protected:
    // The search itself: the score files found, -1 when it failed.
    virtual int find(const QByteArray &folder) = 0;

  private:
    EventGap m_gap;
};

// The application object the driver needs (created before anything else);
// the platform is the offscreen one unless QT_QPA_PLATFORM says otherwise.
std::unique_ptr<QCoreApplication> MakeBenchApplication(int &argc, char **argv);

// The driver; called once the application exists.
std::unique_ptr<SearchDriver> MakeSearchDriver();

// Whether the driver runs the viewer's window (it can then be timed on X11).
bool DriverHasWindow();
