#include "Forms/Messenger/frmMessenger.h"

#include "Forms/Messenger/frmClient.h"
#include "Forms/Messenger/frmServer.h"
#include "Modules/modLanguage.h"
#include "Modules/modMCI.h"
#include "Modules/modMessenger.h"
#include "Platform/Fonts.h"

class frmMessenger* frmMessenger() { return touchForm<class frmMessenger>(); }

void SetLangMessenger(class frmMessenger* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Bote"));
    frm->lblAlias->setCaption(QStringLiteral("Alias-Eingabe"));
    frm->txtAlias->setAccessibleName(QStringLiteral("Alias-Eingabe"));
    // "Server" is the same word in German.
    setButtonCaption(frm->cmdClient, QStringLiteral("Klient"));
}

frmMessenger::frmMessenger() {
    setCaption(QStringLiteral("QEM Messenger"));
    setClientSizeTwips(3570, 930);
    paintMessengerWindow(this);
    // A smaller size than the chat windows: the label's text fits the small window.
    setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 10));

    txtAlias = new TextBox(this);
    // The screen name goes over the wire with every message.
    keepToWire(txtAlias);
    place(txtAlias, 1560, 450, 1890, 360);
    txtAlias->setAccessibleName(QStringLiteral("Enter Screen Name"));
    cmdServer = messengerButton(this, QStringLiteral("Server"));
    place(cmdServer, 120, 60, 1320, 375);
    cmdClient = messengerButton(this, QStringLiteral("Client"));
    place(cmdClient, 120, 495, 1320, 375);
    lblAlias = messengerLabel(this, QStringLiteral("Enter Screen Name"));
    place(lblAlias, 1560, 90, 1890, 315);

    connect(cmdServer, &QPushButton::clicked, this, [this] { cmdServer_Click(); });
    connect(cmdClient, &QPushButton::clicked, this, [this] { cmdClient_Click(); });
}

void frmMessenger::Form_Load() { SetLangMessenger(this); }

// Any text is a screen name, blanks too; only an empty box is refused.
void frmMessenger::RoleSteps(Form* chatWindow()) {
    if (txtAlias->Text().isEmpty()) {
        txtAlias->setFocus();
        return;
    }
    PlayTalk(QStringLiteral("TalkOn.wav"));
    Hide();
    chatWindow()->Show(vbModeless);
}

void frmMessenger::cmdServer_Click() { RoleSteps([]() -> Form* { return frmServer(); }); }
void frmMessenger::cmdClient_Click() { RoleSteps([]() -> Form* { return frmClient(); }); }

// Open chat windows stay open.
void frmMessenger::Form_Unload(int&) { PlayMusic(QStringLiteral("Stretch6.mp3")); }
