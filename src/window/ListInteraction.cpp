#include "window/frmMain.h"

#include "platform/gui/MessageBox.h"
#include "score/Report.h"
#include "search/ShownFileRefresh.h"
#include "support/AppGlobals.h"
#include "window/RankingTable.h"
#include "window/TextBoxText.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
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

void frmMain::CreateSortMenu()
{
    menuSort = new QMenu(QStringLiteral("並べ替え"), this);
    menuSort->setObjectName(QStringLiteral("menuSort"));
    for (int c = 0; c < kRankColumnCount; ++c) {
        QAction *column = menuSort->addAction(QString::fromUtf8(RankColumns()[c].header));
        connect(column, &QAction::triggered, this, [this, c] { lstScore_ColumnClick(c + 1); });
    }
    const QList<QAbstractScrollArea *> controls{lstScore, lstScore->header()};
    for (QAbstractScrollArea *control : controls) {
        control->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(control, &QWidget::customContextMenuRequested, this,
                [this, control](const QPoint &position) { ShowSortMenu(control->viewport(), position); });
    }
    auto *keyboard = new QAction(lstScore);
    keyboard->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    keyboard->setShortcutContext(Qt::WidgetShortcut);
    lstScore->addAction(keyboard);
    connect(keyboard, &QAction::triggered, this, [this] { ShowSortMenu(lstScore->viewport(), {}); });
}

void frmMain::ShowSortMenu(QWidget *control, const QPoint &position)
{
    // From the keyboard the menu opens at the current row, or the table's top.
    QPoint at = position;
    if (control == lstScore->viewport() && position.isNull() && lstScore->currentItem())
        at = lstScore->visualItemRect(lstScore->currentItem()).bottomLeft();
    menuSort->popup(control->mapToGlobal(at));
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
    Refresh->stop(); // nothing shown, nothing kept live
}
