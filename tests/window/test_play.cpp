// SPDX-License-Identifier: GPL-3.0-or-later
// Whole rounds played with real clicks on the covers, the boxes answered as players would.
// The board: 30 mines on rows 12 and 13 (see twoMineRows), so rows 0 to 10 are one blank
// area, row 11 and row 14 are numbered, and row 14 stays covered unless clicked.

#include "boxwatch.h"
#include "engine/texts.h"
#include "fixeddraws.h"
#include "modalanswerer.h"
#include "ui/application.h"
#include "window/demin.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

QString box(const texts::Message& message)
{
    return message.title + QLatin1Char('|') + message.text;
}

QString label(demin& window, const char* name)
{
    return caption(window, QLatin1String(name));
}

} // namespace

class TestPlay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(); }

    void init()
    {
        draws_ = std::make_unique<FixedDraws>(twoMineRows());
        window_ = std::make_unique<demin>(draws_.get());
        answerer_ = std::make_unique<ModalAnswerer>();
        QVERIFY(startDuel(*window_, *answerer_, QStringLiteral("30")));
        QVERIFY(showActive(*window_));
        answerer_->seen.clear();
    }

    void cleanup()
    {
        QVERIFY2(answerer_->unexpected.isEmpty(), qPrintable(answerer_->unexpected.join('\n')));
        answerer_.reset();
        window_.reset();
        draws_.reset();
    }

    void roundPlayedToItsEnd()
    {
        demin& window = *window_;
        ModalAnswerer& answerer = *answerer_;

        // A numbered cell: its cover goes, the turn passes, nothing else opens.
        clickCell(window, kNumberedAboveMines);
        QVERIFY(cover(window, kNumberedAboveMines)->isHidden());
        QCOMPARE(label(window, "lblMain"), texts::turnCaption(2));
        QCOMPARE(coversOn(window), kCells - 1);

        // A blank cell: the turn passes and rows 0 to 11 open; no point, no mine counted.
        clickCell(window, 0);
        QCOMPARE(label(window, "lblMain"), texts::turnCaption(1));
        QCOMPARE(coversOn(window), 45);
        for (int index = 0; index < 180; ++index)
            QVERIFY2(cover(window, index)->isHidden(), qPrintable(QString::number(index)));
        QCOMPARE(label(window, "lblScore(1)"), texts::scoreCaption(0));
        QCOMPARE(label(window, "lblScore(2)"), texts::scoreCaption(0));
        QCOMPARE(label(window, "Panel3"), texts::minesLeftCaption(30));

        // A click on the picture of an uncovered cell does nothing.
        const QStringList before = screen(window);
        clickAt(window, inClient(window, picture(window, 20)).center());
        QCOMPARE(screen(window), before);

        // Mines score and keep the turn.
        clickCell(window, 180);
        QCOMPARE(label(window, "lblScore(1)"), texts::scoreCaption(1));
        QCOMPARE(label(window, "Panel3"), texts::minesLeftCaption(29));
        QCOMPARE(label(window, "lblMain"), texts::turnCaption(1));
        clickCell(window, 181);
        QCOMPARE(label(window, "lblScore(1)"), texts::scoreCaption(2));
        QCOMPARE(label(window, "lblMain"), texts::turnCaption(1));

        // Player 1 misses, player 2 finds the 28 other mines.
        clickCell(window, kNumberedBelowMines);
        QCOMPARE(label(window, "lblMain"), texts::turnCaption(2));
        for (int index = 182; index < 209; ++index)
            clickCell(window, index);
        QCOMPARE(label(window, "Panel3"), texts::minesLeftCaption(1));
        QCOMPARE(label(window, "Panel3"), QStringLiteral("1 bombe restante"));
        QVERIFY(answerer.seen.isEmpty());

        BoxWatch watch([&window](QDialog*) {
            return QStringList({label(window, "Panel3"), label(window, "lblScore(2)"),
                                label(window, "lblPartie2"), label(window, "lblMain")})
                .join(QLatin1Char('/'));
        });
        answerer.press(QStringLiteral("OK"));
        answerer.press(QStringLiteral("OK"));
        clickCell(window, 209);

        QCOMPARE(answerer.seen,
                 QStringList({box(texts::roundFinished()), box(texts::roundWonBy(2))}));
        // The round is counted only once its winner has been told.
        const QString underBoxes = QStringList({texts::minesLeftCaption(0), texts::scoreCaption(28),
                                                texts::roundsWonCaption(0), texts::turnCaption(2)})
                                       .join(QLatin1Char('/'));
        QCOMPARE(watch.notes, QStringList(2, underBoxes));
        QCOMPARE(label(window, "lblPartie2"), QStringLiteral("Partie gagnée : 1"));
        QCOMPARE(label(window, "lblPartie1"), texts::roundsWonCaption(0));
        QCOMPARE(label(window, "Panel3"), QStringLiteral("0 bombe restante"));
        // The turn passes although the last click found a mine.
        QCOMPARE(label(window, "lblMain"), texts::turnCaption(1));
        QCOMPARE(coversOn(window), 14);

        // Once the round is over a click only says so, and the cover stays.
        const QStringList over = screen(window);
        answerer.seen.clear();
        answerer.press(QStringLiteral("OK"));
        clickCell(window, 211);
        QCOMPARE(answerer.seen, QStringList{box(texts::roundOver())});
        QVERIFY(!cover(window, 211)->isHidden());
        QCOMPARE(screen(window), over);
    }

    void drawnRoundCountsForNobody()
    {
        demin& window = *window_;
        ModalAnswerer& answerer = *answerer_;
        for (int index = 180; index < 195; ++index)
            clickCell(window, index);
        clickCell(window, kNumberedBelowMines);
        for (int index = 195; index < 209; ++index)
            clickCell(window, index);
        QCOMPARE(label(window, "lblScore(1)"), texts::scoreCaption(15));
        QCOMPARE(label(window, "lblScore(2)"), texts::scoreCaption(14));

        BoxWatch watch(&BoxWatch::messageBoxLook);
        answerer.press(QStringLiteral("OK"));
        answerer.press(QStringLiteral("OK"));
        clickCell(window, 209);

        QCOMPARE(answerer.seen,
                 QStringList({box(texts::roundFinished()), box(texts::roundDrawn())}));
        // Announcements: a single OK button and no icon.
        QCOMPARE(watch.notes.size(), 2);
        for (const QString& look : watch.notes)
            QVERIFY2(look.startsWith(QStringLiteral("icon=0 buttons=OK ")), qPrintable(look));
        QCOMPARE(label(window, "lblPartie1"), texts::roundsWonCaption(0));
        QCOMPARE(label(window, "lblPartie2"), texts::roundsWonCaption(0));
        QCOMPARE(window.duel().partiesGagnees(1), 0);
        QCOMPARE(window.duel().partiesGagnees(2), 0);
        QCOMPARE(label(window, "lblMain"), texts::turnCaption(1));
    }

    void clicksOnTheGridReachTheCoverOnTop()
    {
        demin& window = *window_;
        // Cells overlap by one pixel, and the grid line lies on that pixel: a click there
        // goes through the line to the later cell's cover, which lies on top.
        clickAt(window, QPoint(192, 300));
        QVERIFY(cover(window, 166)->isHidden());
        QVERIFY(!cover(window, 165)->isHidden());
        QCOMPARE(label(window, "lblMain"), texts::turnCaption(2));

        clickAt(window, QPoint(200, 312));
        QVERIFY(cover(window, 181)->isHidden());
        QCOMPARE(label(window, "lblScore(2)"), texts::scoreCaption(1));
        QCOMPARE(coversOn(window), kCells - 2);
    }

private:
    std::unique_ptr<FixedDraws> draws_;
    std::unique_ptr<demin> window_;
    std::unique_ptr<ModalAnswerer> answerer_;
};

QTEST_MAIN(TestPlay)
#include "test_play.moc"
