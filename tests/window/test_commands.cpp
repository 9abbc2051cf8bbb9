// SPDX-License-Identifier: GPL-3.0-or-later
// The window's commands "Nouvelle manche" and "Quitter", from their buttons, their menu
// entries and Ctrl+N, with the real question boxes answered either way.

#include "boxwatch.h"
#include "engine/texts.h"
#include "fixeddraws.h"
#include "modalanswerer.h"
#include "ui/application.h"
#include "window/demin.h"
#include "window/frmabout.h"
#include "windowprobe.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace volcanelle;
using namespace volcanelle::testing;

namespace {

QString box(const texts::Message& message)
{
    return message.title + QLatin1Char('|') + message.text;
}

const QString kQuestionLook = QStringLiteral("icon=%1 buttons=Non,Oui default=Non escape=Non")
                                  .arg(static_cast<int>(QMessageBox::Question));

// Runs a command the way the players can: its button, its menu entry or its shortcut.
void run(demin& window, const QString& route, const char* button, const char* action)
{
    if (route == QLatin1String("button"))
        QTest::mouseClick(window.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    else if (route == QLatin1String("menu"))
        window.findChild<QAction*>(QLatin1String(action))->trigger();
    else if (route == QLatin1String("menu by mouse")) {
        // Open "&Partie" from the bar, then click the entry in its drop-down.
        QMenuBar* bar = window.menuBar();
        QMenu* partie = window.findChild<QMenu*>(QStringLiteral("Menu"));
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(partie->menuAction()).center());
        QVERIFY(QTest::qWaitForWindowExposed(partie));
        QAction* entry = window.findChild<QAction*>(QLatin1String(action));
        QTest::mouseClick(partie, Qt::LeftButton, {}, partie->actionGeometry(entry).center());
    } else {
        // Offscreen, nothing gives the window back its activation once a box has closed.
        QVERIFY(showActive(window));
        QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    }
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareApplication(); }

    // Every test starts in the middle of the second round: player 1 won the first, player 2
    // has the turn and one point, 29 mines are still hidden.
    void init()
    {
        draws_ = std::make_unique<FixedDraws>(twoMineRows());
        window_ = std::make_unique<demin>(draws_.get());
        answerer_ = std::make_unique<ModalAnswerer>();
        QVERIFY(startDuel(*window_, *answerer_, QStringLiteral("30")));
        QVERIFY(showActive(*window_));
        letWin(*window_, *answerer_, 1);
        nextRound();
        clickCell(*window_, 180);
        QCOMPARE(window_->duel().joueur(), 2);
        QCOMPARE(window_->duel().score(2), 1);
        QCOMPARE(window_->duel().partiesGagnees(1), 1);
        QVERIFY(answerer_->unexpected.isEmpty());
        answerer_->seen.clear();
    }

    void cleanup()
    {
        QVERIFY2(answerer_->unexpected.isEmpty(), qPrintable(answerer_->unexpected.join('\n')));
        answerer_.reset();
        window_.reset();
        draws_.reset();
    }

    void newRoundDeclinedChangesNothing_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<bool>("escape");
        for (const char* route : {"button", "menu", "menu by mouse", "Ctrl+N"}) {
            QTest::addRow("%s, Non", route) << QString::fromLatin1(route) << false;
            QTest::addRow("%s, Escape", route) << QString::fromLatin1(route) << true;
        }
    }

    void newRoundDeclinedChangesNothing()
    {
        QFETCH(QString, route);
        QFETCH(bool, escape);
        const QStringList before = screen(*window_);
        BoxWatch watch(&BoxWatch::messageBoxLook);
        if (escape)
            answerer_->escape();
        else
            answerer_->press(QStringLiteral("Non"));

        run(*window_, route, "cmdNouvellePartie", "nouvPartie");

        QCOMPARE(answerer_->seen, QStringList{box(texts::askNewRound())});
        QCOMPARE(watch.notes, QStringList{kQuestionLook});
        QCOMPARE(screen(*window_), before);
    }

    void newRoundAcceptedKeepsTurnAndRoundsWon_data()
    {
        QTest::addColumn<QString>("route");
        for (const char* route : {"button", "menu", "menu by mouse", "Ctrl+N"})
            QTest::newRow(route) << QString::fromLatin1(route);
    }

    void newRoundAcceptedKeepsTurnAndRoundsWon()
    {
        QFETCH(QString, route);
        demin& window = *window_;
        // While the count is asked, the board is already covered but the old round's count
        // and points are still shown.
        BoxWatch watch([&window](QDialog*) {
            return QStringLiteral("covers=%1 %2 %3")
                .arg(coversOn(window))
                .arg(caption(window, QStringLiteral("Panel3")),
                     caption(window, QStringLiteral("lblScore(2)")));
        });
        answerer_->press(QStringLiteral("Oui"));
        answerer_->type(QStringLiteral("30"));

        run(window, route, "cmdNouvellePartie", "nouvPartie");

        QCOMPARE(answerer_->seen, QStringList({box(texts::askNewRound()),
                                               texts::mineCountTitle() + QLatin1Char('|') +
                                                   texts::mineCountPrompt()}));
        QCOMPARE(watch.notes.value(1),
                 QStringLiteral("covers=%1 %2 %3")
                     .arg(kCells)
                     .arg(texts::minesLeftCaption(29), texts::scoreCaption(1)));
        QCOMPARE(coversOn(window), kCells);
        QCOMPARE(caption(window, QStringLiteral("lblScore(1)")), texts::scoreCaption(0));
        QCOMPARE(caption(window, QStringLiteral("lblScore(2)")), texts::scoreCaption(0));
        QCOMPARE(caption(window, QStringLiteral("Panel3")), texts::minesLeftCaption(30));
        QCOMPARE(caption(window, QStringLiteral("lblMain")), texts::turnCaption(2));
        QCOMPARE(caption(window, QStringLiteral("lblPartie1")), texts::roundsWonCaption(1));
        QCOMPARE(caption(window, QStringLiteral("lblPartie2")), texts::roundsWonCaption(0));
        QCOMPARE(window.duel().joueur(), 2);
        QVERIFY(window.duel().roundInPlay());
    }

    void laterCountsAskWhetherToQuit()
    {
        // Only the very first count ends the game quietly; later on "Annuler" or Escape asks
        // "Quitter ?", and "Non" brings the count back until one is given.
        answerer_->press(QStringLiteral("Oui"));
        answerer_->press(QStringLiteral("Annuler"));
        answerer_->press(QStringLiteral("Non"));
        answerer_->escape();
        answerer_->press(QStringLiteral("Non"));
        answerer_->type(QStringLiteral("30"));

        window_->cmdNouvellePartie_Click();

        const QString count = texts::mineCountTitle() + QLatin1Char('|') + texts::mineCountPrompt();
        const QString quit = box(texts::askQuit());
        QCOMPARE(answerer_->seen,
                 QStringList({box(texts::askNewRound()), count, quit, count, quit, count}));
        QCOMPARE(caption(*window_, QStringLiteral("Panel3")), texts::minesLeftCaption(30));
        QCOMPARE(coversOn(*window_), kCells);
        QVERIFY(window_->isVisible());
    }

    void laterCountCancelledThenQuit()
    {
        QSignalSpy quit(window_.get(), &demin::quitRequested);
        answerer_->press(QStringLiteral("Oui"));
        answerer_->escape();
        answerer_->press(QStringLiteral("Oui"));
        answerer_->press(QStringLiteral("OK"));

        QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("cmdNouvellePartie")),
                          Qt::LeftButton);

        QCOMPARE(answerer_->seen.mid(2),
                 QStringList({box(texts::askQuit()),
                              QStringLiteral("Bravo joueur 1 !|Le joueur 1 a gagné le jeu.")}));
        QCOMPARE(quit.count(), 1);
        answerer_->seen.clear();
    }

    void quitDeclinedChangesNothing_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("button") << QStringLiteral("button");
        QTest::newRow("menu") << QStringLiteral("menu");
        QTest::newRow("menu by mouse") << QStringLiteral("menu by mouse");
    }

    void quitDeclinedChangesNothing()
    {
        QFETCH(QString, route);
        QSignalSpy quit(window_.get(), &demin::quitRequested);
        window_->Command2_Click();
        const QStringList before = screen(*window_);
        BoxWatch watch(&BoxWatch::messageBoxLook);
        answerer_->press(QStringLiteral("Non"));

        run(*window_, route, "Command1", "quitte");

        QCOMPARE(answerer_->seen, QStringList{box(texts::askQuit())});
        QCOMPARE(watch.notes, QStringList{kQuestionLook});
        QCOMPARE(screen(*window_), before);
        QCOMPARE(quit.count(), 0);
        settle();
        QVERIFY(window_->aboutWindow());
        QVERIFY(window_->aboutWindow()->isVisible());
    }

    void quitNamesTheWinnerOnRoundsWon_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QList<int>>("winners"); // of the rounds after the first
        QTest::addColumn<int>("leader");         // in points, in the round in play
        QTest::addColumn<QString>("verdict");
        for (const char* route : {"button", "menu", "menu by mouse"}) {
            const QString how = QString::fromLatin1(route);
            QTest::addRow("%s, 1-1", route) << how << QList<int>{2} << 1 << box(texts::duelDrawn());
            QTest::addRow("%s, 2-1", route)
                << how << QList<int>{2, 1} << 2 << box(texts::duelWonBy(1));
            QTest::addRow("%s, 1-2", route)
                << how << QList<int>{2, 2} << 1 << box(texts::duelWonBy(2));
        }
    }

    void quitNamesTheWinnerOnRoundsWon()
    {
        QFETCH(QString, route);
        QFETCH(QList<int>, winners);
        QFETCH(int, leader);
        QFETCH(QString, verdict);
        demin& window = *window_;
        // The round in play from init() is played out, and the rounds after it too.
        for (const int winner : winners) {
            letWin(window, *answerer_, winner);
            nextRound();
        }
        // Points in the round in play must not weigh: give them to the side that is behind.
        if (window.duel().joueur() != leader)
            window.duel().cmdCase_Click(kNumberedBelowMines);
        for (const int mine : {195, 196, 197})
            window.duel().cmdCase_Click(mine);
        QVERIFY(window.duel().score(leader) >= 3);
        QVERIFY(window.duel().roundInPlay());
        answerer_->seen.clear();

        window.Command2_Click();
        QPointer<frmAbout> about = window.aboutWindow();
        QVERIFY(about);
        QSignalSpy quit(&window, &demin::quitRequested);
        BoxWatch watch([&quit](QDialog*) { return QStringLiteral("quit=%1").arg(quit.count()); });
        answerer_->press(QStringLiteral("Oui"));
        answerer_->press(QStringLiteral("OK"));

        run(window, route, "Command1", "quitte");

        QCOMPARE(answerer_->seen, QStringList({box(texts::askQuit()), verdict}));
        QCOMPARE(watch.notes, QStringList(2, QStringLiteral("quit=0")));
        QCOMPARE(quit.count(), 1);
        settle();
        QVERIFY(!about);
    }

    void quitWithNoRoundWonIsADraw()
    {
        // A fresh duel: nobody has won a round, player 1 leads the round in play.
        window_ = std::make_unique<demin>(draws_.get());
        demin& window = *window_;
        ModalAnswerer& answerer = *answerer_;
        QVERIFY(startDuel(window, answerer, QStringLiteral("30")));
        QVERIFY(showActive(window));
        clickCell(window, 180);
        QSignalSpy quit(&window, &demin::quitRequested);
        answerer.seen.clear();
        answerer.press(QStringLiteral("Oui"));
        answerer.press(QStringLiteral("OK"));
        // Each box wide enough for its title in a bold title-bar face, with room beside it
        // for the window manager's buttons, though its text is much shorter.
        BoxWatch watch([](QDialog* box) {
            QFont bold = box->font();
            bold.setBold(true);
            const int title = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
            return box->width() >= title + 100
                       ? QStringLiteral("fits")
                       : QStringLiteral("%1 < %2 + 100").arg(box->width()).arg(title);
        });

        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QCOMPARE(watch.notes, QStringList(2, QStringLiteral("fits")));

        QCOMPARE(answerer.seen, QStringList({box(texts::askQuit()), box(texts::duelDrawn())}));
        QCOMPARE(box(texts::duelDrawn()),
                 QStringLiteral("Recommencez le duel un autre fois !|Le jeu est serré, "
                                "personne n'a gagné."));
        QCOMPARE(quit.count(), 1);
    }

private:
    void nextRound()
    {
        answerer_->press(QStringLiteral("Oui"));
        answerer_->type(QStringLiteral("30"));
        window_->duel().askNewRound();
    }

    std::unique_ptr<FixedDraws> draws_;
    std::unique_ptr<demin> window_;
    std::unique_ptr<ModalAnswerer> answerer_;
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
