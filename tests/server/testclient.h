// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wire/messages.h"

#include <QObject>
#include <QWebSocket>
#include <vector>

namespace volcanelle::server {

/// A game program as the server sees it: a WebSocket on loopback that sends wire messages
/// and keeps every message that comes back.
class TestClient : public QObject {
    Q_OBJECT
public:
    explicit TestClient(quint16 port, QObject* parent = nullptr);

    /// Waits for the connection; false when it did not open.
    bool waitOpen();
    void send(const wire::Message& message);
    void sendRaw(const QByteArray& body) { socket.sendBinaryMessage(body); }

    /// The first message of type T received, once one came (waiting up to 5 s).
    template <class T> const T* wait()
    {
        for (int i = 0; i < 500; ++i) {
            if (const T* found = first<T>())
                return found;
            pump();
        }
        return nullptr;
    }
    template <class T> const T* first() const
    {
        for (const wire::Message& m : got)
            if (const auto* found = std::get_if<T>(&m))
                return found;
        return nullptr;
    }
    /// Waits until the server closed the connection; false after 5 s.
    bool waitClosed();
    bool garbled = false;

    QWebSocket socket;
    std::vector<wire::Message> got;
    /// Every frame body as it came, read or not.
    std::vector<QByteArray> bytes;

private:
    static void pump();
};

} // namespace volcanelle::server
