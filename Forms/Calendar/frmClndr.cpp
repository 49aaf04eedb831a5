#include "Forms/Calendar/frmClndr.h"

#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Platform/Controls.h"
#include "Platform/Fonts.h"
#include "Platform/Keys.h"
#include "Platform/Runtime.h"

#include <QTextCharFormat>

class frmClndr* frmClndr() { return touchForm<class frmClndr>(); }

void SetLangClndr(class frmClndr* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("Kalender"));
}

namespace {
// The month view's place and size on the window, in twips.
constexpr double viewWidth = 4275, viewHeight = 4320;

} // namespace

frmClndr::frmClndr() {
    setCaption(QStringLiteral("Calendar"));
    mvClndr = new MonthView(this);
    mvClndr->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 18));
    // The day names in a smaller size, so that they fit their columns.
    QTextCharFormat dayNames = mvClndr->headerTextFormat();
    dayNames.setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 11));
    mvClndr->setHeaderTextFormat(dayNames);
    place(mvClndr, 0, 0, viewWidth, viewHeight);
    setClientSizeTwips(viewWidth + 10, viewHeight);
    mvClndr->onDateClick = [this](const QDate& DateClicked) { mvClndr_DateClick(DateClicked); };
    mvClndr->onKeyDown = [this](int& KeyCode, int Shift) { mvClndr_KeyDown(KeyCode, Shift); };
}

void frmClndr::Form_Load() {
    setFixedSize(px(mvClndr->width() * twipsPerPixel + 10), height());
    SetLangClndr(this);
    mvClndr->setMultiSelect(true);
    QDate day;
    if (FromBank && bankDateField) {
        if (const TextBox* field = bankDateField()) day = Runtime::dateBySettings(field->Text());
    }
    if (!day.isValid() && FromPlaner) {
        FromPlaner = false;
        // An entry that gives no day this year (29 February) opens on today.
        day = planerDay();
    }
    if (day.isValid()) mvClndr->setSelStart(day);
    else mvClndr->setValue(Runtime::dateInProgramForm(DateToday(QStringLiteral("medium"))));
    mvClndr->setMultiSelect(false);
}

void frmClndr::Form_Activate() {
    place(mvClndr, 0, 0, viewWidth, viewHeight);
    mvClndr->setFocus();
}

QDate frmClndr::planerDay() const {
    if (!planerSelectedEntry) return {};
    const QString entry = planerSelectedEntry(DateRegion == QLatin1String("Europe"));
    // Day and month with their separators, then this year from the menu's date.
    return Runtime::dateInProgramForm(entry.left(6) + frmChoice()->lblDate->Caption().mid(6, 4));
}

void frmClndr::mvClndr_DateClick(const QDate& DateClicked) {
    if (FromBank) pickForBank(DateClicked);
}

void frmClndr::mvClndr_KeyDown(int& KeyCode, int) {
    if (FromBank && KeyCode == Keys::vbKeyReturn) {
        KeyCode = 0;
        pickForBank(mvClndr->Value());
    }
}

void frmClndr::pickForBank(const QDate& day) {
    // The same short date form for a click and for Enter.
    if (bankDateField) {
        if (TextBox* field = bankDateField()) field->setTextValue(Runtime::shortDate(day));
    }
    Unload();
}
