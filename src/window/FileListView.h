#pragma once

#include <QAbstractItemView>
#include <QStringList>

class FileNameModel;

// The found-file list box: one line of text per row, all rows alike, one row
// selected at a time, scrolled by rows. Its own layout is arithmetic (row k
// at k line heights), so adding names to a long list costs only the rows
// added, where a general list view lays out every row again.
class FileListView : public QAbstractItemView {
  public:
    explicit FileListView(QWidget *parent = nullptr);

    // The list-box operations the window uses.
    int count() const;
    QString itemText(int row) const;
    void addItems(const QStringList &names);
    void clear();
    int currentRow() const;
    void setCurrentRow(int row);
    // The selected row, -1 when none.
    int selectedRow() const;
    QRect rowRect(int row) const;

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;

  protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void reset() override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    // The size of every row: the first row's size hint, the row at least as
    // wide as the viewport.
    QSize rowSize() const;
    int rowHeight() const { return rowSize().height(); }
    // Rows that fit wholly in the viewport (at least one).
    int pageRows() const;

    FileNameModel *m_model;
    mutable QSize m_rowSize; // cached; invalid until measured
};
