// SPDX-License-Identifier: GPL-3.0-or-later
#include "testclient.h"

#include "wire/codec.h"

#include <QCoreApplication>
#include <QTest>

namespace volcanelle::server {

TestClient::TestClient(quint16 port, QObject* parent) : QObject(parent)
{
    connect(&socket, &QWebSocket::binaryMessageReceived, this, [this](const QByteArray& body) {
        bytes.push_back(body);
        auto message = wire::decodeBody(reinterpret_cast<const unsigned char*>(body.constData()),
                                        static_cast<std::size_t>(body.size()));
        if (message)
            got.push_back(*message);
        else
            garbled = true;
    });
    socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(port)));
}

bool TestClient::waitOpen()
{
    for (int i = 0; i < 500 && socket.state() != QAbstractSocket::ConnectedState; ++i) {
        if (socket.state() == QAbstractSocket::UnconnectedState && i > 0)
            return false;
        pump();
    }
    return socket.state() == QAbstractSocket::ConnectedState;
}

void TestClient::send(const wire::Message& message)
{
    socket.sendBinaryMessage(wire::encode(message).mid(4));
}

bool TestClient::waitClosed()
{
    for (int i = 0; i < 500 && socket.state() != QAbstractSocket::UnconnectedState; ++i)
        pump();
    return socket.state() == QAbstractSocket::UnconnectedState;
}

void TestClient::pump()
{
    QTest::qWait(10);
}

} // namespace volcanelle::server
