// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/networktexts.h"

namespace volcanelle::texts {

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
    return QStringLiteral("volcanelle-network : ce programme sert seulement avec --host, --join, "
                          "--join-ask ou --online ; lancez plutôt « volcanelle ».");
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

QString connectionInterrupted()
{
    return QStringLiteral("Connexion interrompue, nouvelle tentative…");
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
