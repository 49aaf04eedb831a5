#pragma once
// The messenger's start window: the user types a screen name and picks a
// role, "Server" (frmServer waits for a client) or "Client" (frmClient
// connects to a server). The start window hides while the chat window is
// open; the chat window shows it again when it closes. It leaves the menu
// as it is.
#include "Platform/Controls.h"
#include "Platform/Form.h"

#include <QPushButton>

class frmMessenger : public Form {
    Q_OBJECT
public:
    frmMessenger();

    // Controls, in tab order.
    TextBox* txtAlias;
    QPushButton* cmdServer;
    QPushButton* cmdClient;
    Label* lblAlias;

    // Handlers.
    void cmdServer_Click();
    void cmdClient_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    QString formName() const override { return QStringLiteral("Messenger"); }

private:
    void RoleSteps(Form* chatWindow());
};

class frmMessenger* frmMessenger();
void SetLangMessenger(class frmMessenger* frm);
