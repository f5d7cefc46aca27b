#include "window/frmMain.h"

#include "platform/gui/MessageBox.h"
#include "score/Report.h"
#include "support/AppGlobals.h"
#include "window/RankingTable.h"
#include "window/TextBoxText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTreeWidget>

QString frmMain::SummaryText() const
{
    return TextWithCrLf(txtScore);
}

void frmMain::lstScore_ColumnClick(int column)
{
    // The first click on a column sorts it descending, a second click on the
    // same column ascending, and so on; another column starts descending.
    const bool toggle = m_sortOrder == Qt::DescendingOrder && column == SortColumn;
    m_sortOrder = toggle ? Qt::AscendingOrder : Qt::DescendingOrder;
    m_sortKey = column - 1;
    SortColumn = std::int16_t(column);
    // No sort arrow in the header: it would clip the narrow headers' texts.
    lstScore->sortItems(m_sortKey, m_sortOrder);
}

void frmMain::cmdCopy_Click()
{
    Failure failure;
    const QString report = MakeReport(SummaryText(), RankRowsOf(lstScore), &failure);
    if (failure.failed()) {
        // The clipboard keeps what it held; the user learns why nothing was copied.
        platform::ShowStopMessage(AppTitle,
                                  QStringLiteral("コピーできませんでした。\r") + failure.Description);
        return;
    }
    QGuiApplication::clipboard()->setText(report);
}

void frmMain::cmdClear_Click()
{
    txtScore->clear();
    lstScore->clear();
}
