#include "Forms/Planer/frmPlaner.h"

#include "Forms/Calendar/frmClndr.h"
#include "Forms/Main/frmChoice.h"
#include "Modules/modLanguage.h"
#include "Modules/modMain.h"
#include "Modules/modPlaner.h"
#include "Platform/App.h"
#include "Platform/Clock.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/Memory.h"
#include "Platform/MsgBox.h"
#include "Platform/Problem.h"
#include "Platform/QuotedLines.h"
#include "Platform/SaveError.h"
#include "Platform/UpDown.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QKeyEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTextDocument>

// Q_INIT_RESOURCE must stand outside any namespace.
static void initPlanerResources() { Q_INIT_RESOURCE(planer); }

class frmPlaner* frmPlaner() { return touchForm<class frmPlaner>(); }

void SetLangPlaner(class frmPlaner* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Planer"));
    frm->fraToDo->setCaption(QStringLiteral("Merkliste"));
    frm->lblNext->setCaption(QString::fromUtf8("Demnächst"));
    frm->lblDate->setCaption(QStringLiteral("Datum"));
    frm->lblPY->setCaption(QStringLiteral("Rang"));
    frm->lblName->setCaption(QStringLiteral("Beschreibung"));
    frm->lblToDo->setCaption(QStringLiteral("Beschreibung"));
    frm->cmdAdd->setCaption(QStringLiteral("&Hinzu"));
    frm->cmdAddToDo->setCaption(QStringLiteral("Hin&zu"));
    frm->cmdSave->setCaption(QStringLiteral("&Sichern"));
    frm->cmdSaveToDo->setCaption(QStringLiteral("S&ichern"));
    frm->cmdDel->setCaption(QStringLiteral("&Entf"));
    frm->cmdDelToDo->setCaption(QStringLiteral("E&ntf"));
}

namespace {
const QString kPlanerFile = QStringLiteral("Planer.qem");
const QString kToDoFile = QStringLiteral("ToDo.qem");

QFont face(double size = 12) { return Fonts::font(QStringLiteral("Haettenschweiler"), size); }

Label* caption(const QString& text, QWidget* parent, double left, double top, double width) {
    auto* l = new Label(text, parent);
    l->setFont(face());
    Form::place(l, left, top, width, 255);
    return l;
}

TextBox* box(QWidget* parent, double left, double top, double width) {
    auto* t = new TextBox(parent);
    t->setFont(face());
    Form::place(t, left, top, width, 345);
    return t;
}

PictureButton* button(const QString& text, QWidget* parent, double left, double top, double width) {
    auto* b = new PictureButton(text, parent);
    b->setFont(face());
    Form::place(b, left, top, width, 375);
    return b;
}

QListWidget* list(QWidget* parent, double left, double top, double width, double height) {
    auto* l = new QListWidget(parent);
    l->setFont(Fonts::font(QStringLiteral("Courier New"), 8, true));
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    Form::place(l, left, top, width, height);
    return l;
}

QString entries(int n) { return QString::number(n) + L(QStringLiteral(" Entries"), QString::fromUtf8(" Einträge")); }

// A tooltip of `text` as it stands. A tooltip that may be markup is read as
// markup: an event named "<h1>Big</h1>" would show as a heading.
QString plainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

// The character codes of the digits, Backspace and Enter.
bool isDigit(int code) { return code >= 48 && code <= 57; }
constexpr int kBackspace = 8, kEnter = 13;
} // namespace

// The rows of lst1: the window's keyed events, each row's text made when
// it is asked for. The window changes the events between the calls that
// tell the view.
class KeyedRows : public QAbstractListModel {
public:
    KeyedRows(const QList<Events::Keyed>& keyed, QObject* parent) : QAbstractListModel(parent), keyed_(keyed) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(keyed_.size()); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= keyed_.size()) return {};
        if (role == Qt::DisplayRole) return keyed_[index.row()].text();
        if (role == Qt::UserRole) return keyed_[index.row()].link;
        return {};
    }
    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void beginInsert(int row) { beginInsertRows({}, row, row); }
    void endInsert() { endInsertRows(); }
    void beginRemove(int row) { beginRemoveRows({}, row, row); }
    void endRemove() { endRemoveRows(); }

private:
    const QList<Events::Keyed>& keyed_;
};

frmPlaner::frmPlaner() {
    initPlanerResources();
    setCaption(QStringLiteral("QEM Planer"));

    // The captions of the boxes stand below the frames' bold titles.
    fraSHOW = new Frame(QStringLiteral("Planer"), this);
    fraSHOW->setFont(face());
    place(fraSHOW, 120, 120, 4920, 5160);
    lblDate = caption(QStringLiteral("Date"), fraSHOW, 120, 390, 1320);
    txtDate = box(fraSHOW, 120, 630, 1320);
    lblName = caption(QStringLiteral("Description"), fraSHOW, 1560, 390, 3000);
    txtName = box(fraSHOW, 1560, 630, 3240);
    cmdAdd = button(QStringLiteral("&Add"), fraSHOW, 120, 1020, 1480);
    cmdDel = button(QStringLiteral("&Delete"), fraSHOW, 1720, 1020, 1480);
    cmdSave = button(QStringLiteral("&Save"), fraSHOW, 3320, 1020, 1480);
    lstSHOW = list(fraSHOW, 120, 1500, 4680, 2280);
    lstSHOWeu = list(fraSHOW, 120, 1500, 4680, 2280);
    // Every line of the fixed-pitch event lists has one height: an added or
    // deleted event then lays out the list without measuring every line,
    // which takes a second with many events.
    for (QListWidget* l : {lstSHOW, lstSHOWeu}) l->setUniformItemSizes(true);
    // The first activation decides; until then the buttons find a list.
    // The list not in use is hidden, not only covered, so that neither Tab
    // nor a screen reader finds it.
    lst = lstSHOW;
    lstSHOWeu->setVisible(false);
    lblCount = new Label(QString(), fraSHOW);
    lblCount->setFont(Fonts::font(QStringLiteral("Arial Black"), 8));
    place(lblCount, 120, 3840, 3000, 285);
    lblNext = new Label(QStringLiteral("Upcoming"), fraSHOW);
    lblNext->setFont(Fonts::font(QStringLiteral("Arial Narrow"), 10));
    place(lblNext, 120, 4200, 3000, 285);
    cboNext = new QComboBox(fraSHOW);
    cboNext->setFont(Fonts::font(QStringLiteral("Arial Narrow"), 10));
    place(cboNext, 120, 4500, 4320, 375);
    UpDown = new class UpDown(fraSHOW);
    UpDown->setMin(0);
    UpDown->setMax(Events::maxLookAhead);
    UpDown->setIncrement(1);
    place(UpDown, 4545, 4440, 255, 480);
    // Each box is announced by its caption.
    lblNext->setBuddy(UpDown);
    lblDate->setBuddy(txtDate);
    lblName->setBuddy(txtName);
    lst1 = new QListView(this);
    lst1->setVisible(false);
    keyedRows_ = new KeyedRows(keyed_, lst1);
    lst1->setModel(keyedRows_);

    fraToDo = new Frame(QStringLiteral("To-Do List"), this);
    fraToDo->setFont(face());
    place(fraToDo, 5160, 120, 4560, 5160);
    lblPY = caption(QStringLiteral("Priority"), fraToDo, 120, 390, 780);
    txtPY = box(fraToDo, 120, 630, 780);
    txtPY->setMaxLength(2);
    lblPY->setBuddy(txtPY);
    lblToDo = caption(QStringLiteral("Description"), fraToDo, 1020, 390, 3000);
    txtToDo = box(fraToDo, 1020, 630, 3420);
    lblToDo->setBuddy(txtToDo);
    cmdAddToDo = button(QStringLiteral("A&dd"), fraToDo, 120, 1020, 1360);
    cmdDelToDo = button(QStringLiteral("D&elete"), fraToDo, 1600, 1020, 1360);
    cmdSaveToDo = button(QStringLiteral("S&ave"), fraToDo, 3080, 1020, 1360);
    lstToDo = list(fraToDo, 120, 1500, 3840, 3300);
    cmdUp = button(QString(), fraToDo, 4020, 1500, 420);
    cmdUp->setPicture(QPixmap(QStringLiteral(":/planer/up.png")));
    place(cmdUp, 4020, 1500, 420, 420);
    cmdDown = button(QString(), fraToDo, 4020, 1980, 420);
    cmdDown->setPicture(QPixmap(QStringLiteral(":/planer/down.png")));
    place(cmdDown, 4020, 1980, 420, 420);
    lblCountToDo = new Label(QString(), fraToDo);
    lblCountToDo->setFont(Fonts::font(QStringLiteral("Arial Black"), 8));
    place(lblCountToDo, 120, 4800, 3000, 285);
    setClientSizeTwips(9840, 5400);
    setFixedSize(size());

    txtDate->onKeyPress = [this](int& KeyAscii) { txtDate_KeyPress(KeyAscii); };
    txtName->onKeyPress = [this](int& KeyAscii) { txtName_KeyPress(KeyAscii); };
    txtPY->onKeyPress = [this](int& KeyAscii) { txtPY_KeyPress(KeyAscii); };
    txtToDo->onKeyPress = [this](int& KeyAscii) { txtToDo_KeyPress(KeyAscii); };
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { PlanerSave(); });
    UpDown->onChange = [this] { UpDown_Change(); };
    // activated: only the user's own pick, never a selection the program makes.
    connect(cboNext, &QComboBox::activated, this, [this] { cboNext_Click(); });
    // A next event too long for the box is read in full in its tooltip; a
    // reader, which would speak the tooltip's markup, gets the text itself.
    connect(cboNext, &QComboBox::currentTextChanged, cboNext, [this](const QString& text) {
        cboNext->setToolTip(plainToolTip(text));
        cboNext->setAccessibleDescription(text);
    });
    connect(lstSHOW, &QListWidget::itemClicked, this, [this] { lstSHOW_Click(); });
    connect(lstSHOWeu, &QListWidget::itemClicked, this, [this] { lstSHOWeu_Click(); });
    lstSHOW->installEventFilter(this);
    lstSHOWeu->installEventFilter(this);
    connect(cmdAddToDo, &QPushButton::clicked, this, [this] { cmdAddToDo_Click(); });
    connect(cmdDelToDo, &QPushButton::clicked, this, [this] { cmdDelToDo_Click(); });
    connect(cmdSaveToDo, &QPushButton::clicked, this, [this] { PlanerSaveToDo(); });
    connect(cmdUp, &QPushButton::clicked, this, [this] { cmdUp_Click(); });
    connect(cmdDown, &QPushButton::clicked, this, [this] { cmdDown_Click(); });
}

void frmPlaner::Form_Load() {
    if (isFormLoaded<class frmChoice>()) frmChoice()->setVisible(false);
    SetLangPlaner(this);
    const auto name = [](QWidget* w, const QString& english, const QString& german) {
        w->setAccessibleName(L(english, german));
    };
    for (PictureButton* b : {cmdAdd, cmdDel, cmdSave, cmdAddToDo, cmdDelToDo, cmdSaveToDo})
        b->setAccessibleName(captionText(b->Caption()));
    name(txtDate, QStringLiteral("Date"), QStringLiteral("Datum"));
    name(txtName, QStringLiteral("Description"), QStringLiteral("Beschreibung"));
    name(lstSHOW, QStringLiteral("Planer"), QStringLiteral("Planer"));
    name(lstSHOWeu, QStringLiteral("Planer"), QStringLiteral("Planer"));
    nameNextEvents();
    name(txtPY, QStringLiteral("Priority"), QStringLiteral("Rang"));
    name(txtToDo, QStringLiteral("Description"), QStringLiteral("Beschreibung"));
    name(cmdUp, QStringLiteral("Up"), QStringLiteral("Nach oben"));
    name(cmdDown, QStringLiteral("Down"), QStringLiteral("Nach unten"));
    name(lstToDo, QStringLiteral("To-Do List"), QStringLiteral("Merkliste"));
    // The calendar reads the selected event through this; the window may be
    // gone by then, so it asks for the window instead of keeping it.
    frmClndr::planerSelectedEntry = [](bool european) {
        if (!isFormLoaded<class frmPlaner>()) return QString();
        const QListWidget* l = european ? ::frmPlaner()->lstSHOWeu : ::frmPlaner()->lstSHOW;
        const QList<QListWidgetItem*> selected = l->selectedItems();
        return selected.isEmpty() ? QString() : selected.first()->text();
    };
}

void frmPlaner::Form_Activate() {
    // Once per opening: coming back from the calendar must not load the
    // files again over changes not saved.
    if (activated_) return;
    activated_ = true;
    if (DateToday(QStringLiteral("Medium")).mid(2, 1) == QLatin1String(".")) {
        lst = lstSHOWeu;
        DateSeparator = QStringLiteral(".");
        PlanerLoadEu();
    } else {
        lst = lstSHOW;
        DateSeparator = QStringLiteral("/");
        PlanerLoad();
    }
    lstSHOW->setVisible(lst == lstSHOW);
    lstSHOWeu->setVisible(lst == lstSHOWeu);
    lst->raise();
    PlanerLoadToDo();
    showCount();
    showCountToDo();
    FindNextTarget(this);
    // The next events count the days from today: a new day keys them again.
    auto* watch = new Clock::DayWatch(this);
    connect(watch, &Clock::DayWatch::dayChanged, this,
            [this] { Problem::trap(QStringLiteral("FindNextTarget"), [this] { FindNextTarget(this); }); });
}

// ---- the lists and their files ---------------------------------------------

namespace {
// An event's list item, its text and link number (its data of Qt::UserRole)
// held in itself: kept by the toolkit, they take an allocation of their
// own per item, half again the memory of a long list.
class LinkedItem : public QListWidgetItem {
public:
    LinkedItem(const QString& text, int link) : QListWidgetItem(nullptr, UserType), text_(text), link_(link) {}
    QVariant data(int role) const override {
        if (role == Qt::DisplayRole || role == Qt::EditRole) return shown();
        if (role == Qt::UserRole) return link_;
        return QListWidgetItem::data(role);
    }
    void setData(int role, const QVariant& value) override {
        if (role == Qt::UserRole) {
            link_ = value.toInt();
        } else if (role == Qt::DisplayRole || role == Qt::EditRole) {
            text_ = kept(value.toString());
            if (QListWidget* l = listWidget()) l->viewport()->update();
        } else {
            QListWidgetItem::setData(role, value);
        }
    }
    QListWidgetItem* clone() const override { return new LinkedItem(*this); }

protected:
    virtual QString shown() const { return text_; }
    virtual QString kept(const QString& text) const { return text; }
    QString text_;

private:
    int link_;
};

// A European twin: it keeps its event's US line, shared with the US item,
// and shows the European form made from it when asked, so a long list's
// lines are held once.
class TwinItem : public LinkedItem {
public:
    TwinItem(const QString& usLine, int link) : LinkedItem(usLine, link) {}
    QListWidgetItem* clone() const override { return new TwinItem(*this); }

protected:
    QString shown() const override {
        const QDate date = Events::dateOf(text_);
        return date.isValid() ? Events::line(date, Events::nameOf(text_), true) : text_;
    }
    QString kept(const QString& text) const override {
        const QDate date = Events::dateOf(text);
        return date.isValid() ? Events::line(date, Events::nameOf(text), false) : text;
    }
};
} // namespace

int frmPlaner::linkOf(const QListWidgetItem* item) { return item->data(Qt::UserRole).toInt(); }

QStringList frmPlaner::texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

int frmPlaner::addSorted(QListWidget* list, const QString& text, int link) {
    // After every line that does not come after it, found by halving the sorted list.
    int row = 0, end = list->count();
    while (row < end) {
        const int middle = row + (end - row) / 2;
        if (Events::lessThan(text, list->item(middle)->text())) end = middle;
        else row = middle + 1;
    }
    list->insertItem(row, new LinkedItem(text, link));
    return row;
}

void frmPlaner::fillLinked(QListWidget* list, const QStringList& lines, int firstLink, bool twins) {
    // Item by item at the end: as fast as the list's own insertion of all
    // texts at once, which makes items without their link numbers.
    for (int i = 0; i < lines.size(); ++i)
        list->addItem(twins ? new TwinItem(lines[i], firstLink + i) : new LinkedItem(lines[i], firstLink + i));
}

int frmPlaner::findLink(const QListWidget* list, int link) {
    for (int i = 0; i < list->count(); ++i)
        if (linkOf(list->item(i)) == link) return i;
    return -1;
}

void frmPlaner::addEvent(const QDate& date, const QString& name) {
    const int link = ++lastLink_;
    const QString usLine = Events::line(date, name, false);
    addSorted(lstSHOW, usLine, link);
    // The European list keeps its items where they are added.
    if (DateSeparator == QLatin1String(".")) lstSHOWeu->addItem(new TwinItem(usLine, link));
    keyEvent({usLine, link});
}

void frmPlaner::showCount() { lblCount->setCaption(entries(lst ? lst->count() : 0)); }
void frmPlaner::showCountToDo() { lblCountToDo->setCaption(entries(lstToDo->count())); }

QuotedLines::Contents frmPlaner::readFile(const QString& name, const QString& label, QuotedLines::Kept& kept) {
    QString why;
    bool damaged = false;
    int number = 0;
    std::optional<QuotedLines::Contents> file =
        QuotedLines::readKept(App::dataFile(name), &why, &damaged, &number, &kept);
    if (damaged) ShowDamagedFile(name);
    else if (!file && !why.isEmpty()) ShowProblem(label, number, why);
    // A missing file is an empty list.
    return file.value_or(QuotedLines::Contents());
}

void frmPlaner::tellSetAside(const QString& name, const QuotedLines::Contents& file) {
    if (!file.setAside.isEmpty()) ShowSetAside(name, file.setAside.size());
}

namespace {
// What a save of the list costs at least while it is written: the lines
// gathered, and the file's text built from them before it is written.
qint64 saveCost(const QListWidget* list) {
    qint64 characters = 0;
    for (int i = 0; i < list->count(); ++i) characters += list->item(i)->text().size();
    constexpr qint64 perLine = qint64(sizeof(QString)) + 4;
    return list->count() * perLine + characters * qint64(sizeof(QChar) + 1);
}
} // namespace

bool frmPlaner::writeFile(const QString& name, const QListWidget* list, const QuotedLines::Kept& kept,
                          const QString& label) {
    bool written = false;
    // A save that cannot be built leaves the list and the file as they are.
    Problem::trap(label, [&] {
        Memory::reserve(saveCost(list));
        QStringList values;
        values.reserve(list->count());
        for (int i = 0; i < list->count(); ++i)
            if (const QString l = list->item(i)->text(); !l.isEmpty()) values << l;
        QString why;
        int number = 0;
        written = QuotedLines::write(App::dataFile(name, App::Access::Write), values, &why, &number, kept);
        if (!written) ShowProblem(label, number, why);
    });
    return written;
}

namespace {
// What a list of `rows` events costs at least, held in the window: per
// event its list item with its text, and its keyed twin; with the European
// form its second item. Asked for before the lists are built, so that a
// list that cannot be held is refused whole instead of failing half-built.
qint64 eventsCost(qsizetype rows, bool european) {
    constexpr qint64 perItem = 160, perKeyed = 64;
    return qint64(rows) * (perItem * (european ? 2 : 1) + perKeyed);
}
} // namespace

void frmPlaner::fillEvents(bool european) {
    lstSHOW->clear();
    lstSHOWeu->clear();
    keyedOn_ = QDate();
    PlanerChanged = false;
    const QString routine = QStringLiteral("PlanerLoad");
    QuotedLines::Contents file = readFile(kPlanerFile, routine, eventsKept_);
    const bool loaded = Problem::trap(routine, [&] {
        Memory::reserve(eventsCost(file.values.size(), european));
        // Sorted once and added at once: inserting each line at its place
        // would cost a search per line.
        const QStringList lines = Events::fromFile(file, european);
        eventsKept_.setAside = file.setAside;
        fillLinked(lstSHOW, lines, lastLink_ + 1);
        // The European twins in the order of the sorted US list, under the same numbers.
        if (european) fillLinked(lstSHOWeu, lines, lastLink_ + 1, true);
        lastLink_ += int(lines.size());
    }, [&] {
        // An empty list of a file that holds events: a save would erase
        // them, so the window holds the file as not read.
        lstSHOW->clear();
        lstSHOWeu->clear();
        eventsKept_.unread = Err::outOfMemory();
    });
    if (loaded) tellSetAside(kPlanerFile, file);
    txtDate->setFocus();
}

// Both forms read a file of either form: a line shows its form by its
// third character, and the next save writes every line in the form in use.
void frmPlaner::PlanerLoad() { fillEvents(false); }
void frmPlaner::PlanerLoadEu() { fillEvents(true); }

void frmPlaner::PlanerLoadToDo() {
    lstToDo->clear();
    ToDoChanged = false;
    const QString routine = QStringLiteral("PlanerLoadToDo");
    QuotedLines::Contents file = readFile(kToDoFile, routine, toDoKept_);
    const bool loaded = Problem::trap(routine, [&] {
        lstToDo->addItems(ToDo::fromFile(file));
        toDoKept_.setAside = file.setAside;
    }, [&] {
        lstToDo->clear();
        toDoKept_.unread = Err::outOfMemory();
    });
    if (loaded) tellSetAside(kToDoFile, file);
    txtPY->setFocus();
}

void frmPlaner::PlanerSave() {
    saveFailed_ = false;
    if (MsgBox(L(QStringLiteral("Are you sure"), QStringLiteral("Sind Sie sicher")), vbYesNo | vbQuestion) == vbYes) {
        // The flag stays set until the file holds the list.
        if (writeFile(kPlanerFile, lst, eventsKept_, QStringLiteral("PlanerSave"))) PlanerChanged = false;
        else saveFailed_ = true;
    }
    txtDate->setFocus();
}

void frmPlaner::PlanerSaveToDo() {
    saveFailed_ = false;
    if (MsgBox(L(QStringLiteral("Are you sure"), QStringLiteral("Sind Sie sicher")), vbYesNo | vbQuestion) == vbYes) {
        if (writeFile(kToDoFile, lstToDo, toDoKept_, QStringLiteral("PlanerSaveToDo"))) ToDoChanged = false;
        else saveFailed_ = true;
    }
    txtPY->setFocus();
}

// ---- events ------------------------------------------------------------------

void frmPlaner::txtDate_KeyPress(int& KeyAscii) {
    if (KeyAscii == kEnter) {
        KeyAscii = 0;
        txtName->setFocus();
        return;
    }
    const bool separator = KeyAscii == DateSeparator.at(0).unicode();
    if (!isDigit(KeyAscii) && KeyAscii != kBackspace && !separator) KeyAscii = 0;
}

void frmPlaner::txtName_KeyPress(int& KeyAscii) {
    if (KeyAscii != kEnter) return;
    KeyAscii = 0;
    cmdAdd_Click();
}

void frmPlaner::cmdAdd_Click() { PlanerAdd(this); }

void frmPlaner::cmdDel_Click() {
    const QList<QListWidgetItem*> selected = lst->selectedItems();
    if (!selected.isEmpty()) {
        const int link = linkOf(selected.first());
        delete lst->takeItem(lst->row(selected.first()));
        QListWidget* other = lst == lstSHOW ? lstSHOWeu : lstSHOW;
        const int twin = findLink(other, link);
        if (twin >= 0) delete other->takeItem(twin);
        unkeyEvent(link);
        lst->setCurrentRow(-1);
        showCount();
        FindNextTarget(this);
    }
    txtDate->setFocus();
    PlanerChanged = true;
}

void frmPlaner::UpDown_Change() {
    lblNext->setCaption(Events::lookAheadLabel(UpDown->Value(), isGerman()));
    nameNextEvents();
    FindNextTarget(this);
}

void frmPlaner::nameNextEvents() {
    UpDown->setAccessibleName(captionText(lblNext->Caption()));
    cboNext->setAccessibleName(captionText(lblNext->Caption()));
}

void frmPlaner::setKeyed(const QList<Events::Keyed>& keyed, const QDate& today) {
    keyedRows_->beginReset();
    keyed_ = keyed;
    keyedRows_->endReset();
    keyedOn_ = today;
    removeNextEvents(0, cboNext->count());
}

void frmPlaner::keyEvent(const Events::Entry& event) {
    if (!keyedOn_.isValid()) return;
    const std::optional<Events::Keyed> k = Events::keyedEvent(event, keyedOn_);
    if (!k) return;
    const qsizetype at = Events::keyedPosition(keyed_, *k);
    keyedRows_->beginInsert(int(at));
    keyed_.insert(at, *k);
    keyedRows_->endInsert();
    // cboNext holds the first keyed events: the new one is among them when
    // it comes before their end; showNextEvents then takes off or adds the last.
    if (at < cboNext->count()) insertNextEvents(at, at + 1);
}

void frmPlaner::unkeyEvent(int link) {
    const auto k = std::find_if(keyed_.cbegin(), keyed_.cend(), [&](const Events::Keyed& e) { return e.link == link; });
    if (k == keyed_.cend()) return;
    const qsizetype at = k - keyed_.cbegin();
    keyedRows_->beginRemove(int(at));
    keyed_.removeAt(at);
    keyedRows_->endRemove();
    if (at < cboNext->count()) removeNextEvents(at, at + 1);
}

void frmPlaner::showNextEvents(int lookAhead, bool german) {
    // The words of the items change with the language, and between a
    // look-ahead of 0 and more; otherwise the items stay and the look-ahead
    // only decides how many.
    if ((lookAhead == 0) != (shownLookAhead_ == 0) || german != shownGerman_) removeNextEvents(0, cboNext->count());
    shownLookAhead_ = lookAhead;
    shownGerman_ = german;
    const qsizetype count = Events::shownCount(keyed_, lookAhead);
    if (count < cboNext->count()) removeNextEvents(count, cboNext->count());
    else insertNextEvents(cboNext->count(), count);
    fitNextEvents();
    // Only the user's own pick selects the event in the list.
    if (cboNext->count() > 0) cboNext->setCurrentIndex(0);
}

void frmPlaner::insertNextEvents(qsizetype from, qsizetype to) {
    if (from >= to) return;
    const QFontMetrics metrics(cboNext->view()->font());
    QList<QStandardItem*> items;
    items.reserve(to - from);
    shownWidths_.insert(from, to - from, 0);
    for (qsizetype i = from; i < to; ++i) {
        const QString text = Events::shownText(keyed_[i], shownLookAhead_, shownGerman_);
        // The item as QComboBox::addItem makes it, with its data before it
        // enters the list: all items go in at once.
        auto* item = new QStandardItem(text);
        item->setData(keyed_[i].link, Qt::UserRole);
        items << item;
        shownWidths_[i] = metrics.horizontalAdvance(text);
    }
    qobject_cast<QStandardItemModel*>(cboNext->model())->invisibleRootItem()->insertRows(int(from), items);
}

void frmPlaner::removeNextEvents(qsizetype from, qsizetype to) {
    if (from >= to) return;
    cboNext->model()->removeRows(int(from), int(to - from));
    shownWidths_.remove(from, to - from);
}

void frmPlaner::fitNextEvents() {
    // The drop-down list is as wide as its longest text; the box keeps its place.
    QAbstractItemView* view = cboNext->view();
    const QFontMetrics metrics(view->font());
    const int widest = shownWidths_.isEmpty() ? 0 : *std::max_element(shownWidths_.cbegin(), shownWidths_.cend());
    // Room for the item's margins, the frame and a scroll bar.
    const int scrollBar = view->verticalScrollBar()->sizeHint().width();
    view->setMinimumWidth(widest + 2 * metrics.averageCharWidth() + 2 * view->frameWidth() + scrollBar);
}

void frmPlaner::cboNext_Click() {
    const int row = findLink(lst, cboNext->currentData().toInt());
    if (row >= 0) lst->setCurrentRow(row);
}

void frmPlaner::showCalendar() {
    frmClndr::FromPlaner = true;
    frmClndr()->Show(vbModal);
}

void frmPlaner::lstSHOW_Click() {
    const QList<QListWidgetItem*> selected = lstSHOW->selectedItems();
    if (selected.isEmpty() || !Events::dateOf(selected.first()->text()).isValid()) return;
    showCalendar();
}

void frmPlaner::lstSHOWeu_Click() {
    const QList<QListWidgetItem*> selected = lstSHOWeu->selectedItems();
    if (selected.isEmpty() || !Events::dateOf(selected.first()->text()).isValid()) return;
    // The calendar reads the US list where the zone's dates are month first.
    const int twin = findLink(lstSHOW, linkOf(selected.first()));
    if (twin < 0) return;
    lstSHOW->setCurrentRow(twin);
    showCalendar();
}

bool frmPlaner::eventFilter(QObject* watched, QEvent* e) {
    // Enter on an event shows its day, as a click does.
    if ((watched == lstSHOW || watched == lstSHOWeu) && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Tabbed into, the list has a current item that is not yet
            // selected: Enter acts on the item with the focus frame.
            QListWidgetItem* current = static_cast<QListWidget*>(watched)->currentItem();
            if (current && !current->isSelected()) current->setSelected(true);
            if (watched == lstSHOW) lstSHOW_Click();
            else lstSHOWeu_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, e);
}

// ---- to-do list --------------------------------------------------------------

void frmPlaner::txtPY_KeyPress(int& KeyAscii) {
    if (KeyAscii == kEnter) {
        KeyAscii = 0;
        txtToDo->setFocus();
        return;
    }
    if (!isDigit(KeyAscii) && KeyAscii != kBackspace) KeyAscii = 0;
}

void frmPlaner::txtToDo_KeyPress(int& KeyAscii) {
    if (KeyAscii != kEnter) return;
    KeyAscii = 0;
    cmdAddToDo_Click();
}

void frmPlaner::cmdAddToDo_Click() { PlanerAddToDo(this); }

void frmPlaner::refillToDo(const QStringList& lines, int selected) {
    lstToDo->clear();
    lstToDo->addItems(lines);
    lstToDo->setCurrentRow(selected);
}

void frmPlaner::cmdDelToDo_Click() {
    const QList<QListWidgetItem*> selected = lstToDo->selectedItems();
    if (selected.isEmpty()) return;
    refillToDo(ToDo::afterDelete(texts(lstToDo), lstToDo->row(selected.first())), -1);
    showCountToDo();
    txtPY->setFocus();
    ToDoChanged = true;
}

void frmPlaner::cmdUp_Click() {
    const QList<QListWidgetItem*> selected = lstToDo->selectedItems();
    const int s = selected.isEmpty() ? -1 : lstToDo->row(selected.first());
    if (s < 1) return;
    int moved = -1;
    const QStringList lines = ToDo::swapRanks(texts(lstToDo), s, s - 1, &moved);
    refillToDo(lines, moved);
    ToDoChanged = true;
}

void frmPlaner::cmdDown_Click() {
    const QList<QListWidgetItem*> selected = lstToDo->selectedItems();
    if (selected.isEmpty()) return;
    const int s = lstToDo->row(selected.first());
    if (s >= lstToDo->count() - 1) return;
    int moved = -1;
    const QStringList lines = ToDo::swapRanks(texts(lstToDo), s, s + 1, &moved);
    refillToDo(lines, moved);
    ToDoChanged = true;
}

// ---- closing -------------------------------------------------------------------

void frmPlaner::Form_QueryUnload(int& Cancel, int) {
    if (!PlanerChanged && !ToDoChanged) return;
    if (MsgBox(L(QStringLiteral("You have made changes. Would you like to save those"),
                 QString::fromUtf8("Sie haben Änderungen vorgenommen. Möchten Sie diese sichern")),
               vbYesNo | vbQuestion) != vbYes)
        return;
    bool failed = false;
    if (PlanerChanged) {
        PlanerSave();
        failed = saveFailed_;
    }
    if (ToDoChanged) {
        PlanerSaveToDo();
        failed = failed || saveFailed_;
    }
    // The user asked to keep the changes and the file did not take them:
    // the window stays open with the lists as they are.
    if (failed) Cancel = 1;
}

void frmPlaner::Form_Unload(int&) {
    lst = nullptr;
    frmClndr::planerSelectedEntry = nullptr;
    if (isFormLoaded<class frmClndr>()) frmClndr()->Unload();
    frmClndr::FromPlaner = false;
    ShowMainMenu();
}
