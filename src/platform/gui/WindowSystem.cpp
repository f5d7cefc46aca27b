#include "platform/gui/WindowSystem.h"

#include <QGuiApplication>

namespace platform {
namespace {

const char kPlatformVariable[] = "QT_QPA_PLATFORM";
bool g_chosen = false;

bool Named(const char *variable)
{
    return !qEnvironmentVariableIsEmpty(variable);
}

} // namespace

void ChooseWindowSystem(const QList<QByteArray> &arguments)
{
    if (Named(kPlatformVariable) || arguments.contains("-platform") || arguments.contains("--platform"))
        return;
    // Plugins are tried in turn until one reaches its display.
    const char *plugins = Named("DISPLAY") ? "xcb;wayland" : Named("WAYLAND_DISPLAY") ? "wayland" : nullptr;
    if (plugins)
        g_chosen = qputenv(kPlatformVariable, plugins);
}

void ForgetWindowSystemChoice()
{
    if (g_chosen)
        qunsetenv(kPlatformVariable);
    g_chosen = false;
}

bool CanKeepWindowAbove()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace platform
