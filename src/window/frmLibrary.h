#pragma once

#include <QList>
#include <QMainWindow>
#include <QRect>
#include <QString>

class LibraryModel;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class frmMain;

// "一覧": every found file of the last search in one table, with the cells of
// the overview, sorted by a click on a header or from the sort menu, filtered
// by path and clear state, the count and the totals of the rows shown below.
// Enter or a double click shows a row's file in the main window; the rows
// can be copied as tab-separated text and saved as CSV or as a text table.
class frmLibrary : public QMainWindow {
    Q_OBJECT

  public:
    // Placed and sized as kept in the settings (a rectangle that is empty or
    // on no screen leaves the window's own).
    frmLibrary(frmMain *owner, const QRect &geometry, const QList<int> &columnWidths);

    QLineEdit *txtFilter;
    QComboBox *cboCleared; // all, cleared, not cleared
    QTableView *lstLibrary;
    QLabel *lblStatus;
    QMenu *menuLibFile;
    QAction *menuLibSave;
    QAction *menuLibClose;
    QMenu *menuLibEdit;
    QAction *menuLibCopy;
    QAction *menuLibSelectAll;
    QMenu *menuLibSort;

    LibraryModel *model() const { return m_model; }

    // Empty while a search runs; filled with its files at its end.
    void SearchStarting();
    void SearchEnded(int found);

    // The place, size and column widths to keep.
    QRect KeptGeometry() const;
    QList<int> ColumnWidths() const;

  signals:
    // A row was chosen (Enter, double click): show this found file.
    void chartChosen(int found);

  public slots:
    void menuLibCopy_Click();
    void menuLibSave_Click();

  private:
    void CreateMenus();
    void ApplyFilter();
    void SortBy(int column);
    void ShowStatus();
    // Columns as wide as their header and the first rows' texts.
    void FitColumns();

    frmMain *m_owner;
    LibraryModel *m_model;
    bool m_columnsSet = false;
    QString m_saveName; // chosen at the last save
};
