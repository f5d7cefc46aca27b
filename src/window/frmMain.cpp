#include "window/frmMain.h"

#include "window/FileListView.h"
#include "window/RankingTable.h"
#include "window/WindowFonts.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QIcon>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

// The icon lives in the viewer library; a static library must register its
// resources by hand.
static void InitResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

template <typename Control>
Control *Place(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(left, top, width, height);
    return control;
}

} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    InitResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("velmora ScoreFile Viewer"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/rkfview-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/rkfview-32.png"), QSize(32, 32));
    setWindowIcon(icon);
    setFont(GothicFont(kWindowFontPoints));
    setAttribute(Qt::WA_WindowPropagation); // the menus' pop-ups use it too

    CreateControls();
    CreateMenus();
    CreateLibraryMenus();
    CreateSortMenu();
    AcceptFileDrops();
    resize(kDesignClientWidth, kDesignClientHeight + menuBar()->sizeHint().height());
    // A window manager is told the design size as the minimum; where none
    // heeds it, Form_Resize grows the window back.
    setMinimumSize(size());

    // Quitting the application from outside the window (the session ending)
    // unloads the window: the program ends through the same exit.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &frmMain::Form_Unload);
}

void frmMain::CreateControls()
{
    // The client area has no minimum of its own: Form_Resize must see a
    // client area smaller than the design to grow the window back.
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    lstBMS = Place(new FileListView(client), "lstBMS", 472, 0, 153, 251);
    lstBMS->setHeightInWholeRows(251);
    cmdOpenDir = Place(new QPushButton(QStringLiteral("Open"), client), "cmdOpenDir", 8, 216, 177, 33);
    txtScore = Place(new QPlainTextEdit(client), "txtScore", 8, 182, 457, 30);
    cmdClear = Place(new QPushButton(QStringLiteral("Clear"), client), "cmdClear", 288, 216, 81, 33);
    cmdCopy = Place(new QPushButton(QStringLiteral("Copy"), client), "cmdCopy", 192, 216, 89, 33);
    lstScore = Place(new QTreeWidget(client), "lstScore", 8, 0, 457, 179);
    // Names for assistive technology where no caption says what a control holds.
    lstBMS->setAccessibleName(QStringLiteral("Score files"));
    txtScore->setAccessibleName(QStringLiteral("Summary"));
    lstScore->setAccessibleName(QStringLiteral("Ranking"));

    // A multi-line text box: two summary lines in a small font, Tab moving on.
    // Lines are not wrapped, so a long path never pushes the second line out
    // of the box; it runs past the right edge instead.
    txtScore->setFont(GothicFont(kSummaryFontPoints));
    txtScore->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtScore->document()->setDocumentMargin(1);
    txtScore->setTabChangesFocus(true);
    txtScore->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtScore->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // A report-style list: plain rows, no tree, nothing edited in place, the
    // columns wider than the table scrolled sideways.
    lstScore->setRootIsDecorated(false);
    lstScore->setItemsExpandable(false);
    lstScore->setUniformRowHeights(true);
    lstScore->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstScore->setSelectionMode(QAbstractItemView::SingleSelection);
    lstScore->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstScore->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    lstScore->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstScore->setAllColumnsShowFocus(true);
    lstScore->setSortingEnabled(false); // header clicks sort by their own rule
    QHeaderView *header = lstScore->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    lstScore->setColumnCount(0);

    QWidget::setTabOrder(lstBMS, cmdOpenDir);
    QWidget::setTabOrder(cmdOpenDir, txtScore);
    QWidget::setTabOrder(txtScore, cmdClear);
    QWidget::setTabOrder(cmdClear, cmdCopy);
    QWidget::setTabOrder(cmdCopy, lstScore);

    connect(header, &QHeaderView::sectionClicked, this,
            [this](int section) { lstScore_ColumnClick(section + 1); });
    connect(lstBMS->selectionModel(), &QItemSelectionModel::selectionChanged, this, &frmMain::lstBMS_Click);
    // A click on the row already selected shows its file again.
    connect(lstBMS, &QAbstractItemView::clicked, this, &frmMain::lstBMS_Click);
    connect(cmdOpenDir, &QPushButton::clicked, this, &frmMain::BrowseFolder);
    connect(cmdCopy, &QPushButton::clicked, this, &frmMain::cmdCopy_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
}

void frmMain::AddRankColumns()
{
    AddRankColumnsTo(lstScore);
    lstScore->clear();
}
