#include "Platform/Winsock.h"

#include "Platform/Ansi.h"

#include <QCoreApplication>
#include <QHash>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

QHash<int, int>& redirects() {
    static QHash<int, int> map;
    return map;
}

RuntimeError networkError(QAbstractSocket::SocketError e, int port, const QString& detail) {
    switch (e) {
    case QAbstractSocket::ConnectionRefusedError:
        return {Winsock::sckConnectionRefused, QStringLiteral("Connection refused")};
    case QAbstractSocket::RemoteHostClosedError:
        return {Winsock::sckConnectionReset, QStringLiteral("Connection closed by the other side")};
    case QAbstractSocket::HostNotFoundError: return {Winsock::sckHostNotFound, QStringLiteral("Host not found")};
    case QAbstractSocket::SocketTimeoutError:
        return {Winsock::sckTimedout, QStringLiteral("Connection timed out")};
    case QAbstractSocket::AddressInUseError:
        return {Winsock::sckAddressInUse, QStringLiteral("Address in use: another program uses port ") +
                                              QString::number(port)};
    case QAbstractSocket::SocketAddressNotAvailableError:
        return {Winsock::sckAddressNotAvailable, QStringLiteral("Address not available")};
    case QAbstractSocket::SocketAccessError:
        // The usual cause on this system: ports below 1024 are reserved for
        // programs given the privilege to bind them.
        return {Winsock::sckAccessDenied,
                port > 0 && port < 1024
                    ? QStringLiteral("Permission denied: port %1 is below 1024, which needs a privilege "
                                     "that this program has not been given")
                          .arg(port)
                    : QStringLiteral("Permission denied")};
    case QAbstractSocket::NetworkError: return {Winsock::sckNetworkError, QStringLiteral("Network error")};
    default: return {Winsock::sckConnectAborted, detail.isEmpty() ? QStringLiteral("Connection aborted") : detail};
    }
}

RuntimeError invalidOperation() {
    return {Winsock::sckInvalidOp, QStringLiteral("Invalid operation in the current state")};
}

} // namespace

void WinsockSeam::redirect(int port, int loopbackPort) { redirects().insert(port, loopbackPort); }
void WinsockSeam::clear() { redirects().clear(); }

Winsock::Winsock(QObject* parent) : QObject(parent) {}

Winsock::~Winsock() {
    // Events of a closing control have nowhere to go.
    onConnectionRequest = nullptr;
    onConnect = nullptr;
    onDataArrival = nullptr;
    onClose = nullptr;
    onError = nullptr;
    Close();
}

QString Winsock::LocalIP() const {
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) return a.toString();
    return QStringLiteral("127.0.0.1");
}

void Winsock::post(std::function<void()> event) {
    const quint64 generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation, event = std::move(event)] {
            if (generation == generation_) event();
        },
        Qt::QueuedConnection);
}

void Winsock::adopt(QTcpSocket* socket) {
    socket->setParent(this);
    socket_ = socket;
    connect(socket, &QTcpSocket::stateChanged, this, [this](QAbstractSocket::SocketState s) {
        if (s == QAbstractSocket::ConnectingState && state_ == sckResolvingHost) state_ = sckConnecting;
    });
    connect(socket, &QTcpSocket::connected, this, [this] {
        if (state_ != sckConnecting && state_ != sckResolvingHost) return;
        state_ = sckConnected;
        post([this] {
            if (onConnect) onConnect();
        });
    });
    connect(socket, &QTcpSocket::readyRead, this, [this] {
        if (socket_ && socket_->bytesAvailable() > 0 && onDataArrival) onDataArrival(int(socket_->bytesAvailable()));
    });
    connect(socket, &QTcpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError e) { socketError(int(e)); });
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        if (state_ != sckConnected) return;
        state_ = sckClosing;
        post([this] {
            if (onClose) onClose();
        });
    });
}

void Winsock::socketError(int qtError) {
    const auto e = QAbstractSocket::SocketError(qtError);
    const bool connected = state_ == sckConnected;
    const bool attempting = state_ == sckConnecting || state_ == sckResolvingHost;
    if (!connected && !attempting) return;
    if (connected && e == QAbstractSocket::RemoteHostClosedError) {
        // An orderly or abrupt end by the peer is a close, not a failure.
        state_ = sckClosing;
        post([this] {
            if (onClose) onClose();
        });
        return;
    }
    state_ = sckError;
    const RuntimeError err = networkError(e, RemotePort, socket_ ? socket_->errorString() : QString());
    post([this, err] {
        if (onError) onError(err.number, err.description);
    });
}

void Winsock::Connect() {
    if (state_ != sckClosed) throw invalidOperation();
    int port = RemotePort;
    if (redirects().contains(port)) port = redirects().value(port);
    auto* socket = new QTcpSocket(this);
    adopt(socket);
    state_ = sckConnecting;
    socket->connectToHost(RemoteHost, quint16(port));
    // A name is looked up first; an address connects at once.
    if (state_ == sckConnecting && socket->state() == QAbstractSocket::HostLookupState) state_ = sckResolvingHost;
}

void Winsock::Listen() {
    if (state_ != sckClosed) throw invalidOperation();
    QHostAddress address = QHostAddress::Any;
    int port = LocalPort;
    if (redirects().contains(port)) {
        address = QHostAddress::LocalHost;
        port = redirects().value(port);
    }
    auto* server = new QTcpServer(this);
    if (!server->listen(address, quint16(port))) {
        const RuntimeError err = networkError(server->serverError(), LocalPort, server->errorString());
        delete server;
        throw err;
    }
    server_ = server;
    state_ = sckListening;
    connect(server, &QTcpServer::newConnection, this, &Winsock::offerPending);
    connect(server, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError e) {
        if (state_ != sckListening) return;
        state_ = sckError;
        const RuntimeError err = networkError(e, LocalPort, server_ ? server_->errorString() : QString());
        post([this, err] {
            if (onError) onError(err.number, err.description);
        });
    });
}

void Winsock::offerPending() {
    while (server_ && server_->hasPendingConnections()) {
        QPointer<QTcpSocket> request = server_->nextPendingConnection();
        // Outlives the listener, which the owner closes before accepting.
        request->setParent(this);
        // Not dropped by a Close: a request that is not taken is refused.
        QMetaObject::invokeMethod(
            this,
            [this, request] {
                if (!request) return;
                if (state_ == sckListening && onConnectionRequest) {
                    offered_ = request;
                    offeredID_ = nextRequest_++;
                    onConnectionRequest(offeredID_);
                }
                if (request && request != socket_) {
                    request->abort();
                    request->deleteLater();
                }
                offered_ = nullptr;
            },
            Qt::QueuedConnection);
    }
}

void Winsock::Accept(int requestID) {
    if (state_ != sckClosed || !offered_ || requestID != offeredID_) throw invalidOperation();
    QTcpSocket* socket = offered_;
    offered_ = nullptr;
    adopt(socket);
    state_ = sckConnected;
    // What the client sent, or its leaving, before the request was taken.
    post([this] {
        if (socket_ && socket_->bytesAvailable() > 0 && onDataArrival) onDataArrival(int(socket_->bytesAvailable()));
    });
    if (socket->state() != QAbstractSocket::ConnectedState) {
        state_ = sckClosing;
        post([this] {
            if (onClose) onClose();
        });
    }
}

void Winsock::SendData(const QString& data) {
    if (state_ != sckConnected || !socket_)
        throw RuntimeError(sckBadState, QStringLiteral("Wrong connection state for sending"));
    const QByteArray bytes = Ansi::encode(data);
    if (socket_->write(bytes) != bytes.size())
        throw networkError(socket_->error(), RemotePort, socket_->errorString());
}

void Winsock::GetData(QString& data) { data = socket_ ? Ansi::decode(socket_->readAll()) : QString(); }

void Winsock::Close() {
    ++generation_;
    state_ = sckClosed;
    if (server_) {
        server_->close();
        delete server_;
    }
    if (QTcpSocket* socket = socket_) {
        socket_ = nullptr;
        disconnect(socket, nullptr, this, nullptr);
        // What was sent still goes out before the connection ends; the
        // socket then goes on its own, with a bound for a peer that never
        // takes it.
        socket->setParent(QCoreApplication::instance());
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(10000, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        socket->disconnectFromHost();
        if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
    }
}
