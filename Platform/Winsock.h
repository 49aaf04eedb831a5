#pragma once
// One TCP endpoint in the manner of the program's socket control: either a
// client that connects to RemoteHost:RemotePort, or a server that listens
// on LocalPort and hands each incoming connection to its owner as a
// request, which the owner accepts on the same control after closing the
// listener. Text goes out and comes in as Windows-1252 bytes, with nothing
// added: what one DataArrival event reads is what has arrived so far.
//
// State (the control's numbers): 0 closed, 1 open, 2 listening,
// 4 resolving a host name, 6 connecting, 7 connected, 8 the peer closed,
// 9 an error. 8 and 9 stay until Close(), so an owner that tests "not
// closed" still sees a connection that ended or failed.
//
// Events (the owner sets the handlers) arrive from the event loop, never
// inside a call of the owner. Events of a connection the owner has closed
// are dropped:
//   onConnectionRequest(requestID)  a client knocks while listening; a
//                                    request not accepted by the handler
//                                    is refused.
//   onConnect()                      a connection request completed.
//   onDataArrival(bytesTotal)        data waits; GetData takes all of it.
//   onClose()                        the peer closed the connection.
//   onError(number, description)     a connection attempt failed, or an
//                                    open connection broke, or accepting
//                                    failed while listening.
//
// Failing calls throw RuntimeError: 40006 (wrong state for sending),
// 40020 (invalid operation in the current state), or the network error.
#include "Platform/Errors.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QTcpServer;
class QTcpSocket;

class Winsock : public QObject {
    Q_OBJECT
public:
    enum StateConstants {
        sckClosed = 0, sckOpen = 1, sckListening = 2, sckResolvingHost = 4, sckConnecting = 6,
        sckConnected = 7, sckClosing = 8, sckError = 9,
    };
    enum ErrorConstants {
        sckBadState = 40006, sckInvalidOp = 40020, sckAccessDenied = 10013, sckAddressInUse = 10048,
        sckAddressNotAvailable = 10049, sckConnectAborted = 10053, sckConnectionReset = 10054,
        sckTimedout = 10060, sckConnectionRefused = 10061, sckHostNotFound = 11001, sckNetworkError = 10050,
    };

    explicit Winsock(QObject* parent = nullptr);
    ~Winsock() override;

    QString RemoteHost;
    int RemotePort = 0;
    int LocalPort = 0;

    int State() const { return state_; }
    // This computer's address as others reach it: its first IPv4 address
    // outside the loopback network, else 127.0.0.1.
    QString LocalIP() const;

    void Connect();
    void Listen();
    void Accept(int requestID);
    void SendData(const QString& data);
    void GetData(QString& data);
    void Close();

    std::function<void(int requestID)> onConnectionRequest;
    std::function<void()> onConnect;
    std::function<void(int bytesTotal)> onDataArrival;
    std::function<void()> onClose;
    std::function<void(int Number, const QString& Description)> onError;

private:
    void adopt(QTcpSocket* socket);
    void offerPending();
    void socketError(int qtError);
    // Runs an event later, unless the connection it belongs to was closed.
    void post(std::function<void()> event);

    int state_ = sckClosed;
    // Counts Close() calls: events posted before a Close are dropped.
    quint64 generation_ = 0;
    int nextRequest_ = 1;
    QPointer<QTcpServer> server_;
    QPointer<QTcpSocket> socket_;
    // The request being offered to onConnectionRequest.
    QPointer<QTcpSocket> offered_;
    int offeredID_ = 0;
};

// Tests: a port of the program becomes a free loopback port, so a test
// never needs the real port, its privilege or a network beyond this
// computer. Listening on `port` binds 127.0.0.1:`loopbackPort`;
// connecting to `port` reaches `loopbackPort`.
namespace WinsockSeam {
void redirect(int port, int loopbackPort);
void clear();
}
