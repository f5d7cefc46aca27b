// Header clicks that sort the ranking table, Copy and Clear.

#include "gui/ViewerTestSupport.h"
#include "score/LoadScoreFile.h"
#include "support/AppGlobals.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// Two places whose Score texts sort differently from their values.
const QList<Place> kTwo{{"Mid", 100, 50}, {"ABC", 98, 40}};
// Three places: Score and Name orders differ from the place order.
const QList<Place> kThree{{"Mid", 100, 50}, {"ABC", 98, 40}, {"zed", 1000, 30}};

const QString kClosing = QString(81, '-');
const QString kMidLines =
    "     Mid :    100 :     50 :  0.0x : 0.0x :    0 : SS : ×\r\n"
    "Perfect    0 Great    0 Good    0 Bad    0 Poor    0 : -- -- -- -- -- -- -- -- --\r\n";
const QString kAbcLines =
    "     ABC :     98 :     40 :  0.0x : 0.0x :    0 : SS : ×\r\n"
    "Perfect    0 Great    0 Good    0 Bad    0 Poor    0 : -- -- -- -- -- -- -- -- --\r\n";

ScoreRecord Load(const QTemporaryDir &dir, const QString &name, const QList<Place> &places)
{
    ScoreRecord record;
    if (LoadScoreFile(QFile::encodeName(WriteScoreFile(dir, name, places)), record).failed())
        qFatal("cannot read %s", qPrintable(name));
    return record;
}

// Clicks the header of a column (1-based) with the mouse.
void ClickHeader(frmMain &window, int column)
{
    QHeaderView *header = window.lstScore->header();
    window.lstScore->scrollToItem(nullptr);
    header->setOffset(header->sectionPosition(column - 1));
    const QPoint at(header->sectionViewportPosition(column - 1) + header->sectionSize(column - 1) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestListInteraction : public QObject {
    Q_OBJECT

  private slots:
    void sortRule_data();
    void sortRule();
    void sortKeptForLaterRows_data();
    void sortKeptForLaterRows();
    void copy_data();
    void copy();
    void clearLeavesTheRest();
    void copyFailureKeepsClipboard();
};

void TestListInteraction::sortRule_data()
{
    QTest::addColumn<QList<int>>("clicks"); // 1-based columns
    QTest::addColumn<int>("section");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QStringList>("ranks");

    const QStringList scoreDescending{" 2nd", " 3rd", " 1st"}; // "98" "1000" "100"
    const QStringList scoreAscending{" 1st", " 3rd", " 2nd"};
    const QStringList nameDescending{" 3rd", " 1st", " 2nd"}; // "zed" "Mid" "ABC"
    QTest::newRow("no click keeps place order")
        << QList<int>{} << -1 << Qt::AscendingOrder << QStringList{" 1st", " 2nd", " 3rd"};
    QTest::newRow("score once: descending") << QList<int>{3} << 2 << Qt::DescendingOrder << scoreDescending;
    QTest::newRow("score twice: ascending") << QList<int>{3, 3} << 2 << Qt::AscendingOrder << scoreAscending;
    QTest::newRow("score three times: descending")
        << QList<int>{3, 3, 3} << 2 << Qt::DescendingOrder << scoreDescending;
    QTest::newRow("name after score: descending")
        << QList<int>{3, 2} << 1 << Qt::DescendingOrder << nameDescending;
    QTest::newRow("name after ascending score: descending")
        << QList<int>{3, 3, 2} << 1 << Qt::DescendingOrder << nameDescending;
    QTest::newRow("rank once: last place first")
        << QList<int>{1} << 0 << Qt::DescendingOrder << QStringList{" 3rd", " 2nd", " 1st"};
    QTest::newRow("rank twice: place order")
        << QList<int>{1, 1} << 0 << Qt::AscendingOrder << QStringList{" 1st", " 2nd", " 3rd"};
    QTest::newRow("option column far right")
        << QList<int>{15, 15} << 14 << Qt::AscendingOrder << QStringList{" 1st", " 2nd", " 3rd"};
}

void TestListInteraction::sortRule()
{
    QFETCH(QList<int>, clicks);
    QFETCH(int, section);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QStringList, ranks);

    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->DisplayRKF(Load(dir, "chart.rkf", kThree));
    for (int column : clicks)
        ClickHeader(*window, column);

    QCOMPARE(ColumnTexts(window->lstScore, 0), ranks);
    QCOMPARE(int(window->SortColumn), clicks.isEmpty() ? 0 : clicks.last());
    const QHeaderView *header = window->lstScore->header();
    QCOMPARE(header->isSortIndicatorShown(), !clicks.isEmpty());
    if (!clicks.isEmpty()) {
        QCOMPARE(header->sortIndicatorSection(), section);
        QCOMPARE(header->sortIndicatorOrder(), order);
    }
}

void TestListInteraction::sortKeptForLaterRows_data()
{
    QTest::addColumn<bool>("clickBeforeFirstDisplay");
    QTest::addColumn<bool>("clearBetween");
    QTest::newRow("another file shown") << false << false;
    QTest::newRow("click on the empty table") << true << false;
    QTest::newRow("after clear") << false << true;
}

void TestListInteraction::sortKeptForLaterRows()
{
    QFETCH(bool, clickBeforeFirstDisplay);
    QFETCH(bool, clearBetween);

    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    if (clickBeforeFirstDisplay) {
        ClickHeader(*window, 3);
    } else {
        window->DisplayRKF(Load(dir, "first.rkf", kTwo));
        ClickHeader(*window, 3);
    }
    if (clearBetween)
        window->cmdClear->click();
    window->DisplayRKF(Load(dir, "second.rkf", kThree));
    QCOMPARE(ColumnTexts(window->lstScore, 2), (QStringList{"98", "1000", "100"}));
}

void TestListInteraction::copy_data()
{
    QTest::addColumn<QString>("steps");    // d: display, s: click Score, c: Clear, t: type into the summary
    QTest::addColumn<QString>("expected"); // "@" stands for the score file's path

    const QString summary = "@\r\n[○ CLEARED] PlayCount:3回\r\n\r\n";
    QTest::newRow("at start-up")
        << ""
        << "rkfファイル・フォルダをドロップするか検索するフォルダを指定してください\r\n\r\n" + kClosing;
    QTest::newRow("after display") << "d"
                                   << summary + " 1st : " + kMidLines + " 2nd : " + kAbcLines + kClosing;
    QTest::newRow("after sort by score")
        << "ds" << summary + " 1st : " + kAbcLines + " 2nd : " + kMidLines + kClosing;
    QTest::newRow("after clear") << "dc"
                                 << "\r\n\r\n" + kClosing;
    QTest::newRow("after sort and clear") << "dsc"
                                          << "\r\n\r\n" + kClosing;
    QTest::newRow("summary edited by the user") << "dct"
                                                << "note\r\nline 2\r\n\r\n" + kClosing;
}

void TestListInteraction::copy()
{
    QFETCH(QString, steps);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    const ScoreRecord record = Load(dir, "chart.rkf", kTwo);
    for (const QChar step : steps) {
        if (step == 'd')
            window->DisplayRKF(record);
        else if (step == 's')
            ClickHeader(*window, 3);
        else if (step == 'c')
            window->cmdClear->click();
        else if (step == 't') {
            QTest::keyClicks(window->txtScore, "note");
            QTest::keyClick(window->txtScore, Qt::Key_Return);
            QTest::keyClicks(window->txtScore, "line 2");
        }
    }
    QGuiApplication::clipboard()->setText("before");
    window->cmdCopy->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), expected.replace("@", record.FilePath));
}

void TestListInteraction::clearLeavesTheRest()
{
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->lstBMS->addItem("chart.rkf");
    window->lstBMS->setCurrentRow(0);
    window->DisplayRKF(Load(dir, "chart.rkf", kTwo));
    ClickHeader(*window, 2);
    window->cmdClear->click();

    QCOMPARE(window->txtScore->toPlainText(), QString());
    QCOMPARE(window->lstScore->topLevelItemCount(), 0);
    QCOMPARE(window->lstScore->columnCount(), 15);
    QCOMPARE(window->lstScore->headerItem()->text(14), QStringLiteral("Option"));
    QCOMPARE(window->lstBMS->count(), 1);
    QCOMPARE(window->lstBMS->currentRow(), 0);
    QCOMPARE(window->windowTitle(), AppTitle);
    QCOMPARE(int(window->SortColumn), 2);
    QCOMPARE(window->lstScore->header()->sortIndicatorSection(), 1);
    QCOMPARE(window->cdlgSave.FileName, QStringLiteral("chart"));
    QCOMPARE(window->cdlgSave.InitDir, dir.path() + "/");
    QCOMPARE(window->LastReadDir, dir.path() + "/");
}

void TestListInteraction::copyFailureKeepsClipboard()
{
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->DisplayRKF(Load(dir, "chart.rkf", kTwo));
    window->lstScore->topLevelItem(0)->setText(2, "abc"); // a Score cell that is no number
    QGuiApplication::clipboard()->setText("before");

    QString title;
    QString shown;
    QTimer::singleShot(0, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            shown = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    window->cmdCopy->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    QCOMPARE(title, AppTitle);
    QCOMPARE(shown, QStringLiteral("コピーできませんでした。\n型が一致しません。"));
}

QTEST_MAIN(TestListInteraction)
#include "test_list_interaction.moc"
