#include "platform/gui/ApplicationEnd.h"

#include "platform/ProcessEnd.h"

#include <QApplication>
#include <QWidget>
#include <chrono>
#include <thread>

namespace platform {
namespace {

constexpr int kWindDownLimitSeconds = 8;

// Swallows every event sent while the application is taken down.
class EventSink : public QObject {
  public:
    bool eventFilter(QObject *, QEvent *) override { return true; }
};

} // namespace

void EndApplication(int status)
{
    if (QCoreApplication *app = QCoreApplication::instance()) {
        // Whatever happens while the toolkit winds down, the process ends
        // soon after its own time limit for the clipboard manager (5 s).
        std::thread([status] {
            std::this_thread::sleep_for(std::chrono::seconds(kWindDownLimitSeconds));
            EndProcess(status);
        }).detach();
        static EventSink sink;
        app->installEventFilter(&sink);
        for (QWidget *widget : QApplication::allWidgets())
            widget->blockSignals(true);
        app->blockSignals(true);
        // Taking the application object down is where the toolkit hands the
        // clipboard over; the process ends right after.
        delete app;
    }
    EndProcess(status);
}

} // namespace platform
