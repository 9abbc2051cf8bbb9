// SPDX-License-Identifier: GPL-3.0-or-later
#include "relay.h"

#include <QTcpSocket>
#include <algorithm>

namespace volcanelle::testing {

Relay::Relay(quint16 target, QObject* parent) : QObject(parent), target_(target)
{
    connect(&server_, &QTcpServer::newConnection, this, &Relay::accept);
}

Relay::~Relay()
{
    for (Pair* pair : pairs_) {
        pair->near->disconnect(this);
        pair->far->disconnect(this);
        delete pair;
    }
}

bool Relay::listen()
{
    return server_.listen(QHostAddress::LocalHost, 0);
}

void Relay::cut()
{
    cut_ = true;
}

void Relay::restore()
{
    cut_ = false;
}

int Relay::carried() const
{
    return static_cast<int>(std::count_if(pairs_.begin(), pairs_.end(), [](const Pair* pair) {
        return pair->near->state() == QAbstractSocket::ConnectedState &&
               pair->far->state() == QAbstractSocket::ConnectedState;
    }));
}

void Relay::accept()
{
    while (QTcpSocket* near = server_.nextPendingConnection()) {
        near->setParent(this);
        if (cut_) {
            near->abort();
            near->deleteLater();
            continue;
        }
        auto* pair = new Pair{near, new QTcpSocket(this)};
        pairs_.push_back(pair);
        // Nothing is read from the near side until the far side is there to take it.
        connect(pair->far, &QTcpSocket::connected, this, [this, pair] {
            connect(pair->near, &QTcpSocket::readyRead, this,
                    [this, pair] { forward(pair->near, pair->far); });
            connect(pair->far, &QTcpSocket::readyRead, this,
                    [this, pair] { forward(pair->far, pair->near); });
            forward(pair->near, pair->far);
        });
        for (QTcpSocket* end : {pair->near, pair->far}) {
            connect(end, &QTcpSocket::disconnected, this, [this, pair] { drop(pair); });
            connect(end, &QTcpSocket::errorOccurred, this, [this, pair] { drop(pair); });
        }
        pair->far->connectToHost(QHostAddress::LocalHost, target_);
    }
}

void Relay::forward(QTcpSocket* from, QTcpSocket* to)
{
    const QByteArray bytes = from->readAll();
    // Lost on the way while the network is cut.
    if (!cut_)
        to->write(bytes);
}

void Relay::drop(Pair* pair)
{
    const auto found = std::find(pairs_.begin(), pairs_.end(), pair);
    if (found == pairs_.end())
        return;
    pairs_.erase(found);
    // One end gone: the other is closed too, as the far program would see it. On a working
    // network what the closing end sent last (a goodbye) still arrives before the close.
    if (!cut_) {
        forward(pair->near, pair->far);
        forward(pair->far, pair->near);
    }
    for (QTcpSocket* end : {pair->near, pair->far}) {
        end->disconnect(this);
        if (cut_ || end->state() != QAbstractSocket::ConnectedState) {
            end->abort();
            end->deleteLater();
            continue;
        }
        connect(end, &QTcpSocket::disconnected, end, &QObject::deleteLater);
        end->disconnectFromHost();
    }
    delete pair;
}

} // namespace volcanelle::testing
