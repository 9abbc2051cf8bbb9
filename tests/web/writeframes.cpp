// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the frames that the page's message reader is checked against: every message the
// desktop reader knows, with the values it reads from it, and a crowd of bodies around them
// (cut short, running on, one byte changed, odd texts) sorted by the desktop reader itself
// into read and refused. The page's reader must sort them the same way, to the same values.
// Room codes too: their texts, and what is read from what players type.
#include "net/roomcode.h"
#include "wire/codec.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

using namespace volcanelle::wire;

namespace {

QJsonArray list(std::initializer_list<QJsonValue> values)
{
    return QJsonArray(values);
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

// The values of a message, named as the page names them.
QJsonObject values(const Message& message)
{
    auto typed = [](const char* type, QJsonObject o) {
        o.insert(QStringLiteral("type"), QString::fromLatin1(type));
        return o;
    };
    return std::visit(
        [&](const auto& m) -> QJsonObject {
            using T = std::decay_t<decltype(m)>;
            if constexpr (std::is_same_v<T, Hello>)
                return typed("Hello", {{"version", m.version}, {"code", double(m.code)}});
            else if constexpr (std::is_same_v<T, Welcome>)
                return typed("Welcome", {{"version", m.version}, {"token", hex(m.token)}});
            else if constexpr (std::is_same_v<T, Rejoin>)
                return typed("Rejoin", {{"version", m.version},
                                        {"token", hex(m.token)},
                                        {"boxesSeen", double(m.boxesSeen)}});
            else if constexpr (std::is_same_v<T, Refused>)
                return typed("Refused", {{"reason", int(m.reason)}, {"version", m.version}});
            else if constexpr (std::is_same_v<T, Ping>)
                return typed("Ping", {});
            else if constexpr (std::is_same_v<T, Bye>)
                return typed("Bye", {});
            else if constexpr (std::is_same_v<T, Click>)
                return typed("Click", {{"index", m.index}});
            else if constexpr (std::is_same_v<T, NewRound>)
                return typed("NewRound", {});
            else if constexpr (std::is_same_v<T, Quit>)
                return typed("Quit", {});
            else if constexpr (std::is_same_v<T, Count>)
                return typed("Count", {{"given", m.given}, {"text", m.text}});
            else if constexpr (std::is_same_v<T, Cell>)
                return typed("Cell",
                             {{"index", m.index}, {"covered", m.covered}, {"picture", m.picture}});
            else if constexpr (std::is_same_v<T, Caption>)
                return typed("Caption",
                             {{"slot", int(m.slot)}, {"value", m.value}, {"text", m.text}});
            else if constexpr (std::is_same_v<T, Announce>)
                return typed("Announce", {{"text", m.text}, {"title", m.title}});
            else if constexpr (std::is_same_v<T, AskCount>)
                return typed("AskCount", {});
            else if constexpr (std::is_same_v<T, CountBeingChosen>)
                return typed("CountBeingChosen", {});
            else if constexpr (std::is_same_v<T, Enter>)
                return typed("Enter", {{"action", int(m.action)},
                                       {"version", m.version},
                                       {"room", double(m.room)},
                                       {"token", hex(m.token)},
                                       {"boxesSeen", double(m.boxesSeen)}});
            else if constexpr (std::is_same_v<T, Entered>)
                return typed("Entered", {{"version", m.version},
                                         {"room", double(m.room)},
                                         {"side", m.side},
                                         {"token", hex(m.token)}});
            else if constexpr (std::is_same_v<T, Farewell>)
                return typed("Farewell", {{"text", m.text}});
            else if constexpr (std::is_same_v<T, Opponent>)
                return typed("Opponent", {{"present", m.present}});
            else {
                static_assert(std::is_same_v<T, Snapshot>);
                QJsonArray cells;
                for (const std::uint8_t c : m.cells)
                    cells.append(c);
                return typed("Snapshot", {{"cells", cells},
                                          {"turn", m.turn},
                                          {"turnText", m.turnText},
                                          {"score", list({m.score[0], m.score[1]})},
                                          {"won", list({m.won[0], m.won[1]})},
                                          {"wonText", list({m.wonText[0], m.wonText[1]})},
                                          {"minesLeft", m.minesLeft},
                                          {"countBeingChosen", m.countBeingChosen},
                                          {"boxesSeen", double(m.boxesSeen)}});
            }
        },
        message);
}

QByteArray body(const Message& m)
{
    return encode(m).mid(4);
}

std::vector<Message> samples()
{
    const QByteArray token(kTokenSize, '\x9c');
    Snapshot snapshot;
    for (std::size_t i = 0; i < snapshot.cells.size(); ++i)
        snapshot.cells[i] = static_cast<std::uint8_t>(i % 11);
    snapshot.turn = 2;
    snapshot.turnText = QStringLiteral("Le joueur n°2 a la main.");
    snapshot.score = {QStringLiteral("Score : 3 points"), QStringLiteral("Score : 0 point")};
    snapshot.won = {1, 65535};
    snapshot.wonText = {QStringLiteral("Partie gagnée : 1"), QStringLiteral("")};
    snapshot.minesLeft = QStringLiteral("27 bombes restantes");
    snapshot.countBeingChosen = true;
    snapshot.boxesSeen = 4000000001u;
    return {
        Hello{kVersion, 999999},
        Welcome{kVersion, token},
        Welcome{7, {}},
        Rejoin{kVersion, token, 4000000000u},
        Refused{Refused::Reason::NoSuchRoom, kVersion},
        Refused{Refused::Reason::WrongCode, 1},
        Ping{},
        Bye{},
        Click{0},
        Click{224},
        NewRound{},
        Quit{},
        Count{true, QStringLiteral("050")},
        Count{true, QStringLiteral("é😀 «»")},
        Count{true, QString(5000, QChar(0x00e9))}, // cut at the longest text, between letters
        Count{false, {}},
        Cell{17, false, 9},
        Cell{224, false, 10},
        Cell{3, true, 0},
        Caption{Caption::Slot::Turn, 1, QStringLiteral("Le joueur n°1 a la main.")},
        Caption{Caption::Slot::Score2, 0, QStringLiteral("Score : 1 point")},
        Caption{Caption::Slot::Won1, 65535, QStringLiteral("Parties gagnées : 65535")},
        Caption{Caption::Slot::MinesLeft, 0, QStringLiteral("L'adversaire choisit…")},
        Announce{QStringLiteral("Le joueur 1 a gagné!"),
                 QStringLiteral("Les doigts dans le nez ^^")},
        Announce{QString(), QString()},
        AskCount{},
        CountBeingChosen{},
        Enter{Enter::Action::Open, kVersion, 0, {}},
        Enter{Enter::Action::Join, kVersion, kRoomCodeLimit - 1, {}},
        Enter{Enter::Action::Resume, kVersion, 123456789, token},
        Enter{Enter::Action::Resume, kVersion, 123456789, token, 17},
        Entered{kVersion, 1, 2, token},
        Entered{kVersion, kRoomCodeLimit - 1, 1, QByteArray(kTokenSize, '\0')},
        Opponent{false},
        Opponent{true},
        Farewell{QStringLiteral("Le serveur s'arrête.")},
        snapshot,
    };
}

// A body with `text` (raw bytes) as the text of an Announce or of a Count.
QByteArray withText(char kind, const QByteArray& text)
{
    QByteArray b(1, kind);
    if (kind == 9)
        b.append('\x01');
    b.append(static_cast<char>(text.size() >> 8)).append(static_cast<char>(text.size()));
    b.append(text);
    if (kind == 12)
        b.append(2, '\0');
    return b;
}

std::vector<QByteArray> oddBodies()
{
    std::vector<QByteArray> bodies{
        QByteArray(),
        QByteArray(1, '\0'),
        QByteArray(1, '\x14'),
        QByteArray(1, '\xff'),
        QByteArray(kMaxFrame + 1, '\x04'),
        QByteArray("\x04\x00", 2),
    };
    const QByteArray texts[] = {
        "caf\xc3\xa9",
        "\xc3",
        "\xc0\x80",
        "\xed\xa0\x80",
        "\xf4\x90\x80\x80",
        "\xef\xbb\xbf"
        "ab",
        "\xef\xbf\xbe",
        "\xf0\x9f\x98\x80",
        "\xe2\x82",
        "a\xffz",
        QByteArray(1, '\0'),
        "\xf8\x88\x80\x80\x80",
        QByteArray(kMaxText, 'x'),
        QByteArray(kMaxText + 1, 'x'),
    };
    for (const QByteArray& text : texts)
        for (const char kind : {char(9), char(12)})
            bodies.push_back(withText(kind, text));
    return bodies;
}

// Each good body, cut at every length, with a byte more, and with each byte changed.
std::vector<QByteArray> around(const QByteArray& good)
{
    std::vector<QByteArray> out;
    const qsizetype reach = std::min<qsizetype>(good.size(), 40);
    for (qsizetype cut = 0; cut < reach; ++cut)
        out.push_back(good.left(cut));
    out.push_back(good + '\0');
    for (qsizetype at = 0; at < reach; ++at)
        for (const int change : {1, -1, 0x80}) {
            QByteArray changed = good;
            changed[at] = static_cast<char>(static_cast<unsigned char>(good[at]) + change);
            out.push_back(changed);
        }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FRAMES.json\n", argv[0]);
        return 2;
    }
    QJsonArray written, read, refused;
    std::vector<QByteArray> bodies;
    for (const Message& m : samples()) {
        const QByteArray b = body(m);
        written.append(QJsonObject{{"hex", hex(b)}, {"message", values(m)}});
        bodies.push_back(b);
        for (const QByteArray& near : around(b))
            bodies.push_back(near);
    }
    for (const QByteArray& odd : oddBodies())
        bodies.push_back(odd);
    for (const QByteArray& b : bodies) {
        const auto m = decodeBody(reinterpret_cast<const unsigned char*>(b.constData()),
                                  static_cast<std::size_t>(b.size()));
        if (m)
            read.append(QJsonObject{{"hex", hex(b)}, {"message", values(*m)}});
        else
            refused.append(hex(b));
    }
    QJsonArray codes, typed;
    for (const std::uint64_t code : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{123456789},
                                     std::uint64_t{987654321012}, kRoomCodeLimit - 1})
        codes.append(
            QJsonObject{{"code", double(code)}, {"text", volcanelle::net::roomCodeText(code)}});
    for (const char* text : {"7KQ3-M9XA", "  7kq3-m9xa ", "7KQ3M9XA", "7KQ0-M9XA", "7KQO-M9XA",
                             "7KQ1-M9XA", "7KQI-M9XA", "7KQ3-M9X", "7KQ3--M9XA", "7KQ3-M9XAB", "",
                             "7KQ3 M9XA", "7KQ3-M9XÀ", "\t23456789\n", "2345-6789-"}) {
        const QString t = QString::fromUtf8(text);
        const auto code = volcanelle::net::readRoomCode(t);
        typed.append(
            QJsonObject{{"typed", t}, {"code", code ? QJsonValue(double(*code)) : QJsonValue()}});
    }

    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    const QJsonObject all{{"written", written},
                          {"read", read},
                          {"refused", refused},
                          {"codes", codes},
                          {"typed", typed}};
    out.write(QJsonDocument(all).toJson(QJsonDocument::Compact));
    std::printf("%lld written, %lld read, %lld refused\n", static_cast<long long>(written.size()),
                static_cast<long long>(read.size()), static_cast<long long>(refused.size()));
    return out.error() == QFileDevice::NoError ? 0 : 1;
}
