// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/sendqueued.h"

#include <cerrno>
#include <sys/socket.h>

namespace volcanelle::server {

bool sendQueued(int fd, QByteArray& queue)
{
    qsizetype sent = 0;
    bool failed = false;
    while (sent < queue.size()) {
        const ssize_t put = ::send(fd, queue.constData() + sent,
                                   static_cast<std::size_t>(queue.size() - sent), MSG_NOSIGNAL);
        if (put > 0) {
            sent += put;
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else {
            failed = !(put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK));
            break;
        }
    }
    // Most links are idle most of the time: an empty queue keeps no memory.
    if (sent == queue.size())
        queue.clear();
    else
        queue.remove(0, sent);
    return !failed;
}

} // namespace volcanelle::server
