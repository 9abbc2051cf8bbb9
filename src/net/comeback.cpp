// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/comeback.h"

#include "net/joinattempt.h"

#include <algorithm>

namespace volcanelle::net {

namespace {
// One try's time to connect and be welcomed: a host that is back answers at once, and a
// connection lost on the way is given up soon enough for the next try.
constexpr int kTryMs = 5000;
} // namespace

Comeback::Comeback(const QString& host, quint16 port, const QByteArray& token, QObject* parent)
    : Comeback(
          [host, port, token](quint32 boxesSeen) {
              auto* attempt = new JoinAttempt(host, port, 0);
              attempt->rejoin(token, boxesSeen);
              return attempt;
          },
          parent)
{
}

Comeback::Comeback(MakeAttempt makeAttempt, QObject* parent)
    : QObject(parent), makeAttempt_(std::move(makeAttempt))
{
    retry_.setSingleShot(true);
    end_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &Comeback::tryOnce);
    connect(&end_, &QTimer::timeout, this, &Comeback::giveUp);
}

Comeback::~Comeback()
{
    stop();
}

void Comeback::setTimings(int awayMs, int retryMs)
{
    awayMs_ = awayMs;
    retryMs_ = retryMs;
}

void Comeback::start(quint32 boxesSeen)
{
    stop();
    trying_ = true;
    boxesSeen_ = boxesSeen;
    deadline_.setRemainingTime(awayMs_);
    end_.start(awayMs_);
    tryOnce();
}

void Comeback::stop()
{
    trying_ = false;
    retry_.stop();
    end_.stop();
    if (attempt_) {
        attempt_->disconnect(this);
        attempt_->deleteLater();
    }
}

void Comeback::tryOnce()
{
    if (!trying_)
        return;
    JoinAttempt* attempt = makeAttempt_(boxesSeen_);
    attempt->setParent(this);
    attempt_ = attempt;
    attempt->setTimeout(static_cast<int>(
        std::clamp<qint64>(deadline_.remainingTime(), 1, static_cast<qint64>(kTryMs))));
    connect(attempt, &JoinAttempt::joined, this, [this, attempt](Link* link) {
        attempt->deleteLater();
        if (!trying_) {
            link->close(0);
            link->deleteLater();
            return;
        }
        trying_ = false;
        end_.stop();
        emit back(link);
    });
    connect(attempt, &JoinAttempt::failed, this, [this, attempt](JoinAttempt::Failure reason) {
        attempt->deleteLater();
        // The host answered but no longer takes this token: the duel is over there.
        if (reason == JoinAttempt::Failure::WrongCode) {
            giveUp();
            return;
        }
        if (trying_)
            retry_.start(retryMs_);
    });
    attempt->start();
}

void Comeback::giveUp()
{
    if (!trying_)
        return;
    stop();
    emit gaveUp();
}

} // namespace volcanelle::net
