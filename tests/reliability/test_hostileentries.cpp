// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile mine counts typed into the real input box of the game window: each is refused and
// the box comes back, until a sound count starts a round that plays.
#include "engine/texts.h"
#include "fixeddraws.h"
#include "modalanswerer.h"
#include "ui/application.h"
#include "window/demin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <numeric>

using volcanelle::demin;
using volcanelle::testing::FixedDraws;
using volcanelle::testing::ModalAnswerer;
namespace texts = volcanelle::texts;

namespace {

QString withCharacter(const char* before, char16_t c, const char* after)
{
    return QLatin1String(before) + QChar(c) + QLatin1String(after);
}

QStringList hostileEntries()
{
    return {
        QString(),
        QStringLiteral(" "),
        QStringLiteral("     "),
        QStringLiteral("\t30"),
        QStringLiteral("-30"),
        QStringLiteral("+30"),
        QStringLiteral("30.5"),
        QStringLiteral("30,5"),
        QStringLiteral("3e1"),
        QStringLiteral("0x1E"),
        QStringLiteral("3 0"),
        QStringLiteral("trente"),
        QStringLiteral("30 mines"),
        QStringLiteral("29"),
        QStringLiteral("101"),
        QStringLiteral("99999999999999999999"),
        QString(10'000, u'9'),
        QLatin1Char('3') + QString(9'999, u'0'),
        QStringLiteral("٣٠"),               // Arabic-Indic
        QStringLiteral("۳۰"),               // Extended Arabic-Indic
        QStringLiteral("３０"),             // full width
        QStringLiteral("໓໐"),               // Lao
        QStringLiteral("३०"),               // Devanagari
        QStringLiteral("𝟑𝟎"),               // mathematical bold, outside the basic plane
        withCharacter("", u'\u00a0', "30"), // no-break space
        withCharacter("30", u'\u2009', ""), // thin space
        withCharacter("3", u'\0', "0"),
        withCharacter("30", u'\0', ""),
        withCharacter("3", u'\n', "0"),
        withCharacter("30", u'\n', ""),
        withCharacter("30", u'\r', ""),
    };
}

QString statusText(const demin& window)
{
    return window.findChild<QLabel*>(QStringLiteral("Panel3"))->text();
}

QString caption(const demin& window, const QString& name)
{
    return window.findChild<QLabel*>(name)->text();
}

QAbstractButton* cover(const demin& window, int index)
{
    return window.findChild<QAbstractButton*>(QStringLiteral("cmdCase(%1)").arg(index));
}

} // namespace

class tst_HostileEntries : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void firstRoundAsksUntilASoundCount();
    void newRoundAsksUntilASoundCount();
    void pastedOverLongEntryIsCut();

private:
    void typeHostileEntries(ModalAnswerer& answerer);
};

void tst_HostileEntries::initTestCase()
{
    volcanelle::prepareApplication();
}

namespace {

// Draws landing on cells 0, 1, 2, ... in order: up to 100 mines filling the board from the top.
std::vector<int> firstCells(int count)
{
    std::vector<int> cells(static_cast<std::size_t>(count));
    std::iota(cells.begin(), cells.end(), 0);
    return cells;
}

} // namespace

void tst_HostileEntries::typeHostileEntries(ModalAnswerer& answerer)
{
    for (const QString& entry : hostileEntries())
        answerer.type(entry);
}

void tst_HostileEntries::firstRoundAsksUntilASoundCount()
{
    // The mines fill the top two rows; the rest of the board is one blank area and a row of
    // numbers above it.
    FixedDraws draws(firstCells(100));
    demin window(&draws);

    ModalAnswerer answerer;
    typeHostileEntries(answerer);
    answerer.type(QStringLiteral("30"));
    const bool started = window.Form_Load();

    QVERIFY(started);
    QCOMPARE(answerer.pending(), 0);
    QVERIFY2(answerer.unexpected.isEmpty(), qPrintable(answerer.unexpected.join('\n')));
    const QString box = texts::mineCountTitle() + QLatin1Char('|') + texts::mineCountPrompt();
    QCOMPARE(answerer.seen, QStringList(hostileEntries().size() + 1, box));
    QCOMPARE(window.duel().bombesRestantes(), 30);
    QCOMPARE(window.duel().board().mineCount(), 30);
    QCOMPARE(statusText(window), texts::minesLeftCaption(QStringLiteral("30")));

    // The round plays: a click on the far corner opens the blank area and passes the turn;
    // player 2 then finds a mine and keeps the turn.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(cover(window, 224), Qt::LeftButton);
    QVERIFY(!cover(window, 224)->isVisible());
    QVERIFY(!cover(window, 30)->isVisible()); // the numbered row under the mines
    QVERIFY(cover(window, 29)->isVisible());  // a mine stays covered
    QCOMPARE(window.duel().board().coveredCount(), 30);
    QCOMPARE(caption(window, QStringLiteral("lblMain")), texts::turnCaption(2));

    QTest::mouseClick(cover(window, 0), Qt::LeftButton);
    QVERIFY(!cover(window, 0)->isVisible());
    QCOMPARE(caption(window, QStringLiteral("lblScore(2)")), texts::scoreCaption(1));
    QCOMPARE(statusText(window), texts::minesLeftCaption(29));
    QCOMPARE(caption(window, QStringLiteral("lblMain")), texts::turnCaption(2));
    QVERIFY(answerer.unexpected.isEmpty());
}

void tst_HostileEntries::newRoundAsksUntilASoundCount()
{
    FixedDraws draws(firstCells(100));
    demin window(&draws);
    ModalAnswerer answerer;
    answerer.type(QStringLiteral("100"));
    QVERIFY(window.Form_Load());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(cover(window, 224), Qt::LeftButton);

    // On later rounds "Annuler" asks whether to quit; "Non" brings the count back.
    answerer.press(QStringLiteral("Oui"));
    typeHostileEntries(answerer);
    answerer.press(QStringLiteral("Annuler"));
    answerer.press(QStringLiteral("Non"));
    answerer.type(QStringLiteral(" 045 "));
    window.findChild<QPushButton*>(QStringLiteral("cmdNouvellePartie"))->click();

    QCOMPARE(answerer.pending(), 0);
    QVERIFY2(answerer.unexpected.isEmpty(), qPrintable(answerer.unexpected.join('\n')));
    QCOMPARE(answerer.seen.size(), 1 + 1 + hostileEntries().size() + 3);
    QCOMPARE(window.duel().bombesRestantes(), 45);
    QCOMPARE(window.duel().board().mineCount(), 45);
    QCOMPARE(window.duel().board().coveredCount(), volcanelle::kCells);
    QCOMPARE(statusText(window), texts::minesLeftCaption(QStringLiteral("045")));

    QTest::mouseClick(cover(window, 44), Qt::LeftButton);
    QCOMPARE(caption(window, QStringLiteral("lblScore(2)")), texts::scoreCaption(1));
    QCOMPARE(statusText(window), texts::minesLeftCaption(44));
}

void tst_HostileEntries::pastedOverLongEntryIsCut()
{
    // A hundred thousand characters pasted at once: the box keeps the first 32 and answers at
    // once. Cut there, 30 zeros and "45" read as 45; whole, the entry would be refused.
    const QString zeros(30, u'0');
    FixedDraws draws(firstCells(100));
    demin window(&draws);
    ModalAnswerer answerer;
    answerer.paste(zeros + QStringLiteral("45") + QString(100'000, u'9'));
    QVERIFY(window.Form_Load());

    QCOMPARE(answerer.pending(), 0);
    QVERIFY(answerer.unexpected.isEmpty());
    QCOMPARE(window.duel().bombesRestantes(), 45);
    QCOMPARE(statusText(window), zeros + QStringLiteral("45 bombes restantes"));
}

QTEST_MAIN(tst_HostileEntries)
#include "test_hostileentries.moc"
