#include "Platform/MonthView.h"

#include "Platform/Keys.h"
#include "Platform/Runtime.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPointer>

namespace {
// A cell of the grid of days as readers know it: a day is named by its full
// date (day name, day, month and year by the regional settings), so that a
// reader tells the date as the focus moves; the row of day names holds the
// column headers.
class AccessibleDay : public QAccessibleInterface {
public:
    AccessibleDay(QAbstractItemView* view, int row, int column) : view_(view), row_(row), column_(column) {}

    bool isValid() const override {
        return view_ && view_->model() && row_ < view_->model()->rowCount() && column_ < view_->model()->columnCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QAccessible::Role role() const override { return date().isValid() ? QAccessible::Cell : QAccessible::ColumnHeader; }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid()) return QString();
        const QDate day = date();
        return day.isValid() ? calendar()->locale().toString(day, QLocale::LongFormat) : shown();
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = view_->visualRect(index());
        return QRect(view_->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid() || !date().isValid()) return s;
        s.focusable = s.selectable = true;
        s.focused = view_->hasFocus() && view_->currentIndex() == index();
        s.selected = view_->selectionModel() && view_->selectionModel()->isSelected(index());
        return s;
    }

private:
    QModelIndex index() const { return view_->model()->index(row_, column_); }
    QString shown() const { return index().data().toString(); }
    const QCalendarWidget* calendar() const { return static_cast<const QCalendarWidget*>(view_->parentWidget()); }
    // The grid shows the day numbers of six weeks: days of the month before
    // in its first week, of the month after in its last two.
    QDate date() const {
        bool isDay = false;
        const int day = shown().toInt(&isDay);
        if (!isDay) return {};
        int week = 0;
        for (int r = 0; r < row_; ++r) week += view_->model()->index(r, column_).data().toString().toInt() > 0;
        QDate month(calendar()->yearShown(), calendar()->monthShown(), 1);
        if (week == 0 && day > 7) month = month.addMonths(-1);
        else if (week >= 4 && day <= 14) month = month.addMonths(1);
        return QDate(month.year(), month.month(), day);
    }

    QPointer<QAbstractItemView> view_;
    int row_, column_;
};

// The grid of days as readers know it: a table of the cells above, numbered
// as the toolkit numbers the cells of a table (a place for its hidden
// headers first), so that the view's notice of a focus move names the day.
// A cell is a day of the month shown: another month has cells of its own,
// so that a reader, told of the focus on a day of the new month, speaks it
// also where it stands in the place of the day it had before.
class AccessibleDays : public QAccessibleWidget {
public:
    explicit AccessibleDays(QAbstractItemView* view) : QAccessibleWidget(view, QAccessible::Table) {}
    ~AccessibleDays() override { forgetCells(); }
    QAbstractItemView* view() const { return static_cast<QAbstractItemView*>(widget()); }

    int childCount() const override {
        const QAbstractItemModel* m = view()->model();
        return m ? (m->rowCount() + 1) * (m->columnCount() + 1) : 0;
    }
    QAccessibleInterface* child(int i) const override {
        const QAbstractItemModel* m = view()->model();
        if (!m) return nullptr;
        const int row = i / (m->columnCount() + 1) - 1, column = i % (m->columnCount() + 1) - 1;
        if (row < 0 || column < 0 || row >= m->rowCount()) return nullptr;
        keepCellsCurrent();
        if (const QAccessible::Id id = cells_.value(i)) return QAccessible::accessibleInterface(id);
        auto* cell = new AccessibleDay(view(), row, column);
        cells_.insert(i, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int indexOfChild(const QAccessibleInterface* cell) const override {
        keepCellsCurrent();
        for (auto it = cells_.cbegin(); it != cells_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == cell) return it.key();
        return -1;
    }
    QAccessibleInterface* focusChild() const override { return cellOf(view()->currentIndex()); }
    QAccessibleInterface* childAt(int x, int y) const override {
        return cellOf(view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y))));
    }

private:
    QAccessibleInterface* cellOf(const QModelIndex& i) const {
        if (!i.isValid()) return nullptr;
        return child((i.row() + 1) * (i.model()->columnCount() + 1) + i.column() + 1);
    }
    // The cells known are those of the month and the layout shown: a cell
    // is a place in the grid by its number, and the numbers move when the
    // grid gains or loses a row or column (the week numbers go while the
    // calendar is being set up, perhaps after a reader asked for a day).
    void keepCellsCurrent() const {
        const QAbstractItemModel* m = view()->model();
        const auto* calendar = static_cast<const QCalendarWidget*>(view()->parentWidget());
        const Layout now{calendar->yearShown() * 12 + calendar->monthShown(), m ? m->rowCount() : 0,
                         m ? m->columnCount() : 0};
        if (now == layout_) return;
        forgetCells();
        layout_ = now;
    }
    void forgetCells() const {
        for (const QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }
    // The month whose days the cells are (year * 12 + month) and the
    // grid's rows and columns then.
    struct Layout {
        int month = 0, rows = 0, columns = 0;
        bool operator==(const Layout&) const = default;
    };
    mutable QHash<int, QAccessible::Id> cells_;
    mutable Layout layout_;
};

// The grid of days of a calendar, while the calendar is being built too:
// the toolkit makes a reader's view of the grid already then (and keeps
// it) when a reader listens.
QAccessibleInterface* accessibleDays(const QString& key, QObject* o) {
    if (key == QLatin1String("QCalendarView"))
        if (auto* view = qobject_cast<QAbstractItemView*>(o); view && qobject_cast<QCalendarWidget*>(view->parentWidget()))
            return new AccessibleDays(view);
    return nullptr;
}

// The parent, once the readers' view of the grid of days is known to the
// toolkit: it must be before the calendar is built.
QWidget* withAccessibleDays(QWidget* parent) {
    static const bool factory = (QAccessible::installFactory(accessibleDays), true);
    Q_UNUSED(factory);
    return parent;
}
} // namespace

MonthView::MonthView(QWidget* parent) : QCalendarWidget(withAccessibleDays(parent)) {
    setLocale(Runtime::locale());
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setGridVisible(false);
    // The grid of days is the calendar's focus proxy: every key typed
    // into the calendar reaches it first.
    grid_ = focusProxy();
    if (!grid_) grid_ = findChild<QAbstractItemView*>();
    if (grid_) grid_->installEventFilter(this);
    connect(this, &QCalendarWidget::clicked, this, [this](QDate date) {
        if (onDateClick) onDateClick(date);
    });
    connect(this, &QCalendarWidget::selectionChanged, this, &MonthView::describe);
    connect(this, &QCalendarWidget::currentPageChanged, this, &MonthView::describe);
    describe();
}

void MonthView::setDaysName(const QString& name) {
    setAccessibleName(name);
    if (grid_) grid_->setAccessibleName(name);
}

void MonthView::setMonthButtonNames(const QString& previous, const QString& next) {
    if (auto* b = findChild<QWidget*>(QStringLiteral("qt_calendar_prevmonth"))) b->setAccessibleName(previous);
    if (auto* b = findChild<QWidget*>(QStringLiteral("qt_calendar_nextmonth"))) b->setAccessibleName(next);
}

void MonthView::describe() {
    const QString day = locale().toString(selectedDate(), QLocale::LongFormat);
    setAccessibleDescription(day);
    if (grid_) grid_->setAccessibleDescription(day);
    const QString shown = locale().standaloneMonthName(monthShown()) + u' ' + QString::number(yearShown());
    for (const char* button : {"qt_calendar_prevmonth", "qt_calendar_nextmonth"})
        if (auto* b = findChild<QWidget*>(QLatin1String(button))) b->setAccessibleDescription(shown);
}

void MonthView::setValue(const QDate& date) {
    if (!date.isValid()) return;
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

bool MonthView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == grid_ && e->type() == QEvent::KeyPress && onKeyDown) {
        auto* key = static_cast<QKeyEvent*>(e);
        int code = Keys::keyCode(key);
        onKeyDown(code, Keys::shiftState(key->modifiers()));
        if (code == 0) return true;
    }
    return QCalendarWidget::eventFilter(watched, e);
}
