#include "Modules/modLanguage.h"

#include "Forms/Main/frmChoice.h"
#include "Forms/Main/frmMsg.h"
#include "Modules/modMain.h"
#include "Platform/App.h"
#include "Platform/Errors.h"
#include "Platform/MsgBox.h"

QString CurrentLanguage = QStringLiteral("DefaultValue");

namespace {
// The platform's own messages (a failed save) follow the program's language.
const bool messagesFollowLanguage = (Err::germanMessages = [] { return isGerman(); }, true);
} // namespace

void SetLangChoice(class frmChoice* frm) {
    if (!isGerman()) return;
    App::setTitle(QStringLiteral("Zovikon"));
    frm->setCaption(App::title());
    frm->lblTitle->setCaption(App::title() + QStringLiteral(", v") + versionText());
    frm->lblVersion->setCaption(QStringLiteral("ZOV ") + shortVersionText());
    frm->lblStatus->setCaption(QStringLiteral("Tollerix"));
    frm->lblLanguage->setToolTipText(QStringLiteral("Zur Englischen Fassung"));
    frm->fraConv->setCaption(QStringLiteral("Umwandler"));
    static const char* const conv[] = {"Länge/Weg", "Gewicht", "Raumfülle", "Währung", "Wärmegrad",
                                       "Zahlensysteme", "Ascii-Kode", "Rechner", "Morsezeichen"};
    for (int i = 0; i < 9; ++i) frm->lblConv[i]->setCaption(QString::fromUtf8(conv[i]));
    frm->lblKeyb->setCaption(QStringLiteral("Tipp- Meister"));
    frm->lblEG->setCaption(QStringLiteral("Übersetzer"));
    frm->lblMsg->setCaption(QStringLiteral("Bote"));
    frm->lblHangman->setCaption(QStringLiteral("Galgenraten"));
    frm->lblRSP->setCaption(QStringLiteral("SSS"));
    frm->lblDate->setCaption(QStringLiteral("Datum"));
    frm->lblTime->setCaption(QStringLiteral("Zeit"));
    frm->lblCredit->setCaption(QStringLiteral("Ein Werkzeugkasten für jeden Tag"));
    frm->lblExit->setCaption(QStringLiteral("&Ende"));
}

void SetLangMsg(class frmMsg* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("Nachricht"));
    frm->lblExit->setCaption(QStringLiteral("&In Ordnung"));
}

void ShowDamagedFile(const QString& fileName) {
    // Left as it is: the user may still mend it or fetch a copy.
    MsgBox(L(QStringLiteral("The file \"%1\" is damaged: it is not a text file. It was not read and stays as it is."),
             QString::fromUtf8("Die Datei \"%1\" ist beschädigt: sie ist keine Textdatei. Sie wurde nicht gelesen "
                               "und bleibt, wie sie ist."))
               .arg(fileName),
           vbCritical);
}

void ShowSetAside(const QString& fileName, qsizetype count) {
    const QString english = count == 1 ? QStringLiteral("%1 line of \"%2\" could not be read. It stays in the file as it is.")
                                       : QStringLiteral("%1 lines of \"%2\" could not be read. They stay in the file as they are.");
    const QString german = count == 1 ? QString::fromUtf8("%1 Zeile der Datei \"%2\" konnte nicht gelesen werden. Sie bleibt "
                                                          "unverändert in der Datei.")
                                      : QString::fromUtf8("%1 Zeilen der Datei \"%2\" konnten nicht gelesen werden. Sie "
                                                          "bleiben unverändert in der Datei.");
    MsgBox(L(english, german).arg(count).arg(fileName), vbInformation);
}
