// SPDX-License-Identifier: GPL-3.0-or-later
#include "fixeddraws.h"
#include "net/hostgate.h"
#include "net/joinattempt.h"
#include "netplay/hostseat.h"
#include "netplay/joinseat.h"
#include "sight.h"
#include "twosides.h"
#include "window/demin.h"
#include "windowprobe.h"
#include "wire/codec.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <set>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

const QString kCode = QStringLiteral("004217");

net::Link* join(quint16 port, const QString& code)
{
    net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), port, code.toUInt());
    QSignalSpy joined(&attempt, &net::JoinAttempt::joined);
    attempt.start();
    if (!joined.wait(5000))
        return nullptr;
    return joined.first().first().value<net::Link*>();
}

// Reads whole messages from a raw socket until `until` holds for one of them.
std::vector<wire::Message> readUntil(QTcpSocket& socket, wire::FrameReader& reader,
                                     const std::function<bool(const wire::Message&)>& until)
{
    std::vector<wire::Message> got;
    for (int round = 0; round < 200; ++round) {
        wire::Message m;
        while (reader.next(m) == wire::FrameReader::Status::Ready) {
            got.push_back(m);
            if (until(m))
                return got;
        }
        socket.waitForReadyRead(25);
        QCoreApplication::processEvents();
        reader.append(socket.readAll());
    }
    return got;
}

// After a move on `index`, wherever it was made: the window's keyboard focus is on a
// covered cell, and that cell tells what the move uncovered ("Ligne 13, colonne 1 : mine.").
QString focusAfterMove(demin& window, int index)
{
    const QWidget* focused = window.focusWidget();
    const auto* button = qobject_cast<const QAbstractButton*>(focused);
    if (!button || !button->objectName().startsWith(QStringLiteral("cmdCase(")) ||
        button->isHidden())
        return QStringLiteral("focus not on a covered cell: %1")
            .arg(focused ? focused->objectName() : QStringLiteral("none"));
    const QString told = button->accessibleDescription();
    const QString expected =
        QStringLiteral("Ligne %1, colonne %2, ").arg(index / 15 + 1).arg(index % 15 + 1);
    if (!told.startsWith(expected) || !told.endsWith(QStringLiteral(" a la main.")))
        return QStringLiteral("cell %1 tells \"%2\"").arg(button->objectName(), told);
    return QString();
}

} // namespace

class TestLoopback : public QObject {
    Q_OBJECT
private slots:
    // A scripted round played from both windows with real clicks: after every move the two
    // windows show the same thing; the boxes come on both sides; quitting ends both.
    void bothWindowsShowTheSameDuel()
    {
        FixedDraws draws(twoMineRows());
        demin host(&draws);
        net::HostGate gate(kCode);
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        HostSeat hostSeat(host, gate);
        host.show();
        QCOMPARE(caption(host, QStringLiteral("lblMain")),
                 QStringLiteral("En attente de l'adversaire…"));

        demin joiner;
        TwoSides boxes(&host, &joiner);
        boxes.host.type(QStringLiteral("30"));
        net::Link* link = join(gate.port(), kCode);
        QVERIFY(link);
        JoinSeat joinSeat(joiner, link);
        joiner.show();
        QSignalSpy hostDone(&hostSeat, &HostSeat::finished);
        QSignalSpy joinerDone(&joinSeat, &JoinSeat::finished);

        QTRY_COMPARE(caption(joiner, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QTRY_COMPARE(visible(joiner), visible(host));
        QCOMPARE(coversOn(joiner), kCells);

        // Each move: who clicks, which cell. Player 1 opens the blank top, player 2 finds
        // half the mines and misses, player 1 finds the rest and ends the round.
        std::vector<std::pair<demin*, int>> moves{{&host, 0}};
        for (int mine = 180; mine < 195; ++mine)
            moves.emplace_back(&joiner, mine);
        moves.emplace_back(&joiner, kNumberedBelowMines);
        for (int mine = 195; mine < 210; ++mine)
            moves.emplace_back(&host, mine);

        for (const auto& [window, index] : moves) {
            // The other side's click is neither played nor sent.
            demin* other = window == &host ? &joiner : &host;
            clickCell(*other, index);
            clickCell(*window, index);
            QTRY_VERIFY(cover(host, index)->isHidden());
            QTRY_COMPARE(visible(joiner), visible(host));
            // Both players, mover or not, hear the move from a covered cell. The last mine
            // ends the round: its description is left to the round's boxes.
            if (index == 209)
                continue;
            QTRY_COMPARE(focusAfterMove(host, index), QString());
            QTRY_COMPARE(focusAfterMove(joiner, index), QString());
        }
        QCOMPARE(caption(joiner, QStringLiteral("lblScore(2)")),
                 QStringLiteral("Score : 15 points"));
        QCOMPARE(caption(joiner, QStringLiteral("lblMain")),
                 QStringLiteral("Le joueur n°2 a la main."));
        const QStringList roundEnd{QStringLiteral("On pose la souris|La partie est terminée"),
                                   QStringLiteral("Vous êtes nul !!!|Match nul !")};
        QTRY_COMPARE(boxes.joiner.seen, roundEnd);
        QCOMPARE(boxes.host.seen.mid(1), roundEnd);

        // The joiner starts the next round and chooses its mine count (the draws give 30 mines).
        boxes.joiner.press(QStringLiteral("Oui"));
        boxes.joiner.type(QStringLiteral("30"));
        QTest::mouseClick(joiner.findChild<QAbstractButton*>(QStringLiteral("cmdNouvellePartie")),
                          Qt::LeftButton);
        QTRY_COMPARE(caption(host, QStringLiteral("Panel3")),
                     QStringLiteral("30 bombes restantes"));
        QTRY_COMPARE(visible(joiner), visible(host));
        QCOMPARE(coversOn(joiner), kCells);

        // The host quits: the verdict on both sides, and both programs are told to end.
        boxes.host.press(QStringLiteral("Oui"));
        QTest::mouseClick(host.findChild<QAbstractButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QTRY_COMPARE(hostDone.size(), 1);
        QTRY_COMPARE(joinerDone.size(), 1);
        QCOMPARE(hostDone.first().first().toInt(), 0);
        QCOMPARE(joinerDone.first().first().toInt(), 0);
        const QString verdict = QStringLiteral(
            "Recommencez le duel un autre fois !|Le jeu est serré, personne n'a gagné.");
        QCOMPARE(boxes.host.seen.last(), verdict);
        QCOMPARE(boxes.joiner.seen.last(), verdict);
        QVERIFY2(boxes.host.unexpected.isEmpty(), qPrintable(boxes.host.unexpected.join('\n')));
        QVERIFY2(boxes.joiner.unexpected.isEmpty(), qPrintable(boxes.joiner.unexpected.join('\n')));
        QVERIFY(boxes.stray.isEmpty());
    }

    // The bytes that reach the joiner: no covered cell's picture, ever; after a click, the
    // pictures of exactly the cells the host uncovered.
    void coveredCellsNeverLeaveTheHost()
    {
        FixedDraws draws(twoMineRows());
        demin host(&draws);
        net::HostGate gate(kCode);
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        HostSeat hostSeat(host, gate);
        host.show();
        TwoSides boxes(&host, nullptr);
        boxes.host.type(QStringLiteral("30"));

        QTcpSocket raw;
        raw.connectToHost(QHostAddress::LocalHost, gate.port());
        QVERIFY(raw.waitForConnected(5000));
        raw.write(wire::encode(wire::Hello{wire::kVersion, kCode.toUInt()}));
        wire::FrameReader reader;
        const auto isMinesLeft = [](const wire::Message& m) {
            const auto* c = std::get_if<wire::Caption>(&m);
            return c && c->slot == wire::Caption::Slot::MinesLeft;
        };
        std::vector<wire::Message> setup = readUntil(raw, reader, isMinesLeft);
        QVERIFY(!setup.empty() && isMinesLeft(setup.back()));
        QVERIFY(std::holds_alternative<wire::Welcome>(setup.front()));
        for (const wire::Message& m : setup) {
            if (const auto* cell = std::get_if<wire::Cell>(&m))
                QVERIFY(cell->covered && cell->picture == 0);
        }

        // Out of turn: the joiner's click is not played.
        raw.write(wire::encode(wire::Click{100}));
        QTest::qWait(100);
        QVERIFY(host.duel().board().isCovered(100));

        clickCell(host, 0);
        const int uncovered = kCells - host.duel().board().coveredCount();
        std::set<int> revealed;
        const auto allRevealed = [&revealed, uncovered](const wire::Message& m) {
            if (const auto* cell = std::get_if<wire::Cell>(&m))
                revealed.insert(cell->index);
            return static_cast<int>(revealed.size()) == uncovered;
        };
        for (const wire::Message& m : readUntil(raw, reader, allRevealed)) {
            if (const auto* cell = std::get_if<wire::Cell>(&m)) {
                QVERIFY(!cell->covered);
                QVERIFY(!host.duel().board().isCovered(cell->index));
                QCOMPARE(cell->picture, pictureNumber(host.duel().board().picture(cell->index)));
            }
        }
        QCOMPARE(static_cast<int>(revealed.size()), uncovered);
        QVERIFY(revealed.count(0) == 1 && revealed.count(180) == 0);

        // A click off the board is a garbled message: the host says so and ends, no crash.
        QSignalSpy done(&hostSeat, &HostSeat::finished);
        raw.write(QByteArray::fromHex("0000000206e1"));
        QTRY_COMPARE(done.size(), 1);
        QCOMPARE(done.first().first().toInt(), 1);
        QVERIFY(boxes.host.seen.contains(QStringLiteral(
            "Duel en réseau|L'adversaire a envoyé un message invalide. Le duel s'arrête.")));
    }

    // A joiner that goes silent (no pings: a pulled cable) and never comes back is noticed,
    // and once the time it may be away is over the host ends with its message and the
    // verdict so far.
    void silenceEndsTheDuel()
    {
        FixedDraws draws(twoMineRows());
        demin host(&draws);
        net::HostGate gate(kCode);
        gate.setLinkTimings(50, 400);
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        HostSeat hostSeat(host, gate);
        hostSeat.setAwayLimit(300);
        host.show();
        TwoSides boxes(&host, nullptr);
        boxes.host.type(QStringLiteral("30"));
        QSignalSpy done(&hostSeat, &HostSeat::finished);

        QTcpSocket raw;
        raw.connectToHost(QHostAddress::LocalHost, gate.port());
        QVERIFY(raw.waitForConnected(5000));
        raw.write(wire::encode(wire::Hello{wire::kVersion, kCode.toUInt()}));
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 5000);
        QCOMPARE(done.first().first().toInt(), 1);
        QCOMPARE(boxes.host.seen.mid(1),
                 QStringList({QStringLiteral("Duel en réseau|La connexion avec l'adversaire est "
                                             "perdue. Le duel s'arrête."),
                              QStringLiteral("Recommencez le duel un autre fois !|Le jeu est "
                                             "serré, personne n'a gagné.")}));
    }
};

QTEST_MAIN(TestLoopback)
#include "test_loopback.moc"
