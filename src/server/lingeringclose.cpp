// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/lingeringclose.h"

#include "server/sendqueued.h"

#include <QSocketNotifier>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace volcanelle::server {

LingeringClose::LingeringClose(int fd, QByteArray unsent, int deadlineMs, QObject* parent)
    : QObject(parent), fd_(fd), reader_(new QSocketNotifier(fd, QSocketNotifier::Read, this)),
      writer_(new QSocketNotifier(fd, QSocketNotifier::Write, this)), unsent_(std::move(unsent))
{
    connect(reader_, &QSocketNotifier::activated, this, &LingeringClose::readable);
    connect(writer_, &QSocketNotifier::activated, this, &LingeringClose::writable);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &QObject::deleteLater);
    deadline_.start(deadlineMs);
    writable();
}

LingeringClose::~LingeringClose()
{
    reader_->setEnabled(false);
    writer_->setEnabled(false);
    ::close(fd_);
}

void LingeringClose::writable()
{
    if (!sendQueued(fd_, unsent_)) {
        deleteLater();
        return;
    }
    if (!unsent_.isEmpty())
        return;
    writer_->setEnabled(false);
    ::shutdown(fd_, SHUT_WR);
}

void LingeringClose::readable()
{
    char scratch[4096];
    // A few reads a turn: a sender that never stops is cut off by the deadline, not served.
    for (int turn = 0; turn < 16; ++turn) {
        const ssize_t got = ::recv(fd_, scratch, sizeof scratch, 0);
        if (got > 0)
            continue;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // The other side closed too, or the connection failed: nothing is left to protect.
        reader_->setEnabled(false);
        deleteLater();
        return;
    }
}

} // namespace volcanelle::server
