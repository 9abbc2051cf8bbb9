// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/texts.h"

#include "engine/computerlevel.h"
#include "version.h"

namespace volcanelle::texts {

QString versionNumber()
{
    return QStringLiteral("%1.%2").arg(version::kMajor).arg(version::kMinor, 2, 10, QLatin1Char('0'));
}

QString versionCaption()
{
    return QStringLiteral("Version %1.%2 RC 1").arg(version::kMajor).arg(version::kMinor);
}

QString programDescription()
{
    return QStringLiteral("Démineur en duel : deux joueurs cliquent à tour de rôle et "
                          "chassent les mines.");
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

QString levelTitle()
{
    return QStringLiteral("Jouer contre l'ordinateur");
}

QString levelPrompt()
{
    return QStringLiteral("Choisissez le niveau de l'ordinateur :");
}

QString levelButton(Level level)
{
    const QString name = levelName(level);
    return name.left(1).toUpper() + name.mid(1);
}

QString unknownRememberedLevel(const QString& kept)
{
    return QStringLiteral("volcanelle : le niveau mémorisé « %1 » est inconnu ; l'ordinateur "
                          "joue au niveau %2.")
        .arg(kept, levelName(kFirstLevel));
}

QString levelNotRemembered(const QString& where)
{
    return QStringLiteral("volcanelle : impossible de mémoriser le niveau dans « %1 ».").arg(where);
}

QString hostTitle(const QString& code)
{
    return joinTitle() + QStringLiteral(", code ") + code;
}

QString joinTitle()
{
    return QStringLiteral("Volcanelle — duel en réseau");
}

QString waitingForOpponent()
{
    return QStringLiteral("En attente de l'adversaire…");
}

QString hostListening(const QString& code, int port)
{
    return QStringLiteral("Volcanelle : duel en réseau, code %1, port %2\n").arg(code).arg(port);
}

QString countBeingChosen()
{
    return QStringLiteral("L'adversaire choisit…");
}

QString networkTitle()
{
    return QStringLiteral("Duel en réseau");
}

QString codePrompt()
{
    return QStringLiteral("Entrez le code à six chiffres donné par l'hôte : ");
}

QString addressPrompt()
{
    return QStringLiteral("Entrez l'adresse de l'hôte (nom, IPv4 ou [IPv6], puis :port "
                          "si besoin) : ");
}

QString badCode()
{
    return QStringLiteral("Le code doit comporter exactement six chiffres.");
}

QString badAddress(const QString& typed)
{
    return QStringLiteral("Adresse invalide : « %1 ». Écrivez un nom ou une adresse IP, "
                          "suivi au besoin de :port (par exemple [::1]:50000).")
        .arg(typed);
}

QString cannotListen(int port, const QString& why)
{
    return QStringLiteral("Impossible d'attendre un adversaire sur le port %1 : %2")
        .arg(port)
        .arg(why);
}

QString networkProgramMissing(const QString& path, const QString& why)
{
    return QStringLiteral("volcanelle : impossible de lancer le jeu en réseau « %1 » : %2.")
        .arg(path, why);
}

QString networkOptionsOnly()
{
    return QStringLiteral("volcanelle-network : ce programme sert seulement avec --host, --join "
                          "ou --join-ask ; lancez plutôt « volcanelle ».");
}

QString unreachable(const QString& address)
{
    return QStringLiteral("Impossible de joindre l'hôte %1 : il ne répond pas dans les 10 "
                          "secondes ou refuse la connexion.")
        .arg(address);
}

QString wrongCode()
{
    return QStringLiteral("Code erroné : l'hôte a refusé la connexion.");
}

QString hostBusy()
{
    return QStringLiteral("L'hôte joue déjà un duel avec un autre adversaire.");
}

QString lockedOut()
{
    return QStringLiteral("Trop de codes erronés : l'hôte refuse toute connexion pendant "
                          "une minute.");
}

QString otherVersion(int theirs, int ours)
{
    return QStringLiteral("L'autre programme parle une autre version du duel en réseau "
                          "(version %1, la nôtre : %2).")
        .arg(theirs)
        .arg(ours);
}

QString connectionLost()
{
    return QStringLiteral("La connexion avec l'adversaire est perdue. Le duel s'arrête.");
}

QString garbledMessage()
{
    return QStringLiteral("L'adversaire a envoyé un message invalide. Le duel s'arrête.");
}

QString flooding()
{
    return QStringLiteral("L'adversaire envoie trop de messages. Le duel s'arrête.");
}

QString garbledAnswer(const QString& address)
{
    return QStringLiteral("L'hôte %1 répond par un message illisible : ce n'est sans doute pas "
                          "un hôte de duel Volcanelle.")
        .arg(address);
}

QString opponentLeft()
{
    return QStringLiteral("L'adversaire a quitté le duel.");
}

} // namespace volcanelle::texts
