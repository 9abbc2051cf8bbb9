// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTcpServer>
#include <vector>

class QTcpSocket;

namespace volcanelle::testing {

/// A TCP relay on loopback between the programs of a network duel, which a test cuts as a
/// broken network would: while cut, whatever either side sends is lost and every new
/// connection is closed at once, but the connections it carries stay open, so each side
/// learns of the cut only from the silence.
class Relay : public QObject {
    Q_OBJECT
public:
    /// Relays to 127.0.0.1:`target`.
    explicit Relay(quint16 target, QObject* parent = nullptr);
    ~Relay() override;

    /// Listens on 127.0.0.1, on a port the system chooses.
    bool listen();
    quint16 port() const { return server_.serverPort(); }

    void cut();
    void restore();
    bool isCut() const { return cut_; }
    /// Connections carried now, both ends open.
    int carried() const;

private:
    struct Pair {
        QTcpSocket* near = nullptr; // the side that connected to the relay
        QTcpSocket* far = nullptr;  // the relay's connection to the target
    };

    void accept();
    void forward(QTcpSocket* from, QTcpSocket* to);
    void drop(Pair* pair);

    QTcpServer server_;
    quint16 target_;
    bool cut_ = false;
    std::vector<Pair*> pairs_;
};

} // namespace volcanelle::testing
