#pragma once
// A grid of text cells: row 0 is the heading row, set from a format text
// ("<Date|>Amount|^Rec": titles separated by "|", an optional alignment
// mark "<" left, ">" right, "^" centre); rows are added cell by cell (a
// value may hold any character, a tab too) or as tab-separated texts that
// callers build themselves; cells are read and written by row and column; a
// current row and column; column widths and the current cell's place in
// twips. Clicks, double clicks and mouse moves reach the window's handlers.
// The arrow keys move between cells; Tab and Shift+Tab leave the grid for
// the next or previous control, as in every other control.
// Row 0 is a row of the table like the others (TextMatrix(0, c) reads a
// title) but is shown in the grid's header, so it stays in view while the
// rows scroll and cannot be selected. Cells are read-only to the user.
// Cells outside the grid read as "" and are not written.
// A heading that starts or ends with blanks is shown left-aligned, so a
// narrow column shows its start; screen readers hear it without them. A
// column 0 wide is hidden and reads back 0 wide: the view, and so screen
// readers, see only the other columns, while the grid's own column numbers
// (cells, widths, current and mouse column) count every column.
// The cells live in a table model of the grid's own: a row whose values hold
// no tab is kept as one tab-separated text, other rows cell by cell.
// Rows appended one by one (AddItem, setRows) reach the view together, when
// control returns to the event loop or when the grid is next asked for a
// place on screen or a current row, so a listing of many thousand rows is
// one insertion for the view and for assistive tools. Rows follow the
// font's height whenever the font changes.
#include "Platform/Controls.h"

#include <QTableView>
#include <functional>

class FlexGrid : public QTableView {
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    void setFormatString(const QString& format);
    int Rows() const;
    void setRows(int n); // keeps the heading row
    int Cols() const;
    void setCols(int n);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    // Appends a row (or inserts it before `index`), cells split at tabs.
    void AddItem(const QString& tabSeparated, int index = -1);
    // Appends a row (or inserts it before `index`) with these cells, each
    // value whole, whatever characters it holds.
    void addRow(const QStringList& cells, int index = -1);
    void RemoveItem(int row);
    // Removes every row below the heading.
    void clearRows();

    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    QString Text() const; // the current cell's text
    int TopRow() const;
    void setTopRow(int row);
    // Scrolls as little as needed for the body row to stand wholly in view
    // (below the heading); a row in view stays where it is.
    void ensureRowVisible(int row);

    int ColWidth(int col) const; // twips
    void setColWidth(int col, int twips);
    // The current cell's place and size in twips, relative to the grid.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;
    // The body cell's rectangle in the viewport's pixels (empty for the
    // heading or outside the grid).
    QRect cellRect(int row, int col) const;
    // The cell under the mouse at its last move over the grid (row 0 over
    // the heading, -1 beside the cells).
    int MouseRow() const { return mouseRow_; }
    int MouseCol() const { return mouseCol_; }

    std::function<void()> onClick, onDblClick;
    MouseHandler onMouseDown, onMouseUp, onMouseMove;
    // Runs when the user makes another row current: by a key, or by a press
    // of any mouse button on a row. byLeftPress tells the left button's press
    // (the one whose release runs onClick) apart from every other way, so a
    // window can close an editor that belongs to the row it came from. Rows
    // made current by code (setRow, clickCell, filling) never run it.
    std::function<void(bool byLeftPress)> onRowChange;

    // Writes many body cells at once (thousands of rows, e.g. after
    // setRows): the cells are written straight into the table; the view
    // hears of the changed rows once, when the filling ends.
    class Filling {
    public:
        explicit Filling(FlexGrid* grid);
        ~Filling();
        Filling(const Filling&) = delete;
        Filling& operator=(const Filling&) = delete;
        void set(int row, int col, const QString& text) const;

    private:
        FlexGrid* grid_;
        mutable int first_ = -1, last_ = -1; // rows the view already shows
    };

    // A user's click on the cell (selects it, then runs the click handler).
    void clickCell(int row, int col);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;
    // The tooltip (a cell's text, as the window sets it) is shown as it
    // stands, never read as markup.
    bool event(QEvent* e) override;

private:
    class Cells;
    // The view is told of rows appended since it last heard.
    void publish() const;
    // Makes the body cell current (row >= 1).
    void makeCurrent(int row, int col);
    void fitRows();
    void hideCol(int col);
    void showCol(int col);
    int colPosition(int col) const;
    // Notes the cell under `pos` (in `from`'s coordinates); the point in twips.
    QPoint noteMouse(const QWidget* from, const QPoint& pos, bool overHeading);
    void mouseEvent(QMouseEvent* e, bool overHeading);

    Cells* cells_;
    // The heading row was made current by code (setRow(0)); the view then
    // has no current cell and headingCol_ keeps the column.
    bool headingCurrent_ = false;
    int headingCol_ = 0;
    // The current column while it is hidden (-1: the view's current one).
    int hiddenCol_ = -1;
    int mouseRow_ = -1;
    int mouseCol_ = -1;
    bool pressed_ = false;
    bool afterDoubleClick_ = false;
    // Set while a user's key or mouse press is being handled: 0 none,
    // 1 the left button's press, 2 any other press or a key.
    int userMove_ = 0;
};
