// SPDX-License-Identifier: GPL-3.0-or-later
// The information window opened and closed, and rounds set up, a thousand times each on the
// real game window: the heap in use must come back to where it was, give or take 1 MiB, so
// about 1 KiB a repeat. A window or a box left behind each time weighs far more than that. Under
// AddressSanitizer the heap is the sanitizer's own and not measured here; LeakSanitizer checks for
// leaks at exit instead.
#include "engine/texts.h"
#include "fixeddraws.h"
#include "modalanswerer.h"
#include "ui/application.h"
#include "window/demin.h"
#include "window/frmabout.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <malloc.h>

using volcanelle::demin;
using volcanelle::testing::FixedDraws;
using volcanelle::testing::ModalAnswerer;

namespace {

constexpr int kRepeats = 1'000;
constexpr int kWarmUp = 100; // more than one turn of the counts 30 to 100
// What the heap in use may grow by over the repeats. Most caches fill during the warm-up, but
// glyph and layout caches still grow a little as the status bar's clock shows new digits.
constexpr long long kToleranceBytes = 1024 * 1024;
// Objects under the window may differ by a transient one or two (a timer's helper alive at
// the moment of counting); one left behind per repeat would make a thousand.
constexpr qsizetype kToleranceObjects = 2;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHeapMeasured = false;
#else
constexpr bool kHeapMeasured = true;
#endif

struct Memory {
    long long heapBytes; // allocated and not freed
    long long rssKiB;    // resident set, for the record only: it also counts freed pages
};

Memory measure()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    long long rss = 0;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                rss = line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return {static_cast<long long>(mallinfo2().uordblks), rss};
}

void report(const char* what, const Memory& before, const Memory& after)
{
    if (!kHeapMeasured) {
        qInfo("%s: heap not measured under AddressSanitizer, resident %lld -> %lld KiB", what,
              before.rssKiB, after.rssKiB);
        return;
    }
    qInfo("%s: heap in use %lld -> %lld bytes (%+lld), resident %lld -> %lld KiB (%+lld)", what,
          before.heapBytes, after.heapBytes, after.heapBytes - before.heapBytes, before.rssKiB,
          after.rssKiB, after.rssKiB - before.rssKiB);
}

std::vector<int> firstCells(int count)
{
    std::vector<int> cells(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        cells[static_cast<std::size_t>(i)] = i;
    return cells;
}

} // namespace

class tst_WindowMemory : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void informationWindowOpenedAndClosed();
    void roundsSetUpOnTheGameWindow();
};

void tst_WindowMemory::initTestCase()
{
    volcanelle::prepareApplication();
}

void tst_WindowMemory::informationWindowOpenedAndClosed()
{
    FixedDraws draws(firstCells(100));
    demin window(&draws);
    ModalAnswerer answerer;
    answerer.type(QStringLiteral("30"));
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const auto openAndClose = [&window] {
        window.Command2_Click();
        auto* about = window.aboutWindow();
        if (!about)
            return false;
        about->close(); // deletes itself on close, later
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return true;
    };
    for (int i = 0; i < kWarmUp; ++i)
        QVERIFY(openAndClose());
    const Memory before = measure();
    const qsizetype objects = window.findChildren<QObject*>().size();
    const qsizetype windows = QApplication::topLevelWidgets().size();
    for (int i = 0; i < kRepeats; ++i)
        QVERIFY(openAndClose());
    const Memory after = measure();
    report("information window opened and closed 1000 times", before, after);

    QVERIFY(window.findChildren<QObject*>().size() <= objects + kToleranceObjects);
    QVERIFY(!window.aboutWindow());
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    if (kHeapMeasured)
        QVERIFY2(after.heapBytes - before.heapBytes < kToleranceBytes,
                 "the heap grew past the tolerance");
    QVERIFY(answerer.unexpected.isEmpty());
}

void tst_WindowMemory::roundsSetUpOnTheGameWindow()
{
    FixedDraws draws(firstCells(100));
    demin window(&draws);
    ModalAnswerer answerer;
    answerer.type(QStringLiteral("30"));
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Each round: the count through the real input box, every count from 30 to 100 in turn,
    // then a click that opens the blank area in the lower part of the board.
    auto* corner = window.findChild<QAbstractButton*>(QStringLiteral("cmdCase(224)"));
    int round = 0;
    const auto setUpAndPlay = [&] {
        const int mines = volcanelle::texts::kFewestMines + round++ % 71;
        answerer.seen.clear(); // the answerer's own record would otherwise grow
        answerer.type(QString::number(mines));
        window.duel().nouvelleManche();
        corner->click();
        return window.duel().bombesRestantes() == mines && !corner->isVisible();
    };
    for (int i = 0; i < kWarmUp; ++i)
        QVERIFY(setUpAndPlay());
    const Memory before = measure();
    const qsizetype objects = window.findChildren<QObject*>().size();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRepeats; ++i)
        QVERIFY(setUpAndPlay());
    const qint64 elapsed = clock.elapsed();
    const Memory after = measure();
    report("1000 rounds set up and opened on the game window", before, after);
    qInfo("%d rounds in %lld ms", kRepeats, static_cast<long long>(elapsed));

    QVERIFY(window.findChildren<QObject*>().size() <= objects + kToleranceObjects);
    QCOMPARE(answerer.pending(), 0);
    QVERIFY(answerer.unexpected.isEmpty());
    if (kHeapMeasured)
        QVERIFY2(after.heapBytes - before.heapBytes < kToleranceBytes,
                 "the heap grew past the tolerance");
}

QTEST_MAIN(tst_WindowMemory)
#include "test_windowmemory.moc"
