// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clientpair.h"
#include "server/duelserver.h"
#include "server/serverduel.h"
#include "testclient.h"

#include <QTest>
#include <algorithm>
#include <array>
#include <optional>

namespace volcanelle::server {

constexpr int kCovered = -1;

/// The server's duel of the test's room, and how many messages each side handed it.
struct Watch {
    ServerDuel* duel = nullptr;
    std::array<int, 2> heard{};
};

class WatchedDuel : public RoomDuel {
public:
    WatchedDuel(Outbox outbox, Watch& watch) : inner_(std::move(outbox)), watch_(watch)
    {
        watch_.duel = &inner_;
    }
    ~WatchedDuel() override { watch_.duel = nullptr; }
    void start() override { inner_.start(); }
    void receive(int side, const wire::Message& message) override
    {
        inner_.receive(side, message);
        ++watch_.heard[side == 2 ? 1 : 0];
    }
    void replay(int side, std::uint32_t boxesSeen) override { inner_.replay(side, boxesSeen); }
    void stop() override { inner_.stop(); }
    bool over() const override { return inner_.over(); }

private:
    ServerDuel inner_;
    Watch& watch_;
};

/// What one side's window shows, rebuilt from every message it received.
struct Screen {
    explicit Screen(const TestClient& client)
    {
        cells.fill(kCovered);
        for (const wire::Message& message : client.got)
            apply(message);
    }
    void apply(const wire::Message& message)
    {
        if (const auto* cell = std::get_if<wire::Cell>(&message)) {
            cells[cell->index] = cell->covered ? kCovered : cell->picture;
        } else if (const auto* caption = std::get_if<wire::Caption>(&message)) {
            using Slot = wire::Caption::Slot;
            switch (caption->slot) {
            case Slot::Turn:
                turn = caption->value;
                turnText = caption->text;
                break;
            case Slot::Score1:
            case Slot::Score2:
                score[caption->slot == Slot::Score1 ? 0 : 1] = caption->text;
                break;
            case Slot::Won1:
            case Slot::Won2:
                wonText[caption->slot == Slot::Won1 ? 0 : 1] = caption->text;
                break;
            case Slot::MinesLeft:
                minesLeft = caption->text;
                break;
            }
        } else if (const auto* box = std::get_if<wire::Announce>(&message)) {
            boxes.push_back(box->text);
        } else if (const auto* farewell = std::get_if<wire::Farewell>(&message)) {
            boxes.push_back(farewell->text);
        } else if (std::holds_alternative<wire::AskCount>(message)) {
            ++countAsked;
        } else if (std::holds_alternative<wire::CountBeingChosen>(message)) {
            ++countBeingChosen;
        } else if (const auto* shot = std::get_if<wire::Snapshot>(&message)) {
            for (std::size_t i = 0; i < cells.size(); ++i)
                cells[i] = shot->cells[i] ? shot->cells[i] : kCovered;
            turn = shot->turn;
            turnText = shot->turnText;
            score = shot->score;
            wonText = shot->wonText;
            minesLeft = shot->minesLeft;
        }
    }
    int firstCovered() const
    {
        // Spread over the board, so that a round opens more than one blank area.
        for (int step = 0; step < kCells; ++step)
            if (cells[static_cast<std::size_t>(step * 97 % kCells)] == kCovered)
                return step * 97 % kCells;
        return -1;
    }

    std::array<int, wire::kCellCount> cells;
    int turn = 0;
    QString turnText;
    std::array<QString, 2> score;
    std::array<QString, 2> wonText;
    QString minesLeft;
    std::vector<QString> boxes;
    int countAsked = 0;
    int countBeingChosen = 0;
};

/// Messages that show something; the server's pings are not counted.
inline std::size_t shown(const TestClient& client)
{
    return static_cast<std::size_t>(
        std::count_if(client.got.begin(), client.got.end(), [](const wire::Message& m) {
            return !std::holds_alternative<wire::Ping>(m);
        }));
}

/// A server with the duel watched, and one room on it played by two clients.
struct Match {
    Match()
        : server({}, [this](RoomDuel::Outbox outbox) {
              return std::make_unique<WatchedDuel>(std::move(outbox), watch);
          })
    {
    }
    bool enter()
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        pair.emplace(server.port());
        sides = {&pair->opener, &pair->joiner};
        return pair->enter();
    }
    TestClient& side(int player) { return *sides[player == 2 ? 1 : 0]; }
    const Duel& duel() const { return watch.duel->duel(); }
    QByteArray token(int player) const
    {
        return (player == 2 ? pair->joiner : pair->opener).first<wire::Entered>()->token;
    }

    /// Whether `client` shows the duel as it stands on the server: covers, open pictures,
    /// turn and mines left.
    bool inStep(const TestClient& client) const
    {
        const Screen seen(client);
        const Duel& d = duel();
        for (int i = 0; i < kCells; ++i) {
            const int truth =
                d.board().isCovered(i) ? kCovered : pictureNumber(d.board().picture(i));
            if (seen.cells[static_cast<std::size_t>(i)] != truth)
                return false;
        }
        return seen.turn == d.joueur() &&
               seen.minesLeft.startsWith(QString::number(d.bombesRestantes()) +
                                         QLatin1String(" bombe"));
    }
    /// `player` clicks the first covered cell it sees; true once every side in `watching`
    /// was shown all the move did.
    bool move(int player, std::vector<int> watching = {1, 2})
    {
        const int index = Screen(side(player)).firstCovered();
        if (index < 0 || Screen(side(player)).turn != player)
            return false;
        side(player).send(wire::Click{static_cast<std::uint8_t>(index)});
        return QTest::qWaitFor([&] {
            if (!watch.duel || duel().board().isCovered(index))
                return false;
            for (const int p : watching)
                if (!inStep(side(p)))
                    return false;
            return true;
        });
    }

    Watch watch;
    DuelServer server;
    std::optional<Pair> pair;
    std::array<TestClient*, 2> sides{};
};

} // namespace volcanelle::server
