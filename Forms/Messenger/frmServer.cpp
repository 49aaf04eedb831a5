#include "Forms/Messenger/frmServer.h"

#include "Forms/Messenger/frmMessenger.h"
#include "Modules/modLanguage.h"
#include "Platform/MsgBox.h"
#include "Platform/SaveError.h"
#include "Platform/Winsock.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <new>

class frmServer* frmServer() { return touchForm<class frmServer>(); }

void SetLangServer(class frmServer* frm) {
    if (!isGerman()) return;
    frm->setCaption(QStringLiteral("ZOV Boten-Server"));
    frm->lblStatus->setCaption(QStringLiteral("Getrennt"));
    setButtonCaption(frm->cmdSend, QStringLiteral("Senden"));
}

frmServer::frmServer() {
    setCaption(QStringLiteral("QEM Messenger Server"));
    setFixedSize(400, 290);

    buildChat();
    lblMyIP = messengerLabel(this, QString());
    lblMyIP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tcpServer = new Winsock(this);
    setSocket(tcpServer);

    // The log on top, the send row, then status at the left and address at the right.
    txtOutput->setGeometry(8, 8, 384, 200);
    txtSendData->setGeometry(8, 216, 300, 28);
    cmdSend->setGeometry(316, 216, 76, 28);
    lblStatus->setGeometry(8, 256, 170, 24);
    lblMyIP->setGeometry(186, 256, 206, 24);
    setTabOrder(txtSendData, cmdSend);
    setTabOrder(cmdSend, txtOutput);
    // Enter in the send box sends, before any client too.
    cmdSend->setDefault(true);
    txtSendData->setFocus();

    tcpServer->onConnectionRequest = [this](int requestID) { tcpServer_ConnectionRequest(requestID); };
    tcpServer->onDataArrival = [this](int bytesTotal) { tcpServer_DataArrival(bytesTotal); };
    tcpServer->onClose = [this] { tcpServer_Close(); };
    tcpServer->onError = [this](int Number, const QString& Description) { tcpServer_Error(Number, Description); };
}

void frmServer::Form_Load() {
    SetLangServer(this);
    readAlias();
    tcpServer->LocalPort = ChatPort;
    StartListening();
}

// A port that another program holds, or that needs a privilege, is said
// plainly; the window stays open and can still be closed. It then says it
// is not listening and hands out no address that would answer nothing.
void frmServer::StartListening() {
    RuntimeError failed{0, QString()};
    try {
        tcpServer->Listen();
        lblMyIP->setCaption(L(QStringLiteral("Local IP:  "), QStringLiteral("Lokale IP: ")) + tcpServer->LocalIP());
        return;
    } catch (const RuntimeError& e) {
        failed = e;
    } catch (const std::bad_alloc&) {
        failed = Err::outOfMemory();
    }
    ShowProblem(QStringLiteral("Listening"), failed.number, failed.description);
    showNotListening();
    lblMyIP->setCaption(QString());
}

void frmServer::tcpServer_ConnectionRequest(int requestID) {
    RuntimeError failed{0, QString()};
    try {
        // No second client while one is connected: the listener closes.
        if (tcpServer->State() != Winsock::sckClosed) tcpServer->Close();
        PlayTalk(QStringLiteral("TalkIn.wav"));
        tcpServer->Accept(requestID);
        showStatus(true);
        return;
    } catch (const RuntimeError& e) {
        failed = e;
    } catch (const std::bad_alloc&) {
        failed = Err::outOfMemory();
    }
    ShowProblem(QStringLiteral("Accepting"), failed.number, failed.description);
    tcpServer->Close();
    StartListening();
}

void frmServer::tcpServer_DataArrival(int) { receive(); }

void frmServer::tcpServer_Close() { CloseSteps(true); }

// The connection broke (not an orderly close by the client), or the
// listener failed: said, then the window waits for the next client.
void frmServer::tcpServer_Error(int Number, const QString& Description) {
    if (showsConnected()) {
        ShowProblem(QStringLiteral("Receiving"), Number, Description);
        CloseSteps(true);
        return;
    }
    ShowProblem(QStringLiteral("Accepting"), Number, Description);
    tcpServer->Close();
    StartListening();
}

void frmServer::CloseSteps(bool listenAgain) {
    PlayTalk(QStringLiteral("TalkOut.wav"));
    showStatus(false);
    tcpServer->Close();
    if (listenAgain) StartListening();
}

void frmServer::Form_Unload(int&) {
    PlayTalk(QStringLiteral("TalkOn.wav"));
    // The socket goes with the window: nothing listens once it is closed.
    CloseSteps(false);
    frmMessenger()->Show(vbModeless);
}
