#pragma once

#include "VirtualDisplay.h"

#include <QString>
#include <memory>

// The X11 display the window search is timed on: the one DISPLAY names, or else a virtual one
// (Xvfb, with openbox as window manager when installed) started here and stopped with this object.
class X11Session {
  public:
    // Finds or starts the display; false (with why()) when there is none.
    bool open();

    QString display() const { return m_display; }
    // What was used, or why there is no display, for the printed table.
    QString why() const { return m_why; }

  private:
    QString m_display;
    QString m_why;
    std::unique_ptr<VirtualDisplay> m_virtual;
};
