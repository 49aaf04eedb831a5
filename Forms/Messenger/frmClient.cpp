#include "Forms/Messenger/frmClient.h"

#include "Forms/Messenger/frmMessenger.h"
#include "Modules/modLanguage.h"
#include "Platform/Keys.h"
#include "Platform/MsgBox.h"
#include "Platform/SaveError.h"
#include "Platform/Winsock.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <new>

class frmClient* frmClient() { return touchForm<class frmClient>(); }

void SetLangClient(class frmClient* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Boten-Klient"));
    setButtonCaption(frm->cmdConnect, QStringLiteral("Verbinden"));
    setButtonCaption(frm->cmdDisCon, QStringLiteral("Trennen"));
    setButtonCaption(frm->cmdSend, QStringLiteral("Senden"));
    frm->lblTcp_Address->setCaption(QStringLiteral("TCP/IP Adresse"));
    frm->cboAddress->setAccessibleName(QStringLiteral("TCP/IP Adresse"));
    frm->cboAddress->lineEdit()->setAccessibleName(QStringLiteral("TCP/IP Adresse"));
    frm->lblStatus->setCaption(QStringLiteral("Getrennt"));
}

frmClient::frmClient() {
    setCaption(QStringLiteral("QEM Messenger Client"));
    setFixedSize(400, 330);

    cboAddress = new QComboBox(this);
    cboAddress->setEditable(true);
    // The list stays empty: Enter connects, it does not collect addresses.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setAccessibleName(QStringLiteral("TCP/IP Address"));
    cmdConnect = messengerButton(this, QStringLiteral("Connect"));
    cmdDisCon = messengerButton(this, QStringLiteral("Disconnect"));
    buildChat();
    lblTcp_Address = messengerLabel(this, QStringLiteral("TCP/IP Address"));
    // Named by its caption, also while the typed address changes.
    lblTcp_Address->setBuddy(cboAddress);
    cboAddress->lineEdit()->setAccessibleName(cboAddress->accessibleName());
    tcpClient = new Winsock(this);
    setSocket(tcpClient);

    // The log on top, the send row, the address row, the connection row.
    txtOutput->setGeometry(8, 8, 384, 200);
    txtSendData->setGeometry(8, 216, 300, 28);
    cmdSend->setGeometry(316, 216, 76, 28);
    lblTcp_Address->setGeometry(8, 254, 120, 26);
    cboAddress->setGeometry(130, 254, 262, 28);
    cmdConnect->setGeometry(8, 292, 96, 28);
    cmdDisCon->setGeometry(112, 292, 96, 28);
    lblStatus->setGeometry(220, 294, 172, 24);
    setTabOrder(cboAddress, cmdConnect);
    setTabOrder(cmdConnect, cmdDisCon);
    setTabOrder(cmdDisCon, txtSendData);
    setTabOrder(txtSendData, cmdSend);
    setTabOrder(cmdSend, txtOutput);

    cboAddress->installEventFilter(this);
    if (cboAddress->lineEdit()) cboAddress->lineEdit()->installEventFilter(this);
    connect(cmdConnect, &QPushButton::clicked, this, [this] { cmdConnect_Click(); });
    connect(cmdDisCon, &QPushButton::clicked, this, [this] { cmdDisCon_Click(); });
    tcpClient->onConnect = [this] { tcpClient_Connect(); };
    tcpClient->onError = [this](int Number, const QString& Description) { tcpClient_Error(Number, Description); };
    tcpClient->onDataArrival = [this](int bytesTotal) { tcpClient_DataArrival(bytesTotal); };
    tcpClient->onClose = [this] { tcpClient_Close(); };
}

void frmClient::Form_Load() {
    SetLangClient(this);
    readAlias();
    tcpClient->RemotePort = ChatPort;
}

bool frmClient::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && (watched == cboAddress || watched == cboAddress->lineEdit())) {
        int code = Keys::keyCode(static_cast<QKeyEvent*>(e));
        cboAddress_KeyDown(code, Keys::shiftState(static_cast<QKeyEvent*>(e)->modifiers()));
        if (code == 0) return true;
    }
    return ChatForm::eventFilter(watched, e);
}

// Enter connects, also while Connect is disabled.
void frmClient::cboAddress_KeyDown(int& KeyCode, int) {
    if (KeyCode != Keys::vbKeyReturn) return;
    KeyCode = 0;
    ConnectSteps();
    txtSendData->setFocus();
}

void frmClient::cmdConnect_Click() { ConnectSteps(); }

void frmClient::showDisconnected() {
    cmdConnect->setEnabled(true);
    cmdSend->setDefault(false);
    showStatus(false);
}

void frmClient::showNotAvailable() {
    MsgBox(L(QStringLiteral("Server is currently not available"),
             QString::fromUtf8("Server ist derzeit nicht verfügbar")),
           vbExclamation);
}

void frmClient::ConnectSteps() {
    int number = 0;
    QString description;
    try {
        cboAddress->setFocus();
        if (cboAddress->currentText().isEmpty()) return;
        tcpClient->RemoteHost = cboAddress->currentText();
        tcpClient->Connect();
        txtSendData->setFocus();
        const int state = tcpClient->State();
        // A name still being looked up is on its way as much as an address.
        if (state == Winsock::sckConnecting || state == Winsock::sckResolvingHost) {
            // "Connected" waits for the connection itself; meanwhile only a
            // second attempt is stopped.
            cmdConnect->setEnabled(false);
            return;
        }
    } catch (const RuntimeError& e) {
        number = e.number;
        description = e.description;
    } catch (const std::bad_alloc&) {
        const RuntimeError e = Err::outOfMemory();
        number = e.number;
        description = e.description;
    }
    const int state = tcpClient->State();
    if (state == Winsock::sckConnected || state == Winsock::sckOpen) {
        MsgBox(L(QStringLiteral("You are already connected"), QStringLiteral("Sie sind bereits verbunden")),
               vbExclamation);
    } else {
        if (number == Winsock::sckInvalidOp || number == 0)
            showNotAvailable();
        else
            ShowProblem(QStringLiteral("Connecting"), number, description);
        tcpClient->Close();
        // With its socket closed the window must not go on showing a connection.
        showDisconnected();
    }
    txtSendData->setFocus();
}

void frmClient::tcpClient_Connect() {
    PlayTalk(QStringLiteral("TalkIn.wav"));
    cmdConnect->setEnabled(false);
    cmdSend->setDefault(true);
    showStatus(true);
}

void frmClient::tcpClient_Error(int Number, const QString& Description) {
    if (!showsConnected()) {
        // The attempt failed: refused, no such host, no answer.
        showNotAvailable();
        tcpClient->Close();
        showDisconnected();
        return;
    }
    ShowProblem(QStringLiteral("Receiving"), Number, Description);
    DisconnectSteps();
}

void frmClient::tcpClient_DataArrival(int) { receive(); }

void frmClient::tcpClient_Close() { DisconnectSteps(); }

void frmClient::cmdDisCon_Click() { DisconnectSteps(); }

void frmClient::DisconnectSteps() {
    if (tcpClient->State() == Winsock::sckClosed) return;
    PlayTalk(QStringLiteral("TalkOut.wav"));
    showDisconnected();
    tcpClient->Close();
}

void frmClient::Form_Unload(int&) {
    PlayTalk(QStringLiteral("TalkOn.wav"));
    DisconnectSteps();
    frmMessenger()->Show(vbModeless);
}
