#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <memory>

// What the search is timed under. CoreSearchDriver.cpp runs DoFind with an
// observer that only processes events; a window driver runs the viewer's own
// folder search with its list, caption and repaints (offscreen).
class SearchDriver {
  public:
    virtual ~SearchDriver() = default;

    // How the search is driven, for the printed table.
    virtual QString description() const = 0;

    // One complete folder search, as the user would start it; returns the
    // number of score files found, or -1 when the search failed.
    virtual int search(const QByteArray &folder) = 0;
};

// The application object the driver needs (created before anything else).
std::unique_ptr<QCoreApplication> MakeBenchApplication(int &argc, char **argv);

// The driver; called once the application exists.
std::unique_ptr<SearchDriver> MakeSearchDriver();
