// SPDX-License-Identifier: GPL-3.0-or-later
// A second floor for start-up comparisons: the game's own mine-count box, shown by a Qt program
// that builds nothing else. The gap between it and the bare window is what Qt's input dialog
// costs (fonts, text layout, the buttons' icons); the gap between it and the game is the game's.

#include "engine/minecount.h"
#include "engine/texts.h"
#include "ui/dialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const auto typed = volcanelle::dialogs::askText(nullptr, volcanelle::texts::mineCountPrompt(),
                                                    volcanelle::texts::mineCountTitle(),
                                                    volcanelle::kMineEntryMaxLength);
    return typed ? 0 : 1;
}
