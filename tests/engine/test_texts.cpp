// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/texts.h"

#include <QTest>

using namespace volcanelle;

// The one place where the French wording is written out in full: every other test builds
// its expectations from texts.h.
class TextsTest : public QObject {
    Q_OBJECT

private slots:
    void wording_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");

        QTest::newRow("turn 1") << texts::turnCaption(1) << "Le joueur n°1 a la main.";
        QTest::newRow("turn 2") << texts::turnCaption(2) << "Le joueur n°2 a la main.";
        const auto computer = texts::Opponent::Computer;
        QTest::newRow("turn 1, computer")
            << texts::turnCaption(1, computer) << "Le joueur n°1 a la main.";
        QTest::newRow("turn 2, computer")
            << texts::turnCaption(2, computer) << "L'ordinateur a la main.";
        QTest::newRow("frame 1") << texts::playerFrameCaption(1) << "Joueur 1 :";
        QTest::newRow("frame 2") << texts::playerFrameCaption(2) << "Joueur 2 :";
        QTest::newRow("frame 1, computer")
            << texts::playerFrameCaption(1, computer) << "Joueur 1 :";
        QTest::newRow("frame 2, computer")
            << texts::playerFrameCaption(2, computer) << "L'ordinateur :";
        QTest::newRow("score 0") << texts::scoreCaption(0) << "Score : 0 point";
        QTest::newRow("score 1") << texts::scoreCaption(1) << "Score : 1 point";
        QTest::newRow("score 2") << texts::scoreCaption(2) << "Score : 2 points";
        QTest::newRow("score 100") << texts::scoreCaption(100) << "Score : 100 points";
        QTest::newRow("rounds 0") << texts::roundsWonCaption(0) << "Partie gagnée : 0";
        QTest::newRow("rounds 1") << texts::roundsWonCaption(1) << "Partie gagnée : 1";
        QTest::newRow("rounds 2") << texts::roundsWonCaption(2) << "Parties gagnées : 2";
        QTest::newRow("mines 0") << texts::minesLeftCaption(0) << "0 bombe restante";
        QTest::newRow("mines 1") << texts::minesLeftCaption(1) << "1 bombe restante";
        QTest::newRow("mines 2") << texts::minesLeftCaption(2) << "2 bombes restantes";
        QTest::newRow("mines typed")
            << texts::minesLeftCaption(QStringLiteral("050")) << "050 bombes restantes";
        QTest::newRow("prompt") << texts::mineCountPrompt()
                                << "Entrez un nombre de mines entre 30 et 100 : ";
        QTest::newRow("prompt title") << texts::mineCountTitle() << "Saisie";

        const auto message = [](const char* name, const texts::Message& message, const char* text,
                                const char* title) {
            QTest::addRow("%s text", name) << message.text << QString::fromUtf8(text);
            QTest::addRow("%s title", name) << message.title << QString::fromUtf8(title);
        };
        message("round over", texts::roundOver(),
                "Le jeu est fini ! Vous pouvez cliquer sur 'Nouvelle manche' pour redémarrer "
                "une nouvelle manche.",
                "Fin de la manche");
        message("round finished", texts::roundFinished(), "La partie est terminée",
                "On pose la souris");
        message("round won 1", texts::roundWonBy(1), "Le joueur 1 a gagné!",
                "Les doigts dans le nez ^^");
        message("round won 2", texts::roundWonBy(2), "Le joueur 2 a gagné !", "Poil au pied ^^");
        message("round won 1, computer", texts::roundWonBy(1, computer), "Le joueur 1 a gagné!",
                "Les doigts dans le nez ^^");
        message("round won 2, computer", texts::roundWonBy(2, computer), "L'ordinateur a gagné !",
                "Poil au pied ^^");
        message("round drawn", texts::roundDrawn(), "Match nul !", "Vous êtes nul !!!");
        message("ask new round", texts::askNewRound(),
                "Voulez-vous vraiment commencer une nouvelle manche ?", "Nouvelle manche ?");
        message("ask quit", texts::askQuit(), "Voulez-vous vraiment quitter ?", "Quitter ?");
        message("duel won 1", texts::duelWonBy(1), "Le joueur 1 a gagné le jeu.",
                "Bravo joueur 1 !");
        message("duel won 2", texts::duelWonBy(2), "Le joueur 2 a gagné le jeu.",
                "Bravo joueur 2 !");
        message("duel won 1, computer", texts::duelVerdict(2, 1, computer),
                "Le joueur 1 a gagné le jeu.", "Bravo joueur 1 !");
        message("duel won 2, computer", texts::duelVerdict(1, 2, computer),
                "L'ordinateur a gagné le jeu.", "Bravo l'ordinateur !");
        message("duel drawn", texts::duelDrawn(), "Le jeu est serré, personne n'a gagné.",
                "Recommencez le duel un autre fois !");
    }

    void wording()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }
};

QTEST_APPLESS_MAIN(TextsTest)
#include "test_texts.moc"
