// SPDX-License-Identifier: GPL-3.0-or-later
// The server's epoll event loop: timers, posts from other threads, and sockets, as Qt's
// own loop delivers them.
#include "servertestmain.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <thread>

class TestDispatcher : public QObject {
    Q_OBJECT
private slots:
    void timers()
    {
        int once = 0, repeated = 0, zero = 0, stopped = 0;
        QTimer::singleShot(40, this, [&] { ++once; });
        QTimer every;
        connect(&every, &QTimer::timeout, this, [&] { ++repeated; });
        every.start(10);
        QTimer later;
        later.setSingleShot(true);
        connect(&later, &QTimer::timeout, this, [&] { ++stopped; });
        later.start(60);
        // A timer stopped by another's handler, before its time, never fires.
        QTimer::singleShot(20, this, [&] { later.stop(); });
        QTimer idle;
        connect(&idle, &QTimer::timeout, this, [&] {
            if (++zero == 3)
                idle.stop();
        });
        idle.start(0);
        QTimer far;
        far.start(1000);
        QVERIFY(far.remainingTime() > 900 && far.remainingTime() <= 1000);

        QTest::qWait(200);
        QCOMPARE(once, 1);
        QVERIFY2(repeated >= 5, qPrintable(QString::number(repeated)));
        QCOMPARE(zero, 3);
        QCOMPARE(stopped, 0);
        QVERIFY(far.isActive());
        far.stop();
        QCOMPARE(far.remainingTime(), -1);
    }

    // A loop waiting on nothing but a far timer wakes for a post from another thread, and
    // objects deleted later are deleted.
    void postsWakeTheLoop()
    {
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        QPointer<QObject> doomed = new QObject;
        doomed->deleteLater();
        QElapsedTimer clock;
        clock.start();
        std::thread poster([&loop] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        poster.join();
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!doomed);
    }

    // More than the system buffers at once: the writer waits to write, the reader reads it
    // all, and a close is seen on the other end.
    void socketsCarryEverything()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, server.serverPort());
        QTRY_VERIFY(server.hasPendingConnections());
        std::unique_ptr<QTcpSocket> accepted(server.nextPendingConnection());
        QTRY_COMPARE(client.state(), QAbstractSocket::ConnectedState);

        QByteArray sent(4 * 1024 * 1024, '\0');
        for (qsizetype i = 0; i < sent.size(); ++i)
            sent[i] = static_cast<char>(i * 7 + i / 4093);
        QCOMPARE(client.write(sent), sent.size());
        QByteArray got;
        connect(accepted.get(), &QTcpSocket::readyRead, this, [&] { got += accepted->readAll(); });
        QTRY_COMPARE_WITH_TIMEOUT(got.size(), sent.size(), 10000);
        QVERIFY(got == sent);
        QCOMPARE(client.bytesToWrite(), 0);

        bool closed = false;
        connect(accepted.get(), &QTcpSocket::disconnected, this, [&] { closed = true; });
        client.disconnectFromHost();
        QTRY_VERIFY(closed);
    }
};

VOLCANELLE_SERVER_TEST_MAIN(TestDispatcher)
#include "test_dispatcher.moc"
