// SPDX-License-Identifier: GPL-3.0-or-later
// A real joiner against a fake host that speaks the wire format as a hostile program would.
#include "boxes.h"
#include "boxwatch.h"
#include "net/joinattempt.h"
#include "netplay/joinseat.h"
#include "netplay/netplay.h"
#include "window/demin.h"
#include "windowprobe.h"
#include "wire/codec.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

const QString kNetworkTitle = QStringLiteral("Duel en réseau");
const QString kFlooding = QStringLiteral("L'adversaire envoie trop de messages. Le duel s'arrête.");

/// The fake host: takes the joiner's hello and answers it with `answer`'s bytes.
class FakeHost {
public:
    FakeHost() { server_.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return server_.serverPort(); }

    /// Waits for the hello, then answers.
    bool answerHello(const QByteArray& answer)
    {
        if (!QTest::qWaitFor([this] { return server_.hasPendingConnections(); }, 5000))
            return false;
        socket.reset(server_.nextPendingConnection());
        socket->setParent(nullptr); // owned here, not by the server
        if (!QTest::qWaitFor([this] { return socket->bytesAvailable() > 0; }, 5000))
            return false;
        socket->readAll();
        socket->write(answer);
        return socket->flush() || socket->bytesToWrite() == 0;
    }
    void send(const wire::Message& message) { socket->write(wire::encode(message)); }

    std::unique_ptr<QTcpSocket> socket;

private:
    QTcpServer server_;
};

/// A joiner welcomed by the fake host, playing in a real window.
struct Joiner {
    FakeHost host;
    demin window;
    std::unique_ptr<JoinSeat> seat;

    bool join()
    {
        net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), host.port(), 42);
        QSignalSpy joined(&attempt, &net::JoinAttempt::joined);
        attempt.start();
        if (!host.answerHello(wire::encode(wire::Welcome{})) || !joined.wait(5000))
            return false;
        seat = std::make_unique<JoinSeat>(window, joined.first().first().value<net::Link*>());
        window.show();
        return true;
    }
};

/// Answers every box with OK or closes it, recording "<title>|<text>"; the first box stays
/// open until `holdFirst` returns false (or 5 s have passed), and `whileFirstOpen` runs once
/// it is shown, so that a test can act while a box waits.
class BoxCloser : public QObject {
public:
    BoxCloser()
    {
        connect(&timer_, &QTimer::timeout, this, &BoxCloser::poll);
        timer_.start(20);
    }
    std::function<void()> whileFirstOpen;
    std::function<bool()> holdFirst = [] { return false; };
    /// Called once 30 boxes have been closed, to end what would need a click each.
    std::function<void()> tooMany = [] {};
    QStringList seen;

private:
    void poll()
    {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        if (!first_) {
            first_ = box;
            held_.start();
            if (whileFirstOpen)
                whileFirstOpen();
        }
        if (box == first_ && holdFirst() && held_.elapsed() < 5000)
            return;
        seen << describe(box);
        if (seen.size() == 30)
            tooMany();
        if (!clickButton(box, QStringLiteral("OK")))
            closeAnyway(box);
    }

    QTimer timer_;
    QPointer<QWidget> first_;
    QElapsedTimer held_;
};

// How the box's text is laid out when it opens: "plain" or "rich".
QString boxTextFormat(QDialog* dialog)
{
    const auto* label = dialog->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    return !label                                 ? QStringLiteral("none")
           : label->textFormat() == Qt::PlainText ? QStringLiteral("plain")
                                                  : QStringLiteral("rich");
}

QString nestedTables(int depth)
{
    QString html;
    for (int i = 0; i < depth; ++i)
        html += QStringLiteral("<table><tr><td>x</td><td>");
    for (int i = 0; i < depth; ++i)
        html += QStringLiteral("</td></tr></table>");
    return html;
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    // Markup from the host, in the captions, the status bar and a box, shows as typed, and
    // the window repaints at once: no nested tables laid out, no image read, no link.
    void markupIsShownAsTyped()
    {
        Joiner joiner;
        QVERIFY(joiner.join());
        const QString markup =
            nestedTables(20) + QStringLiteral("<img src=\"/usr/share/pixmaps/debian-logo.png\">"
                                              "<a href=\"#\">lien</a><b>gras</b>");
        BoxWatch formats(boxTextFormat);
        BoxCloser boxes;
        joiner.host.send(wire::Caption{wire::Caption::Slot::MinesLeft, 0, markup});
        joiner.host.send(wire::Caption{wire::Caption::Slot::Turn, 2, markup});
        joiner.host.send(wire::Caption{wire::Caption::Slot::Score1, 0, markup});
        joiner.host.send(wire::Announce{markup, QString()});
        QTRY_COMPARE(boxes.seen.size(), 1);

        for (const char* name : {"Panel3", "lblMain", "lblScore(1)"}) {
            auto* label = joiner.window.findChild<QLabel*>(QLatin1String(name));
            QVERIFY2(label, name);
            QCOMPARE(label->text(), markup);
            QVERIFY2(label->textFormat() == Qt::PlainText, name);
        }
        QElapsedTimer paint;
        paint.start();
        joiner.window.grab();
        // Laid out as tables, the status text alone takes far more than a minute.
        QVERIFY2(paint.elapsed() < 5000, qPrintable(QString::number(paint.elapsed())));

        QCOMPARE(boxes.seen, QStringList(QStringLiteral("Volcanelle|") + markup));
        QCOMPARE(formats.notes, QStringList(QStringLiteral("plain")));
    }

    // A host that sends more than a duel ever needs while a box waits ends the duel as for
    // a garbled message, with a message of its own; the player clicks a few boxes, not all.
    void floodEndsTheDuel_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("count");
        QTest::newRow("boxes") << QStringLiteral("box") << 4000;
        QTest::newRow("captions") << QStringLiteral("caption") << 5000;
        QTest::newRow("long captions") << QStringLiteral("long caption") << 300;
    }
    void floodEndsTheDuel()
    {
        QFETCH(QString, what);
        QFETCH(int, count);
        Joiner joiner;
        QVERIFY(joiner.join());
        QSignalSpy finished(joiner.seat.get(), &JoinSeat::finished);
        BoxCloser boxes;
        boxes.holdFirst = [&finished] { return finished.isEmpty(); };
        boxes.tooMany = [&joiner] { joiner.host.socket->abort(); };
        boxes.whileFirstOpen = [&] {
            for (int i = 0; i < count; ++i) {
                if (what == QLatin1String("box"))
                    joiner.host.send(wire::Announce{QString::number(i), QStringLiteral("Pirate")});
                else if (what == QLatin1String("caption"))
                    joiner.host.send(
                        wire::Caption{wire::Caption::Slot::Score1, 0, QString::number(i)});
                else
                    joiner.host.send(wire::Caption{wire::Caption::Slot::Score1, 0,
                                                   QString(4000, QLatin1Char('a' + i % 26))});
            }
        };
        joiner.host.send(wire::Announce{QStringLiteral("Bonjour"), QStringLiteral("Pirate")});
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 15000);
        QCOMPARE(finished.first().first().toInt(), 1);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY2(boxes.seen.size() < 10, qPrintable(boxes.seen.join(QLatin1Char('\n'))));
        QVERIFY2(boxes.seen.contains(kNetworkTitle + QLatin1Char('|') + kFlooding),
                 qPrintable(boxes.seen.join(QLatin1Char('\n'))));
    }

    // A host whose answer to hello is not a frame at all gets its own message, not the one
    // for a host that does not answer.
    void garbledAnswerToHello()
    {
        FakeHost host;
        net::JoinAttempt attempt(QStringLiteral("127.0.0.1"), host.port(), 42);
        QSignalSpy failed(&attempt, &net::JoinAttempt::failed);
        attempt.start();
        QVERIFY(host.answerHello(QByteArray::fromHex("ffffffff01")));
        QTRY_COMPARE(failed.size(), 1);
        QCOMPARE(joinFailureText(failed.first().at(0).value<net::JoinAttempt::Failure>(),
                                 failed.first().at(1).toInt(), attempt.address()),
                 QStringLiteral("L'hôte 127.0.0.1:%1 répond par un message illisible : ce n'est "
                                "sans doute pas un hôte de duel Volcanelle.")
                     .arg(host.port()));
    }
};

QTEST_MAIN(TestHostile)
#include "test_hostile.moc"
