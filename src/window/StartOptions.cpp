#include "window/StartOptions.h"

#include "Version.h"

StartAction StartActionFor(const QList<QByteArray> &arguments)
{
    for (const QByteArray &argument : arguments) {
        if (argument == "--help" || argument == "-h")
            return StartAction::PrintHelp;
        if (argument == "--version" || argument == "-V")
            return StartAction::PrintVersion;
    }
    return StartAction::ShowWindow;
}

QByteArray HelpText()
{
    return "Usage: rkfview [FILE.rkf]\n"
           "Shows the top ten of a score file (.rkf) in a window. Folders are searched\n"
           "from the window: \"ファイル(F)\" > \"フォルダを開く(F)\", the Open button, or a folder\n"
           "dropped on it.\n"
           "\n"
           "  FILE.rkf       the absolute path of a score file to show at once (\"$PWD/FILE.rkf\");\n"
           "                 a relative path, a folder or any other argument is ignored\n"
           "  -h, --help     show this text and exit\n"
           "  -V, --version  show the version and exit\n"
           "\n"
           "The settings (rkfview.ini) and the error log (error.txt) are kept beside the\n"
           "program when it runs from a folder it may write to, or that already holds\n"
           "rkfview.ini, and that is not the folder it was installed to; otherwise in\n"
           "$XDG_CONFIG_HOME/rkfview/ and $XDG_STATE_HOME/rkfview/ (by default\n"
           "~/.config/rkfview/ and ~/.local/state/rkfview/).\n";
}

QByteArray VersionText()
{
    return QByteArray("rkfview ") + kVersionText + '\n';
}

QByteArray NoDisplayText(bool waylandNamed)
{
    QByteArray text = "rkfview: there is no display to show the window on.\n";
    if (waylandNamed)
        text += "On a Wayland desktop without Xwayland it needs the toolkit's Wayland plugin\n"
                "(Debian: sudo apt-get install qt6-wayland).\n";
    return text +
           "Start it from a desktop session, or give it a display of its own:\n"
           "  xvfb-run -a rkfview \"$PWD/FILE.rkf\"   (a virtual X display; the path must be absolute)\n"
           "  QT_QPA_PLATFORM=offscreen rkfview    (no display at all; the window is not seen)\n";
}
