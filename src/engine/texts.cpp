// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/texts.h"

#include "version.h"

namespace volcanelle::texts {

QString versionNumber()
{
    return QStringLiteral("%1.%2")
        .arg(version::kMajor)
        .arg(version::kMinor, 2, 10, QLatin1Char('0'));
}

QString gameTitle()
{
    return QStringLiteral("Volcanelle");
}

QString computerWindowTitle()
{
    return QStringLiteral("Volcanelle — contre l'ordinateur");
}

QString mineCountPrompt()
{
    return QStringLiteral("Entrez un nombre de mines entre 30 et 100 : ");
}

QString mineCountTitle()
{
    return QStringLiteral("Saisie");
}

namespace {

bool isComputer(int joueur, Opponent opponent)
{
    return joueur == 2 && opponent == Opponent::Computer;
}

} // namespace

QString playerFrameCaption(int joueur, Opponent opponent)
{
    return isComputer(joueur, opponent) ? QStringLiteral("L'ordinateur :")
                                        : QStringLiteral("Joueur %1 :").arg(joueur);
}

QString turnCaption(int joueur, Opponent opponent)
{
    return isComputer(joueur, opponent) ? QStringLiteral("L'ordinateur a la main.")
                                        : QStringLiteral("Le joueur n°%1 a la main.").arg(joueur);
}

QString scoreCaption(int points)
{
    return points >= 2 ? QStringLiteral("Score : %1 points").arg(points)
                       : QStringLiteral("Score : %1 point").arg(points);
}

QString roundsWonCaption(int rounds)
{
    return rounds >= 2 ? QStringLiteral("Parties gagnées : %1").arg(rounds)
                       : QStringLiteral("Partie gagnée : %1").arg(rounds);
}

QString minesLeftCaption(int mines)
{
    // 1 and 0 both take the singular.
    return mines > 1 ? minesLeftCaption(QString::number(mines))
                     : QStringLiteral("%1 bombe restante").arg(mines);
}

QString minesLeftCaption(const QString& typed)
{
    return typed + QStringLiteral(" bombes restantes");
}

Message roundOver()
{
    return {QStringLiteral("Le jeu est fini ! Vous pouvez cliquer sur 'Nouvelle manche' pour "
                           "redémarrer une nouvelle manche."),
            QStringLiteral("Fin de la manche")};
}

Message roundFinished()
{
    return {QStringLiteral("La partie est terminée"), QStringLiteral("On pose la souris")};
}

Message roundWonBy(int joueur, Opponent opponent)
{
    // The two wordings differ by a blank before the exclamation mark; both are kept as is.
    if (joueur == 1)
        return {QStringLiteral("Le joueur 1 a gagné!"),
                QStringLiteral("Les doigts dans le nez ^^")};
    if (isComputer(joueur, opponent))
        return {QStringLiteral("L'ordinateur a gagné !"), QStringLiteral("Poil au pied ^^")};
    return {QStringLiteral("Le joueur 2 a gagné !"), QStringLiteral("Poil au pied ^^")};
}

Message roundDrawn()
{
    return {QStringLiteral("Match nul !"), QStringLiteral("Vous êtes nul !!!")};
}

Message askNewRound()
{
    return {QStringLiteral("Voulez-vous vraiment commencer une nouvelle manche ?"),
            QStringLiteral("Nouvelle manche ?")};
}

Message askQuit()
{
    return {QStringLiteral("Voulez-vous vraiment quitter ?"), QStringLiteral("Quitter ?")};
}

Message duelWonBy(int joueur, Opponent opponent)
{
    if (isComputer(joueur, opponent))
        return {QStringLiteral("L'ordinateur a gagné le jeu."),
                QStringLiteral("Bravo l'ordinateur !")};
    return {QStringLiteral("Le joueur %1 a gagné le jeu.").arg(joueur),
            QStringLiteral("Bravo joueur %1 !").arg(joueur)};
}

Message duelDrawn()
{
    return {QStringLiteral("Le jeu est serré, personne n'a gagné."),
            QStringLiteral("Recommencez le duel un autre fois !")};
}

Message duelVerdict(int won1, int won2, Opponent opponent)
{
    return won1 > won2 ? duelWonBy(1) : won1 < won2 ? duelWonBy(2, opponent) : duelDrawn();
}

QString countBeingChosen()
{
    return QStringLiteral("L'adversaire choisit…");
}

} // namespace volcanelle::texts
