// SPDX-License-Identifier: GPL-3.0-or-later
// The server's own WebSocket, seen from a client written apart from it (the load bench's): the
// handshake, frames cut anywhere and messages in fragments, the control frames, and every
// frame a client may not send ending the connection without an answer.
#include "scriptduel.h"
#include "server/duelserver.h"
#include "server/wsframes.h"
#include "servertestmain.h"
#include "wire/codec.h"
#include "wsframe.h"

#include <QTcpSocket>
#include <QTest>
#include <optional>

using namespace volcanelle;
using namespace volcanelle::server;
namespace client = volcanelle::bench::ws;

namespace {

constexpr std::uint32_t kMask = 0x37FA213D;

std::string enterBody(std::uint16_t version = wire::kVersion)
{
    return wire::encodeBody(wire::Enter{wire::Enter::Action::Open, version, 0, {}}).toStdString();
}

// A raw client of the server's port: what it writes goes out as it is, what it reads is kept.
class RawClient {
public:
    explicit RawClient(quint16 port) { socket_.connectToHost(QHostAddress::LocalHost, port); }

    bool connected() { return socket_.waitForConnected(5000); }
    void write(const std::string& bytes) { socket_.write(bytes.data(), qint64(bytes.size())); }

    // Reads until `enough` holds of what came, or the connection closes (5 s at most).
    template <class Enough> bool readUntil(Enough enough)
    {
        QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            in_ += socket_.readAll().toStdString();
            if (enough(in_))
                return true;
            if (socket_.state() != QAbstractSocket::ConnectedState)
                return enough(in_);
            QTest::qWait(2);
        }
        return false;
    }

    bool upgrade()
    {
        write(client::upgradeRequest("127.0.0.1"));
        std::size_t used = 0;
        if (!readUntil([&](const std::string& in) {
                return client::readUpgrade(in, used) != client::Upgrade::NeedMore;
            }))
            return false;
        const bool accepted = in_.find(std::string("Sec-WebSocket-Accept: ") +
                                       "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n") != std::string::npos;
        in_.erase(0, used);
        return accepted && in_.empty();
    }

    // The next frame from the server, or nothing when the connection closed first.
    std::optional<client::Frame> frame()
    {
        client::Frame frame;
        std::size_t used = 0;
        if (!readUntil([&](const std::string& in) {
                return client::readFrame(in, 1 << 16, frame, used) != client::Read::NeedMore;
            }))
            return std::nullopt;
        if (client::readFrame(in_, 1 << 16, frame, used) != client::Read::Ready)
            return std::nullopt;
        kept_ = std::string(frame.payload);
        frame.payload = kept_;
        in_.erase(0, used);
        return frame;
    }

    // Whether the server closes the connection with nothing more said.
    bool closedSilently()
    {
        readUntil([](const std::string&) { return false; });
        return socket_.state() != QAbstractSocket::ConnectedState && in_.empty();
    }

private:
    QTcpSocket socket_;
    std::string in_;
    std::string kept_;
};

// A server of its own with a raw client on it, the client already a WebSocket once
// upgraded() is true.
struct Served {
    ScriptDuel::Record record;
    DuelServer server{{}, ScriptDuel::factory(record)};
    std::optional<RawClient> raw;

    bool upgraded()
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        raw.emplace(server.port());
        return raw->connected() && raw->upgrade();
    }
};

bool isEntered(const std::optional<client::Frame>& frame)
{
    if (!frame || frame->opcode != client::kBinary)
        return false;
    const auto message = wire::decodeBody(
        reinterpret_cast<const unsigned char*>(frame->payload.data()), frame->payload.size());
    return message && std::holds_alternative<wire::Entered>(*message);
}

// A masked frame of `opcode` with an announced length of `size` and no payload.
std::string headOnly(std::uint8_t first, std::uint64_t size)
{
    std::string out(1, char(first));
    out += char(0x80 | 127);
    for (int shift = 56; shift >= 0; shift -= 8)
        out += char((size >> shift) & 0xFF);
    out += std::string(4, '\x11');
    return out;
}

} // namespace

class TestWebSocket : public QObject {
    Q_OBJECT
private slots:
    // The reader alone: a frame is Ready only when whole, and what a client may not send is
    // Broken as soon as its head shows it, before any payload.
    void readsClientFrames()
    {
        QCOMPARE(ws::acceptKey("dGhlIHNhbXBsZSBub25jZQ=="),
                 QByteArray("s3pPLMBiTxaQ9kYGzzhZRbK+xOo="));
        std::string whole;
        client::appendBinary(whole, std::string(300, 'x'), kMask);
        for (std::size_t cut = 0; cut < whole.size(); ++cut) {
            ws::Frame frame;
            qsizetype used = 0;
            QCOMPARE(ws::readFrame(QByteArrayView(whole.data(), qsizetype(cut)), 1024, frame, used),
                     ws::Read::NeedMore);
        }
        ws::Frame frame;
        qsizetype used = 0;
        QCOMPARE(
            ws::readFrame(QByteArrayView(whole.data(), qsizetype(whole.size())), 1024, frame, used),
            ws::Read::Ready);
        QCOMPARE(used, qsizetype(whole.size()));
        QCOMPARE(frame.payload, QByteArray(300, 'x'));

        const auto broken = [](const std::string& bytes, qsizetype most = 1024) {
            ws::Frame frame;
            qsizetype used = 0;
            return ws::readFrame(QByteArrayView(bytes.data(), qsizetype(bytes.size())), most, frame,
                                 used) == ws::Read::Broken;
        };
        QVERIFY(broken(std::string("\x82\x05hello", 7)));       // not masked
        QVERIFY(broken(std::string("\xC2\x80\0\0\0\0", 6)));    // a reserved bit
        QVERIFY(broken(std::string("\x83\x80\0\0\0\0", 6)));    // no such opcode
        QVERIFY(broken(std::string("\x09\x80\0\0\0\0", 6)));    // a ping in pieces
        QVERIFY(broken(std::string("\x89\xFE\0\x7E", 4)));      // a ping of 126 bytes
        QVERIFY(broken(headOnly(0x82, 1025)));                  // too long for `most`
        QVERIFY(broken(headOnly(0x82, 0xFFFFFFFFFFFFFFFFull))); // a length no one can send
        QVERIFY(!broken(headOnly(0x82, 1024)));
    }

    // A message cut in three fragments, sent a byte at a time, is one message; the server's
    // pong carries the ping's payload; a close is answered with a close, and the connection
    // ends.
    void putsFragmentsTogether()
    {
        Served served;
        QVERIFY(served.upgraded());
        DuelServer& server = served.server;
        RawClient& raw = *served.raw;

        const std::string body = enterBody();
        std::string frames;
        client::appendBinary(frames, "", kMask);
        frames[0] = char(0x02); // binary, not final, empty
        std::string middle;
        client::appendBinary(middle, body.substr(0, 3), kMask);
        middle[0] = char(0x00); // continuation, not final
        std::string last;
        client::appendBinary(last, body.substr(3), kMask);
        last[0] = char(0x80); // continuation, final
        std::string ping;
        client::appendControl(ping, client::kPing, "tic", kMask);
        // A ping may come between a message's fragments.
        frames += middle + ping + last;
        for (const char byte : frames) {
            raw.write(std::string(1, byte));
            QTest::qWait(0);
        }
        const auto pong = raw.frame();
        QVERIFY(pong);
        QCOMPARE(pong->opcode, client::kPong);
        QCOMPARE(std::string(pong->payload), std::string("tic"));
        QVERIFY(isEntered(raw.frame()));

        std::string close;
        client::appendControl(close, client::kClose, std::string("\x03\xE8", 2), kMask);
        raw.write(close);
        const auto answer = raw.frame();
        QVERIFY(answer);
        QCOMPARE(answer->opcode, client::kClose);
        QCOMPARE(std::string(answer->payload), std::string("\x03\xE8", 2));
        QVERIFY(raw.closedSilently());
        QTRY_COMPARE(server.linkCount(), 0);
    }

    // What a client may not send ends its connection with no answer and frees its place.
    void endsOnForbiddenFrames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        std::string text;
        client::appendBinary(text, enterBody(), kMask);
        text[0] = char(0x81);
        QTest::newRow("text") << QByteArray::fromStdString(text);
        QTest::newRow("unmasked") << QByteArray("\x82\x03"
                                                "abc");
        QTest::newRow("too long, payload never sent")
            << QByteArray::fromStdString(headOnly(0x82, 17 * 1024));
        std::string stray;
        client::appendBinary(stray, enterBody(), kMask);
        stray[0] = char(0x80);
        QTest::newRow("continuation of nothing") << QByteArray::fromStdString(stray);
        std::string garbled;
        client::appendBinary(garbled, "\xEE\x01", kMask);
        QTest::newRow("not a game message") << QByteArray::fromStdString(garbled);
    }
    void endsOnForbiddenFrames()
    {
        QFETCH(QByteArray, bytes);
        Served served;
        QVERIFY(served.upgraded());
        DuelServer& server = served.server;
        RawClient& raw = *served.raw;
        raw.write(bytes.toStdString());
        QVERIFY(raw.closedSilently());
        QTRY_COMPARE(server.linkCount(), 0);
        QCOMPARE(server.roomCount(), 0);
    }

    // An upgrade without its key, or for another version of the protocol, is a bad request.
    void refusesAnIncompleteUpgrade()
    {
        ScriptDuel::Record record;
        DuelServer server({}, ScriptDuel::factory(record));
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        for (const std::string& request :
             {std::string("GET / HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                          "Sec-WebSocket-Version: 13\r\n\r\n"),
              std::string("GET / HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                          "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                          "Sec-WebSocket-Version: 8\r\n\r\n")}) {
            RawClient raw(server.port());
            QVERIFY(raw.connected());
            raw.write(request);
            std::string seen;
            QVERIFY(raw.readUntil([&](const std::string& in) {
                seen = in;
                return in.find("\r\n\r\n") != std::string::npos;
            }));
            QVERIFY2(seen.rfind("HTTP/1.1 400 ", 0) == 0, seen.c_str());
        }
    }

    // A refusal, then the close, reach a client that wrote more behind its request, and the
    // connection ends with nothing else said.
    void refusalIsReadBeforeTheClose()
    {
        Served served;
        QVERIFY(served.upgraded());
        RawClient& raw = *served.raw;
        std::string frames;
        client::appendBinary(frames, enterBody(wire::kVersion + 1), kMask);
        for (int i = 0; i < 50; ++i)
            client::appendBinary(frames, wire::encodeBody(wire::Ping{}).toStdString(), kMask);
        raw.write(frames);
        const auto refusal = raw.frame();
        QVERIFY(refusal);
        const auto message =
            wire::decodeBody(reinterpret_cast<const unsigned char*>(refusal->payload.data()),
                             refusal->payload.size());
        QVERIFY(message && std::holds_alternative<wire::Refused>(*message));
        QCOMPARE(std::get<wire::Refused>(*message).reason, wire::Refused::Reason::BadVersion);
        const auto close = raw.frame();
        QVERIFY(close && close->opcode == client::kClose);
        QVERIFY(raw.closedSilently());
    }
};

VOLCANELLE_SERVER_TEST_MAIN(TestWebSocket)
#include "test_websocket.moc"
