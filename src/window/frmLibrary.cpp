#include "window/frmLibrary.h"

#include "export/SaveFile.h"
#include "platform/FileNames.h"
#include "platform/gui/MessageBox.h"
#include "search/LibraryModel.h"
#include "support/AppGlobals.h"
#include "window/LampDelegate.h"
#include "window/WindowFonts.h"
#include "window/frmMain.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QAction *AddItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    return item;
}

// The smallest room beside the main window that the window is fitted into.
constexpr QSize kSmallestBeside(560, 360);

// Places a window not placed before beside its owner, where the screen has
// room for it: below, above, to the right or to the left, made smaller when
// none has room for all of it; where even that fails, the window system
// places it.
void PlaceBeside(QWidget *window, const QWidget *owner)
{
    const QRect room = owner->screen()->availableGeometry();
    const QRect main = owner->frameGeometry();
    const QRect inner = owner->geometry();
    const QMargins frame(inner.left() - main.left(), inner.top() - main.top(), main.right() - inner.right(),
                         main.bottom() - inner.bottom());
    constexpr int kGap = 8;
    const QRect sides[] = {
        QRect(QPoint(room.left(), main.bottom() + 1 + kGap), room.bottomRight()),
        QRect(room.topLeft(), QPoint(room.right(), main.top() - 1 - kGap)),
        QRect(QPoint(main.right() + 1 + kGap, room.top()), room.bottomRight()),
        QRect(room.topLeft(), QPoint(main.left() - 1 - kGap, room.bottom())),
    };
    const QSize wanted = window->size().grownBy(frame);
    const QRect *best = nullptr;
    for (const QRect &side : sides) {
        if (side.width() >= wanted.width() && side.height() >= wanted.height()) {
            best = &side;
            break;
        }
        if (!best || side.width() * side.height() > best->width() * best->height())
            best = &side;
    }
    const QSize size = wanted.boundedTo(best->size());
    if (size.width() < kSmallestBeside.width() || size.height() < kSmallestBeside.height())
        return;
    // Next to the main window along the side, within the screen.
    QRect placed(QPoint(std::clamp(main.left(), best->left(), best->right() + 1 - size.width()),
                        std::clamp(main.top(), best->top(), best->bottom() + 1 - size.height())),
                 size);
    if (best == &sides[0])
        placed.moveTop(best->top());
    else if (best == &sides[1])
        placed.moveBottom(best->bottom());
    else if (best == &sides[2])
        placed.moveLeft(best->left());
    else
        placed.moveRight(best->right());
    window->resize(size.shrunkBy(frame));
    window->move(placed.topLeft());
}

// The rows a new window measures its columns by.
constexpr int kFitRows = 50;
// No column is made wider than this by its texts.
constexpr int kFitMaxWidth = 480;

} // namespace

frmLibrary::frmLibrary(frmMain *owner, const QRect &geometry, const QList<int> &columnWidths)
    : QMainWindow(owner, Qt::Window), m_owner(owner), m_model(new LibraryModel(this))
{
    setObjectName(QStringLiteral("frmLibrary"));
    setWindowTitle(QStringLiteral("一覧"));
    setFont(GothicFont(kWindowFontPoints));

    auto *client = new QWidget(this);
    setCentralWidget(client);
    txtFilter = new QLineEdit(client);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setAccessibleName(QStringLiteral("絞り込み"));
    txtFilter->setPlaceholderText(QStringLiteral("パスの一部"));
    txtFilter->setClearButtonEnabled(true);
    cboCleared = new QComboBox(client);
    cboCleared->setObjectName(QStringLiteral("cboCleared"));
    cboCleared->setAccessibleName(QStringLiteral("クリア状態"));
    cboCleared->addItems(
        {QStringLiteral("すべて"), QStringLiteral("クリア済み (○)"), QStringLiteral("未クリア (×)")});
    auto *filterLabel = new QLabel(QStringLiteral("絞り込み(&N):"), client);
    filterLabel->setBuddy(txtFilter);
    auto *clearedLabel = new QLabel(QStringLiteral("クリア状態(&L):"), client);
    clearedLabel->setBuddy(cboCleared);

    lstLibrary = new QTableView(client);
    lstLibrary->setObjectName(QStringLiteral("lstLibrary"));
    lstLibrary->setAccessibleName(QStringLiteral("一覧"));
    lstLibrary->setModel(m_model);
    lstLibrary->setItemDelegate(new LampDelegate(lstLibrary));
    lstLibrary->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstLibrary->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstLibrary->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstLibrary->setTabKeyNavigation(false);
    lstLibrary->setWordWrap(false);
    lstLibrary->setTextElideMode(Qt::ElideMiddle); // a path's two ends say the most
    lstLibrary->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Rows all of one height, laid out by arithmetic however many there are.
    QHeaderView *rows = lstLibrary->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView *header = lstLibrary->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder); // the found order until a column is chosen
    header->setHighlightSections(false);
    lstLibrary->setSortingEnabled(true);

    lblStatus = new QLabel(client);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(txtFilter, 1);
    filterRow->addWidget(clearedLabel);
    filterRow->addWidget(cboCleared);
    auto *layout = new QVBoxLayout(client);
    layout->addLayout(filterRow);
    layout->addWidget(lstLibrary, 1);
    layout->addWidget(lblStatus);

    CreateMenus();
    connect(txtFilter, &QLineEdit::textChanged, this, &frmLibrary::ApplyFilter);
    connect(cboCleared, &QComboBox::currentIndexChanged, this, &frmLibrary::ApplyFilter);
    connect(lstLibrary, &QAbstractItemView::activated, this,
            [this](const QModelIndex &index) { emit chartChosen(int(m_model->foundIndex(index.row()))); });
    connect(m_model, &QAbstractItemModel::modelReset, this, &frmLibrary::ShowStatus);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &frmLibrary::ShowStatus);
    ShowStatus();

    resize(900, 520);
    const QScreen *screen = geometry.isEmpty() ? nullptr : QGuiApplication::screenAt(geometry.center());
    if (screen)
        setGeometry(geometry);
    else
        PlaceBeside(this, owner);
    if (columnWidths.size() == kOverviewColumnCount) {
        for (int c = 0; c < kOverviewColumnCount; ++c)
            header->resizeSection(c, columnWidths[c]);
        m_columnsSet = true;
    }
}

void frmLibrary::CreateMenus()
{
    menuLibFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    menuLibSave = AddItem(menuLibFile, "menuLibSave", QStringLiteral("名前を付けて保存(&S)"),
                          QKeySequence(Qt::CTRL | Qt::Key_S));
    menuLibFile->addSeparator();
    menuLibClose = AddItem(menuLibFile, "menuLibClose", QStringLiteral("閉じる(&C)"),
                           QKeySequence(Qt::CTRL | Qt::Key_W));
    menuLibEdit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    menuLibCopy = AddItem(menuLibEdit, "menuLibCopy", QStringLiteral("コピー(&C)"), QKeySequence::Copy);
    menuLibSelectAll =
        AddItem(menuLibEdit, "menuLibSelectAll", QStringLiteral("すべて選択(&A)"), QKeySequence::SelectAll);
    // The sort from the keyboard: a column chosen here sorts as a click on its header.
    menuLibSort = menuBar()->addMenu(QStringLiteral("並べ替え(&S)"));
    menuLibSort->setObjectName(QStringLiteral("menuLibSort"));
    for (int c = 0; c < kOverviewColumnCount; ++c) {
        QAction *column =
            menuLibSort->addAction(QString::fromLatin1(OverviewColumns()[std::size_t(c)].header));
        connect(column, &QAction::triggered, this, [this, c] { SortBy(c); });
    }
    // The same on the table's own menu (right click, Menu key).
    lstLibrary->setContextMenuPolicy(Qt::ActionsContextMenu);
    lstLibrary->addAction(menuLibCopy);
    lstLibrary->addAction(menuLibSort->menuAction());

    connect(menuLibSave, &QAction::triggered, this, &frmLibrary::menuLibSave_Click);
    connect(menuLibClose, &QAction::triggered, this, &QWidget::close);
    connect(menuLibCopy, &QAction::triggered, this, &frmLibrary::menuLibCopy_Click);
    connect(menuLibSelectAll, &QAction::triggered, lstLibrary, &QAbstractItemView::selectAll);
}

void frmLibrary::SearchStarting()
{
    m_model->clear();
}

void frmLibrary::SearchEnded(int found)
{
    m_model->fill(found);
    if (!m_columnsSet && found > 0)
        FitColumns();
}

void frmLibrary::FitColumns()
{
    QHeaderView *header = lstLibrary->horizontalHeader();
    const QFontMetrics metrics = lstLibrary->fontMetrics();
    const int margin = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstLibrary) + 12;
    const int rows = std::min(kFitRows, m_model->rowCount());
    for (int c = 0; c < kOverviewColumnCount; ++c) {
        int width = header->sectionSizeHint(c);
        for (int row = 0; row < rows; ++row) {
            const QString text = m_model->index(row, c).data().toString();
            width = std::max(width, std::min(kFitMaxWidth, metrics.horizontalAdvance(text) + margin));
        }
        header->resizeSection(c, width);
    }
    m_columnsSet = true;
}

void frmLibrary::ApplyFilter()
{
    m_model->setFilter(LibraryFilter(txtFilter->text(), ClearedFilter(cboCleared->currentIndex())));
}

void frmLibrary::SortBy(int column)
{
    const QHeaderView *header = lstLibrary->horizontalHeader();
    Qt::SortOrder order =
        Qt::SortOrder(m_model->headerData(column, Qt::Horizontal, Qt::InitialSortOrderRole).toInt());
    if (header->sortIndicatorSection() == column)
        order = header->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    lstLibrary->sortByColumn(column, order);
}

void frmLibrary::ShowStatus()
{
    QString totals = m_model->totalsText();
    totals.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lblStatus->setText(m_model->countText() + QLatin1Char('\n') + totals.trimmed());
}

void frmLibrary::menuLibCopy_Click()
{
    QList<int> rows;
    for (const QModelIndex &index : lstLibrary->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QGuiApplication::clipboard()->setText(m_model->copyText(rows));
}

void frmLibrary::menuLibSave_Click()
{
    SaveDialogState state = m_owner->cdlgSave;
    state.FileName = m_saveName.isEmpty() ? QStringLiteral("一覧") : m_saveName;
    const QString name = m_owner->Dialogs.chooseSaveFile(this, state);
    if (name.isEmpty())
        return;
    m_saveName = name;
    QByteArray bytes;
    Failure failure = m_model->saveBytes(FormatForName(name), bytes);
    if (!failure.failed())
        failure = WriteSaveFile(name, bytes);
    if (failure.failed()) {
        platform::ShowStopMessage(AppTitle, QStringLiteral("保存できませんでした。\r") +
                                                platform::DisplayPathText(QDir::toNativeSeparators(name)) +
                                                QLatin1Char('\r') + failure.Description);
    }
}

QRect frmLibrary::KeptGeometry() const
{
    return isMaximized() || isFullScreen() ? normalGeometry() : geometry();
}

QList<int> frmLibrary::ColumnWidths() const
{
    QList<int> widths;
    for (int c = 0; c < kOverviewColumnCount; ++c)
        widths << lstLibrary->horizontalHeader()->sectionSize(c);
    return widths;
}
