#include "window/FileListView.h"

#include "window/FileNameModel.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

FileListView::FileListView(QWidget *parent) : QAbstractItemView(parent), m_model(new FileNameModel(this))
{
    setModel(m_model);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setAutoScroll(true);
}

int FileListView::count() const
{
    return m_model->rowCount();
}

QString FileListView::itemText(int row) const
{
    return row >= 0 && row < count() ? m_model->name(row) : QString();
}

void FileListView::addItems(const QStringList &names)
{
    m_model->append(names);
}

void FileListView::clear()
{
    m_model->clear();
}

int FileListView::currentRow() const
{
    return currentIndex().row();
}

void FileListView::setCurrentRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clear();
}

int FileListView::selectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

QSize FileListView::rowSize() const
{
    if (!m_rowSize.isValid()) {
        QStyleOptionViewItem option;
        const_cast<FileListView *>(this)->initViewItemOption(&option);
        const QModelIndex first = m_model->index(0, 0);
        // With no row yet, a row of the font's height.
        QSize size =
            first.isValid() ? itemDelegate()->sizeHint(option, first) : QSize(0, fontMetrics().height());
        size.setHeight(std::max(1, size.height()));
        if (!first.isValid())
            return size;
        m_rowSize = size;
    }
    return m_rowSize;
}

int FileListView::pageRows() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

QRect FileListView::rowRect(int row) const
{
    const QSize size = rowSize();
    const int width = std::max(size.width(), viewport()->width());
    return QRect(-horizontalOffset(), row * size.height() - verticalOffset(), width, size.height());
}

QRect FileListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != m_model)
        return {};
    return rowRect(index.row());
}

void FileListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    const int top = verticalScrollBar()->value();
    const int page = pageRows();
    int value = top;
    switch (hint) {
    case PositionAtTop:
        value = row;
        break;
    case PositionAtBottom:
        value = row - page + 1;
        break;
    case PositionAtCenter:
        value = row - page / 2;
        break;
    case EnsureVisible:
        if (row < top)
            value = row;
        else if (row >= top + page)
            value = row - page + 1;
        break;
    }
    verticalScrollBar()->setValue(value);
}

QModelIndex FileListView::indexAt(const QPoint &point) const
{
    const QSize size = rowSize();
    if (point.y() < 0 || point.x() + horizontalOffset() >= std::max(size.width(), viewport()->width()))
        return {};
    const int row = (point.y() + verticalOffset()) / size.height();
    return row < count() ? m_model->index(row, 0) : QModelIndex();
}

QModelIndex FileListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int rows = count();
    if (rows == 0)
        return {};
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    int row = current;
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        row = current < 0 ? 0 : current - 1;
        break;
    case MoveDown:
    case MoveNext:
        row = current + 1;
        break;
    case MovePageUp:
        row = current - pageRows();
        break;
    case MovePageDown:
        row = current < 0 ? pageRows() - 1 : current + pageRows();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        return currentIndex();
    }
    return m_model->index(std::clamp(row, 0, rows - 1), 0);
}

int FileListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int FileListView::verticalOffset() const
{
    return verticalScrollBar()->value() * rowHeight();
}

bool FileListView::isIndexHidden(const QModelIndex &) const
{
    return false;
}

void FileListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect r = rect.normalized();
    const QModelIndex top = indexAt(QPoint(0, std::max(0, r.top())));
    QModelIndex bottom = indexAt(QPoint(0, r.bottom()));
    if (!top.isValid()) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    if (!bottom.isValid())
        bottom = m_model->index(count() - 1, 0);
    selectionModel()->select(QItemSelection(top, bottom), command);
}

QRegion FileListView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    for (const QItemSelectionRange &range : selection) {
        if (range.isValid())
            region += rowRect(range.top()).united(rowRect(range.bottom()));
    }
    return region;
}

void FileListView::updateGeometries()
{
    const QSize size = rowSize();
    const int page = pageRows();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, std::max(0, count() - page));
    const int width = count() > 0 ? size.width() : 0;
    horizontalScrollBar()->setSingleStep(std::max(1, size.height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    QAbstractItemView::updateGeometries();
}

void FileListView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const int rows = count();
    if (rows == 0)
        return;
    const int height = rowHeight();
    const QRect area = event->rect();
    const int first = std::max(0, (area.top() + verticalOffset()) / height);
    const int last = std::min(rows - 1, (area.bottom() + verticalOffset()) / height);

    QStyleOptionViewItem base;
    initViewItemOption(&base);
    const bool enabled = isEnabled();
    const bool focus = hasFocus() && currentIndex().isValid();
    const QModelIndex current = currentIndex();
    const QModelIndex hover =
        enabled && underMouse() ? indexAt(viewport()->mapFromGlobal(QCursor::pos())) : QModelIndex();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = m_model->index(row, 0);
        QStyleOptionViewItem option = base;
        option.rect = rowRect(row);
        option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
        if (enabled) {
            option.state |= QStyle::State_Enabled;
            option.palette.setCurrentColorGroup(isActiveWindow() ? QPalette::Active : QPalette::Inactive);
        } else {
            option.state &= ~QStyle::State_Enabled;
            option.palette.setCurrentColorGroup(QPalette::Disabled);
        }
        if (selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focus && index == current)
            option.state |= QStyle::State_HasFocus;
        if (index == hover)
            option.state |= QStyle::State_MouseOver;
        itemDelegate()->paint(&painter, option, index);
    }
}

void FileListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    if (start == 0)
        m_rowSize = QSize();
    updateGeometries();
    // Only rows that reach into the viewport need painting.
    const QRect added = rowRect(start).united(rowRect(end));
    if (added.intersects(viewport()->rect()))
        viewport()->update(added.intersected(viewport()->rect()));
}

void FileListView::reset()
{
    m_rowSize = QSize();
    QAbstractItemView::reset();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateGeometries();
    viewport()->update();
}

void FileListView::resizeEvent(QResizeEvent *event)
{
    QAbstractItemView::resizeEvent(event);
    updateGeometries();
}
