// The messenger: the start window and both chat windows of one process
// talking over loopback on a free port, driven through their controls, with
// the sounds each step plays and the states it leaves; the chat windows
// against a raw peer written here: the bytes on the wire both ways, merged
// and split reads, a peer that vanishes, a flood of random bytes, a second
// client, the port after the server window closes, a port that is taken.
#include "Forms/Main/frmChoice.h"
#include "Forms/Main/LaunchTable.h"
#include "Forms/Messenger/frmClient.h"
#include "Forms/Messenger/frmMessenger.h"
#include "Forms/Messenger/frmServer.h"
#include "Modules/modLanguage.h"
#include "Platform/Ansi.h"
#include "Platform/MsgBox.h"
#include "Platform/Winsock.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextBlock>
#include <memory>

using namespace TestSupport;

namespace {

int freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The screen name typed and the role's button clicked in the start window.
void chooseRole(const QString& name, bool server) {
    class frmMessenger* start = frmMessenger();
    start->Show();
    start->txtAlias->clear();
    QTest::keyClicks(start->txtAlias, name);
    QTest::mouseClick(server ? start->cmdServer : start->cmdClient, Qt::LeftButton);
}

class frmServer* openServer(const QString& name = QStringLiteral("Ann")) {
    chooseRole(name, true);
    return frmServer();
}
class frmClient* openClient(const QString& name = QStringLiteral("Bob")) {
    chooseRole(name, false);
    return frmClient();
}

// The address typed, then "Connect".
void connectTo(class frmClient* c, const QString& address) {
    c->cboAddress->setEditText(address);
    QTest::mouseClick(c->cmdConnect, Qt::LeftButton);
}

// The line typed into the send box, then Enter.
void say(ChatForm* f, const QString& text) {
    f->txtSendData->setFocus();
    typeKeys(f->txtSendData, text + QStringLiteral("\r"));
}

QStringList logLines(const ChatForm* f) {
    const QString text = f->txtOutput->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

// The Talk sounds asked for since the last call, in the order played.
QStringList talks() {
    QStringList names;
    for (const RecordingSound::Call& call : sound().calls)
        if (call.path.contains(QStringLiteral("/Sound/Talk"))) names << call.path.section(u'/', -1).chopped(4);
    sound().calls.clear();
    return names;
}

QStringList boxes() {
    QStringList texts;
    for (const MsgBoxSeam::Shown& s : MsgBoxSeam::shown()) texts << s.text;
    MsgBoxSeam::clear();
    return texts;
}

// The state of the window's socket, -1 when the window is not loaded.
int clientState() { return isFormLoaded<class frmClient>() ? frmClient()->tcpClient->State() : -1; }
int serverState() { return isFormLoaded<class frmServer>() ? frmServer()->tcpServer->State() : -1; }

// Both windows have nothing more on their way: no attempt under way, no
// end that the other side has yet to notice.
bool settled() {
    const int client = clientState(), server = serverState();
    const bool clientStill = client == -1 || client == Winsock::sckClosed || client == Winsock::sckConnected;
    const bool serverStill = server == -1 || server == Winsock::sckClosed || server == Winsock::sckListening ||
                             server == Winsock::sckConnected;
    if (!clientStill || !serverStill) return false;
    if (client != -1 && server != -1) return (client == Winsock::sckConnected) == (server == Winsock::sckConnected);
    return true;
}

// A raw peer that connects to the server window.
std::unique_ptr<QTcpSocket> rawClient(int port) {
    auto peer = std::make_unique<QTcpSocket>();
    peer->connectToHost(QHostAddress::LocalHost, quint16(port));
    peer->waitForConnected(5000);
    return peer;
}

// Waits until the peer holds `n` bytes, and takes them.
QByteArray receiveBytes(QTcpSocket* peer, int n) {
    if (!QTest::qWaitFor([&] { return peer->bytesAvailable() >= n; }, 5000)) return {};
    return peer->readAll();
}

// The log as it must read after those reads: each read's lines (CR LF, CR
// and LF each a break), the newest of them within the log's lines and
// characters (a line and its end), the newest one always.
QStringList newestLines(const QStringList& reads) {
    QStringList all;
    for (QString read : reads)
        all << read.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n').split(u'\n');
    QStringList kept;
    qsizetype characters = 0;
    for (qsizetype i = all.size() - 1; i >= 0; --i) {
        characters += all[i].size() + 1;
        if (!kept.isEmpty() && (kept.size() >= kLogLines || characters > kLogCharacters)) break;
        kept.prepend(all[i]);
    }
    return kept;
}

// A chat's reads of every shape, from a seeded generator: short lines with
// every line end, a CR ending one read and its LF beginning the next, long
// lines, bursts of lines; "" where the log may take in what waits.
QStringList readsOfEveryShape(quint32 seed) {
    QRandomGenerator random(seed);
    QStringList reads;
    const QStringList ends{"", "\r\n", "\n", "\r"};
    for (int step = 0; step < 30; ++step) {
        const QString name = QStringLiteral("%1.%2 ").arg(seed).arg(step);
        switch (random.bounded(5)) {
        case 0:
            for (int i = random.bounded(1, 30); i > 0; --i) reads << name + QString::number(i) + ends[random.bounded(4)];
            break;
        case 1: reads << name + "split\r" << "\n" + name + "after"; break;
        case 2: reads << name + QString(random.bounded(100'000, 1'500'000), QChar(u'a' + step % 26)); break;
        case 3: {
            const QString line = name + QString(random.bounded(50, 400), u'b') + ends[random.bounded(1, 4)];
            const QString burst = line.repeated(random.bounded(1, 20));
            for (int i = random.bounded(100, 600); i > 0; --i) reads << burst;
            break;
        }
        default: reads << QString(); break;
        }
    }
    return reads;
}

} // namespace

class TestMessenger : public QObject {
    Q_OBJECT

    int port_ = 0;

    // A chat window connected to a raw peer: the server window with a raw
    // client, or the client window with a raw server.
    ChatForm* connectRaw(bool serverWindow, QTcpServer& rawServer, std::unique_ptr<QTcpSocket>& peer) {
        if (serverWindow) {
            class frmServer* s = openServer();
            peer = rawClient(port_);
            return QTest::qWaitFor([s] { return s->showsConnected(); }, 5000) ? s : nullptr;
        }
        rawServer.listen(QHostAddress::LocalHost, quint16(port_));
        class frmClient* c = openClient(QStringLiteral("Ann"));
        connectTo(c, QStringLiteral("127.0.0.1"));
        if (!rawServer.waitForNewConnection(5000)) return nullptr;
        peer.reset(rawServer.nextPendingConnection());
        peer->setParent(nullptr);
        return QTest::qWaitFor([c] { return c->showsConnected(); }, 5000) ? c : nullptr;
    }

private slots:
    void init() {
        setUp(true);
        CurrentLanguage = QStringLiteral("English");
        port_ = freePort();
        WinsockSeam::redirect(ChatPort, port_);
    }
    void cleanup() {
        tearDown();
        WinsockSeam::clear();
        CurrentLanguage = QStringLiteral("English");
    }

    void menuOpensStartWindow() {
        class frmChoice* menu = frmChoice();
        Launch(menu, *LaunchRowOf(menu, menu->cmdMsg));
        QVERIFY(isFormLoaded<class frmMessenger>());
        QVERIFY(frmMessenger()->isVisible());
        QCOMPARE(music().lastPlayed.section(u'/', -1), QStringLiteral("Stretch5.mp3"));
        frmMessenger()->Unload();
        QCOMPARE(music().lastPlayed.section(u'/', -1), QStringLiteral("Stretch6.mp3"));
    }

    void roleChosen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("empty name: server") << "" << true << "";
        QTest::newRow("empty name: client") << "" << false << "";
        QTest::newRow("server") << "Ann" << true << "Ann: ";
        QTest::newRow("client with a blank for a name") << " " << false << " : ";
    }
    void roleChosen() {
        QFETCH(QString, name);
        QFETCH(bool, server);
        QFETCH(QString, prefix);
        chooseRole(name, server);
        const bool opened = !prefix.isEmpty();
        QCOMPARE(frmMessenger()->isVisible(), !opened);
        QCOMPARE(isFormLoaded<class frmServer>(), opened && server);
        QCOMPARE(isFormLoaded<class frmClient>(), opened && !server);
        QCOMPARE(talks(), opened ? QStringList{"TalkOn"} : QStringList());
        if (!opened) {
            QCOMPARE(frmMessenger()->focusWidget(), frmMessenger()->txtAlias);
            return;
        }
        ChatForm* chat = server ? static_cast<ChatForm*>(frmServer()) : frmClient();
        QCOMPARE(chat->AliasPrefix, prefix);
        // A name changed later is not this window's any more.
        frmMessenger()->txtAlias->setText(QStringLiteral("Eve"));
        QCOMPARE(chat->AliasPrefix, prefix);
    }

    void languages_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("start");  // caption, label, Server, Client
        QTest::addColumn<QStringList>("server"); // caption, status, Send, address label start
        QTest::addColumn<QStringList>("client"); // caption, Connect, Disconnect, address label
        QTest::newRow("English") << "English"
                                 << QStringList{"QEM Messenger", "Enter Screen Name", "Server", "Client"}
                                 << QStringList{"QEM Messenger Server", "Disconnected", "Send", "Local IP:  "}
                                 << QStringList{"QEM Messenger Client", "Connect", "Disconnect", "TCP/IP Address"};
        QTest::newRow("German") << "German" << QStringList{"ZOV Bote", "Alias-Eingabe", "Server", "Klient"}
                                << QStringList{"ZOV Boten-Server", "Getrennt", "Senden", "Lokale IP: "}
                                << QStringList{"ZOV Boten-Klient", "Verbinden", "Trennen", "TCP/IP Adresse"};
    }
    void languages() {
        QFETCH(QString, language);
        QFETCH(QStringList, start);
        QFETCH(QStringList, server);
        QFETCH(QStringList, client);
        CurrentLanguage = language;
        class frmMessenger* m = frmMessenger();
        QCOMPARE((QStringList{m->Caption(), m->lblAlias->Caption(), m->cmdServer->text(), m->cmdClient->text()}),
                 start);
        QCOMPARE(m->cmdClient->accessibleName(), start[3]);
        class frmServer* s = openServer();
        QCOMPARE((QStringList{s->Caption(), s->lblStatus->Caption(), s->cmdSend->text(),
                              s->lblMyIP->Caption().chopped(s->tcpServer->LocalIP().size())}),
                 server);
        s->Unload();
        class frmClient* c = openClient();
        QCOMPARE((QStringList{c->Caption(), c->cmdConnect->text(), c->cmdDisCon->text(), c->lblTcp_Address->Caption()}),
                 client);
        QCOMPARE(c->lblStatus->Caption(), server[1]);
    }

    // Both windows of one process; each step runs, the connection settles,
    // then the windows' states and the sounds and boxes of the last step.
    //   server / client    the role chosen in the start window (Ann / Bob)
    //   connect:<address>  typed into the address box, then "Connect"
    //   enter:<address>    typed into the address box, then Enter
    //   again:<address>    "Connect", and Enter before the connection is made
    //   disconnect         "Disconnect"
    //   closeClient / closeServer   the window's close box
    void states_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("clientStatus");
        QTest::addColumn<bool>("connectEnabled");
        QTest::addColumn<int>("clientState");
        QTest::addColumn<QString>("serverStatus");
        QTest::addColumn<int>("serverState");
        QTest::addColumn<QStringList>("sounds"); // of the last step, in order of playing
        QTest::addColumn<QStringList>("messages");
        const QString up = QStringLiteral("Connected"), down = QStringLiteral("Disconnected");
        const QString notAvailable = QStringLiteral("Server is currently not available");
        QTest::newRow("server waits") << QStringList{"server"} << "" << false << -1 << down << 2
                                      << QStringList{"TalkOn"} << QStringList();
        QTest::newRow("client connects")
            << QStringList{"server", "client", "connect:127.0.0.1"} << up << false << 7 << up << 7
            << QStringList{"TalkIn", "TalkIn"} << QStringList();
        QTest::newRow("a host name is looked up, then connects")
            << QStringList{"server", "client", "connect:localhost"} << up << false << 7 << up << 7
            << QStringList{"TalkIn", "TalkIn"} << QStringList();
        QTest::newRow("empty address: nothing happens")
            << QStringList{"server", "client", "connect:"} << down << true << 0 << down << 2 << QStringList()
            << QStringList();
        QTest::newRow("refused: no server")
            << QStringList{"client", "connect:127.0.0.1"} << down << true << 0 << "" << -1 << QStringList()
            << QStringList{notAvailable};
        QTest::newRow("Enter in the address box while connected")
            << QStringList{"server", "client", "connect:127.0.0.1", "enter:127.0.0.1"} << up << false << 7 << up
            << 7 << QStringList() << QStringList{"You are already connected"};
        QTest::newRow("Enter while connecting gives up the attempt")
            << QStringList{"server", "client", "again:127.0.0.1"} << down << true << 0 << down << 2
            << QStringList{"TalkIn", "TalkOut"} << QStringList{notAvailable};
        QTest::newRow("client disconnects")
            << QStringList{"server", "client", "connect:127.0.0.1", "disconnect"} << down << true << 0 << down << 2
            << QStringList{"TalkOut", "TalkOut"} << QStringList();
        QTest::newRow("second Disconnect is silent")
            << QStringList{"server", "client", "connect:127.0.0.1", "disconnect", "disconnect"} << down << true << 0
            << down << 2 << QStringList() << QStringList();
        QTest::newRow("reconnect") << QStringList{"server", "client", "connect:127.0.0.1", "disconnect",
                                                  "connect:127.0.0.1"}
                                   << up << false << 7 << up << 7 << QStringList{"TalkIn", "TalkIn"}
                                   << QStringList();
        QTest::newRow("client window closes while connected")
            << QStringList{"server", "client", "connect:127.0.0.1", "closeClient"} << "" << false << -1 << down << 2
            << QStringList{"TalkOn", "TalkOut", "TalkOut"} << QStringList();
        QTest::newRow("client window closes while disconnected")
            << QStringList{"client", "closeClient"} << "" << false << -1 << "" << -1 << QStringList{"TalkOn"}
            << QStringList();
        QTest::newRow("server window closes while connected")
            << QStringList{"server", "client", "connect:127.0.0.1", "closeServer"} << down << true << 0 << "" << -1
            << QStringList{"TalkOn", "TalkOut", "TalkOut"} << QStringList();
        QTest::newRow("server window closes without a client")
            << QStringList{"server", "closeServer"} << "" << false << -1 << "" << -1
            << QStringList{"TalkOn", "TalkOut"} << QStringList();
    }
    void states() {
        QFETCH(QStringList, steps);
        for (const QString& step : steps) {
            talks();
            boxes();
            if (step == "server") openServer();
            else if (step == "client") openClient();
            else if (step.startsWith("connect:")) connectTo(frmClient(), step.mid(8));
            else if (step.startsWith("enter:")) {
                frmClient()->cboAddress->setEditText(step.mid(6));
                QTest::keyClick(frmClient()->cboAddress->lineEdit(), Qt::Key_Return);
            } else if (step.startsWith("again:")) {
                connectTo(frmClient(), step.mid(6));
                QTest::keyClick(frmClient()->cboAddress->lineEdit(), Qt::Key_Return);
            } else if (step == "disconnect") QTest::mouseClick(frmClient()->cmdDisCon, Qt::LeftButton);
            else if (step == "closeClient") frmClient()->close();
            else if (step == "closeServer") frmServer()->close();
            processEvents();
            QTRY_VERIFY_WITH_TIMEOUT(settled(), 10000);
            // Lets an event that is still on its way arrive before the checks.
            QTest::qWait(50);
        }
        const bool hasClient = isFormLoaded<class frmClient>(), hasServer = isFormLoaded<class frmServer>();
        QTEST(hasClient ? frmClient()->lblStatus->Caption() : QString(), "clientStatus");
        QTEST(hasClient && frmClient()->cmdConnect->isEnabled(), "connectEnabled");
        QTEST(clientState(), "clientState");
        if (hasClient) QCOMPARE(frmClient()->cmdSend->isDefault(), frmClient()->showsConnected());
        QTEST(hasServer ? frmServer()->lblStatus->Caption() : QString(), "serverStatus");
        QTEST(serverState(), "serverState");
        QStringList played = talks();
        QFETCH(QStringList, sounds);
        // The two windows hear of one connection in either order.
        if (played.size() == 3 && played[0] == "TalkOn") std::sort(played.begin() + 1, played.end());
        QCOMPARE(played, sounds);
        QTEST(boxes(), "messages");
        // A closing chat window shows the start window, also while the other one is open.
        QCOMPARE(frmMessenger()->isVisible(), steps.last().startsWith("close") || (!hasClient && !hasServer));
    }

    void chatBothWays() {
        class frmServer* s = openServer(QStringLiteral("Ann"));
        class frmClient* c = openClient(QStringLiteral("Bob"));
        connectTo(c, QStringLiteral("127.0.0.1"));
        QTRY_VERIFY_WITH_TIMEOUT(c->showsConnected() && s->showsConnected(), 5000);
        talks();
        say(c, QStringLiteral("hi"));
        QCOMPARE(talks(), QStringList{"TalkBeg"});
        QCOMPARE(logLines(c), QStringList{"Bob: hi"});
        QCOMPARE(c->txtSendData->Text(), QString());
        QCOMPARE(c->focusWidget(), c->txtSendData);
        QTRY_COMPARE_WITH_TIMEOUT(logLines(s), QStringList{"Bob: hi"}, 5000);
        QCOMPARE(talks(), QStringList{"TalkGet"});
        say(s, QString());
        QTRY_COMPARE_WITH_TIMEOUT(logLines(c), (QStringList{"Bob: hi", "Ann: "}), 5000);
        QCOMPARE(logLines(s), (QStringList{"Bob: hi", "Ann: "}));
        // The log is scrolled to its end, the caret behind the last character.
        QCOMPARE(c->txtOutput->textCursor().position(), c->txtOutput->document()->characterCount() - 1);
    }

    void sendWithoutConnection_data() {
        QTest::addColumn<bool>("serverWindow");
        QTest::newRow("server before any client") << true;
        QTest::newRow("client not connected") << false;
    }
    void sendWithoutConnection() {
        QFETCH(bool, serverWindow);
        ChatForm* f = serverWindow ? static_cast<ChatForm*>(openServer()) : openClient();
        talks();
        // Enter sends from the server's send box at once; the client's Send is clicked.
        f->txtSendData->setText(QStringLiteral("hello"));
        if (serverWindow) QCOMPARE(f->focusWidget(), f->txtSendData);
        if (serverWindow) typeKeys(f->txtSendData, QStringLiteral("\r"));
        else QTest::mouseClick(f->cmdSend, Qt::LeftButton);
        QCOMPARE(talks(), QStringList{"TalkBeg"});
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("No connection"));
        QCOMPARE(MsgBoxSeam::last().icon, int(vbExclamation));
        QCOMPARE(f->txtSendData->Text(), QStringLiteral("hello"));
        QCOMPARE(logLines(f), QStringList());
    }

    // What the window sends, byte for byte, as a raw peer receives it.
    void bytesSent_data() {
        QTest::addColumn<bool>("serverWindow");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("server: a line") << true << "hi" << QByteArray("Ann: hi");
        QTest::newRow("client: an empty box sends the name alone") << false << "" << QByteArray("Ann: ");
        QTest::newRow("client: Windows-1252") << false << QString::fromUtf8("ä€") << QByteArray("Ann: \xE4\x80");
        // Past the box's filter (taken off here): the log shows what was sent.
        QTest::newRow("server: characters the bytes cannot carry")
            << true << QString::fromUtf8("Привет → ok") << QByteArray("Ann: ?????? ? ok");
        QTest::newRow("client: a long line") << false << QString(20000, u'w') << "Ann: " + QByteArray(20000, 'w');
    }
    void bytesSent() {
        QFETCH(bool, serverWindow);
        QFETCH(QString, typed);
        QFETCH(QByteArray, wire);
        QTcpServer rawServer;
        std::unique_ptr<QTcpSocket> peer;
        ChatForm* f = connectRaw(serverWindow, rawServer, peer);
        QVERIFY(f);
        f->txtSendData->setValidator(nullptr);
        f->txtSendData->setText(typed);
        QTest::mouseClick(f->cmdSend, Qt::LeftButton);
        QCOMPARE(receiveBytes(peer.get(), int(wire.size())), wire);
        QCOMPARE(logLines(f), QStringList{Ansi::decode(wire)});
        // The box keeps no history of what it sent (nor its memory): Ctrl+Z
        // brings nothing back.
        QTest::keyClick(f->txtSendData, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->txtSendData->Text(), QString());
        QVERIFY(!f->txtSendData->isUndoAvailable());
    }

    // What a raw peer writes, each chunk waited for, and the log's lines.
    void bytesReceived_data() {
        QTest::addColumn<bool>("serverWindow");
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one message") << true << QList<QByteArray>{"Bob: hi"} << QStringList{"Bob: hi"};
        QTest::newRow("two messages in one read make one line")
            << true << QList<QByteArray>{"Bob: hiBob: there"} << QStringList{"Bob: hiBob: there"};
        QTest::newRow("one message in two reads makes two lines")
            << false << QList<QByteArray>{"Bob: hel", "lo"} << QStringList{"Bob: hel", "lo"};
        QTest::newRow("Windows-1252") << false << QList<QByteArray>{"Bob: \xE4\x80"}
                                      << QStringList{QString::fromUtf8("Bob: ä€")};
        QTest::newRow("control characters shown as their pictures")
            << false << QList<QByteArray>{QByteArray("a\0b\x01\x1f\tc", 7)}
            << QStringList{QString::fromUtf8("a\u2400b\u2401\u241f\tc")};
        QTest::newRow("markup stays plain text")
            << true << QList<QByteArray>{"Bob: <b>bold</b> &amp; <img src=x>"}
            << QStringList{"Bob: <b>bold</b> &amp; <img src=x>"};
    }
    void bytesReceived() {
        QFETCH(bool, serverWindow);
        QFETCH(QList<QByteArray>, chunks);
        QTcpServer rawServer;
        std::unique_ptr<QTcpSocket> peer;
        ChatForm* f = connectRaw(serverWindow, rawServer, peer);
        QVERIFY(f);
        talks();
        for (int i = 0; i < chunks.size(); ++i) {
            peer->write(chunks[i]);
            QTRY_COMPARE_WITH_TIMEOUT(logLines(f).size(), i + 1, 5000);
        }
        QTEST(logLines(f), "lines");
        QCOMPARE(talks(), QStringList(chunks.size(), QStringLiteral("TalkGet")));
    }

    // A line that arrives is told to a screen reader, wherever the focus is.
    void incomingLineTold() {
        QTcpServer rawServer;
        std::unique_ptr<QTcpSocket> peer;
        ReaderListening reader;
        ChatForm* f = connectRaw(false, rawServer, peer);
        QVERIFY(f);
        peer->write("Bob: hi there");
        QTRY_COMPARE_WITH_TIMEOUT(logLines(f).size(), 1, 5000);
        QVERIFY(!reader.notices().isEmpty());
        QCOMPARE(reader.notices().last(), QStringLiteral("Bob: hi there"));
    }

    // Lines are told as the log takes them in: lines far enough apart each
    // in a notice of its own, a flood's reads in a few notices, the newest
    // line last.
    void linesToldAsTheLogTakesThemIn_data() {
        QTest::addColumn<int>("messages");
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<bool>("eachTold");
        QTest::newRow("five lines far apart: each told") << 5 << 400 << true;
        QTest::newRow("a flood of 2,000 messages: a few notices a second") << 2000 << 2 << false;
    }
    void linesToldAsTheLogTakesThemIn() {
        QFETCH(int, messages);
        QFETCH(int, gapMs);
        QFETCH(bool, eachTold);
        QTcpServer rawServer;
        std::unique_ptr<QTcpSocket> peer;
        ReaderListening reader;
        ChatForm* f = connectRaw(false, rawServer, peer);
        QVERIFY(f);
        reader.clear();
        QStringList sent;
        QElapsedTimer took;
        took.start();
        for (int i = 1; i <= messages; ++i) {
            sent << QStringLiteral("Bob: line %1").arg(i);
            peer->write(sent.last().toLatin1());
            peer->flush();
            QTest::qWait(gapMs);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!reader.notices().isEmpty() && reader.notices().last().endsWith(sent.last()), 5000);
        QTest::qWait(300);
        const QStringList told = reader.notices();
        if (eachTold) QCOMPARE(told, sent);
        QVERIFY2(told.size() <= took.elapsed() / 250 + 2, qPrintable(QString::number(told.size())));
        QCOMPARE(logLines(f).join(QString()), sent.join(QString()));
    }

    void peerVanishes_data() {
        QTest::addColumn<bool>("serverWindow");
        QTest::newRow("client peer: the server listens again") << true;
        QTest::newRow("server peer: the client can connect again") << false;
    }
    void peerVanishes() {
        QFETCH(bool, serverWindow);
        QTcpServer rawServer;
        std::unique_ptr<QTcpSocket> peer;
        ChatForm* f = connectRaw(serverWindow, rawServer, peer);
        QVERIFY(f);
        peer->write("Bob: one");
        QTRY_COMPARE_WITH_TIMEOUT(logLines(f).size(), 1, 5000);
        talks();
        peer->abort();
        QTRY_VERIFY_WITH_TIMEOUT(!f->showsConnected(), 5000);
        QCOMPARE(talks(), QStringList{"TalkOut"});
        QCOMPARE(boxes(), QStringList());
        if (serverWindow) {
            QCOMPARE(frmServer()->tcpServer->State(), int(Winsock::sckListening));
            // The next client's lines join the same log.
            peer = rawClient(port_);
            QTRY_VERIFY_WITH_TIMEOUT(f->showsConnected(), 5000);
            peer->write("Cy: two");
            QTRY_COMPARE_WITH_TIMEOUT(logLines(f), (QStringList{"Bob: one", "Cy: two"}), 5000);
        } else {
            QCOMPARE(frmClient()->tcpClient->State(), int(Winsock::sckClosed));
            QVERIFY(frmClient()->cmdConnect->isEnabled());
            QTest::mouseClick(frmClient()->cmdConnect, Qt::LeftButton);
            QVERIFY(rawServer.waitForNewConnection(5000));
            QTRY_VERIFY_WITH_TIMEOUT(f->showsConnected(), 5000);
        }
    }

    // 10 MB of random bytes in one burst: all of it lands in the log, and
    // the window goes on chatting.
    void floodOfRandomBytes() {
        QTcpServer rawServer;
        std::unique_ptr<QTcpSocket> peer;
        ChatForm* f = connectRaw(true, rawServer, peer);
        QVERIFY(f);
        QByteArray flood(10 * 1024 * 1024, '\0');
        QRandomGenerator random(1234);
        random.fillRange(reinterpret_cast<quint32*>(flood.data()), flood.size() / 4);
        peer->write(flood + "END");
        QTRY_VERIFY_WITH_TIMEOUT(f->txtOutput->document()->lastBlock().text().endsWith("END"), 60000);
        QVERIFY(f->showsConnected());
        say(f, QStringLiteral("still here"));
        const QByteArray reply("Ann: still here");
        QCOMPARE(receiveBytes(peer.get(), int(reply.size())), reply);
    }

    void secondClientRefused() {
        class frmServer* s = openServer();
        auto first = rawClient(port_);
        QTRY_VERIFY_WITH_TIMEOUT(s->showsConnected(), 5000);
        QTcpSocket second;
        second.connectToHost(QHostAddress::LocalHost, quint16(port_));
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QAbstractSocket::UnconnectedState, 5000);
        QVERIFY(s->showsConnected());
        first->write("Bob: still");
        QTRY_COMPARE_WITH_TIMEOUT(logLines(s), QStringList{"Bob: still"}, 5000);
    }

    void portFreeAfterServerCloses() {
        class frmServer* s = openServer();
        auto peer = rawClient(port_);
        QTRY_VERIFY_WITH_TIMEOUT(s->showsConnected(), 5000);
        s->close();
        processEvents();
        QTRY_COMPARE_WITH_TIMEOUT(peer->state(), QAbstractSocket::UnconnectedState, 5000);
        QTcpServer again;
        QVERIFY(again.listen(QHostAddress::LocalHost, quint16(port_)));
    }

    void portTaken() {
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost, quint16(port_)));
        class frmServer* s = openServer();
        const MsgBoxSeam::Shown box = MsgBoxSeam::last();
        QVERIFY2(box.text.startsWith(QStringLiteral("Problem: Listening\n10048: Address in use")),
                 qPrintable(box.text));
        QCOMPARE(box.icon, int(vbCritical));
        // Still usable: Send answers, and closing works.
        QVERIFY(s->isVisible());
        QCOMPARE(s->tcpServer->State(), int(Winsock::sckClosed));
        // No address handed out that would answer nothing.
        QCOMPARE(s->lblStatus->Caption(), QStringLiteral("Not listening"));
        QCOMPARE(s->lblMyIP->Caption(), QString());
        say(s, QStringLiteral("x"));
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("No connection"));
        s->close();
        QVERIFY(frmMessenger()->isVisible());
    }

    // The send box and the screen name take only what the bytes carry,
    // typed or pasted.
    void boxesTakeWhatTheWireCarries() {
        frmMessenger()->Show(vbModeless);
        TextBox* alias = frmMessenger()->txtAlias;
        typeKeys(alias, QString::fromUtf8("Zoë ✓"));
        QApplication::clipboard()->setText(QString::fromUtf8(" Łódź"));
        QTest::keyClick(alias, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(alias->Text(), QString::fromUtf8("Zoë  ód"));
        class frmServer* s = openServer();
        typeKeys(s->txtSendData, QString::fromUtf8("€ ok → 日本"));
        QCOMPARE(s->txtSendData->Text(), QString::fromUtf8("€ ok  "));
    }

    // However much a peer sends, the log keeps its last lines only, within
    // its characters and its lines, and no history of the lines it received
    // or dropped. Each read is its number and the row's text.
    void logKeepsItsNewestLines_data() {
        QTest::addColumn<QString>("read");
        QTest::addColumn<int>("reads");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("first"); // the first line's start
        QTest::addColumn<QString>("last");  // the last line's start
        QTest::newRow("long lines: 4 MB") << QString(100 * 1024, u'x') << 60 << 40 << "20x" << "59x";
        QTest::newRow("line feeds over several reads") << QString(9999, u'\n') + "end" << 3 << 20000 << "1" << "end";
        QTest::newRow("line feeds in one read") << QString(30000, u'\n') + "end" << 1 << 20000 << "" << "end";
        QTest::newRow("CR LF is one break") << QString("\r\n").repeated(19999) + "end" << 2 << 20000 << "1" << "end";
        // Reads that go in together: a CR ending one and the break before
        // the next are two breaks, as they are when each goes in alone.
        QTest::newRow("a CR ending each read") << QString("\r") << 3 << 6 << "0" << "";
    }
    void logKeepsItsNewestLines() {
        QFETCH(QString, read);
        QFETCH(int, reads);
        QPlainTextEdit log;
        setUpLog(&log);
        for (int i = 0; i < reads; ++i) appendToLog(&log, QString::number(i) + read);
        // Reads that came while the log took the one before in go in together.
        QTRY_VERIFY(!logWaiting(&log));
        const QTextDocument* doc = log.document();
        QTEST(doc->blockCount(), "lines");
        QTEST(doc->firstBlock().text().left(3), "first");
        QTEST(doc->lastBlock().text().left(3), "last");
        QVERIFY(doc->characterCount() <= kLogCharacters);
        QCOMPARE(doc->availableUndoSteps(), 0);
    }

    // Whatever the reads and however they meet the log's rests, the log
    // shows the newest whole lines within its bounds, none missing between
    // them. Reads are added while the log rests; "" lets it take them in.
    void logShowsTheNewestLines_data() {
        QTest::addColumn<QStringList>("reads");
        // Older lines, one just before a burst of a little over the log's
        // bound in raw characters (298 a line with its CR LF), within it
        // as the log counts them: the older lines stay, and so does it.
        QStringList burst{QStringList(1000, QStringLiteral("Bob: old")).join(u'\n'), "Bob: THE LINE"};
        burst << QStringList(1006, (QString(296, u'z') + "\r\n").repeated(14));
        QTest::newRow("a line just before a burst") << burst;
        for (quint32 seed : {1u, 2u})
            QTest::newRow(qPrintable(QStringLiteral("reads of every shape, seed %1").arg(seed))) << readsOfEveryShape(seed);
    }
    void logShowsTheNewestLines() {
        QFETCH(QStringList, reads);
        QPlainTextEdit log;
        setUpLog(&log);
        QStringList sent;
        for (qsizetype i = 0; i <= reads.size(); ++i) {
            if (i < reads.size() && !reads[i].isEmpty()) {
                appendToLog(&log, reads[i]);
                sent << reads[i];
                continue;
            }
            QTRY_VERIFY(!logWaiting(&log));
            QCOMPARE(log.toPlainText().split(u'\n'), newestLines(sent));
        }
    }

    // An error on an open connection (not an orderly end) is told, and the
    // window waits for the next client.
    void brokenConnection() {
        class frmServer* s = openServer();
        auto peer = rawClient(port_);
        QTRY_VERIFY_WITH_TIMEOUT(s->showsConnected(), 5000);
        talks();
        s->tcpServer_Error(Winsock::sckConnectAborted, QStringLiteral("Connection aborted"));
        QCOMPARE(MsgBoxSeam::last().text, QStringLiteral("Problem: Receiving\n10053: Connection aborted"));
        QCOMPARE(MsgBoxSeam::last().icon, int(vbCritical));
        QCOMPARE(talks(), QStringList{"TalkOut"});
        QCOMPARE(s->lblStatus->Caption(), QStringLiteral("Disconnected"));
        QCOMPARE(s->tcpServer->State(), int(Winsock::sckListening));
    }

    // A chat window that outlives its start window brings a new one.
    void startWindowMadeAgain() {
        openServer(QStringLiteral("Ann"));
        frmMessenger()->Unload();
        processEvents();
        frmServer()->close();
        processEvents();
        QVERIFY(frmMessenger()->isVisible());
        QCOMPARE(frmMessenger()->txtAlias->Text(), QString());
    }
};

QTEST_MAIN(TestMessenger)
#include "tst_messenger.moc"
