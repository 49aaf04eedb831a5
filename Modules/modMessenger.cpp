#include "Modules/modMessenger.h"

#include "Forms/Messenger/frmMessenger.h"
#include "Modules/modLanguage.h"
#include "Modules/modPlaySound.h"
#include "Platform/App.h"
#include "Platform/Fonts.h"
#include "Platform/MsgBox.h"
#include "Platform/Winsock.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

void ScrollOutput(QWidget* frm) {
    auto* box = frm->findChild<QPlainTextEdit*>(QStringLiteral("txtOutput"));
    if (!box) return;
    QTextCursor caret = box->textCursor();
    caret.movePosition(QTextCursor::End);
    box->setTextCursor(caret);
    box->ensureCursorVisible();
}

void PlayTalk(const QString& name) { PlaySound(App::file(QStringLiteral("Sound/") + name), 0, false); }

namespace {
const QColor kDarkBlue(0x00, 0x00, 0x40);

void colour(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}
} // namespace

void setButtonCaption(QPushButton* button, const QString& caption) {
    button->setText(caption);
    button->setAccessibleName(captionText(caption));
}

void paintMessengerWindow(QWidget* frm) {
    frm->setAutoFillBackground(true);
    colour(frm, QPalette::Window, kDarkBlue);
    frm->setFont(Fonts::font(QStringLiteral("Haettenschweiler"), 12));
}

QPushButton* messengerButton(QWidget* parent, const QString& caption) {
    auto* b = new QPushButton(parent);
    setButtonCaption(b, caption);
    colour(b, QPalette::Button, QColor(0xc0, 0xe0, 0xff));
    return b;
}

Label* messengerLabel(QWidget* parent, const QString& caption) {
    auto* l = new Label(caption, parent);
    l->setForeColor(QColor(0xff, 0x00, 0x00));
    return l;
}

ChatForm::ChatForm() { paintMessengerWindow(this); }

void ChatForm::buildChat() {
    txtOutput = new QPlainTextEdit(this);
    txtOutput->setObjectName(QStringLiteral("txtOutput"));
    txtOutput->setReadOnly(true);
    // Keeps the caret visible in the read-only log, where ScrollOutput puts it.
    txtOutput->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtOutput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtOutput->setAccessibleName(L(QStringLiteral("Conversation"), QStringLiteral("Unterhaltung")));
    // Black boxes stand out from the dark blue window.
    colour(txtOutput, QPalette::Base, Qt::black);
    colour(txtOutput, QPalette::Text, QColor(0x00, 0xc0, 0x00));

    txtSendData = new TextBox(this);
    txtSendData->setAccessibleName(L(QStringLiteral("Message"), QStringLiteral("Nachricht")));
    colour(txtSendData, QPalette::Base, Qt::black);
    colour(txtSendData, QPalette::Text, QColor(0xff, 0xff, 0x00));

    cmdSend = messengerButton(this, QStringLiteral("Send"));
    lblStatus = messengerLabel(this, QStringLiteral("Disconnected"));

    connect(cmdSend, &QPushButton::clicked, this, [this] { cmdSend_Click(); });
    // Without a dialog around it the Default button needs its Enter here.
    txtSendData->onKeyPress = [this](int& KeyAscii) {
        if (KeyAscii != 13 || !cmdSend->isDefault()) return;
        KeyAscii = 0;
        cmdSend->click();
    };
}

void ChatForm::readAlias() { AliasPrefix = frmMessenger()->txtAlias->Text() + QStringLiteral(": "); }

void ChatForm::showStatus(bool connected) {
    connected_ = connected;
    lblStatus->setCaption(connected ? L(QStringLiteral("Connected"), QStringLiteral("Verbunden"))
                                    : L(QStringLiteral("Disconnected"), QStringLiteral("Getrennt")));
}

void ChatForm::appendLine(const QString& line) {
    // Added at the end rather than by rewriting the whole text, so a long
    // conversation (or a flood of data) costs only what arrives.
    QTextCursor end(txtOutput->document());
    end.movePosition(QTextCursor::End);
    if (!txtOutput->document()->isEmpty()) end.insertBlock();
    end.insertText(line);
}

void ChatForm::cmdSend_Click() {
    PlayTalk(QStringLiteral("TalkBeg.wav"));
    const QString message = AliasPrefix + txtSendData->Text();
    try {
        socket_->SendData(message);
    } catch (const RuntimeError& e) {
        if (e.number == Winsock::sckBadState)
            MsgBox(L(QStringLiteral("No connection"), QStringLiteral("Keine Verbindung")), vbExclamation);
        else
            ShowProblem(QStringLiteral("Sending"), e.number, e.description);
        txtSendData->setFocus();
        return;
    }
    appendLine(message);
    txtSendData->clear();
    ScrollOutput(this);
    txtSendData->setFocus();
}

void ChatForm::receive() {
    PlayTalk(QStringLiteral("TalkGet.wav"));
    QString data;
    socket_->GetData(data);
    appendLine(data);
    ScrollOutput(this);
}
