// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/epolldispatcher.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimerEvent>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace volcanelle::server {

namespace {

constexpr int kReadyAtOnce = 256;

std::int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

EpollDispatcher::EpollDispatcher(QObject* parent)
    : QAbstractEventDispatcher(parent), epoll_(epoll_create1(EPOLL_CLOEXEC)),
      wake_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = wake_;
    epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &ev);
}

EpollDispatcher::~EpollDispatcher()
{
    close(wake_);
    close(epoll_);
}

bool EpollDispatcher::processEvents(QEventLoop::ProcessEventsFlags flags)
{
    interrupted_.store(false);
    emit awake();
    QCoreApplication::sendPostedEvents();
    if (interrupted_.load())
        return false;
    // A post from any thread, even during sendPostedEvents, has written to wake_: the wait
    // below then returns at once.
    const bool canWait = flags.testFlag(QEventLoop::WaitForMoreEvents);
    if (canWait)
        emit aboutToBlock();
    applyChanges();
    epoll_event ready[kReadyAtOnce];
    int n = epoll_wait(epoll_, ready, kReadyAtOnce, waitMs(canWait));
    if (n < 0)
        n = 0; // EINTR: a signal; the caller turns again
    bool did = false;
    for (int i = 0; i < n; ++i) {
        const int fd = ready[i].data.fd;
        if (fd == wake_) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = read(wake_, &count, sizeof count);
            wakePending_.store(false);
            did = true;
        } else if (!flags.testFlag(QEventLoop::ExcludeSocketNotifiers)) {
            dispatchSocket(fd, ready[i].events);
            did = true;
        }
    }
    if (!flags.testFlag(QEventLoop::X11ExcludeTimers))
        did = fireTimers() || did;
    return did;
}

int EpollDispatcher::waitMs(bool canWait) const
{
    if (!canWait)
        return 0;
    if (dueTimes_.empty())
        return -1;
    const std::int64_t left = dueTimes_.begin()->first - nowMs();
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, 24 * 3600 * 1000));
}

void EpollDispatcher::dispatchSocket(int fd, std::uint32_t events)
{
    // Looked up again before each kind: a notifier may go away while another is handled.
    const auto activate = [this, fd](QSocketNotifier* Watched::*kind) {
        const auto it = sockets_.find(fd);
        if (it == sockets_.end() || !(it->second.*kind))
            return;
        QEvent event(QEvent::SockAct);
        QCoreApplication::sendEvent(it->second.*kind, &event);
    };
    // As Qt's own loop reads poll's answer: a hang-up or an error is for the reader too.
    if (events & (EPOLLIN | EPOLLHUP | EPOLLERR))
        activate(&Watched::read);
    if (events & (EPOLLOUT | EPOLLERR))
        activate(&Watched::write);
    if (events & EPOLLPRI)
        activate(&Watched::exception);
}

void EpollDispatcher::registerSocketNotifier(QSocketNotifier* notifier)
{
    const int fd = static_cast<int>(notifier->socket());
    const bool known = sockets_.count(fd) != 0;
    Watched& watched = sockets_[fd];
    switch (notifier->type()) {
    case QSocketNotifier::Read:
        watched.read = notifier;
        break;
    case QSocketNotifier::Write:
        watched.write = notifier;
        break;
    case QSocketNotifier::Exception:
        watched.exception = notifier;
        break;
    }
    rewatch(fd, known);
}

void EpollDispatcher::unregisterSocketNotifier(QSocketNotifier* notifier)
{
    const int fd = static_cast<int>(notifier->socket());
    const auto it = sockets_.find(fd);
    if (it == sockets_.end())
        return;
    for (QSocketNotifier** kind : {&it->second.read, &it->second.write, &it->second.exception})
        if (*kind == notifier)
            *kind = nullptr;
    rewatch(fd, true);
}

void EpollDispatcher::rewatch(int fd, bool known)
{
    Watched& watched = sockets_[fd];
    const std::uint32_t wanted = (watched.read ? EPOLLIN : 0u) | (watched.write ? EPOLLOUT : 0u) |
                                 (watched.exception ? EPOLLPRI : 0u);
    epoll_event ev{};
    ev.data.fd = fd;
    ev.events = wanted;
    if (wanted == 0) {
        // At once: Qt closes the file next, and its number may come back for another.
        // The file may be closed already, which took it out of the set.
        epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, &ev);
        sockets_.erase(fd);
        return;
    }
    if (known) {
        // A socket writes between two waits, asking to be told when it can and then not:
        // only what still differs at the next wait is told to the system.
        if (!watched.dirty && wanted != watched.applied) {
            watched.dirty = true;
            dirty_.push_back(fd);
        }
        return;
    }
    // A number may have been closed and opened again since the set last heard of it.
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ev) != 0 && errno == EEXIST)
        epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &ev);
    watched.applied = wanted;
}

void EpollDispatcher::applyChanges()
{
    for (const int fd : dirty_) {
        const auto it = sockets_.find(fd);
        if (it == sockets_.end())
            continue;
        Watched& watched = it->second;
        watched.dirty = false;
        epoll_event ev{};
        ev.data.fd = fd;
        ev.events = (watched.read ? EPOLLIN : 0u) | (watched.write ? EPOLLOUT : 0u) |
                    (watched.exception ? EPOLLPRI : 0u);
        if (ev.events == watched.applied)
            continue;
        if (epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &ev) != 0 && errno == ENOENT)
            epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ev);
        watched.applied = ev.events;
    }
    dirty_.clear();
}

void EpollDispatcher::registerTimer(int timerId, qint64 interval, Qt::TimerType timerType,
                                    QObject* object)
{
    unregisterTimer(timerId);
    const std::int64_t due = nowMs() + interval;
    timers_.emplace(timerId, Timer{interval, timerType, object, due});
    dueTimes_.emplace(due, timerId);
}

bool EpollDispatcher::unregisterTimer(int timerId)
{
    const auto it = timers_.find(timerId);
    if (it == timers_.end())
        return false;
    dueTimes_.erase({it->second.due, timerId});
    timers_.erase(it);
    return true;
}

bool EpollDispatcher::unregisterTimers(QObject* object)
{
    std::vector<int> ids;
    for (const auto& [id, timer] : timers_)
        if (timer.object == object)
            ids.push_back(id);
    for (const int id : ids)
        unregisterTimer(id);
    return !ids.empty();
}

QList<QAbstractEventDispatcher::TimerInfo> EpollDispatcher::registeredTimers(QObject* object) const
{
    QList<TimerInfo> list;
    for (const auto& [id, timer] : timers_)
        if (timer.object == object)
            list.append(TimerInfo(id, static_cast<int>(timer.interval), timer.type));
    return list;
}

int EpollDispatcher::remainingTime(int timerId)
{
    const auto it = timers_.find(timerId);
    if (it == timers_.end())
        return -1;
    return static_cast<int>(std::max<std::int64_t>(0, it->second.due - nowMs()));
}

bool EpollDispatcher::fireTimers()
{
    const std::int64_t now = nowMs();
    std::vector<int> due;
    for (auto it = dueTimes_.begin(); it != dueTimes_.end() && it->first <= now; ++it)
        due.push_back(it->second);
    for (const int id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end())
            continue; // stopped by a timer fired before it
        Timer& timer = it->second;
        // The next time is counted from this one; times missed meanwhile are skipped.
        dueTimes_.erase({timer.due, id});
        timer.due += timer.interval;
        if (timer.due <= now)
            timer.due = now + timer.interval;
        dueTimes_.emplace(timer.due, id);
        // A timer whose handler runs an event loop does not fire again inside itself.
        if (timer.firing)
            continue;
        timer.firing = true;
        QTimerEvent event(id);
        QCoreApplication::sendEvent(timer.object, &event);
        it = timers_.find(id);
        if (it != timers_.end())
            it->second.firing = false;
    }
    return !due.empty();
}

void EpollDispatcher::wakeUp()
{
    if (wakePending_.exchange(true))
        return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(wake_, &one, sizeof one);
}

void EpollDispatcher::interrupt()
{
    interrupted_.store(true);
    wakeUp();
}

} // namespace volcanelle::server
