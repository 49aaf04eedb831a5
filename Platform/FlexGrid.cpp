#include "Platform/FlexGrid.h"

#include "Platform/Form.h"
#include "Platform/Keys.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {
constexpr int kTwips = Form::twipsPerPixel;

Qt::Alignment alignmentOf(QChar mark) {
    if (mark == u'>') return Qt::AlignRight | Qt::AlignVCenter;
    if (mark == u'^') return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}
} // namespace

// A new grid has the heading and one empty row, and two columns.
FlexGrid::FlexGrid(QWidget* parent) : QTableWidget(2, 0, parent) {
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(qMax(16, fontMetrics().height() + 2));
    setRowHidden(0, true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setMouseTracking(true);
    QHeaderView* heading = horizontalHeader();
    heading->setSectionsClickable(false);
    heading->setHighlightSections(false);
    heading->viewport()->setMouseTracking(true);
    heading->viewport()->installEventFilter(this);
    setCols(2);
}

QTableWidgetItem* FlexGrid::cell(int row, int col) {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return nullptr;
    QTableWidgetItem* it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        it->setTextAlignment(align_.value(col, Qt::AlignLeft | Qt::AlignVCenter));
        if (row == 0) it->setFlags(Qt::ItemIsEnabled);
        else it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, col, it);
    }
    return it;
}

FlexGrid::Filling::Filling(FlexGrid* grid) : grid_(grid), model_(grid->model()) { grid_->setUpdatesEnabled(false); }

FlexGrid::Filling::~Filling() {
    model_.unblock();
    grid_->setUpdatesEnabled(true);
    grid_->viewport()->update();
}

void FlexGrid::Filling::set(int row, int col, const QString& text) const {
    if (row < 1 || row >= grid_->rowCount() || col < 0 || col >= grid_->columnCount()) return;
    auto* it = new QTableWidgetItem(text);
    it->setTextAlignment(grid_->align_.value(col, Qt::AlignLeft | Qt::AlignVCenter));
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    grid_->setItem(row, col, it);
}

void FlexGrid::setFormatString(const QString& format) {
    const QStringList titles = format.split(u'|');
    setCols(int(titles.size()));
    for (int c = 0; c < titles.size(); ++c) {
        QString title = titles[c];
        align_[c] = Qt::AlignLeft | Qt::AlignVCenter;
        if (!title.isEmpty() && QStringLiteral("<>^").contains(title[0])) {
            align_[c] = alignmentOf(title[0]);
            title.remove(0, 1);
        }
        for (int r = 0; r < rowCount(); ++r)
            if (QTableWidgetItem* it = item(r, c)) it->setTextAlignment(align_[c]);
        horizontalHeaderItem(c)->setTextAlignment(align_[c]);
        setTextMatrix(0, c, title);
        setColumnWidth(c, fontMetrics().horizontalAdvance(title) + 12);
    }
}

void FlexGrid::setRows(int n) {
    setRowCount(qMax(1, n));
    setRowHidden(0, true);
}

void FlexGrid::setCols(int n) {
    const int old = columnCount();
    n = qMax(1, n);
    setColumnCount(n);
    align_.resize(n, Qt::AlignLeft | Qt::AlignVCenter);
    // Without an item of its own a heading would show the column's number.
    for (int c = old; c < n; ++c) setHorizontalHeaderItem(c, new QTableWidgetItem(TextMatrix(0, c)));
}

QString FlexGrid::TextMatrix(int row, int col) const {
    const QTableWidgetItem* it =
        row >= 0 && row < rowCount() && col >= 0 && col < columnCount() ? item(row, col) : nullptr;
    return it ? it->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    QTableWidgetItem* it = cell(row, col);
    if (!it) return;
    it->setText(text);
    if (row == 0) horizontalHeaderItem(col)->setText(text);
}

void FlexGrid::AddItem(const QString& tabSeparated, int index) {
    const int row = index >= 1 && index < rowCount() ? index : rowCount();
    insertRow(row);
    const QStringList cells = tabSeparated.split(u'\t');
    for (int c = 0; c < columnCount(); ++c) cell(row, c)->setText(cells.value(c));
}

void FlexGrid::RemoveItem(int row) {
    if (row >= 1 && row < rowCount()) removeRow(row);
}

void FlexGrid::clearRows() { setRowCount(1); }

int FlexGrid::Row() const {
    const int r = currentRow();
    return r >= 0 ? r : qMin(1, rowCount() - 1);
}

void FlexGrid::setRow(int row) {
    if (row >= 0 && row < rowCount()) setCurrentCell(row, Col());
}

int FlexGrid::Col() const { return qMax(0, currentColumn()); }

void FlexGrid::setCol(int col) {
    if (col >= 0 && col < columnCount()) setCurrentCell(Row(), col);
}

QString FlexGrid::Text() const { return TextMatrix(Row(), Col()); }

int FlexGrid::TopRow() const {
    const int r = rowAt(0);
    return r >= 1 ? r : qMin(1, rowCount() - 1);
}

void FlexGrid::setTopRow(int row) {
    if (row < 1 || row >= rowCount()) return;
    // Rows just added are laid out only later; the scroll range needs them.
    executeDelayedItemsLayout();
    scrollTo(model()->index(row, Col()), PositionAtTop);
}

int FlexGrid::ColWidth(int col) const {
    return col >= 0 && col < columnCount() ? columnWidth(col) * kTwips : 0;
}

void FlexGrid::setColWidth(int col, int twips) {
    if (col >= 0 && col < columnCount()) setColumnWidth(col, qMax(0, (twips + kTwips / 2) / kTwips));
}

// The heading row is drawn by the header above the cells.
int FlexGrid::CellLeft() const { return (viewport()->x() + columnViewportPosition(Col())) * kTwips; }
int FlexGrid::CellTop() const {
    if (Row() == 0) return horizontalHeader()->y() * kTwips;
    return (viewport()->y() + rowViewportPosition(Row())) * kTwips;
}
int FlexGrid::CellWidth() const { return columnWidth(Col()) * kTwips; }
int FlexGrid::CellHeight() const {
    return (Row() == 0 ? horizontalHeader()->height() : rowHeight(Row())) * kTwips;
}

void FlexGrid::clickCell(int row, int col) {
    if (row >= 1) setCurrentCell(row, col);
    mouseRow_ = row;
    mouseCol_ = col;
    if (onClick) onClick();
}

QPoint FlexGrid::noteMouse(const QWidget* from, const QPoint& pos, bool overHeading) {
    if (overHeading) {
        mouseRow_ = 0;
        mouseCol_ = horizontalHeader()->logicalIndexAt(pos.x());
    } else {
        mouseRow_ = rowAt(pos.y());
        mouseCol_ = columnAt(pos.x());
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
    QTableWidget::mousePressEvent(e);
    userMove_ = 0;
    mouseEvent(e, false);
}

void FlexGrid::keyPressEvent(QKeyEvent* e) {
    userMove_ = 2;
    QTableWidget::keyPressEvent(e);
    userMove_ = 0;
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (userMove_ && current.row() != previous.row() && onRowChange) onRowChange(userMove_ == 1);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
    QTableWidget::mouseReleaseEvent(e);
    mouseEvent(e, false);
}

void FlexGrid::mouseMoveEvent(QMouseEvent* e) {
    QTableWidget::mouseMoveEvent(e);
    mouseEvent(e, false);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableWidget::mouseDoubleClickEvent(e);
    mouseEvent(e, false);
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
    return QTableWidget::eventFilter(watched, e);
}
