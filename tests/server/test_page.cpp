// SPDX-License-Identifier: GPL-3.0-or-later
// The server's one port as a browser meets it: the page's files with their headers, French
// refusals for what is not a file or not a request, deadlines on slow senders, and the
// game programs' WebSocket still let in beside it.
#include "scriptduel.h"
#include "server/duelserver.h"
#include "servertestmain.h"
#include "wire/codec.h"

#include <QFile>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

using namespace volcanelle;
using namespace volcanelle::server;

namespace {

struct Reply {
    QByteArray status;                    // "HTTP/1.1 200 OK"
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
    bool closed = false;
};

// Sends `request` as it is and reads until the server closes the connection (5 s at most).
Reply fetch(quint16 port, const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    Reply reply;
    if (!socket.waitForConnected(5000))
        return reply;
    socket.write(request);
    QByteArray all;
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() && socket.state() == QAbstractSocket::ConnectedState) {
        QTest::qWait(5);
        all += socket.readAll();
    }
    all += socket.readAll();
    reply.closed = socket.state() != QAbstractSocket::ConnectedState;
    const qsizetype end = all.indexOf("\r\n\r\n");
    const QList<QByteArray> lines = all.left(end).split('\n');
    reply.status = lines.value(0).trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        reply.headers.insert(lines[i].left(colon).trimmed().toLower(),
                             lines[i].mid(colon + 1).trimmed());
    }
    reply.body = end < 0 ? QByteArray() : all.mid(end + 4);
    return reply;
}

QByteArray get(const QByteArray& path, const QByteArray& method = "GET")
{
    return method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: */*\r\n\r\n";
}

const QByteArray kPolicy = "default-src 'self'; connect-src 'self' ws: wss:; base-uri 'none'; "
                           "form-action 'none'; frame-ancestors 'none'";

} // namespace

class TestPage : public QObject {
    Q_OBJECT
private slots:
    // The page and a picture, each with its type, its length and the headers that keep the
    // page to its own origin; HEAD says the same without the body.
    void servesThePage()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));

        const Reply page = fetch(server.port(), get("/"));
        QCOMPARE(page.status, QByteArray("HTTP/1.1 200 OK"));
        QCOMPARE(page.headers.value("content-type"), QByteArray("text/html; charset=utf-8"));
        QCOMPARE(page.headers.value("content-security-policy"), kPolicy);
        QCOMPARE(page.headers.value("x-content-type-options"), QByteArray("nosniff"));
        QVERIFY(!page.headers.value("cache-control").isEmpty());
        QCOMPARE(page.headers.value("content-length").toLongLong(), page.body.size());
        QVERIFY(page.body.contains("<script type=\"module\" src=\"app.js\"></script>"));
        QVERIFY(page.closed);
        QCOMPARE(fetch(server.port(), get("/index.html?x=1")).body, page.body);

        const Reply head = fetch(server.port(), get("/", "HEAD"));
        QCOMPARE(head.status, QByteArray("HTTP/1.1 200 OK"));
        QCOMPARE(head.headers.value("content-length"), page.headers.value("content-length"));
        QVERIFY(head.body.isEmpty());

        const Reply texts = fetch(server.port(), get("/texts.js"));
        QCOMPARE(texts.headers.value("content-type"), QByteArray("text/javascript; charset=utf-8"));
        QVERIFY(QString::fromUtf8(texts.body).contains(QStringLiteral("'Créer une salle'")));

        QFile mine(QStringLiteral(VOLCANELLE_PICTURES "/9.jpg"));
        QVERIFY(mine.open(QIODevice::ReadOnly));
        const Reply picture = fetch(server.port(), get("/pictures/9.jpg"));
        QCOMPARE(picture.status, QByteArray("HTTP/1.1 200 OK"));
        QCOMPARE(picture.headers.value("content-type"), QByteArray("image/jpeg"));
        QCOMPARE(picture.body, mine.readAll());
    }

    // What names no file of the page, or is not a request for one, gets a short French
    // answer and the connection ends.
    void refusesTheRest()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        for (const QByteArray path : {"/nope.html", "/../CMakeLists.txt", "/web/index.html",
                                      "/pictures/", "/pictures/11.jpg", "/%2e%2e/"}) {
            const Reply missing = fetch(server.port(), get(path));
            QCOMPARE(missing.status, QByteArray("HTTP/1.1 404 Not Found"));
            QCOMPARE(QString::fromUtf8(missing.body).trimmed(),
                     QStringLiteral("Page introuvable sur ce serveur de duels."));
            QCOMPARE(missing.headers.value("content-security-policy"), kPolicy);
        }
        const Reply post = fetch(server.port(), get("/", "POST"));
        QCOMPARE(post.status, QByteArray("HTTP/1.1 405 Method Not Allowed"));
        QCOMPARE(post.headers.value("allow"), QByteArray("GET, HEAD"));
        QVERIFY(QString::fromUtf8(post.body).startsWith(QStringLiteral("Méthode refusée")));

        for (const QByteArray& garbled :
             {QByteArray("HELLO\r\n\r\n"), QByteArray("GET / HTTP/2.0\r\n\r\n"),
              QByteArray("GET nowhere HTTP/1.1\r\n\r\n"),
              QByteArray("GET / HTTP/1.1\r\nNo colon\r\n\r\n"),
              QByteArray("GET / HTTP/1.1\r\nX: a\x01z\r\n\r\n"), QByteArray("\r\n\r\n")}) {
            const Reply bad = fetch(server.port(), garbled);
            QVERIFY2(bad.status == "HTTP/1.1 400 Bad Request", garbled.constData());
            QCOMPARE(QString::fromUtf8(bad.body).trimmed(), QStringLiteral("Requête incorrecte."));
            QVERIFY(bad.closed);
        }
        const Reply endless =
            fetch(server.port(), "GET / HTTP/1.1\r\nX-Long: " + QByteArray(9000, 'a'));
        QCOMPARE(endless.status, QByteArray("HTTP/1.1 431 Request Header Fields Too Large"));
        QVERIFY(endless.closed);
        // Every connection above is over, and counted no more against its address.
        QTRY_COMPARE(server.linkCount(), 0);
    }

    // A client that never ends its head is let go at the deadline, with nothing said.
    void slowSenderLetGo()
    {
        ScriptDuel::Record record;
        ServerLimits limits;
        limits.helloMs = 300;
        limits.connectionsPerAddress = 1;
        DuelServer server(limits, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        QElapsedTimer clock;
        clock.start();
        const Reply slow = fetch(server.port(), "GET / HTTP/1.1\r\nHost: 1");
        QVERIFY(slow.closed);
        QVERIFY(slow.status.isEmpty());
        QVERIFY2(clock.elapsed() < 3000, "held past its deadline");
        // Its connection was given back: the one connection allowed serves the page again.
        QTRY_COMPARE(fetch(server.port(), get("/")).status, QByteArray("HTTP/1.1 200 OK"));
    }

    // The game programs' WebSocket, on /ws as on /, still enters a room on the same port.
    void webSocketBeside()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        for (const QString& path : {QStringLiteral("/ws"), QStringLiteral("/")}) {
            QWebSocket socket;
            std::optional<wire::Message> first;
            connect(&socket, &QWebSocket::binaryMessageReceived, this,
                    [&first](const QByteArray& body) {
                        first = wire::decodeBody(
                            reinterpret_cast<const unsigned char*>(body.constData()),
                            static_cast<std::size_t>(body.size()));
                    });
            socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1%2").arg(server.port()).arg(path)));
            QTRY_COMPARE(socket.state(), QAbstractSocket::ConnectedState);
            socket.sendBinaryMessage(
                wire::encode(wire::Enter{wire::Enter::Action::Open, wire::kVersion, 0, {}}).mid(4));
            QTRY_VERIFY(first.has_value());
            QVERIFY(std::holds_alternative<wire::Entered>(*first));
            QCOMPARE(std::get<wire::Entered>(*first).side, 1);
        }
        QCOMPARE(server.roomCount(), 2);
    }
};

VOLCANELLE_SERVER_TEST_MAIN(TestPage)
#include "test_page.moc"
