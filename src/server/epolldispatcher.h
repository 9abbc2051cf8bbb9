// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractEventDispatcher>
#include <atomic>
#include <cstdint>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

namespace volcanelle::server {

/// The server's event loop on Linux epoll. Qt's own loops hand the system every socket at
/// each turn (poll), which with thousands of connections costs more than the duels do;
/// here a turn costs what is ready. Sockets and posted events as Qt's loops deliver them;
/// timers to the millisecond, every kind alike. Install it for the main thread before the
/// application object: QCoreApplication::setEventDispatcher(new EpollDispatcher).
class EpollDispatcher : public QAbstractEventDispatcher {
    Q_OBJECT
public:
    explicit EpollDispatcher(QObject* parent = nullptr);
    ~EpollDispatcher() override;

    bool processEvents(QEventLoop::ProcessEventsFlags flags) override;

    void registerSocketNotifier(QSocketNotifier* notifier) override;
    void unregisterSocketNotifier(QSocketNotifier* notifier) override;

    using QAbstractEventDispatcher::registerTimer;
    void registerTimer(int timerId, qint64 interval, Qt::TimerType timerType,
                       QObject* object) override;
    bool unregisterTimer(int timerId) override;
    bool unregisterTimers(QObject* object) override;
    QList<TimerInfo> registeredTimers(QObject* object) const override;
    int remainingTime(int timerId) override;

    void wakeUp() override;
    void interrupt() override;

private:
    struct Watched {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
        QSocketNotifier* exception = nullptr;
        std::uint32_t applied = 0; // the events the epoll set holds for it
        bool dirty = false;        // in dirty_: to be told again before the next wait
    };
    struct Timer {
        qint64 interval;
        Qt::TimerType type;
        QObject* object;
        std::int64_t due; // steady milliseconds
        bool firing = false;
    };
    void rewatch(int fd, bool known);
    void applyChanges();
    void dispatchSocket(int fd, std::uint32_t events);
    bool fireTimers();
    int waitMs(bool canWait) const;

    int epoll_;
    int wake_; // an eventfd: wakeUp() from any thread
    std::atomic<bool> wakePending_{false};
    std::atomic<bool> interrupted_{false};
    std::unordered_map<int, Watched> sockets_;
    std::vector<int> dirty_;
    std::unordered_map<int, Timer> timers_;
    std::set<std::pair<std::int64_t, int>> dueTimes_; // (due, timer id), soonest first
};

} // namespace volcanelle::server
