#include "window/FileListAccessible.h"

#include "window/FileListView.h"

#include <QItemSelectionModel>
#include <QPointer>
#include <QWindow>

namespace {

// One name of the list: a list item whose press picks it, as a click does.
class FileListItemAccessible : public QAccessibleInterface,
                               public QAccessibleTableCellInterface,
                               public QAccessibleActionInterface {
  public:
    FileListItemAccessible(FileListView *view, int row) : m_view(view), m_row(row) {}

    int row() const { return m_row; }
    const FileListView *view() const { return m_view; }

    bool isValid() const override { return m_view && m_row < m_view->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_view); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_view->itemText(m_row) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    // The row's place on the screen, also when it is scrolled out of sight.
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect row = m_view->rowRect(m_row);
        return QRect(m_view->viewport()->mapToGlobal(row.topLeft()), row.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = m_view->hasFocus() && m_view->currentRow() == m_row;
        state.disabled = !m_view->isEnabled();
        const QRect shown(m_view->viewport()->mapToGlobal(QPoint(0, 0)), m_view->viewport()->size());
        if (!shown.intersects(rect()))
            state.offscreen = state.invisible = true;
        return state;
    }

    // As a cell of a one-column table.
    bool isSelected() const override { return isValid() && m_view->selectedRow() == m_row; }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    QStringList actionNames() const override
    {
        return isValid() && m_view->isEnabled() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid() && m_view->isEnabled())
            m_view->setCurrentRow(m_row);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

  private:
    QPointer<FileListView> m_view;
    int m_row;
};

QAccessibleInterface *FileListFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(FileListView::staticMetaObject.className()) && object->isWidgetType())
        return new FileListAccessible(static_cast<FileListView *>(object));
    return nullptr;
}

} // namespace

FileListAccessible::FileListAccessible(FileListView *view) : QAccessibleWidget(view, QAccessible::List) {}

FileListAccessible::~FileListAccessible()
{
    forgetItems();
}

FileListView *FileListAccessible::view() const
{
    return static_cast<FileListView *>(widget());
}

void *FileListAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int FileListAccessible::childCount() const
{
    return view()->count();
}

QAccessibleInterface *FileListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto known = m_items.constFind(index); known != m_items.cend()) {
        if (QAccessibleInterface *item = QAccessible::accessibleInterface(*known))
            return item;
    }
    QAccessibleInterface *item = new FileListItemAccessible(view(), index);
    m_items.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int FileListAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *item = dynamic_cast<const FileListItemAccessible *>(child);
    return item && item->view() == view() && item->isValid() ? item->row() : -1;
}

QAccessibleInterface *FileListAccessible::childAt(int x, int y) const
{
    const QPoint point = view()->viewport()->mapFromGlobal(QPoint(x, y));
    if (!view()->viewport()->rect().contains(point))
        return nullptr;
    const QModelIndex index = view()->indexAt(point);
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessibleInterface *FileListAccessible::focusChild() const
{
    return view()->hasFocus() ? child(view()->currentRow()) : nullptr;
}

QAccessibleInterface *FileListAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

int FileListAccessible::selectedCellCount() const
{
    return selectedRowCount();
}

QList<QAccessibleInterface *> FileListAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    for (int row : selectedRows())
        cells << child(row);
    return cells;
}

int FileListAccessible::selectedRowCount() const
{
    return view()->selectedRow() < 0 ? 0 : 1;
}

QList<int> FileListAccessible::selectedRows() const
{
    const int row = view()->selectedRow();
    return row < 0 ? QList<int>() : QList<int>{row};
}

bool FileListAccessible::isRowSelected(int row) const
{
    return row >= 0 && view()->selectedRow() == row;
}

bool FileListAccessible::selectRow(int row)
{
    if (row < 0 || row >= childCount() || !view()->isEnabled())
        return false;
    view()->setCurrentRow(row);
    return true;
}

bool FileListAccessible::unselectRow(int row)
{
    if (!isRowSelected(row))
        return false;
    view()->selectionModel()->clearSelection();
    return true;
}

void FileListAccessible::modelChange(QAccessibleTableModelChangeEvent *event)
{
    // Names are only ever added at the end, which leaves every item's row as
    // it was; anything else starts the items afresh.
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::RowsInserted)
        forgetItems();
}

void FileListAccessible::forgetItems()
{
    for (const QAccessible::Id id : std::as_const(m_items))
        QAccessible::deleteAccessibleInterface(id);
    m_items.clear();
}

void InstallFileListAccessible()
{
    static const bool installed = (QAccessible::installFactory(FileListFactory), true);
    Q_UNUSED(installed);
}
