#include "window/FileListView.h"

#include "window/FileListAccessible.h"
#include "window/FileNameModel.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

FileListView::FileListView(QWidget *parent) : QAbstractItemView(parent), m_model(new FileNameModel(this))
{
    InstallFileListAccessible();
    setModel(m_model);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setAutoScroll(true);
    measureRows();
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

void FileListView::measureRows()
{
    // A row's size is what the delegate gives one line of text in this font.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("M");
    const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
    m_rowHeight = std::max(1, size.height());
    m_textMargin = std::max(0, size.width() - option.fontMetrics.horizontalAdvance(option.text));
    m_advances.clear();
    m_asciiAdvances.fill(-1);
    m_widestText = 0;
    measureNames(0, count() - 1);
}

int FileListView::nameWidth(const QFontMetrics &metrics, const QString &name)
{
    int width = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), name[++i].unicode());
        int &advance = c < m_asciiAdvances.size() ? m_asciiAdvances[c] : m_advances[c].pixels;
        if (advance < 0)
            advance = metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
        width += advance;
    }
    return width;
}

void FileListView::measureNames(int first, int last)
{
    const QFontMetrics metrics = fontMetrics();
    for (int row = first; row <= last; ++row) {
        const QString &name = m_model->name(row);
        const int width = nameWidth(metrics, name);
        // A name that widens the rows is measured whole as well, in case
        // shaping makes it wider than its characters.
        if (width > m_widestText)
            m_widestText = std::max(width, metrics.horizontalAdvance(name));
    }
}

int FileListView::rowWidth() const
{
    return count() > 0 ? m_widestText + m_textMargin : 0;
}

int FileListView::pageRows() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

QRect FileListView::rowRect(int row) const
{
    const int width = std::max(rowWidth(), viewport()->width());
    return QRect(-horizontalOffset(), row * rowHeight() - verticalOffset(), width, rowHeight());
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
    if (point.y() < 0 || point.x() + horizontalOffset() >= std::max(rowWidth(), viewport()->width()))
        return {};
    const int row = (point.y() + verticalOffset()) / rowHeight();
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

void FileListView::keyPressEvent(QKeyEvent *event)
{
    // Until a row is selected, the first step up or down selects the first
    // row, wherever the focus frame stands.
    const bool step = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (step && event->modifiers() == Qt::NoModifier && count() > 0 && !selectionModel()->hasSelection()) {
        setCurrentRow(0);
        scrollTo(m_model->index(0, 0));
        event->accept();
        return;
    }
    QAbstractItemView::keyPressEvent(event);
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
    const int page = pageRows();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, std::max(0, count() - page));
    horizontalScrollBar()->setSingleStep(rowHeight());
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, rowWidth() - viewport()->width()));
    QAbstractItemView::updateGeometries();
    // A scroll bar that came or went has changed the viewport's height.
    fitWholeRows();
}

void FileListView::setHeightInWholeRows(int height)
{
    m_fullHeight = height;
    fitWholeRows();
}

void FileListView::fitWholeRows()
{
    if (m_fullHeight < 0 || m_fitting)
        return;
    m_fitting = true;
    // Frame and horizontal scroll bar, as they stand now.
    const int chrome = height() - viewport()->height();
    const int rows = std::max(1, (m_fullHeight - chrome) / rowHeight());
    const int fitted = chrome + rows * rowHeight();
    if (fitted != height())
        resize(width(), fitted);
    m_fitting = false;
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
    const int widest = m_widestText;
    measureNames(start, end);
    updateGeometries();
    // Only rows that reach into the viewport need painting, unless the rows
    // grew wider.
    const QRect added = rowRect(start).united(rowRect(end));
    if (m_widestText != widest)
        viewport()->update();
    else if (added.intersects(viewport()->rect()))
        viewport()->update(added.intersected(viewport()->rect()));
}

void FileListView::reset()
{
    m_widestText = 0;
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

void FileListView::changeEvent(QEvent *event)
{
    QAbstractItemView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        measureRows();
        updateGeometries();
        viewport()->update();
    }
}

void FileListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
}

void FileListView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    for (const auto &[range, type] : {std::pair{deselected, QAccessible::SelectionRemove},
                                      std::pair{selected, QAccessible::SelectionAdd}}) {
        if (range.isEmpty())
            continue;
        QAccessibleEvent event(this, type);
        event.setChild(range.constFirst().top());
        QAccessible::updateAccessibility(&event);
    }
}
