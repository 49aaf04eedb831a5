#include "Forms/HangMan1P/frmHmDic.h"

#include "Modules/modHangman.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/QuotedLines.h"

#include <QDir>
#include <algorithm>

class frmHmDic* frmHmDic() { return touchForm<class frmHmDic>(); }

void SetLangHmDic(class frmHmDic* frm) {
    if (!isGerman()) return;
    frm->setCaption(QString::fromUtf8("Henker Wörterbuch"));
    frm->fraSHOW->setCaption(QString::fromUtf8("Henker Wörterbuch"));
    frm->fraEnter->setCaption(QStringLiteral("Wort-Eingabe"));
    frm->cmdAdd->setCaption(QStringLiteral("Wort Hinzu"));
    frm->cmdDel->setCaption(QString::fromUtf8("Wort Löschen"));
    frm->cmdSave->setCaption(QStringLiteral("Akt"));
    for (PictureButton* b : {frm->cmdAdd, frm->cmdDel, frm->cmdSave}) b->setAccessibleName(captionText(b->Caption()));
    frm->txtEnter->setAccessibleName(frm->fraEnter->Caption());
    frm->lstSHOW->setAccessibleName(frm->fraSHOW->Caption());
}

namespace HangmanDictionary {

QString path() { return App::dataFile(QStringLiteral("Hangman.qem")); }

std::optional<QuotedLines::Contents> read(bool* damaged, QString* error, int* number, QuotedLines::Kept* kept) {
    std::optional<QuotedLines::Contents> contents = QuotedLines::readKept(path(), error, damaged, number, kept);
    if (!contents) return std::nullopt;
    contents->setAsideIf([](const QString& v) { return !v.isEmpty() && !acceptable(v); });
    // An empty entry is none: left out, and each set-aside line stays
    // after the entries it followed.
    QStringList entries;
    QList<qsizetype> entriesBefore;
    for (const QString& v : std::as_const(contents->values)) {
        entriesBefore << entries.size();
        if (!v.isEmpty()) entries << v;
    }
    entriesBefore << entries.size();
    for (QuotedLines::SetAside& line : contents->setAside) line.before = entriesBefore[line.before];
    contents->values = entries;
    contents->asStood.clear();
    if (kept) kept->setAside = contents->setAside;
    return contents;
}

bool write(const QStringList& entries, const QuotedLines::Kept& kept, QString* error, int* number) {
    QStringList listed = entries;
    listed.removeAll(QString());
    return QuotedLines::write(App::dataFile(QStringLiteral("Hangman.qem"), App::Access::Write), listed, error, number,
                              kept);
}

bool allowedCharacter(QChar c) {
    // Only what the game's letter box and alphabet can enter.
    return c == u' ' || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool acceptable(const QString& entry) {
    if (entry.isEmpty() || entry.front() == u' ' || entry.back() == u' ') return false;
    return std::all_of(entry.begin(), entry.end(), allowedCharacter);
}

} // namespace HangmanDictionary

frmHmDic::frmHmDic() {
    setCaption(QStringLiteral("Hang Man Dictionary"));
    setFixedSize(480, 420);
    const QFont buttons = Fonts::font(QStringLiteral("Haettenschweiler"), 14);

    fraSHOW = new Frame(QStringLiteral("Hang Man Dictionary"), this);
    fraSHOW->setGeometry(10, 10, 250, 400);
    lstSHOW = new QListWidget(fraSHOW);
    lstSHOW->setGeometry(10, 25, 230, 330);
    // One line each: a long dictionary is laid out at once, not item by item.
    lstSHOW->setUniformItemSizes(true);
    lstSHOW->setAccessibleName(fraSHOW->Caption());
    lblCount = new Label(QString(), fraSHOW);
    lblCount->setGeometry(10, 360, 230, 30);
    lblCount->setFont(buttons);

    fraEnter = new Frame(QStringLiteral("Enter Word"), this);
    fraEnter->setGeometry(270, 10, 200, 80);
    txtEnter = new TextBox(fraEnter);
    txtEnter->setGeometry(10, 30, 180, 34);
    txtEnter->setFont(Fonts::font(QStringLiteral("Arial"), 12));
    txtEnter->setAccessibleName(fraEnter->Caption());

    cmdAdd = new PictureButton(QStringLiteral("Add Word"), this);
    cmdAdd->setGeometry(270, 100, 200, 34);
    cmdDel = new PictureButton(QStringLiteral("&Delete Word"), this);
    cmdDel->setGeometry(270, 142, 200, 34);
    cmdSave = new PictureButton(QStringLiteral("&Save"), this);
    cmdSave->setGeometry(270, 184, 200, 34);
    for (PictureButton* b : {cmdAdd, cmdDel, cmdSave}) {
        b->setFont(buttons);
        b->setAccessibleName(captionText(b->Caption()));
    }

    keepTextsInStep();

    txtEnter->onKeyPress = [this](int& KeyAscii) { txtEnter_KeyPress(KeyAscii); };
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
}

// The list outlives this part of the window; it no longer reports here.
frmHmDic::~frmHmDic() { lstSHOW->model()->disconnect(this); }

void frmHmDic::keepTextsInStep() {
    const QAbstractItemModel* model = lstSHOW->model();
    auto text = [this](int row) { return lstSHOW->item(row)->text(); };
    auto readAll = [this, text] {
        texts_.clear();
        texts_.reserve(lstSHOW->count());
        for (int row = 0; row < lstSHOW->count(); ++row) texts_ << text(row);
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, [this, text](const QModelIndex&, int first, int last) {
        texts_.insert(first, last - first + 1, QString());
        for (int row = first; row <= last; ++row) texts_[row] = text(row);
    });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { texts_.remove(first, last - first + 1); });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this, text](const QModelIndex& from, const QModelIndex& to) {
                for (int row = from.row(); row <= to.row(); ++row) texts_[row] = text(row);
            });
    connect(model, &QAbstractItemModel::modelReset, this, readAll);
    connect(model, &QAbstractItemModel::layoutChanged, this, readAll);
    connect(model, &QAbstractItemModel::rowsMoved, this, readAll);
}

void frmHmDic::showCount() {
    lblCount->setCaption(QString::number(lstSHOW->count()) + L(QStringLiteral(" Entries"), QString::fromUtf8(" Einträge")));
}

void frmHmDic::Form_Activate() {
    HangmanGame->setDic(1);
    SetLangHmDic(this);
    showCount();
    // Typing starts in the entry box, not in the list's search.
    txtEnter->setFocus();
}

void frmHmDic::txtEnter_KeyPress(int& KeyAscii) {
    if (KeyAscii == 8) return;
    if (KeyAscii > 255 || !HangmanDictionary::allowedCharacter(QChar(KeyAscii))) KeyAscii = 0;
}

void frmHmDic::cmdAdd_Click() {
    txtEnter->setFocus();
    const QString entry = txtEnter->Text();
    if (!HangmanDictionary::acceptable(entry)) {
        txtEnter->selectAll();
        return;
    }
    // Against every entry, however long the list has grown. Entries hold
    // only the letters A to Z and blanks, so comparing without regard to
    // case is comparing in upper case, without an upper-case copy of each.
    if (texts_.contains(entry, Qt::CaseInsensitive)) {
        MsgBox(L(QStringLiteral("Word is already in dictionary"), QStringLiteral("Wort ist bereits im Wörterbuch")),
               vbExclamation);
        txtEnter->selectAll();
        txtEnter->setFocus();
        return;
    }
    lstSHOW->addItem(entry);
    showCount();
    txtEnter->clear();
    txtEnter->setFocus();
}

void frmHmDic::cmdDel_Click() {
    QListWidgetItem* item = lstSHOW->currentItem();
    if (item && item->isSelected()) {
        const int row = lstSHOW->row(item);
        // The set-aside lines stay between the entries they stood between.
        for (QuotedLines::SetAside& line : kept.setAside)
            if (line.before > row) --line.before;
        delete lstSHOW->takeItem(row);
        // The next entry is not chosen in its place: a second click (or a
        // double click) deletes nothing until the user picks an entry.
        lstSHOW->setCurrentRow(-1);
        lstSHOW->clearSelection();
        showCount();
    }
    txtEnter->setFocus();
}

void frmHmDic::cmdSave_Click() {
    if (lstSHOW->count() == 0) {
        MsgBox(L(QStringLiteral("The list is empty and will not be saved"),
                 QStringLiteral("Die Liste ist leer und wird nicht gespeichert")),
               vbExclamation);
    } else if (MsgBox(L(QStringLiteral("Are you sure"), QStringLiteral("Sind Sie sicher")), vbYesNo | vbQuestion) ==
               vbYes) {
        QString why;
        int number = 0;
        if (!HangmanDictionary::write(texts_, kept, &why, &number))
            ShowProblem(QStringLiteral("HmDic_Save"), number, why);
    }
    txtEnter->setFocus();
}

void frmHmDic::Form_Unload(int&) {
    // The closed editor is destroyed only when the program is idle again,
    // after the window it returns to has filled a new editor's list: its
    // entries go now, so a long dictionary is never held twice.
    lstSHOW->clear();
}
