// SPDX-License-Identifier: GPL-3.0-or-later
#include "servercheck.h"

#include "server/clientlink.h"
#include "server/duelserver.h"
#include "server/serverduel.h"
#include "wire/codec.h"

#include <QCoreApplication>
#include <QPointer>
#include <array>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace volcanelle::checks {

namespace {

// The same mines from the same bytes: a plain linear congruential draw.
class SteadyRandom : public RandomSource {
public:
    void reseed() override {}
    double next() override
    {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return static_cast<double>(state_ >> 11) * 0x1.0p-53;
    }

private:
    std::uint64_t state_ = 1;
};

// The rooms' real duel, watched for a side that is neither 1 nor 2.
class WatchedDuel : public server::RoomDuel {
public:
    WatchedDuel(Outbox outbox, RandomSource& random) : duel_(std::move(outbox), random) {}
    void start() override { duel_.start(); }
    void receive(int side, const wire::Message& message) override
    {
        if (side != 1 && side != 2)
            unknownSide = true;
        duel_.receive(side, message);
    }
    void replay(int side, std::uint32_t boxesSeen) override { duel_.replay(side, boxesSeen); }
    void stop() override { duel_.stop(); }
    bool over() const override { return duel_.over(); }
    static inline bool unknownSide = false;

private:
    server::ServerDuel duel_;
};

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// The clients' ends of the server's sockets: open, never read, until the run ends, as
// clients that are slow to read.
struct ClientEnds {
    std::vector<int> fds;
    ClientEnds() = default;
    ClientEnds(const ClientEnds&) = delete;
    ClientEnds& operator=(const ClientEnds&) = delete;
    ~ClientEnds()
    {
        for (const int fd : fds)
            ::close(fd);
    }
    /// The server's end of a new pair. Running out of sockets is a leak to report.
    int pair()
    {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
            std::abort();
        fds.push_back(ends[1]);
        return ends[0];
    }
};

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

QString checkServerBytes(const unsigned char* data, std::size_t size)
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "servercheck";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
        qInstallMessageHandler(quiet);
    }
    WatchedDuel::unknownSide = false;
    int opened = 0;
    SteadyRandom random;
    ClientEnds clientEnds;
    {
        server::DuelServer duels({}, [&opened, &random](server::RoomDuel::Outbox outbox) {
            ++opened;
            return std::make_unique<WatchedDuel>(std::move(outbox), random);
        });
        const std::array<QHostAddress, 2> addresses{QHostAddress(QStringLiteral("192.0.2.1")),
                                                    QHostAddress(QStringLiteral("2001:db8::2"))};
        // A connection the server closed is replaced by a new one from the same address.
        std::array<QPointer<server::ClientLink>, 4> links{};
        const auto live = [&](std::size_t i) {
            if (!links[i] || !links[i]->open())
                links[i] = duels.adopt(clientEnds.pair(), addresses[i % 2]);
            return links[i].data();
        };

        std::size_t pos = 0;
        while (pos + 3 <= size) {
            const unsigned char step = data[pos];
            const std::size_t length = std::size_t{data[pos + 1]} << 8 | data[pos + 2];
            pos += 3;
            const std::size_t which = step & 3;
            if (step & 0x80) {
                duels.sweep();
            } else if (step & 0x40) {
                live(which)->drop();
            } else {
                const std::size_t take = std::min(length, size - pos);
                std::optional<wire::Message> message = wire::decodeBody(data + pos, take);
                pos += take;
                if (!message)
                    continue;
                if (auto* enter = std::get_if<wire::Enter>(&*message)) {
                    const std::vector<std::uint64_t> codes = duels.roomCodes();
                    if (!codes.empty())
                        enter->room = codes[enter->room % codes.size()];
                }
                duels.handle(live(which), *message);
            }
            settle();
            if (duels.roomCount() > opened)
                return QStringLiteral("more rooms than duels made");
            if (duels.linkCount() > 4)
                return QStringLiteral("a link outlived its replacement");
            if (WatchedDuel::unknownSide)
                return QStringLiteral("a duel heard from a side that is not 1 or 2");
        }
        duels.stop(QStringLiteral("fin"));
        settle();
    }
    settle();
    return {};
}

} // namespace volcanelle::checks
