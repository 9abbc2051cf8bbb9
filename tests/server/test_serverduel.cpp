// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's duel held by the server, played by two programs over loopback WebSockets:
// counts, moves, rounds, leaving, coming back, and what the bytes a side receives carry.
#include "duelwatch.h"
#include "servertestmain.h"
#include "wire/codec.h"

#include <QTest>
#include <algorithm>

using namespace volcanelle;
using namespace volcanelle::server;

namespace {

/// The verdict a player must read for these rounds won.
QString verdictFor(int won1, int won2)
{
    if (won1 > won2)
        return QStringLiteral("Le joueur 1 a gagné le jeu.");
    if (won2 > won1)
        return QStringLiteral("Le joueur 2 a gagné le jeu.");
    return QStringLiteral("Le jeu est serré, personne n'a gagné.");
}

} // namespace

class TestServerDuel : public QObject {
    Q_OBJECT
private slots:
    // A whole duel: the opener chooses the first count, both play a round to its end, the
    // joiner asks for a new round and chooses its count, and the opener quits.
    void wholeDuel()
    {
        Match m;
        QVERIFY(m.enter());
        TestClient& one = m.side(1);
        TestClient& two = m.side(2);
        QTRY_COMPARE(Screen(one).countAsked, 1);
        QTRY_COMPARE(Screen(two).countBeingChosen, 1);
        QCOMPARE(Screen(two).countAsked, 0);
        QCOMPARE(Screen(two).turnText, QStringLiteral("Le joueur n°1 a la main."));

        // A count from the side not asked changes nothing; one that cannot be read is asked
        // again.
        two.send(wire::Count{true, QStringLiteral("40")});
        QTRY_COMPARE(m.watch.heard[1], 1);
        one.send(wire::Count{true, QStringLiteral("mille")});
        QTRY_COMPARE(Screen(one).countAsked, 2);
        QVERIFY(Screen(two).minesLeft.isEmpty());
        one.send(wire::Count{true, QStringLiteral("30")});
        for (TestClient* side : {&one, &two}) {
            QTRY_COMPARE(Screen(*side).minesLeft, QStringLiteral("30 bombes restantes"));
            QCOMPARE(Screen(*side).score[1], QStringLiteral("Score : 0 point"));
        }

        // Out of turn, and on a cell already open, a click changes nothing.
        const std::size_t before1 = shown(one);
        const std::size_t before2 = shown(two);
        two.send(wire::Click{112});
        QTRY_COMPARE(m.watch.heard[1], 2);
        QVERIFY(m.duel().board().isCovered(112));
        QCOMPARE(m.duel().joueur(), 1);
        QCOMPARE(shown(one), before1);
        QCOMPARE(shown(two), before2);
        QVERIFY(m.move(1));
        const int open = [&] {
            const Screen seen(one);
            for (int i = 0; i < kCells; ++i)
                if (seen.cells[static_cast<std::size_t>(i)] != kCovered)
                    return i;
            return -1;
        }();
        const int mover = m.duel().joueur();
        const int heard = m.watch.heard[mover - 1];
        const std::size_t after1 = shown(one);
        m.side(mover).send(wire::Click{static_cast<std::uint8_t>(open)});
        QTRY_COMPARE(m.watch.heard[mover - 1], heard + 1);
        QCOMPARE(m.duel().joueur(), mover);
        QCOMPARE(shown(one), after1);

        // Both play the round out, each on its turn.
        int moves = 1;
        while (m.duel().roundInPlay() && moves < kCells) {
            QVERIFY(m.move(m.duel().joueur()));
            ++moves;
        }
        QVERIFY(!m.duel().roundInPlay());
        const int score1 = m.duel().score(1);
        const int score2 = m.duel().score(2);
        const QString winner = score1 > score2   ? QStringLiteral("Le joueur 1 a gagné!")
                               : score1 < score2 ? QStringLiteral("Le joueur 2 a gagné !")
                                                 : QStringLiteral("Match nul !");
        for (TestClient* side : {&one, &two}) {
            const Screen seen(*side);
            QCOMPARE(seen.boxes,
                     (std::vector<QString>{QStringLiteral("La partie est terminée"), winner}));
            QCOMPARE(seen.minesLeft, QStringLiteral("0 bombe restante"));
            if (score1 != score2)
                QCOMPARE(seen.wonText[score1 > score2 ? 0 : 1],
                         QStringLiteral("Partie gagnée : 1"));
        }

        // « Nouvelle manche » from the joiner: the board is covered again, the joiner chooses.
        two.send(wire::NewRound{});
        QTRY_COMPARE(Screen(two).countAsked, 1);
        QTRY_COMPARE(Screen(one).countBeingChosen, 1);
        two.send(wire::Count{true, QStringLiteral("100")});
        for (TestClient* side : {&one, &two}) {
            QTRY_COMPARE(Screen(*side).minesLeft, QStringLiteral("100 bombes restantes"));
            const Screen seen(*side);
            QCOMPARE(std::count(seen.cells.begin(), seen.cells.end(), kCovered), kCells);
        }
        for (int i = 0; i < 6; ++i)
            QVERIFY(m.move(m.duel().joueur()));

        // « Quitter »: both sides read the verdict, then the room closes.
        const QString verdict = verdictFor(m.duel().partiesGagnees(1), m.duel().partiesGagnees(2));
        one.send(wire::Quit{});
        for (TestClient* side : {&one, &two}) {
            QVERIFY(side->waitClosed());
            QCOMPARE(Screen(*side).boxes.back(), verdict);
            QVERIFY(std::holds_alternative<wire::Bye>(side->got.back()));
        }
    }

    // Every byte either side received is a message the reader takes whole; no Cell or
    // snapshot carries a covered cell's picture, and once a round's count is chosen no
    // message names a cell that is still covered: covered mines and covered blanks look
    // alike on the wire.
    void bytesCarryNoCoveredCell()
    {
        Match m;
        QVERIFY(m.enter());
        QTRY_COMPARE(Screen(m.side(1)).countAsked, 1);
        m.side(1).send(wire::Count{true, QStringLiteral("60")});
        QTRY_VERIFY(m.inStep(m.side(1)) && m.inStep(m.side(2)));
        for (int i = 0; i < 8 && m.duel().roundInPlay(); ++i)
            QVERIFY(m.move(m.duel().joueur()));
        // A second round, over a board with open cells, and a comeback's snapshot.
        m.side(2).send(wire::NewRound{});
        QTRY_COMPARE(Screen(m.side(2)).countAsked, 1);
        m.side(2).send(wire::Count{true, QStringLiteral("80")});
        for (const int side : {1, 2})
            QTRY_COMPARE(Screen(m.side(side)).minesLeft, QStringLiteral("80 bombes restantes"));
        for (int i = 0; i < 8 && m.duel().roundInPlay(); ++i)
            QVERIFY(m.move(m.duel().joueur()));
        m.pair->joiner.socket.abort();
        TestClient back(m.server.port());
        QVERIFY(back.waitOpen());
        back.send(
            wire::Enter{wire::Enter::Action::Resume, wire::kVersion, m.pair->code, m.token(2)});
        QVERIFY(back.wait<wire::Snapshot>());

        const Board& board = m.duel().board();
        int mineCovered = 0;
        for (TestClient* side : {&m.pair->opener, &m.pair->joiner, &back}) {
            QVERIFY(!side->garbled);
            bool roundSet = false;
            for (const QByteArray& body : side->bytes) {
                const auto message =
                    wire::decodeBody(reinterpret_cast<const unsigned char*>(body.constData()),
                                     static_cast<std::size_t>(body.size()));
                QVERIFY(message);
                if (const auto* cell = std::get_if<wire::Cell>(&*message)) {
                    if (cell->covered)
                        QCOMPARE(cell->picture, std::uint8_t{0});
                    if (roundSet)
                        QVERIFY2(!board.isCovered(cell->index), "a covered cell named in play");
                } else if (const auto* shot = std::get_if<wire::Snapshot>(&*message)) {
                    for (int i = 0; i < kCells; ++i)
                        QCOMPARE(shot->cells[static_cast<std::size_t>(i)] == 0, board.isCovered(i));
                } else if (const auto* caption = std::get_if<wire::Caption>(&*message)) {
                    if (caption->text == QStringLiteral("80 bombes restantes"))
                        roundSet = true;
                }
            }
        }
        for (int i = 0; i < kCells; ++i)
            mineCovered += board.isCovered(i) && board.isMine(i) ? 1 : 0;
        QVERIFY(mineCovered > 0); // there was something to hide
    }

    // A side that drops and comes back with its token sees the duel as the other side does,
    // is asked again the count it owes, and plays on.
    void sideComesBack()
    {
        Match m;
        QVERIFY(m.enter());
        QTRY_COMPARE(Screen(m.side(1)).countAsked, 1);
        m.pair->opener.socket.abort();
        QVERIFY(m.pair->joiner.wait<wire::Opponent>());
        TestClient first(m.server.port());
        QVERIFY(first.waitOpen());
        first.send(
            wire::Enter{wire::Enter::Action::Resume, wire::kVersion, m.pair->code, m.token(1)});
        QTRY_COMPARE(Screen(first).countAsked, 1);
        QVERIFY(first.first<wire::Snapshot>());
        m.sides[0] = &first;
        first.send(wire::Count{true, QStringLiteral("30")});
        QTRY_VERIFY(m.inStep(first) && m.inStep(m.side(2)));
        for (int i = 0; i < 4; ++i)
            QVERIFY(m.move(m.duel().joueur()));

        // The joiner drops on the opener's turn: the duel waits for it, the opener's clicks
        // change nothing meanwhile, and the joiner comes back to the duel as it stands.
        while (m.duel().joueur() != 1)
            QVERIFY(m.move(2));
        const std::size_t told = first.got.size();
        m.pair->joiner.socket.abort();
        QTRY_VERIFY(std::any_of(first.got.begin() + static_cast<std::ptrdiff_t>(told),
                                first.got.end(), [](const wire::Message& message) {
                                    const auto* other = std::get_if<wire::Opponent>(&message);
                                    return other && !other->present;
                                }));
        const int held = Screen(first).firstCovered();
        first.send(wire::Click{static_cast<std::uint8_t>(held)});
        QTest::qWait(300);
        QVERIFY(m.duel().board().isCovered(held));
        TestClient second(m.server.port());
        QVERIFY(second.waitOpen());
        second.send(
            wire::Enter{wire::Enter::Action::Resume, wire::kVersion, m.pair->code, m.token(2)});
        const wire::Snapshot* shot = second.wait<wire::Snapshot>();
        QVERIFY(shot);
        const Screen other(first);
        for (std::size_t i = 0; i < wire::kCellCount; ++i)
            QCOMPARE(shot->cells[i] ? int{shot->cells[i]} : kCovered, other.cells[i]);
        QCOMPARE(int{shot->turn}, other.turn);
        QCOMPARE(shot->turnText, other.turnText);
        QCOMPARE(shot->score, other.score);
        QCOMPARE(shot->wonText, other.wonText);
        QCOMPARE(shot->minesLeft, other.minesLeft);
        QCOMPARE(Screen(second).countAsked, 0);
        m.sides[1] = &second;
        QVERIFY(m.move(1));
    }

    // A box that went out on a connection already dead is sent again when the side comes
    // back saying it never had it; the snapshot says where the side's count starts again. A
    // program started again, which cannot know, relies on the server's count.
    void lostBoxComesAgain()
    {
        Match m;
        QVERIFY(m.enter());
        QTRY_COMPARE(Screen(m.side(1)).countAsked, 1);
        m.side(1).send(wire::Count{true, QStringLiteral("30")});
        QTRY_VERIFY(m.inStep(m.side(1)) && m.inStep(m.side(2)));
        while (m.duel().roundInPlay())
            QVERIFY(m.move(m.duel().joueur()));
        QTRY_COMPARE(Screen(m.side(2)).boxes.size(), std::size_t{2});
        const QString last = Screen(m.side(2)).boxes.back();

        const auto comeBack = [&](std::uint32_t boxesSeen) -> std::unique_ptr<TestClient> {
            m.side(2).socket.abort();
            if (!m.side(1).wait<wire::Opponent>())
                return nullptr;
            auto back = std::make_unique<TestClient>(m.server.port());
            if (!back->waitOpen())
                return nullptr;
            back->send(wire::Enter{wire::Enter::Action::Resume, wire::kVersion, m.pair->code,
                                   m.token(2), boxesSeen});
            if (!back->wait<wire::Snapshot>() || !back->wait<wire::Opponent>())
                return nullptr;
            m.sides[1] = back.get();
            return back;
        };
        const auto after = [](const TestClient& client) {
            std::vector<QString> boxes;
            bool past = false;
            for (const wire::Message& message : client.got) {
                past = past || std::holds_alternative<wire::Snapshot>(message);
                if (const auto* box = std::get_if<wire::Announce>(&message); box && past)
                    boxes.push_back(box->text);
            }
            return boxes;
        };

        const std::unique_ptr<TestClient> lost = comeBack(1);
        QVERIFY(lost);
        QCOMPARE(lost->first<wire::Snapshot>()->boxesSeen, 1u);
        QTRY_COMPARE(after(*lost), std::vector<QString>{last});

        const std::unique_ptr<TestClient> restarted = comeBack(wire::kBoxesUnknown);
        QVERIFY(restarted);
        QCOMPARE(restarted->first<wire::Snapshot>()->boxesSeen, 2u);
        QTest::qWait(200);
        QCOMPARE(after(*restarted), std::vector<QString>{});
    }

    // Leaving from the very first count ends the duel: both sides still read a verdict.
    void leaveFromTheFirstCount()
    {
        Match m;
        QVERIFY(m.enter());
        QTRY_COMPARE(Screen(m.side(1)).countAsked, 1);
        m.side(1).send(wire::Quit{});
        for (TestClient* side : {&m.pair->opener, &m.pair->joiner}) {
            QVERIFY(side->waitClosed());
            QCOMPARE(Screen(*side).boxes,
                     std::vector<QString>{QStringLiteral("Le jeu est serré, personne n'a gagné.")});
        }
    }

    // The server's stop ends the duel with the verdict so far on both sides.
    void stopGivesTheVerdict()
    {
        Match m;
        QVERIFY(m.enter());
        QTRY_COMPARE(Screen(m.side(1)).countAsked, 1);
        m.side(1).send(wire::Count{true, QStringLiteral("30")});
        QTRY_VERIFY(m.inStep(m.side(1)) && m.inStep(m.side(2)));
        m.server.stop(QStringLiteral("Le serveur s'arrête."));
        for (TestClient* side : {&m.pair->opener, &m.pair->joiner}) {
            QVERIFY(side->waitClosed());
            QCOMPARE(Screen(*side).boxes,
                     (std::vector<QString>{QStringLiteral("Le jeu est serré, personne n'a gagné."),
                                           QStringLiteral("Le serveur s'arrête.")}));
        }
    }
};

VOLCANELLE_SERVER_TEST_MAIN(TestServerDuel)
#include "test_serverduel.moc"
