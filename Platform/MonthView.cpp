#include "Platform/MonthView.h"

#include "Platform/Keys.h"
#include "Platform/Runtime.h"

#include <QAbstractItemView>
#include <QKeyEvent>

MonthView::MonthView(QWidget* parent) : QCalendarWidget(parent) {
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
