#pragma once

#include <QString>

class QPlainTextEdit;

// The text of a multi-line text box with CR LF line ends. The box keeps its
// lines as separate blocks and would hand them back joined by bare line feeds.
QString TextWithCrLf(const QPlainTextEdit *box);
