// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/link.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace volcanelle::net {

class JoinAttempt;

/// The joiner's way back to the host after its connection was lost: it tries again and again,
/// a second apart, with the token of its welcome, until the host takes it back or the time a
/// side may be away is over. Ends with either `back` or `gaveUp`, once per start(). A side of
/// a duel server's room comes back the same way, to the server.
class Comeback : public QObject {
    Q_OBJECT
public:
    /// `token` is the one the host gave in its welcome.
    Comeback(const QString& host, quint16 port, const QByteArray& token, QObject* parent = nullptr);
    /// One try, not yet started, that shows the token; told how many boxes came so far.
    using MakeAttempt = std::function<JoinAttempt*(quint32 boxesSeen)>;
    /// Comes back by the tries `makeAttempt` makes.
    explicit Comeback(MakeAttempt makeAttempt, QObject* parent = nullptr);
    ~Comeback() override;

    /// The time allowed to come back, and the pause between two tries; tests shorten them.
    void setTimings(int awayMs, int retryMs);
    /// Starts trying, telling the host that `boxesSeen` boxes came so far.
    void start(quint32 boxesSeen);
    /// Stops trying without a word.
    void stop();
    bool trying() const { return trying_; }

signals:
    /// The host took this side back; the receiver takes `link` over and calls
    /// Link::release() once it listens to it.
    void back(volcanelle::net::Link* link);
    /// The time ran out, or the host no longer knows the token.
    void gaveUp();

private:
    void tryOnce();
    void giveUp();

    MakeAttempt makeAttempt_;
    quint32 boxesSeen_ = 0;
    int awayMs_ = kAwayMs;
    int retryMs_ = 1000;
    QDeadlineTimer deadline_;
    QTimer retry_;
    QTimer end_;
    QPointer<JoinAttempt> attempt_;
    bool trying_ = false;
};

} // namespace volcanelle::net
