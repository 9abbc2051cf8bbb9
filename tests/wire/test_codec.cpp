// SPDX-License-Identifier: GPL-3.0-or-later
#include "wire/codec.h"
#include "wirecheck.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace volcanelle::wire;

namespace {

QByteArray frame(const QByteArray& body)
{
    QByteArray out(4, '\0');
    const auto size = static_cast<quint32>(body.size());
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>(size >> (24 - 8 * i));
    return out + body;
}

std::optional<Message> readBody(const QByteArray& body)
{
    return decodeBody(reinterpret_cast<const unsigned char*>(body.constData()),
                      static_cast<std::size_t>(body.size()));
}

// A board with every picture on it and every caption filled.
Snapshot fullSnapshot(const QString& minesLeft)
{
    Snapshot s;
    for (std::size_t i = 0; i < s.cells.size(); ++i)
        s.cells[i] = static_cast<std::uint8_t>(i % 11);
    s.turn = 2;
    s.turnText = QStringLiteral("Le joueur n°2 a la main.");
    s.score = {QStringLiteral("3 points"), QStringLiteral("0 point")};
    s.won = {1, 65535};
    s.wonText = {QStringLiteral("1 manche"), QStringLiteral("65535 manches")};
    s.minesLeft = minesLeft;
    s.countBeingChosen = true;
    return s;
}

} // namespace

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    // Every message the two programs send reads back as itself, however the stream is cut.
    void messagesSurviveTheTrip()
    {
        const std::vector<Message> sent{
            Hello{kVersion, 482913},
            Hello{kVersion, 999999},
            Welcome{},
            Refused{Refused::Reason::LockedOut, kVersion},
            Ping{},
            Click{224},
            Count{true, QStringLiteral(" 050 ")},
            Count{false, {}},
            Cell{17, false, 9},
            Cell{0, true, 0},
            Caption{Caption::Slot::Turn, 2, QStringLiteral("Le joueur n°2 a la main.")},
            Announce{QStringLiteral("Le jeu est serré, personne n'a gagné."),
                     QStringLiteral("Recommencez le duel un autre fois !")},
            Bye{},
            Enter{Enter::Action::Join, kVersion, kRoomCodeLimit - 1, {}},
            Enter{Enter::Action::Resume, kVersion, 7, QByteArray(kTokenSize, '\xfe')},
            Entered{kVersion, 1, 2, QByteArray(kTokenSize, 'a')},
            Opponent{false},
            Welcome{kVersion, QByteArray(kTokenSize, '\x01')},
            Rejoin{kVersion, QByteArray(kTokenSize, '\x80'), 4000000000u},
            fullSnapshot(QStringLiteral("27 bombes restantes")),
            Farewell{QStringLiteral("Le serveur s'arrête.")},
        };
        QByteArray stream;
        for (const Message& m : sent)
            stream += encode(m);

        FrameReader reader;
        std::vector<Message> got;
        for (char byte : stream) {
            reader.append(QByteArray(1, byte));
            Message m;
            while (reader.next(m) == FrameReader::Status::Ready)
                got.push_back(m);
        }
        QCOMPARE(got.size(), sent.size());
        for (std::size_t i = 0; i < sent.size(); ++i)
            QCOMPARE(encode(got[i]), encode(sent[i]));
        QCOMPARE(std::get<Hello>(got[1]).code, 999999u);
        QCOMPARE(std::get<Caption>(got[10]).text, QStringLiteral("Le joueur n°2 a la main."));

        // As a WebSocket message carries them: the body alone.
        for (const Message& m : sent) {
            const std::optional<Message> back = readBody(encodeBody(m));
            QVERIFY(back);
            QCOMPARE(encode(*back), encode(m));
        }
    }

    // A covered cell goes out without its picture, whatever the sender put in it.
    void coveredCellsCarryNoPicture()
    {
        const QByteArray bytes = encode(Cell{40, true, 9});
        QCOMPARE(bytes.toHex(), QByteArray("000000040a280100"));
    }

    void hostileBytesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("unknown kind") << QByteArray("\x7f", 1);
        QTest::newRow("click off the board") << QByteArray("\x06\xe1", 2);
        QTest::newRow("click cut short") << QByteArray("\x06", 1);
        QTest::newRow("ping running on") << QByteArray("\x04\x00", 2);
        QTest::newRow("hello without magic") << QByteArray("\x01XXXX\x00\x01\x00\x00\x00\x01", 11);
        QTest::newRow("code of seven digits") << QByteArray("\x01VLCN\x00\x01\x00\x0f\x42\x40", 11);
        QTest::newRow("covered cell with its mine") << QByteArray("\x0a\x05\x01\x09", 4);
        QTest::newRow("cell off the board") << QByteArray("\x0a\xe1\x00\x01", 4);
        QTest::newRow("uncovered cell, no picture") << QByteArray("\x0a\x05\x00\x00", 4);
        QTest::newRow("picture 11") << QByteArray("\x0a\x05\x00\x0b", 4);
        QTest::newRow("text longer than its body") << QByteArray("\x0c\x00\x09"
                                                                 "abc\x00\x00",
                                                                 7);
        QTest::newRow("text not UTF-8") << QByteArray("\x0c\x00\x02\xc3\x28\x00\x00", 7);
        QTest::newRow("turn for player 3") << QByteArray("\x0b\x00\x00\x03\x00\x00", 6);
        QTest::newRow("unknown refusal") << QByteArray("\x03\x09\x00\x01", 4);
        QTest::newRow("refusal without reason") << QByteArray("\x03\x00\x00\x01", 4);
        QTest::newRow("cancelled count with text") << QByteArray("\x09\x00\x00\x01x", 5);
        QTest::newRow("enter cut short")
            << QByteArray("\x0fVLCN\x02\x00\x01\x01\x00\x00\x00\x00", 13);
        QTest::newRow("opening a named room")
            << QByteArray("\x0fVLCN\x01\x00\x01\x00\x00\x00\x00\x07\x00", 14);
        QTest::newRow("resuming without a token")
            << QByteArray("\x0fVLCN\x03\x00\x01\x00\x00\x00\x00\x07\x00", 14);
        QTest::newRow("token of three bytes")
            << QByteArray("\x0fVLCN\x03\x00\x01\x00\x00\x00\x00\x07\x03"
                          "abc",
                          17);
        QTest::newRow("entered as player 3")
            << QByteArray("\x10VLCN\x00\x01\x00\x00\x00\x00\x07\x03"
                          "\x10"
                          "0123456789abcdef",
                          31);
        QTest::newRow("opponent neither here nor away") << QByteArray("\x11\x02", 2);
        QTest::newRow("welcome with a short token") << QByteArray("\x02VLCN\x00\x03\x03"
                                                                  "abc",
                                                                  10);
        QTest::newRow("rejoin without a token")
            << QByteArray("\x12VLCN\x00\x03\x00\x00\x00\x00\x01", 12);
        const QByteArray state = encode(fullSnapshot(QStringLiteral("x"))).mid(4);
        QTest::newRow("snapshot cut short") << state.left(state.size() - 1);
        QTest::newRow("snapshot running on") << state + '\x00';
        QByteArray picture11 = state;
        picture11[1 + 10] = '\x0b';
        QTest::newRow("snapshot with picture 11") << picture11;
        QByteArray turn3 = state;
        turn3[1 + 225] = '\x03';
        QTest::newRow("snapshot with player 3 to play") << turn3;
    }
    void hostileBytesAreRefused()
    {
        QFETCH(QByteArray, body);
        QVERIFY(!readBody(body));
        FrameReader reader;
        reader.append(frame(body) + encode(Ping{}));
        Message m;
        QCOMPARE(reader.next(m), FrameReader::Status::Refused);
        // Nothing after a refused frame is believed.
        QCOMPARE(reader.next(m), FrameReader::Status::Refused);
    }

    // An oversized length is refused from its prefix alone, before any body is waited for.
    void oversizedFramesAreRefusedAtOnce()
    {
        FrameReader reader;
        reader.append(QByteArray::fromHex("00004001"));
        Message m;
        QCOMPARE(reader.next(m), FrameReader::Status::Refused);

        FrameReader largest;
        largest.append(QByteArray::fromHex("00004000") + QByteArray(100, '\x04'));
        QCOMPARE(largest.next(m), FrameReader::Status::NeedMore);
    }

    // Text too long for one message is cut at a character, not inside one.
    void longTextIsCutAtACharacter()
    {
        const QString text = QString(kMaxText - 1, QLatin1Char('a')) + QStringLiteral("é");
        const QByteArray bytes = encode(Announce{text, QStringLiteral("t")});
        const std::optional<Message> back = readBody(bytes.mid(4));
        QVERIFY(back);
        QCOMPARE(std::get<Announce>(*back).text, QString(kMaxText - 1, QLatin1Char('a')));
    }

    // A snapshot of the longest captions still fits one frame, each cut at a character; a
    // welcome from another version reads as far as its number, which is all the joiner tells.
    void edgesOfTheComeback()
    {
        const QString longest = QString(3000, QChar(0x00e9));
        Snapshot big = fullSnapshot(longest);
        big.turnText = big.score[0] = big.score[1] = big.wonText[0] = big.wonText[1] = longest;
        const QByteArray bytes = encode(big);
        QVERIFY(static_cast<std::size_t>(bytes.size()) - 4 <= kMaxFrame);
        const std::optional<Message> back = readBody(bytes.mid(4));
        QVERIFY(back);
        QCOMPARE(std::get<Snapshot>(*back).minesLeft, QString(1000, QChar(0x00e9)));
        QCOMPARE(std::get<Snapshot>(*back).cells[10], std::uint8_t{10});

        const std::optional<Message> old = readBody(QByteArray("\x02VLCN\x00\x01", 7));
        QVERIFY(old);
        QCOMPARE(std::get<Welcome>(*old).version, std::uint16_t{1});
        const std::optional<Message> later = readBody(QByteArray("\x02VLCN\x00\x09whatever", 15));
        QVERIFY(later);
        QCOMPARE(std::get<Welcome>(*later).version, std::uint16_t{9});
    }

    void corpusReplays()
    {
        const QDir corpus(QStringLiteral(VOLCANELLE_WIRE_CORPUS));
        const QStringList names = corpus.entryList(QDir::Files);
        QVERIFY(names.size() >= 10);
        for (const QString& name : names) {
            QFile file(corpus.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const QString fault = volcanelle::checks::checkWireBytes(
                reinterpret_cast<const unsigned char*>(bytes.constData()),
                static_cast<std::size_t>(bytes.size()));
            QVERIFY2(fault.isEmpty(), qPrintable(name + QStringLiteral(": ") + fault));
        }
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "test_codec.moc"
