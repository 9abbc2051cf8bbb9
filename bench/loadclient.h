// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wire/messages.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <map>
#include <queue>
#include <string>
#include <vector>

// One process's share of the load bench: duels played against the duel server by plain
// non-blocking sockets on one epoll, both sides of each duel here, so that thousands of
// sides cost the bench little besides the server it measures.
namespace volcanelle::bench {

/// Microseconds on the monotonic clock, the same in every process of the bench.
std::int64_t nowUs();

struct LoadPlan {
    std::uint16_t port = 0;
    int duels = 0;
    double rate = 1;      ///< moves a second in each duel, by whoever has the turn
    int opening = 32;     ///< duels being set up at once, so that opening is paced
    int pingMs = 2'000;   ///< every side pings as the game does
    int setupTries = 3;   ///< a duel whose setup fails is begun again this many times
    int setupMs = 15'000; ///< a setup not done by then has failed
};

/// What the duels did while measured, and what went wrong on the way.
struct LoadTally {
    std::vector<std::uint32_t> latenciesUs; ///< from a move sent to both sides showing it
    std::uint64_t moves = 0;                ///< moves sent while measured
    std::uint64_t unanswered = 0;           ///< moves nobody was shown within 2 s
    int began = 0;                          ///< duels playing
    std::map<std::string, int> faults;      ///< what went wrong, and how often
};

class LoadClient {
public:
    explicit LoadClient(const LoadPlan& plan);
    ~LoadClient();

    /// Sets every duel up, a few at a time; true once all are playing, false when some
    /// failed every try or `deadlineUs` passed.
    bool open(std::int64_t deadlineUs);
    /// Plays from `startUs` (moves spread evenly over the first interval), measuring moves
    /// sent from `measureFromUs` to `measureToUs`, and returns at `measureToUs`.
    void play(std::int64_t startUs, std::int64_t measureFromUs, std::int64_t measureToUs);
    const LoadTally& tally() const { return tally_; }

private:
    enum class State : std::uint8_t { Closed, Connecting, Upgrading, Open };
    struct Conn {
        int fd = -1;
        State state = State::Closed;
        bool writing = false; // EPOLLOUT asked
        std::string in;
        std::string out;
    };
    enum class Stage : std::uint8_t { Waiting, Opening, Joining, Playing, Failed };
    struct Duel {
        Conn side[2];
        Stage stage = Stage::Waiting;
        int tries = 0;
        std::int64_t setupSince = 0;
        std::uint64_t room = 0;
        int turn = 0; // 0 or 1: who clicks next, as the opener's turn caption says
        bool begun = false;
        std::bitset<wire::kCellCount> open; // cells the opener sees uncovered
        std::uint8_t cell = 0;
        std::uint8_t seen = 0; // sides shown the move in flight, one bit each
        std::int64_t sentAt = -1;
        std::int64_t nextAt = 0;
    };
    enum class Due : std::uint8_t { Move, Ping, MoveLate, SetupLate };
    struct Event {
        std::int64_t at;
        std::uint32_t id; // the duel, or duel * 2 + side for a ping
        Due due;
        std::int64_t stamp; // the move or the setup a late event is about
        bool operator>(const Event& other) const { return at > other.at; }
    };

    // Sockets (loadclient.cpp)
    void loop(std::int64_t untilUs, const std::function<bool()>& done);
    void runDue(std::int64_t now);
    void pace(std::int64_t now);
    void startSetup(std::uint32_t duel);
    bool connectSide(std::uint32_t duel, int side);
    void fail(std::uint32_t duel, const std::string& why);
    void closeConn(Conn& conn);
    void onReadable(std::uint32_t duel, int side);
    void onWritable(std::uint32_t duel, int side);
    void send(Conn& conn, std::uint32_t id, const wire::Message& message);
    void flush(Conn& conn, std::uint32_t id);
    std::uint32_t nextMask();
    // The duels (loadplay.cpp)
    void onOpen(std::uint32_t duel, int side);
    void onMessage(std::uint32_t duel, int side, const wire::Message& message);
    void move(std::uint32_t duel, std::int64_t now);

    LoadPlan plan_;
    std::int64_t intervalUs_;
    int epoll_;
    std::vector<Duel> duels_;
    std::priority_queue<Event, std::vector<Event>, std::greater<>> events_;
    std::uint32_t nextWaiting_ = 0;
    std::vector<std::uint32_t> retries_;
    int settingUp_ = 0;
    int failed_ = 0;
    std::int64_t measureFrom_ = -1;
    std::int64_t measureTo_ = -1;
    std::uint32_t mask_ = 0x9E3779B9;
    LoadTally tally_;
};

} // namespace volcanelle::bench
