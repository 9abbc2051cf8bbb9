// SPDX-License-Identifier: GPL-3.0-or-later
// A round against the computer at pace 0, the human's side played with real clicks. The
// board: 30 mines on rows 12 and 13 (see twoMineRows).

#include "boxes.h"
#include "engine/texts.h"
#include "fixeddraws.h"
#include "modalanswerer.h"
#include "seats/computerplayer.h"
#include "startup/levelchoice.h"
#include "ui/application.h"
#include "window/announcer.h"
#include "window/demin.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

QString box(const texts::Message& message)
{
    return message.title + QLatin1Char('|') + message.text;
}

int points(demin& window, const char* label)
{
    // "Score : 12 points"
    return caption(window, QLatin1String(label)).section(QLatin1Char(' '), 2, 2).toInt();
}

} // namespace

class TestComputer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(); }

    // A pace that is not a sensible number of milliseconds falls back to 600 ms.
    void paceFromTheEnvironment()
    {
        const QList<QPair<QByteArray, int>> cases{
            {"0", 0}, {" 250 ", 250}, {"vite", 600}, {"-5", 600}, {"99999999999", 600}};
        for (const auto& [value, pace] : cases) {
            qputenv("VOLCANELLE_COMPUTER_PACE_MS", value);
            QCOMPARE(ComputerPlayer::paceFromEnvironment(), pace);
        }
        qunsetenv("VOLCANELLE_COMPUTER_PACE_MS");
        QCOMPARE(ComputerPlayer::paceFromEnvironment(), 600);
    }

    // At a pace of 200 ms the computer's turn lasts long enough to try to get in its way.
    void computerWaitsForItsTurnAndForBoxes()
    {
        qputenv("VOLCANELLE_COMPUTER_PACE_MS", "200");
        FixedDraws draws(twoMineRows());
        demin window(&draws, nullptr, demin::Contents::Now, Seats(Seat::Desk, Seat::Computer));
        ComputerPlayer computerSeat(window.control(), 2, Level::Moyen);
        {
            ModalAnswerer answerer;
            QVERIFY(startDuel(window, answerer, QStringLiteral("30")));
        }
        QVERIFY(showActive(window));

        // A blank cell: rows 0 to 11 open and the computer has the turn. A click from the
        // desk is not the human's to make now.
        clickCell(window, 0);
        const QStringList computersTurn = screen(window);
        QCOMPARE(caption(window, QStringLiteral("lblMain")),
                 texts::turnCaption(2, texts::Opponent::Computer));
        clickCell(window, 180);
        QCOMPARE(screen(window), computersTurn);

        // Nor does the computer click while a box waits for the players, although its beat
        // comes round in the box's own event loop. The box is closed in the callback,
        // whatever it finds, so that exec() returns.
        QStringList underTheBox;
        QTimer::singleShot(700, &window, [&] {
            underTheBox = screen(window);
            if (QWidget* open = QApplication::activeModalWidget())
                for (QAbstractButton* button : open->findChildren<QAbstractButton*>())
                    if (button->text() == QStringLiteral("Non"))
                        button->click();
        });
        window.cmdNouvellePartie_Click();
        QCOMPARE(underTheBox, computersTurn);

        // Once the box is gone, the computer takes the mines that row 11 pins.
        QTRY_COMPARE(caption(window, QStringLiteral("lblScore(2)")), texts::scoreCaption(2));
        QVERIFY(cover(window, 180)->isHidden() || cover(window, 181)->isHidden());
    }

    void wholeRoundAgainstTheComputer()
    {
        qputenv("VOLCANELLE_COMPUTER_PACE_MS", "0");
        FixedDraws draws(twoMineRows());
        demin window(&draws, nullptr, demin::Contents::Now, Seats(Seat::Desk, Seat::Computer));
        ComputerPlayer computerSeat(window.control(), 2, Level::Moyen);
        ModalAnswerer answerer;
        QVERIFY(startDuel(window, answerer, QStringLiteral("30")));
        QVERIFY(showActive(window));
        answerer.seen.clear();
        QCOMPARE(window.windowTitle(), QStringLiteral("Volcanelle — contre l'ordinateur"));
        QCOMPARE(caption(window, QStringLiteral("lblMain")), texts::turnCaption(1));

        clickCell(window, 0);
        // The numbers of row 11 pin every mine of row 12: the computer takes them all, then
        // guesses in rows 13 and 14. The human answers by clicking the first cover left.
        answerer.press(QStringLiteral("OK"));
        answerer.press(QStringLiteral("OK"));
        for (int turn = 0; turn < 60 && window.duel().roundInPlay(); ++turn) {
            QTRY_VERIFY(window.duel().joueur() == 1 || !window.duel().roundInPlay());
            if (!window.duel().roundInPlay())
                break;
            // The keyboard stays on the board across the computer's moves.
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus && focus->isVisible());
            int first = 0;
            while (cover(window, first)->isHidden())
                ++first;
            clickCell(window, first);
        }
        QVERIFY(!window.duel().roundInPlay());
        for (int index = 180; index < 195; ++index)
            QVERIFY(cover(window, index)->isHidden());

        const int human = points(window, "lblScore(1)");
        const int computer = points(window, "lblScore(2)");
        QCOMPARE(human + computer, 30);
        QVERIFY2(computer >= 15, qPrintable(QString::number(computer)));
        const int winner = human > computer ? 1 : 2;
        QTRY_COMPARE(answerer.seen,
                     QStringList({box(texts::roundFinished()),
                                  box(texts::roundWonBy(winner, texts::Opponent::Computer))}));
        QCOMPARE(caption(window, QStringLiteral("Panel3")), texts::minesLeftCaption(0));
        QCOMPARE(caption(window, QStringLiteral("lblPartie%1").arg(winner)),
                 QStringLiteral("Partie gagnée : 1"));
        // What a screen reader is told names the computer as well.
        int stillCovered = 0;
        while (stillCovered < kCells - 1 && cover(window, stillCovered)->isHidden())
            ++stillCovered;
        QTest::keyClick(cover(window, stillCovered), Qt::Key_S);
        const auto* announcer = window.findChild<Announcer*>();
        QVERIFY(announcer);
        QVERIFY2(
            announcer->text().contains(QStringLiteral("L'ordinateur, %1 points").arg(computer)),
            qPrintable(announcer->text()));

        // The round is over: the computer stays still whoever has the turn, and a click from
        // the desk only tells that the round is over.
        QTest::qWait(100);
        QCOMPARE(answerer.seen.size(), 2);
        answerer.press(QStringLiteral("OK"));
        clickCell(window, 224);
        QCOMPARE(answerer.seen.last(), box(texts::roundOver()));

        // A new round: the side that did not find the last mine starts, here the computer,
        // which must take up its turn once the players have answered the boxes.
        QCOMPARE(window.duel().joueur(), 2);
        answerer.press(QStringLiteral("Oui"));
        answerer.type(QStringLiteral("30"));
        QTest::mouseClick(window.findChild<QAbstractButton*>(QStringLiteral("cmdNouvellePartie")),
                          Qt::LeftButton);
        QCOMPARE(caption(window, QStringLiteral("Panel3")), texts::minesLeftCaption(30));
        QTRY_COMPARE(window.duel().joueur(), 1);
        QVERIFY(window.duel().board().coveredCount() < kCells);
        QVERIFY2(answerer.unexpected.isEmpty(), qPrintable(answerer.unexpected.join('\n')));
    }

    // The panel of player 2 is the computer's; the two-player window keeps its captions.
    void panelsNameTheComputer()
    {
        demin computerWindow(nullptr, nullptr, demin::Contents::Now,
                             Seats(Seat::Desk, Seat::Computer));
        demin twoPlayers;
        const auto title = [](demin& window, const char* frame) {
            auto* box = window.findChild<QGroupBox*>(QLatin1String(frame));
            return box ? box->title() : QString();
        };
        QCOMPARE(title(computerWindow, "frameJoueur(0)"), QStringLiteral("Joueur 1 :"));
        QCOMPARE(title(computerWindow, "frameJoueur(1)"), QStringLiteral("L'ordinateur :"));
        QCOMPARE(title(twoPlayers, "frameJoueur(1)"), QStringLiteral("Joueur 2 :"));
    }

    // The level box: one button per level, the one offered pressed by Enter; closed, it gives
    // nothing.
    void levelBox()
    {
        QStringList buttons;
        QString preferred;
        // Records the box's buttons, then presses Enter; closes the box whatever happens, so
        // that exec() returns.
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, [&] {
            QWidget* open = QApplication::activeModalWidget();
            if (!open)
                return;
            poll.stop();
            for (QPushButton* button : open->findChildren<QPushButton*>()) {
                buttons << button->text();
                if (button->isDefault())
                    preferred = button->text();
            }
            QTest::keyClick(open, Qt::Key_Return);
            if (open == QApplication::activeModalWidget() && open->isVisible())
                closeAnyway(open);
        });
        poll.start();
        QCOMPARE(askLevel(nullptr, Level::Difficile), std::optional<Level>(Level::Difficile));
        QCOMPARE(buttons, QStringList({QStringLiteral("Facile"), QStringLiteral("Moyen"),
                                       QStringLiteral("Difficile")}));
        QCOMPARE(preferred, QStringLiteral("Difficile"));

        ModalAnswerer answerer;
        answerer.press(QStringLiteral("Facile"));
        QCOMPARE(askLevel(nullptr, Level::Moyen), std::optional<Level>(Level::Facile));
        answerer.escape();
        QCOMPARE(askLevel(nullptr, Level::Moyen), std::nullopt);
        const QString asked = QStringLiteral("Jouer contre l'ordinateur|Choisissez le niveau de "
                                             "l'ordinateur :");
        QCOMPARE(answerer.seen, QStringList({asked, asked}));
        QVERIFY(answerer.unexpected.isEmpty());
    }

    // The level chosen last, run after run: moyen at first; a level given or chosen is kept;
    // a closed box keeps nothing; what is not a level is set aside.
    void levelRememberedBetweenRuns()
    {
        QTemporaryDir home;
        QSettings settings(home.filePath(QStringLiteral("volcanelle.conf")), QSettings::IniFormat);
        LevelMemory memory(settings);
        Level offered = Level::Facile;
        std::optional<Level> answer;
        const auto ask = [&](Level last) {
            offered = last;
            return answer;
        };
        QCOMPARE(computerLevel(std::nullopt, false, memory, ask), Level::Moyen);
        QCOMPARE(computerLevel(Level::Difficile, false, memory, ask), Level::Difficile);
        QCOMPARE(computerLevel(std::nullopt, false, memory, ask), Level::Difficile);
        answer = Level::Facile;
        QCOMPARE(computerLevel(std::nullopt, true, memory, ask), Level::Facile);
        QCOMPARE(offered, Level::Difficile);
        answer = std::nullopt;
        QCOMPARE(computerLevel(std::nullopt, true, memory, ask), std::nullopt);
        QCOMPARE(offered, Level::Facile);
        QSettings again(home.filePath(QStringLiteral("volcanelle.conf")), QSettings::IniFormat);
        QCOMPARE(LevelMemory(again).last(), Level::Facile);

        settings.setValue(QStringLiteral("ordinateur/niveau"), QStringLiteral("expert"));
        QCOMPARE(computerLevel(std::nullopt, false, memory, ask), Level::Moyen);
    }
};

QTEST_MAIN(TestComputer)
#include "test_computer.moc"
