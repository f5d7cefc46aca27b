#include "window/TextBoxText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

QString TextWithCrLf(const QPlainTextEdit *box)
{
    // The raw text keeps every character as entered (no-break spaces too);
    // lines are separated by paragraph or line separators.
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    return text;
}
