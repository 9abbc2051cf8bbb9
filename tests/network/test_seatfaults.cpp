// SPDX-License-Identifier: GPL-3.0-or-later
// The host's side when the joiner misbehaves or vanishes while a box is open on the host.
#include "boxes.h"
#include "fixeddraws.h"
#include "net/hostgate.h"
#include "netplay/hostseat.h"
#include "window/demin.h"
#include "windowprobe.h"
#include "wire/codec.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <functional>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

const QString kCode = QStringLiteral("004217");
const QString kCountBox = QStringLiteral("Saisie|Entrez un nombre de mines entre 30 et 100 : ");
const QString kVerdict =
    QStringLiteral("Recommencez le duel un autre fois !|Le jeu est serré, personne n'a gagné.");

// Watches the host's boxes from a timer: the mine-count box is left open, once `onCount` has
// run, until the seat is done; every announcement on top of it is answered OK. Whatever is
// still open is closed at the end, so that no exec() is left waiting.
class OpenCountBox : public QObject {
public:
    OpenCountBox(const HostSeat& seat, std::function<void()> onCount) : onCount_(std::move(onCount))
    {
        connect(&seat, &HostSeat::finished, this, [this] { done_ = true; });
        connect(&timer_, &QTimer::timeout, this, &OpenCountBox::poll);
        timer_.start(10);
    }
    ~OpenCountBox() override
    {
        while (QWidget* box = QApplication::activeModalWidget())
            closeAnyway(box);
    }

    QStringList seen;

private:
    void poll()
    {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !box->isVisible())
            return;
        const QString what = describe(box);
        if (what == kCountBox) {
            if (seen.isEmpty()) {
                seen << what;
                onCount_();
            } else if (done_) {
                closeAnyway(box);
            }
            return;
        }
        seen << what;
        if (!clickButton(box, QStringLiteral("OK")))
            closeAnyway(box);
    }

    std::function<void()> onCount_;
    bool done_ = false;
    QTimer timer_;
};

} // namespace

class TestSeatFaults : public QObject {
    Q_OBJECT
private slots:
    // The joiner's messages wait while the host answers a box; a joiner that sends far more
    // than a player could in that time is cut off, and the host ends with its message.
    void floodWhileABoxIsOpen()
    {
        FixedDraws draws(twoMineRows());
        demin host(&draws);
        net::HostGate gate(kCode);
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        HostSeat seat(host, gate);
        host.show();
        QSignalSpy done(&seat, &HostSeat::finished);

        QTcpSocket raw;
        OpenCountBox boxes(seat, [&raw] {
            QByteArray flood;
            for (int i = 0; i < 5000; ++i)
                flood += wire::encode(wire::Click{static_cast<std::uint8_t>(i % 225)});
            raw.write(flood);
        });
        raw.connectToHost(QHostAddress::LocalHost, gate.port());
        QVERIFY(raw.waitForConnected(5000));
        raw.write(wire::encode(wire::Hello{wire::kVersion, kCode.toUInt()}));

        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 10000);
        QCOMPARE(done.first().first().toInt(), 1);
        QCOMPARE(boxes.seen,
                 QStringList({kCountBox,
                              QStringLiteral("Duel en réseau|L'adversaire envoie trop de messages. "
                                             "Le duel s'arrête."),
                              kVerdict}));
        // None of the flood was played, and the link is closed.
        QTRY_COMPARE(raw.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(host.duel().board().coveredCount(), kCells);
    }

    // The connection drops while the host's mine-count box is open and the joiner never
    // comes back: the loss and the verdict come on top of the box, the seat ends once, and
    // answering the box afterwards asks nothing.
    void lossWhileABoxIsOpen()
    {
        FixedDraws draws(twoMineRows());
        demin host(&draws);
        net::HostGate gate(kCode);
        QVERIFY(gate.listen(QHostAddress::LocalHost, 0));
        HostSeat seat(host, gate);
        seat.setAwayLimit(300);
        host.show();
        QSignalSpy done(&seat, &HostSeat::finished);

        QTcpSocket raw;
        OpenCountBox boxes(seat, [&raw] { raw.abort(); });
        raw.connectToHost(QHostAddress::LocalHost, gate.port());
        QVERIFY(raw.waitForConnected(5000));
        raw.write(wire::encode(wire::Hello{wire::kVersion, kCode.toUInt()}));

        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 10000);
        QCOMPARE(done.first().first().toInt(), 1);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QTest::qWait(50);
        QCOMPARE(done.size(), 1);
        QCOMPARE(boxes.seen,
                 QStringList({kCountBox,
                              QStringLiteral("Duel en réseau|La connexion avec l'adversaire est "
                                             "perdue. Le duel s'arrête."),
                              kVerdict}));
    }
};

QTEST_MAIN(TestSeatFaults)
#include "test_seatfaults.moc"
