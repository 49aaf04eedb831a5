// The grid: its heading from a format text, rows from values or from
// tab-separated texts, Tab leaving it while the arrows move in it,
// widths and places in twips, the mouse handlers' order and cells, rows
// filled in bulk and rows as high as the font; a column 0 wide kept from
// the keyboard and from screen readers.
#include "Platform/FlexGrid.h"
#include "TestSupport.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QVBoxLayout>

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
    QPoint centre(int row, int col) { return grid.cellRect(row, col).center(); }
    QVariant shown(int row, int col, int role = Qt::DisplayRole) {
        return grid.model()->index(row - 1, col).data(role);
    }
};

// Every name a screen reader finds under `a`, its children's children too;
// each child is found again at its own index.
void readerTexts(QAccessibleInterface* a, QStringList& texts, int depth = 0) {
    QVERIFY(a && depth < 4);
    texts << a->text(QAccessible::Name);
    for (int i = 0; i < a->childCount(); ++i) {
        QAccessibleInterface* child = a->child(i);
        QVERIFY(child);
        QCOMPARE(a->indexOfChild(child), i);
        readerTexts(child, texts, depth + 1);
    }
}
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
        QCOMPARE(g.grid.model()->headerData(2, Qt::Horizontal).toString(), QString("Rec"));
        // The heading is shown in the header only, not as a row of cells.
        QCOMPARE(g.grid.model()->rowCount(), 3);
        QCOMPARE(g.shown(1, 0).toString(), QString("2026-03-01"));
        QCOMPARE(g.grid.TextMatrix(2, 2), QString());
        QCOMPARE(g.grid.TextMatrix(3, 2), QString("y"));
        QCOMPARE(g.shown(1, 1, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(g.shown(1, 2, Qt::TextAlignmentRole).toInt(), int(Qt::AlignHCenter | Qt::AlignVCenter));
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

    // Cells written into rows added as texts; columns taken away and added
    // again come back empty.
    void writeCells_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("one cell by setTextMatrix")
            << "text" << QStringList({"2026-03-01|11.00|x|", "2026-03-02|20.00||", "2026-03-03|30.00|y|"});
        QTest::newRow("cells by Filling")
            << "filling" << QStringList({"2026-03-01|10.00|x|", "2026-03-02|20.00|z|", "2026-03-03|31.00|y|"});
        QTest::newRow("cell beyond the text's cells")
            << "beyond" << QStringList({"2026-03-01|10.00|x|", "2026-03-02|20.00|z|", "2026-03-03|30.00|y|"});
        QTest::newRow("columns taken away and added again")
            << "columns" << QStringList({"2026-03-01|||", "2026-03-02|||", "2026-03-03|||"});
        QTest::newRow("row of values with tabs, each in its cell")
            << "addRow"
            << QStringList({"2026-03-01|10.00|x|", "a\tb|c\td|e|", "2026-03-02|20.00||", "2026-03-03|30.00|y|"});
    }
    void writeCells() {
        QFETCH(QString, how);
        Grid g;
        if (how == "text") g.grid.setTextMatrix(1, 1, "11.00");
        if (how == "filling") {
            FlexGrid::Filling filling(&g.grid);
            filling.set(2, 2, "z");
            filling.set(3, 1, "31.00");
        }
        if (how == "beyond") g.grid.setTextMatrix(2, 2, "z");
        if (how == "addRow") g.grid.addRow({"a\tb", "c\td", "e", "beyond the columns"}, 2);
        g.grid.setCols(how == "columns" ? 1 : 3);
        g.grid.setCols(4);
        QStringList rows;
        for (int r = 1; r < g.grid.Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < 4; ++c) cells << g.grid.TextMatrix(r, c);
            rows << cells.join(u'|');
            QCOMPARE(g.shown(r, 1).toString(), g.grid.TextMatrix(r, 1));
        }
        QTEST(rows, "rows");
    }

    void twips() {
        Grid g;
        g.grid.setColWidth(1, 1500);
        QCOMPARE(g.grid.columnWidth(1), 100);
        QCOMPARE(g.grid.ColWidth(1), 1500);
        g.grid.setRow(2);
        g.grid.setCol(1);
        QCOMPARE(g.grid.Text(), QString("20.00"));
        const QRect r = g.grid.cellRect(2, 1).translated(g.grid.viewport()->pos());
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

    // Tab and Shift+Tab leave the grid for the next or the previous control;
    // the arrow keys move between its cells.
    void keysLeaveOrMove_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << "after" << 1 << 0;
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "before" << 1 << 0;
        QTest::newRow("Right") << int(Qt::Key_Right) << int(Qt::NoModifier) << "grid" << 1 << 1;
        QTest::newRow("Down") << int(Qt::Key_Down) << int(Qt::NoModifier) << "grid" << 2 << 0;
    }
    void keysLeaveOrMove() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new QLineEdit(&window);
        auto* grid = new FlexGrid(&window);
        auto* after = new QLineEdit(&window);
        before->setObjectName("before");
        grid->setObjectName("grid");
        after->setObjectName("after");
        for (QWidget* w : QList<QWidget*>{before, grid, after}) layout->addWidget(w);
        grid->setFormatString("A|B|C");
        grid->clearRows();
        grid->AddItem("1\t2\t3");
        grid->AddItem("4\t5\t6");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        grid->clickCell(1, 0);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTEST(QApplication::focusWidget()->objectName(), "focus");
        QTEST(grid->Row(), "row");
        QTEST(grid->Col(), "col");
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
        const QModelIndexList selected = g.grid.selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected[0].data().toString(), QString("2026-03-03"));
    }

    // Rows are as high as a line of the grid's font, also after the window
    // scaled the font.
    void rowsFollowFont_data() {
        QTest::addColumn<QList<double>>("sizes");
        QTest::newRow("small font") << QList<double>{8};
        QTest::newRow("font grown, as when maximised") << QList<double>{8, 24};
        QTest::newRow("grown and back again") << QList<double>{8, 24, 9};
    }
    void rowsFollowFont() {
        QFETCH(QList<double>, sizes);
        Grid g;
        QFont font = g.grid.font();
        for (double size : sizes) {
            font.setPointSizeF(size);
            g.grid.setFont(font);
        }
        const int line = QFontMetrics(font).height();
        g.grid.setRow(2);
        const int height = g.grid.CellHeight() / 15;
        QVERIFY2(height >= line && height <= std::max(16, line + 4), qPrintable(QString("%1 for %2").arg(height).arg(line)));
        QCOMPARE(g.grid.cellRect(3, 0).top(), g.grid.cellRect(2, 0).top() + height);
        QVERIFY(g.grid.horizontalHeader()->height() >= line);
    }

    // A heading padded with blanks starts at its column's left edge, so a
    // narrow column shows its first letters.
    void headingAlignment_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("alignment");
        const int left = Qt::AlignLeft | Qt::AlignVCenter;
        QTest::newRow("padded, centred: left") << "<No.|^German" << "  Deutscher Wortschatz" << left;
        QTest::newRow("trailing blank, right: left") << "<No.|>Amount" << "Amount " << left;
        QTest::newRow("unpadded keeps its centre") << "<No.|^Rec" << "Rec" << int(Qt::AlignHCenter | Qt::AlignVCenter);
        QTest::newRow("no format text: the header's own") << "" << "Deutscher Wortschatz" << int(Qt::AlignCenter);
        QTest::newRow("no format text, padded: left") << "" << "  Deutscher Wortschatz" << left;
    }
    void headingAlignment() {
        QFETCH(QString, format);
        QFETCH(QString, title);
        FlexGrid grid;
        if (format.isEmpty()) grid.setCols(2);
        else grid.setFormatString(format);
        grid.setTextMatrix(0, 1, title);
        const QVariant a = grid.model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole);
        QTEST(a.isValid() ? a.toInt() : int(grid.horizontalHeader()->defaultAlignment()), "alignment");
        QCOMPARE(grid.TextMatrix(0, 1), title);
    }

    // A column 0 wide holds keys: hidden from the keyboard and from screen
    // readers, it reads back 0 wide; a width shows it again.
    void keyColumn_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("colAfterRight");
        QTest::newRow("0 wide: hidden") << 0 << true << 0 << 1;
        QTest::newRow("under a pixel: hidden") << 1 << true << 0 << 1;
        QTest::newRow("given a width: shown again") << 600 << false << 600 << 2;
    }
    void keyColumn() {
        QFETCH(int, twips);
        Grid g;
        g.grid.setColWidth(2, 0);
        g.grid.setColWidth(2, twips);
        QTEST(g.grid.model()->columnCount() == 2, "hidden");
        QTEST(g.grid.ColWidth(2), "width");
        QCOMPARE(g.grid.TextMatrix(1, 2), QString("x"));
        g.grid.clickCell(1, 1);
        QTest::keyClick(&g.grid, Qt::Key_Right);
        QTEST(g.grid.Col(), "colAfterRight");
    }

    // A screen reader finds neither the key column's cells nor its title,
    // while the grid's column numbers count it: cells, widths, the current
    // and the mouse column, clicks and the keys' moves past it.
    void keyColumnUnseen_data() {
        QTest::addColumn<int>("keyCol");
        QTest::newRow("first column") << 0;
        QTest::newRow("middle column") << 1;
        QTest::newRow("last column") << 3;
    }
    void keyColumnUnseen() {
        QFETCH(int, keyCol);
        FlexGrid grid;
        grid.resize(400, 200);
        QStringList titles{"A", "B", "C", "D"};
        titles[keyCol] = "Key";
        grid.setFormatString(titles.join(u'|'));
        grid.clearRows();
        const auto cellText = [keyCol](int r, int c) {
            return c == keyCol ? QString("KEY%1").arg(r) : QString("r%1c%2").arg(r).arg(c);
        };
        for (int r = 1; r <= 3; ++r)
            grid.AddItem(QStringList{cellText(r, 0), cellText(r, 1), cellText(r, 2), cellText(r, 3)}.join(u'\t'));
        QList<int> shownCols;
        for (int c = 0; c < 4; ++c) {
            grid.setColWidth(c, c == keyCol ? 0 : 900);
            if (c != keyCol) shownCols << c;
        }
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QApplication::processEvents();

        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
        QVERIFY(table);
        QStringList texts;
        readerTexts(table, texts);
        if (QTest::currentTestFailed()) return;
        for (int r = 1; r <= 3; ++r) {
            QVERIFY2(!texts.contains(cellText(r, keyCol)), qPrintable(texts.join(u',')));
            for (int c : shownCols) QVERIFY2(texts.contains(cellText(r, c)), qPrintable(cellText(r, c)));
        }
        QVERIFY(!texts.contains("Key"));
        QAccessibleTableInterface* cells = table->tableInterface();
        QVERIFY(cells);
        QCOMPARE(cells->columnCount(), 3);
        QCOMPARE(cells->rowCount(), 3);
        for (int v = 0; v < 3; ++v) {
            QCOMPARE(cells->columnDescription(v), titles[shownCols[v]]);
            for (int r = 0; r < 3; ++r) QCOMPARE(cells->cellAt(r, v)->text(QAccessible::Name), cellText(r + 1, shownCols[v]));
        }

        QCOMPARE(grid.TextMatrix(2, keyCol), cellText(2, keyCol));
        QCOMPARE(grid.TextMatrix(0, keyCol), QString("Key"));
        QCOMPARE(grid.ColWidth(keyCol), 0);
        QVERIFY(grid.cellRect(2, keyCol).isEmpty());
        grid.setRow(2);
        grid.setCol(keyCol);
        QCOMPARE(grid.Col(), keyCol);
        QCOMPARE(grid.Text(), cellText(2, keyCol));
        QCOMPARE(grid.CellWidth(), 0);
        const int after = keyCol == 3 ? -1 : keyCol + 1;
        if (after >= 0) QCOMPARE(grid.CellLeft(), (grid.viewport()->x() + grid.cellRect(2, after).left()) * 15);
        for (int c : shownCols) {
            grid.setCol(c);
            QCOMPARE(grid.Col(), c);
            QCOMPARE(grid.Text(), cellText(2, c));
            QCOMPARE(grid.CellWidth(), 900);
            QCOMPARE(grid.CellLeft(), (grid.viewport()->x() + grid.cellRect(2, c).left()) * 15);
        }

        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(3, shownCols[1]).center());
        QCOMPARE(grid.Row(), 3);
        QCOMPARE(grid.Col(), shownCols[1]);
        QCOMPARE(grid.MouseCol(), shownCols[1]);
        grid.clickCell(1, shownCols[0]);
        const QList<int> rightwards = shownCols.mid(1) << shownCols.back();
        for (int c : rightwards) {
            QTest::keyClick(&grid, Qt::Key_Right);
            QCOMPARE(grid.Col(), c);
        }

        // A column added stays shown; given a width, the key column shows
        // in its place again.
        grid.setCols(5);
        QCOMPARE(grid.model()->columnCount(), 4);
        QCOMPARE(grid.ColWidth(keyCol), 0);
        grid.setColWidth(keyCol, 600);
        QCOMPARE(grid.model()->columnCount(), 5);
        QCOMPARE(grid.model()->headerData(keyCol, Qt::Horizontal).toString(), QString("Key"));
        QVERIFY(!grid.cellRect(1, keyCol).isEmpty());
        QCOMPARE(grid.ColWidth(keyCol), 600);
    }

    // The model answers an index outside its cells with no value: no index
    // at all (the view asks for the current cell's text on Ctrl+C when none
    // is current), and an index kept after its row or column went away.
    void modelAnswersOnlyItsCells_data() {
        QTest::addColumn<QString>("index");
        QTest::newRow("no index") << "none";
        QTest::newRow("row removed since") << "row";
        QTest::newRow("column hidden since") << "column";
    }
    void modelAnswersOnlyItsCells() {
        QFETCH(QString, index);
        Grid g;
        QModelIndex asked;
        if (index == "row") {
            asked = g.grid.model()->index(2, 0);
            g.grid.clearRows();
        }
        if (index == "column") {
            asked = g.grid.model()->index(0, 2);
            g.grid.setColWidth(2, 0);
        }
        QVERIFY(!g.grid.model()->data(asked).isValid());
        QVERIFY(!g.grid.model()->data(asked, Qt::TextAlignmentRole).isValid());
    }

    // Many rows, appended one by one or written after setRows, reach the
    // view in one insertion and read back cell by cell.
    void bulkFill_data() {
        QTest::addColumn<bool>("byAddItem");
        QTest::newRow("appended one by one") << true;
        QTest::newRow("written after setRows") << false;
    }
    void bulkFill() {
        QFETCH(bool, byAddItem);
        constexpr int n = 20000;
        Grid g;
        g.grid.clearRows();
        QSignalSpy inserted(g.grid.model(), &QAbstractItemModel::rowsInserted);
        if (byAddItem) {
            for (int i = 1; i <= n; ++i) g.grid.AddItem(QString("%1\t%2.00\tx").arg(i).arg(i * 10));
        } else {
            g.grid.setRows(n + 1);
            FlexGrid::Filling filling(&g.grid);
            for (int i = 1; i <= n; ++i) {
                filling.set(i, 0, QString::number(i));
                filling.set(i, 1, QString("%1.00").arg(i * 10));
                filling.set(i, 2, "x");
            }
        }
        QCOMPARE(g.grid.Rows(), n + 1);
        QCOMPARE(g.grid.TextMatrix(1, 0), QString("1"));
        QCOMPARE(g.grid.TextMatrix(n / 2, 1), QString("100000.00"));
        QCOMPARE(g.grid.TextMatrix(n, 2), QString("x"));
        QCOMPARE(g.grid.TextMatrix(n, 3), QString());
        QTRY_COMPARE(g.grid.model()->rowCount(), n);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(g.shown(n, 1).toString(), QString("200000.00"));
        g.grid.setRow(1);
        QTest::keyClick(&g.grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(g.grid.Row(), n);
        QVERIFY(g.grid.TopRow() > n - 20);
    }

    // Rows removed or added around the current one leave the same entry
    // current; removing it makes a neighbour current.
    void currentRowKept_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("date");
        QTest::newRow("row above removed") << 3 << "remove 1" << 2 << "2026-03-03";
        QTest::newRow("row inserted above") << 2 << "insert 1" << 3 << "2026-03-02";
        QTest::newRow("row appended") << 2 << "append" << 2 << "2026-03-02";
        QTest::newRow("current row removed: the next") << 2 << "remove 2" << 2 << "2026-03-03";
        QTest::newRow("last row removed: the one above") << 3 << "remove 3" << 2 << "2026-03-02";
        QTest::newRow("rows cleared: the heading") << 2 << "clear" << 0 << "Date";
    }
    void currentRowKept() {
        QFETCH(int, current);
        QFETCH(QString, change);
        Grid g;
        g.grid.setRow(current);
        g.grid.setCol(0);
        const QStringList step = change.split(u' ');
        if (step[0] == "remove") g.grid.RemoveItem(step[1].toInt());
        if (step[0] == "insert") g.grid.AddItem("new", step[1].toInt());
        if (step[0] == "append") g.grid.AddItem("new");
        if (step[0] == "clear") g.grid.clearRows();
        QApplication::processEvents();
        QTEST(g.grid.Row(), "row");
        QTEST(g.grid.Text(), "date");
    }

    // The grid's tooltip (a cell's text) is shown as it stands, never as markup.
    void toolTipShowsPlainText_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("markup") << "<b>big</b>";
        QTest::newRow("angle and ampersand") << "a <i> & b";
        QTest::newRow("blanks and a line break") << "two  blanks\nline";
    }
    void toolTipShowsPlainText() {
        QFETCH(QString, text);
        Grid g;
        g.grid.setToolTip(text);
        const QPoint at = g.centre(1, 1);
        QHelpEvent help(QEvent::ToolTip, at, g.grid.viewport()->mapToGlobal(at));
        QApplication::sendEvent(g.grid.viewport(), &help);
        QVERIFY(QToolTip::isVisible());
        QString shown = QToolTip::text();
        if (Qt::mightBeRichText(shown)) {
            QTextDocument doc;
            doc.setHtml(shown);
            shown = doc.toPlainText();
        }
        QCOMPARE(shown, text);
        QCOMPARE(g.grid.toolTip(), text);
        QToolTip::hideText();
    }
};

QTEST_MAIN(TestGrid)
#include "tst_platform_grid.moc"
