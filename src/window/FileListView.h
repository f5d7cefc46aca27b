#pragma once

#include <QAbstractItemView>
#include <QHash>
#include <QStringList>
#include <array>

class FileNameModel;

// The found-file list box: one line of text per row, all rows alike, one row
// selected at a time, scrolled by rows, its height a whole number of rows.
// Its own layout is arithmetic (row k at k line heights, every row as wide as
// the widest name so far), so adding names to a long list costs only the
// rows added, where a general list view lays out every row again. Assistive
// technology sees it as a list of its names (FileListAccessible).
class FileListView : public QAbstractItemView {
    Q_OBJECT

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

    // Makes the list as high as fits in height with whole rows showing, as a
    // list box does; it keeps to that as its scroll bars come and go.
    void setHeightInWholeRows(int height);

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;

  protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *event) override;
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
    void changeEvent(QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

  private:
    int rowHeight() const { return m_rowHeight; }
    int rowWidth() const;
    // Rows that fit wholly in the viewport (at least one).
    int pageRows() const;
    // Measures the row height and the text margins for the current font.
    void measureRows();
    // Widens the rows for the names of rows first to last.
    void measureNames(int first, int last);
    // The width of a name as the sum of its characters' advances, each
    // measured once: shaping a whole name costs as much as reading its file.
    int nameWidth(const QFontMetrics &metrics, const QString &name);
    void fitWholeRows();

    FileNameModel *m_model;
    int m_rowHeight = 1;
    int m_textMargin = 0;  // a row's width beyond its text
    int m_widestText = 0;  // the widest name so far
    int m_fullHeight = -1; // the height given to setHeightInWholeRows
    bool m_fitting = false;
    // Advances of the characters met so far, -1 until measured.
    std::array<int, 128> m_asciiAdvances;
    struct Advance {
        int pixels = -1;
    };
    QHash<char32_t, Advance> m_advances;
};
