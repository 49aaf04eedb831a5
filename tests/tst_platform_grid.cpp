// The grid: its heading from a format text, rows from tab-separated texts,
// widths and places in twips, and the mouse handlers' order and cells.
#include "Platform/FlexGrid.h"
#include "TestSupport.h"

#include <QHeaderView>
#include <QTest>

using namespace TestSupport;

namespace {
// A shown grid with a heading and three rows.
struct Grid {
    FlexGrid grid;
    QStringList events;
    Grid() {
        grid.resize(300, 200);
        grid.setFormatString("<Date|>Amount|^Rec");
        grid.clearRows();
        grid.AddItem("2026-03-01\t10.00\tx");
        grid.AddItem("2026-03-02\t20.00");
        grid.AddItem("2026-03-03\t30.00\ty\textra");
        auto note = [this](const char* what) {
            return [this, what](int b, int, int, int) {
                events << QString("%1 %2 %3,%4").arg(what).arg(b).arg(grid.MouseRow()).arg(grid.MouseCol());
            };
        };
        grid.onMouseDown = note("down");
        grid.onMouseUp = note("up");
        grid.onClick = [this] { events << "click"; };
        grid.onDblClick = [this] { events << "dblclick"; };
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }
    QPoint centre(int row, int col) { return grid.visualItemRect(grid.item(row, col)).center(); }
};
} // namespace

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void headingAndRows() {
        Grid g;
        QCOMPARE(g.grid.Cols(), 3);
        QCOMPARE(g.grid.Rows(), 4);
        QCOMPARE(g.grid.TextMatrix(0, 1), QString("Amount"));
        QCOMPARE(g.grid.horizontalHeaderItem(2)->text(), QString("Rec"));
        QVERIFY(g.grid.isRowHidden(0));
        QCOMPARE(g.grid.TextMatrix(2, 2), QString());
        QCOMPARE(g.grid.TextMatrix(3, 2), QString("y"));
        QCOMPARE(g.grid.item(1, 1)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(g.grid.item(1, 2)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignVCenter));
        QCOMPARE(g.grid.TextMatrix(9, 0), QString());
        g.grid.setTextMatrix(9, 0, "nowhere");
        QCOMPARE(g.grid.Rows(), 4);
    }

    void addAndRemove_data() {
        QTest::addColumn<int>("insertAt");
        QTest::addColumn<int>("remove");
        QTest::addColumn<QStringList>("dates");
        QTest::newRow("appended, heading not removed") << -1 << 0 << QStringList({"2026-03-01", "2026-03-02", "2026-03-03", "new"});
        QTest::newRow("inserted before row 2") << 2 << 0
                                               << QStringList({"2026-03-01", "new", "2026-03-02", "2026-03-03"});
        QTest::newRow("never above the heading") << 0 << 0
                                                 << QStringList({"2026-03-01", "2026-03-02", "2026-03-03", "new"});
        QTest::newRow("removed") << -1 << 1 << QStringList({"2026-03-02", "2026-03-03", "new"});
    }
    void addAndRemove() {
        QFETCH(int, insertAt);
        QFETCH(int, remove);
        Grid g;
        g.grid.AddItem("new\t1", insertAt);
        g.grid.RemoveItem(remove);
        QStringList dates;
        for (int r = 1; r < g.grid.Rows(); ++r) dates << g.grid.TextMatrix(r, 0);
        QTEST(dates, "dates");
        QCOMPARE(g.grid.TextMatrix(0, 0), QString("Date"));
        g.grid.clearRows();
        QCOMPARE(g.grid.Rows(), 1);
        QCOMPARE(g.grid.TextMatrix(0, 0), QString("Date"));
    }

    void twips() {
        Grid g;
        g.grid.setColWidth(1, 1500);
        QCOMPARE(g.grid.columnWidth(1), 100);
        QCOMPARE(g.grid.ColWidth(1), 1500);
        g.grid.setRow(2);
        g.grid.setCol(1);
        QCOMPARE(g.grid.Text(), QString("20.00"));
        const QRect r = g.grid.visualItemRect(g.grid.item(2, 1)).translated(g.grid.viewport()->pos());
        QCOMPARE(g.grid.CellLeft(), r.left() * 15);
        QCOMPARE(g.grid.CellTop(), r.top() * 15);
        QCOMPARE(g.grid.CellWidth(), 1500);
        QCOMPARE(g.grid.CellHeight(), g.grid.rowHeight(2) * 15);
    }

    void topRow() {
        Grid g;
        for (int i = 0; i < 40; ++i) g.grid.AddItem(QString("row %1").arg(i));
        QCOMPARE(g.grid.TopRow(), 1);
        g.grid.setTopRow(10);
        QCOMPARE(g.grid.TopRow(), 10);
    }

    void mouse_data() {
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("click") << false << QStringList({"down 1 2,1", "up 1 2,1", "click"});
        QTest::newRow("double click")
            << true << QStringList({"down 1 2,1", "up 1 2,1", "click", "dblclick", "up 1 2,1"});
    }
    void mouse() {
        QFETCH(bool, doubleClick);
        Grid g;
        QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, g.centre(2, 1));
        if (doubleClick) {
            QTest::mouseDClick(g.grid.viewport(), Qt::LeftButton, {}, g.centre(2, 1));
            QTest::mouseRelease(g.grid.viewport(), Qt::LeftButton, {}, g.centre(2, 1));
        }
        QTEST(g.events, "events");
        QCOMPARE(g.grid.Row(), 2);
        QCOMPARE(g.grid.Col(), 1);
    }

    // Which moves of the current row reach onRowChange, and how.
    void rowChange_data() {
        QTest::addColumn<QString>("move");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<int>("row");
        QTest::newRow("left click") << "left" << QStringList({"3 left"}) << 3;
        QTest::newRow("right click") << "right" << QStringList({"3 other"}) << 3;
        QTest::newRow("Down key") << "down" << QStringList({"2 other"}) << 2;
        QTest::newRow("click on the current row") << "same" << QStringList() << 1;
        QTest::newRow("set by code") << "code" << QStringList() << 3;
    }
    void rowChange() {
        QFETCH(QString, move);
        Grid g;
        g.grid.clickCell(1, 0);
        QStringList changes;
        g.grid.onRowChange = [&](bool byLeftPress) {
            changes << QString("%1 %2").arg(g.grid.Row()).arg(byLeftPress ? "left" : "other");
        };
        if (move == "left") QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, g.centre(3, 0));
        if (move == "right") QTest::mouseClick(g.grid.viewport(), Qt::RightButton, {}, g.centre(3, 0));
        if (move == "down") QTest::keyClick(&g.grid, Qt::Key_Down);
        if (move == "same") QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, g.centre(1, 1));
        if (move == "code") g.grid.setRow(3);
        QTEST(changes, "changes");
        QTEST(g.grid.Row(), "row");
    }

    // A click on the heading reaches the handlers as row 0 and selects nothing.
    void headingClick() {
        Grid g;
        g.grid.clickCell(3, 0);
        g.events.clear();
        QHeaderView* h = g.grid.horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(g.events, QStringList({"down 1 0,1", "up 1 0,1", "click"}));
        QCOMPARE(g.grid.Row(), 3);
        QCOMPARE(g.grid.selectedItems().size(), 1);
        QCOMPARE(g.grid.selectedItems()[0]->text(), QString("2026-03-03"));
    }
};

QTEST_MAIN(TestGrid)
#include "tst_platform_grid.moc"
