// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/startuptexts.h"

namespace volcanelle::texts {

QString programDescription()
{
    return QStringLiteral("Démineur en duel : deux joueurs cliquent à tour de rôle et "
                          "chassent les mines.");
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

} // namespace volcanelle::texts
