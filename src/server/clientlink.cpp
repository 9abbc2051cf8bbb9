// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/clientlink.h"

#include "server/httphead.h"
#include "server/pagefiles.h"
#include "server/sendqueued.h"
#include "server/wsframes.h"
#include "wire/codec.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace volcanelle::server {

namespace {

// Reads at most this many times a turn, so that one busy sender does not hold the others up.
constexpr int kReadsPerTurn = 4;
constexpr qsizetype kReadChunk = 16 * 1024;

} // namespace

ClientLink::ClientLink(int fd, const QHostAddress& address, const ServerLimits& limits,
                       const PageFiles& pages, Start start, QObject* parent)
    : QObject(parent), fd_(fd), reader_(new QSocketNotifier(fd, QSocketNotifier::Read, this)),
      writer_(new QSocketNotifier(fd, QSocketNotifier::Write, this)), limits_(limits),
      pages_(pages), address_(address), connectedAt_(steadyMs()), lastHeard_(connectedAt_),
      lastSent_(connectedAt_), phase_(start == Start::Request ? Phase::Request : Phase::WebSocket)
{
    writer_->setEnabled(false);
    connect(reader_, &QSocketNotifier::activated, this, &ClientLink::readable);
    connect(writer_, &QSocketNotifier::activated, this, &ClientLink::writable);
}

ClientLink::~ClientLink()
{
    // Both notifiers leave the event loop before the number can be given to another socket.
    reader_->setEnabled(false);
    writer_->setEnabled(false);
    if (fd_ >= 0)
        ::close(fd_);
}

int ClientLink::takeSocket(QByteArray& unsent)
{
    if (!ended_ || !clean_ || fd_ < 0)
        return -1;
    unsent = std::exchange(out_, {});
    return std::exchange(fd_, -1);
}

void ClientLink::readable()
{
    static thread_local char scratch[kReadChunk];
    for (int turn = 0; turn < kReadsPerTurn && !ended_; ++turn) {
        const ssize_t got = ::recv(fd_, scratch, sizeof scratch, 0);
        if (got > 0) {
            in_.append(scratch, got);
            if (phase_ == Phase::Request)
                takeRequest();
            else
                takeFrames();
            if (got < kReadChunk)
                return;
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        } else {
            // Closed by the other side, or failed: nothing more will be said on it.
            end(false);
        }
    }
}

void ClientLink::writable()
{
    if (!write())
        end(false);
}

bool ClientLink::write()
{
    if (!sendQueued(fd_, out_))
        return false;
    writer_->setEnabled(!ended_ && !out_.isEmpty());
    return true;
}

void ClientLink::takeRequest()
{
    const qsizetype end = httpHeadEnd(in_.first(std::min(in_.size(), kMaxHead)));
    if (end < 0) {
        if (in_.size() >= kMaxHead)
            answer(PageFiles::tooLong());
        return;
    }
    const std::optional<HttpHead> head = readHttpHead(in_.first(end));
    if (!head) {
        answer(PageFiles::malformed());
        return;
    }
    if (!head->upgrade) {
        answer(pages_.answer(*head));
        return;
    }
    if (head->method != "GET" || head->webSocketKey.isEmpty() || head->webSocketVersion != "13") {
        answer(PageFiles::malformed());
        return;
    }
    in_.remove(0, end);
    phase_ = Phase::WebSocket;
    out_ += ws::upgradeAnswer(head->webSocketKey);
    if (!write()) {
        this->end(false);
        return;
    }
    if (!in_.isEmpty())
        takeFrames();
}

void ClientLink::answer(const QByteArray& answer)
{
    in_.clear();
    out_ = answer;
    if (!write()) {
        end(false);
        return;
    }
    end(true);
}

void ClientLink::takeFrames()
{
    qsizetype at = 0;
    while (!ended_) {
        ws::Frame frame;
        qsizetype used = 0;
        const ws::Read read = ws::readFrame(QByteArrayView(in_).sliced(at),
                                            static_cast<qsizetype>(wire::kMaxFrame), frame, used);
        if (read == ws::Read::NeedMore)
            break;
        if (read == ws::Read::Broken) {
            drop();
            return;
        }
        at += used;
        switch (frame.opcode) {
        case ws::kPing:
            ws::appendFrame(out_, ws::kPong, frame.payload);
            writer_->setEnabled(true);
            break;
        case ws::kPong:
            break;
        case ws::kClose:
            // The other side is done: answer its close and end as after a finish.
            finish();
            return;
        case ws::kText:
            // The game speaks binary messages only: text is a stranger at the door.
            drop();
            return;
        case ws::kBinary:
        case ws::kContinuation: {
            if ((frame.opcode == ws::kBinary) == fragmented_ ||
                message_.size() + frame.payload.size() > qsizetype(wire::kMaxFrame)) {
                drop();
                return;
            }
            message_ += frame.payload;
            fragmented_ = !frame.final;
            if (frame.final)
                takeMessage(std::exchange(message_, {}));
            break;
        }
        }
    }
    if (!ended_)
        in_.remove(0, at);
}

void ClientLink::takeMessage(const QByteArray& body)
{
    std::optional<wire::Message> message =
        wire::decodeBody(reinterpret_cast<const unsigned char*>(body.constData()),
                         static_cast<std::size_t>(body.size()));
    if (!message) {
        drop();
        return;
    }
    lastHeard_ = steadyMs();
    emit received(*message);
}

void ClientLink::send(const wire::Message& message)
{
    if (ended_ || phase_ != Phase::WebSocket)
        return;
    // The WebSocket message stands for the length prefix of the direct duel's stream.
    ws::appendFrame(out_, ws::kBinary, wire::encodeBody(message));
    lastSent_ = steadyMs();
    if (out_.size() > limits_.maxUnsent)
        drop();
    else
        writer_->setEnabled(true);
}

void ClientLink::flush()
{
    if (!ended_ && !out_.isEmpty() && !write())
        drop();
}

void ClientLink::finish()
{
    if (ended_)
        return;
    if (phase_ == Phase::WebSocket)
        ws::appendClose(out_, ws::kNormalClosure);
    if (!write()) {
        end(false);
        return;
    }
    end(true);
}

void ClientLink::drop()
{
    end(false);
}

void ClientLink::end(bool clean)
{
    if (ended_)
        return;
    ended_ = true;
    clean_ = clean;
    in_.clear();
    message_.clear();
    reader_->setEnabled(false);
    writer_->setEnabled(false);
    if (!clean) {
        out_.clear();
        ::close(std::exchange(fd_, -1));
    }
    // From the event loop: whoever is handling a message of this link finishes first.
    QTimer::singleShot(0, this, &ClientLink::gone);
}

} // namespace volcanelle::server
