#pragma once
// The About window: the developer's name moving to and fro, the home page
// and mail address as links, the version histories in English and German.
#include "Platform/Controls.h"
#include "Platform/Form.h"
#include "Platform/Timer.h"

#include <QDialog>
#include <QPointer>

// A version-history text kept with the window; its default action shows it
// in a read-only viewer over the window.
class HistoryDocument : public QObject {
    Q_OBJECT
public:
    HistoryDocument(const QString& fileName, QWidget* owner);

    QString fileName() const { return fileName_; }
    QString text() const;
    // Opens the viewer (or brings the open one forward).
    void DoVerb();
    // The open viewer, nullptr when it is closed.
    QDialog* viewer() const { return viewer_; }
    // What screen readers call the viewer's text, in the window's language.
    QString readerName;

private:
    QString fileName_;
    QWidget* owner_;
    QPointer<QDialog> viewer_;
};

class frmAbout : public Form {
    Q_OBJECT
public:
    frmAbout();

    static const QString homePage;
    static const QString mailAddress;

    // The name's movement per tick in twips: +100 or -100.
    qint16 Step = 100;

    Image* imgLogo;
    Label* lblCredit;
    Label* lblName;
    Label* lblHP;
    Image* imgMail;
    Label* lblMail;
    Label* lblVersion;
    PictureButton* cmdEng;
    Label* lblEng;
    PictureButton* cmdDe;
    Label* lblDe;
    HistoryDocument* oleEng;
    HistoryDocument* oleDe;
    QPushButton* cmdOK;
    ::Timer* Timer;

    void Timer_Timer();
    void lblHP_Click();
    void lblMail_Click();
    void cmdEng_Click();
    void cmdDe_Click();
    void cmdOK_Click();
    // Opens the address with the desktop's default program.
    bool OpenBrowser(const QString& url);

protected:
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    QString formName() const override { return QStringLiteral("About"); }
};

frmAbout* frmAbout();

// The window's German texts, when the current language is German.
void SetLangAbout(class frmAbout* frm);
