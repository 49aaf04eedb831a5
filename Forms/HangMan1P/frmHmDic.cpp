#include "Forms/HangMan1P/frmHmDic.h"

#include "Modules/modHangman.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/Errors.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/QuotedLines.h"

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

std::optional<QStringList> read() {
    std::optional<QStringList> values = QuotedLines::read(App::dataFile(QStringLiteral("Hangman.qem")));
    if (values) values->removeAll(QString());
    return values;
}

bool write(const QStringList& entries, QString* error) {
    QStringList kept = entries;
    kept.removeAll(QString());
    return QuotedLines::write(App::dataFile(QStringLiteral("Hangman.qem"), App::Access::Write), kept, error);
}

bool allowedCharacter(QChar c) { return c == u' ' || (c.unicode() >= 65 && c.unicode() <= 122); }

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

    txtEnter->onKeyPress = [this](int& KeyAscii) { txtEnter_KeyPress(KeyAscii); };
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
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
    // Against every entry, however long the list has grown.
    const QString upper = entry.toUpper();
    for (int i = 0; i < lstSHOW->count(); ++i) {
        if (lstSHOW->item(i)->text().toUpper() == upper) {
            MsgBox(L(QStringLiteral("Word is already in dictionary"), QStringLiteral("Wort ist bereits im Wörterbuch")),
                   vbExclamation);
            txtEnter->selectAll();
            txtEnter->setFocus();
            return;
        }
    }
    lstSHOW->addItem(entry);
    showCount();
    txtEnter->clear();
    txtEnter->setFocus();
}

void frmHmDic::cmdDel_Click() {
    QListWidgetItem* item = lstSHOW->currentItem();
    if (item && item->isSelected()) {
        delete lstSHOW->takeItem(lstSHOW->row(item));
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
        QStringList entries;
        for (int i = 0; i < lstSHOW->count(); ++i) entries << lstSHOW->item(i)->text();
        QString why;
        if (!HangmanDictionary::write(entries, &why)) {
            const RuntimeError e = Err::permissionDenied();
            ShowProblem(QStringLiteral("HmDic_Save"), e.number, why.isEmpty() ? e.description : why);
        }
    }
    txtEnter->setFocus();
}
