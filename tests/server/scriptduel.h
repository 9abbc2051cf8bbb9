// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "server/roomduel.h"

#include <vector>

namespace volcanelle::server {

/// A stand-in for the room's duel that writes down what the room asks of it and answers a
/// click from either side by showing that cell uncovered to both.
class ScriptDuel : public RoomDuel {
public:
    struct Record {
        int started = 0;
        int stopped = 0;
        std::vector<int> replayed;
        std::vector<std::pair<int, wire::Message>> received;
    };

    ScriptDuel(Outbox outbox, Record& record) : outbox_(std::move(outbox)), record_(record) {}

    void start() override { ++record_.started; }
    void receive(int side, const wire::Message& message) override
    {
        record_.received.emplace_back(side, message);
        if (const auto* click = std::get_if<wire::Click>(&message)) {
            outbox_(1, wire::Cell{click->index, false, 3});
            outbox_(2, wire::Cell{click->index, false, 3});
        }
        if (std::holds_alternative<wire::Quit>(message))
            over_ = true;
        // A flood for the other side, to find out how a reader that reads nothing fares.
        if (const auto* count = std::get_if<wire::Count>(&message);
            count && count->text == QStringLiteral("flood"))
            for (int i = 0; i < 2000; ++i)
                outbox_(3 - side, wire::Announce{QString(4000, QLatin1Char('x')), {}});
    }
    void replay(int side, std::uint32_t) override { record_.replayed.push_back(side); }
    void stop() override
    {
        ++record_.stopped;
        for (int side = 1; side <= 2; ++side)
            outbox_(side, wire::Announce{QStringLiteral("verdict"), QStringLiteral("Volcanelle")});
        over_ = true;
    }
    bool over() const override { return over_; }

    /// The factory a server takes, every duel writing to `record`.
    static RoomDuelFactory factory(Record& record)
    {
        return [&record](Outbox outbox) {
            return std::make_unique<ScriptDuel>(std::move(outbox), record);
        };
    }

private:
    Outbox outbox_;
    Record& record_;
    bool over_ = false;
};

} // namespace volcanelle::server
