#pragma once

#include "score/ScoreRecord.h"
#include "support/Settings.h"
#include "window/FileDialogs.h"

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <cstdint>

class FileListView;
class ShownFileRefresh;
class frmLibrary;
class QAction;
class QMenu;
class QMimeData;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// The viewer's one window: the ranking table, the summary box, the found-file
// list, the three buttons and the menus. Controls are reached by their names.
class frmMain : public QMainWindow {
    Q_OBJECT

  public:
    // The client area of the design, which the window never goes below.
    static constexpr int kDesignClientWidth = 634;
    static constexpr int kDesignClientHeight = 256;

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    FileListView *lstBMS;
    QPushButton *cmdOpenDir;
    QPlainTextEdit *txtScore;
    QPushButton *cmdClear;
    QPushButton *cmdCopy;
    QTreeWidget *lstScore;

    QMenu *menuFile;
    QAction *menuOpenFile;
    QAction *menuOpenFolder;
    QAction *menuFileSave;
    QAction *menuFileLine;
    QAction *menuEnd;
    QMenu *menuOption;
    QAction *menuOptTop;    // show top only
    QAction *menuOptZOrder; // always on top
    QMenu *menuSort;        // the ranking table's columns, to sort from the keyboard

    QAction *menuOptRefresh; // the shown ranking kept live
    QMenu *menuView;
    QAction *menuViewList; // "一覧": every found file in a window of its own

    frmLibrary *Library = nullptr; // made when first opened
    ShownFileRefresh *Refresh;     // reads the shown file again when it changes
    QRect LibraryGeometry;         // as loaded, until Library keeps its own
    QList<int> LibraryColumns;

    SaveDialogState cdlgSave;
    FileDialogs Dialogs;         // the open, folder and save dialogs
    QString LastReadDir;         // folder of the score file shown last
    std::int16_t SortColumn = 0; // 1-based column of the last header click; 0 before any

    // Adds the fifteen ranking columns and removes every row.
    void AddRankColumns();

    // Ticks, window placement and last-read folder from loaded settings, and
    // the settings as they stand now, for saving on exit.
    void ApplyConfig(const Settings &settings);
    Settings CurrentSettings() const;
    // Saves this window's settings whenever the program ends.
    void RegisterSettingsSource();

    // Shows a record: the ranking rows, the summary, the save dialog's folder
    // and name, and the last-read folder.
    void DisplayRKF(const ScoreRecord &record);

    // Loads the score file named by the program's arguments (its own path not
    // included) into the first loaded-file slot and shows it.
    void GetCmdLine(const QList<QByteArray> &arguments);

    // The summary box's text with CR LF line ends, as it was given.
    QString SummaryText() const;

    // Keeps the window at its minimum size and places the controls.
    void Form_Resize();

    // Reads a score file into the single-file slot and shows it.
    void LoadSingleFile(const QByteArray &path);
    // Searches a folder into the found-file list, the Open button and the
    // list disabled meanwhile. Sets no completion caption. Both do nothing
    // while a search runs.
    void SearchFolder(const QByteArray &folder);

    // Shows found file i as picking it in the found-file list does.
    void ShowFoundFile(int i);

  public slots:
    void menuViewList_Click();
    void lstScore_ColumnClick(int column); // 1-based
    void lstBMS_Click();
    void cmdCopy_Click();
    void cmdClear_Click();
    void BrowseFolder();
    void menuOpenFile_Click();
    void menuFileSave_Click();
    void menuOptZOrder_Click(bool ticked);
    void menuEnd_Click();
    void Form_Unload();

  protected:
    // Drops on the window and on the three controls that take them.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override; // the close request

  private:
    // The start of every load: refused (false) while a search runs; otherwise
    // the start-up prompt is emptied if nothing was loaded yet, and the caption
    // says a load runs.
    bool StartLoading();
    void CreateControls();
    void CreateMenus();
    void CreateLibraryMenus();
    // The library window empty while a search runs, filled at its end.
    void LibrarySearchStarting();
    void LibrarySearchEnded();
    void ShownFileRefreshed(qsizetype index);
    // The sort menu, opened on the ranking table by the Menu key, Shift+F10
    // or a right click: choosing a column sorts as a click on its header.
    void CreateSortMenu();
    void ShowSortMenu(QWidget *control, const QPoint &position);
    void SetAlwaysOnTop(bool on);
    void AcceptFileDrops();
    // Takes or refuses a drag; a drop taken goes to LoadDropped.
    void HandleDrag(QDropEvent *event);
    // Loads the first dropped score file or searches the first dropped folder.
    void LoadDropped(const QMimeData *data);

    // The table's own sort state: key (0-based column) and direction.
    int m_sortKey = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    // Always on top: whether the window system can keep the window above the
    // others, and the stored option, saved unchanged where it cannot.
    bool m_alwaysOnTopWorks = true;
    bool m_storedAlwaysOnTop = false;
};
