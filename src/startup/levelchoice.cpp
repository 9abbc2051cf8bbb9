// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/levelchoice.h"

#include "startup/startuptexts.h"
#include "ui/dialogs.h"

#include <QSettings>
#include <cstdio>

namespace volcanelle {

namespace {

QString levelKey()
{
    return QStringLiteral("ordinateur/niveau");
}

} // namespace

Level LevelMemory::last() const
{
    const QVariant kept = settings_.value(levelKey());
    if (!kept.isValid())
        return kFirstLevel;
    const std::optional<Level> level = levelFromName(kept.toString());
    if (!level)
        std::fprintf(stderr, "%s\n",
                     texts::unknownRememberedLevel(kept.toString()).toLocal8Bit().constData());
    return level.value_or(kFirstLevel);
}

void LevelMemory::remember(Level level)
{
    settings_.setValue(levelKey(), levelName(level));
    settings_.sync();
    if (settings_.status() != QSettings::NoError)
        std::fprintf(stderr, "%s\n",
                     texts::levelNotRemembered(settings_.fileName()).toLocal8Bit().constData());
}

std::optional<Level> computerLevel(std::optional<Level> given, bool boxed, LevelMemory& memory,
                                   const std::function<std::optional<Level>(Level)>& ask)
{
    std::optional<Level> level = given;
    if (!level && boxed) {
        level = ask(memory.last());
        if (!level)
            return std::nullopt;
    }
    if (!level)
        return memory.last();
    memory.remember(*level);
    return level;
}

std::optional<Level> askLevel(QWidget* parent, Level offered)
{
    QStringList buttons;
    int preferred = 0;
    for (std::size_t i = 0; i < kLevels.size(); ++i) {
        buttons << texts::levelButton(kLevels[i]);
        preferred = kLevels[i] == offered ? int(i) : preferred;
    }
    const std::optional<int> chosen =
        dialogs::choose(parent, texts::levelPrompt(), texts::levelTitle(), buttons, preferred);
    if (!chosen)
        return std::nullopt;
    return kLevels[static_cast<std::size_t>(*chosen)];
}

} // namespace volcanelle
