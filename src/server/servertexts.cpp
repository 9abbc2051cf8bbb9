// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/servertexts.h"

namespace volcanelle::server::texts {

QString serverStopping()
{
    return QStringLiteral("Le serveur s'arrête.");
}

QString roomExpired()
{
    return QStringLiteral("Personne n'a rejoint la salle en dix minutes : elle est fermée.");
}

QString pageNotFound()
{
    return QStringLiteral("Page introuvable sur ce serveur de duels.");
}

QString methodNotAllowed()
{
    return QStringLiteral("Méthode refusée : ce serveur ne répond qu'à GET et HEAD.");
}

QString badRequest()
{
    return QStringLiteral("Requête incorrecte.");
}

QString requestTooLong()
{
    return QStringLiteral("En-tête de requête trop long.");
}

QString description()
{
    return QStringLiteral(
        "Serveur de duels Volcanelle : tient les duels en ligne, les deux joueurs s'y "
        "connectent.\n"
        "Limites : 32 connexions par adresse, 10 salles ouvertes par adresse et par minute, "
        "20 codes faux par adresse et par minute puis refus pendant 60 s, 256 Kio non lus "
        "au plus par connexion, 10 s pour demander une salle, 6 s au plus sans message "
        "entier, 16 Kio par message ; une salle que personne n'a rejointe ferme après 10 "
        "minutes, un joueur déconnecté a 60 s pour revenir.");
}

QString helpOption()
{
    return QStringLiteral("Affiche cette aide.");
}

QString portOption()
{
    return QStringLiteral("Port TCP d'écoute (49855 par défaut).");
}

QString addressOption()
{
    return QStringLiteral("Adresse d'écoute (toutes par défaut, par exemple 127.0.0.1 ou ::).");
}

QString connectionsOption()
{
    return QStringLiteral("Connexions simultanées au plus par adresse (32 par défaut).");
}

QString roomsOption()
{
    return QStringLiteral("Salles ouvertes au plus par adresse et par minute (10 par défaut).");
}

QString wrongCodesOption()
{
    return QStringLiteral(
        "Codes de salle faux au plus par adresse et par minute avant 60 s de refus (20 par "
        "défaut).");
}

QString cannotListen(const QString& address, int port, const QString& reason)
{
    return QStringLiteral("Impossible d'écouter sur %1, port %2 : %3")
        .arg(address)
        .arg(port)
        .arg(reason);
}

QString badNumber(const QString& option, const QString& value)
{
    return QStringLiteral("Valeur incorrecte pour --%1 : « %2 » (un nombre entier positif est "
                          "attendu).")
        .arg(option, value);
}

QString badAddress(const QString& value)
{
    return QStringLiteral("Adresse d'écoute incorrecte : « %1 » (par exemple 0.0.0.0, :: ou "
                          "127.0.0.1).")
        .arg(value);
}

} // namespace volcanelle::server::texts
