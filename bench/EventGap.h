#pragma once

#include <QElapsedTimer>
#include <QObject>

// Measures the longest stretch in which the application processed no events:
// a posted event that posts itself again each time it is delivered. Events
// posted during delivery wait for the next pass of event processing, so one
// delivery marks each pass.
class EventGap : public QObject {
  public:
    // Starts measuring: the first gap runs from now to the first pass.
    void start();
    // Stops measuring; the last gap runs from the last pass to now.
    // Returns the longest gap in milliseconds.
    double stop();

  protected:
    bool event(QEvent *event) override;

  private:
    void mark();

    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    bool m_running = false;
};
