// SPDX-License-Identifier: GPL-3.0-or-later
#include "loadclient.h"

#include "wire/codec.h"
#include "wsframe.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace volcanelle::bench {

namespace {

const char* const kSideName[2] = {"opener", "joiner"};

} // namespace

std::int64_t nowUs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t{t.tv_sec} * 1'000'000 + t.tv_nsec / 1000;
}

LoadClient::LoadClient(const LoadPlan& plan)
    : plan_(plan), intervalUs_(std::llround(1e6 / plan.rate)), epoll_(epoll_create1(EPOLL_CLOEXEC)),
      duels_(static_cast<std::size_t>(plan.duels))
{
}

LoadClient::~LoadClient()
{
    for (Duel& duel : duels_)
        for (Conn& conn : duel.side)
            closeConn(conn);
    close(epoll_);
}

bool LoadClient::open(std::int64_t deadlineUs)
{
    loop(deadlineUs, [this] { return tally_.began + failed_ >= plan_.duels; });
    return tally_.began == plan_.duels;
}

void LoadClient::play(std::int64_t startUs, std::int64_t measureFromUs, std::int64_t measureToUs)
{
    measureFrom_ = measureFromUs;
    measureTo_ = measureToUs;
    for (std::uint32_t d = 0; d < duels_.size(); ++d) {
        duels_[d].nextAt = startUs + intervalUs_ * d / plan_.duels;
        events_.push({duels_[d].nextAt, d, Due::Move, 0});
    }
    loop(measureToUs, [] { return false; });
}

void LoadClient::loop(std::int64_t untilUs, const std::function<bool()>& done)
{
    epoll_event ready[512];
    for (std::int64_t now = nowUs(); now < untilUs && !done(); now = nowUs()) {
        pace(now);
        runDue(now);
        std::int64_t waitUs = std::min<std::int64_t>(untilUs - now, 10'000);
        if (!events_.empty())
            waitUs = std::clamp<std::int64_t>(events_.top().at - now, 0, waitUs);
        const int n = epoll_wait(epoll_, ready, 512, static_cast<int>((waitUs + 999) / 1000));
        for (int i = 0; i < n; ++i) {
            const std::uint32_t id = ready[i].data.u32;
            const Conn& conn = duels_[id / 2].side[id % 2];
            if (conn.fd < 0)
                continue; // closed by an earlier event of this batch
            if (ready[i].events & EPOLLOUT)
                onWritable(id / 2, static_cast<int>(id % 2));
            if (conn.fd >= 0 && (ready[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR)))
                onReadable(id / 2, static_cast<int>(id % 2));
        }
    }
}

void LoadClient::pace(std::int64_t now)
{
    while (settingUp_ < plan_.opening) {
        std::uint32_t duel = 0;
        if (!retries_.empty()) {
            duel = retries_.back();
            retries_.pop_back();
        } else if (nextWaiting_ < duels_.size()) {
            duel = nextWaiting_++;
        } else {
            return;
        }
        Duel& du = duels_[duel];
        du.stage = Stage::Opening;
        du.setupSince = now;
        ++settingUp_;
        events_.push({now + plan_.setupMs * 1000LL, duel, Due::SetupLate, now});
        connectSide(duel, 0);
    }
}

void LoadClient::runDue(std::int64_t now)
{
    while (!events_.empty() && events_.top().at <= now) {
        const Event event = events_.top();
        events_.pop();
        Duel& duel = duels_[event.due == Due::Ping ? event.id / 2 : event.id];
        switch (event.due) {
        case Due::Move:
            move(event.id, now);
            break;
        case Due::Ping: {
            Conn& conn = duel.side[event.id % 2];
            if (conn.state != State::Open)
                break;
            send(conn, event.id, wire::Ping{});
            events_.push({now + plan_.pingMs * 1000LL, event.id, Due::Ping, 0});
            break;
        }
        case Due::MoveLate:
            if (duel.sentAt == event.stamp) {
                duel.sentAt = -1;
                if (event.stamp >= measureFrom_ && event.stamp < measureTo_)
                    ++tally_.unanswered;
            }
            break;
        case Due::SetupLate:
            if ((duel.stage == Stage::Opening || duel.stage == Stage::Joining) &&
                duel.setupSince == event.stamp)
                fail(event.id, std::string("setup not done in time, ") +
                                   (duel.stage == Stage::Opening ? "opener" : "joiner") +
                                   " not in");
            break;
        }
    }
}

bool LoadClient::connectSide(std::uint32_t duel, int side)
{
    Conn& conn = duels_[duel].side[side];
    conn.fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (conn.fd < 0) {
        fail(duel, std::string(kSideName[side]) + " socket: " + std::strerror(errno));
        return false;
    }
    // The game's clicks are single small frames: no waiting to gather them.
    const int one = 1;
    setsockopt(conn.fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(plan_.port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(conn.fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0 &&
        errno != EINPROGRESS) {
        fail(duel, std::string(kSideName[side]) + " connect: " + std::strerror(errno));
        return false;
    }
    conn.state = State::Connecting;
    conn.writing = true;
    epoll_event ev{};
    ev.events = EPOLLIN | EPOLLOUT;
    ev.data.u32 = duel * 2 + static_cast<std::uint32_t>(side);
    epoll_ctl(epoll_, EPOLL_CTL_ADD, conn.fd, &ev);
    return true;
}

void LoadClient::fail(std::uint32_t duel, const std::string& why)
{
    ++tally_.faults[why];
    Duel& du = duels_[duel];
    for (Conn& conn : du.side)
        closeConn(conn);
    du.begun = false;
    du.sentAt = -1;
    du.open.reset();
    if (du.stage == Stage::Playing) {
        // Lost in play: counted, not begun again, so that the figures name it.
        --tally_.began;
        du.stage = Stage::Failed;
        return;
    }
    --settingUp_;
    if (++du.tries < plan_.setupTries) {
        du.stage = Stage::Waiting;
        retries_.push_back(duel);
    } else {
        du.stage = Stage::Failed;
        ++failed_;
    }
}

void LoadClient::closeConn(Conn& conn)
{
    if (conn.fd >= 0)
        close(conn.fd);
    conn = Conn{};
}

void LoadClient::onWritable(std::uint32_t duel, int side)
{
    Conn& conn = duels_[duel].side[side];
    const std::uint32_t id = duel * 2 + static_cast<std::uint32_t>(side);
    if (conn.state == State::Connecting) {
        int error = 0;
        socklen_t size = sizeof error;
        getsockopt(conn.fd, SOL_SOCKET, SO_ERROR, &error, &size);
        if (error != 0) {
            fail(duel, std::string(kSideName[side]) + " connect: " + std::strerror(error));
            return;
        }
        conn.state = State::Upgrading;
        conn.out = ws::upgradeRequest("127.0.0.1:" + std::to_string(plan_.port));
    }
    flush(conn, id);
}

void LoadClient::onReadable(std::uint32_t duel, int side)
{
    Conn& conn = duels_[duel].side[side];
    const std::string who = kSideName[side];
    char buffer[16384];
    const ssize_t n = read(conn.fd, buffer, sizeof buffer);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
        const char* state = conn.state == State::Connecting  ? "connecting"
                            : conn.state == State::Upgrading ? "upgrading"
                                                             : "open";
        fail(duel, who + " closed by the server while " + state);
        return;
    }
    if (n < 0)
        return;
    conn.in.append(buffer, static_cast<std::size_t>(n));
    std::size_t used = 0;
    if (conn.state == State::Upgrading) {
        const ws::Upgrade upgrade = ws::readUpgrade(conn.in, used);
        if (upgrade == ws::Upgrade::NeedMore)
            return;
        if (upgrade == ws::Upgrade::Refused) {
            fail(duel, who + " upgrade refused");
            return;
        }
        conn.in.erase(0, used);
        conn.state = State::Open;
        onOpen(duel, side);
    }
    std::size_t pos = 0;
    ws::Frame frame;
    for (;;) {
        const ws::Read read =
            ws::readFrame(std::string_view(conn.in).substr(pos), wire::kMaxFrame, frame, used);
        if (read == ws::Read::NeedMore)
            break;
        if (read == ws::Read::Broken || !frame.whole || frame.opcode == 0x1) {
            fail(duel, who + " got a frame it cannot read");
            return;
        }
        pos += used;
        if (frame.opcode == ws::kClose) {
            fail(duel, who + " closed by the server while open");
            return;
        }
        if (frame.opcode == ws::kPing) {
            ws::appendControl(conn.out, ws::kPong, frame.payload, nextMask());
            flush(conn, duel * 2 + static_cast<std::uint32_t>(side));
        }
        if (frame.opcode != ws::kBinary)
            continue;
        const auto message = wire::decodeBody(
            reinterpret_cast<const unsigned char*>(frame.payload.data()), frame.payload.size());
        if (!message) {
            fail(duel, who + " got a garbled message");
            return;
        }
        onMessage(duel, side, *message);
        if (conn.state != State::Open)
            return; // the duel failed on it
    }
    conn.in.erase(0, pos);
}

void LoadClient::send(Conn& conn, std::uint32_t id, const wire::Message& message)
{
    const QByteArray frame = wire::encode(message);
    // The WebSocket frame stands for the length prefix of the direct duel's stream.
    ws::appendBinary(conn.out, std::string_view(frame.constData() + 4, frame.size() - 4),
                     nextMask());
    flush(conn, id);
}

void LoadClient::flush(Conn& conn, std::uint32_t id)
{
    while (!conn.out.empty()) {
        const ssize_t n = ::send(conn.fd, conn.out.data(), conn.out.size(), MSG_NOSIGNAL);
        if (n <= 0)
            break; // full, or broken: the reading side finds out which
        conn.out.erase(0, static_cast<std::size_t>(n));
    }
    const bool writing = !conn.out.empty();
    if (writing == conn.writing)
        return;
    conn.writing = writing;
    epoll_event ev{};
    ev.events = writing ? EPOLLIN | EPOLLOUT : EPOLLIN;
    ev.data.u32 = id;
    epoll_ctl(epoll_, EPOLL_CTL_MOD, conn.fd, &ev);
}

std::uint32_t LoadClient::nextMask()
{
    // xorshift: masks need only vary, not be secret, between a bench and its own server.
    mask_ ^= mask_ << 13;
    mask_ ^= mask_ >> 17;
    mask_ ^= mask_ << 5;
    return mask_;
}

} // namespace volcanelle::bench
