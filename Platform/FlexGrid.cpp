#include "Platform/FlexGrid.h"

#include "Platform/Form.h"
#include "Platform/Keys.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>

namespace {
constexpr int kTwips = Form::twipsPerPixel;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

Qt::Alignment alignmentOf(QChar mark) {
    if (mark == u'>') return Qt::AlignRight | Qt::AlignVCenter;
    if (mark == u'^') return Qt::AlignHCenter | Qt::AlignVCenter;
    return kLeft;
}

bool padded(const QString& title) {
    return !title.isEmpty() && (title.front().isSpace() || title.back().isSpace());
}

// Where the cell `col` of a tab-separated line starts (-1: no such cell).
qsizetype fieldStart(const QString& line, int col) {
    qsizetype start = 0;
    for (int c = 0; c < col; ++c) {
        const qsizetype tab = line.indexOf(u'\t', start);
        if (tab < 0) return -1;
        start = tab + 1;
    }
    return start;
}

// A body row. A row whose cells hold no tab is kept as one tab-separated
// line (one string, not one per cell: a listing of many thousand rows takes
// a fraction of the memory and time) until one of its cells is written; a
// row with a tab in a value, and a row written to, is kept cell by cell.
struct Line {
    QString line;
    QStringList cells;

    QString cell(int col) const {
        if (!cells.isEmpty() || line.isEmpty()) return cells.value(col);
        const qsizetype start = fieldStart(line, col);
        if (start < 0) return {};
        const qsizetype tab = line.indexOf(u'\t', start);
        return line.mid(start, tab < 0 ? -1 : tab - start);
    }
    void set(int col, const QString& text, int cols) {
        if (cells.isEmpty()) {
            QStringList split;
            split.reserve(cols);
            for (int c = 0; c < cols; ++c) split << cell(c);
            cells = std::move(split);
            line = QString();
        }
        if (col >= cells.size()) cells.resize(cols);
        cells[col] = text;
    }
    // Cells from column `cols` on are dropped.
    void truncate(int cols) {
        if (cells.size() > cols) cells.resize(cols);
        const qsizetype end = fieldStart(line, cols);
        if (end > 0) line.truncate(end - 1);
    }
};
} // namespace
Q_DECLARE_TYPEINFO(Line, Q_RELOCATABLE_TYPE);

// The grid's cells: the heading row apart, the body rows in order. The view
// knows of the first `shown` body rows; rows appended after them wait in
// `rows` until publish() tells the view of all of them at once.
// The view (and through it every assistive tool) sees only the columns not
// hidden, in order: the view's column v is the grid's column visible[v].
class FlexGrid::Cells : public QAbstractTableModel {
public:
    explicit Cells(QObject* parent) : QAbstractTableModel(parent) {}

    QStringList heading;
    // The alignment a format text gave each column; none for the others.
    QList<Qt::Alignment> align;
    QList<bool> aligned;
    QList<bool> hidden;
    QList<int> visible;
    QList<Line> rows;
    int cols = 0;
    int shown = 0;
    bool pending = false;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : shown; }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(visible.size());
    }

    // An index outside the cells has no value: the view asks with no index
    // at all (Ctrl+C without a current cell), and an index may outlive its
    // row or column.
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.model() != this || index.row() < 0 || index.row() >= shown ||
            index.column() < 0 || index.column() >= visible.size())
            return {};
        const int col = visible[index.column()];
        if (role == Qt::DisplayRole) return rows[index.row()].cell(col);
        if (role == Qt::TextAlignmentRole) return int(align[col]);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= visible.size()) return {};
        const int col = visible[section];
        if (role == Qt::DisplayRole) return heading[col];
        // Blanks that fill a column are for the eye: readers hear the words.
        if (role == Qt::AccessibleTextRole) return heading[col].trimmed();
        // Centred or right-aligned, a blank-padded title wider than its
        // column would lose its first letters.
        if (role == Qt::TextAlignmentRole && padded(heading[col])) return int(kLeft);
        if (role == Qt::TextAlignmentRole && aligned[col]) return int(align[col]);
        return {};
    }

    // The view's column of the grid's column `col`; for a hidden one, the
    // view's column that follows it.
    int viewCol(int col) const {
        return int(std::lower_bound(visible.cbegin(), visible.cend(), col) - visible.cbegin());
    }
    // The grid's column of the view's column `v` (-1 stays -1).
    int gridCol(int v) const { return v >= 0 && v < visible.size() ? visible[v] : -1; }

    void setHidden(int col, bool hide) {
        if (hidden[col] == hide) return;
        const int v = viewCol(col);
        if (hide) {
            beginRemoveColumns({}, v, v);
            hidden[col] = true;
            visible.remove(v);
            endRemoveColumns();
        } else {
            beginInsertColumns({}, v, v);
            hidden[col] = false;
            visible.insert(v, col);
            endInsertColumns();
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    // Rows waiting since the view last heard, in one insertion; called
    // back from the event loop after the first of them was appended.
    void schedule() {
        if (pending) return;
        pending = true;
        QMetaObject::invokeMethod(this, [this] { publish(); }, Qt::QueuedConnection);
    }
    void publish() {
        pending = false;
        if (rows.size() <= shown) return;
        beginInsertRows({}, shown, int(rows.size()) - 1);
        shown = int(rows.size());
        endInsertRows();
    }

    // Keeps the first n body rows.
    void truncate(int n) {
        publish();
        if (n >= shown) return;
        beginRemoveRows({}, n, shown - 1);
        rows.resize(n);
        shown = n;
        endRemoveRows();
    }

    // Body row `row` (1 or more) put in before the row there, or taken out.
    void insert(int row, Line&& line) {
        publish();
        beginInsertRows({}, row - 1, row - 1);
        rows.insert(row - 1, std::move(line));
        ++shown;
        endInsertRows();
    }
    // Appended, or put in before body row `row` (1 or more).
    void add(Line&& line, int row) {
        if (row < 1 || row > rows.size()) {
            rows.append(std::move(line));
            schedule();
            return;
        }
        insert(row, std::move(line));
    }
    void remove(int row) {
        publish();
        beginRemoveRows({}, row - 1, row - 1);
        rows.remove(row - 1);
        --shown;
        endRemoveRows();
    }

    // Columns added are shown; the hidden ones kept stay hidden.
    void setCols(int n) {
        const int v = viewCol(n);
        if (n > cols) {
            beginInsertColumns({}, v, v + n - cols - 1);
            for (int c = cols; c < n; ++c) visible.append(c);
            cols = n;
            heading.resize(n);
            align.resize(n, kLeft);
            aligned.resize(n, false);
            hidden.resize(n, false);
            endInsertColumns();
        } else if (n < cols) {
            const bool seen = v < visible.size();
            if (seen) beginRemoveColumns({}, v, int(visible.size()) - 1);
            visible.resize(v);
            cols = n;
            heading.resize(n);
            align.resize(n);
            aligned.resize(n);
            hidden.resize(n);
            for (Line& row : rows) row.truncate(n);
            if (seen) endRemoveColumns();
        }
    }

    // A row of a tab-separated text, no more cells than the columns.
    Line lineOf(const QString& text) const {
        Line l{text, {}};
        l.truncate(cols);
        // A text built by appending keeps room to grow that a row never uses.
        if (l.line.capacity() > l.line.size() + 16) l.line.squeeze();
        return l;
    }

    // A row of these cells, each kept whole, no more cells than the columns.
    Line lineOf(const QStringList& values) const {
        const qsizetype n = std::min<qsizetype>(values.size(), cols);
        qsizetype length = n > 0 ? n - 1 : 0;
        bool tab = false;
        for (qsizetype c = 0; c < n; ++c) {
            length += values[c].size();
            tab = tab || values[c].contains(u'\t');
        }
        if (tab) return Line{{}, values.first(n)};
        Line l;
        l.line.reserve(length);
        for (qsizetype c = 0; c < n; ++c) {
            if (c > 0) l.line += u'\t';
            l.line += values[c];
        }
        return l;
    }

    void put(int row, int col, const QString& text) { rows[row - 1].set(col, text, cols); }

    void changed(int first, int last, const QList<int>& roles = {}) {
        last = qMin(last, shown - 1);
        if (first <= last && !visible.isEmpty())
            emit dataChanged(index(first, 0), index(last, int(visible.size()) - 1), roles);
    }
};

// A new grid has the heading and one empty row, and two columns.
FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), cells_(new Cells(this)) {
    setModel(cells_);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fitRows();
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    // Tab leaves the grid: a grid that kept it for its cells would trap the
    // keyboard (the arrow keys move between cells).
    setTabKeyNavigation(false);
    setMouseTracking(true);
    QHeaderView* heading = horizontalHeader();
    heading->setSectionsClickable(false);
    heading->setHighlightSections(false);
    heading->viewport()->setMouseTracking(true);
    heading->viewport()->installEventFilter(this);
    setCols(2);
    setRows(2);
}

// Rows as high as a line of the font and a small margin.
void FlexGrid::fitRows() {
    const int height = qMax(16, fontMetrics().height() + 2);
    QHeaderView* rows = verticalHeader();
    rows->setMinimumSectionSize(qMin(rows->minimumSectionSize(), height));
    rows->setDefaultSectionSize(height);
}

void FlexGrid::changeEvent(QEvent* e) {
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange) fitRows();
}

void FlexGrid::publish() const { cells_->publish(); }

FlexGrid::Filling::Filling(FlexGrid* grid) : grid_(grid) {}

FlexGrid::Filling::~Filling() {
    if (last_ >= 0) grid_->cells_->changed(first_, last_);
}

void FlexGrid::Filling::set(int row, int col, const QString& text) const {
    Cells* cells = grid_->cells_;
    if (row < 1 || row > cells->rows.size() || col < 0 || col >= cells->cols) return;
    cells->put(row, col, text);
    if (row - 1 < cells->shown) {
        first_ = first_ < 0 ? row - 1 : qMin(first_, row - 1);
        last_ = qMax(last_, row - 1);
    }
}

void FlexGrid::setFormatString(const QString& format) {
    const QStringList titles = format.split(u'|');
    setCols(int(titles.size()));
    for (int c = 0; c < titles.size(); ++c) {
        QString title = titles[c];
        cells_->align[c] = kLeft;
        if (!title.isEmpty() && QStringLiteral("<>^").contains(title[0])) {
            cells_->align[c] = alignmentOf(title[0]);
            title.remove(0, 1);
        }
        cells_->aligned[c] = true;
        setTextMatrix(0, c, title);
        showCol(c);
        setColumnWidth(cells_->viewCol(c), fontMetrics().horizontalAdvance(title) + 12);
    }
    cells_->changed(0, cells_->shown - 1, {Qt::TextAlignmentRole});
}

int FlexGrid::Rows() const { return int(cells_->rows.size()) + 1; }
int FlexGrid::Cols() const { return cells_->cols; }

void FlexGrid::setRows(int n) {
    const int body = qMax(1, n) - 1;
    if (body <= cells_->rows.size()) {
        cells_->truncate(body);
        return;
    }
    cells_->rows.resize(body);
    cells_->schedule();
}

void FlexGrid::setCols(int n) {
    cells_->setCols(qMax(1, n));
    if (hiddenCol_ >= cells_->cols) hiddenCol_ = -1;
}

QString FlexGrid::TextMatrix(int row, int col) const {
    if (col < 0 || col >= cells_->cols) return {};
    if (row == 0) return cells_->heading[col];
    if (row < 1 || row > cells_->rows.size()) return {};
    return cells_->rows[row - 1].cell(col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    if (col < 0 || col >= cells_->cols) return;
    if (row == 0) {
        cells_->heading[col] = text;
        if (!cells_->hidden[col]) {
            const int v = cells_->viewCol(col);
            emit cells_->headerDataChanged(Qt::Horizontal, v, v);
        }
    } else if (row >= 1 && row <= cells_->rows.size()) {
        cells_->put(row, col, text);
        cells_->changed(row - 1, row - 1);
    }
}

void FlexGrid::AddItem(const QString& tabSeparated, int index) { cells_->add(cells_->lineOf(tabSeparated), index); }

void FlexGrid::addRow(const QStringList& cells, int index) { cells_->add(cells_->lineOf(cells), index); }

void FlexGrid::RemoveItem(int row) {
    if (row < 1 || row >= Rows()) return;
    cells_->remove(row);
}

void FlexGrid::clearRows() { cells_->truncate(0); }

int FlexGrid::Row() const {
    if (headingCurrent_) return 0;
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : qMin(1, Rows() - 1);
}

// A hidden column cannot be current in the view: the view's current cell
// moves to the row in the column it was in, and hiddenCol_ keeps the column.
void FlexGrid::makeCurrent(int row, int col) {
    publish();
    const bool hidden = col >= 0 && col < cells_->cols && cells_->hidden[col];
    const QModelIndex i = currentIndex();
    const int v = !hidden ? cells_->viewCol(col) : i.isValid() ? i.column() : 0;
    setCurrentIndex(cells_->index(row - 1, v));
    hiddenCol_ = hidden ? col : -1;
    headingCurrent_ = false;
}

void FlexGrid::setRow(int row) {
    if (row < 0 || row >= Rows()) return;
    const int col = Col();
    if (row >= 1) {
        makeCurrent(row, col);
        return;
    }
    // The heading cannot be current in the view: nothing is selected.
    setCurrentIndex({});
    headingCurrent_ = true;
    headingCol_ = col;
}

int FlexGrid::Col() const {
    const QModelIndex i = currentIndex();
    if (headingCurrent_ || !i.isValid()) return headingCol_;
    return hiddenCol_ >= 0 ? hiddenCol_ : cells_->gridCol(i.column());
}

void FlexGrid::setCol(int col) {
    if (col < 0 || col >= Cols()) return;
    const int row = Row();
    if (row >= 1) makeCurrent(row, col);
    else headingCol_ = col;
}

QString FlexGrid::Text() const { return TextMatrix(Row(), Col()); }

int FlexGrid::TopRow() const {
    publish();
    const int r = rowAt(0);
    return r >= 0 ? r + 1 : qMin(1, Rows() - 1);
}

void FlexGrid::setTopRow(int row) {
    if (row < 1 || row >= Rows()) return;
    publish();
    // Rows just added are laid out only later; the scroll range needs them.
    executeDelayedItemsLayout();
    // A hidden column cannot be scrolled to.
    const int col = Col();
    const int v = col < Cols() && !cells_->hidden[col] ? cells_->viewCol(col) : qMax(0, columnAt(0));
    scrollTo(cells_->index(row - 1, v), PositionAtTop);
}

void FlexGrid::ensureRowVisible(int row) {
    if (row < 1 || row >= Rows()) return;
    publish();
    executeDelayedItemsLayout();
    // The column at the left edge, so that only the rows move.
    scrollTo(cells_->index(row - 1, qMax(0, columnAt(0))), EnsureVisible);
}

int FlexGrid::ColWidth(int col) const {
    return col >= 0 && col < Cols() && !cells_->hidden[col] ? columnWidth(cells_->viewCol(col)) * kTwips : 0;
}

// A column 0 wide is hidden rather than narrow: it leaves the view, so that
// neither the keyboard nor a screen reader finds it, while its cells keep
// their texts.
void FlexGrid::setColWidth(int col, int twips) {
    if (col < 0 || col >= Cols()) return;
    const int width = qMax(0, (twips + kTwips / 2) / kTwips);
    if (width == 0) {
        hideCol(col);
        return;
    }
    showCol(col);
    setColumnWidth(cells_->viewCol(col), width);
}

// The current column stays current while hidden.
void FlexGrid::hideCol(int col) {
    if (cells_->hidden[col]) return;
    const bool current = !headingCurrent_ && currentIndex().isValid() && Col() == col;
    cells_->setHidden(col, true);
    if (current && currentIndex().isValid()) hiddenCol_ = col;
}

void FlexGrid::showCol(int col) {
    if (!cells_->hidden[col]) return;
    cells_->setHidden(col, false);
    if (hiddenCol_ != col) return;
    hiddenCol_ = -1;
    const QModelIndex i = currentIndex();
    if (!headingCurrent_ && i.isValid()) setCurrentIndex(cells_->index(i.row(), cells_->viewCol(col)));
}

// The left edge of the grid's column `col` in the viewport (a hidden one
// sits where the next shown column starts).
int FlexGrid::colPosition(int col) const {
    const int v = cells_->viewCol(col);
    if (v < cells_->columnCount()) return columnViewportPosition(v);
    return v > 0 ? columnViewportPosition(v - 1) + columnWidth(v - 1) : -horizontalOffset();
}

// The heading row is drawn by the header above the cells.
int FlexGrid::CellLeft() const { return (viewport()->x() + colPosition(Col())) * kTwips; }
int FlexGrid::CellTop() const {
    if (Row() == 0) return horizontalHeader()->y() * kTwips;
    publish();
    return (viewport()->y() + rowViewportPosition(Row() - 1)) * kTwips;
}
int FlexGrid::CellWidth() const { return ColWidth(Col()); }
int FlexGrid::CellHeight() const {
    if (Row() == 0) return horizontalHeader()->height() * kTwips;
    publish();
    return rowHeight(Row() - 1) * kTwips;
}

QRect FlexGrid::cellRect(int row, int col) const {
    if (row < 1 || row >= Rows() || col < 0 || col >= Cols() || cells_->hidden[col]) return {};
    publish();
    return visualRect(cells_->index(row - 1, cells_->viewCol(col)));
}

void FlexGrid::clickCell(int row, int col) {
    if (row >= 1 && row < Rows() && col >= 0 && col < Cols()) makeCurrent(row, col);
    mouseRow_ = row;
    mouseCol_ = col;
    if (onClick) onClick();
}

QPoint FlexGrid::noteMouse(const QWidget* from, const QPoint& pos, bool overHeading) {
    if (overHeading) {
        mouseRow_ = 0;
        mouseCol_ = cells_->gridCol(horizontalHeader()->logicalIndexAt(pos.x()));
    } else {
        const int r = rowAt(pos.y());
        mouseRow_ = r >= 0 ? r + 1 : -1;
        mouseCol_ = cells_->gridCol(columnAt(pos.x()));
    }
    return from->mapTo(this, pos) * kTwips;
}

// The program's order: down, up, click; a double click gives down, up,
// click, double click, up (no second click).
void FlexGrid::mouseEvent(QMouseEvent* e, bool overHeading) {
    const QWidget* from = overHeading ? horizontalHeader()->viewport() : viewport();
    const QPoint p = noteMouse(from, e->position().toPoint(), overHeading);
    const int shift = Keys::shiftState(e->modifiers());
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        pressed_ = true;
        if (onMouseDown) onMouseDown(Keys::mouseButton(e->button()), shift, p.x(), p.y());
        break;
    case QEvent::MouseButtonRelease: {
        const bool click = pressed_ && !afterDoubleClick_ && e->button() == Qt::LeftButton;
        pressed_ = afterDoubleClick_ = false;
        if (onMouseUp) onMouseUp(Keys::mouseButton(e->button()), shift, p.x(), p.y());
        if (click && onClick) onClick();
        break;
    }
    case QEvent::MouseButtonDblClick:
        afterDoubleClick_ = true;
        if (onDblClick) onDblClick();
        break;
    case QEvent::MouseMove:
        if (onMouseMove) onMouseMove(Keys::mouseButtons(e->buttons()), shift, p.x(), p.y());
        break;
    default: break;
    }
}

void FlexGrid::mousePressEvent(QMouseEvent* e) {
    userMove_ = e->button() == Qt::LeftButton ? 1 : 2;
    QTableView::mousePressEvent(e);
    userMove_ = 0;
    mouseEvent(e, false);
}

void FlexGrid::keyPressEvent(QKeyEvent* e) {
    // End and PageDown reach rows appended just now.
    publish();
    userMove_ = 2;
    QTableView::keyPressEvent(e);
    userMove_ = 0;
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The table view tells screen readers of a new current cell as the
    // focus. Only the grid that has the focus may: a row made current by a
    // refill (a year chosen in a list) must not pull the reader away from
    // the control the user is on.
    if (hasFocus()) QTableView::currentChanged(current, previous);
    else QAbstractItemView::currentChanged(current, previous);
    if (current.isValid()) headingCurrent_ = false;
    // A cell the user moves to, or the first cell made current, is in a
    // shown column.
    if (userMove_ || !previous.isValid()) hiddenCol_ = -1;
    if (userMove_ && current.row() != previous.row() && onRowChange) onRowChange(userMove_ == 1);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
    QTableView::mouseReleaseEvent(e);
    mouseEvent(e, false);
}

void FlexGrid::mouseMoveEvent(QMouseEvent* e) {
    QTableView::mouseMoveEvent(e);
    mouseEvent(e, false);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    mouseEvent(e, false);
}

bool FlexGrid::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && !toolTip().isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), Qt::convertFromPlainText(toolTip()), this, QRect(),
                           toolTipDuration());
        return true;
    }
    return QTableView::event(e);
}

// Mouse events over the heading reach the handlers as row 0; its presses
// go no further, so the heading never selects a column.
bool FlexGrid::eventFilter(QObject* watched, QEvent* e) {
    if (watched == horizontalHeader()->viewport()) {
        switch (e->type()) {
        case QEvent::MouseMove: mouseEvent(static_cast<QMouseEvent*>(e), true); return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: mouseEvent(static_cast<QMouseEvent*>(e), true); return true;
        default: break;
        }
    }
    return QTableView::eventFilter(watched, e);
}
