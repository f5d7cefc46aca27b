// The controls following the window's size, and its minimum size.

#include "gui/ViewerTestSupport.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

struct Placement {
    QRect lstScore, txtScore, lstBMS, cmdOpenDir, cmdCopy, cmdClear;
};

Placement PlacementOf(const frmMain &window)
{
    return {window.lstScore->geometry(),   window.txtScore->geometry(), window.lstBMS->geometry(),
            window.cmdOpenDir->geometry(), window.cmdCopy->geometry(),  window.cmdClear->geometry()};
}

// Resizes the window so that its client area (below the menu bar) is w × h.
void ResizeClient(frmMain &window, int w, int h)
{
    const QSize frame = window.size() - window.centralWidget()->size();
    window.resize(QSize(w, h) + frame);
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

  private slots:
    void placement_data();
    void placement();
    void snapsBackBelowDesignSize_data();
    void snapsBackBelowDesignSize();
    void nothingDoneWhileMinimized();
};

void TestLayout::placement_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("lstScore");
    QTest::addColumn<QRect>("txtScore");
    QTest::addColumn<QRect>("lstBMS");
    QTest::addColumn<int>("buttonTop");

    QTest::newRow("design size") << QSize(634, 256) << QSize(634, 256) << QRect(8, 0, 457, 179)
                                 << QRect(8, 182, 457, 30) << QRect(472, 0, 153, 251) << 216;
    QTest::newRow("100 wider") << QSize(734, 256) << QSize(734, 256) << QRect(8, 0, 557, 179)
                               << QRect(8, 182, 557, 30) << QRect(572, 0, 153, 251) << 216;
    QTest::newRow("100 taller") << QSize(634, 356) << QSize(634, 356) << QRect(8, 0, 457, 279)
                                << QRect(8, 282, 457, 30) << QRect(472, 0, 153, 351) << 316;
    QTest::newRow("large") << QSize(1000, 700) << QSize(1000, 700) << QRect(8, 0, 823, 623)
                           << QRect(8, 626, 823, 30) << QRect(838, 0, 153, 695) << 660;
    QTest::newRow("too narrow") << QSize(300, 400) << QSize(634, 400) << QRect(8, 0, 457, 323)
                                << QRect(8, 326, 457, 30) << QRect(472, 0, 153, 395) << 360;
    QTest::newRow("too low") << QSize(800, 100) << QSize(800, 256) << QRect(8, 0, 623, 179)
                             << QRect(8, 182, 623, 30) << QRect(638, 0, 153, 251) << 216;
    QTest::newRow("too small both ways") << QSize(10, 10) << QSize(634, 256) << QRect(8, 0, 457, 179)
                                         << QRect(8, 182, 457, 30) << QRect(472, 0, 153, 251) << 216;
}

void TestLayout::placement()
{
    QFETCH(QSize, requested);
    QFETCH(QSize, client);
    QFETCH(QRect, lstScore);
    QFETCH(QRect, txtScore);
    QFETCH(QRect, lstBMS);
    QFETCH(int, buttonTop);

    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    ResizeClient(*window, 900, 600); // start away from the design size
    ResizeClient(*window, requested.width(), requested.height());
    QCOMPARE(window->centralWidget()->size(), client);
    const Placement p = PlacementOf(*window);
    QCOMPARE(p.lstScore, lstScore);
    QCOMPARE(p.txtScore, txtScore);
    QCOMPARE(p.lstBMS, lstBMS);
    // The buttons keep their design sideways position and size.
    QCOMPARE(p.cmdOpenDir, QRect(8, buttonTop, 177, 33));
    QCOMPARE(p.cmdCopy, QRect(192, buttonTop, 89, 33));
    QCOMPARE(p.cmdClear, QRect(288, buttonTop, 81, 33));
}

void TestLayout::snapsBackBelowDesignSize_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("client");
    QTest::newRow("too narrow") << QSize(500, 300) << QSize(634, 300);
    QTest::newRow("too low") << QSize(700, 200) << QSize(700, 256);
    QTest::newRow("both") << QSize(100, 50) << QSize(634, 256);
}

void TestLayout::snapsBackBelowDesignSize()
{
    QFETCH(QSize, requested);
    QFETCH(QSize, client);

    // Even when the window system lets the frame be dragged below the
    // minimum, the resize handler grows the window back.
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->centralWidget()->setMinimumSize(0, 0);
    window->setMinimumSize(0, 0);
    ResizeClient(*window, requested.width(), requested.height());
    QCOMPARE(window->centralWidget()->size(), client);
    QCOMPARE(window->lstBMS->geometry(), QRect(client.width() - 162, 0, 153, client.height() - 5));
    QCOMPARE(window->cmdCopy->y(), client.height() - 40);
}

void TestLayout::nothingDoneWhileMinimized()
{
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->setWindowState(Qt::WindowMinimized);
    window->lstScore->resize(10, 10);
    window->Form_Resize();
    QCOMPARE(window->lstScore->size(), QSize(10, 10));
    window->setWindowState(Qt::WindowNoState);
    QCOMPARE(window->lstScore->size(), QSize(457, 179));
}

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
