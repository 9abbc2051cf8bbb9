// SPDX-License-Identifier: GPL-3.0-or-later
#include "netplay/onlinetexts.h"

namespace volcanelle::texts {

QString onlineTitle(const QString& room)
{
    return QStringLiteral("Volcanelle — duel en ligne, salle ") + room;
}

QString onlineBoxTitle()
{
    return QStringLiteral("Duel en ligne");
}

QString onlineEntered(const QString& room, int side)
{
    return QStringLiteral("Volcanelle : duel en ligne, salle %1, joueur %2\n").arg(room).arg(side);
}

QString invitation(const QString& room, const QString& link)
{
    return QStringLiteral("La salle %1 est ouverte. Donnez ce code à votre adversaire, qui le "
                          "tape dans « Rejoindre une salle en ligne », ou ce lien, qu'il ouvre "
                          "dans un navigateur :\n\n%2")
        .arg(room, link);
}

QString copyLink()
{
    return QStringLiteral("Copier le lien");
}

QString serverPrompt()
{
    return QStringLiteral("Entrez l'adresse du serveur de duels (nom ou adresse IP, puis :port "
                          "si besoin, ou une adresse ws:// ou wss://) : ");
}

QString badServer(const QString& typed)
{
    return QStringLiteral("Adresse de serveur invalide : « %1 ». Écrivez un nom ou une adresse "
                          "IP, suivi au besoin de :port (par exemple jeu.example:49855), ou une "
                          "adresse ws:// ou wss://.")
        .arg(typed);
}

QString roomPrompt()
{
    return QStringLiteral("Entrez le code de la salle (huit caractères, par exemple "
                          "K7QM-3HXT) : ");
}

QString badRoom(const QString& typed)
{
    return QStringLiteral("Code de salle invalide : « %1 ». Il compte huit lettres ou chiffres "
                          "(sans 0, 1, I ni O), avec ou sans tiret.")
        .arg(typed);
}

QString serverUnreachable(const QString& address)
{
    return QStringLiteral("Impossible de joindre le serveur de duels %1.").arg(address);
}

QString noSuchRoom()
{
    return QStringLiteral("Aucune salle ouverte ne porte ce code.");
}

QString roomTaken()
{
    return QStringLiteral("Cette salle a déjà ses deux joueurs, ou le serveur n'ouvre plus de "
                          "salle pour le moment.");
}

QString tooManyTries()
{
    return QStringLiteral("Trop de codes de salle faux : le serveur refuse cette adresse pour "
                          "une minute.");
}

QString serverGarbled(const QString& address)
{
    return QStringLiteral("%1 a répondu, mais pas comme un serveur de duels.").arg(address);
}

QString opponentAway()
{
    return QStringLiteral("L'adversaire s'est déconnecté…");
}

QString onlineOption()
{
    return QStringLiteral("Jouer en ligne par un serveur de duels : créer une salle (joueur 1), "
                          "ou rejoindre celle de --room.");
}

QString serverOption()
{
    return QStringLiteral("Serveur de duels : nom ou adresse IP, :PORT si besoin (49855 par "
                          "défaut), ou adresse ws:// ou wss://. Sans lui, le dernier serveur "
                          "utilisé, ou il est demandé.");
}

QString roomOption()
{
    return QStringLiteral("Code de la salle à rejoindre (avec --online).");
}

QString roomAskOption()
{
    return QStringLiteral("Rejoindre une salle en ligne en demandant son code.");
}

QString onlineOnly(const QString& option)
{
    return QStringLiteral("%1 ne sert qu'avec --online.").arg(option);
}

} // namespace volcanelle::texts
