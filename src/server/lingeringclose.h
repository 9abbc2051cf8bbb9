// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace volcanelle::server {

/// The end of a connection the server closed on purpose: what it still has to send goes
/// out, its sending side is shut, and whatever the other side still sends is read and
/// thrown away until that side closes too or the deadline passes. A socket closed with
/// bytes unread is reset instead, and the reset can destroy the last answer (a refusal, a
/// farewell, a page) before the other side has read it.
class LingeringClose : public QObject {
public:
    /// Takes `fd`, with `unsent` still to write, and closes it within `deadlineMs`.
    LingeringClose(int fd, QByteArray unsent, int deadlineMs, QObject* parent);
    ~LingeringClose() override;

private:
    void readable();
    void writable();

    int fd_;
    QSocketNotifier* reader_;
    QSocketNotifier* writer_;
    QByteArray unsent_;
    QTimer deadline_;
};

} // namespace volcanelle::server
