#pragma once

#include <QString>

namespace platform {

// The text as the message box shows it: every line break (CR LF, a lone CR or
// a lone LF) becomes one line feed, so a lone CR starts a new line.
QString MessageBoxText(const QString &text);

// Shows a modal message box with the stop (critical) icon, the title, the text
// as plain text and a single OK button, and waits until the user closes it.
// It stays above every other window, topmost ones included. Without a running
// widget application nothing is shown.
void ShowStopMessage(const QString &title, const QString &text);

} // namespace platform
