#pragma once
// The chat window of the side that waits: it listens on the chat port from
// the moment it loads, shows this computer's address for the other side,
// takes one client at a time (it stops listening while connected) and
// listens again when the client leaves. When the port cannot be listened
// on, the window says why and stays open. Closing the window ends the
// connection, frees the port and shows the start window again.
#include "Modules/modMessenger.h"

class Winsock;

class frmServer : public ChatForm {
    Q_OBJECT
public:
    frmServer();

    // Controls (txtSendData, lblStatus, cmdSend and txtOutput come from
    // ChatForm; Send is the Default button from the start).
    Label* lblMyIP;
    Winsock* tcpServer;

    // Handlers.
    void tcpServer_ConnectionRequest(int requestID);
    void tcpServer_DataArrival(int bytesTotal);
    void tcpServer_Close();
    void tcpServer_Error(int Number, const QString& Description);

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("Server"); }

private:
    void StartListening();
    void CloseSteps(bool listenAgain);
};

class frmServer* frmServer();
void SetLangServer(class frmServer* frm);
