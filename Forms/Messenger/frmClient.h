#pragma once
// The chat window of the side that connects: the user types the server's
// address, connects on the chat port and then exchanges lines with it.
// "Connected" shows once the connection is made; an attempt that fails
// says the server is not available and leaves the window Disconnected, with
// Connect enabled again. Closing the window ends the connection and shows
// the start window again.
#include "Modules/modMessenger.h"

#include <QComboBox>
#include <QPushButton>

class Winsock;

class frmClient : public ChatForm {
    Q_OBJECT
public:
    frmClient();

    // Controls, in tab order (txtSendData, cmdSend, txtOutput and lblStatus
    // come from ChatForm).
    QComboBox* cboAddress;
    QPushButton* cmdConnect;
    QPushButton* cmdDisCon;
    Label* lblTcp_Address;
    Winsock* tcpClient;

    // Handlers.
    void cboAddress_KeyDown(int& KeyCode, int Shift);
    void cmdConnect_Click();
    void cmdDisCon_Click();
    void tcpClient_Connect();
    void tcpClient_Error(int Number, const QString& Description);
    void tcpClient_DataArrival(int bytesTotal);
    void tcpClient_Close();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QString formName() const override { return QStringLiteral("Client"); }

private:
    void ConnectSteps();
    void DisconnectSteps();
    // Connect enabled, Send no longer Default, "Disconnected".
    void showDisconnected();
    void showNotAvailable();
};

class frmClient* frmClient();
void SetLangClient(class frmClient* frm);
