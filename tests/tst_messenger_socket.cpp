// The chat's socket layer on its own, against a raw peer on loopback: the
// state right after a connect request and once its events have come, the
// events themselves, and the states kept until Close.
#include "Platform/Winsock.h"
#include "TestSupport.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace TestSupport;

class TestMessengerSocket : public QObject {
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() {
        tearDown();
        WinsockSeam::clear();
    }

    void connectStates_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("listening");
        QTest::addColumn<bool>("peerCloses");
        QTest::addColumn<int>("stateAtOnce");
        QTest::addColumn<int>("stateAfter");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("an address") << "127.0.0.1" << true << false << 6 << 7 << QStringList{"Connect"};
        QTest::newRow("a name is looked up first") << "localhost" << true << false << 4 << 7 << QStringList{"Connect"};
        QTest::newRow("nobody listens: error until Close")
            << "127.0.0.1" << false << false << 6 << 9 << QStringList{"Error 10061"};
        QTest::newRow("the peer closes: closing until Close")
            << "127.0.0.1" << true << true << 6 << 8 << QStringList{"Connect", "Close"};
    }
    void connectStates() {
        QFETCH(QString, host);
        QFETCH(bool, listening);
        QFETCH(bool, peerCloses);
        QTcpServer peer;
        QVERIFY(peer.listen(QHostAddress::LocalHost, 0));
        const int port = peer.serverPort();
        if (!listening) peer.close();
        WinsockSeam::redirect(1001, port);

        Winsock socket;
        QStringList seen;
        socket.onConnect = [&] { seen << QStringLiteral("Connect"); };
        socket.onClose = [&] { seen << QStringLiteral("Close"); };
        socket.onError = [&](int n, const QString&) { seen << QStringLiteral("Error %1").arg(n); };
        socket.RemoteHost = host;
        socket.RemotePort = 1001;
        socket.Connect();
        QTEST(socket.State(), "stateAtOnce");
        // No event inside the call itself.
        QCOMPARE(seen, QStringList());
        QFETCH(QStringList, events);
        if (listening) {
            QTRY_VERIFY_WITH_TIMEOUT(peer.hasPendingConnections(), 5000);
            if (peerCloses) {
                QTRY_COMPARE_WITH_TIMEOUT(socket.State(), int(Winsock::sckConnected), 5000);
                peer.nextPendingConnection()->close();
            }
        }
        QTRY_COMPARE_WITH_TIMEOUT(seen, events, 5000);
        QTEST(socket.State(), "stateAfter");
        // A second request is refused until Close.
        QVERIFY_THROWS_EXCEPTION(RuntimeError, socket.Connect());
        socket.Close();
        QCOMPARE(socket.State(), int(Winsock::sckClosed));
    }
};

QTEST_MAIN(TestMessengerSocket)
#include "tst_messenger_socket.moc"
