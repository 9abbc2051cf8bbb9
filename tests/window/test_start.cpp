// SPDX-License-Identifier: GPL-3.0-or-later
// The start of the duel: the mine count is asked before the window is first shown, refused
// entries bring the box back, and the accepted round is on screen when the window appears.

#include "boxwatch.h"
#include "engine/texts.h"
#include "fixeddraws.h"
#include "modalanswerer.h"
#include "ui/application.h"
#include "window/demin.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QInputDialog>
#include <QLabel>
#include <QTest>
#include <numeric>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

QString mineCountBox()
{
    return texts::mineCountTitle() + QLatin1Char('|') + texts::mineCountPrompt();
}

QImage entry(int number)
{
    return QPixmap(QStringLiteral(":/pictures/%1.jpg").arg(number)).toImage();
}

} // namespace

class TestStart : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(); }

    void countIsAskedUntilAcceptedBeforeTheWindowShows()
    {
        // Rows 12 to 14: 45 mines, one for each draw.
        std::vector<int> mines(45);
        std::iota(mines.begin(), mines.end(), 180);
        FixedDraws draws(mines);
        demin window(&draws);
        // What the players see as each box opens: the game window must not be on screen
        // yet, and each box must come empty.
        BoxWatch watch([&window](QDialog* box) {
            auto* input = qobject_cast<QInputDialog*>(box);
            return QStringLiteral("window shown=%1 entry=[%2]")
                .arg(window.isVisible())
                .arg(input ? input->textValue() : QStringLiteral("not an input box"));
        });
        ModalAnswerer answerer;
        answerer.type(QStringLiteral("29"));
        answerer.type(QStringLiteral("abc"));
        answerer.type(QStringLiteral("45"));

        QVERIFY(window.Form_Load());

        QCOMPARE(answerer.seen, QStringList(3, mineCountBox()));
        QVERIFY(answerer.unexpected.isEmpty());
        QCOMPARE(watch.notes, QStringList(3, QStringLiteral("window shown=0 entry=[]")));
        QVERIFY(!window.isVisible());

        QCOMPARE(caption(window, QStringLiteral("lblMain")), texts::turnCaption(1));
        QCOMPARE(caption(window, QStringLiteral("lblScore(1)")), texts::scoreCaption(0));
        QCOMPARE(caption(window, QStringLiteral("lblScore(2)")), texts::scoreCaption(0));
        QCOMPARE(caption(window, QStringLiteral("lblPartie1")), texts::roundsWonCaption(0));
        QCOMPARE(caption(window, QStringLiteral("lblPartie2")), texts::roundsWonCaption(0));
        QCOMPARE(caption(window, QStringLiteral("Panel3")), QStringLiteral("45 bombes restantes"));
        QCOMPARE(coversOn(window), kCells);
        QCOMPARE(window.duel().joueur(), 1);
        QCOMPARE(window.duel().bombesRestantes(), 45);
    }

    void picturesUnderTheCoversAreTheRound()
    {
        FixedDraws draws(twoMineRows());
        demin window(&draws);
        ModalAnswerer answerer;
        QVERIFY(startDuel(window, answerer, QStringLiteral("30")));
        QCOMPARE(caption(window, QStringLiteral("Panel3")), texts::minesLeftCaption(30));

        // Row 11 sits on a full row of mines: 2 at its ends, 3 elsewhere.
        const std::initializer_list<std::pair<int, int>> cells = {
            {0, 10}, {150, 10}, {165, 2}, {166, 3}, {179, 2}, {180, 9}, {209, 9}, {210, 2}};
        for (const auto& [index, number] : cells) {
            QLabel* label = picture(window, index);
            QVERIFY(label);
            QVERIFY2(
                label->pixmap().toImage() == entry(number),
                qPrintable(QStringLiteral("cell %1 should show entry %2").arg(index).arg(number)));
        }
    }

    void windowBuiltAfterTheFirstCountShowsTheSameRound()
    {
        // The program builds no widget of the window while the first box waits; once the
        // count is accepted the window must show all that a window built beforehand shows.
        FixedDraws earlyDraws(twoMineRows());
        FixedDraws lateDraws(twoMineRows());
        demin early(&earlyDraws);
        demin late(&lateDraws, nullptr, demin::Contents::WhenShown);
        BoxWatch watch([&late](QDialog*) {
            return QStringLiteral("widgets behind=%1").arg(late.findChildren<QWidget*>().size());
        });
        ModalAnswerer answerer;
        QVERIFY(startDuel(early, answerer, QStringLiteral("030")));
        QVERIFY(startDuel(late, answerer, QStringLiteral("030")));
        QCOMPARE(watch.notes.value(1), QStringLiteral("widgets behind=0"));

        QCOMPARE(screen(late), screen(early));
        QCOMPARE(caption(late, QStringLiteral("Panel3")), QStringLiteral("030 bombes restantes"));
        QCOMPARE(late.size(), early.size());
        for (int index = 0; index < kCells; ++index) {
            QVERIFY(picture(late, index));
            QCOMPARE(picture(late, index)->pixmap().toImage(),
                     picture(early, index)->pixmap().toImage());
            QCOMPARE(picture(late, index)->accessibleName(),
                     picture(early, index)->accessibleName());
        }
        QCOMPARE(late.focusWidget(), static_cast<QWidget*>(cover(late, 0)));
    }

    void windowShownBeforeAnyCountIsBuiltWhole()
    {
        demin early;
        demin late(nullptr, nullptr, demin::Contents::WhenShown);
        QVERIFY(showActive(late));
        QCOMPARE(screen(late), screen(early));
        QCOMPARE(late.size(), early.size());
    }

    void cancellingTheFirstCountEndsTheGame_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Annuler") << false;
        QTest::newRow("Escape") << true;
    }

    void cancellingTheFirstCountEndsTheGame()
    {
        QFETCH(bool, escape);
        FixedDraws draws(twoMineRows());
        demin window(&draws);
        ModalAnswerer answerer;
        if (escape)
            answerer.escape();
        else
            answerer.press(QStringLiteral("Annuler"));

        QVERIFY(!window.Form_Load());

        QCOMPARE(answerer.seen, QStringList{mineCountBox()});
        QVERIFY(answerer.unexpected.isEmpty());
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestStart)
#include "test_start.moc"
