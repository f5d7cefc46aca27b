#pragma once

#include <QAccessibleWidget>
#include <QHash>

class FileListView;

// The found-file list as assistive technology sees it: a list whose items
// are the found names in order, each with its place on screen and its
// selected state, as the toolkit shows its own list views. Items are made
// when asked for, so a list of many names costs nothing until a screen
// reader walks it.
class FileListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit FileListAccessible(FileListView *view);
    ~FileListAccessible() override;

    FileListView *view() const;

    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    // The list as a table of one column.
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

  private:
    void forgetItems();

    mutable QHash<int, QAccessible::Id> m_items; // row to registered item
};

// Makes the toolkit use FileListAccessible for every FileListView.
void InstallFileListAccessible();
